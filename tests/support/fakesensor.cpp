#include "support/fakesensor.h"

#include <poll.h>
#include <stdlib.h>
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
    if (!pty_.Open() || !pty_.HoldSlave()) return false;
    dir_ = MakeTempFolder("corvel-fake");
    if (dir_.empty() || LinkCom(dir_, port, pty_.slaveName()).empty()) return false;
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
    RemoveTree(dir_);
    dir_.clear();
    pty_.Close();
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
        pollfd p{pty_.master(), POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        ssize_t n = read(pty_.master(), pending + have, sizeof pending - have);
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
                    ssize_t w = write(pty_.master(), reply + off, static_cast<size_t>(len - off));
                    if (w <= 0) break;
                    off += w;
                }
            }
        }
    }
}

}  // namespace testsupport
