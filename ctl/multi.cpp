// Several sensors at once: one child process per port, each with its own
// link state (the engine works on process-wide variables) and its own port,
// so a failing sensor never stops the others. Each child sends one result
// line through a pipe; the parent prints them in the order of the ports.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ctl/ctl.h"

namespace ctl {

namespace {

const char* StatusText(int status) {
    switch (status) {
        case kDone:
            return "done";
        case kNoReply:
            return "no reply or a lost frame";
        case kBadInput:
            return "bad usage or a bad file";
        case kDifferent:
            return "difference found";
        case kPortFailed:
            return "port cannot be opened";
    }
    return "failed";
}

struct Child {
    pid_t pid = -1;
    int fd = -1;
    std::string report;  // "status<TAB>version"
};

// The child: the whole command on its one port; reports and exits.
[[noreturn]] void RunChild(const Options& all, const Port& port, const unsigned short* words, int out) {
    Options opt = all;
    opt.ports = {port};
    SetMessagePrefix(port.Label() + ": ");
    int status = OpenSensor(port);
    const std::string version = status == kDone || status == kNoReply ? SensorVersion() : "";
    if (status == kDone) status = RunCommand(opt, words);
    CloseSensor();
    const std::string line = std::to_string(status) + "\t" + version + "\n";
    ssize_t ignored = write(out, line.data(), line.size());
    (void)ignored;
    std::fflush(nullptr);
    _exit(status);
}

}  // namespace

int RunOnPorts(const Options& opt, const unsigned short* words) {
    std::fflush(nullptr);
    std::vector<Child> children(opt.ports.size());
    for (size_t i = 0; i < opt.ports.size(); ++i) {
        int fds[2];
        if (pipe(fds) != 0) {
            Say("cannot start a process for %s: %s\n", opt.ports[i].Label().c_str(), std::strerror(errno));
            continue;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            for (size_t j = 0; j < i; ++j) close(children[j].fd);
            RunChild(opt, opt.ports[i], words, fds[1]);
        }
        close(fds[1]);
        if (pid < 0) {
            Say("cannot start a process for %s: %s\n", opt.ports[i].Label().c_str(), std::strerror(errno));
            close(fds[0]);
            continue;
        }
        children[i].pid = pid;
        children[i].fd = fds[0];
    }

    // Collect the reports as they come. A signal only ends the children's
    // loops: Ctrl+C reaches them too, a SIGTERM to this process is passed
    // on; the parent keeps waiting for their results.
    size_t open = 0;
    bool passedOn = false;
    for (const Child& c : children) open += c.fd >= 0;
    while (open > 0) {
        if (StopRequested() && !passedOn) {
            for (const Child& c : children)
                if (c.pid > 0) kill(c.pid, SIGTERM);
            passedOn = true;
        }
        std::vector<pollfd> fds;
        std::vector<size_t> which;
        for (size_t i = 0; i < children.size(); ++i)
            if (children[i].fd >= 0) {
                fds.push_back({children[i].fd, POLLIN, 0});
                which.push_back(i);
            }
        if (poll(fds.data(), fds.size(), 200) < 0 && errno != EINTR) break;
        for (size_t k = 0; k < fds.size(); ++k) {
            if (!(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            Child& c = children[which[k]];
            char buf[256];
            const ssize_t n = read(c.fd, buf, sizeof buf);
            if (n > 0) {
                c.report.append(buf, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(c.fd);
                c.fd = -1;
                --open;
            }
        }
    }

    int worst = kDone;
    for (size_t i = 0; i < children.size(); ++i) {
        Child& c = children[i];
        int status = kNoReply;
        if (c.pid > 0) {
            int ws = 0;
            while (waitpid(c.pid, &ws, 0) < 0 && errno == EINTR) {
            }
            status = WIFEXITED(ws) ? WEXITSTATUS(ws) : kNoReply;
        }
        std::string version = "-";
        const size_t tab = c.report.find('\t');
        if (tab != std::string::npos) {
            version = c.report.substr(tab + 1);
            while (!version.empty() && version.back() == '\n') version.pop_back();
            if (version.empty()) version = "-";
        }
        std::printf("%s\t%s\t%d %s\n", opt.ports[i].Label().c_str(), version.c_str(), status,
                    StatusText(status));
        if (status > worst) worst = status;
    }
    std::fflush(stdout);
    return worst;
}

}  // namespace ctl
