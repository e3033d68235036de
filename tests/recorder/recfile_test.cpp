// The record layout and records that cannot be written.
#include "recorder/recfile.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "recorder/recorder.h"
#include "recorder_support.h"

using namespace corvel;

namespace {

class RecordFile : public rectest::RecorderTest {
protected:
    void Use(const std::string& p) { std::snprintf(file_name, sizeof file_name, "%s", p.c_str()); }
    static std::string Field(const char* text) {
        std::string f(text);
        f.resize(12, '\0');
        return f;
    }
};

TEST_F(RecordFile, RecordLayoutByteForByte) {
    const std::string path = dir + "/rec.dat";
    Use(path);
    dataChRef = 65535;
    dataChDir = 0;
    dataChDif = 7;
    dataNorm = 12345;
    dataInt = 999;
    dataGf = 1003;
    dataVec = 31;  // not recorded
    dataTemp = 65535;
    const std::string date0 = DateStr(), time0 = TimeStr();
    const bool written = ToFile();
    const std::string date1 = DateStr(), time1 = TimeStr();
    EXPECT_TRUE(written);
    ASSERT_LE(date0.size(), 11u);
    ASSERT_LE(time0.size(), 11u);

    std::string bytes = rectest::ReadFile(path);
    ASSERT_EQ(bytes.size(), 12u + 12u + 42u + 1u);
    const std::string date = bytes.substr(0, 12), time = bytes.substr(12, 12);
    EXPECT_TRUE(date == Field(date0.c_str()) || date == Field(date1.c_str()));
    EXPECT_TRUE(time == Field(time0.c_str()) || time == Field(time1.c_str()));
    EXPECT_EQ(date[11], '\0');
    EXPECT_EQ(time[11], '\0');
    EXPECT_EQ(bytes.substr(24), " 65535     0     7 12345   999  1003 65535\n");

    // The next record is appended behind it.
    dataChRef = 1;
    dataTemp = 24;
    ToFile();
    const std::string again = rectest::ReadFile(path);
    ASSERT_EQ(again.size(), 2 * bytes.size());
    EXPECT_EQ(again.substr(0, bytes.size()), bytes);
    EXPECT_EQ(again.substr(bytes.size() + 24), "     1     0     7 12345   999  1003    24\n");
}

TEST_F(RecordFile, UnwritableFilesAreNoticed) {
    const std::string folder = dir + "/locked";
    ASSERT_EQ(mkdir(folder.c_str(), 0500), 0);
    std::vector<std::string> paths = {"", dir + "/missing/rec.dat", dir};
    if (geteuid() != 0) paths.push_back(folder + "/rec.dat");  // root may write anywhere
    for (const std::string& p : paths) {
        SCOPED_TRACE(p);
        Use(p);
        EXPECT_FALSE(ToFile());
        // The report of the loss names the file that refused the record.
        seam::Clear();
        seam::ExpectMessage();
        ReportLostRecords(1, 0);
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(
            LastPopup(),
            p.empty()
                ? "ATTENTION!| No record file was chosen! \n The record could not be saved and is lost. "
                : "ATTENTION!| The record could not be saved to the file \n " + p +
                      " \n The record is lost. ");
    }
    EXPECT_FALSE(rectest::FileExists(dir + "/missing"));
    EXPECT_FALSE(rectest::FileExists(folder + "/rec.dat"));

    // A writable file again.
    Use(dir + "/ok.dat");
    EXPECT_TRUE(ToFile());
}

TEST_F(RecordFile, RecordThatDoesNotFitLeavesNoFragment) {
    const std::string path = dir + "/rec.dat";
    Use(path);
    ToFile();
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 67 + 40;  // room for date, time and part of the values
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ToFile();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(written);
    EXPECT_EQ(rectest::ReadFile(path).size(), 67u);
}

TEST_F(RecordFile, RecordPathIsTheFirstLineOfTheDisplay) {
    ResetTextBox(recpanel, RECP_DISPRECFILE, "");
    SetCtrlVal(recpanel, RECP_DISPRECFILE, "/data/first.dat");
    Use("/elsewhere/param.dat");  // shared with the parameter file
    ReadRecFileName();
    EXPECT_STREQ(file_name, "/data/first.dat");
    ResetTextBox(recpanel, RECP_DISPRECFILE, "");
    ReadRecFileName();
    EXPECT_STREQ(file_name, "");
    // A bare name lands in the operator's file folder, not the current one.
    char kept[sizeof proj_dir];
    std::memcpy(kept, proj_dir, sizeof kept);
    std::snprintf(proj_dir, sizeof proj_dir, "/home/op/Documents/CORVEL-Scope");
    SetCtrlVal(recpanel, RECP_DISPRECFILE, "record.dat");
    ReadRecFileName();
    EXPECT_STREQ(file_name, "/home/op/Documents/CORVEL-Scope/record.dat");
    std::memcpy(proj_dir, kept, sizeof kept);
}

}  // namespace
