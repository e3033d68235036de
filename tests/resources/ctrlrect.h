// A control's place on its panel, in panel pixels.
#pragma once

#include "platform/ui.h"

namespace ctrlrect {

struct Rect {
    int left, top, width, height;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

inline Rect CtrlRect(int panel, int control) {
    Rect r{};
    GetCtrlAttribute(panel, control, ATTR_LEFT, &r.left);
    GetCtrlAttribute(panel, control, ATTR_TOP, &r.top);
    GetCtrlAttribute(panel, control, ATTR_WIDTH, &r.width);
    GetCtrlAttribute(panel, control, ATTR_HEIGHT, &r.height);
    return r;
}

}  // namespace ctrlrect
