// Live values repaint their labels many times a second, and a label lays
// its text out anew (itemising, shaping) at every paint. This paints a
// plain one-line label the way the label itself does, but from laid-out
// texts kept for the strings it showed, so a repaint only draws glyphs.
#pragma once

class QLabel;
class QString;

namespace labeltext {

// From now on `label` paints from kept layouts; labels it cannot paint
// alike (rich or wrapped text, pictures, mnemonics, more than one line)
// keep painting themselves. Calling it again changes nothing.
void KeepLayouts(QLabel* label);

// Sets the text of a label that paints from kept layouts, which then
// repaints only where the old and the new text leave ink, so that what lies
// beside its text (a caption inside a display) is not painted again. False,
// with nothing done, for a label that does not keep layouts.
bool ShowText(QLabel* label, const QString& text);

// Narrows a left-aligned one-line caption to its text; it looks the same,
// and a value drawn beside it on the same display no longer overlaps it.
void FitCaption(QLabel* caption);

// The texts `label` keeps laid out now (for tests).
int KeptLayouts(const QLabel* label);

}  // namespace labeltext
