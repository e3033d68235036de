// Shared set-up of the display tests: a frame in the data-frame variables,
// the teach row and source on the main panel, and buffers as at start.
#pragma once
#include <cstring>

#include "app/corvel.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace displaytest {

struct Frame {
    unsigned short chRef, chDir, chDif, norm, inten, gf, vec, temp;
};

inline void Load(const Frame& f) {
    corvel::dataChRef = f.chRef;
    corvel::dataChDir = f.chDir;
    corvel::dataChDif = f.chDif;
    corvel::dataNorm = f.norm;
    corvel::dataInt = f.inten;
    corvel::dataGf = f.gf;
    corvel::dataVec = f.vec;
    corvel::dataTemp = f.temp;
}

// The buffers as the program starts with them.
inline void ZeroBuffers() {
    std::memset(corvel::rawbuf, 0, sizeof corvel::rawbuf);
    std::memset(corvel::normbuf, 0, sizeof corvel::normbuf);
    std::memset(corvel::intbuf, 0, sizeof corvel::intbuf);
    std::memset(corvel::gfbuf, 0, sizeof corvel::gfbuf);
}

inline void SetSource(unsigned short s) {
    SetCtrlVal(corvel::panel, P_SELECTSOURCE, s);
}

// Teach row `no` (0 to 30) is table row no + 1.
inline void SetRow(unsigned short no, unsigned short c1, unsigned short c2, unsigned short c3,
                   unsigned short c4) {
    SetCtrlVal(corvel::panel, P_EDITNO, no);
    SetTableCellVal(corvel::panel, P_TEACHTABLE, 1, no + 1, c1);
    SetTableCellVal(corvel::panel, P_TEACHTABLE, 2, no + 1, c2);
    SetTableCellVal(corvel::panel, P_TEACHTABLE, 3, no + 1, c3);
    SetTableCellVal(corvel::panel, P_TEACHTABLE, 4, no + 1, c4);
}

// Sample i (0 oldest, 99 newest), trace t of a history buffer.
inline double At(const double* buf, int sample, int trace) {
    return buf[3 * sample + trace];
}

}  // namespace displaytest
