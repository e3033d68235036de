// The PC end of the line for the virtual sensor's tests: plain termios on the
// linked device, independent of the program's serial layer. It plays the
// program's end; FakeSensor and VirtualSensor (tests/support) play the sensor's.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "protocol.h"

class PtyClient {
public:
    ~PtyClient() { Close(); }

    bool Open(const std::string& path) {
        Close();
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) return false;
        termios tio;
        if (tcgetattr(fd_, &tio) != 0) return false;
        cfmakeraw(&tio);
        cfsetispeed(&tio, B19200);
        cfsetospeed(&tio, B19200);
        return tcsetattr(fd_, TCSANOW, &tio) == 0;
    }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    int fd() const { return fd_; }

    bool SendRaw(const uint8_t* bytes, int n) { return write(fd_, bytes, n) == n; }
    bool Send(uint16_t order, const uint16_t* words = nullptr) {
        uint16_t zero[vsensor::kFrameWords] = {0};
        uint8_t req[vsensor::kRequestBytes];
        vsensor::EncodeRequest(order, words ? words : zero, req);
        return SendRaw(req, sizeof req);
    }

    // Collects bytes until `expected` have come or `timeoutMs` passed, then
    // `settleMs` longer so that a reply that is too long shows. Returns the
    // count, or -1 when the line is gone.
    int Receive(uint8_t* buf, int size, int expected, int timeoutMs, int settleMs = 30) {
        using Clock = std::chrono::steady_clock;
        auto start = Clock::now();
        auto deadline = start + std::chrono::milliseconds(timeoutMs);
        int got = 0;
        bool settling = false;
        for (;;) {
            auto now = Clock::now();
            if (!settling && (got >= expected || now >= deadline)) {
                settling = true;
                deadline = now + std::chrono::milliseconds(settleMs);
            }
            if (settling && now >= deadline) return got;
            int wait = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count());
            pollfd p = {fd_, POLLIN, 0};
            int r = poll(&p, 1, wait < 1 ? 1 : wait);
            if (r > 0 && (p.revents & POLLIN)) {
                ssize_t n = read(fd_, buf + got, size - got);
                if (n > 0) got += static_cast<int>(n);
                if (n < 0 && errno != EAGAIN) return -1;
                if (got >= size) return got;
            } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
                return got > 0 ? got : -1;
            }
        }
    }

    int Transact(uint16_t order, const uint16_t* words, uint8_t* buf, int size, int expected,
                 int timeoutMs = 2000) {
        tcflush(fd_, TCIFLUSH);
        if (!Send(order, words)) return -1;
        return Receive(buf, size, expected, timeoutMs);
    }

private:
    int fd_ = -1;
};
