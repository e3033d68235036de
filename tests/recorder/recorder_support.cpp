#include "recorder_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace rectest {

void RecorderTest::SetUp() {
    ASSERT_TRUE(testsupport::FreshStart());
    corvel::transbeg = Timer() - 10;
    corvel::waitdel = 0;
    char tmpl[] = "/tmp/corvel-rec-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
}

void RecorderTest::TearDown() {
    EXPECT_EQ(seam::Pending(), 0) << "scripted popups left unanswered";
    HidePanel(corvel::recpanel);
    HidePanel(corvel::graphpanel);
    std::system(("chmod -R u+rwx " + dir + " 2>/dev/null; rm -rf " + dir).c_str());
}

int RecorderTest::Num(int control) {
    // Read as the control's own type.
    int type = 0;
    GetCtrlAttribute(corvel::recpanel, control, ATTR_DATA_TYPE, &type);
    if (type == DT_U16) {
        unsigned short u = 0;
        EXPECT_EQ(GetCtrlVal(corvel::recpanel, control, &u), 0) << "control " << control;
        return u;
    }
    int v = -12345;
    EXPECT_EQ(GetCtrlVal(corvel::recpanel, control, &v), 0) << "control " << control;
    return v;
}

std::string RecorderTest::RecFileShown() {
    char line[300] = "";
    GetTextBoxLine(corvel::recpanel, RECP_DISPRECFILE, 0, line, sizeof line);
    return line;
}

void RecorderTest::ShowRecFile(const std::string& path) {
    ResetTextBox(corvel::recpanel, RECP_DISPRECFILE, "");
    SetCtrlVal(corvel::recpanel, RECP_DISPRECFILE, path.c_str());
}

std::string RecorderTest::LastPopup() {
    if (seam::Shown().empty()) return "";
    return seam::Shown().back().title + "|" + seam::Shown().back().text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace rectest
