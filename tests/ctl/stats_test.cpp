// corvel-ctl stats and report against a record file written here with known
// values. The expected figures were worked out by hand (mean, sample std,
// counts against the band), not by the code under test.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/records.h"
#include "support/sandbox.h"
#include "support/vsensor.h"

namespace {

// Frames 0..4: ch_ref, ch_dir, ch_dif, norm, int, gf_tenths, temp.
const unsigned kFrames[5][7] = {
    {100, 500, 10, 900, 2000, 1000, 25}, {102, 500, 20, 950, 2001, 1003, 25},
    {104, 500, 30, 1000, 2002, 997, 26}, {106, 500, 40, 1050, 2003, 1010, 26},
    {108, 500, 50, 1100, 2004, 990, 28},
};

std::string Record(int k) {
    char t[12];
    std::snprintf(t, sizeof t, "15:21:%02d", 30 + k);
    return testsupport::RecordBytes("12-08-2026", t, kFrames[k], "\r\n");
}

class CtlStats : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        std::string all;
        for (int k = 0; k < 5; ++k) all += Record(k);
        std::ofstream(dir + "/run.dat", std::ios::binary) << all;
    }

    int Run(const std::string& args) {
        std::string ctl = testsupport::VirtualSensor::ProgramPath();
        ctl.replace(ctl.rfind('/') + 1, std::string::npos, "corvel-ctl");
        const int ws = std::system((ctl + " " + args + " >'" + dir + "/out' 2>'" + dir + "/err'").c_str());
        out = testsupport::FileBytes(dir + "/out");
        err = testsupport::FileBytes(dir + "/err");
        return WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
    }
    QJsonObject Json() { return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object(); }

    const testsupport::TempFolder tmp{"corvel-stats-test"};
    const std::string& dir = tmp.path;
    std::string out, err;
};

void ExpectSignal(const QJsonObject& sig, int n, double mean, double sd, int min, int max) {
    EXPECT_EQ(sig["n"].toInt(), n);
    EXPECT_NEAR(sig["mean"].toDouble(), mean, 1e-6);
    EXPECT_NEAR(sig["std"].toDouble(), sd, 1e-6);
    EXPECT_EQ(sig["min"].toInt(), min);
    EXPECT_EQ(sig["max"].toInt(), max);
}

TEST_F(CtlStats, WholeRunAndARangeWithTheirBands) {
    ASSERT_EQ(Run("stats " + dir + "/run.dat --band 996 1008 --json"), 0) << err;
    QJsonObject j = Json();
    EXPECT_EQ(j["frames"].toInt(), 5);
    EXPECT_EQ(j["first"].toString(), "2026-12-08T15:21:30");
    EXPECT_EQ(j["last"].toString(), "2026-12-08T15:21:34");
    QJsonObject s = j["signals"].toObject();
    ExpectSignal(s["ch_ref"].toObject(), 5, 104, 3.162277660, 100, 108);
    ExpectSignal(s["ch_dir"].toObject(), 5, 500, 0, 500, 500);
    ExpectSignal(s["ch_dif"].toObject(), 5, 30, 15.811388301, 10, 50);
    ExpectSignal(s["norm"].toObject(), 5, 1000, 79.056941504, 900, 1100);
    ExpectSignal(s["int"].toObject(), 5, 2002, 1.581138830, 2000, 2004);
    ExpectSignal(s["gf_tenths"].toObject(), 5, 1000, 7.382411530, 990, 1010);
    ExpectSignal(s["temp"].toObject(), 5, 26, 1.224744871, 25, 28);
    QJsonObject b = j["band"].toObject();
    EXPECT_EQ(b["signal"].toString(), "gf_tenths");
    EXPECT_EQ(b["lo"].toDouble(), 996);
    EXPECT_EQ(b["hi"].toDouble(), 1008);
    EXPECT_EQ(b["inside"].toInt(), 3);                    // 1000, 1003, 997
    EXPECT_EQ(b["below"].toInt(), 1);                     // 990
    EXPECT_EQ(b["above"].toInt(), 1);                     // 1010
    EXPECT_NEAR(b["pp"].toDouble(), 0.270914185, 1e-8);   // 12 / (6 * 7.3824)
    EXPECT_NEAR(b["ppk"].toDouble(), 0.180609456, 1e-8);  // min(8, 4) / (3 * 7.3824)

    // Frames 1 to 3, --to inclusive.
    ASSERT_EQ(Run("stats --from 1 --to 3 " + dir + "/run.dat --band 996 1008 --signal gf_tenths --json"), 0)
        << err;
    j = Json();
    EXPECT_EQ(j["frames"].toInt(), 3);
    EXPECT_EQ(j["first"].toString(), "2026-12-08T15:21:31");
    EXPECT_EQ(j["last"].toString(), "2026-12-08T15:21:33");
    s = j["signals"].toObject();
    ExpectSignal(s["ch_ref"].toObject(), 3, 104, 2, 102, 106);
    ExpectSignal(s["ch_dif"].toObject(), 3, 30, 10, 20, 40);
    ExpectSignal(s["norm"].toObject(), 3, 1000, 50, 950, 1050);
    ExpectSignal(s["int"].toObject(), 3, 2002, 1, 2001, 2003);
    ExpectSignal(s["gf_tenths"].toObject(), 3, 3010.0 / 3, 6.506407099, 997, 1010);
    ExpectSignal(s["temp"].toObject(), 3, 77.0 / 3, 0.577350269, 25, 26);
    b = j["band"].toObject();
    EXPECT_EQ(b["inside"].toInt(), 2);
    EXPECT_EQ(b["below"].toInt(), 0);
    EXPECT_EQ(b["above"].toInt(), 1);
    EXPECT_NEAR(b["pp"].toDouble(), 0.307389312, 1e-8);
    EXPECT_NEAR(b["ppk"].toDouble(), 0.239080576, 1e-8);  // (1008 - 1003.33) / (3 * 6.5064)

    // The table for people: the same figures, GF said to be in tenths.
    ASSERT_EQ(Run("stats " + dir + "/run.dat --band 996 1008"), 0) << err;
    EXPECT_NE(out.find("gf_tenths       5    1000.00       7.38    990   1010     20"), std::string::npos)
        << out;
    EXPECT_NE(out.find("inside 3 (60.0 %), below 1 (20.0 %), above 1 (20.0 %)"), std::string::npos) << out;
    EXPECT_NE(out.find("Pp 0.271  Ppk 0.181"), std::string::npos) << out;
    EXPECT_NE(out.find("tenths"), std::string::npos);
}

TEST_F(CtlStats, EmptyRangeOneFrameAndDamage) {
    // An empty range: no number made up, said on stderr, not an error.
    ASSERT_EQ(Run("stats " + dir + "/run.dat --from 7 --band 0 10 --json"), 0) << err;
    QJsonObject j = Json();
    EXPECT_EQ(j["frames"].toInt(), 0);
    EXPECT_TRUE(j["first"].isNull());
    EXPECT_TRUE(j["signals"].toObject()["norm"].toObject()["mean"].isNull());
    EXPECT_TRUE(j["band"].toObject()["pp"].isNull());
    EXPECT_NE(err.find("no frames in the range"), std::string::npos) << err;

    // One frame: a mean, but no spread and no Pp.
    ASSERT_EQ(Run("stats " + dir + "/run.dat --from 2 --to 2 --band 0 2000 --signal norm"), 0) << err;
    EXPECT_NE(out.find("norm            1    1000.00        n/a   1000   1000      0"), std::string::npos)
        << out;
    EXPECT_NE(out.find("Pp n/a  Ppk n/a"), std::string::npos) << out;
    EXPECT_EQ(out.find("nan"), std::string::npos) << out;

    // A damaged last record: the complete ones count, exit 1.
    std::ofstream(dir + "/run.dat", std::ios::binary | std::ios::app) << Record(0).substr(0, 40);
    ASSERT_EQ(Run("stats " + dir + "/run.dat --json"), 1);
    EXPECT_EQ(Json()["frames"].toInt(), 5);
    EXPECT_NE(err.find("truncated"), std::string::npos) << err;

    EXPECT_EQ(Run("stats " + dir + "/missing.dat"), 2);
    EXPECT_EQ(Run("stats " + dir + "/run.dat --signal gloss"), 2);
    EXPECT_NE(err.find("--signal needs a column name"), std::string::npos) << err;
    EXPECT_EQ(Run("stats " + dir + "/run.dat --from 3 --to 1"), 2);
    EXPECT_EQ(Run("get --from 3"), 2);  // get still wants a memory

    // report: the same judging, as a PDF page, still with the damage said.
    ASSERT_EQ(Run("report " + dir + "/run.dat -o " + dir + "/run.pdf --band 996 1008"), 1) << err;
    EXPECT_NE(err.find("truncated"), std::string::npos) << err;
    EXPECT_EQ(testsupport::FileBytes(dir + "/run.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(Run("report " + dir + "/run.dat"), 2);  // no -o
    EXPECT_EQ(Run("report " + dir + "/run.dat -o " + dir + "/no/such/dir/x.pdf"), 2);
}

}  // namespace
