// The sizes of a panel's window: the smallest its layout allows with the
// controls shown now, and the size a tool or test asks for, never below it.
#include <QLayout>
#include <QWidget>

#include "platform/internal/uicore.h"
#include "platform/theme.h"

using namespace uicore;

int GetPanelMinimumSize(int panel, int* width, int* height) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (!width || !height) return UIE_BAD_ARGUMENT;
    QWidget* w = p->window;
    // A hidden window does not lay itself out: bring every layout up to the
    // controls shown now, innermost first, so that the sum is current.
    const auto children = w->findChildren<QWidget*>();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (QLayout* l = (*it)->layout()) {
            l->invalidate();
            l->activate();
            (*it)->updateGeometry();
        }
    }
    if (w->layout()) {
        w->layout()->invalidate();
        w->layout()->activate();
    }
    QSize m = w->minimumSizeHint().expandedTo(w->minimumSize());
    *width = m.width();
    *height = m.height();
    return UIE_OK;
}

int SetPanelSize(int panel, int width, int height) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (width <= 0 || height <= 0) return UIE_BAD_ARGUMENT;
    int mw = 0, mh = 0;
    GetPanelMinimumSize(panel, &mw, &mh);
    p->window->resize(QSize(width, height).expandedTo(QSize(mw, mh)));
    return UIE_OK;
}

int GetPanelSize(int panel, int* width, int* height) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (!width || !height) return UIE_BAD_ARGUMENT;
    *width = p->window->width();
    *height = p->window->height();
    return UIE_OK;
}
