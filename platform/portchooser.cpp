// The port chooser: which serial devices this machine has, which COM
// numbers stand for what, and linking a device to a COM number.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
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

// The look of the panels: small bold upper-case captions, bold buttons of
// the panels' height, and their blue header band with a white title.
QFont Bold(int points) {
    QFont f;
    f.setPointSize(points);
    f.setBold(true);
    return f;
}

QLabel* Caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setFont(Bold(8));
    label->setBuddy(buddy);
    return label;
}

QPushButton* Button(const QString& text, const QString& name) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setFont(Bold(9));
    b->setMinimumHeight(34);
    b->setMinimumWidth(110);
    return b;
}

QWidget* Header(const QString& title) {
    auto* band = new QFrame;
    band->setObjectName(QStringLiteral("header"));
    band->setFrameShape(QFrame::StyledPanel);
    band->setFrameShadow(QFrame::Sunken);
    band->setAutoFillBackground(true);
    band->setFixedHeight(44);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, QColor(0, 102, 204));
    pal.setColor(QPalette::WindowText, Qt::white);
    band->setPalette(pal);
    auto* text = new QLabel(title);
    text->setFont(Bold(16));
    text->setPalette(pal);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(16, 0, 16, 0);
    row->addWidget(text);
    return band;
}

QString Latency(int ms) {
    if (ms < 0) return QString();
    return ms > 1 ? QStringLiteral("%1 ms (slow)").arg(ms) : QStringLiteral("%1 ms").arg(ms);
}

}  // namespace

PortDialog::PortDialog(int current, const char* help, QWidget* parent)
    : QDialog(parent), help_(help ? help : ""), current_(current) {
    setWindowTitle(QStringLiteral("Serial ports"));
    setModal(true);

    auto* intro = new QLabel(
        QStringLiteral("Serial devices of this machine, newest plugged first. Link one to a COM number "
                       "(by its stable by-id name where it has one), or use a COM number at once."));
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);
    inUse_ = new QLabel;
    inUse_->setObjectName(QStringLiteral("inuse"));
    inUse_->setTextFormat(Qt::PlainText);
    inUse_->setFont(Bold(9));
    inUse_->setWordWrap(true);

    deviceList_ =
        MakeList(QStringLiteral("devices"),
                 {QStringLiteral("Maker and model"), QStringLiteral("Device"), QStringLiteral("COM"),
                  QStringLiteral("Plugged"), QStringLiteral("Stable name (linked)"), QStringLiteral("Driver"),
                  QStringLiteral("Latency timer")});
    linkList_ = MakeList(QStringLiteral("links"),
                         {QStringLiteral("COM"), QStringLiteral("State"), QStringLiteral("Stands for")});

    auto* devCaption = Caption(QStringLiteral("&DEVICES"), deviceList_);
    auto* linkCaption =
        Caption(QStringLiteral("COM &LINKS (A COM NUMBER WITHOUT A LINK IS /dev/ttyS(n-1))"), linkList_);

    com_ = new QSpinBox;
    com_->setObjectName(QStringLiteral("com"));
    com_->setPrefix(QStringLiteral("COM "));
    com_->setRange(1, 255);
    com_->setValue(current >= 1 && current <= 255 ? current : 1);
    com_->setMinimumHeight(34);
    com_->setFont(Bold(10));
    auto* comCaption = Caption(QStringLiteral("C&OM NUMBER"), com_);

    auto* linkButton = Button(QStringLiteral("LIN&K DEVICE TO COM"), QStringLiteral("link"));
    auto* unlinkButton = Button(QStringLiteral("&REMOVE LINK"), QStringLiteral("unlink"));
    auto* refreshButton = Button(QStringLiteral("RE&FRESH"), QStringLiteral("refresh"));
    useButton_ = Button(QStringLiteral("&USE COM"), QStringLiteral("use"));
    useButton_->setDefault(true);
    auto* closeButton = Button(QStringLiteral("&CLOSE"), QStringLiteral("close"));

    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("message"));
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);

    auto* row = new QGridLayout;
    row->setHorizontalSpacing(10);
    row->addWidget(comCaption, 0, 0);
    row->addWidget(com_, 0, 1);
    row->addWidget(linkButton, 0, 2);
    row->addWidget(unlinkButton, 0, 3);
    row->addWidget(refreshButton, 0, 4);
    row->setColumnStretch(5, 1);
    row->addWidget(useButton_, 0, 6);
    row->addWidget(closeButton, 0, 7);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 10, 16, 16);
    body->setSpacing(8);
    body->addWidget(intro);
    body->addWidget(inUse_);
    body->addWidget(devCaption);
    body->addWidget(deviceList_, 3);
    body->addWidget(linkCaption);
    body->addWidget(linkList_, 2);
    body->addLayout(row);
    body->addWidget(message_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Header(QStringLiteral("SERIAL PORTS")));
    layout->addLayout(body);
    resize(960, 524);
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
    const QString inUse = QStringLiteral("COM%1").arg(current_);
    // The COM in use is marked by a sign, bold type and words, not by a colour.
    const QIcon mark = style()->standardIcon(QStyle::SP_ArrowRight);
    const QString markTip = QStringLiteral("%1 is in use now").arg(inUse);
    QFont bold = deviceList_->font();
    bold.setBold(true);
    auto markRow = [&](QTreeWidgetItem* item, int column) {
        item->setIcon(column, mark);
        item->setToolTip(column, markTip);
        for (int c = 0; c < item->columnCount(); ++c) item->setFont(c, bold);
    };

    // The device COM n stands for now: its link's target, or ttyS(n-1).
    const std::string uart = "ttyS" + std::to_string(current_ - 1);
    std::string usedTarget = "/dev/" + uart;
    bool linked = false;
    for (const ComLink& l : links)
        if (l.com == current_) {
            usedTarget = l.target;
            linked = true;
        }

    deviceList_->clear();
    for (const SerialDevice& d : devices_) {
        QStringList coms;
        bool used = false;
        for (const ComLink& l : links)
            if (l.target == d.byId || l.target == d.node) {
                coms << QStringLiteral("COM%1").arg(l.com);
                used = used || l.com == current_;
            }
        const size_t slash = d.node.rfind('/');
        used = used || (!linked && !d.pseudo && d.node.compare(slash + 1, std::string::npos, uart) == 0);
        auto* item =
            new QTreeWidgetItem({Q(d.label), Q(d.node), coms.join(QStringLiteral(", ")),
                                 WhenPlugged(d.plugged), Q(d.byId), Q(d.driver), Latency(d.latencyMs)});
        item->setToolTip(4, Q(d.byId));
        if (used) markRow(item, 2);
        if (d.latencyMs > 1)
            item->setToolTip(6, QStringLiteral("The adapter holds short replies back for up to %1 ms, which "
                                               "slows live data; the README (USB adapters) says how to set "
                                               "it to 1 ms for good.")
                                    .arg(d.latencyMs));
        deviceList_->addTopLevelItem(item);
    }
    if (deviceList_->topLevelItemCount() > 0) deviceList_->setCurrentItem(deviceList_->topLevelItem(0));

    const int keep = com_->value();
    linkList_->clear();
    for (const ComLink& l : links) {
        QString state = l.present ? QStringLiteral("present") : QStringLiteral("missing");
        if (l.com == current_) state += QStringLiteral(", in use now");
        auto* item = new QTreeWidgetItem({QStringLiteral("COM%1").arg(l.com), state, Q(l.target)});
        item->setData(0, Qt::UserRole, l.com);
        if (l.com == current_) markRow(item, 0);
        linkList_->addTopLevelItem(item);
    }
    com_->setValue(keep);
    inUse_->setText(QStringLiteral("IN USE NOW: %1 = %2").arg(inUse, Q(usedTarget)));
    // The long stable name is cut short (its tooltip holds it whole), so
    // that driver and timer stay in sight.
    for (int c = 0; c + 1 < deviceList_->columnCount(); ++c) deviceList_->resizeColumnToContents(c);
    if (deviceList_->columnWidth(4) > 240) deviceList_->setColumnWidth(4, 240);
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
