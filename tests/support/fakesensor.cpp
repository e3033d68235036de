#include "support/fakesensor.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace testsupport {

FakeSensor::~FakeSensor() {
    Stop();
}

bool FakeSensor::Start(int port, Responder responder) {
    Stop();
    responder_ = std::move(responder);
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
    const char* name = ptsname(master_);
    if (!name) return false;
    // Keep the slave open ourselves so that the program's close and reopen
    // never hang up the line.
    slave_ = open(name, O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);

    char tmpl[] = "/tmp/corvel-fake-XXXXXX";
    if (!mkdtemp(tmpl)) return false;
    dir_ = tmpl;
    std::string folder = dir_ + "/corvel-scope";
    mkdir(folder.c_str(), 0700);
    folder += "/dosdevices";
    mkdir(folder.c_str(), 0700);
    link_ = folder + "/com" + std::to_string(port);
    if (symlink(name, link_.c_str()) != 0) return false;
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void FakeSensor::Stop() {
    if (thread_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        thread_.join();
    }
    if (!link_.empty()) unlink(link_.c_str());
    if (!dir_.empty()) {
        rmdir((dir_ + "/corvel-scope/dosdevices").c_str());
        rmdir((dir_ + "/corvel-scope").c_str());
        rmdir(dir_.c_str());
    }
    link_.clear();
    dir_.clear();
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

void FakeSensor::SetResponder(Responder responder) {
    std::lock_guard<std::mutex> lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<FakeSensor::Request> FakeSensor::Received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void FakeSensor::ClearReceived() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

std::vector<int> FakeSensor::Orders() {
    std::vector<int> orders;
    for (const Request& r : Received()) orders.push_back(Word(r, 1));
    return orders;
}

void FakeSensor::Run() {
    unsigned char pending[4096];
    size_t have = 0;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) return;
        }
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        ssize_t n = read(master_, pending + have, sizeof pending - have);
        if (n <= 0) continue;
        have += static_cast<size_t>(n);
        for (;;) {
            // Resynchronise on the sync word, as the sensor does.
            size_t start = 0;
            while (start + 1 < have && !(pending[start] == 0x00 && pending[start + 1] == 0x55)) ++start;
            if (start) {
                std::memmove(pending, pending + start, have - start);
                have -= start;
            }
            if (have < 36) break;
            Request req;
            std::memcpy(req.data(), pending, 36);
            std::memmove(pending, pending + 36, have - 36);
            have -= 36;
            unsigned char reply[2048];
            int len = -1;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                received_.push_back(req);
                if (responder_) len = responder_(req, reply);
            }
            if (len > 0) {
                ssize_t off = 0;
                while (off < len) {
                    ssize_t w = write(master_, reply + off, static_cast<size_t>(len - off));
                    if (w <= 0) break;
                    off += w;
                }
            }
        }
    }
}

}  // namespace testsupport
