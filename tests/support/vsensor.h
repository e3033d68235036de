// Runs the virtual sensor (corvel-virtual-sensor) as a child process for
// end-to-end tests, and reads back what it received: the whole sensor, as
// an operator's machine would see it. FakeSensor is the scripted one.
//
//   testsupport::VirtualSensor vs;
//   ASSERT_TRUE(vs.Start(1, {"--gloss", "100", "--unpaced"}));
//   ... the program under test opens COM1 ...
//   testsupport::VSensorState st;
//   ASSERT_TRUE(vs.ReadState(&st));
//   EXPECT_EQ(st.Received(5), 1u);
//
// The object makes a temporary folder; Start() points XDG_CONFIG_HOME of this
// process at it (so the serial layer finds the link comN there) and starts the
// sensor with --state-file inside it. The previous XDG_CONFIG_HOME comes back
// when the object is destroyed. The program is looked for beside the test
// executable, or at $CORVEL_VSENSOR.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/sandbox.h"

namespace testsupport {

struct VSensorState {
    unsigned short ram[140];
    unsigned short eeprom[140];
    unsigned short cal[3];        // power, CH_DIR, CH_REF
    unsigned long received[256];  // telegrams received per order code
    unsigned long frames;         // data frames answered (orders 5 and 19)
    unsigned long skipped;        // bytes skipped while looking for a sync word
    unsigned long Received(int order) const { return order >= 0 && order < 256 ? received[order] : 0; }
};

class VirtualSensor {
public:
    VirtualSensor();
    ~VirtualSensor();  // stops the sensor and removes the temporary folder
    VirtualSensor(const VirtualSensor&) = delete;
    VirtualSensor& operator=(const VirtualSensor&) = delete;

    // Starts the sensor on COM `com` with extra options and waits (up to 5 s)
    // until its link exists. Restarting after Stop() keeps the same folder, so
    // an --eeprom file there survives. False if it did not come up.
    bool Start(int com = 1, const std::vector<std::string>& options = {});
    // SIGTERM, then reaps it (SIGKILL after 3 s). True when it ended by itself
    // with status 0.
    bool Stop();
    // The process is still alive (reaps it if it has ended).
    bool Running();
    // Waits until the process ended by itself (e.g. after --hangup-after).
    bool WaitExit(int timeoutMs);

    bool ReadState(VSensorState* out) const;
    // Polls the state file until `order` has been received `count` times.
    bool WaitForReceived(int order, unsigned long count, int timeoutMs) const;

    pid_t pid() const { return pid_; }
    int com() const { return com_; }
    const std::string& folder() const { return dir_; }  // the temporary XDG_CONFIG_HOME
    std::string LinkPath() const;                       // .../corvel-scope/dosdevices/comN
    std::string StatePath() const { return dir_ + "/vsensor.state"; }
    std::string EepromPath() const { return dir_ + "/vsensor.eeprom"; }  // for --eeprom
    std::string LogPath() const { return dir_ + "/vsensor.log"; }        // its stderr (--trace)
    static std::string ProgramPath();

private:
    bool MakeFolder();

    pid_t pid_ = -1;
    int com_ = 1;
    int status_ = 0;
    std::string dir_;
    ScopedEnv xdg_;
};

}  // namespace testsupport
