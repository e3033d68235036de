// Text boxes, pictures, controls made at run time, and inspection of panels.
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

#include "platform/internal/uicore.h"

using namespace uicore;

int GetTextBoxLine(int panel, int control, int line, char* out, int size) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    auto* t = qobject_cast<QPlainTextEdit*>(c->widget);
    if (!t) return UIE_TYPE_MISMATCH;
    if (!out || size <= 0 || line < 0) return UIE_BAD_ARGUMENT;
    QTextBlock b = t->document()->findBlockByNumber(line);
    if (!b.isValid()) return UIE_BAD_ARGUMENT;
    CopyOut(b.text(), out, size);
    return UIE_OK;
}

int ResetTextBox(int panel, int control, const char* text) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    auto* t = qobject_cast<QPlainTextEdit*>(c->widget);
    if (!t) return UIE_TYPE_MISMATCH;
    QString s = text ? QString::fromLocal8Bit(text) : QString();
    QSignalBlocker block(t);
    if (t->toPlainText() != s) t->setPlainText(s);
    return UIE_OK;
}

int DisplayImageFile(int panel, int control, const char* fileName) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    auto* l = qobject_cast<QLabel*>(c->widget);
    if (!l) return UIE_TYPE_MISMATCH;
    QPixmap pm;
    if (!fileName || !pm.load(QString::fromLocal8Bit(fileName))) {
        l->clear();
        return UIE_FILE;
    }
    l->setScaledContents(true);
    l->setPixmap(pm);
    return UIE_OK;
}

int PictureHasImage(int panel, int control) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    auto* l = qobject_cast<QLabel*>(c->widget);
    if (!l) return UIE_TYPE_MISMATCH;
    return l->pixmap().isNull() ? 0 : 1;
}

int NewCtrl(int panel, int kind, const char* label, int top, int left) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (kind != CTRL_TEXT_MSG) return UIE_BAD_ARGUMENT;
    auto* l = new QLabel(p->window);
    l->setTextFormat(Qt::PlainText);
    l->setText(label ? QString::fromLocal8Bit(label) : QString());
    l->move(left, top);
    l->adjustSize();
    auto c = std::make_unique<Control>();
    c->id = static_cast<int>(p->controls.size()) + 1;
    c->name = QStringLiteral("TextMsg%1").arg(c->id);
    l->setObjectName(c->name);
    c->kind = CTRL_KIND_TEXT;
    c->dataType = DT_STRING;
    c->widget = l;
    c->autoSize = true;
    Control* raw = c.get();
    p->controls.push_back(std::move(c));
    WireControl(p, raw);
    l->raise();
    l->show();
    return raw->id;
}

int GetCtrlByName(int panel, const char* name) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (!name) return UIE_BAD_ARGUMENT;
    QString n = QString::fromLatin1(name);
    for (const auto& c : p->controls) {
        if (c->name == n) return c->id;
    }
    return UIE_NO_SUCH_CONTROL;
}

int GetCtrlCallbackName(int panel, int control, char* out, int size) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!out || size <= 0) return UIE_BAD_ARGUMENT;
    CopyOut(QString::fromLatin1(c->callbackName), out, size);
    return UIE_OK;
}

int GetPanelCtrlCount(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    return static_cast<int>(p->controls.size());
}

int GetCtrlName(int panel, int control, char* out, int size) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!out || size <= 0) return UIE_BAD_ARGUMENT;
    CopyOut(c->name, out, size);
    return UIE_OK;
}

int SavePanelImage(int panel, const char* pngFile) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (!pngFile) return UIE_BAD_ARGUMENT;
    // grab() renders hidden panels too.
    QPixmap pm = p->window->grab();
    return pm.save(QString::fromLocal8Bit(pngFile), "PNG") ? UIE_OK : UIE_FILE;
}

int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void*) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    c->callback = callback;
    return UIE_OK;
}
