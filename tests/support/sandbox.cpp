// A test's private surroundings (see sandbox.h).
#include "support/sandbox.h"

#include <fcntl.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace testsupport {

bool Pty::Open() {
    Close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
    const char* name = ptsname(master_);
    if (!name) return false;
    name_ = name;
    return true;
}

bool Pty::HoldSlave() {
    if (master_ < 0 || slave_ >= 0) return slave_ >= 0;
    slave_ = open(name_.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    return slave_ >= 0;
}

void Pty::Close() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
    name_.clear();
}

std::string MakeTempFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back(0);
    return mkdtemp(buf.data()) ? std::string(buf.data()) : std::string();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

}  // namespace

bool RemoveTree(const std::string& dir) {
    if (dir.empty()) return true;
    nftw(dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    struct stat st;
    return lstat(dir.c_str(), &st) != 0;
}

std::string LinkCom(const std::string& config, int com, const std::string& target) {
    mkdir(config.c_str(), 0700);
    mkdir((config + "/corvel-scope").c_str(), 0700);
    mkdir(LinkFolder(config).c_str(), 0700);
    const std::string link = LinkFolder(config) + "/com" + std::to_string(com);
    unlink(link.c_str());
    return symlink(target.c_str(), link.c_str()) == 0 ? link : std::string();
}

ScopedEnv::ScopedEnv(const char* name) : name_(name) {
    const char* v = std::getenv(name);
    had_ = v != nullptr;
    if (v) old_ = v;
}

ScopedEnv::~ScopedEnv() {
    if (had_) {
        setenv(name_.c_str(), old_.c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

}  // namespace testsupport
