// The panel definitions against what the program requires of them: the
// controls, their kinds, types and callbacks, ring values, the teach table,
// the shortcut keys, the initial states and the panel sizes.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "ctrlrect.h"
#include "panel_table.h"
#include "platform/testing.h"
#include "platform/ui.h"
#include "uir_ids.h"

using paneltable::Ctrl;

namespace {

// ---- a callback table with the program's names that records events ----

struct CtrlEvent {
    int panel, control, event;
};
struct PanelEvent {
    const char* name;
    int panel, event;
};
std::vector<CtrlEvent> g_ctrlEvents;
std::vector<PanelEvent> g_panelEvents;

int RecordCtrl(int panel, int control, int event, void*, int, int) {
    g_ctrlEvents.push_back({panel, control, event});
    return 0;
}

constexpr int kMaxPanelCallbacks = 8;
const char* g_panelNames[kMaxPanelCallbacks];
template <int N>
int RecordPanel(int panel, int event, void*, int, int) {
    g_panelEvents.push_back({g_panelNames[N], panel, event});
    return 0;
}
const PanelCallbackPtr kPanelRecorders[kMaxPanelCallbacks] = {
    RecordPanel<0>, RecordPanel<1>, RecordPanel<2>, RecordPanel<3>,
    RecordPanel<4>, RecordPanel<5>, RecordPanel<6>, RecordPanel<7>,
};

// Same names as the program's table, each bound to a recorder.
std::vector<CallbackEntry>& RecordingTable() {
    static std::vector<CallbackEntry> table;
    if (!table.empty()) return table;
    int n = 0;
    const CallbackEntry* t = corvel::ProgramCallbacks(&n);
    int panels = 0;
    for (int i = 0; i < n; ++i) {
        CallbackEntry e = t[i];
        if (e.ctrl) e.ctrl = RecordCtrl;
        if (e.panel && panels < kMaxPanelCallbacks) {
            g_panelNames[panels] = e.name;
            e.panel = kPanelRecorders[panels++];
        }
        table.push_back(e);
    }
    return table;
}

struct Panels {
    int p = -1, recp = -1, calibp = -1, graphp = -1;
    int ByResource(int resource) const {
        switch (resource) {
            case P:
                return p;
            case RECP:
                return recp;
            case CALIBP:
                return calibp;
            case GRAPHP:
                return graphp;
        }
        return -1;
    }
};

// The panels, loaded once against the recording table.
const Panels& Loaded() {
    static Panels panels;
    static bool done = false;
    if (!done) {
        done = true;
        std::vector<CallbackEntry>& t = RecordingTable();
        RegisterCallbackTable(t.data(), static_cast<int>(t.size()));
        panels.p = LoadPanel(0, corvel::kPanelFile, P);
        panels.recp = LoadPanel(0, corvel::kPanelFile, RECP);
        panels.calibp = LoadPanel(0, corvel::kPanelFile, CALIBP);
        panels.graphp = LoadPanel(0, corvel::kPanelFile, GRAPHP);
    }
    return panels;
}

const CallbackEntry* ProgramEntry(const char* name) {
    int n = 0;
    const CallbackEntry* t = corvel::ProgramCallbacks(&n);
    for (int i = 0; i < n; ++i) {
        if (std::strcmp(t[i].name, name) == 0) return &t[i];
    }
    return nullptr;
}

using ctrlrect::CtrlRect;
using ctrlrect::Rect;

Rect Union(int panel, const int* ids, int count) {
    Rect u = CtrlRect(panel, ids[0]);
    for (int i = 1; i < count; ++i) {
        Rect r = CtrlRect(panel, ids[i]);
        int l = std::min(u.left, r.left), t = std::min(u.top, r.top);
        u = {l, t, std::max(u.right(), r.right()) - l, std::max(u.bottom(), r.bottom()) - t};
    }
    return u;
}

long Overlap(const Rect& a, const Rect& b) {
    long w = std::min(a.right(), b.right()) - std::max(a.left, b.left);
    long h = std::min(a.bottom(), b.bottom()) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

int Visible(int panel, int control) {
    int v = -1;
    GetCtrlAttribute(panel, control, ATTR_VISIBLE, &v);
    return v;
}

struct PanelCase {
    const char* name;
    int resource;
    const Ctrl* ctrls;
    int count;
};
const PanelCase kPanels[] = {
    {"P", P, paneltable::kP, static_cast<int>(std::size(paneltable::kP))},
    {"RECP", RECP, paneltable::kRECP, static_cast<int>(std::size(paneltable::kRECP))},
    {"CALIBP", CALIBP, paneltable::kCALIBP, static_cast<int>(std::size(paneltable::kCALIBP))},
    {"GRAPHP", GRAPHP, paneltable::kGRAPHP, static_cast<int>(std::size(paneltable::kGRAPHP))},
};

class PanelDefinitions : public ::testing::Test {
protected:
    void SetUp() override {
        const Panels& ps = Loaded();
        ASSERT_GE(ps.p, 0);
        ASSERT_GE(ps.recp, 0);
        ASSERT_GE(ps.calibp, 0);
        ASSERT_GE(ps.graphp, 0);
        g_ctrlEvents.clear();
        g_panelEvents.clear();
    }
};

}  // namespace

TEST_F(PanelDefinitions, EveryControlHasItsIdentityKindTypeAndCallback) {
    for (const PanelCase& pc : kPanels) {
        SCOPED_TRACE(pc.name);
        int panel = Loaded().ByResource(pc.resource);
        // No control beyond the table: the generated identities stay dense.
        EXPECT_EQ(GetPanelCtrlCount(panel), pc.count);
        for (int i = 0; i < pc.count; ++i) {
            const Ctrl& c = pc.ctrls[i];
            SCOPED_TRACE(c.name);
            EXPECT_EQ(GetCtrlByName(panel, c.name), c.id) << "loader and generated header disagree";
            int kind = 0, type = 0;
            EXPECT_EQ(GetCtrlAttribute(panel, c.id, ATTR_CTRL_KIND, &kind), UIE_OK);
            EXPECT_EQ(kind, c.kind);
            EXPECT_EQ(GetCtrlAttribute(panel, c.id, ATTR_DATA_TYPE, &type), UIE_OK);
            EXPECT_EQ(type, c.type);
            char cb[64] = "?";
            GetCtrlCallbackName(panel, c.id, cb, sizeof cb);
            EXPECT_STREQ(cb, c.callback);
        }
    }
}

TEST_F(PanelDefinitions, ParameterGroupHasExactlyTenPassiveControls) {
    int panel = Loaded().p;
    for (int i = 1; i <= 10; ++i) {
        std::string name = "ParaDeco" + std::to_string(i);
        int id = GetCtrlByName(panel, name.c_str());
        ASSERT_GT(id, 0) << name;
        char cb[64] = "?";
        GetCtrlCallbackName(panel, id, cb, sizeof cb);
        EXPECT_STREQ(cb, "") << name;
    }
    EXPECT_LT(GetCtrlByName(panel, "ParaDeco11"), 0);
    EXPECT_LT(GetCtrlByName(panel, "ParaDeco0"), 0);
}

TEST_F(PanelDefinitions, EveryCallbackNameIsAControlCallbackOfTheProgram) {
    for (const PanelCase& pc : kPanels) {
        int panel = Loaded().ByResource(pc.resource);
        int n = GetPanelCtrlCount(panel);
        for (int id = 1; id <= n; ++id) {
            char name[64] = "", cb[64] = "";
            GetCtrlName(panel, id, name, sizeof name);
            GetCtrlCallbackName(panel, id, cb, sizeof cb);
            if (!cb[0]) continue;
            const CallbackEntry* e = ProgramEntry(cb);
            ASSERT_NE(e, nullptr) << pc.name << "." << name << " names unknown callback " << cb;
            EXPECT_NE(e->ctrl, nullptr) << pc.name << "." << name << ": " << cb << " is a panel callback";
        }
    }
}

TEST_F(PanelDefinitions, ClosingEachPanelReachesItsOwnPanelCallback) {
    const Panels& ps = Loaded();
    const struct {
        int panel;
        const char* callback;
    } cases[] = {
        {ps.p, "CBF_P"}, {ps.recp, "CBF_RECP"}, {ps.calibp, "CBF_CALIBP"}, {ps.graphp, "CBF_GRAPHP"}};
    for (const auto& c : cases) {
        g_panelEvents.clear();
        DisplayPanel(c.panel);
        sim::Close(c.panel);
        sim::Pump(20);
        HidePanel(c.panel);
        ASSERT_EQ(g_panelEvents.size(), 1u) << c.callback;
        EXPECT_STREQ(g_panelEvents[0].name, c.callback);
        EXPECT_EQ(g_panelEvents[0].panel, c.panel);
        EXPECT_EQ(g_panelEvents[0].event, EVENT_CLOSE);
    }
}

TEST_F(PanelDefinitions, RingsCarryTheirItemValues) {
    for (const paneltable::Ring& r : paneltable::kRings) {
        int panel = Loaded().ByResource(r.panelResource);
        char name[64] = "";
        GetCtrlName(panel, r.id, name, sizeof name);
        SCOPED_TRACE(name);
        unsigned short v = 0xFFFF;
        ASSERT_EQ(GetCtrlVal(panel, r.id, &v), UIE_OK);
        EXPECT_EQ(v, r.initial);
        // Every listed value can be chosen, in reverse so that each choice changes the value.
        for (int i = r.count - 1; i >= 0; --i) {
            EXPECT_EQ(SetCtrlVal(panel, r.id, r.values[i]), UIE_OK) << "value " << r.values[i];
            ASSERT_EQ(GetCtrlVal(panel, r.id, &v), UIE_OK);
            EXPECT_EQ(v, r.values[i]);
        }
        // Nothing beyond them.
        EXPECT_NE(SetCtrlVal(panel, r.id, r.values[r.count - 1] + 1), UIE_OK);
        if (r.values[0] > 0) {
            EXPECT_NE(SetCtrlVal(panel, r.id, r.values[0] - 1), UIE_OK);
        }
        SetCtrlVal(panel, r.id, r.initial);
    }
}

TEST_F(PanelDefinitions, NumericInputsAndSlidersKeepTheirRanges) {
    for (const paneltable::Range& r : paneltable::kRanges) {
        int panel = Loaded().ByResource(r.panelResource);
        char name[64] = "";
        GetCtrlName(panel, r.id, name, sizeof name);
        SCOPED_TRACE(name);
        int type = 0;
        GetCtrlAttribute(panel, r.id, ATTR_DATA_TYPE, &type);
        if (type == DT_S16) {
            short v0 = 0, v = 0;
            GetCtrlVal(panel, r.id, &v0);
            EXPECT_GE(v0, r.min);
            EXPECT_LE(v0, r.max);
            SetCtrlVal(panel, r.id, static_cast<short>(32767));
            GetCtrlVal(panel, r.id, &v);
            EXPECT_EQ(v, r.max);
            SetCtrlVal(panel, r.id, static_cast<short>(-32768));
            GetCtrlVal(panel, r.id, &v);
            EXPECT_EQ(v, r.min);
            SetCtrlVal(panel, r.id, v0);
        } else {
            unsigned short v0 = 0, v = 0;
            GetCtrlVal(panel, r.id, &v0);
            EXPECT_GE(v0, r.min);
            EXPECT_LE(v0, r.max);
            SetCtrlVal(panel, r.id, static_cast<unsigned short>(65535));
            GetCtrlVal(panel, r.id, &v);
            EXPECT_EQ(v, r.max);
            SetCtrlVal(panel, r.id, static_cast<unsigned short>(0));
            GetCtrlVal(panel, r.id, &v);
            EXPECT_EQ(v, r.min);
            SetCtrlVal(panel, r.id, v0);
        }
    }
}

TEST_F(PanelDefinitions, RecordTimeOfTheLargestInputsFitsASigned32BitInteger) {
    int rp = Loaded().recp;
    unsigned short interval = 0, count = 0, i0 = 0, c0 = 0;
    GetCtrlVal(rp, RECP_EDITINTERVAL, &i0);
    GetCtrlVal(rp, RECP_EDITRECVAL, &c0);
    SetCtrlVal(rp, RECP_EDITINTERVAL, static_cast<unsigned short>(65535));
    SetCtrlVal(rp, RECP_EDITRECVAL, static_cast<unsigned short>(65535));
    GetCtrlVal(rp, RECP_EDITINTERVAL, &interval);
    GetCtrlVal(rp, RECP_EDITRECVAL, &count);
    EXPECT_LT(static_cast<int64_t>(interval) * count, INT64_C(2147483647));
    SetCtrlVal(rp, RECP_EDITINTERVAL, i0);
    SetCtrlVal(rp, RECP_EDITRECVAL, c0);
}

TEST_F(PanelDefinitions, TeachTableHas31RowsOf4CellsAllOne) {
    int p = Loaded().p;
    for (int row = 1; row <= 31; ++row) {
        for (int col = 1; col <= 4; ++col) {
            unsigned short v = 0;
            ASSERT_EQ(GetTableCellVal(p, P_TEACHTABLE, col, row, &v), UIE_OK) << col << "," << row;
            EXPECT_EQ(v, 1) << col << "," << row;
        }
    }
    unsigned short v = 0;
    EXPECT_NE(GetTableCellVal(p, P_TEACHTABLE, 5, 1, &v), UIE_OK);
    EXPECT_NE(GetTableCellVal(p, P_TEACHTABLE, 1, 32, &v), UIE_OK);
    const char* labels[] = {"NORM", "N TOL", "INT", "I TOL"};
    for (int col = 1; col <= 4; ++col) {
        char text[64] = "";
        EXPECT_EQ(GetTableColumnAttribute(p, P_TEACHTABLE, col, ATTR_COLUMN_LABEL_TEXT, text, sizeof text),
                  UIE_OK);
        EXPECT_STREQ(text, labels[col - 1]);
    }
}

TEST_F(PanelDefinitions, FunctionKeysCommitTheTransferButtons) {
    int p = Loaded().p;
    const struct {
        const char* key;
        int control;
    } keys[] = {{"F9", P_BUTTONSEND}, {"F10", P_BUTTONGET}, {"F11", P_BUTTONGO}, {"F12", P_BUTTONSTOP}};
    DisplayPanel(p);
    for (const auto& k : keys) {
        g_ctrlEvents.clear();
        sim::Key(p, k.key);
        sim::Pump(20);
        bool committed = false;
        for (const CtrlEvent& e : g_ctrlEvents) {
            EXPECT_EQ(e.control, k.control) << k.key << " reached another control";
            if (e.panel == p && e.control == k.control && e.event == EVENT_COMMIT) committed = true;
        }
        EXPECT_TRUE(committed) << k.key;
    }
    HidePanel(p);
}

TEST_F(PanelDefinitions, InitialStatesAgreeWithTheStartValues) {
    const Panels& ps = Loaded();
    int v = -1;
    GetCtrlVal(ps.p, P_SELECTRAM, &v);
    EXPECT_EQ(v, 1);
    GetCtrlVal(ps.p, P_SELECTEEPROM, &v);
    EXPECT_EQ(v, 0);
    GetCtrlVal(ps.p, P_SELECTFILE, &v);
    EXPECT_EQ(v, 0);
    GetCtrlVal(ps.p, P_PARAVISIBLE, &v);
    EXPECT_EQ(v, 1);
    char file[260] = "";
    EXPECT_EQ(GetCtrlVal(ps.recp, RECP_DISPRECFILE, file, sizeof file), UIE_OK);
    EXPECT_STREQ(file, "record.dat");
    // Only the first graph of GRAPHP shows before a signal is chosen.
    for (int id = GRAPHP_PANELGRAPHCHREF; id <= GRAPHP_PANELGRAPHTEMP; ++id) {
        EXPECT_EQ(Visible(ps.graphp, id), id == GRAPHP_PANELGRAPHCHREF ? 1 : 0) << id;
    }
    EXPECT_EQ(Visible(ps.p, P_DISPGFBIG), 0);
}

TEST_F(PanelDefinitions, StackedChartsShareOneArea) {
    const Panels& ps = Loaded();
    Rect s = CtrlRect(ps.p, P_GRAPHNORM);
    EXPECT_GT(s.width, 400);
    EXPECT_GT(s.height, 250);
    for (int id : {P_GRAPHINT, P_GRAPHGF, P_GRAPHRAW1}) {
        Rect r = CtrlRect(ps.p, id);
        EXPECT_EQ(r.left, s.left);
        EXPECT_EQ(r.top, s.top);
        EXPECT_EQ(r.width, s.width);
        EXPECT_EQ(r.height, s.height);
    }
    // The big display lies over the scope.
    Rect big = CtrlRect(ps.p, P_DISPGFBIG);
    EXPECT_EQ(Overlap(big, s), static_cast<long>(big.width) * big.height);
    Rect g = CtrlRect(ps.graphp, GRAPHP_PANELGRAPHCHREF);
    for (int id = GRAPHP_PANELGRAPHCHDIR; id <= GRAPHP_PANELGRAPHTEMP; ++id) {
        Rect r = CtrlRect(ps.graphp, id);
        EXPECT_TRUE(r.left == g.left && r.top == g.top && r.width == g.width && r.height == g.height) << id;
    }
}

TEST_F(PanelDefinitions, ParameterAndTeachGroupsShareOneAreaApartFromTheRest) {
    const Panels& ps = Loaded();
    const int para[] = {P_SLIDEPOWER, P_EDITPMOD,  P_EDITAVERAGE,        P_EVALMODE,    P_EDITHOLD,
                        P_EDITINTLIM, P_EDITMAXNO, P_EDITDIGITALOUTMODE, P_EDITTRIGGER, P_EXTERNTEACH,
                        P_ANAOUTBEG,  P_ANAOUTEND, P_EDITBIAS,           P_PARADECO1,   P_PARADECO2,
                        P_PARADECO3,  P_PARADECO4, P_PARADECO5,          P_PARADECO6,   P_PARADECO7,
                        P_PARADECO8,  P_PARADECO9, P_PARADECO10};
    const int teach[] = {P_TEACHTABLE, P_EDITNO, P_RADIOINC, P_BUTTONTEACHDATATO, P_BUTTONRESETTABLE};
    Rect a = Union(ps.p, para, static_cast<int>(std::size(para)));
    Rect b = Union(ps.p, teach, static_cast<int>(std::size(teach)));
    long smaller = std::min(static_cast<long>(a.width) * a.height, static_cast<long>(b.width) * b.height);
    EXPECT_GE(Overlap(a, b), smaller * 8 / 10) << "the two views should take the same place";
    // Neither view covers a control that stays shown in both.
    for (int id = 1; id <= GetPanelCtrlCount(ps.p); ++id) {
        bool inGroup = false;
        for (int x : para) inGroup |= x == id;
        for (int x : teach) inGroup |= x == id;
        if (inGroup || id == P_HEADERBACKGROUND) continue;
        Rect r = CtrlRect(ps.p, id);
        EXPECT_EQ(Overlap(r, a), 0) << "control " << id << " lies in the parameter area";
        EXPECT_EQ(Overlap(r, b), 0) << "control " << id << " lies in the teach-table area";
    }
}

TEST_F(PanelDefinitions, EveryPanelFitsTheScreenAndHoldsItsControls) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const PanelCase& pc : kPanels) {
        SCOPED_TRACE(pc.name);
        int panel = Loaded().ByResource(pc.resource);
        QString file = QDir(dir.path()).filePath(QStringLiteral("%1.png").arg(pc.name));
        ASSERT_EQ(SavePanelImage(panel, file.toLocal8Bit().constData()), UIE_OK);
        QImage img(file);
        ASSERT_FALSE(img.isNull());
        // Room is left for the window frame and a task bar on a 1366x768 screen.
        EXPECT_LE(img.width(), 1366);
        EXPECT_LE(img.height(), 768 - 40);
        for (int id = 1; id <= GetPanelCtrlCount(panel); ++id) {
            Rect r = CtrlRect(panel, id);
            EXPECT_GE(r.left, 0) << id;
            EXPECT_GE(r.top, 0) << id;
            EXPECT_GT(r.width, 0) << id;
            EXPECT_GT(r.height, 0) << id;
            EXPECT_LE(r.right(), img.width()) << id;
            EXPECT_LE(r.bottom(), img.height()) << id;
        }
    }
    // The main panel uses most of the screen.
    QImage main(QDir(dir.path()).filePath("P.png"));
    EXPECT_GE(main.width(), 1200);
    EXPECT_GE(main.height(), 680);
}
