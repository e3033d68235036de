// Palette-derived colours of the panels, shared by the platform files.
#pragma once
#include <QColor>

namespace uicore {

struct Panel;
struct Control;

// Gives the panel's displays, captions and toggles colours taken from the
// application palette, and keeps them so when the palette changes.
void ApplyTheme(Panel* p);
// Gives a control back the text colour the palette gives it.
void ReturnToTheme(Control* c);
// Gives a display back the background (and text) colours the palette gives it.
void ReturnBackgroundToTheme(Control* c);

// WCAG contrast ratio of two colours (1 to 21).
double Contrast(const QColor& a, const QColor& b);
// Black or white, whichever reads better on `background`.
QColor TextOn(const QColor& background);

}  // namespace uicore
