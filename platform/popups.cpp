// Modal popups. With the test seam installed they are answered from its
// script and never shown. Each opens centred over the panel it belongs to.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/internal/seamhook.h"
#include "platform/internal/uicore.h"
#include "platform/ui.h"

namespace {

// Longest path FileSelectPopup hands back, without the terminator.
constexpr int kMaxPath = kPathSize - 1;

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

// "Record files (*.dat)": the name and the patterns apart; plain patterns
// get the name "Files".
void SplitFilter(const QString& list, QString* name, QString* patterns) {
    static const QRegularExpression named(QStringLiteral("^\\s*([^()]*\\S)\\s*\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = named.match(list);
    *name = m.hasMatch() ? m.captured(1) : QStringLiteral("Files");
    *patterns = m.hasMatch() ? m.captured(2) : list;
}

std::vector<std::string> g_recent;  // for the next popup only

// Wide and tall enough for whole names, sizes and dates, within the screen.
void GiveRoom(QFileDialog* dlg) {
    const QFontMetrics fm = dlg->fontMetrics();
    QSize want(fm.horizontalAdvance(QLatin1Char('x')) * 120, fm.height() * 34);
    if (QScreen* screen = dlg->screen() ? dlg->screen() : QGuiApplication::primaryScreen())
        want = want.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dlg->resize(want.expandedTo(dlg->minimumSizeHint()));
    dlg->setViewMode(QFileDialog::Detail);
    if (auto* tree = dlg->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* h = tree->header();
        h->setStretchLastSection(false);
        h->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < h->count(); ++c) h->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

// A list of the recent files below the folder view.
void OfferRecent(QFileDialog* dlg, const std::vector<std::string>& recent) {
    auto* grid = qobject_cast<QGridLayout*>(dlg->layout());
    if (recent.empty() || !grid) return;
    auto* list = new QListWidget(dlg);
    list->setObjectName(QStringLiteral("recentFiles"));
    for (const std::string& r : recent) {
        const QFileInfo f(Text(r.c_str()));
        auto* item =
            new QListWidgetItem(QStringLiteral("%1    %2").arg(f.fileName(), f.absolutePath()), list);
        item->setData(Qt::UserRole, f.absoluteFilePath());
        item->setToolTip(f.absoluteFilePath());
    }
    list->setMaximumHeight(list->sizeHintForRow(0) * std::min<int>(5, list->count()) +
                           2 * list->frameWidth() + 4);
    auto* caption = new QLabel(QStringLiteral("Recent files:"), dlg);
    caption->setBuddy(list);
    list->setAccessibleName(QStringLiteral("Recent files"));
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0, Qt::AlignTop);
    grid->addWidget(list, row, 1, 1, grid->columnCount() - 1);
    auto choose = [dlg](QListWidgetItem* item) {
        const QFileInfo f(item->data(Qt::UserRole).toString());
        dlg->setDirectory(f.absolutePath());
        dlg->selectFile(f.fileName());
    };
    QObject::connect(list, &QListWidget::itemClicked, dlg, choose);
    QObject::connect(list, &QListWidget::itemActivated, dlg, [dlg, choose](QListWidgetItem* item) {
        choose(item);
        QMetaObject::invokeMethod(dlg, "accept");  // as its Open button does
    });
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
    std::vector<std::string> recent;
    recent.swap(g_recent);
    p.recent = recent;
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
    QString filterName, patternText;
    SplitFilter(Text(fileTypeList), &filterName, &patternText);
    QStringList patterns = Patterns(patternText);
    QStringList filters;
    if (!patterns.isEmpty())
        filters << QStringLiteral("%1 (%2)").arg(filterName, patterns.join(QLatin1Char(' ')));
    if (!restrictExtension || patterns.isEmpty()) filters << QStringLiteral("All files (*)");
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(filters.first());
    GiveRoom(&dlg);
    OfferRecent(&dlg, recent);
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

int SetFileSelectRecent(const char* const* paths, int count) {
    g_recent.clear();
    if (count < 0 || (count > 0 && !paths)) return UIE_BAD_ARGUMENT;
    for (int i = 0; i < count; ++i)
        if (paths[i] && *paths[i]) g_recent.emplace_back(paths[i]);
    return UIE_OK;
}
