// Loading panels from the run-time panel file (a binary Qt resource of
// Designer files) and numbering their controls as the identity header does.
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QResource>
#include <QtUiTools/QUiLoader>
#include <cctype>
#include <cstring>

#include "platform/internal/overlay.h"
#include "platform/internal/uicore.h"
#include "platform/internal/uiscan.h"
#include "platform/locations.h"
#include "platform/widgets/stripchart.h"
#include "platform/widgets/xygraph.h"

namespace uicore {
namespace {

class PanelLoader : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        QWidget* w = nullptr;
        if (className == QLatin1String("StripChart")) {
            w = new StripChart(parent);
        } else if (className == QLatin1String("XYGraph")) {
            w = new XYGraph(parent);
        } else {
            return QUiLoader::createWidget(className, parent, name);
        }
        w->setObjectName(name);
        return w;
    }
};

// Mount point of every panel file registered so far.
QHash<QString, QString>& Mounts() {
    static QHash<QString, QString> mounts;
    return mounts;
}

// Registers the panel file once; each file gets its own root so that two
// panel files never hide each other's panels.
QString Mount(const QString& path) {
    auto it = Mounts().find(path);
    if (it != Mounts().end()) return *it;
    QString root = QStringLiteral("/corvel_uir_%1").arg(Mounts().size() + 1);
    if (!QResource::registerResource(path, root)) return QString();
    Mounts().insert(path, root);
    return root;
}

struct KindInfo {
    const char* name;
    int kind;
    int defaultType;
};
const KindInfo kKinds[] = {
    {"command", CTRL_KIND_COMMAND, DT_NONE},       {"numeric", CTRL_KIND_NUMERIC, DT_INT},
    {"indicator", CTRL_KIND_INDICATOR, DT_INT},    {"text", CTRL_KIND_TEXT, DT_STRING},
    {"textbox", CTRL_KIND_TEXTBOX, DT_STRING},     {"ring", CTRL_KIND_RING, DT_INT},
    {"toggle", CTRL_KIND_TOGGLE, DT_INT},          {"switch", CTRL_KIND_SWITCH, DT_INT},
    {"slider", CTRL_KIND_SLIDER, DT_INT},          {"bar", CTRL_KIND_BAR, DT_INT},
    {"table", CTRL_KIND_TABLE, DT_NONE},           {"strip", CTRL_KIND_STRIPCHART, DT_NONE},
    {"graph", CTRL_KIND_GRAPH, DT_NONE},           {"picture", CTRL_KIND_PICTURE, DT_NONE},
    {"decoration", CTRL_KIND_DECORATION, DT_NONE}, {"label", CTRL_KIND_TEXT, DT_STRING},
};

int TypeFromName(const QString& s) {
    if (s == QLatin1String("u16")) return DT_U16;
    if (s == QLatin1String("s16")) return DT_S16;
    if (s == QLatin1String("int")) return DT_INT;
    if (s == QLatin1String("double")) return DT_DOUBLE;
    if (s == QLatin1String("string")) return DT_STRING;
    return -1;
}

// Accepts a format with exactly one numeric conversion and nothing that
// could read a missing argument; tells whether it takes an int.
bool CheckFormat(const QByteArray& f, bool* isInteger) {
    int conversions = 0;
    for (int i = 0; i < f.size(); ++i) {
        if (f[i] != '%') continue;
        if (i + 1 < f.size() && f[i + 1] == '%') {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < f.size() && std::strchr("-+ #0", f[j])) ++j;
        while (j < f.size() && (std::isdigit(static_cast<unsigned char>(f[j])) || f[j] == '.')) ++j;
        if (j >= f.size()) return false;
        char conv = f[j];
        if (std::strchr("diouxXc", conv)) {
            *isInteger = true;
        } else if (std::strchr("fFeEgG", conv)) {
            *isInteger = false;
        } else {
            return false;
        }
        ++conversions;
        i = j;
    }
    return conversions == 1;
}

// Ring item values; without a `values` property the items count from 0.
void ReadRingValues(Control* c, int itemCount) {
    c->ringValues.clear();
    QString v = c->widget->property("values").toString();
    if (!v.trimmed().isEmpty()) {
        const QStringList parts = v.split(QLatin1Char(','));
        for (const QString& s : parts) c->ringValues.push_back(s.trimmed().toInt());
    }
    for (int i = static_cast<int>(c->ringValues.size()); i < itemCount; ++i) c->ringValues.push_back(i);
}

void Describe(Control* c) {
    QWidget* w = c->widget;
    QString kind = w->property("kind").toString();
    c->kind = CTRL_KIND_DECORATION;
    c->dataType = DT_NONE;
    bool known = false;
    for (const KindInfo& k : kKinds) {
        if (kind == QLatin1String(k.name)) {
            c->kind = k.kind;
            c->dataType = k.defaultType;
            known = true;
            break;
        }
    }
    if (!known) qWarning("panel control %s: unknown kind \"%s\"", qPrintable(c->name), qPrintable(kind));
    if (c->kind == CTRL_KIND_NUMERIC && w->inherits("QDoubleSpinBox")) c->dataType = DT_DOUBLE;
    QVariant dt = w->property("datatype");
    if (dt.isValid() && c->dataType != DT_NONE) {
        int t = TypeFromName(dt.toString());
        if (t > 0) {
            c->dataType = t;
        } else {
            qWarning("panel control %s: unknown datatype \"%s\"", qPrintable(c->name),
                     qPrintable(dt.toString()));
        }
    }
    c->callbackName = w->property("callback").toString().toLatin1();
    if (const CallbackEntry* e = LookupCallback(c->callbackName)) c->callback = e->ctrl;
    c->caption = w->property("label").toString();
    if (c->kind == CTRL_KIND_RING) {
        auto* combo = qobject_cast<QComboBox*>(w);
        ReadRingValues(c, combo ? combo->count() : 0);
    }
    if (c->kind == CTRL_KIND_INDICATOR) {
        QByteArray f = w->property("format").toString().toLatin1();
        if (f.isEmpty()) f = c->dataType == DT_DOUBLE ? "%.1f" : "%d";
        bool isInt = true;
        if (!CheckFormat(f, &isInt)) {
            qWarning("panel control %s: bad format \"%s\"", qPrintable(c->name), f.constData());
            f = c->dataType == DT_DOUBLE ? "%.1f" : "%d";
            isInt = c->dataType != DT_DOUBLE;
        }
        c->format = f;
        c->formatIsInteger = isInt;
        // What the definition shows is the value until the program writes one.
        if (auto* l = qobject_cast<QLabel*>(w)) c->number = l->text().trimmed().toDouble();
    }
}

}  // namespace

}  // namespace uicore

using namespace uicore;

int LoadPanel(int, const char* fileName, int resourceId) {
    if (!QCoreApplication::instance()) return UIE_NOT_INITIALISED;
    if (!fileName || !*fileName) return UIE_BAD_ARGUMENT;
    QString path = QString::fromLocal8Bit(fileName);
    if (QFileInfo(path).isRelative()) {
        // Beside the program, or in the installation's share folder.
        char found[1024];
        FindInstalledFileIn(QCoreApplication::applicationDirPath().toLocal8Bit().constData(), fileName, found,
                            sizeof found);
        path = QString::fromLocal8Bit(found);
    }
    path = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(path)) return UIE_FILE;
    QString root = Mount(path);
    if (root.isEmpty()) return UIE_FILE;

    QFile f(QStringLiteral(":%1/panels/%2.ui").arg(root).arg(resourceId));
    if (!f.open(QIODevice::ReadOnly)) return UIE_FILE;
    QByteArray xml = f.readAll();
    f.close();
    uiscan::PanelDeclaration decl;
    if (!uiscan::ScanPanel(xml, &decl)) return UIE_FILE;

    QFile again(f.fileName());
    again.open(QIODevice::ReadOnly);
    PanelLoader loader;
    QWidget* window = loader.load(&again, nullptr);
    if (!window) return UIE_FILE;
    AddPanelAids(window);
    window->setWindowFlags(Qt::Window);
    window->hide();
    // Texts come from the sensor and from file names: shown as they are,
    // never read as markup.
    for (QLabel* l : window->findChildren<QLabel*>()) l->setTextFormat(Qt::PlainText);
    // A path has no blanks to break at: such a text box breaks it anywhere.
    for (QPlainTextEdit* t : window->findChildren<QPlainTextEdit*>())
        if (t->property("wrapAnywhere").toBool())
            t->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab stops order the focus chain, but Qt starts it at the widget made
    // first: the window opens on the first tab stop instead.
    if (!decl.firstTabStop.isEmpty()) {
        if (QWidget* first = window->findChild<QWidget*>(decl.firstTabStop)) first->setFocus();
    }

    auto panel = std::make_unique<Panel>();
    panel->name = decl.panelName;
    panel->window = window;
    panel->callbackName = window->property("callback").toString().toLatin1();
    if (const CallbackEntry* e = LookupCallback(panel->callbackName)) panel->callback = e->panel;
    int id = 0;
    for (const QString& name : decl.controls) {
        auto c = std::make_unique<Control>();
        c->id = ++id;
        c->name = name;
        c->widget = window->findChild<QWidget*>(name);
        if (!c->widget) {
            qWarning("panel %s: control %s is not a widget", qPrintable(panel->name), qPrintable(name));
            c->widget = new QWidget(window);  // keeps the numbering; shows nothing
            c->widget->hide();
        }
        Describe(c.get());
        panel->controls.push_back(std::move(c));
    }
    Panel* p = panel.get();
    KeepOverlays(window);
    int handle = AddPanel(std::move(panel));
    window->setProperty("corvelHandle", handle);  // lets tools find the window of a handle
    WirePanel(p);
    for (auto& c : p->controls) WireControl(p, c.get());
    DescribeForAccessibility(p);
    return handle;
}
