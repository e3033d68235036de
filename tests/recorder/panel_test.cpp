// The recorder panel: opening and closing, the record time, the file choice
// and the help texts.
#include "app/helptexts.h"
#include "platform/testing.h"
#include "recorder/recorder.h"
#include "recorder_support.h"

using namespace corvel;

namespace {

const char kNoName[] = "No filename was choosen! \nRecording will not be done! ";
const char kExists[] = "File already exist! \nDo you want to select existing file?";
const char kInUse[] =
    " Make sure, that the file is not opened by any other program.                                    \n"
    " Otherwise it can not be saved.";

class RecorderPanel : public rectest::RecorderTest {
protected:
    // Record time shown for an interval and a count, as days, hours, minutes, seconds.
    std::string RecordTime(unsigned short interval, unsigned short count) {
        SetCtrlVal(recpanel, RECP_EDITINTERVAL, interval);
        SetCtrlVal(recpanel, RECP_EDITRECVAL, count);
        CalcRecTime();
        return std::to_string(Num(RECP_DISPRECORDDAYS)) + " " + std::to_string(Num(RECP_DISPRECORDHOURS)) +
               " " + std::to_string(Num(RECP_DISPRECORDMINUTES)) + " " +
               std::to_string(Num(RECP_DISPRECORDSECONDS));
    }
};

TEST_F(RecorderPanel, RecordTimeSplitsIntervalTimesCount) {
    EXPECT_EQ(RecordTime(10, 10000), "1 3 46 40");
    EXPECT_EQ(zeitint, 10);
    EXPECT_EQ(anzwerte, 10000);
    EXPECT_EQ(RecordTime(1, 59), "0 0 0 59");
    EXPECT_EQ(RecordTime(1, 60), "0 0 1 0");
    EXPECT_EQ(RecordTime(1, 3600), "0 1 0 0");
    EXPECT_EQ(RecordTime(2, 43199), "0 23 59 58");
    // The largest the panel allows: 32767 s x 65535 = 2147385345 s.
    EXPECT_EQ(RecordTime(32767, 65535), "24853 23 55 45");
}

TEST_F(RecorderPanel, EditingResetsProgressButKeepsTheFrameCounter) {
    SetCtrlVal(recpanel, RECP_EDITINTERVAL, static_cast<unsigned short>(2));
    SetCtrlVal(recpanel, RECP_DISPRECORDEDVALUES, 5);
    SetCtrlVal(recpanel, RECP_DISPREMAINING, 7);
    otcrec = 4;
    sim::EnterValue(recpanel, RECP_EDITRECVAL, 90);
    EXPECT_EQ(anzwerte, 90);
    EXPECT_EQ(Num(RECP_DISPRECORDEDVALUES), 0);
    EXPECT_EQ(Num(RECP_DISPREMAINING), 90);
    EXPECT_EQ(Num(RECP_DISPRECORDMINUTES), 3);
    EXPECT_EQ(otcrec, 4);

    SetCtrlVal(recpanel, RECP_DISPRECORDEDVALUES, 5);
    sim::EnterValue(recpanel, RECP_EDITINTERVAL, 40);
    EXPECT_EQ(zeitint, 40);
    EXPECT_EQ(Num(RECP_DISPRECORDEDVALUES), 0);
    EXPECT_EQ(Num(RECP_DISPRECORDHOURS), 1);
    EXPECT_EQ(otcrec, 4);
}

TEST_F(RecorderPanel, RecorderReplacesTheMainPanelAndBack) {
    DisplayPanel(panel);
    poll = 1;
    pollrecord = 1;
    SetCtrlVal(recpanel, RECP_EDITINTERVAL, static_cast<unsigned short>(3));
    SetCtrlVal(recpanel, RECP_EDITRECVAL, static_cast<unsigned short>(20));
    sim::Click(panel, P_BUTTONOPENRECORDER);
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(IsPanelVisible(recpanel), 1);
    EXPECT_EQ(IsPanelVisible(panel), 0);
    EXPECT_EQ(Num(RECP_DISPRECORDSECONDS), 0);
    EXPECT_EQ(Num(RECP_DISPRECORDMINUTES), 1);
    EXPECT_EQ(Num(RECP_DISPREMAINING), 20);

    sim::Click(recpanel, RECP_BUTTONCLOSERECORDER);
    EXPECT_EQ(pollrecord, 0);
    EXPECT_EQ(IsPanelVisible(recpanel), 0);
    EXPECT_EQ(IsPanelVisible(panel), 1);

    sim::Click(panel, P_BUTTONOPENRECORDER);
    pollrecord = 1;
    sim::Close(recpanel);
    EXPECT_EQ(pollrecord, 0);
    EXPECT_EQ(IsPanelVisible(recpanel), 0);
    EXPECT_EQ(IsPanelVisible(panel), 1);
    HidePanel(panel);
}

TEST_F(RecorderPanel, FilePopupAsksForARecordFile) {
    const std::string chosen = dir + "/new.dat";
    ShowRecFile("earlier.dat");
    seam::ExpectFile(2, chosen);
    sim::Click(recpanel, RECP_BUTTONSELRECFILE);
    ASSERT_EQ(seam::Shown().size(), 1u);  // a new name: no message
    const seam::Popup& p = seam::Shown()[0];
    EXPECT_EQ(p.kind, seam::Kind::FileSelect);
    EXPECT_EQ(p.title, "FILENAME!");
    EXPECT_EQ(p.text, "record.dat");
    EXPECT_EQ(p.filter, "*.dat");
    EXPECT_EQ(p.directory, proj_dir);
    EXPECT_EQ(RecFileShown(), chosen);
    EXPECT_EQ(file_name, chosen);
}

TEST_F(RecorderPanel, CancelledOrRefusedChoiceKeepsTheEarlierFile) {
    const std::string earlier = dir + "/earlier.dat";
    const std::string existing = dir + "/existing.dat";
    rectest::WriteFile(existing, "old records");
    ShowRecFile(earlier);
    std::snprintf(file_name, sizeof file_name, "%s", earlier.c_str());

    seam::ExpectFile(0, "");
    seam::ExpectMessage();
    SelRecFile();
    EXPECT_EQ(LastPopup(), std::string("ATTENTION!|") + kNoName);
    EXPECT_EQ(RecFileShown(), earlier);
    // A run in progress keeps writing where the panel says.
    EXPECT_EQ(file_name, earlier);

    seam::Clear();
    seam::ExpectFile(1, existing);
    seam::ExpectConfirm(0);
    SelRecFile();
    ASSERT_EQ(seam::Shown().size(), 2u);
    EXPECT_EQ(LastPopup(), std::string("ATTENTION!|") + kExists);
    EXPECT_EQ(RecFileShown(), earlier);
    EXPECT_EQ(file_name, earlier);
}

TEST_F(RecorderPanel, ExistingFileIsTakenAfterTheWarningAndNotEmptied) {
    const std::string existing = dir + "/existing.dat";
    rectest::WriteFile(existing, "old records");
    ShowRecFile("earlier.dat");
    seam::ExpectFile(1, existing);
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    SelRecFile();
    ASSERT_EQ(seam::Shown().size(), 3u);
    EXPECT_EQ(seam::Shown()[1].title + "|" + seam::Shown()[1].text, std::string("ATTENTION!|") + kExists);
    EXPECT_EQ(LastPopup(), std::string("ATTENTION!|") + kInUse);
    EXPECT_EQ(RecFileShown(), existing);
    EXPECT_EQ(rectest::ReadFile(existing), "old records");
}

TEST_F(RecorderPanel, RightClickShowsHelp) {
    const struct {
        int panel;
        int control;
        const char* title;
        const char* text;
    } cases[] = {
        {panel, P_BUTTONOPENRECORDER, "INFO!", InfoButtonOpenRecorder},
        {recpanel, RECP_BUTTONCLOSERECORDER, "INFO!", InfoButtonCloseRecorder},
        {recpanel, RECP_BUTTONSELRECFILE, "INFO!", InfoButtonSelRecFile},
        {recpanel, RECP_DISPRECFILE, "INFO!", InfoDispRecFile},
        {recpanel, RECP_EDITINTERVAL, "INFO!", InfoEditInterval},
        {recpanel, RECP_EDITRECVAL, "INFO!", InfoEditRecVal},
        {recpanel, RECP_DISPRECORDDAYS, "INFO!", InfoDispRecordTime},
        {recpanel, RECP_DISPRECORDSECONDS, "INFO!", InfoDispRecordTime},
        {recpanel, RECP_DISPRECORDEDVALUES, "INFO!", InfoDispRecordedValues},
        {recpanel, RECP_DISPREMAINING, "INFO!", InfoDispRemaining},
        {recpanel, RECP_BUTTONSTARTRECORD, "INFO!", InfoButtonStartRecord},
        {recpanel, RECP_BUTTONMANUALRECORD, "INFO!", InfoButtonManualRecord},
        {recpanel, RECP_BUTTONSTOPRECORD, "INFO!", InfoButtonStopRecord},
        {recpanel, RECP_DISPGFRECORD, "Info", InfoDispGfRecord},
    };
    otcrec = 7;
    pollrecord = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(c.panel, c.control);
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(LastPopup(), std::string(c.title) + "|" + c.text);
    }
    // A right click acts on nothing.
    EXPECT_EQ(otcrec, 7);
    EXPECT_EQ(IsPanelVisible(recpanel), 0);
}

}  // namespace
