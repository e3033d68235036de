// The main panel's header from the branding file: colours, logo and texts
// are data, so that a rebranding needs no code change.
#include "branding/branding.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "branding_texts.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

namespace {

const char kTitle[] = "CORVEL-Scope V2.0";
const int kWhite = 0xFFFFFF;
const int kBlue = 0x0080FF;

// What a text line shows; all but the title are the installation's texts.
enum LineKind { TITLE, COMPANY, TELEPHONE, POSTCODE_CITY, STREET_CITY, WEB };
const char* const kKeys[] = {"title", "company", "telephone", "postcode_city", "street_city", "web"};

struct Line {
    LineKind kind;
    int style;  // 1, 2 or 3: ShowInfoText1..3
    int left, top, size;
};

struct Branding {
    int header;
    int logoLeft, logoTop;
    int lines;
    Line line[4];
};

const Branding kBrandings[11] = {
    {kWhite, 800, 5, 1, {{TITLE, 2, 280, 20, 22}}},
    {kWhite, 646, 5, 3, {{TITLE, 1, 280, 20, 22}, {COMPANY, 1, 15, 13, 14}, {TELEPHONE, 1, 15, 32, 14}}},
    {kWhite,
     705,
     5,
     4,
     {{TITLE, 2, 280, 20, 22},
      {POSTCODE_CITY, 2, 15, 21, 14},
      {TELEPHONE, 2, 15, 37, 14},
      {COMPANY, 2, 15, 5, 14}}},
    {kWhite, 572, 6, 1, {{TITLE, 1, 20, 16, 25}}},
    {kWhite, 636, 6, 1, {{TITLE, 1, 20, 16, 25}}},
    {kBlue,
     325,
     6,
     4,
     {{TITLE, 3, 323, 30, 18}, {COMPANY, 3, 15, 5, 12}, {TELEPHONE, 3, 15, 20, 12}, {WEB, 3, 15, 35, 12}}},
    {kWhite,
     599,
     6,
     4,
     {{TITLE, 2, 340, 20, 22},
      {STREET_CITY, 2, 15, 20, 14},
      {TELEPHONE, 2, 15, 35, 14},
      {COMPANY, 2, 15, 5, 14}}},
    {kWhite, 649, 5, 3, {{TITLE, 1, 280, 20, 22}, {COMPANY, 1, 15, 13, 14}, {TELEPHONE, 1, 15, 32, 14}}},
    {kWhite, 594, 5, 3, {{TITLE, 1, 280, 20, 22}, {COMPANY, 1, 15, 13, 14}, {TELEPHONE, 1, 15, 32, 14}}},
    {kWhite, 7, 2, 1, {{TITLE, 3, 280, 20, 22}}},
    {kWhite, 640, 6, 1, {{TITLE, 1, 20, 16, 25}}},
};

// The installation's text of line `key` of branding `index`; empty when
// it supplies none.
void BrandingEntry(int index, const char* key, char* out, int size) {
    out[0] = '\0';
    for (const BrandingText* t = kBrandingTexts; t->index >= 0; ++t) {
        if (t->index == index && std::strcmp(t->key, key) == 0) {
            std::snprintf(out, static_cast<size_t>(size), "%s", t->text);
            return;
        }
    }
}

void ShowText(int style, const char* text, int left, int top, int size) {
    if (style == 1) ShowInfoText1(text, left, top, size);
    if (style == 2) ShowInfoText2(text, left, top, size);
    if (style == 3) ShowInfoText3(text, left, top, size);
}

int NewText(const char* text, int left, int top, int size, int color, int background) {
    int ctrl = NewCtrl(panel, CTRL_TEXT_MSG, "", top, left);
    SetCtrlAttribute(panel, ctrl, ATTR_TEXT_FONT, "NIApp");
    SetCtrlAttribute(panel, ctrl, ATTR_TEXT_BGCOLOR, background);
    SetCtrlAttribute(panel, ctrl, ATTR_TEXT_COLOR, color);
    SetCtrlAttribute(panel, ctrl, ATTR_TEXT_POINT_SIZE, size);
    SetCtrlVal(panel, ctrl, text);
    return ctrl;
}

}  // namespace

void ShowLogo(int index) {
    if (index < 0 || index > 10) return;
    const Branding& b = kBrandings[index];
    SetCtrlAttribute(panel, P_HEADERBACKGROUND, ATTR_FRAME_COLOR, b.header);
    SetCtrlAttribute(panel, P_PICTURELOGO, ATTR_TOP, b.logoTop);
    SetCtrlAttribute(panel, P_PICTURELOGO, ATTR_LEFT, b.logoLeft);
    if (index != 0) {
        char logo[kPathSize];
        BrandingEntry(index, "logo", logo, sizeof logo);
        if (logo[0] == '\0') std::snprintf(logo, sizeof logo, "logo%d.png", index);
        // A plain file name is the installation's file, beside the program
        // or in its share folder.
        char path[600];
        if (std::strchr(logo, '/') == nullptr)
            FindInstalledFile(logo, path, sizeof path);
        else
            std::snprintf(path, sizeof path, "%s", logo);
        // The result is not examined: a missing logo leaves the picture empty.
        DisplayImageFile(panel, P_PICTURELOGO, path);
    }
    for (int i = 0; i < b.lines; ++i) {
        const Line& l = b.line[i];
        char text[200];
        if (l.kind == TITLE) {
            std::snprintf(text, sizeof text, "%s", kTitle);
        } else {
            BrandingEntry(index, kKeys[l.kind], text, sizeof text);
        }
        ShowText(l.style, text, l.left, l.top, l.size);
    }
}

void ShowInfoText1(const char* text, int left, int top, int size) {
    NewText(text, left, top, size, 0x808080, 0xFFFFFF);
}

void ShowInfoText2(const char* text, int left, int top, int size) {
    NewText(text, left, top, size, 0x000000, 0xFFFFFF);
}

void ShowInfoText3(const char* text, int left, int top, int size) {
    NewText(text, left, top, size, 0xFFFFFF, VAL_TRANSPARENT);
}

}  // namespace corvel
