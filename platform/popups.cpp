// Modal popups. With the test seam installed they are answered from its
// script and never shown. Each opens centred over the panel it belongs to.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <cstring>

#include "platform/internal/seamhook.h"
#include "platform/internal/uicore.h"
#include "platform/ui.h"

namespace {

// Longest path FileSelectPopup hands back, without the terminator.
constexpr int kMaxPath = 259;

QString Text(const char* s) {
    return s ? QString::fromLocal8Bit(s) : QString();
}

seam::Popup Describe(seam::Kind kind, const char* title, const char* text) {
    seam::Popup p;
    p.kind = kind;
    p.title = title ? title : "";
    p.text = text ? text : "";
    return p;
}

QStringList Patterns(const QString& list) {
    QStringList out;
    for (const QString& s : list.split(QRegularExpression(QStringLiteral("[;, ]")), Qt::SkipEmptyParts)) {
        out << s.trimmed();
    }
    return out;
}

// "*.dat" gives "dat"; patterns with more wildcards give nothing.
QString Extension(const QStringList& patterns) {
    if (patterns.isEmpty()) return QString();
    const QString& p = patterns.first();
    if (!p.startsWith(QLatin1String("*.")) || p.size() < 3) return QString();
    QString ext = p.mid(2);
    return ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) ? QString() : ext;
}

// A path that does not fit would name another file: refuse it instead.
int Deliver(int result, const std::string& path, char* pathName) {
    pathName[0] = '\0';
    if (result <= 0) return 0;
    if (path.empty() || static_cast<int>(path.size()) > kMaxPath) return UIE_BAD_ARGUMENT;
    std::memcpy(pathName, path.c_str(), path.size() + 1);
    return result;
}

}  // namespace

int MessagePopup(const char* title, const char* message) {
    int value = 0;
    if (seam::hook::Answer(Describe(seam::Kind::Message, title, message), &value, nullptr)) return 0;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIE_NOT_INITIALISED;
    QMessageBox box(QMessageBox::NoIcon, Text(title), Text(message), QMessageBox::Ok, uicore::PopupOwner());
    box.setTextFormat(Qt::PlainText);  // sensor texts are shown as they are
    box.exec();
    return 0;
}

int ConfirmPopup(const char* title, const char* message) {
    int value = 0;
    if (seam::hook::Answer(Describe(seam::Kind::Confirm, title, message), &value, nullptr))
        return value ? 1 : 0;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIE_NOT_INITIALISED;
    QMessageBox box(QMessageBox::Question, Text(title), Text(message), QMessageBox::Yes | QMessageBox::No,
                    uicore::PopupOwner());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? 1 : 0;
}

int FileSelectPopup(const char* defaultDirectory, const char* defaultFileName, const char* fileTypeList,
                    const char* title, int buttonLabel, int, int restrictExtension, int,
                    int allowMakeDirectory, char* pathName) {
    if (!pathName) return UIE_BAD_ARGUMENT;
    seam::Popup p = Describe(seam::Kind::FileSelect, title, defaultFileName);
    p.directory = defaultDirectory ? defaultDirectory : "";
    p.filter = fileTypeList ? fileTypeList : "";
    int value = 0;
    std::string path;
    if (seam::hook::Answer(p, &value, &path)) return Deliver(value, path, pathName);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIE_NOT_INITIALISED;

    QFileDialog dlg(uicore::PopupOwner(), Text(title), Text(defaultDirectory));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setOption(QFileDialog::ReadOnly, !allowMakeDirectory);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(buttonLabel == VAL_SAVE_BUTTON ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (buttonLabel == VAL_SAVE_BUTTON) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    static const char* const kLabels[] = {"OK", "Save", "Select", "Load"};
    if (buttonLabel >= 0 && buttonLabel <= 3)
        dlg.setLabelText(QFileDialog::Accept, QLatin1String(kLabels[buttonLabel]));
    QStringList patterns = Patterns(Text(fileTypeList));
    QStringList filters;
    if (!patterns.isEmpty()) filters << QStringLiteral("Files (%1)").arg(patterns.join(QLatin1Char(' ')));
    if (!restrictExtension || patterns.isEmpty()) filters << QStringLiteral("All files (*)");
    dlg.setNameFilters(filters);
    if (defaultFileName && *defaultFileName) dlg.selectFile(Text(defaultFileName));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return Deliver(0, path, pathName);

    QString chosen = dlg.selectedFiles().first();
    QString ext = Extension(patterns);
    if (restrictExtension && !ext.isEmpty() &&
        QFileInfo(chosen).suffix().compare(ext, Qt::CaseInsensitive) != 0) {
        chosen += QLatin1Char('.') + ext;
    }
    chosen = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    QFileInfo info(chosen);
    int result = info.exists() && info.isFile() ? 1 : 2;
    return Deliver(result, chosen.toLocal8Bit().toStdString(), pathName);
}
