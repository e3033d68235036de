// Widgets kept over others (see platform/overlay.cpp).
#pragma once

class QWidget;

namespace uicore {

// Every widget of the window whose `overlayOn` property names another
// widget is kept centred over that widget and above it from now on.
void KeepOverlays(QWidget* window);

}  // namespace uicore
