// Where the program's own files are found and where the operator's files go.
#include "platform/locations.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace {

// The panel file beside the program marks the build layout.
const char kPanelFileName[] = "CorvelV20.uir";
const char kShareFolder[] = "../share/corvel-scope";
const char kDocumentsFolder[] = "CORVEL-Scope";

bool Copy(const QString& from, char* to, int size) {
    const QByteArray bytes = from.toLocal8Bit();
    if (bytes.size() + 1 > size) return false;
    std::memcpy(to, bytes.constData(), bytes.size() + 1);
    return true;
}

QString Documents() {
    const char* xdg = std::getenv("XDG_DOCUMENTS_DIR");
    if (xdg && xdg[0] == '/') return QString::fromLocal8Bit(xdg);
    // Reads ~/.config/user-dirs.dirs, falling back to ~/Documents.
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty()) return docs;
    return QDir::home().filePath(QStringLiteral("Documents"));
}

}  // namespace

int FindInstalledFileIn(const char* programDir, const char* name, char* path, int size) {
    if (!programDir || !name || !*name || !path || size <= 0) return -1;
    const QDir program(QString::fromLocal8Bit(programDir));
    const QString file = QString::fromLocal8Bit(name);
    const QString beside = QDir::cleanPath(program.filePath(file));
    const QString shared = QDir::cleanPath(program.filePath(QLatin1String(kShareFolder) + '/' + file));
    for (const QString& candidate : {beside, shared}) {
        if (QFileInfo(candidate).isFile()) return Copy(candidate, path, size) ? 0 : -1;
    }
    Copy(beside, path, size);
    return -1;
}

int FindInstalledFile(const char* name, char* path, int size) {
    char dir[kPathSize];
    if (GetProjectDir(dir) != 0) return -1;
    return FindInstalledFileIn(dir, name, path, size);
}

int ChooseUserFileDir(const char* programDir, bool buildLayout, bool writable, const char* documents,
                      char* dir) {
    if (!dir) return -1;
    if (programDir && buildLayout && writable)
        return Copy(QString::fromLocal8Bit(programDir), dir, kPathSize) ? 0 : -1;
    if (!documents || !*documents) return -1;
    const QString folder = QDir(QString::fromLocal8Bit(documents)).filePath(QLatin1String(kDocumentsFolder));
    if (!QDir().mkpath(folder)) return -1;
    return Copy(QDir::cleanPath(folder), dir, kPathSize) ? 0 : -1;
}

int GetUserFileDir(char* dir) {
    char program[kPathSize];
    if (!dir || GetProjectDir(program) != 0) return -1;
    char panelFile[600];
    const bool buildLayout = std::snprintf(panelFile, sizeof panelFile, "%s/%s", program, kPanelFileName) <
                                 static_cast<int>(sizeof panelFile) &&
                             QFileInfo(QString::fromLocal8Bit(panelFile)).isFile();
    const bool writable = access(program, W_OK) == 0;
    return ChooseUserFileDir(program, buildLayout, writable, Documents().toLocal8Bit().constData(), dir);
}

bool ResolveInFolder(const char* dir, char* name, int size) {
    if (!name || !*name || name[0] == '/' || !dir || !*dir) return true;
    char joined[1024];
    const int n = std::snprintf(joined, sizeof joined, "%s/%s", dir, name);
    if (n < 0 || n + 1 > size || n + 1 > static_cast<int>(sizeof joined)) return false;
    std::memcpy(name, joined, n + 1);
    return true;
}
