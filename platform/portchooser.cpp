// The port chooser: which serial devices this machine has, which COM
// numbers stand for what, and linking a device to a COM number.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <ctime>

#include "platform/internal/portdialog.h"
#include "platform/internal/seamhook.h"
#include "platform/internal/uicore.h"
#include "platform/internal/wheelguard.h"
#include "platform/ui.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromLocal8Bit(s.c_str());
}

QString WhenPlugged(long long t) {
    if (t <= 0) return QString();
    char buf[32];
    time_t tt = static_cast<time_t>(t);
    tm local{};
    localtime_r(&tt, &local);
    strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &local);
    return QString::fromLatin1(buf);
}

QTreeWidget* MakeList(const QString& name, const QStringList& headers) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(true);
    return list;
}

}  // namespace

PortDialog::PortDialog(int current, const char* help, QWidget* parent)
    : QDialog(parent), help_(help ? help : "") {
    setWindowTitle(QStringLiteral("Serial ports"));
    setModal(true);

    auto* intro = new QLabel(
        QStringLiteral("Serial devices of this machine, newest plugged first. Link one to a COM number "
                       "(by its stable by-id name where it has one), or use a COM number at once."));
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);

    deviceList_ =
        MakeList(QStringLiteral("devices"),
                 {QStringLiteral("Maker and model"), QStringLiteral("Device"), QStringLiteral("COM"),
                  QStringLiteral("Plugged"), QStringLiteral("Stable name (linked)")});
    linkList_ = MakeList(QStringLiteral("links"),
                         {QStringLiteral("COM"), QStringLiteral("State"), QStringLiteral("Stands for")});

    auto* devCaption = new QLabel(QStringLiteral("&Devices"));
    devCaption->setBuddy(deviceList_);
    auto* linkCaption =
        new QLabel(QStringLiteral("COM &links (a COM number without a link is /dev/ttyS(n-1))"));
    linkCaption->setBuddy(linkList_);

    com_ = new QSpinBox;
    com_->setObjectName(QStringLiteral("com"));
    com_->setPrefix(QStringLiteral("COM "));
    com_->setRange(1, 255);
    com_->setValue(current >= 1 && current <= 255 ? current : 1);
    auto* comCaption = new QLabel(QStringLiteral("C&OM number"));
    comCaption->setBuddy(com_);

    auto* linkButton = new QPushButton(QStringLiteral("Lin&k device to COM"));
    linkButton->setObjectName(QStringLiteral("link"));
    auto* unlinkButton = new QPushButton(QStringLiteral("&Remove link"));
    unlinkButton->setObjectName(QStringLiteral("unlink"));
    auto* refreshButton = new QPushButton(QStringLiteral("Re&fresh"));
    refreshButton->setObjectName(QStringLiteral("refresh"));
    useButton_ = new QPushButton(QStringLiteral("&Use COM"));
    useButton_->setObjectName(QStringLiteral("use"));
    useButton_->setDefault(true);
    auto* closeButton = new QPushButton(QStringLiteral("&Close"));
    closeButton->setObjectName(QStringLiteral("close"));

    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("message"));
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);

    auto* row = new QGridLayout;
    row->addWidget(comCaption, 0, 0);
    row->addWidget(com_, 0, 1);
    row->addWidget(linkButton, 0, 2);
    row->addWidget(unlinkButton, 0, 3);
    row->addWidget(refreshButton, 0, 4);
    row->setColumnStretch(5, 1);
    row->addWidget(useButton_, 0, 6);
    row->addWidget(closeButton, 0, 7);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(devCaption);
    layout->addWidget(deviceList_, 3);
    layout->addWidget(linkCaption);
    layout->addWidget(linkList_, 2);
    layout->addLayout(row);
    layout->addWidget(message_);
    resize(860, 480);
    uicore::GuardWheel(com_);  // now inside the dialog, whose guard it shares

    connect(linkButton, &QPushButton::clicked, this, [this] { LinkSelected(); });
    connect(unlinkButton, &QPushButton::clicked, this, [this] { UnlinkChosen(); });
    connect(refreshButton, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(useButton_, &QPushButton::clicked, this, [this] { Use(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // Picking a link row picks its COM number, so "Remove link" and "Use"
    // act on what is selected.
    connect(linkList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) com_->setValue(item->data(0, Qt::UserRole).toInt());
    });
    connect(deviceList_, &QTreeWidget::itemDoubleClicked, this, [this] { LinkSelected(); });

    // Every part of the dialog explains it on a right click, like every
    // control of the panels.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    Refresh();
    deviceList_->setFocus();
}

bool PortDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        MessagePopup("INFO!", help_.c_str());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PortDialog::Refresh() {
    devices_ = ScanSerialDevices();
    const std::vector<ComLink> links = ScanComLinks();

    deviceList_->clear();
    for (const SerialDevice& d : devices_) {
        QStringList coms;
        for (const ComLink& l : links)
            if (l.target == d.byId || l.target == d.node) coms << QStringLiteral("COM%1").arg(l.com);
        auto* item = new QTreeWidgetItem(
            {Q(d.label), Q(d.node), coms.join(QStringLiteral(", ")), WhenPlugged(d.plugged), Q(d.byId)});
        deviceList_->addTopLevelItem(item);
    }
    if (deviceList_->topLevelItemCount() > 0) deviceList_->setCurrentItem(deviceList_->topLevelItem(0));

    const int keep = com_->value();
    linkList_->clear();
    for (const ComLink& l : links) {
        auto* item = new QTreeWidgetItem({QStringLiteral("COM%1").arg(l.com),
                                          l.present ? QStringLiteral("present") : QStringLiteral("missing"),
                                          Q(l.target)});
        item->setData(0, Qt::UserRole, l.com);
        linkList_->addTopLevelItem(item);
    }
    com_->setValue(keep);
    for (int c = 0; c + 1 < deviceList_->columnCount(); ++c) deviceList_->resizeColumnToContents(c);
    linkList_->resizeColumnToContents(0);
    linkList_->resizeColumnToContents(1);
    if (devices_.empty()) Say("No serial device found. Plug in the adapter and press Refresh.");
}

void PortDialog::Say(const std::string& text) {
    message_->setText(Q(text));
}

void PortDialog::LinkSelected() {
    const int row = deviceList_->indexOfTopLevelItem(deviceList_->currentItem());
    if (row < 0 || row >= static_cast<int>(devices_.size())) {
        Say("Choose a device first.");
        return;
    }
    const std::string target = devices_[row].LinkTarget();
    std::string why;
    const int com = com_->value();
    if (LinkComPort(com, target, &why) == 0) {
        Refresh();
        Say("COM" + std::to_string(com) + " now stands for " + target + ".");
    } else {
        Say("Cannot link COM" + std::to_string(com) + ": " + why);
    }
}

void PortDialog::UnlinkChosen() {
    const int com = com_->value();
    std::string why;
    if (UnlinkComPort(com, &why) == 0) {
        Refresh();
        Say("COM" + std::to_string(com) + " has no link now; it stands for /dev/ttyS" +
            std::to_string(com - 1) + ".");
    } else {
        Say("Cannot remove the link of COM" + std::to_string(com) + ": " + why);
    }
}

void PortDialog::Use() {
    chosen_ = com_->value();
    accept();
}

int PortChooserPopup(int current, const char* help) {
    seam::Popup p;
    p.kind = seam::Kind::Ports;
    p.title = "Serial ports";
    p.text = std::to_string(current);
    int value = 0;
    if (seam::hook::Answer(p, &value, nullptr)) return value;
    // Owned by the panel it opens over, like every popup.
    PortDialog dialog(current, help, uicore::PopupOwner());
    dialog.exec();
    return dialog.Chosen();
}
