// corvel-report: the helper behind "corvel-ctl report". It draws the page
// with Qt's PDF writer, so it links Qt Gui, which corvel-ctl itself must not;
// it needs no display (the offscreen platform is chosen here).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "ctl/ctl.h"
#include "ctl/judge.h"
#include "platform/files.h"
#include "recorder/recreport.h"

static std::string NowIso() {
    return corvel::RecordWhen(DateStr(), TimeStr());
}

// Only what goes wrong reaches standard error: the offscreen platform's
// notes (no runtime folder and the like) would read like faults in a script.
static void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "corvel-report: %s\n", qPrintable(text));
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
    ctl::Options opt;
    std::string why;
    if (!ctl::ParseOptions(argc, argv, &opt, &why) || opt.command != "report") {
        std::fprintf(stderr, "corvel-report: %s\n(run it as corvel-ctl report FILE -o OUT.pdf)\n",
                     why.empty() ? "the command must be report" : why.c_str());
        return ctl::kBadInput;
    }
    int qargc = 1;
    QGuiApplication app(qargc, argv);
    ctl::Judged j;
    if (!ctl::LoadJudged(opt, &j)) return ctl::kBadInput;
    corvel::ReportInput in;
    in.records = j.parsed.records.data();
    in.range = j.range;
    in.signal = j.signal;
    in.hasBand = j.hasBand;
    in.band = j.band;
    in.path = opt.args[0];
    in.now = NowIso();
    if (!WriteReportPdf(opt.output, corvel::BuildReportPage(in), &why)) {
        std::fprintf(stderr, "corvel-ctl: %s\n", why.c_str());
        return ctl::kBadInput;
    }
    std::fprintf(stderr, "corvel-ctl: report of %zu frames written to %s\n", j.range.n, opt.output.c_str());
    return j.damaged ? ctl::kNoReply : ctl::kDone;
}
