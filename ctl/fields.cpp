// The parameter packet by field name: the table and JSON of get, the
// differences of diff and --verify. bias is shown signed, as on the panel.
#include <cstdio>
#include <string>

#include "ctl/ctl.h"
#include "link/packet.h"
#include "recorder/recstats.h"

namespace ctl {

namespace {

using corvel::kBiasOffset;
using corvel::kBiasWord;
using corvel::kHeadWords;
using corvel::kPacketWords;
using corvel::kTeachColumns;
using corvel::kTeachRows;

const char* const kHeadNames[kHeadWords] = {
    "power",   "pmod",     "average",   "evalmode",  "hold", "intlim", "maxno", "digitalout",
    "trigger", "extteach", "anaoutbeg", "anaoutend", "bias", "pass1",  "pass2", "pass3",
};

// The field's name: a parameter, a pass-through word, or a teach cell
// "row5.c1" (row 0 to 30, column 0 to 3).
std::string Name(int word) {
    if (word < kHeadWords) return kHeadNames[word];
    const int cell = word - kHeadWords;
    return "row" + std::to_string(cell / kTeachColumns) + ".c" + std::to_string(cell % kTeachColumns);
}

// The value as the panel shows it.
long Value(const unsigned short* words, int word) {
    if (word == kBiasWord) return static_cast<short>(static_cast<unsigned short>(words[word] - kBiasOffset));
    return words[word];
}

}  // namespace

void PrintPacket(const unsigned short* w, bool json, const std::string& port) {
    if (json) {
        // One object on one line; with several ports each names its port.
        std::string s = "{";
        if (!port.empty()) s += "\"port\":\"" + corvel::JsonText(port) + "\",";
        for (int i = 0; i < kHeadWords; ++i) s += "\"" + Name(i) + "\":" + std::to_string(Value(w, i)) + ",";
        s += "\"teach\":[";
        for (int r = 0; r < kTeachRows; ++r) {
            s += r ? ",[" : "[";
            for (int c = 0; c < kTeachColumns; ++c)
                s += (c ? "," : "") + std::to_string(w[kHeadWords + kTeachColumns * r + c]);
            s += "]";
        }
        s += "]}\n";
        std::fputs(s.c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    for (int i = 0; i < kHeadWords; ++i) Out("%-11s %6ld\n", Name(i).c_str(), Value(w, i));
    Out("%-11s %6s %6s %6s %6s\n", "teach", "c0", "c1", "c2", "c3");
    for (int r = 0; r < kTeachRows; ++r) {
        const unsigned short* row = w + kHeadWords + kTeachColumns * r;
        Out("%-11s %6u %6u %6u %6u\n", ("row" + std::to_string(r)).c_str(), row[0], row[1], row[2], row[3]);
    }
}

int PrintDifferences(const unsigned short* a, const unsigned short* b, const char* headA, const char* headB) {
    int differing = 0;
    for (int i = 0; i < kPacketWords; ++i) {
        if (a[i] == b[i]) continue;
        if (differing++ == 0) Out("%-11s %12s %12s\n", "field", headA, headB);
        Out("%-11s %12ld %12ld\n", Name(i).c_str(), Value(a, i), Value(b, i));
    }
    return differing;
}

}  // namespace ctl
