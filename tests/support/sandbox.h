// A test's private surroundings: a temporary folder, an environment variable
// set for a while, and for a simulated serial line a pseudo-terminal and the
// comN link the serial layer looks for (under XDG_CONFIG_HOME). FakeSensor,
// VirtualSensor and the fixtures that open a bare line all build on these,
// so a change in where the program looks is made here once.
#pragma once

#include <stdlib.h>

#include <string>

namespace testsupport {

// A pseudo-terminal pair; the slave is the device the program opens.
class Pty {
public:
    Pty() = default;
    ~Pty() { Close(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Opens a new pair (closing an open one); false when the system refuses.
    bool Open();
    // Keeps the slave open here as well, set raw, so that the program's
    // close and reopen never hang up the line.
    bool HoldSlave();
    void Close();
    int master() const { return master_; }
    const std::string& slaveName() const { return name_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

// A fresh folder $TMPDIR/prefix-XXXXXX (/tmp without TMPDIR); "" when it
// cannot be made.
std::string MakeTempFolder(const std::string& prefix);
// Removes the folder and everything below it; true when it is gone.
bool RemoveTree(const std::string& dir);
// The bytes of a file ("" when it cannot be read).
std::string FileBytes(const std::string& path);
// A fresh temporary folder for the object's life, removed with all below it.
struct TempFolder {
    explicit TempFolder(const std::string& prefix) : path(MakeTempFolder(prefix)) {}
    ~TempFolder() { RemoveTree(path); }
    TempFolder(const TempFolder&) = delete;
    const std::string path;  // "" when it could not be made
};

// The folder of the comN links under configuration folder `config`.
inline std::string LinkFolder(const std::string& config) {
    return config + "/corvel-scope/dosdevices";
}
// Creates the link folder under `config` and the link comN -> target in it,
// replacing one that was there. Returns the link's path, "" on failure.
std::string LinkCom(const std::string& config, int com, const std::string& target);

// An environment variable whose value (or absence) comes back when the
// object goes.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const std::string& value) const { setenv(name_.c_str(), value.c_str(), 1); }

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace testsupport
