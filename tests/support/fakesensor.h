// A scripted sensor for tests: a pseudo-terminal published as a COM port,
// answered from a thread by a function the test supplies. For replies no
// real sensor gives (wrong lengths, silence, garbage) and for what exactly
// the program sent; VirtualSensor is the whole sensor as a separate process.
#pragma once
#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/sandbox.h"

namespace testsupport {

class FakeSensor {
public:
    using Request = std::array<unsigned char, 36>;
    // Fills `reply` for a request and returns its length; a negative length
    // sends nothing.
    using Responder = std::function<int(const Request& req, unsigned char* reply)>;

    ~FakeSensor();
    // Publishes the pseudo-terminal as COM `port` under a fresh temporary
    // configuration folder (XDG_CONFIG_HOME is set for this process).
    bool Start(int port, Responder responder);
    void Stop();
    void SetResponder(Responder responder);
    std::vector<Request> Received();
    void ClearReceived();
    // Orders of the requests received so far.
    std::vector<int> Orders();

    static unsigned short Word(const Request& r, int i) {
        return static_cast<unsigned short>(r[2 * i] << 8 | r[2 * i + 1]);
    }
    static void PutWord(unsigned char* buf, int i, unsigned short v) {
        buf[2 * i] = static_cast<unsigned char>(v >> 8);
        buf[2 * i + 1] = static_cast<unsigned char>(v & 0xFF);
    }

private:
    void Run();
    Pty pty_;
    std::string dir_;
    std::thread thread_;
    std::mutex mutex_;
    Responder responder_;
    std::vector<Request> received_;
    bool stop_ = false;
};

}  // namespace testsupport
