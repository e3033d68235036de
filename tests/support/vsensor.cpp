#include "support/vsensor.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/testing.h"

namespace testsupport {

namespace {

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool ReadWords(std::istringstream& in, unsigned short* out, int n) {
    for (int i = 0; i < n; ++i) {
        unsigned long v;
        if (!(in >> v) || v > 0xFFFF) return false;
        out[i] = static_cast<unsigned short>(v);
    }
    return true;
}

}  // namespace

VirtualSensor::VirtualSensor() : xdg_("XDG_CONFIG_HOME") {
    MakeFolder();
}

VirtualSensor::~VirtualSensor() {
    Stop();
    RemoveTree(dir_);
}

std::string VirtualSensor::ProgramPath() {
    const char* env = std::getenv(testenv::kVirtualSensor);
    if (env && *env) return env;
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "corvel-virtual-sensor";
    self[n] = 0;
    std::string path(self);
    return path.substr(0, path.rfind('/') + 1) + "corvel-virtual-sensor";
}

std::string VirtualSensor::LinkPath() const {
    return LinkFolder(dir_) + "/com" + std::to_string(com_);
}

bool VirtualSensor::MakeFolder() {
    if (dir_.empty()) dir_ = MakeTempFolder("corvel-vsensor");
    return !dir_.empty();
}

bool VirtualSensor::Start(int com, const std::vector<std::string>& options) {
    if (pid_ > 0) Stop();
    if (!MakeFolder()) return false;
    com_ = com;
    xdg_.Set(dir_);
    std::remove(StatePath().c_str());

    // Everything the child needs is prepared before fork.
    std::string prog = ProgramPath();
    std::vector<std::string> args = {prog, "--com", std::to_string(com), "--state-file", StatePath()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    std::string log = LogPath();

    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0) {
            dup2(fd, 2);
            close(fd);
        }
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
            close(devnull);
        }
        execv(prog.c_str(), argv.data());
        _exit(127);
    }
    pid_ = pid;

    std::string link = LinkPath();
    for (int waited = 0; waited < 5000; waited += 10) {
        struct stat st;
        if (stat(link.c_str(), &st) == 0 && access(StatePath().c_str(), R_OK) == 0) return true;
        if (!Running()) return false;
        SleepMs(10);
    }
    Stop();
    return false;
}

bool VirtualSensor::Running() {
    if (pid_ <= 0) return false;
    int status;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    if (r == pid_) status_ = status;
    pid_ = -1;
    return false;
}

bool VirtualSensor::WaitExit(int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (!Running()) return WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
        SleepMs(10);
    }
    return false;
}

bool VirtualSensor::Stop() {
    if (pid_ <= 0) return WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
    kill(pid_, SIGTERM);
    for (int waited = 0; waited < 3000; waited += 5) {
        int status;
        pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_ || (r < 0 && errno == ECHILD)) {
            status_ = r == pid_ ? status : 0;
            pid_ = -1;
            return WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
        }
        SleepMs(5);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    pid_ = -1;
    return false;
}

bool VirtualSensor::ReadState(VSensorState* out) const {
    std::memset(out, 0, sizeof *out);
    std::ifstream f(StatePath());
    if (!f) return false;
    bool ram = false, eeprom = false, cal = false;
    std::string line;
    while (std::getline(f, line)) {
        std::istringstream in(line);
        std::string key;
        in >> key;
        if (key == "ram") {
            ram = ReadWords(in, out->ram, 140);
        } else if (key == "eeprom") {
            eeprom = ReadWords(in, out->eeprom, 140);
        } else if (key == "cal") {
            cal = ReadWords(in, out->cal, 3);
        } else if (key == "received") {
            std::string item;
            while (in >> item) {
                unsigned order;
                unsigned long count;
                if (std::sscanf(item.c_str(), "%u:%lu", &order, &count) == 2 && order < 256) {
                    out->received[order] = count;
                }
            }
        } else if (key == "frames") {
            in >> out->frames;
        } else if (key == "skipped") {
            in >> out->skipped;
        }
    }
    return ram && eeprom && cal;
}

bool VirtualSensor::WaitForReceived(int order, unsigned long count, int timeoutMs) const {
    VSensorState st;
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (ReadState(&st) && st.Received(order) >= count) return true;
        SleepMs(10);
    }
    return false;
}

}  // namespace testsupport
