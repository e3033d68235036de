// Finds the serial devices of this machine and reads and writes the comN
// links, from /dev, /dev/serial/by-id and sysfs (folders settable for tests).
#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "platform/comlinks.h"
#include "platform/ports.h"
#include "platform/serial.h"
#include "platform/testing.h"

namespace {

std::string devFolder = "/dev";
std::string sysFolder = "/sys";

bool StartsWith(const std::string& s, const char* prefix) {
    return s.compare(0, strlen(prefix), prefix) == 0;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d) return names;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

std::string RealPath(const std::string& path) {
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

std::string FirstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TtyClass(const std::string& name) {
    return sysFolder + "/class/tty/" + name;
}

// A ttyS node only stands for a port when a UART answered at boot: its
// port type is not 0 (unknown), or, without a type, a device stands behind it.
bool UartPresent(const std::string& name) {
    std::string type = FirstLine(TtyClass(name) + "/type");
    if (!type.empty()) return atoi(type.c_str()) != 0;
    struct stat st;
    return stat((TtyClass(name) + "/device").c_str(), &st) == 0;
}

// Maker and model of the USB device the tty belongs to: the nearest folder
// above the tty's device that names them.
std::string UsbLabel(const std::string& name) {
    std::string dir = RealPath(TtyClass(name) + "/device");
    for (int up = 0; up < 6 && dir.size() > 1; ++up) {
        std::string maker = FirstLine(dir + "/manufacturer");
        std::string model = FirstLine(dir + "/product");
        if (!maker.empty() || !model.empty())
            return maker.empty() ? model : model.empty() ? maker : maker + " " + model;
        dir = dir.substr(0, dir.rfind('/'));
    }
    return std::string();
}

std::string Label(const std::string& name) {
    std::string usb = UsbLabel(name);
    if (!usb.empty()) return usb;
    if (StartsWith(name, "ttyS")) return "UART (built-in serial port)";
    if (StartsWith(name, "ttyACM")) return "USB modem-class serial device";
    return "USB serial adapter";
}

long long ChangeTime(const std::string& path, bool link) {
    struct stat st;
    int rc = link ? lstat(path.c_str(), &st) : stat(path.c_str(), &st);
    if (rc != 0) return 0;
    return static_cast<long long>(link ? st.st_mtime : st.st_ctime);
}

// The tty a device path stands for: the last name starting with "tty" on
// the chain of links from the path (comN -> by-id -> ttyUSB0).
std::string TtyName(const std::string& device) {
    std::string path = device, tty;
    for (int hop = 0; hop < 16; ++hop) {
        const std::string base = BaseName(path);
        if (StartsWith(base, "tty")) tty = base;
        char target[PATH_MAX];
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) break;
        target[n] = 0;
        path = target[0] == '/' ? std::string(target) : path.substr(0, path.rfind('/') + 1) + target;
    }
    return tty;
}

int LatencyOf(const std::string& name) {
    for (const std::string& file : {sysFolder + "/bus/usb-serial/devices/" + name + "/latency_timer",
                                    TtyClass(name) + "/device/latency_timer"}) {
        const std::string line = FirstLine(file);
        char* end = nullptr;
        long ms = strtol(line.c_str(), &end, 10);
        if (!line.empty() && end && *end == 0 && ms >= 0 && ms <= 255) return static_cast<int>(ms);
    }
    return -1;
}

SerialDevice* Find(std::vector<SerialDevice>& list, const std::string& node) {
    for (auto& d : list)
        if (d.node == node) return &d;
    return nullptr;
}

std::string LinkFolderPath() {
    char folder[PATH_MAX];
    return ComLinkFolder(folder, sizeof folder) == 0 ? std::string(folder) : std::string();
}

bool ValidCom(int com) {
    return com >= 1 && com <= 255;
}

}  // namespace

UsbSerialInfo ReadUsbSerial(const std::string& device) {
    UsbSerialInfo info;
    const std::string name = TtyName(device);
    if (name.empty() || StartsWith(name, "ttyS")) return info;  // no USB behind a UART
    char target[PATH_MAX];
    ssize_t n = readlink((TtyClass(name) + "/device/driver").c_str(), target, sizeof target - 1);
    if (n > 0) info.driver = BaseName(std::string(target, static_cast<size_t>(n)));
    // Only usb-serial drivers keep a latency timer (ftdi_sio); cdc_acm has none.
    if (StartsWith(name, "ttyUSB")) info.latencyMs = LatencyOf(name);
    return info;
}

void SetPortScanFolders(const char* dev, const char* sys) {
    devFolder = dev && dev[0] ? dev : "/dev";
    sysFolder = sys && sys[0] ? sys : "/sys";
}

std::vector<SerialDevice> ScanSerialDevices() {
    std::vector<SerialDevice> list;
    for (const std::string& name : Entries(devFolder)) {
        bool usb = StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM");
        if (!usb && !(StartsWith(name, "ttyS") && UartPresent(name))) continue;
        SerialDevice d;
        d.node = devFolder + "/" + name;
        d.label = Label(name);
        d.plugged = ChangeTime(d.node, false);
        const UsbSerialInfo sys = ReadUsbSerial(d.node);
        d.driver = sys.driver;
        d.latencyMs = sys.latencyMs;
        list.push_back(d);
    }
    const std::string byId = devFolder + "/serial/by-id";
    for (const std::string& name : Entries(byId)) {
        std::string node = RealPath(byId + "/" + name);
        if (node.empty()) continue;  // a stale name
        SerialDevice* d = Find(list, node);
        if (!d) {
            list.push_back(SerialDevice{});
            d = &list.back();
            d->node = node;
            d->label = Label(BaseName(node));
            const UsbSerialInfo usb = ReadUsbSerial(node);
            d->driver = usb.driver;
            d->latencyMs = usb.latencyMs;
        }
        d->byId = byId + "/" + name;
        // udev makes the name when the device is plugged in.
        d->plugged = ChangeTime(d->byId, true);
    }
    for (const ComLink& l : ScanComLinks()) {
        if (!l.present || !StartsWith(l.target, "/dev/pts/") || Find(list, l.target)) continue;
        SerialDevice d;
        d.node = l.target;
        d.pseudo = true;
        d.label = "pseudo-terminal (virtual sensor)";
        d.plugged = ChangeTime(d.node, false);
        list.push_back(d);
    }
    std::stable_sort(list.begin(), list.end(), [](const SerialDevice& a, const SerialDevice& b) {
        if (a.plugged != b.plugged) return a.plugged > b.plugged;
        return a.node < b.node;
    });
    return list;
}

std::vector<ComLink> ScanComLinks() {
    std::vector<ComLink> links;
    const std::string folder = LinkFolderPath();
    if (folder.empty()) return links;
    for (const std::string& name : Entries(folder)) {
        if (!StartsWith(name, "com")) continue;
        char* end = nullptr;
        long com = strtol(name.c_str() + 3, &end, 10);
        if (!end || *end || !ValidCom(static_cast<int>(com)) || name != "com" + std::to_string(com)) continue;
        const std::string path = folder + "/" + name;
        char target[PATH_MAX];
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) continue;
        target[n] = 0;
        ComLink l;
        l.com = static_cast<int>(com);
        l.target = target;
        struct stat st;
        l.present = stat(path.c_str(), &st) == 0;
        links.push_back(l);
    }
    std::sort(links.begin(), links.end(), [](const ComLink& a, const ComLink& b) { return a.com < b.com; });
    return links;
}

int LinkComPort(int com, const std::string& target, std::string* why) {
    std::string reason;
    const std::string folder = LinkFolderPath();
    const std::string link = folder + "/com" + std::to_string(com);
    const std::string temp = folder + "/.com" + std::to_string(com) + "." + std::to_string(getpid());
    struct stat st;
    if (!ValidCom(com) || target.empty()) {
        reason = "choose a COM number from 1 to 255 and a device";
    } else if (folder.empty()) {
        reason = "no configuration folder for the COM links";
    } else if (!MakeFolderPath(folder.c_str())) {
        reason = folder + ": " + strerror(errno);
    } else if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        reason = link + " is not a link; it is left as it is";
    } else {
        // Made aside and renamed over the old link, so COM n is never missing.
        unlink(temp.c_str());
        if (symlink(target.c_str(), temp.c_str()) == 0 && rename(temp.c_str(), link.c_str()) == 0) return 0;
        reason = link + ": " + strerror(errno);
        unlink(temp.c_str());
    }
    if (why) *why = reason;
    return -1;
}

int UnlinkComPort(int com, std::string* why) {
    const std::string folder = LinkFolderPath();
    const std::string link = folder + "/com" + std::to_string(com);
    struct stat st;
    std::string reason;
    if (!ValidCom(com) || folder.empty()) {
        reason = "no such COM link";
    } else if (lstat(link.c_str(), &st) != 0) {
        return 0;
    } else if (!S_ISLNK(st.st_mode)) {
        reason = link + " is not a link; it is left as it is";
    } else if (unlink(link.c_str()) == 0) {
        return 0;
    } else {
        reason = link + ": " + strerror(errno);
    }
    if (why) *why = reason;
    return -1;
}
