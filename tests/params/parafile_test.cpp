// The parameter file: round trip, the stored format, files of other makers'
// editors, and files that must be refused without touching anything.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/helptexts.h"
#include "fixture.h"
#include "params/params.h"
#include "platform/files.h"
#include "support/sandbox.h"

namespace paramtest {
namespace {

// Each run leaves nothing behind in /tmp: the folder goes at exit.
std::string TempDir() {
    static const testsupport::TempFolder dir("corvel-params");
    return dir.path.empty() ? std::string("/tmp") : dir.path;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// 140 values, one per line, right-aligned in five characters.
std::string FileOf(const std::vector<unsigned>& words, const char* eol = "\n") {
    std::string text;
    for (unsigned w : words) {
        char line[32];
        std::snprintf(line, sizeof line, "%5u%s", w, eol);
        text += line;
    }
    return text;
}

std::string ReadRefusal(const std::string& path) {
    return "The file\n" + path + "\nis not a valid parameter file.\nNothing has been loaded.";
}

// Everything a load may change: the packet, the variables, the panel.
struct State {
    unsigned short pp[173];
    unsigned short vars[12];
    short bias;
    unsigned short ctt[31][4];
    unsigned short ctrls[14];
    short shownBias;
    unsigned short cells[31][4];
    int dims[5];
    int rowColours[31];
    std::string labels[4];
};

const int kCtrls[14] = {P_SLIDEPOWER, P_EDITPMOD,  P_EDITAVERAGE,        P_EVALMODE,    P_EDITHOLD,
                        P_EDITINTLIM, P_EDITMAXNO, P_EDITDIGITALOUTMODE, P_EDITTRIGGER, P_EXTERNTEACH,
                        P_ANAOUTBEG,  P_ANAOUTEND, P_SELECTSOURCE,       P_EDITNO};
const int kDims[5] = {P_SLIDEPOWER, P_EDITPMOD, P_EDITINTLIM, P_EDITBIAS, P_EDITTRIGGER};

State Capture() {
    State s;
    std::memcpy(s.pp, pp, sizeof s.pp);
    const unsigned short v[12] = {power, pmod,       average, evalmode, hold,      intlim,
                                  maxno, digitalout, trigger, extteach, anaoutbeg, anaoutend};
    std::memcpy(s.vars, v, sizeof v);
    s.bias = bias;
    std::memcpy(s.ctt, ctt, sizeof s.ctt);
    for (int i = 0; i < 14; ++i) s.ctrls[i] = U16(kCtrls[i]);
    s.shownBias = 0;
    GetCtrlVal(panel, P_EDITBIAS, &s.shownBias);
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c) s.cells[r][c] = Cell(c + 1, r + 1);
    for (int i = 0; i < 5; ++i) s.dims[i] = Attr(kDims[i], ATTR_DIMMED);
    for (int r = 0; r < 31; ++r) s.rowColours[r] = RowColour(r + 1);
    for (int c = 0; c < 4; ++c) s.labels[c] = ColumnLabel(c + 1);
    return s;
}

::testing::AssertionResult Same(const State& a, const State& b) {
    if (std::memcmp(a.pp, b.pp, sizeof a.pp)) return ::testing::AssertionFailure() << "packet changed";
    if (std::memcmp(a.vars, b.vars, sizeof a.vars) || a.bias != b.bias)
        return ::testing::AssertionFailure() << "parameter variables changed";
    if (std::memcmp(a.ctt, b.ctt, sizeof a.ctt)) return ::testing::AssertionFailure() << "ctt changed";
    if (std::memcmp(a.ctrls, b.ctrls, sizeof a.ctrls) || a.shownBias != b.shownBias)
        return ::testing::AssertionFailure() << "controls changed";
    if (std::memcmp(a.cells, b.cells, sizeof a.cells))
        return ::testing::AssertionFailure() << "table changed";
    if (std::memcmp(a.dims, b.dims, sizeof a.dims)) return ::testing::AssertionFailure() << "dimming changed";
    if (std::memcmp(a.rowColours, b.rowColours, sizeof a.rowColours))
        return ::testing::AssertionFailure() << "row marking changed";
    for (int c = 0; c < 4; ++c)
        if (a.labels[c] != b.labels[c]) return ::testing::AssertionFailure() << "column labels changed";
    return ::testing::AssertionSuccess();
}

class ParaFile : public ParamsTest {
protected:
    void SetUp() override {
        ParamsTest::SetUp();
        GetProjectDir(proj_dir);
        dir = TempDir();
        path = dir + "/init.dat";
        CVI_DeleteFile(path.c_str());
    }

    // A full parameter set on the panel; binary outputs so that no check warns.
    void PanelSet(unsigned short seed) {
        power = 100 + seed;
        pmod = 1;
        average = 200 + seed;
        evalmode = 1;
        hold = 300 + seed;
        intlim = 400 + seed;
        maxno = 17;
        digitalout = 1;
        trigger = 2;
        extteach = 0;
        anaoutbeg = 500 + seed;
        anaoutend = 3000 + seed;
        bias = -20;
        for (int r = 0; r < 31; ++r)
            for (int c = 0; c < 4; ++c) ctt[r][c] = static_cast<unsigned short>(seed * 1000 + r * 4 + c);
        SetPanelValues();
    }

    // A state to load over: different in every word from PanelSet.
    void OtherState() {
        power = 1;
        pmod = 0;
        average = 2;
        evalmode = 0;
        hold = 3;
        intlim = 4;
        maxno = 2;
        digitalout = 1;
        trigger = 0;
        extteach = 0;
        anaoutbeg = 5;
        anaoutend = 6;
        bias = 500;
        for (int r = 0; r < 31; ++r)
            for (int c = 0; c < 4; ++c) ctt[r][c] = 1;
        SetPanelValues();
        InitEval();
        pp[13] = pp[14] = pp[15] = 0;
    }

    void Load(const std::string& file) {
        seam::ExpectFile(1, file);
        ReadParaFromFile();
    }

    // Loading `file` is refused with the notice and leaves everything as it was.
    void ExpectRefused(const std::string& file, const char* what) {
        SCOPED_TRACE(what);
        OtherState();
        seam::Clear();
        const State before = Capture();
        seam::ExpectFile(1, file);
        seam::ExpectMessage();
        ReadParaFromFile();
        if (seam::Pending()) {
            ADD_FAILURE() << "no notice shown";
            seam::Install();  // keep the next case's script in step
            return;
        }
        ASSERT_EQ(seam::Shown().size(), 2u);
        EXPECT_EQ(seam::Shown()[1].title, "ATTENTION!");
        EXPECT_EQ(seam::Shown()[1].text, ReadRefusal(file));
        EXPECT_TRUE(Same(before, Capture()));
    }

    std::vector<unsigned> ValidWords() {
        std::vector<unsigned> w(140);
        for (int i = 0; i < 140; ++i) w[i] = 10 + i;
        // Rings and switches hold only their items.
        w[1] = 1;     // pmod DYN
        w[3] = 1;     // evalmode GF
        w[6] = 4;     // maxno
        w[7] = 1;     // BINARY
        w[8] = 2;     // trigger EXT2
        w[9] = 1;     // extern teach
        w[12] = 990;  // bias -10
        return w;
    }

    std::string dir;
    std::string path;
};

TEST_F(ParaFile, BothDirectionsAskWithTheSameFilePopup) {
    seam::ExpectFile(2, path);
    SendParaToFile();
    seam::ExpectFile(1, path);
    ReadParaFromFile();
    ASSERT_EQ(seam::Shown().size(), 2u);
    for (const seam::Popup& p : seam::Shown()) {
        EXPECT_EQ(p.kind, seam::Kind::FileSelect);
        EXPECT_EQ(p.title, "init");
        EXPECT_EQ(p.text, "init.dat");
        EXPECT_EQ(p.directory, proj_dir);
        EXPECT_EQ(p.filter, "*.dat");
    }
    EXPECT_STREQ(file_name, path.c_str());
}

TEST_F(ParaFile, CancellingDoesNothing) {
    PanelSet(1);
    pp[13] = 4;
    const State before = Capture();
    seam::ExpectFile(0, "");
    SendParaToFile();
    EXPECT_NE(access(path.c_str(), F_OK), 0) << "no file written";
    WriteText(path, FileOf(ValidWords()));
    seam::ExpectFile(0, "");
    ReadParaFromFile();
    EXPECT_TRUE(Same(before, Capture()));
    EXPECT_EQ(seam::Shown().size(), 2u) << "only the two file popups";
}

TEST_F(ParaFile, RoundTripRestoresEveryParameterTheTableAndPassThroughWords) {
    PanelSet(2);
    pp[13] = 7;
    pp[14] = 8;
    pp[15] = 65535;
    seam::ExpectFile(2, path);
    SendParaToFile();

    // The stored image: 140 lines of five characters, bias offset by 1000.
    const std::string text = testsupport::FileBytes(path);
    ASSERT_EQ(text.size(), 140u * 6u);
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) all.push_back(line);
    ASSERT_EQ(all.size(), 140u);
    for (const std::string& l : all) EXPECT_EQ(l.size(), 5u) << "\"" << l << "\"";
    EXPECT_EQ(all[0], "  102");
    EXPECT_EQ(all[12], "  980");
    EXPECT_EQ(all[13], "    7");
    EXPECT_EQ(all[15], "65535");
    EXPECT_EQ(all[16], " 2000");
    EXPECT_EQ(all[139], " 2123");

    OtherState();
    Load(path);
    EXPECT_EQ(power, 102);
    EXPECT_EQ(pmod, 1);
    EXPECT_EQ(average, 202);
    EXPECT_EQ(evalmode, 1);
    EXPECT_EQ(hold, 302);
    EXPECT_EQ(intlim, 402);
    EXPECT_EQ(maxno, 17);
    EXPECT_EQ(digitalout, 1);
    EXPECT_EQ(trigger, 2);
    EXPECT_EQ(extteach, 0);
    EXPECT_EQ(anaoutbeg, 502);
    EXPECT_EQ(anaoutend, 3002);
    EXPECT_EQ(bias, -20);
    EXPECT_EQ(pp[13], 7);
    EXPECT_EQ(pp[14], 8);
    EXPECT_EQ(pp[15], 65535);
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(ctt[r][c], 2000 + r * 4 + c);
            EXPECT_EQ(Cell(c + 1, r + 1), 2000 + r * 4 + c);
        }
    // The panel shows the file, with the mode applied.
    EXPECT_EQ(U16(P_SLIDEPOWER), 102);
    EXPECT_EQ(U16(P_EDITMAXNO), 17);
    short shownBias = 0;
    GetCtrlVal(panel, P_EDITBIAS, &shownBias);
    EXPECT_EQ(shownBias, -20);
    EXPECT_EQ(ColumnLabel(1), "GF");
    EXPECT_EQ(RowColour(17), kGreen);
    EXPECT_EQ(RowColour(18), kRed);
    EXPECT_EQ(seam::Shown().size(), 2u) << "the two file popups and no notice";
}

TEST_F(ParaFile, MaxNoAboveThirtyOneLoadsAsThirtyOne) {
    std::vector<unsigned> w = ValidWords();
    w[6] = 40;
    WriteText(path, FileOf(w));
    OtherState();
    Load(path);
    EXPECT_EQ(maxno, 31);
    EXPECT_EQ(U16(P_EDITMAXNO), 31);
    EXPECT_EQ(RowColour(31), kGreen);
    EXPECT_EQ(bias, -10);
}

TEST_F(ParaFile, ValuesThePanelCannotHoldAreReportedOnce) {
    std::vector<unsigned> w = ValidWords();
    w[0] = 1200;   // power
    w[2] = 0;      // average
    w[5] = 5000;   // intlim
    w[11] = 6000;  // anaoutend
    w[3] = 7;      // evalmode: no such item
    WriteText(path, FileOf(w));
    OtherState();
    seam::ExpectFile(1, path);
    seam::ExpectMessage();
    ReadParaFromFile();
    ASSERT_EQ(seam::Shown().size(), 2u);
    EXPECT_EQ(seam::Shown()[1].title, "ATTENTION!");
    EXPECT_EQ(
        seam::Shown()[1].text,
        " Some values read do not fit the panel: \n LED POWER: read 1200, the panel shows 1000 \n AVERAGE: "
        "read 0, the panel shows 1 \n EVALMODE: read 7, the panel shows 0 \n INTLIM: read 5000, the panel "
        "shows 4095 \n ANALOG OUT END: read 6000, the panel shows 4095 \n The panel values go to the sensor "
        "with the next send. ");
    EXPECT_EQ(pp[13], 23) << "pass-through words as read";
    EXPECT_EQ(ctt[0][0], 26) << "teach table as read";
}

TEST_F(ParaFile, OtherLineEndsAndPaddingRead) {
    const std::vector<unsigned> w = ValidWords();
    const std::string variants[] = {
        FileOf(w, "\r\n"),
        [&] {
            std::string t;
            for (size_t i = 0; i < w.size(); ++i)
                t += (i % 2 ? std::to_string(w[i]) + "   " : " " + std::to_string(w[i]) + "  ") + "\n";
            return t;
        }(),
        [&] {  // no final line end, values wider than the field
            std::string t;
            for (size_t i = 0; i < w.size(); ++i)
                t += (i ? "\r\n" : "") + std::string("00") + std::to_string(w[i]);
            return t;
        }(),
    };
    for (const std::string& v : variants) {
        OtherState();
        WriteText(path, v);
        Load(path);
        EXPECT_EQ(power, 10);
        EXPECT_EQ(maxno, 4);
        EXPECT_EQ(bias, -10);
        EXPECT_EQ(pp[15], 25);
        EXPECT_EQ(ctt[30][3], 149);
        EXPECT_EQ(Cell(4, 31), 149);
    }
    EXPECT_EQ(seam::Shown().size(), 3u) << "no notice on success";
}

TEST_F(ParaFile, BadFilesAreRefusedAndChangeNothing) {
    const std::vector<unsigned> good = ValidWords();
    const std::string full = FileOf(good);
    struct Bad {
        const char* what;
        std::string text;
    };
    std::vector<unsigned> short139(good.begin(), good.end() - 1);
    std::string letters = full;
    letters.replace(6 * 50, 5, "  1a2");
    std::string huge = full;
    huge.replace(6 * 70, 5, "65536");
    std::string negative = full;
    negative.replace(6 * 3, 5, "   -1");
    std::string fraction = full;
    fraction.replace(6 * 3, 5, "  1.5");
    std::string nul = full;
    nul[6 * 20 + 4] = '\0';  // "   3" followed by a NUL
    const Bad bad[] = {
        {"empty file", ""},
        {"139 values", FileOf(short139)},
        {"a value with letters", letters},
        {"above 65535", huge},
        {"a negative value", negative},
        {"a fraction", fraction},
        {"a NUL byte inside a number", nul},
        {"text", "This is no parameter file.\n"},
    };
    for (const Bad& b : bad) {
        WriteText(path, b.text);
        ExpectRefused(path, b.what);
    }
    ExpectRefused(dir + "/missing.dat", "missing file");
    ExpectRefused(dir, "a folder");
    // Neither blocks nor eats memory: refused at once like any unreadable file.
    const std::string fifo = dir + "/fifo.dat", zero = dir + "/zero.dat";
    unlink(fifo.c_str());
    unlink(zero.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    ExpectRefused(fifo, "a FIFO");
    ExpectRefused(zero, "a link to /dev/zero");
    WriteText(path, full + std::string(40000, ' '));
    ExpectRefused(path, "longer than any parameter file");
    // A file that cannot be read.
    const std::string locked = dir + "/locked.dat";
    WriteText(locked, full);
    chmod(locked.c_str(), 0);
    if (access(locked.c_str(), R_OK) != 0) ExpectRefused(locked, "unreadable file");
    chmod(locked.c_str(), 0600);
}

TEST_F(ParaFile, NewFileNameOnReadIsRefused) {
    const std::string fresh = dir + "/new.dat";
    OtherState();
    seam::Clear();
    const State before = Capture();
    seam::ExpectFile(2, fresh);
    seam::ExpectMessage();
    ReadParaFromFile();
    ASSERT_EQ(seam::Shown().size(), 2u);
    EXPECT_EQ(seam::Shown()[1].text, ReadRefusal(fresh));
    EXPECT_TRUE(Same(before, Capture()));
}

TEST_F(ParaFile, AFileThatCannotBeWrittenIsReported) {
    const std::string fifo = dir + "/out.fifo";
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& nowhere : {dir + "/no/such/folder/init.dat", fifo}) {
        PanelSet(3);
        seam::Clear();
        seam::ExpectFile(2, nowhere);
        seam::ExpectMessage();
        SendParaToFile();
        ASSERT_EQ(seam::Shown().size(), 2u);
        EXPECT_EQ(seam::Shown()[1].title, "ATTENTION!");
        EXPECT_EQ(seam::Shown()[1].text, "The parameter file\n" + nowhere + "\ncould not be saved.");
        EXPECT_EQ(power, 103) << "the panel was still read";
    }
}

// The values a strict reader takes from `text`: the first 140 blank-, tab-,
// comma- or line-separated tokens, each an optionally signed decimal number
// from 0 to 65535. False when the text is no valid parameter file.
bool StrictParse(const std::string& text, unsigned short* out) {
    size_t pos = 0;
    auto delim = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; };
    for (int i = 0; i < 140; ++i) {
        while (pos < text.size() && delim(text[pos])) ++pos;
        size_t start = pos;
        while (pos < text.size() && !delim(text[pos])) ++pos;
        std::string tok = text.substr(start, pos - start);
        if (tok.empty()) return false;
        size_t d = (tok[0] == '+' || tok[0] == '-') ? 1 : 0;
        if (d == tok.size()) return false;
        long value = 0;
        for (size_t k = d; k < tok.size(); ++k) {
            if (tok[k] < '0' || tok[k] > '9') return false;
            value = value * 10 + (tok[k] - '0');
            if (value > 65535) return false;
        }
        if (tok[0] == '-' && value != 0) return false;
        out[i] = static_cast<unsigned short>(value);
    }
    return true;
}

void Recording(const seam::Popup&) {}
void Failing(const seam::Popup& p) {
    ADD_FAILURE() << "unexpected popup: title \"" << p.title << "\" text \"" << p.text << "\"";
}

TEST_F(ParaFile, MutatedFilesLoadWhollyOrNotAtAll) {
    // Any notice may come (a refusal, or the vector-count warning of a
    // loaded file); which one is judged below.
    seam::SetUnexpectedHandler(Recording);
    std::mt19937 rng(20240611u);
    auto pick = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
    const char* junk[] = {"x",    "-", "+",   "1",    "99999", ",",    "\t",    "\r\n",
                          "\n\n", " ", "1e3", "0x1F", "#",     "\xff", "12 34", "-0"};
    int loaded = 0, refused = 0;
    for (int iter = 0; iter < 400; ++iter) {
        std::vector<unsigned> words(140);
        for (unsigned& w : words) w = static_cast<unsigned>(rng() % 65536);
        std::string text = FileOf(words, iter % 3 == 0 ? "\r\n" : "\n");
        const int mutations = 1 + static_cast<int>(pick(3));
        for (int m = 0; m < mutations && !text.empty(); ++m) {
            switch (pick(4)) {
                case 0:
                    text.resize(pick(text.size()));
                    break;
                case 1:
                    text[pick(text.size())] ^= static_cast<char>(1u << pick(8));
                    break;
                case 2:
                    text.insert(pick(text.size() + 1), junk[pick(sizeof junk / sizeof *junk)]);
                    break;
                case 3:
                    text.erase(pick(text.size()), 1 + pick(12));
                    break;
            }
        }
        WriteText(path, text);
        unsigned short expect[140];
        const bool valid = StrictParse(text, expect);
        // Vertical tab and form feed are blanks to some readers: either outcome
        // is sound then, as long as it is whole.
        const bool either = !valid && text.find_first_of("\v\f") != std::string::npos;

        OtherState();
        seam::Clear();
        const State before = Capture();
        seam::ExpectFile(1, path);
        ReadParaFromFile();
        bool notice = false;
        for (const seam::Popup& p : seam::Shown())
            notice |=
                p.title == "ATTENTION!" && p.text.find("not a valid parameter file") != std::string::npos;
        SCOPED_TRACE("iteration " + std::to_string(iter));
        if (notice) {
            EXPECT_TRUE(!valid) << "refused a valid file";
            EXPECT_TRUE(Same(before, Capture()));
            ++refused;
            continue;
        }
        ASSERT_TRUE(valid || either) << "accepted a file that is not valid";
        ++loaded;
        if (valid) {
            for (int i = 0; i < 140; ++i) ASSERT_EQ(pp[i], expect[i]) << "word " << i;
        }
        // Applied as a whole: the variables and the table follow the packet.
        EXPECT_EQ(power, pp[0]);
        EXPECT_EQ(maxno, pp[6] > 31 ? 31 : pp[6]);
        EXPECT_EQ(bias, static_cast<short>(pp[12] - 1000));
        for (int r = 0; r < 31; ++r)
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(ctt[r][c], pp[16 + r * 4 + c]);
                ASSERT_EQ(Cell(c + 1, r + 1), pp[16 + r * 4 + c]);
            }
    }
    seam::SetUnexpectedHandler(Failing);
    EXPECT_GT(loaded, 20);
    EXPECT_GT(refused, 20);
}

}  // namespace
}  // namespace paramtest
