// The per-frame display step of live data: numeric displays and bars, the
// tolerance band of the chosen teach row, and the four history buffers.
#include <cstring>

#include "app/corvel.h"
#include "display/display.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr int kTraces = 3;
constexpr int kErrCount = -20003;
constexpr int kErrShift = -20102;
constexpr short kNormLimit = 1000;
constexpr short kIntLimit = 4095;
// Largest glossy-factor band a signed 16-bit band word can hold.
constexpr int kGfBandMax = 32767;

struct Band {
    short upper;
    short lower;
};

unsigned short Cell(int column, int row) {
    unsigned short v = 0;
    GetTableCellVal(panel, P_TEACHTABLE, column, row, &v);
    return v;
}

// NORM and INT: the sensor's own signed 16-bit arithmetic, limited to 0..limit.
Band LimitedBand(int column, int row, short limit) {
    short centre = static_cast<short>(Cell(column, row));
    short tol = static_cast<short>(Cell(column + 1, row));
    Band b;
    b.upper = static_cast<short>(centre + tol);
    b.lower = static_cast<short>(centre - tol);
    if (b.upper > limit) b.upper = limit;
    if (b.lower < 0) b.lower = 0;
    return b;
}

// GF takes tenths up to 65535: formed wide so that a high centre cannot wrap
// to a negative band; a glossy factor below 0 means nothing, so it stops at 0.
Band GfBand(int row) {
    int centre = Cell(1, row);
    int tol = Cell(2, row);
    int up = centre + tol;
    int lo = centre - tol;
    if (up > kGfBandMax) up = kGfBandMax;
    if (lo < 0) lo = 0;
    if (lo > kGfBandMax) lo = kGfBandMax;
    return Band{static_cast<short>(up), static_cast<short>(lo)};
}

void Append(double* buf, double a, double b, double c) {
    Shift(buf, kHistoryLength, -kTraces, buf);
    buf[kHistoryLength - 3] = a;
    buf[kHistoryLength - 2] = b;
    buf[kHistoryLength - 1] = c;
}

}  // namespace

int Copy1D(const double* input, int count, double* output) {
    if (count < 1) return kErrCount;
    // memmove: same as an ascending copy for distinct arrays, and still
    // right when the two overlap.
    std::memmove(output, input, sizeof(double) * static_cast<size_t>(count));
    return 0;
}

int Shift(const double* input, int count, int shift, double* output) {
    if (count < 1) return kErrCount;
    int mag = shift < 0 ? -shift : shift;
    if (mag >= count) return kErrShift;
    if (shift == 0) return Copy1D(input, count, output);
    size_t moved = sizeof(double) * static_cast<size_t>(count - mag);
    // Move first, then clear the vacated places: every read is done before
    // a zero can land on an input element that is still needed.
    if (shift > 0) {
        std::memmove(output + mag, input, moved);
        for (int i = 0; i < mag; ++i) output[i] = 0.0;
    } else {
        std::memmove(output, input + mag, moved);
        for (int i = count - mag; i < count; ++i) output[i] = 0.0;
    }
    return 0;
}

void SetPanelData(void) {
    Band norm = {0, 0};
    Band inten = {0, 0};
    Band gf = {0, 0};

    double gfUnits = dataGf / 10.0;
    SetCtrlVal(panel, P_DISPCHREF, dataChRef);
    SetCtrlVal(panel, P_DISPCHDIR, dataChDir);
    SetCtrlVal(panel, P_DISPCHDIF, dataChDif);
    SetCtrlVal(panel, P_BARCHREF, dataChRef);
    SetCtrlVal(panel, P_BARCHDIR, dataChDir);
    SetCtrlVal(panel, P_BARCHDIF, dataChDif);
    SetCtrlVal(panel, P_DISPNORM, dataNorm);
    SetCtrlVal(panel, P_DISPINT, dataInt);
    SetCtrlVal(panel, P_DISPGF, gfUnits);
    SetCtrlVal(panel, P_DISPGFBIG, gfUnits);
    SetCtrlVal(panel, P_DISPVEC, dataVec);
    SetCtrlVal(panel, P_DISPTEMP, dataTemp);

    unsigned short n = 0;
    GetCtrlVal(panel, P_EDITNO, &n);
    GetCtrlVal(panel, P_SELECTSOURCE, &source);
    int row = n + 1;
    switch (source) {
        case kSourceNorm:
            norm = LimitedBand(1, row, kNormLimit);
            break;
        case kSourceInt:
            inten = LimitedBand(3, row, kIntLimit);
            break;
        case kSourceGf:
            gf = GfBand(row);
            break;
        default:
            break;
    }

    Append(rawbuf, dataChRef, dataChDir, dataChDif);
    Append(normbuf, dataNorm, norm.upper, norm.lower);
    Append(intbuf, dataInt, inten.upper, inten.lower);
    Append(gfbuf, dataGf, gf.upper, gf.lower);
}

}  // namespace corvel
