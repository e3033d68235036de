// The mouse wheel changes a value only where the operator has put the
// keyboard focus (see platform/wheelguard.cpp).
#pragma once

class QWidget;

namespace uicore {

// From now on a wheel over `w` changes its value only while `w` has the
// keyboard focus; otherwise the wheel scrolls the scroll area around it,
// or does nothing. A wheel never gives `w` the focus.
void GuardWheel(QWidget* w);

}  // namespace uicore
