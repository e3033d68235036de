// Palette-derived colours of the panels, shared by the platform files.
#pragma once
#include <QColor>

namespace uicore {

struct Panel;

// Gives the panel's displays, captions and toggles colours taken from the
// application palette, and keeps them so when the palette changes.
void ApplyTheme(Panel* p);

// WCAG contrast ratio of two colours (1 to 21).
double Contrast(const QColor& a, const QColor& b);
// Black or white, whichever reads better on `background`.
QColor TextOn(const QColor& background);

}  // namespace uicore
