// Scripted popups: answers, the record of what was shown, and popups that
// nobody expected.
#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "platform/ui.h"

namespace {

std::vector<seam::Popup> g_unexpected;
void Collect(const seam::Popup& p) {
    g_unexpected.push_back(p);
}
void Fail(const seam::Popup& p) {
    ADD_FAILURE() << "unexpected popup: title \"" << p.title << "\" text \"" << p.text << "\"";
}

int g_seenDuring = -1;
void During(void* data) {
    // The popup is "open": it is on record, and its answer was taken.
    g_seenDuring = static_cast<int>(seam::Shown().size());
    *static_cast<int*>(data) = seam::Pending();
}

class Seam : public testing::Test {
protected:
    void SetUp() override {
        seam::Install();
        g_unexpected.clear();
    }
    void TearDown() override {
        seam::Install();
        seam::SetUnexpectedHandler(Fail);
    }
};

}  // namespace

TEST_F(Seam, AnswersInOrderAndRecordsEveryPopup) {
    seam::ExpectMessage();
    seam::ExpectConfirm(1);
    seam::ExpectConfirm(0);
    EXPECT_EQ(seam::Pending(), 3);
    EXPECT_EQ(MessagePopup("INFO!", " Start data record."), 0);
    EXPECT_EQ(ConfirmPopup("ATTENTION!", "File already exist! \nDo you want to select existing file?"), 1);
    EXPECT_EQ(ConfirmPopup("ATTENTION!", "again"), 0);
    EXPECT_EQ(seam::Pending(), 0);
    ASSERT_EQ(seam::Shown().size(), 3u);
    EXPECT_EQ(seam::Shown()[0].kind, seam::Kind::Message);
    EXPECT_EQ(seam::Shown()[0].title, "INFO!");
    EXPECT_EQ(seam::Shown()[0].text, " Start data record.");
    EXPECT_EQ(seam::Shown()[1].text, "File already exist! \nDo you want to select existing file?");
    EXPECT_EQ(seam::Shown()[1].answer, 1);
    EXPECT_EQ(seam::Shown()[2].answer, 0);
    seam::Clear();
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(Seam, FileSelectionGivesThePathAndRecordsItsDefaults) {
    seam::ExpectFile(2, "/tmp/record.dat");
    char path[260] = "old";
    EXPECT_EQ(
        FileSelectPopup("/opt/corvel", "record.dat", "*.dat", "FILENAME!", VAL_OK_BUTTON, 0, 1, 1, 1, path),
        2);
    EXPECT_STREQ(path, "/tmp/record.dat");
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].kind, seam::Kind::FileSelect);
    EXPECT_EQ(seam::Shown()[0].title, "FILENAME!");
    EXPECT_EQ(seam::Shown()[0].text, "record.dat");
    EXPECT_EQ(seam::Shown()[0].directory, "/opt/corvel");
    EXPECT_EQ(seam::Shown()[0].filter, "*.dat");

    seam::ExpectFile(0, "");
    EXPECT_EQ(FileSelectPopup("", "x.dat", "*.dat", "T", VAL_OK_BUTTON, 0, 1, 1, 1, path), 0);
    EXPECT_STREQ(path, "");
}

TEST_F(Seam, APathThatDoesNotFitIsRefusedNotCut) {
    std::string longPath = "/" + std::string(300, 'a');
    seam::ExpectFile(2, longPath);
    char path[260];
    EXPECT_LE(FileSelectPopup("", "x.dat", "*.dat", "T", VAL_OK_BUTTON, 0, 1, 1, 1, path), 0);
    EXPECT_STREQ(path, "");
    std::string fits = "/" + std::string(258, 'b');  // 259 characters and the terminator
    seam::ExpectFile(1, fits);
    EXPECT_EQ(FileSelectPopup("", "x.dat", "*.dat", "T", VAL_OK_BUTTON, 0, 1, 1, 1, path), 1);
    EXPECT_EQ(std::string(path), fits);
}

TEST_F(Seam, DuringHookRunsWhileThePopupIsOpen) {
    int pendingThen = -1;
    seam::Answer a;
    a.kind = seam::Kind::Confirm;
    a.value = 1;
    a.during = During;
    a.data = &pendingThen;
    seam::Expect(a);
    seam::ExpectMessage();
    EXPECT_EQ(ConfirmPopup("Q", "sure?"), 1);
    EXPECT_EQ(g_seenDuring, 1);
    EXPECT_EQ(pendingThen, 1);  // only the message is still queued
    MessagePopup("INFO!", "done");
}

TEST_F(Seam, UnexpectedPopupAnswersZeroAtOnceAndIsReported) {
    seam::SetUnexpectedHandler(Collect);
    EXPECT_EQ(ConfirmPopup("ATTENTION!", "nobody expects this"), 0);
    seam::ExpectMessage();  // queued answer of another kind does not match
    char path[260] = "x";
    EXPECT_EQ(FileSelectPopup("", "", "*.dat", "FILENAME!", VAL_OK_BUTTON, 0, 0, 1, 1, path), 0);
    EXPECT_STREQ(path, "");
    ASSERT_EQ(g_unexpected.size(), 2u);
    EXPECT_EQ(g_unexpected[0].text, "nobody expects this");
    EXPECT_EQ(g_unexpected[1].kind, seam::Kind::FileSelect);
    EXPECT_EQ(seam::Pending(), 1);  // the message answer is still there
    EXPECT_EQ(seam::Shown().size(), 2u);
    MessagePopup("INFO!", "consumes it");
    EXPECT_EQ(seam::Pending(), 0);
}
