// The port chooser over a fake /dev and sysfs tree: what it lists, in which
// order, and the COM links it writes and removes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <ctime>
#include <fstream>
#include <map>
#include <string>

#include "link/portinfo.h"
#include "platform/internal/portdialog.h"
#include "platform/ports.h"
#include "platform/serial.h"
#include "platform/testing.h"
#include "support/sandbox.h"

namespace {

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        root = testsupport::MakeTempFolder("corvel-ports");
        ASSERT_FALSE(root.empty());
        dev = root + "/dev";
        xdg.Set(root + "/config");
        links = testsupport::LinkFolder(root + "/config");

        for (const char* node : {"ttyUSB0", "ttyUSB1", "ttyACM0", "ttyS0", "ttyS1", "tty0"})
            Write(dev + "/" + node, "");
        // Two USB adapters with maker and model; ttyUSB1 was plugged last.
        Adapter("ttyUSB0", "1-1", "FTDI", "FT232R USB UART", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                100);
        Adapter("ttyUSB1", "1-2", "Prolific Technology Inc.", "USB-Serial Controller",
                "usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0", 200);
        Driver("ttyUSB0", "ftdi_sio", "16\n");
        Driver("ttyUSB1", "pl2303", "");
        Driver("ttyACM0", "cdc_acm", "");
        Write(root + "/sys/class/tty/ttyS0/type", "4\n");  // a 16550A answered
        Write(root + "/sys/class/tty/ttyS1/type", "0\n");  // nothing behind it
        SetPortScanFolders(dev.c_str(), (root + "/sys").c_str());
    }
    void TearDown() override {
        SetPortScanFolders(nullptr, nullptr);
        pty.Close();
        ASSERT_TRUE(testsupport::RemoveTree(root));
        seam::Install();
    }
    void Write(const std::string& path, const std::string& text) {
        ASSERT_EQ(system(("mkdir -p '" + path.substr(0, path.rfind('/')) + "'").c_str()), 0);
        std::ofstream(path) << text;
    }
    // sysfs as the kernel shows a USB adapter, and the by-id name udev makes
    // `age` seconds from now.
    void Adapter(const std::string& tty, const std::string& usb, const std::string& maker,
                 const std::string& model, const std::string& id, int age) {
        const std::string usbDir = root + "/sys/devices/usb1/" + usb;
        Write(usbDir + "/manufacturer", maker + "\n");
        Write(usbDir + "/product", model + "\n");
        Write(usbDir + "/" + usb + ":1.0/" + tty + "/uevent", "");
        Write(root + "/sys/class/tty/" + tty + "/dev", "188:0\n");
        ASSERT_EQ(symlink((usbDir + "/" + usb + ":1.0/" + tty).c_str(),
                          (root + "/sys/class/tty/" + tty + "/device").c_str()),
                  0);
        const std::string byId = dev + "/serial/by-id/" + id;
        Write(dev + "/serial/by-id/.keep", "");
        ASSERT_EQ(symlink(("../../" + tty).c_str(), byId.c_str()), 0);
        timespec t[2] = {{time(nullptr) + age, 0}, {time(nullptr) + age, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, byId.c_str(), t, AT_SYMLINK_NOFOLLOW), 0);
    }
    // The driver link of the tty's device and, for usb-serial drivers that
    // keep one, the latency timer where the kernel shows it.
    void Driver(const std::string& tty, const std::string& driver, const std::string& latency) {
        const std::string drivers = root + "/sys/bus/usb-serial/drivers/" + driver;
        Write(drivers + "/.keep", "");
        const std::string device = root + "/sys/class/tty/" + tty + "/device";
        if (access(device.c_str(), F_OK) != 0) {
            ASSERT_EQ(system(("mkdir -p '" + device + "'").c_str()), 0);
        }
        unlink((device + "/driver").c_str());
        ASSERT_EQ(symlink(drivers.c_str(), (device + "/driver").c_str()), 0);
        if (!latency.empty()) Write(root + "/sys/bus/usb-serial/devices/" + tty + "/latency_timer", latency);
    }
    std::string ById(const std::string& name) const { return dev + "/serial/by-id/" + name; }
    std::string Target(int com) const {
        char buf[512] = "";
        ssize_t n = readlink((links + "/com" + std::to_string(com)).c_str(), buf, sizeof buf - 1);
        return n > 0 ? std::string(buf, n) : std::string();
    }
    // A pseudo-terminal published as COM9, as the virtual sensor does.
    std::string PublishPty() {
        EXPECT_TRUE(pty.Open());
        std::string name = pty.slaveName();
        std::string why;
        EXPECT_EQ(LinkComPort(9, name, &why), 0) << why;
        return name;
    }

    std::string root, dev, links;
    testsupport::ScopedEnv xdg{"XDG_CONFIG_HOME"};
    testsupport::Pty pty;
};

TEST_F(Chooser, ListsAdaptersWithMakerAndModelNewestFirstAndOnlyRealUarts) {
    const std::string pty = PublishPty();
    const std::vector<SerialDevice> list = ScanSerialDevices();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].node, dev + "/ttyUSB1");
    EXPECT_EQ(list[0].label, "Prolific Technology Inc. USB-Serial Controller");
    EXPECT_EQ(list[0].LinkTarget(), ById("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"));
    EXPECT_EQ(list[1].node, dev + "/ttyUSB0");
    EXPECT_EQ(list[1].label, "FTDI FT232R USB UART");
    EXPECT_EQ(list[1].byId, ById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    std::vector<std::string> rest;
    for (size_t i = 2; i < list.size(); ++i) rest.push_back(list[i].node);
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, (std::vector<std::string>{pty, dev + "/ttyACM0", dev + "/ttyS0"}));
    for (const SerialDevice& d : list) {
        EXPECT_EQ(d.pseudo, d.node == pty) << d.node;
        if (d.node != pty && d.node.find("USB") == std::string::npos) {
            EXPECT_TRUE(d.byId.empty());
            EXPECT_EQ(d.LinkTarget(), d.node);
        }
    }
}

TEST_F(Chooser, WritesReplacesAndRemovesLinksButLeavesOtherFilesAlone) {
    std::string why;
    ASSERT_EQ(LinkComPort(3, ById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"), &why), 0) << why;
    EXPECT_EQ(Target(3), ById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    ASSERT_EQ(LinkComPort(3, dev + "/ttyACM0", &why), 0) << why;  // replaced in place
    EXPECT_EQ(Target(3), dev + "/ttyACM0");
    ASSERT_EQ(LinkComPort(4, dev + "/unplugged", &why), 0);
    char device[512];
    ASSERT_EQ(ComPortDevice(3, device, sizeof device), 0);  // the program follows the link
    EXPECT_EQ(std::string(device), dev + "/ttyACM0");

    std::vector<ComLink> l = ScanComLinks();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].com, 3);
    EXPECT_TRUE(l[0].present);
    EXPECT_EQ(l[1].com, 4);
    EXPECT_FALSE(l[1].present);

    EXPECT_EQ(UnlinkComPort(3, &why), 0);
    EXPECT_EQ(Target(3), "");
    EXPECT_EQ(UnlinkComPort(3, &why), 0);  // already gone: fine
    Write(links + "/com5", "not a link");
    EXPECT_EQ(UnlinkComPort(5, &why), -1);
    EXPECT_NE(why.find("not a link"), std::string::npos);
    EXPECT_EQ(LinkComPort(5, dev + "/ttyUSB0", &why), -1);
    EXPECT_EQ(LinkComPort(0, dev + "/ttyUSB0", &why), -1);
}

TEST_F(Chooser, DialogLinksUnlinksUsesByKeyboardAndExplainsOnRightClick) {
    PublishPty();
    PortDialog d(2, " chooser help");
    d.show();
    auto* devices = d.findChild<QTreeWidget*>("devices");
    auto* linkList = d.findChild<QTreeWidget*>("links");
    auto* com = d.findChild<QSpinBox*>("com");
    ASSERT_TRUE(devices && linkList && com);
    ASSERT_EQ(devices->topLevelItemCount(), 5);
    EXPECT_EQ(devices->topLevelItem(0)->text(0), "Prolific Technology Inc. USB-Serial Controller");
    EXPECT_EQ(devices->topLevelItem(0)->text(1).toStdString(), dev + "/ttyUSB1");
    EXPECT_TRUE(devices->topLevelItem(0)->text(4).contains("by-id/usb-Prolific"));
    EXPECT_EQ(com->value(), 2);
    ASSERT_EQ(linkList->topLevelItemCount(), 1);  // COM9, the pseudo-terminal
    EXPECT_EQ(linkList->topLevelItem(0)->text(0), "COM9");

    // The newest adapter is selected; link it as COM2 by its stable name.
    d.findChild<QPushButton*>("link")->click();
    EXPECT_EQ(Target(2), ById("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"));
    ASSERT_EQ(linkList->topLevelItemCount(), 2);
    EXPECT_EQ(devices->topLevelItem(0)->text(2), "COM2");

    const std::string png = std::string(CORVEL_SCREENSHOT_DIR) + "/port_chooser.png";
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    EXPECT_TRUE(d.grab().save(QString::fromStdString(png)));

    // Choosing the COM9 row picks COM9; removing its link.
    linkList->setCurrentItem(linkList->topLevelItem(1));
    EXPECT_EQ(com->value(), 9);
    d.findChild<QPushButton*>("unlink")->click();
    EXPECT_EQ(Target(9), "");
    EXPECT_EQ(linkList->topLevelItemCount(), 1);

    seam::Clear();
    seam::ExpectMessage();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                           devices->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(devices->viewport(), &menu);
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].title, "INFO!");
    EXPECT_EQ(seam::Shown()[0].text, " chooser help");

    // A wheel over the COM field before it has the focus leaves it alone.
    devices->setFocus();
    QWheelEvent up(QPointF(5, 5), com->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 240), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(com, &up);
    EXPECT_EQ(com->value(), 9);

    // By keyboard: a COM number, then Enter uses it.
    com->setFocus();
    com->selectAll();
    QTest::keyClicks(com, "12");
    QTest::keyClick(com, Qt::Key_Return);
    EXPECT_EQ(d.Chosen(), 12);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(Chooser, ShowsDriverAndLatencyTimerAndMarksTheComInUse) {
    const std::vector<SerialDevice> list = ScanSerialDevices();
    std::map<std::string, std::pair<std::string, int>> seen;
    for (const SerialDevice& d : list) seen[d.node.substr(dev.size() + 1)] = {d.driver, d.latencyMs};
    EXPECT_EQ(seen["ttyUSB0"], std::make_pair(std::string("ftdi_sio"), 16));
    EXPECT_EQ(seen["ttyUSB1"], std::make_pair(std::string("pl2303"), -1));  // no timer of its own
    EXPECT_EQ(seen["ttyACM0"], std::make_pair(std::string("cdc_acm"), -1));
    EXPECT_EQ(seen["ttyS0"], std::make_pair(std::string(), -1));
    // By its stable name too, and garbage in the timer file is no timer.
    EXPECT_EQ(ReadUsbSerial(ById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")).driver, "ftdi_sio");
    Write(root + "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer", "fast\n");
    EXPECT_EQ(ReadUsbSerial(dev + "/ttyUSB0").latencyMs, -1);
    Write(root + "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer", "16\n");

    std::string why;
    ASSERT_EQ(LinkComPort(3, ById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"), &why), 0) << why;
    PortDialog d(3, "");
    auto* devices = d.findChild<QTreeWidget*>("devices");
    auto* linkList = d.findChild<QTreeWidget*>("links");
    ASSERT_TRUE(devices && linkList);
    QTreeWidgetItem* ftdi = devices->topLevelItem(1);
    EXPECT_EQ(ftdi->text(1).toStdString(), dev + "/ttyUSB0");
    EXPECT_EQ(ftdi->text(5), "ftdi_sio");
    EXPECT_EQ(ftdi->text(6), "16 ms (slow)");
    EXPECT_EQ(devices->topLevelItem(0)->text(5), "pl2303");
    EXPECT_EQ(devices->topLevelItem(0)->text(6), "");
    // COM3, in use now, is marked in both lists and named above them.
    EXPECT_TRUE(ftdi->font(0).bold());
    EXPECT_FALSE(ftdi->icon(2).isNull());
    EXPECT_TRUE(devices->topLevelItem(0)->icon(2).isNull());
    EXPECT_FALSE(devices->topLevelItem(0)->font(0).bold());
    ASSERT_EQ(linkList->topLevelItemCount(), 1);
    EXPECT_EQ(linkList->topLevelItem(0)->text(1), "present, in use now");
    EXPECT_EQ(d.findChild<QLabel*>("inuse")->text().toStdString(),
              "IN USE NOW: COM3 = " + ById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    // Without a link, COM1 is ttyS0: that row is the one marked.
    PortDialog other(1, "");
    auto* otherDevices = other.findChild<QTreeWidget*>("devices");
    for (int i = 0; i < otherDevices->topLevelItemCount(); ++i)
        EXPECT_EQ(!otherDevices->topLevelItem(i)->icon(2).isNull(),
                  otherDevices->topLevelItem(i)->text(1).endsWith("/ttyS0"))
            << i;
}

TEST_F(Chooser, OpenPortWithASlowLatencyTimerSaysSoBesideTheStatus) {
    // An adapter named ttyUSB2 whose node leads to a pseudo-terminal, so
    // that the open really happens.
    const std::string pty = PublishPty();
    ASSERT_EQ(symlink(pty.c_str(), (dev + "/ttyUSB2").c_str()), 0);
    Driver("ttyUSB2", "ftdi_sio", "16\n");
    std::string why;
    ASSERT_EQ(LinkComPort(9, dev + "/ttyUSB2", &why), 0) << why;
    ASSERT_EQ(OpenComConfig(9, "", 19200, 0, 8, 1, 1024, 1024), 0);
    char text[768];
    corvel::PortDetailText(9, text, sizeof text);
    EXPECT_EQ(std::string(text), "COM9 = " + dev +
                                     "/ttyUSB2 (ftdi_sio): latency timer 16 ms, live data ~22 instead of ~27 "
                                     "frames/s; see README: USB adapters");
    // Set to 1 ms (the udev rule): the driver is named, no warning.
    Write(root + "/sys/bus/usb-serial/devices/ttyUSB2/latency_timer", "1\n");
    ASSERT_EQ(OpenComConfig(9, "", 19200, 0, 8, 1, 1024, 1024), 0);
    corvel::PortDetailText(9, text, sizeof text);
    EXPECT_EQ(std::string(text), "COM9 = " + dev + "/ttyUSB2 (ftdi_sio)");
    CloseCom(9);
    // Closed, and a device without a driver (the bare pseudo-terminal): as before.
    corvel::PortDetailText(9, text, sizeof text);
    EXPECT_EQ(std::string(text), "");
    ASSERT_EQ(LinkComPort(9, pty, &why), 0) << why;
    ASSERT_EQ(OpenComConfig(9, "", 19200, 0, 8, 1, 1024, 1024), 0);
    corvel::PortDetailText(9, text, sizeof text);
    EXPECT_EQ(std::string(text), "COM9 = " + pty);
    CloseCom(9);
}

}  // namespace
