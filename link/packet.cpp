// The parameter packet pp and the data frame: copies between them and the
// global variables. Words 13 to 15 belong to the sensor and are only passed
// through; nothing here writes them.
#include "app/corvel.h"
#include "link/link.h"

namespace corvel {

namespace {

// The sensor checks at most one vector per teach row.
constexpr unsigned short kMaxVectors = kTeachRows;

void ParametersToPP(void) {
    pp[0] = power;
    pp[1] = pmod;
    pp[2] = average;
    pp[3] = evalmode;
    pp[4] = hold;
    pp[5] = intlim;
    pp[6] = maxno;
    pp[7] = digitalout;
    pp[8] = trigger;
    pp[9] = extteach;
    pp[10] = anaoutbeg;
    pp[11] = anaoutend;
    pp[kBiasWord] = static_cast<unsigned short>(bias + kBiasOffset);
}

}  // namespace

void CopyVarsToPP(void) {
    ParametersToPP();
    int index = kHeadWords;
    for (int row = 0; row < kTeachRows; ++row)
        for (int col = 0; col < kTeachColumns; ++col) pp[index++] = ctt[row][col];
}

void CopyCalibVarsToPP(void) {
    ParametersToPP();
}

void CopyPPtoVars(void) {
    power = pp[0];
    pmod = pp[1];
    average = pp[2];
    evalmode = pp[3];
    hold = pp[4];
    intlim = pp[5];
    maxno = pp[6];
    digitalout = pp[7];
    trigger = pp[8];
    extteach = pp[9];
    anaoutbeg = pp[10];
    anaoutend = pp[11];
    bias = static_cast<short>(static_cast<unsigned short>(pp[kBiasWord] - kBiasOffset));
    int index = kHeadWords;
    for (int row = 0; row < kTeachRows; ++row)
        for (int col = 0; col < kTeachColumns; ++col) ctt[row][col] = pp[index++];
    if (maxno > kMaxVectors) maxno = kMaxVectors;
}

void CopyDatatoVars(void) {
    dataChRef = databuf[0];
    dataChDir = databuf[1];
    dataChDif = databuf[2];
    dataNorm = databuf[3];
    dataInt = databuf[4];
    dataGf = databuf[5];
    dataVec = databuf[6];
    dataTemp = databuf[7];
}

}  // namespace corvel
