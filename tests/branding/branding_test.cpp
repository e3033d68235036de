// The header of the main panel: colour, logo and the title texts.
#include "branding/branding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/corvel.h"
#include "platform/platform.h"
#include "support/panels.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

struct Text {
    std::string value;
    int left, top, size, color, background;
};

Text TextOf(int ctrl) {
    Text t{};
    t.value = testsupport::CtrlText(panel, ctrl);
    GetCtrlAttribute(panel, ctrl, ATTR_LEFT, &t.left);
    GetCtrlAttribute(panel, ctrl, ATTR_TOP, &t.top);
    GetCtrlAttribute(panel, ctrl, ATTR_TEXT_POINT_SIZE, &t.size);
    GetCtrlAttribute(panel, ctrl, ATTR_TEXT_COLOR, &t.color);
    GetCtrlAttribute(panel, ctrl, ATTR_TEXT_BGCOLOR, &t.background);
    return t;
}

class Branding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        GetProjectDir(proj_dir);
    }
    int Count() { return GetPanelCtrlCount(panel); }
};

TEST_F(Branding, StartBrandingIsBlueWithWhiteTexts) {
    const int before = Count();
    ShowLogo(5);
    ASSERT_EQ(Count(), before + 4);
    int header = 0;
    GetCtrlAttribute(panel, P_HEADERBACKGROUND, ATTR_FRAME_COLOR, &header);
    EXPECT_EQ(header, 0x0080FF);
    int left = 0, top = 0;
    GetCtrlAttribute(panel, P_PICTURELOGO, ATTR_LEFT, &left);
    GetCtrlAttribute(panel, P_PICTURELOGO, ATTR_TOP, &top);
    EXPECT_EQ(left, 325);
    EXPECT_EQ(top, 6);
    const Text title = TextOf(before + 1);
    EXPECT_EQ(title.value, "CORVEL-Scope V2.0");
    EXPECT_EQ(title.left, 323);
    EXPECT_EQ(title.top, 30);
    EXPECT_EQ(title.size, 18);
    for (int c = before + 1; c <= before + 4; ++c) {
        const Text t = TextOf(c);
        EXPECT_EQ(t.color, 0xFFFFFF);
        EXPECT_EQ(t.background, VAL_TRANSPARENT);
    }
    // Company, telephone and web address lines in that order.
    EXPECT_EQ(TextOf(before + 2).top, 5);
    EXPECT_EQ(TextOf(before + 3).top, 20);
    EXPECT_EQ(TextOf(before + 4).top, 35);
    EXPECT_EQ(TextOf(before + 2).size, 12);
    EXPECT_EQ(TextOf(before + 2).value, "Corvel Sensor Systems");
    EXPECT_EQ(TextOf(before + 4).value, "www.corvel.invalid");

    // A second call adds a second set on top of the first.
    ShowLogo(5);
    EXPECT_EQ(Count(), before + 8);
    EXPECT_EQ(TextOf(before + 5).value, "CORVEL-Scope V2.0");
}

TEST_F(Branding, IndexZeroLoadsNoImage) {
    DisplayImageFile(panel, P_PICTURELOGO, "");  // start from an empty picture
    const int before = Count();
    ShowLogo(0);
    EXPECT_EQ(PictureHasImage(panel, P_PICTURELOGO), 0);
    int left = 0;
    GetCtrlAttribute(panel, P_PICTURELOGO, ATTR_LEFT, &left);
    EXPECT_EQ(left, 800);
    ASSERT_EQ(Count(), before + 1);
    const Text title = TextOf(before + 1);
    EXPECT_EQ(title.color, 0x000000);  // style 2: black on white
    EXPECT_EQ(title.background, 0xFFFFFF);
    EXPECT_EQ(title.size, 22);
}

TEST_F(Branding, IndexesOutOfRangeChangeNothing) {
    ShowLogo(5);
    int header = 0, left = 0;
    const int before = Count();
    ShowLogo(-1);
    ShowLogo(11);
    EXPECT_EQ(Count(), before);
    GetCtrlAttribute(panel, P_HEADERBACKGROUND, ATTR_FRAME_COLOR, &header);
    GetCtrlAttribute(panel, P_PICTURELOGO, ATTR_LEFT, &left);
    EXPECT_EQ(header, 0x0080FF);
    EXPECT_EQ(left, 325);
}

TEST_F(Branding, TheShippedLogoLoadsAMissingOneLeavesThePictureEmpty) {
    ShowLogo(5);
    EXPECT_EQ(PictureHasImage(panel, P_PICTURELOGO), 1);

    // No logo is shipped for branding 1: the picture stays empty and the
    // texts still come.
    const int before = Count();
    ShowLogo(1);
    EXPECT_EQ(PictureHasImage(panel, P_PICTURELOGO), 0);
    ASSERT_EQ(Count(), before + 3);
    EXPECT_EQ(TextOf(before + 1).value, "CORVEL-Scope V2.0");
    EXPECT_EQ(TextOf(before + 2).value, "Partner Company One");
    EXPECT_EQ(TextOf(before + 1).color, 0x808080);  // style 1: grey on white
    EXPECT_EQ(TextOf(before + 1).background, 0xFFFFFF);
}

}  // namespace
