#include "fixture.h"

#include <QCoreApplication>
#include <ostream>

std::vector<Event> g_events;
std::vector<int> g_panelEvents;
void (*g_onEvent)(int panel, int control, int event) = nullptr;

namespace {

int CBT_Ctrl(int panel, int control, int event, void*, int, int) {
    g_events.push_back(Event{control, event});
    if (g_onEvent) g_onEvent(panel, control, event);
    return 0;
}

int CBT_Panel(int, int event, void*, int, int) {
    g_panelEvents.push_back(event);
    return 0;
}

const CallbackEntry kTable[] = {
    {"CBT_Ctrl", CBT_Ctrl, nullptr},
    {"CBT_Panel", nullptr, CBT_Panel},
};

}  // namespace

void PanelTest::SetUp() {
    RegisterCallbackTable(kTable, 2);
    h = LoadPanel(0, "test_platform.uir", TP);
    ASSERT_GT(h, 0);
    DisplayPanel(h);
    sim::Pump(0);
    g_events.clear();
    g_panelEvents.clear();
    g_onEvent = nullptr;
}

void PanelTest::TearDown() {
    g_onEvent = nullptr;
    if (h > 0) DiscardPanel(h);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::vector<int> PanelTest::EventsOf(int control) const {
    std::vector<int> out;
    for (const Event& e : g_events) {
        if (e.control == control) out.push_back(e.event);
    }
    return out;
}

std::ostream& operator<<(std::ostream& os, const Event& e) {
    return os << "{" << e.control << "," << e.event << "}";
}
