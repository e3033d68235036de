// Private state of the user-interface layer: the panels loaded, their
// controls, and the helpers every ui*.cpp file shares.
#pragma once
#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/ui.h"

class QLabel;

namespace uicore {

struct Control {
    int id = 0;
    QString name;
    int kind = 0;
    int dataType = DT_NONE;
    QByteArray callbackName;
    CtrlCallbackPtr callback = nullptr;
    QPointer<QWidget> widget;
    std::vector<int> ringValues;  // item values of a ring, in item order
    QByteArray format;            // printf format of an indicator
    bool formatIsInteger = true;  // the format's conversion takes an int
    bool autoSize = false;        // run-time text messages grow with their text
    // What an indicator shows now, so that unchanged writes cost nothing.
    QString shownText;
    bool hasShown = false;
    double number = 0;  // value of an indicator
    QString caption;    // label text of controls whose widget has no caption
    QString fontName;   // as last set through ATTR_TEXT_FONT
    int buttonColor = -1;
    int textColor = -1;
    int textBgColor = VAL_TRANSPARENT;
    int frameColor = -1;
    bool committedByEnter = false;  // numeric: Enter already produced a commit
    // ATTR_MARKED: the frame drawn round the widget, and the caption that
    // carries the "•" with its text from before.
    QPointer<QWidget> markFrame;
    QPointer<QWidget> markCaption;
    QString markCaptionText;
};

struct Panel {
    int handle = 0;
    QString name;
    QPointer<QWidget> window;
    PanelCallbackPtr callback = nullptr;
    QByteArray callbackName;
    QObject* filter = nullptr;                       // the panel's event filter, owned by the window
    unsigned shownOrder = 0;                         // when DisplayPanel last showed it; 0: never
    std::vector<std::unique_ptr<Control>> controls;  // identity = index + 1
};

Panel* FindPanel(int handle);
// Null when either the panel or the control does not exist.
Control* FindControl(int panel, int control);
// Returns UIE_OK and sets *out, or the error for a bad panel or control.
int Lookup(int panel, int control, Control** out);
int AddPanel(std::unique_ptr<Panel> p);
void RemovePanel(int handle);
// The callback entry of that name, or null.
const CallbackEntry* LookupCallback(const QByteArray& name);

// Callbacks are looked up again for every event, since a callback may
// discard the panel that called it.
void SendCtrlEvent(int panel, int control, int event, int data1 = 0, int data2 = 0);
void SendPanelEvent(int panel, int event);

// Connects the widget signals and the mouse filter of a control.
void WireControl(Panel* p, Control* c);
// Gives every control of a freshly loaded panel its accessible name and
// description.
void DescribeForAccessibility(Panel* p);
// The helps a panel file asks for by widget property: slider readouts
// (`readout`), shortened texts (`elide`), room kept while hidden (`keepRoom`).
void AddPanelAids(QWidget* window);
// Brings a slider's readout to the value the program set.
void ShowReadout(QWidget* slider);
// Text displays that shorten what does not fit: whether `w` is one, its
// whole text, and its tooltip for when nothing is cut.
bool ShowsElided(const QWidget* w);
void SetElidedText(QWidget* w, const QString& s);
QString ElidedFullText(const QWidget* w);
void SetElidedTip(QWidget* w, const QString& tip);
QString ElidedTip(const QWidget* w);
// Catches the window's close request.
void WirePanel(Panel* p);

// Gives a table its u16 cell editor and integer cells.
void PrepareTable(QWidget* w);
// ATTR_MARKED of a control: set and read.
int SetMarked(Control* c, bool on);
bool IsMarked(const Control* c);
// The colour of every mark, read in light and dark palettes alike.
QColor MarkColour();
// The sign a mark puts before a caption.
QString MarkSign();
// Writes a text control (a text box appends).
int SetText(Control* c, const QString& s);

// The window a popup belongs to, so that it opens centred over it: the
// active panel, else the visible panel shown most recently, else whatever
// window is active (null when none is).
QWidget* PopupOwner();

// Position of a control's widget in panel pixels.
QPoint PanelPos(const Panel* p, const QWidget* w);

QColor ToColor(int rgb);
int FromColor(const QColor& c);
// Copies a text into a C buffer of `size` bytes (always terminated).
void CopyOut(const QString& s, char* out, int size);

}  // namespace uicore
