// Live values repaint their labels many times a second, and a label lays
// its text out anew (itemising, shaping) at every paint. This paints a
// plain one-line label the way the label itself does, but from laid-out
// texts kept for the strings it showed, so a repaint only draws glyphs.
#pragma once

class QLabel;

namespace labeltext {

// From now on `label` paints from kept layouts; labels it cannot paint
// alike (rich or wrapped text, pictures, mnemonics, more than one line)
// keep painting themselves. Calling it again changes nothing.
void KeepLayouts(QLabel* label);

// The texts `label` keeps laid out now (for tests).
int KeptLayouts(const QLabel* label);

}  // namespace labeltext
