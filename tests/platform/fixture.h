// A test panel of our own, loaded fresh for every test, with callbacks
// that record what they receive.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <vector>

#include "platform/testing.h"
#include "platform/ui.h"
#include "tp_ids.h"

struct Event {
    int control;
    int event;
    bool operator==(const Event& o) const { return control == o.control && event == o.event; }
};

extern std::vector<Event> g_events;
extern std::vector<int> g_panelEvents;
// Runs inside the control callback, after the event is recorded.
extern void (*g_onEvent)(int panel, int control, int event);

class PanelTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The widget behind a control, for checks of what the operator sees.
    template <class W>
    W* Widget(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->property("corvelHandle").toInt() == h) return w->findChild<W*>(QString::fromLatin1(name));
        }
        return nullptr;
    }
    std::vector<int> EventsOf(int control) const;
    int h = -1;
};

std::ostream& operator<<(std::ostream& os, const Event& e);
