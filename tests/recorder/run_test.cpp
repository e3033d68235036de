// Timed and manual recording end to end, against the virtual sensor.
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "link/link.h"
#include "platform/testing.h"
#include "recorder/recorder.h"
#include "recorder/recread.h"
#include "recorder_support.h"
#include "support/vsensor.h"

using namespace corvel;

namespace {

const int kCom = 5;
const char kSaved[] = "INFO!|File has been saved!";
const char kSure[] = "Are you sure, that you have selected the right file name?";

std::string TimeLeft() {
    return testsupport::CtrlText(recpanel, RECP_DISPTIMELEFT);
}

class RecordRun : public rectest::RecorderTest {
protected:
    void SetUp() override {
        rectest::RecorderTest::SetUp();
        path = dir + "/record.dat";
        ShowRecFile(path);
    }
    void TearDown() override {
        pollrecord = 0;
        CloseCom(kCom);
        sensor.Stop();
        HidePanel(panel);
        rectest::RecorderTest::TearDown();
    }

    void StartSensor(const std::vector<std::string>& options = {"--gloss", "100", "--unpaced"}) {
        ASSERT_TRUE(sensor.Start(kCom, options));
        com = kCom;
        ASSERT_EQ(OpenComConfig(com, "", 19200, 0, 8, 1, 1024, 1024), 0);
        SetComTime(com, 2.0);
        DisplayPanel(panel);
        sim::Click(panel, P_BUTTONOPENRECORDER);
        ASSERT_EQ(IsPanelVisible(recpanel), 1);
    }

    // Starts a timed run with the start button; the confirmation and the
    // warning are answered, and `closing` more messages are expected.
    double StartRun(unsigned short interval, unsigned short count, int closing = 1) {
        SetCtrlVal(recpanel, RECP_EDITINTERVAL, interval);
        SetCtrlVal(recpanel, RECP_EDITRECVAL, count);
        seam::ExpectConfirm(1);
        seam::ExpectMessage();
        for (int i = 0; i < closing; ++i) seam::ExpectMessage();
        QElapsedTimer t;
        t.start();
        sim::Click(recpanel, RECP_BUTTONSTARTRECORD);
        return t.elapsed() / 1000.0;
    }

    std::vector<FileRecord> Records() {
        const ParsedRecords r = ParseRecords(rectest::ReadFile(path));
        EXPECT_EQ(r.status, ParseStatus::Ok) << r.message;
        return r.records;
    }
    unsigned long Requests() {
        testsupport::VSensorState st;
        return sensor.ReadState(&st) ? st.Received(19) : 0;
    }
    std::string Popup(size_t i) {
        if (i >= seam::Shown().size()) return "(none)";
        return seam::Shown()[i].title + "|" + seam::Shown()[i].text;
    }

    testsupport::VirtualSensor sensor;
    std::string path;
};

// Watches the run from inside its interval wait.
struct RunView {
    int color = 0, startDimmed = 0, intervalDimmed = 0, countDimmed = 0;
    bool stopEnabled = false, manualEnabled = false, fileEnabled = false, closeEnabled = false;
    unsigned short poll = 0;
};

TEST_F(RecordRun, CountReachedWritesEveryRecordAndSaysSaved) {
    StartSensor();
    rectest::WriteFile(path, "records of an earlier run\n");
    RunView view;
    QTimer::singleShot(1500, [&view] {
        GetCtrlAttribute(recpanel, RECP_BUTTONSTARTRECORD, ATTR_BUTTON_COLOR, &view.color);
        GetCtrlAttribute(recpanel, RECP_BUTTONSTARTRECORD, ATTR_DIMMED, &view.startDimmed);
        GetCtrlAttribute(recpanel, RECP_EDITINTERVAL, ATTR_DIMMED, &view.intervalDimmed);
        GetCtrlAttribute(recpanel, RECP_EDITRECVAL, ATTR_DIMMED, &view.countDimmed);
        view.stopEnabled = sim::Enabled(recpanel, RECP_BUTTONSTOPRECORD);
        view.manualEnabled = sim::Enabled(recpanel, RECP_BUTTONMANUALRECORD);
        view.fileEnabled = sim::Enabled(recpanel, RECP_BUTTONSELRECFILE);
        view.closeEnabled = sim::Enabled(recpanel, RECP_BUTTONCLOSERECORDER);
        view.poll = pollrecord;
    });
    const double seconds = StartRun(1, 3);

    ASSERT_EQ(seam::Shown().size(), 3u);
    EXPECT_EQ(Popup(0), std::string("ATTENTION!|") + kSure);
    EXPECT_EQ(seam::Shown()[0].kind, seam::Kind::Confirm);
    EXPECT_EQ(Popup(2), kSaved);
    EXPECT_EQ(Requests(), 3u);
    EXPECT_GE(seconds, 2.9);  // three intervals
    EXPECT_EQ(Num(RECP_DISPRECORDEDVALUES), 3);
    EXPECT_EQ(Num(RECP_DISPREMAINING), 0);
    EXPECT_EQ(otcrec, 3);
    EXPECT_EQ(pollrecord, 0);
    EXPECT_EQ(order, 19);

    // The earlier content is gone: exactly the three records of this run.
    const std::vector<FileRecord> recs = Records();
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(rectest::ReadFile(path).size(), 3u * 67);
    EXPECT_EQ(recs[2].values[0], static_cast<unsigned>(Num(RECP_RECDISPCHREF)));
    EXPECT_EQ(recs[2].values[1], static_cast<unsigned>(Num(RECP_RECDISPCHDIR)));
    EXPECT_EQ(recs[2].values[5], static_cast<unsigned>(Num(RECP_DISPGFRECORD)));
    EXPECT_EQ(recs[2].values[6], static_cast<unsigned>(Num(RECP_RECDISPTEMP)));
    EXPECT_EQ(recs[2].values[5], dataGf);
    EXPECT_GT(recs[2].values[1], 0u);

    // Locked while running, unlocked afterwards.
    EXPECT_EQ(view.poll, 1);
    EXPECT_EQ(view.color, 0xFF0000);
    EXPECT_EQ(view.startDimmed, 1);
    EXPECT_EQ(view.intervalDimmed, 1);
    EXPECT_EQ(view.countDimmed, 1);
    EXPECT_TRUE(view.stopEnabled && view.manualEnabled && view.fileEnabled && view.closeEnabled);
    int color = 0, dimmed = 1;
    GetCtrlAttribute(recpanel, RECP_BUTTONSTARTRECORD, ATTR_BUTTON_COLOR, &color);
    GetCtrlAttribute(recpanel, RECP_BUTTONSTARTRECORD, ATTR_DIMMED, &dimmed);
    EXPECT_EQ(color, 0xE0E0E0);
    EXPECT_EQ(dimmed, 0);
    EXPECT_TRUE(sim::Enabled(recpanel, RECP_EDITINTERVAL));
}

TEST_F(RecordRun, StopOrCloseDuringTheFirstWaitWritesOneRecord) {
    StartSensor();
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        seam::Clear();
        if (IsPanelVisible(recpanel) != 1) sim::Click(panel, P_BUTTONOPENRECORDER);
        const unsigned long before = Requests();
        QTimer::singleShot(400, [close] {
            if (close)
                sim::Close(recpanel);
            else
                sim::Click(recpanel, RECP_BUTTONSTOPRECORD);
        });
        const double seconds = StartRun(10, 5);
        EXPECT_LT(seconds, 3.0);
        EXPECT_EQ(Popup(2), kSaved);
        EXPECT_EQ(Requests() - before, 1u);
        EXPECT_EQ(Records().size(), 1u);
        EXPECT_EQ(otcrec, 1);
        EXPECT_EQ(Num(RECP_DISPRECORDEDVALUES), 1);
        EXPECT_EQ(Num(RECP_DISPREMAINING), 4);
        EXPECT_EQ(IsPanelVisible(recpanel), close ? 0 : 1);
        EXPECT_EQ(IsPanelVisible(panel), close ? 1 : 0);
        EXPECT_TRUE(sim::Enabled(recpanel, RECP_BUTTONSTARTRECORD));
    }
}

TEST_F(RecordRun, TimeoutOnTheFirstFrameRecordsTheHeldValues) {
    StartSensor({"--no-answer"});
    dataChRef = 1111;
    dataChDir = 2222;
    dataChDif = 333;
    dataNorm = 4444;
    dataInt = 555;
    dataGf = 1003;
    dataTemp = 27;
    std::snprintf(version, sizeof version, "%s", "CORVEL TEST 1.0");
    StartRun(1, 5, 2);
    ASSERT_EQ(seam::Shown().size(), 4u);
    EXPECT_EQ(seam::Shown()[2].title, "CORVEL TEST 1.0");
    EXPECT_NE(seam::Shown()[2].text.find("TIMEOUT"), std::string::npos);
    EXPECT_EQ(Popup(3), kSaved);
    EXPECT_EQ(testsupport::CtrlText(panel, P_DISPSTATUS), "TIMEOUT");
    EXPECT_EQ(pollrecord, 0);
    EXPECT_EQ(Num(RECP_DISPRECORDEDVALUES), 1);
    EXPECT_EQ(Num(RECP_DISPREMAINING), 4);
    const std::string bytes = rectest::ReadFile(path);
    ASSERT_EQ(bytes.size(), 67u);
    EXPECT_EQ(bytes.substr(24), "  1111  2222   333  4444   555  1003    27\n");
}

TEST_F(RecordRun, ManualRecordsContinueTheCountAndTheFile) {
    StartSensor();
    StartRun(1, 2);
    ASSERT_EQ(Records().size(), 2u);
    // Beside "File has been saved!" the recorder's line names the file, whole.
    EXPECT_EQ(testsupport::CtrlText(recpanel, RECP_DISPRECORDLOST), "SAVED: 2 records in " + path);
    seam::Clear();
    sim::Click(recpanel, RECP_BUTTONMANUALRECORD);
    EXPECT_TRUE(seam::Shown().empty());
    EXPECT_EQ(testsupport::CtrlText(recpanel, RECP_DISPRECORDLOST), "SAVED: 1 record appended to " + path);
    EXPECT_EQ(otcrec, 3);
    EXPECT_EQ(Num(RECP_DISPRECORDEDVALUES), 3);
    EXPECT_EQ(Num(RECP_DISPREMAINING), -1);        // the signed difference beyond the count
    EXPECT_EQ(TimeLeft(), "ALL VALUES RECORDED");  // the progress stays at its end
    const std::vector<FileRecord> recs = Records();
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[2].values[0], dataChRef);
    EXPECT_EQ(Requests(), 3u);

    // The next timed run starts the file afresh.
    seam::Clear();
    StartRun(1, 1);
    EXPECT_EQ(Popup(2), kSaved);
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(otcrec, 1);
}

TEST_F(RecordRun, GraphPanelHoldsTheRunAndTheManualRecords) {
    StartSensor();
    dataChRef = 500;
    dataTemp = 20;
    StartRun(1, 3);
    sim::Click(recpanel, RECP_BUTTONMANUALRECORD);
    const std::vector<FileRecord> recs = Records();
    ASSERT_EQ(recs.size(), 4u);
    const struct {
        int graph;
        int value;  // index in a record
        unsigned before;
    } graphs[] = {{GRAPHP_PANELGRAPHCHREF, 0, 500}, {GRAPHP_PANELGRAPHTEMP, 6, 20}};
    for (const auto& g : graphs) {
        SCOPED_TRACE(g.graph);
        ASSERT_EQ(GetGraphPlotCount(graphpanel, g.graph), 4);
        double x[4], y[4];
        int color = 0;
        // The first frame at X = 0, joined to the value held before the start.
        ASSERT_EQ(GetGraphPlotPoints(graphpanel, g.graph, 0, x, y, 4, &color), 2);
        EXPECT_EQ(x[0], 0);
        EXPECT_EQ(x[1], 0);
        EXPECT_EQ(y[0], g.before);
        EXPECT_EQ(y[1], recs[0].values[g.value]);
        for (int k = 1; k < 4; ++k) {
            ASSERT_EQ(GetGraphPlotPoints(graphpanel, g.graph, k, x, y, 4, &color), 2);
            EXPECT_EQ(x[0], k - 1);
            EXPECT_EQ(x[1], k);
            EXPECT_EQ(y[0], recs[k - 1].values[g.value]);
            EXPECT_EQ(y[1], recs[k].values[g.value]);
        }
    }
    // Declining the confirmation still restarts the graph panel.
    seam::Clear();
    seam::ExpectConfirm(0);
    sim::Click(recpanel, RECP_BUTTONSTARTRECORD);
    EXPECT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(GetGraphPlotCount(graphpanel, GRAPHP_PANELGRAPHCHREF), 0);
    EXPECT_EQ(Records().size(), 4u);
}

TEST_F(RecordRun, RunThatCouldNotWriteSaysSoInsteadOfSaved) {
    StartSensor();
    const std::string missing = dir + "/missing/record.dat";
    const struct {
        std::string file;
        const char* text;
    } cases[] = {
        {missing, " The records could not be saved to the file \n "},
        {"", " No record file was chosen! \n The records could not be saved. \n 2 of 2 records are lost. "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        seam::Clear();
        ShowRecFile(c.file);
        StartRun(1, 2);
        ASSERT_EQ(seam::Shown().size(), 3u);
        EXPECT_EQ(seam::Shown()[2].title, "ATTENTION!");
        EXPECT_EQ(seam::Shown()[2].text.find(c.text), 0u) << seam::Shown()[2].text;
        if (!c.file.empty()) {
            EXPECT_NE(seam::Shown()[2].text.find(missing), std::string::npos);
            EXPECT_NE(seam::Shown()[2].text.find("2 of 2 records are lost"), std::string::npos);
        }
        EXPECT_EQ(otcrec, 2);
        EXPECT_TRUE(sim::Enabled(recpanel, RECP_BUTTONSTARTRECORD));
    }
    EXPECT_FALSE(rectest::FileExists(dir + "/missing"));
}

TEST_F(RecordRun, LostRecordsShowAtOnceAndAFileThatCannotBeEmptiedIsRefused) {
    StartSensor();
    static char during[100];
    during[0] = '\0';
    ShowRecFile(dir + "/missing/record.dat");
    QTimer::singleShot(1500, [] { GetCtrlVal(recpanel, RECP_DISPRECORDLOST, during, sizeof during); });
    StartRun(1, 2);
    EXPECT_STREQ(during, "RECORDS LOST: 1 of 1 could not be saved.");
    ASSERT_EQ(seam::Shown().size(), 3u);  // the end report stays

    // A folder can be neither deleted nor emptied: no run, and a report.
    seam::Clear();
    ShowRecFile(dir);
    const unsigned long before = Requests();
    StartRun(1, 2);
    ASSERT_EQ(seam::Shown().size(), 3u);
    EXPECT_EQ(Popup(2),
              "ATTENTION!| The file \n " + dir +
                  " \n could not be emptied for a new recording. \n The recording has not been started. ");
    EXPECT_EQ(Requests(), before);
}

TEST_F(RecordRun, FileChosenDuringTheRunTakesTheFollowingRecords) {
    StartSensor();
    const std::string missing = dir + "/missing/record.dat";
    const std::string good = dir + "/good.dat";
    ShowRecFile(missing);
    SetCtrlVal(recpanel, RECP_EDITINTERVAL, static_cast<unsigned short>(1));
    SetCtrlVal(recpanel, RECP_EDITRECVAL, static_cast<unsigned short>(2));
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    seam::ExpectFile(2, good);
    seam::ExpectMessage();
    // In the second wait: the first record has gone to the missing folder by then.
    QTimer::singleShot(1400, [] { sim::Click(recpanel, RECP_BUTTONSELRECFILE); });
    sim::Click(recpanel, RECP_BUTTONSTARTRECORD);
    ASSERT_EQ(seam::Shown().size(), 4u);
    EXPECT_EQ(seam::Shown()[3].title, "ATTENTION!");
    EXPECT_NE(seam::Shown()[3].text.find(missing), std::string::npos);
    EXPECT_NE(seam::Shown()[3].text.find("1 of 2 records are lost"), std::string::npos);
    EXPECT_EQ(rectest::ReadFile(good).size(), 67u);
    EXPECT_EQ(RecFileShown(), good);
}

TEST_F(RecordRun, ManualRecordThatCouldNotBeWrittenSaysSo) {
    StartSensor();
    const std::string missing = dir + "/missing/record.dat";
    otcrec = 4;
    anzwerte = 10;
    ShowRecFile(missing);
    seam::ExpectMessage();
    sim::Click(recpanel, RECP_BUTTONMANUALRECORD);
    EXPECT_EQ(Popup(0), "ATTENTION!| The record could not be saved to the file \n " + missing +
                            " \n The record is lost. ");
    EXPECT_EQ(otcrec, 5);
    EXPECT_EQ(Requests(), 1u);

    seam::Clear();
    ShowRecFile("");
    seam::ExpectMessage();
    sim::Click(recpanel, RECP_BUTTONMANUALRECORD);
    EXPECT_EQ(Popup(0),
              "ATTENTION!| No record file was chosen! \n The record could not be saved and is lost. ");

    // Written: no message.
    seam::Clear();
    ShowRecFile(path);
    sim::Click(recpanel, RECP_BUTTONMANUALRECORD);
    EXPECT_TRUE(seam::Shown().empty());
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(otcrec, 7);
}

}  // namespace

namespace {

TEST_F(RecordRun, ProgressBarAndTimeLeftFollowTheRun) {
    StartSensor();
    struct {
        int percent = -1, remaining = -1;
        std::string left;
    } mid;
    QTimer::singleShot(1500, [&] {
        GetCtrlVal(recpanel, RECP_BARRECPROGRESS, &mid.percent);
        GetCtrlVal(recpanel, RECP_DISPREMAINING, &mid.remaining);
        mid.left = TimeLeft();
        mkdir(CORVEL_SCREENSHOT_DIR, 0755);
        SavePanelImage(recpanel, CORVEL_SCREENSHOT_DIR "/state_recording.png");
    });
    StartRun(1, 3);
    // One record is written after the first interval, two are left.
    EXPECT_EQ(mid.percent, 33);
    EXPECT_EQ(mid.remaining, 2);
    EXPECT_EQ(mid.left, "TIME LEFT 00:00:02");
    int percent = -1;
    GetCtrlVal(recpanel, RECP_BARRECPROGRESS, &percent);
    EXPECT_EQ(percent, 100);
    EXPECT_EQ(TimeLeft(), "ALL VALUES RECORDED");

    // Editing the count starts the progress again; days show when it is long.
    SetCtrlVal(recpanel, RECP_EDITINTERVAL, 10);
    sim::EnterValue(recpanel, RECP_EDITRECVAL, 10000);
    GetCtrlVal(recpanel, RECP_BARRECPROGRESS, &percent);
    EXPECT_EQ(percent, 0);
    EXPECT_EQ(TimeLeft(), "TIME LEFT 1 d 03:46:40");
    EXPECT_EQ(RemainingRecords(10001), 0);
}

}  // namespace
