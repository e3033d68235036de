#include "e2e.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "link/link.h"
#include "platform/testing.h"
#include "support/panels.h"

using namespace corvel;

namespace e2e {

const char kSensorVersion[] = "CORVEL GLOSS SENSOR VIRTUAL V2.0                ";

namespace {

// Words 0..12 in packet order; bias (word 12) is handled apart.
const int kWordControls[12] = {
    P_SLIDEPOWER, P_EDITPMOD,           P_EDITAVERAGE, P_EVALMODE,    P_EDITHOLD,  P_EDITINTLIM,
    P_EDITMAXNO,  P_EDITDIGITALOUTMODE, P_EDITTRIGGER, P_EXTERNTEACH, P_ANAOUTBEG, P_ANAOUTEND,
};

bool OnPanel(int i) {
    return i < 13 || i >= kHeadWords;
}

}  // namespace

Words Distinct(int seed) {
    Words p{};
    const bool gf = seed % 2 == 1;
    p.w[0] = static_cast<unsigned short>(600 + seed);    // power
    p.w[1] = gf ? 1 : 0;                                 // pmod: GF evaluation runs with DYN
    p.w[2] = static_cast<unsigned short>(20 + seed);     // average
    p.w[3] = gf ? 1 : 0;                                 // evalmode
    p.w[4] = static_cast<unsigned short>(40 + seed);     // hold
    p.w[5] = static_cast<unsigned short>(500 + seed);    // intlim
    p.w[6] = static_cast<unsigned short>(10 + seed);     // maxno, > 5: needs BINARY
    p.w[7] = 1;                                          // digitalout BINARY
    p.w[8] = static_cast<unsigned short>(1 + seed % 2);  // trigger EXT1 / EXT2
    p.w[9] = 0;                                          // extteach off (it would lock the trigger)
    p.w[10] = static_cast<unsigned short>(100 + seed);   // anaoutbeg
    p.w[11] = static_cast<unsigned short>(3000 + seed);  // anaoutend
    p.w[12] = static_cast<unsigned short>(gf ? 1000 + 137 + seed : 1000 - 200 - seed);  // bias + 1000
    p.w[13] = static_cast<unsigned short>(4711 + seed);
    p.w[14] = static_cast<unsigned short>(815 + seed);
    p.w[15] = static_cast<unsigned short>(42 + seed);
    for (int i = kHeadWords; i < kWords; ++i) p.w[i] = static_cast<unsigned short>(1000 + 100 * seed + i);
    return p;
}

Words PanelWords(unsigned short fill) {
    Words p{};
    for (unsigned short& v : p.w) v = fill;
    for (int i = 0; i < 12; ++i) GetCtrlVal(panel, kWordControls[i], &p.w[i]);
    short b = 0;
    GetCtrlVal(panel, P_EDITBIAS, &b);
    p.w[kBiasWord] = static_cast<unsigned short>(b + 1000);
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachColumns; ++c)
            GetTableCellVal(panel, P_TEACHTABLE, c + 1, r + 1, &p.w[kHeadWords + kTeachColumns * r + c]);
    return p;
}

void SetPanelWords(const Words& p) {
    for (int i = 0; i < 12; ++i) SetCtrlVal(panel, kWordControls[i], p.w[i]);
    SetCtrlVal(panel, P_EDITBIAS, static_cast<short>(p.w[kBiasWord] - 1000));
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachColumns; ++c)
            SetTableCellVal(panel, P_TEACHTABLE, c + 1, r + 1, p.w[kHeadWords + kTeachColumns * r + c]);
}

::testing::AssertionResult PanelShows(const unsigned short* expected) {
    const Words shown = PanelWords();
    std::ostringstream diff;
    int wrong = 0;
    for (int i = 0; i < kWords; ++i) {
        if (!OnPanel(i) || shown.w[i] == expected[i]) continue;
        if (++wrong <= 6)
            diff << " word " << i << ": panel " << shown.w[i] << ", expected " << expected[i] << ";";
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " words differ:" << diff.str();
}

bool WriteEepromImage(const std::string& path, const Words& p) {
    std::ofstream f(path);
    for (unsigned short v : p.w) f << v << "\n";
    for (int i = 0; i < 3; ++i) f << 0 << "\n";
    return static_cast<bool>(f);
}

std::vector<std::string> Popups() {
    std::vector<std::string> out;
    for (const seam::Popup& p : seam::Shown()) out.push_back(p.title + "|" + p.text);
    return out;
}

std::string Popup(const std::string& title, const char* text) {
    return title + "|" + text;
}

TracedFrame LastTracedFrame(const std::string& logPath, unsigned long replies) {
    TracedFrame f;
    const std::string head = "tx 32 bytes to order 5:";
    std::string last;
    // The sensor traces a reply after its last byte went out, so the program
    // may hold a frame whose line is not written yet: wait for it.
    for (int tries = 0; tries < 300; ++tries) {
        std::ifstream in(logPath);
        std::string line;
        unsigned long seen = 0;
        while (std::getline(in, line))
            if (line.compare(0, head.size(), head) == 0) {
                last = line;
                ++seen;
            }
        if (seen >= replies) break;
        last.clear();
        QThread::msleep(10);
    }
    if (last.empty()) return f;
    unsigned power = 0;
    f.found = std::sscanf(last.c_str() + head.size(),
                          " ref=%u dir=%u dif=%u norm=%u int=%u gf=%u vec=%u temp=%u power=%u", &f.ref,
                          &f.dir, &f.dif, &f.norm, &f.inten, &f.gf, &f.vec, &f.temp, &power) == 9;
    return f;
}

double RunLive(const std::function<void()>& start, int afterMs, const std::function<void()>& during,
               int guardMs) {
    bool fired = false;
    QTimer action;
    action.setSingleShot(true);
    action.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5 % early
    if (during) {
        QObject::connect(&action, &QTimer::timeout, [&] {
            fired = true;
            during();
        });
        action.start(afterMs);
    }
    bool guarded = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guarded = true;
        poll = 0;
    });
    guard.start(guardMs);

    QElapsedTimer t;
    t.start();
    start();
    const double seconds = t.elapsed() / 1000.0;
    EXPECT_FALSE(guarded) << "the live loop did not end by itself; stopped after " << guardMs << " ms";
    if (during) {
        EXPECT_TRUE(fired) << "the live loop ended before the action at " << afterMs << " ms";
    }
    return seconds;
}

void E2eTest::SetUp() {
    ASSERT_TRUE(testsupport::LoadProgramPanels());
    DisplayPanel(panel);
    CloseCom(com);
    ASSERT_TRUE(testsupport::FreshStart());
    version[0] = 0;  // as before the first link check
    PauseOver();
    // The transfer target as at start: RAM lit.
    SetCtrlVal(panel, P_SELECTRAM, 1);
    SetCtrlVal(panel, P_SELECTEEPROM, 0);
    SetCtrlVal(panel, P_SELECTFILE, 0);
    SetCtrlVal(panel, P_DISPSTATUS, "");
}

void E2eTest::TearDown() {
    poll = 0;
    CloseCom(com);
    sensor.Stop();
    EXPECT_EQ(seam::Pending(), 0) << "scripted popups that never came";
    seam::Install();  // drops what is left of the script, so it cannot leak into the next test
}

void E2eTest::StartAndInit(const std::vector<std::string>& options, int port) {
    ASSERT_TRUE(sensor.Start(port, options))
        << "virtual sensor did not start: " << testsupport::VirtualSensor::ProgramPath();
    com = static_cast<unsigned short>(port);
    SetCtrlVal(panel, P_EDITCONNECT, com);
    InitRS232(com);
}

void E2eTest::SelectTarget(unsigned short t) {
    const int control = t == EEPROM ? P_SELECTEEPROM : t == DATFILE ? P_SELECTFILE : P_SELECTRAM;
    int on = 0;
    GetCtrlVal(panel, control, &on);
    if (!on) sim::Click(panel, control);
    ASSERT_EQ(target, t);
}

void E2eTest::PauseOver() {
    transbeg = Timer() - 10.0;
}

testsupport::VSensorState E2eTest::State() const {
    testsupport::VSensorState st;
    EXPECT_TRUE(sensor.ReadState(&st)) << "no state file at " << sensor.StatePath();
    return st;
}

testsupport::VSensorState E2eTest::StateAfter(int order, unsigned long count) const {
    EXPECT_TRUE(sensor.WaitForReceived(order, count, 3000))
        << "order " << order << " did not arrive " << count << " times";
    return State();
}

}  // namespace e2e
