// File, clock and utility services.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <string>

#include "platform/ui.h"
#include "support/sandbox.h"

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempFolder("corvel-files");
        ASSERT_FALSE(dir.empty());
        path = dir + "/data.dat";
    }
    void TearDown() override { ASSERT_TRUE(testsupport::RemoveTree(dir)); }
    std::string Read() const { return testsupport::FileBytes(path); }
    void Write(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }
    int ReadU16(unsigned short* a, int n) const {
        return FileToArray(path.c_str(), a, DT_U16, n, 1, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                           VAL_ASCII);
    }
    std::string dir, path;
};

TEST_F(Files, ParameterFileLayoutAndRoundTrip) {
    unsigned short pp[140];
    for (int i = 0; i < 140; ++i) pp[i] = static_cast<unsigned short>(i * 467);
    pp[0] = 65535;
    pp[1] = 7;
    ASSERT_EQ(
        ArrayToFile(path.c_str(), pp, DT_U16, 140, 1, 0, 0, VAL_CONST_WIDTH, 5, VAL_ASCII, VAL_TRUNCATE),
        FILE_OK);
    std::string text = Read();
    ASSERT_EQ(text.size(), 140u * 6);
    EXPECT_EQ(text.substr(0, 12), "65535\n    7\n");
    for (size_t i = 5; i < text.size(); i += 6) ASSERT_EQ(text[i], '\n') << "line " << i / 6;

    unsigned short back[140] = {};
    ASSERT_EQ(ReadU16(back, 140), FILE_OK);
    EXPECT_EQ(memcmp(back, pp, sizeof pp), 0);

    // Truncate replaces a longer file.
    ASSERT_EQ(ArrayToFile(path.c_str(), pp, DT_U16, 2, 1, 0, 0, VAL_CONST_WIDTH, 5, VAL_ASCII, VAL_TRUNCATE),
              FILE_OK);
    EXPECT_EQ(Read(), "65535\n    7\n");
}

TEST_F(Files, RecordPiecesAppend) {
    char date[12] = {};
    strcpy(date, "01-02-2024");
    char tim[12] = {};
    strcpy(tim, "13:45:06");
    unsigned short values[7] = {1, 22, 333, 4444, 55555, 65535, 0};
    for (int rec = 0; rec < 2; ++rec) {
        ASSERT_EQ(ArrayToFile(path.c_str(), date, DT_CHAR, 12, 1, 0, 0, 0, 12, VAL_BINARY, VAL_APPEND),
                  FILE_OK);
        ASSERT_EQ(ArrayToFile(path.c_str(), tim, DT_CHAR, 12, 1, 0, 0, 0, 12, VAL_BINARY, VAL_APPEND),
                  FILE_OK);
        ASSERT_EQ(ArrayToFile(path.c_str(), values, DT_U16, 7, 7, VAL_DATA_MULTIPLEXED, VAL_GROUPS_AS_COLUMNS,
                              VAL_CONST_WIDTH, 6, VAL_ASCII, VAL_APPEND),
                  FILE_OK);
    }
    std::string text = Read();
    ASSERT_EQ(text.size(), 2u * 67);
    std::string line = "     1    22   333  4444 55555 65535     0\n";
    std::string record = std::string(date, 12) + std::string(tim, 12) + line;
    EXPECT_EQ(text, record + record);
}

TEST_F(Files, GroupLayouts) {
    // Two groups of three, stored group after group.
    int a[6] = {1, 2, 3, 10, 20, 30};
    ASSERT_EQ(ArrayToFile(path.c_str(), a, DT_INT, 6, 2, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                          VAL_SEP_BY_COMMA, 0, VAL_ASCII, VAL_TRUNCATE),
              FILE_OK);
    EXPECT_EQ(Read(), "1,10\n2,20\n3,30\n");
    int back[6] = {};
    ASSERT_EQ(
        FileToArray(path.c_str(), back, DT_INT, 6, 2, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_ASCII),
        FILE_OK);
    EXPECT_EQ(memcmp(a, back, sizeof a), 0);

    ASSERT_EQ(ArrayToFile(path.c_str(), a, DT_INT, 6, 2, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_ROWS,
                          VAL_SEP_BY_TAB, 3, VAL_ASCII, VAL_TRUNCATE),
              FILE_OK);
    EXPECT_EQ(Read(), "  1\t  2\t  3\n 10\t 20\t 30\n");

    // Multiplexed: 1,10 belong to groups 0 and 1.
    ASSERT_EQ(ArrayToFile(path.c_str(), a, DT_INT, 6, 2, VAL_DATA_MULTIPLEXED, VAL_GROUPS_AS_ROWS,
                          VAL_CONST_WIDTH, 3, VAL_ASCII, VAL_TRUNCATE),
              FILE_OK);
    EXPECT_EQ(Read(), "  1  3 20\n  2 10 30\n");
    memset(back, 0, sizeof back);
    ASSERT_EQ(
        FileToArray(path.c_str(), back, DT_INT, 6, 2, VAL_DATA_MULTIPLEXED, VAL_GROUPS_AS_ROWS, VAL_ASCII),
        FILE_OK);
    EXPECT_EQ(memcmp(a, back, sizeof a), 0);

    short s[2] = {-1000, 32767};
    double d[2] = {0.1, -2.5e10};
    ASSERT_EQ(ArrayToFile(path.c_str(), s, DT_S16, 2, 1, 0, 0, 0, 6, VAL_ASCII, VAL_TRUNCATE), FILE_OK);
    short s2[2] = {};
    ASSERT_EQ(FileToArray(path.c_str(), s2, DT_S16, 2, 1, 0, 0, VAL_ASCII), FILE_OK);
    EXPECT_EQ(s2[0], -1000);
    EXPECT_EQ(s2[1], 32767);
    ASSERT_EQ(ArrayToFile(path.c_str(), d, DT_DOUBLE, 2, 1, 0, 0, VAL_SEP_BY_TAB, 0, VAL_ASCII, VAL_TRUNCATE),
              FILE_OK);
    double d2[2] = {};
    ASSERT_EQ(FileToArray(path.c_str(), d2, DT_DOUBLE, 2, 1, 0, 0, VAL_ASCII), FILE_OK);
    EXPECT_EQ(d2[0], 0.1);
    EXPECT_EQ(d2[1], -2.5e10);

    unsigned short raw[3] = {0x0102, 0xFF38, 0};
    ASSERT_EQ(ArrayToFile(path.c_str(), raw, DT_U16, 3, 1, 0, 0, 0, 0, VAL_BINARY, VAL_TRUNCATE), FILE_OK);
    EXPECT_EQ(Read().size(), 6u);
    unsigned short raw2[3] = {};
    ASSERT_EQ(FileToArray(path.c_str(), raw2, DT_U16, 3, 1, 0, 0, VAL_BINARY), FILE_OK);
    EXPECT_EQ(memcmp(raw, raw2, sizeof raw), 0);
}

TEST_F(Files, ReaderAcceptsPaddingAndLineEnds) {
    Write("12   \r\n  65535\r\n\n0\n   7");
    unsigned short a[4] = {};
    ASSERT_EQ(ReadU16(a, 4), FILE_OK);
    EXPECT_EQ(a[0], 12);
    EXPECT_EQ(a[1], 65535);
    EXPECT_EQ(a[2], 0);
    EXPECT_EQ(a[3], 7);
}

TEST_F(Files, FailedReadLeavesTheArrayAlone) {
    const unsigned short keep[3] = {11, 22, 33};
    unsigned short a[3];
    auto check = [&](const char* content, int expected) {
        Write(content);
        memcpy(a, keep, sizeof a);
        EXPECT_EQ(ReadU16(a, 3), expected) << "content \"" << content << "\"";
        EXPECT_EQ(memcmp(a, keep, sizeof a), 0) << "content \"" << content << "\"";
    };
    check("1\n2\n", FILE_BAD_FORMAT);         // too few
    check("", FILE_BAD_FORMAT);               // empty
    check("1\n2\n65536\n", FILE_BAD_FORMAT);  // above the range
    check("1\n-1\n3\n", FILE_BAD_FORMAT);     // below it
    check("1\nabc\n3\n", FILE_BAD_FORMAT);    // not a number
    check("1\n2x\n3\n", FILE_BAD_FORMAT);     // trailing junk
    check("1\n2.5\n3\n", FILE_BAD_FORMAT);    // not an integer
    check("99999999999999999999\n2\n3\n", FILE_BAD_FORMAT);

    unlink(path.c_str());
    memcpy(a, keep, sizeof a);
    EXPECT_EQ(ReadU16(a, 3), FILE_CANNOT_OPEN);
    EXPECT_EQ(memcmp(a, keep, sizeof a), 0);

    Write("1234");  // binary: 4 of 6 bytes
    memcpy(a, keep, sizeof a);
    EXPECT_EQ(FileToArray(path.c_str(), a, DT_U16, 3, 1, 0, 0, VAL_BINARY), FILE_BAD_FORMAT);
    EXPECT_EQ(memcmp(a, keep, sizeof a), 0);

    short s[1] = {5};
    Write("32768");
    EXPECT_EQ(FileToArray(path.c_str(), s, DT_S16, 1, 1, 0, 0, VAL_ASCII), FILE_BAD_FORMAT);
    EXPECT_EQ(s[0], 5);
    char c[1] = {5};
    Write("256");
    EXPECT_EQ(FileToArray(path.c_str(), c, DT_CHAR, 1, 1, 0, 0, VAL_ASCII), FILE_BAD_FORMAT);
    EXPECT_EQ(c[0], 5);
    EXPECT_EQ(FileToArray(path.c_str(), a, DT_U16, 3, 2, 0, 0, VAL_ASCII), FILE_BAD_ARGUMENT);
    EXPECT_EQ(FileToArray(nullptr, a, DT_U16, 3, 1, 0, 0, VAL_ASCII), FILE_BAD_ARGUMENT);
}

TEST_F(Files, WriteFailuresAreReported) {
    unsigned short v[2] = {1, 100000 % 65536};
    std::string missing = dir + "/no/such/folder/x.dat";
    EXPECT_EQ(ArrayToFile(missing.c_str(), v, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_TRUNCATE),
              FILE_CANNOT_OPEN);
    EXPECT_EQ(ArrayToFile("", v, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_APPEND), FILE_CANNOT_OPEN);
    EXPECT_EQ(ArrayToFile(dir.c_str(), v, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_TRUNCATE),
              FILE_CANNOT_OPEN);
    if (access("/dev/full", W_OK) == 0) {  // a device is no data file
        EXPECT_EQ(ArrayToFile("/dev/full", v, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_APPEND),
                  FILE_CANNOT_OPEN);
    }

    EXPECT_EQ(ArrayToFile(path.c_str(), v, DT_U16, 3, 2, 0, 0, 0, 5, VAL_ASCII, VAL_TRUNCATE),
              FILE_BAD_ARGUMENT);
    EXPECT_EQ(ArrayToFile(path.c_str(), nullptr, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_TRUNCATE),
              FILE_BAD_ARGUMENT);
    EXPECT_EQ(ArrayToFile(path.c_str(), v, DT_STRING, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_TRUNCATE),
              FILE_BAD_ARGUMENT);
    EXPECT_EQ(ArrayToFile(path.c_str(), v, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, 7), FILE_BAD_ARGUMENT);
    // 34464 does not fit a field of 4: refused rather than run into its neighbour.
    EXPECT_EQ(ArrayToFile(path.c_str(), v, DT_U16, 2, 1, 0, 0, 0, 4, VAL_ASCII, VAL_TRUNCATE),
              FILE_BAD_ARGUMENT);
    struct stat st;
    EXPECT_NE(stat(path.c_str(), &st), 0) << "nothing written on a refused call";
}

// A FIFO would block open or read for good, a device would feed without
// end: both are refused at once. A regular file is emptied in place.
TEST_F(Files, OnlyRegularFiles) {
    unsigned short v[2] = {7, 8};
    const std::string fifo = dir + "/fifo", zero = dir + "/zero";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    for (const std::string& p : {fifo, zero}) {
        EXPECT_EQ(FileToArray(p.c_str(), v, DT_U16, 2, 1, 0, 0, VAL_ASCII), FILE_CANNOT_OPEN) << p;
        EXPECT_EQ(ArrayToFile(p.c_str(), v, DT_U16, 2, 1, 0, 0, 0, 5, VAL_ASCII, VAL_APPEND),
                  FILE_CANNOT_OPEN);
        EXPECT_EQ(TruncateFile(p.c_str()), FILE_CANNOT_OPEN);
    }
    Write("0123456789");
    EXPECT_EQ(TruncateFile(path.c_str()), FILE_OK);
    EXPECT_EQ(Read(), "");
    EXPECT_EQ(TruncateFile((dir + "/none").c_str()), FILE_OK);
}

TEST_F(Files, DeleteFile) {
    Write("x");
    EXPECT_EQ(CVI_DeleteFile(path.c_str()), 0);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    EXPECT_EQ(CVI_DeleteFile(path.c_str()), 0);  // missing is fine
    EXPECT_LT(CVI_DeleteFile(dir.c_str()), 0);   // a folder is not removed
}

TEST(Clock, TimerDateAndTime) {
    double a = Timer();
    usleep(20000);
    double b = Timer();
    EXPECT_GE(b - a, 0.019);
    EXPECT_LT(b - a, 0.5);
    double c = Timer();
    EXPECT_GE(c, b);
    EXPECT_TRUE(std::regex_match(DateStr(), std::regex("(0[1-9]|1[0-2])-[0-3][0-9]-[0-9]{4}"))) << DateStr();
    EXPECT_TRUE(std::regex_match(TimeStr(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"))) << TimeStr();
}

TEST(Clock, ProjectDirIsTheProgramsFolder) {
    char dir[260];
    ASSERT_EQ(GetProjectDir(dir), 0);
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    exe[n] = 0;
    std::string e(exe);
    EXPECT_EQ(std::string(dir), e.substr(0, e.rfind('/')));
    EXPECT_NE(dir[strlen(dir) - 1], '/');
}

}  // namespace
