// corvel-screenshot: loads the four panels off screen and saves each as a
// PNG, for checking the panel definitions by eye.
//
//   corvel-screenshot [--logo] [--views] [--demo] [--looks WxH] <folder>
//   corvel-screenshot --gallery <folder>
//
//   --logo     build the start-up branding header (ShowLogo(5)) on P
//   --views    also save P in its other views: teach table, GF source with
//              the big display, raw channels
//   --demo     fill displays and charts with made-up values, so that fonts,
//              trace colours and ranges can be judged
//   --looks    save every panel in the light and the dark scheme, each at its
//              minimum size and at the size W x H (a maximised window);
//              names end in -light-min, -dark-max and so on
//   --sources  with --views: P with each of the four scope sources, one
//              file each and the four side by side in P-sources*.png, to
//              see that nothing moves when the source changes
//   --gallery  all of the above at 100 %, 150 % and 200 % scaling of a
//              1920 x 1080 screen, one run of this program per scaling;
//              names carry the percentage (P-teach-150-dark-max.png)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "branding/branding.h"
#include "calib/calib.h"
#include "display/display.h"
#include "params/params.h"
#include "platform/platform.h"
#include "platform/theme.h"
#include "uir_ids.h"

namespace {

const char* g_dir = nullptr;
int g_failures = 0;
const char* g_suffix = "";  // scaling, scheme and size of the current look
// Size of each panel while saving: 0 leaves it, -1 its minimum, else a maximised window.
int g_width = 0, g_height = 0;

void Save(int panel, const char* name) {
    if (g_width < 0) {
        int w = 0, h = 0;
        GetPanelMinimumSize(panel, &w, &h);
        SetPanelSize(panel, w, h);
    } else if (g_width > 0) {
        SetPanelSize(panel, g_width, g_height);
    }
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s%s.png", g_dir, name, g_suffix);
    if (SavePanelImage(panel, path) < 0) {
        std::fprintf(stderr, "corvel-screenshot: cannot save %s\n", path);
        ++g_failures;
    } else {
        std::printf("%s\n", path);
    }
}

// A smooth made-up signal around `mid`, for sample k of 100.
double Wave(double mid, double amp, int k, double phase) {
    return mid + amp * std::sin(k * 0.12 + phase) + 0.3 * amp * std::sin(k * 0.43 + 2 * phase);
}

// Three interleaved traces: a signal and its tolerance band.
void PlotBand(int control, double mid, double amp, double tol) {
    static double buf[corvel::kHistoryLength];
    for (int k = 0; k < 100; ++k) {
        buf[3 * k] = Wave(mid, amp, k, 0.0);
        buf[3 * k + 1] = mid + tol;
        buf[3 * k + 2] = mid - tol;
    }
    PlotStripChart(corvel::panel, control, buf, corvel::kHistoryLength, 0, 0, DT_DOUBLE);
}

void Demo() {
    using corvel::panel;
    SetCtrlVal(panel, P_DISPSTATUS, "CORVEL GLOSS SENSOR GS-100  FIRMWARE V2.0 12/2026");
    SetCtrlVal(panel, P_DISPCHREF, (unsigned short)2871);
    SetCtrlVal(panel, P_DISPCHDIR, (unsigned short)3702);
    SetCtrlVal(panel, P_DISPCHDIF, (unsigned short)1288);
    SetCtrlVal(panel, P_BARCHREF, (unsigned short)2871);
    SetCtrlVal(panel, P_BARCHDIR, (unsigned short)3702);
    SetCtrlVal(panel, P_BARCHDIF, (unsigned short)1288);
    SetCtrlVal(panel, P_DISPNORM, (unsigned short)742);
    SetCtrlVal(panel, P_DISPINT, (unsigned short)2495);
    SetCtrlVal(panel, P_DISPVEC, (unsigned short)3);
    SetCtrlVal(panel, P_DISPTEMP, (unsigned short)412);
    SetCtrlVal(panel, P_DISPGF, 100.3);
    SetCtrlVal(panel, P_DISPGFBIG, 100.3);
    PlotBand(P_GRAPHNORM, 742, 12, 25);
    PlotBand(P_GRAPHINT, 2495, 60, 100);
    PlotBand(P_GRAPHGF, 1003, 8, 20);
    static double raw[corvel::kHistoryLength];
    for (int k = 0; k < 100; ++k) {
        raw[3 * k] = Wave(2871, 30, k, 0.5);
        raw[3 * k + 1] = Wave(3702, 45, k, 1.0);
        raw[3 * k + 2] = Wave(1288, 25, k, 2.0);
    }
    PlotStripChart(panel, P_GRAPHRAW1, raw, corvel::kHistoryLength, 0, 0, DT_DOUBLE);

    const int rp = corvel::recpanel;
    ResetTextBox(rp, RECP_DISPRECFILE, "/home/operator/corvel/record.dat");
    SetCtrlVal(rp, RECP_DISPRECORDDAYS, 0);
    SetCtrlVal(rp, RECP_DISPRECORDHOURS, 2);
    SetCtrlVal(rp, RECP_DISPRECORDMINUTES, 46);
    SetCtrlVal(rp, RECP_DISPRECORDSECONDS, 40);
    SetCtrlVal(rp, RECP_DISPRECORDEDVALUES, (unsigned short)120);
    SetCtrlVal(rp, RECP_DISPREMAINING, 880);
    SetCtrlVal(rp, RECP_DISPGFRECORD, (unsigned short)1003);
    SetCtrlVal(rp, RECP_RECDISPCHREF, (unsigned short)2871);
    SetCtrlVal(rp, RECP_RECDISPCHDIR, (unsigned short)3702);
    SetCtrlVal(rp, RECP_RECDISPCHDIF, (unsigned short)1288);
    SetCtrlVal(rp, RECP_RECBARCHREF, (unsigned short)2871);
    SetCtrlVal(rp, RECP_RECBARCHDIR, (unsigned short)3702);
    SetCtrlVal(rp, RECP_RECBARCHDIF, (unsigned short)1288);
    SetCtrlVal(rp, RECP_RECDISPNORM, (unsigned short)742);
    SetCtrlVal(rp, RECP_RECDISPINT, (unsigned short)2495);
    SetCtrlVal(rp, RECP_RECDISPTEMP, (unsigned short)412);

    const int cp = corvel::calibpanel;
    SetCtrlVal(cp, CALIBP_SLIDEREFPOWER, (unsigned short)640);
    SetCtrlVal(cp, CALIBP_CALIBDISPCHDIR, (unsigned short)3842);
    SetCtrlVal(cp, CALIBP_CALIBDISPCHREF, (unsigned short)2903);
    corvel::ShowCalibWindow(3842);

    const int gp = corvel::graphpanel;
    double x[2] = {0, 0}, y[2] = {2871, 2871};
    for (int k = 1; k < 200; ++k) {
        x[0] = x[1];
        y[0] = y[1];
        x[1] = k;
        y[1] = Wave(2871, 30, k, 0.5);
        PlotXY(gp, GRAPHP_PANELGRAPHCHREF, x, y, 2, DT_DOUBLE, DT_DOUBLE, VAL_CONNECTED_POINTS, VAL_NO_POINT,
               VAL_SOLID, 1, 0xFF0000);
    }
    SetCtrlVal(gp, GRAPHP_DISPCHREFGRAPH, 2871);
    SetCtrlVal(gp, GRAPHP_DISPCHDIRGRAPH, 3702);
    SetCtrlVal(gp, GRAPHP_DISPCHDIFGRAPH, 1288);
    SetCtrlVal(gp, GRAPHP_DISPNORMGRAPH, 742);
    SetCtrlVal(gp, GRAPHP_DISPINTGRAPH, 2495);
    SetCtrlVal(gp, GRAPHP_DISPGFGRAPH, 1003);
    SetCtrlVal(gp, GRAPHP_DISPTEMPGRAPH, 412);
}

void SetSource(unsigned short source) {
    SetCtrlVal(corvel::panel, P_SELECTSOURCE, source);
    corvel::DispVis();
}

bool g_sources = false;

// P with each source, and the four side by side (two by two).
void SaveSources() {
    static const char* const names[] = {"NORM", "INT", "GF", "RAW"};
    QImage shots[4];
    for (unsigned short source = 0; source < 4; ++source) {
        SetSource(source);
        char name[32];
        std::snprintf(name, sizeof name, "P-source-%s", names[source]);
        Save(corvel::panel, name);
        char path[1024];
        std::snprintf(path, sizeof path, "%s/%s%s.png", g_dir, name, g_suffix);
        shots[source].load(QString::fromLocal8Bit(path));
    }
    SetSource(0);
    const int w = shots[0].width(), h = shots[0].height(), gap = 8;
    if (w <= 0 || h <= 0) return;
    QImage all(2 * w + gap, 2 * h + gap, QImage::Format_RGB32);
    all.fill(Qt::magenta);  // the gaps: where one picture ends
    QPainter painter(&all);
    for (int i = 0; i < 4; ++i) painter.drawImage((i % 2) * (w + gap), (i / 2) * (h + gap), shots[i]);
    painter.end();
    char path[1024];
    std::snprintf(path, sizeof path, "%s/P-sources%s.png", g_dir, g_suffix);
    if (!all.save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "corvel-screenshot: cannot save %s\n", path);
        ++g_failures;
    } else {
        std::printf("%s\n", path);
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: corvel-screenshot [--logo] [--views] [--sources] [--demo] [--looks WxH] <folder>\n"
                 "       corvel-screenshot --gallery <folder>\n");
    return 2;
}

void SaveAll(bool views) {
    using corvel::panel;
    Save(panel, "P");
    Save(corvel::recpanel, "RECP");
    Save(corvel::calibpanel, "CALIBP");
    Save(corvel::graphpanel, "GRAPHP");
    if (!views) return;
    SetCtrlVal(panel, P_PARAVISIBLE, 0);
    corvel::ParaInVis();
    Save(panel, "P-teach");
    SetCtrlVal(panel, P_PARAVISIBLE, 1);
    corvel::ParaVis();
    SetSource(2);
    SetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, 1);
    Save(panel, "P-gf");
    SetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, 0);
    SetSource(3);
    Save(panel, "P-raw");
    SetSource(0);
    if (g_sources) SaveSources();
}

// Light and dark, each at the minimum size and at the given size.
void SaveLooks(bool views, const char* tag, int width, int height) {
    static char suffix[64];
    g_suffix = suffix;
    for (const char* scheme : {"light", "dark"}) {
        UseColourScheme(std::strcmp(scheme, "dark") == 0 ? SCHEME_DARK : SCHEME_LIGHT);
        for (bool max : {false, true}) {
            std::snprintf(suffix, sizeof suffix, "%s-%s-%s", tag, scheme, max ? "max" : "min");
            g_width = max ? width : -1;
            g_height = max ? height : -1;
            SaveAll(views);
        }
    }
}

// Runs this program once per scaling factor, each saving its looks.
int Gallery(const char* dir) {
    const struct {
        const char* factor;
        const char* tag;
        const char* screen;  // 1920 x 1080 in logical pixels
    } scales[] = {{"1", "-100", "1920x1080"}, {"1.5", "-150", "1280x720"}, {"2", "-200", "960x540"}};
    int failed = 0;
    for (const auto& s : scales) {
        pid_t pid = fork();
        if (pid == 0) {
            setenv("QT_SCALE_FACTOR", s.factor, 1);
            const char* args[] = {
                "corvel-screenshot", "--logo", "--views", "--sources", "--demo", "--tag", s.tag,
                "--looks",           s.screen, dir,       nullptr};
            execv("/proc/self/exe", const_cast<char**>(args));
            std::perror("corvel-screenshot: cannot run itself");
            _exit(127);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "corvel-screenshot: the run at %s %% failed\n", s.tag + 1);
            ++failed;
        }
    }
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool logo = false, views = false, demo = false, gallery = false;
    const char* tag = "";
    int width = 0, height = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gallery") == 0) {
            gallery = true;
        } else if (std::strcmp(argv[i], "--tag") == 0 && i + 1 < argc) {
            tag = argv[++i];
        } else if (std::strcmp(argv[i], "--looks") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0)
                return Usage();
        } else if (std::strcmp(argv[i], "--logo") == 0) {
            logo = true;
        } else if (std::strcmp(argv[i], "--views") == 0) {
            views = true;
        } else if (std::strcmp(argv[i], "--sources") == 0) {
            g_sources = true;
        } else if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else if (argv[i][0] == '-' || g_dir) {
            return Usage();
        } else {
            g_dir = argv[i];
        }
    }
    if (!g_dir) return Usage();
    mkdir(g_dir, 0755);
    if (gallery) return Gallery(g_dir);

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (InitCVIRTE(0, argv, 0) == 0) return 1;
    corvel::RegisterProgramCallbacks();
    GetProjectDir(corvel::proj_dir);

    using corvel::panel;
    if (corvel::LoadPanels() < 0) {
        std::fprintf(stderr, "corvel-screenshot: cannot load the panels from %s\n", corvel::kPanelFile);
        return 1;
    }

    // The view start-up shows: parameters, the NORM source, no big display.
    SetCtrlVal(panel, P_PARAVISIBLE, 1);
    corvel::ParaVis();
    SetSource(0);
    SetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, 0);
    // The teach rows show which are evaluated, as after a read.
    GetCtrlVal(panel, P_EDITMAXNO, &corvel::maxno);
    corvel::RowMarking();
    if (logo) corvel::ShowLogo(5);
    if (demo) Demo();

    if (width > 0) {
        SaveLooks(views, tag, width, height);
    } else {
        SaveAll(views);
    }
    return g_failures ? 1 : 0;
}
