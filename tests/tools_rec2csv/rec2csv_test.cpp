// The record-file reader and the converter program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "recorder/reccsv.h"
#include "support/records.h"
#include "support/sandbox.h"

namespace {

const unsigned kA[7] = {2000, 3850, 120, 1000, 980, 1003, 25};
const unsigned kB[7] = {65535, 0, 1, 12345, 65535, 0, 40};

TEST(RecParse, ReadsRecordsWithEitherLineEnd) {
    for (const char* end : {"\n", "\r\n"}) {
        SCOPED_TRACE(end[0] == '\r' ? "CRLF" : "LF");
        const std::string bytes = testsupport::RecordBytes("03-14-2025", "09:26:53", kA, end) +
                                  testsupport::RecordBytes("03-14-2025", "09:26:54", kB, end);
        const corvel::ParsedRecords r = corvel::ParseRecords(bytes);
        ASSERT_EQ(r.status, corvel::ParseStatus::Ok) << r.message;
        ASSERT_EQ(r.records.size(), 2u);
        EXPECT_EQ(r.records[0].date, "03-14-2025");
        EXPECT_EQ(r.records[1].time, "09:26:54");
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(r.records[0].values[i], kA[i]);
            EXPECT_EQ(r.records[1].values[i], kB[i]);
        }
    }
}

TEST(RecParse, EmptyFileHasNoRecords) {
    const corvel::ParsedRecords r = corvel::ParseRecords("");
    EXPECT_EQ(r.status, corvel::ParseStatus::Ok);
    EXPECT_TRUE(r.records.empty());
}

TEST(RecParse, TruncatedLastRecordKeepsTheCompleteOnes) {
    const std::string full = testsupport::RecordBytes("03-14-2025", "09:26:53", kA) +
                             testsupport::RecordBytes("03-14-2025", "09:26:54", kB);
    const std::string crlf = testsupport::RecordBytes("03-14-2025", "09:26:54", kB, "\r\n");
    const size_t first = full.size() / 2;
    // Cut inside the date, inside the time, inside a value, before the line
    // end, and between the CR and LF of a CRLF line end.
    const struct {
        std::string bytes;
        size_t records;
    } cases[] = {
        {full.substr(0, first + 5), 1},
        {full.substr(0, first + 20), 1},
        {full.substr(0, first + 40), 1},
        {full.substr(0, full.size() - 1), 1},
        {full.substr(0, first) + crlf.substr(0, crlf.size() - 1), 1},
        {full.substr(0, 3), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        const corvel::ParsedRecords r = corvel::ParseRecords(c.bytes);
        EXPECT_EQ(r.status, corvel::ParseStatus::Truncated) << r.message;
        EXPECT_EQ(r.records.size(), c.records);
        EXPECT_EQ(r.offset, c.records ? first : 0u);
        EXPECT_NE(r.message.find("truncated"), std::string::npos);
    }
}

TEST(RecParse, RecordsOutOfStepAreMalformed) {
    std::string bad = testsupport::RecordBytes("03-14-2025", "09:26:53", kA);
    std::string letter = bad;
    letter[30] = 'x';  // a letter in a value
    std::string noNul = bad;
    noNul[11] = 'A';  // text where the date's padding belongs
    std::string blank = bad;
    blank.replace(24, 6, "      ");             // a value field without digits
    std::string shifted = bad.substr(1) + bad;  // one byte missing: the line end falls elsewhere
    for (const std::string& s : {letter, noNul, blank, shifted}) {
        const corvel::ParsedRecords r = corvel::ParseRecords(s + bad);
        EXPECT_EQ(r.status, corvel::ParseStatus::Malformed);
        EXPECT_TRUE(r.records.empty());
    }
    // The record before the damage is kept.
    const corvel::ParsedRecords r = corvel::ParseRecords(bad + letter);
    EXPECT_EQ(r.status, corvel::ParseStatus::Malformed);
    EXPECT_EQ(r.records.size(), 1u);
    EXPECT_EQ(r.offset, bad.size());
}

TEST(RecParse, CsvLines) {
    EXPECT_EQ(corvel::RecordCsvHeader(), "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp\n");
    corvel::FileRecord r{"03-14-2025", "09:26:53", {65535, 0, 1, 12345, 65535, 0, 40}};
    EXPECT_EQ(corvel::RecordCsvLine(r, 7), "7,2025-03-14T09:26:53,65535,0,1,12345,65535,0,40\n");
    // Dates of another form stay as written, quoted where CSV needs it.
    r.date = "a,b";
    EXPECT_EQ(corvel::RecordCsvLine(r, 0).substr(0, 17), "0,\"a,b 09:26:53\",");
    for (const char* bad : {"13-14-2025", "03-32-2025", "3-14-2025", "03/14/2025"}) {
        r.date = bad;
        std::string iso;
        EXPECT_FALSE(corvel::IsoDateTime(r, &iso)) << bad;
    }
}

// ---- the program ----

std::string ProgramPath() {
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "corvel-rec2csv";
    self[n] = '\0';
    std::string dir(self);
    return dir.substr(0, dir.rfind('/')) + "/corvel-rec2csv";
}

int RunTool(const std::string& args) {
    const int st = std::system((ProgramPath() + " " + args).c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

class Program : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.empty()); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    }
    const testsupport::TempFolder tmp{"rec2csv"};
    const std::string& dir = tmp.path;
};

TEST_F(Program, ConvertsAFile) {
    Write("in.dat", testsupport::RecordBytes("03-14-2025", "09:26:53", kA) +
                        testsupport::RecordBytes("03-14-2025", "09:26:54", kB));
    ASSERT_EQ(RunTool(dir + "/in.dat " + dir + "/out.csv 2>" + dir + "/err"), 0);
    EXPECT_EQ(testsupport::FileBytes(dir + "/out.csv"),
              "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp\n"
              "0,2025-03-14T09:26:53,2000,3850,120,1000,980,1003,25\n"
              "1,2025-03-14T09:26:54,65535,0,1,12345,65535,0,40\n");
    EXPECT_EQ(testsupport::FileBytes(dir + "/err"), "");
}

TEST_F(Program, TruncatedFileIsReportedAndFails) {
    const std::string rec = testsupport::RecordBytes("03-14-2025", "09:26:53", kA, "\r\n");
    Write("in.dat", rec + rec.substr(0, 30));
    EXPECT_EQ(RunTool(dir + "/in.dat > " + dir + "/out.csv 2>" + dir + "/err"), 1);
    EXPECT_EQ(
        testsupport::FileBytes(dir + "/out.csv"),
        "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp\n0,2025-03-14T09:26:53,2000,3850,120,"
        "1000,980,1003,25\n");
    EXPECT_NE(testsupport::FileBytes(dir + "/err").find("truncated"), std::string::npos);
}

TEST_F(Program, MissingInputAndBadUsage) {
    EXPECT_EQ(RunTool(dir + "/none.dat 2>/dev/null"), 2);
    EXPECT_EQ(RunTool("2>/dev/null"), 2);
}

}  // namespace
