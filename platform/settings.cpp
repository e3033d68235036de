// The settings file: read once at start into memory, written whole when
// something worth keeping changed and at the end. QSettings stays in here;
// the program sees keys and plain texts only.
#include "platform/settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/comlinks.h"
#include "platform/internal/uicore.h"

namespace {

// A file without this mark is not one of ours, or was cut short.
const char kFormatKey[] = "format";
constexpr int kFormat = 1;
// Sizes outside this are not a window's.
constexpr int kLargest = 100000;

QMap<QString, QVariant> g_values;
std::string g_path;

const std::string& Path() {
    char links[4096];
    if (ComLinksFolder(links, sizeof links) != COMLINKS_OK) {
        g_path.clear();
        return g_path;
    }
    std::string folder(links);
    const std::string tail = "/dosdevices";
    if (folder.size() > tail.size() && folder.compare(folder.size() - tail.size(), tail.size(), tail) == 0)
        folder.resize(folder.size() - tail.size());
    g_path = folder + "/corvel-scope.ini";
    return g_path;
}

QString Key(const char* key) {
    return QString::fromUtf8(key ? key : "");
}

bool Copy(const QString& s, char* out, int size) {
    if (!out || size <= 0) return false;
    const QByteArray bytes = s.toLocal8Bit();
    if (bytes.size() + 1 > size) {
        out[0] = '\0';
        return false;
    }
    std::memcpy(out, bytes.constData(), bytes.size() + 1);
    return true;
}

void Ignore(const char* why) {
    std::fprintf(stderr, "corvel-scope: settings file %s %s: ignored, the defaults are used\n",
                 g_path.c_str(), why);
}

// On Wayland a program cannot place its windows; Qt would warn each time.
bool PlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QString PanelKey(const uicore::Panel* p, const char* what) {
    return QStringLiteral("panels/%1/%2").arg(p->name, QLatin1String(what));
}

bool Number(const QString& key, int lo, int hi, int* out) {
    auto it = g_values.find(key);
    if (it == g_values.end()) return false;
    bool ok = false;
    const int v = it->toInt(&ok);
    if (!ok || v < lo || v > hi) return false;
    *out = v;
    return true;
}

}  // namespace

const char* SettingsFilePath(void) {
    return Path().c_str();
}

int LoadSettings(void) {
    g_values.clear();
    const QString path = QString::fromLocal8Bit(Path().c_str());
    if (path.isEmpty()) return SETTINGS_NONE;
    const QFileInfo info(path);
    if (!info.exists()) return SETTINGS_NONE;
    if (!info.isFile() || !info.isReadable()) {
        Ignore("cannot be read");
        return SETTINGS_IGNORED;
    }
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        Ignore(file.status() == QSettings::AccessError ? "cannot be read" : "is damaged");
        return SETTINGS_IGNORED;
    }
    if (file.value(QLatin1String(kFormatKey)).toInt() != kFormat) {
        Ignore("is damaged or not a settings file of this program");
        return SETTINGS_IGNORED;
    }
    for (const QString& k : file.allKeys()) g_values.insert(k, file.value(k));
    return SETTINGS_READ;
}

int SaveSettings(void) {
    const QString path = QString::fromLocal8Bit(Path().c_str());
    if (path.isEmpty()) return -1;
    const std::string folder = g_path.substr(0, g_path.rfind('/'));
    if (!MakeFolderPath(folder.c_str())) {
        std::fprintf(stderr, "corvel-scope: settings folder %s cannot be made: settings not kept\n",
                     folder.c_str());
        return -1;
    }
    QSettings file(path, QSettings::IniFormat);
    file.clear();
    file.setValue(QLatin1String(kFormatKey), kFormat);
    for (auto it = g_values.cbegin(); it != g_values.cend(); ++it)
        if (it.key() != QLatin1String(kFormatKey)) file.setValue(it.key(), it.value());
    file.sync();
    if (file.status() != QSettings::NoError) {
        std::fprintf(stderr, "corvel-scope: settings file %s cannot be written: settings not kept\n",
                     g_path.c_str());
        return -1;
    }
    return 0;
}

int GetSettingText(const char* key, char* out, int size) {
    auto it = g_values.find(Key(key));
    if (it == g_values.end() || it->typeId() == QMetaType::QStringList) {
        if (out && size > 0) out[0] = '\0';
        return -1;
    }
    return Copy(it->toString(), out, size) ? 0 : -1;
}

void SetSettingText(const char* key, const char* value) {
    g_values.insert(Key(key), QString::fromLocal8Bit(value ? value : ""));
}

void PushSettingList(const char* key, const char* value, int max) {
    if (!value || !*value || max <= 0) return;
    QStringList list = g_values.value(Key(key)).toStringList();
    const QString v = QString::fromLocal8Bit(value);
    list.removeAll(v);
    list.prepend(v);
    while (list.size() > max) list.removeLast();
    g_values.insert(Key(key), list);
}

int GetSettingListItem(const char* key, int index, char* out, int size) {
    const QStringList list = g_values.value(Key(key)).toStringList();
    if (index < 0 || index >= list.size()) {
        if (out && size > 0) out[0] = '\0';
        return -1;
    }
    return Copy(list.at(index), out, size) ? 0 : -1;
}

int KeepPanelPlace(int panel) {
    const uicore::Panel* p = uicore::FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    if (p->shownOrder == 0 || !p->window) return UIE_OK;  // never shown: what was kept stays
    const QWidget* w = p->window;
    const QRect normal = w->isMaximized() || w->isFullScreen() ? w->normalGeometry() : w->geometry();
    g_values.insert(PanelKey(p, "width"), normal.width());
    g_values.insert(PanelKey(p, "height"), normal.height());
    if (PlacesWindows()) {
        g_values.insert(PanelKey(p, "left"), w->pos().x());
        g_values.insert(PanelKey(p, "top"), w->pos().y());
    }
    return UIE_OK;
}

int RestorePanelPlace(int panel) {
    uicore::Panel* p = uicore::FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    QWidget* w = p->window;
    if (!w) return UIE_NO_SUCH_PANEL;
    int width = 0, height = 0;
    if (Number(PanelKey(p, "width"), 1, kLargest, &width) &&
        Number(PanelKey(p, "height"), 1, kLargest, &height)) {
        QSize size(width, height);
        const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
        if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !headless)
            size = size.boundedTo(screen->availableGeometry().size());
        w->resize(size.expandedTo(w->minimumSizeHint().expandedTo(w->minimumSize())));
    }
    int left = 0, top = 0;
    if (PlacesWindows() && Number(PanelKey(p, "left"), -kLargest, kLargest, &left) &&
        Number(PanelKey(p, "top"), -kLargest, kLargest, &top)) {
        // A screen unplugged since: the window system places it instead.
        const QPoint grip(left + 40, top + 20);
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->availableGeometry().contains(grip)) {
                w->move(left, top);
                break;
            }
        }
    }
    return UIE_OK;
}
