// The whole start-up: panels load, the link is checked, the main panel
// shows, and closing it ends the program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/corvel.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/fakesensor.h"
#include "uir_ids.h"

using namespace corvel;
using testsupport::FakeSensor;

namespace {

const char kVersion[] = "FAKE SENSOR FOR START-UP TEST                   ";  // 48 characters

int Answer(const FakeSensor::Request& r, unsigned char* out) {
    const int order = FakeSensor::Word(r, 1);
    if (order == 7) {
        for (int i = 0; i < 48; ++i) FakeSensor::PutWord(out, i, static_cast<unsigned char>(kVersion[i]));
        return 96;
    }
    if (order == 3) {
        for (int i = 0; i < 140; ++i) FakeSensor::PutWord(out, i, 1);
        FakeSensor::PutWord(out, 0, 321);   // power
        FakeSensor::PutWord(out, 12, 995);  // bias -5
        return 280;
    }
    return -1;
}

struct Seen {
    bool panelShown = false;
    int paraVisible = -1, tableVisible = -1, bigVisible = -1;
    char status[128] = "";
    unsigned short sliderPower = 0;
};
Seen seen;

// Runs once the event loop is up: look at the panel, then close it as the
// operator would.
void InspectAndClose() {
    seen.panelShown = IsPanelVisible(panel) == 1;
    GetCtrlVal(panel, P_PARAVISIBLE, &seen.paraVisible);
    GetCtrlAttribute(panel, P_TEACHTABLE, ATTR_VISIBLE, &seen.tableVisible);
    GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &seen.bigVisible);
    GetCtrlVal(panel, P_DISPSTATUS, seen.status, sizeof seen.status);
    GetCtrlVal(panel, P_SLIDEPOWER, &seen.sliderPower);
    sim::Close(panel);
}

TEST(StartUp, LinksToTheSensorShowsTheMainPanelAndEndsOnClose) {
    FakeSensor sensor;
    ASSERT_TRUE(sensor.Start(1, Answer));
    QTimer::singleShot(300, [] { InspectAndClose(); });
    const int rc = WinMain(0, 0, nullptr, 0);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(seen.panelShown);
    EXPECT_EQ(seen.paraVisible, 1);
    EXPECT_EQ(seen.tableVisible, 0);
    EXPECT_EQ(seen.bigVisible, 0);
    EXPECT_STREQ(seen.status, kVersion);
    EXPECT_EQ(seen.sliderPower, 321);  // the sensor's parameters reached the panel
    EXPECT_EQ(target, 1);
    EXPECT_EQ(bias, -5);
    EXPECT_EQ(sensor.Orders(), (std::vector<int>{7, 3}));
    EXPECT_TRUE(seam::Shown().empty());
    // No window outlives the program's end, hidden panels included: left to
    // the exit-time clean-up, they crash the program on a real display.
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_EQ(IsPanelVisible(recpanel), UIE_NO_SUCH_PANEL);
}

// A damaged settings file: one line on standard error, and the start as
// always (COM 1, the link check, the sensor's parameters); the end writes
// a good file with the main panel's size in its place.
TEST(StartUp, ADamagedSettingsFileIsIgnoredAndTheStartIsUnchanged) {
    FakeSensor sensor;
    ASSERT_TRUE(sensor.Start(1, Answer));  // its COM 1 link lies in a configuration folder of its own
    const std::string folder = std::string(getenv("XDG_CONFIG_HOME")) + "/corvel-scope";
    const std::string ini = folder + "/corvel-scope.ini";
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    FILE* f = std::fopen(ini.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("\x01\x02garbage without a mark\n[panels\nP\\width=zz\n", f);
    std::fclose(f);

    QTimer::singleShot(300, [] { InspectAndClose(); });
    testing::internal::CaptureStderr();
    const int rc = WinMain(0, 0, nullptr, 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(com, 1);
    EXPECT_STREQ(seen.status, kVersion);
    EXPECT_EQ(sensor.Orders(), (std::vector<int>{7, 3}));
    EXPECT_NE(said.find(ini + " is damaged"), std::string::npos) << said;

    f = std::fopen(ini.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char text[4096] = "";
    text[std::fread(text, 1, sizeof text - 1, f)] = '\0';
    std::fclose(f);
    EXPECT_NE(std::strstr(text, "format=1"), nullptr) << text;
    EXPECT_NE(std::strstr(text, "P\\width="), nullptr) << text;
    unlink(ini.c_str());
}

// A close that arrives the moment the main window appears, before the event
// loop has begun, still ends the program: nothing between showing the panel
// and running the loop may consume it.
TEST(StartUp, CloseArrivingAsTheMainWindowAppearsEndsTheProgram) {
    FakeSensor sensor;
    ASSERT_TRUE(sensor.Start(1, Answer));
    struct CloseOnShow : QObject {
        bool eventFilter(QObject* o, QEvent* e) override {
            auto* w = qobject_cast<QWidget*>(o);
            if (e->type() == QEvent::Show && w && w->isWindow() && w->windowHandle() && !posted) {
                posted = true;
                // Queued as the window system queues it: handled by the loop.
                QCoreApplication::postEvent(w->windowHandle(), new QCloseEvent);
            }
            return false;
        }
        bool posted = false;
    } closer;
    static bool guardFired;
    guardFired = false;
    InitCVIRTE(0, nullptr, 0);
    qApp->installEventFilter(&closer);
    // Never hang: a lost close is ended by a second one, and fails the test.
    QTimer::singleShot(5000, [] {
        guardFired = true;
        sim::Close(panel);
    });
    EXPECT_EQ(WinMain(0, 0, nullptr, 0), 0);
    qApp->removeEventFilter(&closer);
    EXPECT_TRUE(closer.posted);
    EXPECT_FALSE(guardFired) << "the first close was lost";
}

// The program itself, as a separate process: without its panel file it ends
// at once with -1 and shows nothing.
TEST(StartUp, MissingPanelFileEndsWithMinusOne) {
    char exe[512] = "";
    GetProjectDir(exe);
    std::string program = std::string(exe) + "/corvel-scope";
    const testsupport::TempFolder tmp("corvel-nouir");
    ASSERT_FALSE(tmp.path.empty());
    std::string copy = tmp.path + "/corvel-scope";
    ASSERT_EQ(std::system(("cp '" + program + "' '" + copy + "'").c_str()), 0);
    const int status = std::system(("QT_QPA_PLATFORM=offscreen timeout 20 '" + copy + "'").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
}

// Without a display the program ends with -1 and one line saying why, not
// with an abort inside the toolkit.
TEST(StartUp, NoDisplayEndsWithMinusOne) {
    char exe[512] = "";
    GetProjectDir(exe);
    const std::string err = std::string(testing::TempDir()) + "/corvel-nodisplay.txt";
    const int status = std::system(("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 20 '" +
                                    std::string(exe) + "/corvel-scope' 2>'" + err + "'")
                                       .c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    FILE* f = std::fopen(err.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[512] = "";
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_NE(std::strstr(line, "no display"), nullptr) << line;
    EXPECT_EQ(std::fgetc(f), EOF) << "one line";
    std::fclose(f);
}

}  // namespace
