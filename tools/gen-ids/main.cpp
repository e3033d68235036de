// corvel-gen-ids: writes the header of panel and control identities from
// the panel definitions, with the panel loader's own reading code.
// Run as: corvel-gen-ids <header> <a.ui> [<b.ui> ...]
// The header is only rewritten when its content changes, so that the files
// including it are not rebuilt for nothing.
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QString>
#include <cstdio>

#include "platform/internal/uiscan.h"

namespace {

bool Complain(const QString& file, const QString& why) {
    std::fprintf(stderr, "corvel-gen-ids: %s: %s\n", qPrintable(file), qPrintable(why));
    return false;
}

// Identifiers only: a name such as "Button-1" would not compile as a constant.
bool IsIdentifier(const QString& s) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(s).hasMatch();
}

bool AppendPanel(const QString& path, QByteArray* out) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return Complain(path, f.errorString());
    uiscan::PanelDeclaration decl;
    QString why;
    if (!uiscan::ScanPanel(f.readAll(), &decl, &why)) return Complain(path, why);
    if (decl.resource < 0) return Complain(path, QStringLiteral("top-level widget has no resource property"));
    if (!IsIdentifier(decl.panelName))
        return Complain(path, QStringLiteral("bad panel name \"%1\"").arg(decl.panelName));
    QString text =
        QStringLiteral("// %1\nconstexpr int %2 = %3;\n").arg(path, decl.panelName).arg(decl.resource);
    int id = 0;
    for (const QString& name : decl.controls) {
        if (!IsIdentifier(name)) return Complain(path, QStringLiteral("bad control name \"%1\"").arg(name));
        text += QStringLiteral("constexpr int %1_%2 = %3;\n")
                    .arg(decl.panelName.toUpper(), name.toUpper())
                    .arg(++id);
    }
    text += QLatin1Char('\n');
    *out += text.toUtf8();
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: corvel-gen-ids <header> <panel.ui>...\n");
        return 2;
    }
    QByteArray header =
        "// Generated from the panel definitions by corvel-gen-ids; do not edit.\n#pragma once\n\n";
    for (int i = 2; i < argc; ++i) {
        if (!AppendPanel(QString::fromLocal8Bit(argv[i]), &header)) return 1;
    }
    const QString outPath = QString::fromLocal8Bit(argv[1]);
    QFile old(outPath);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == header) return 0;
    old.close();
    // Written aside and renamed, so that a failed run never leaves half a header.
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(header) != header.size() || !out.commit()) {
        Complain(outPath, out.errorString());
        return 1;
    }
    return 0;
}
