// The parameter packet pp and the data frame: copies between them and the
// global variables. Words 13 to 15 belong to the sensor and are only passed
// through; nothing here writes them.
#include "app/corvel.h"
#include "link/link.h"

namespace corvel {

namespace {

// The sensor checks at most one vector per teach row.
constexpr unsigned short kMaxVectors = kTeachRows;

// The parameters in packet order, words 0 to 11; bias follows them.
unsigned short* const kParameters[] = {&power, &pmod,       &average, &evalmode, &hold,      &intlim,
                                       &maxno, &digitalout, &trigger, &extteach, &anaoutbeg, &anaoutend};
constexpr int kParameterCount = sizeof kParameters / sizeof kParameters[0];

// The values of a data frame, in frame order.
unsigned short* const kData[] = {&dataChRef, &dataChDir, &dataChDif, &dataNorm,
                                 &dataInt,   &dataGf,    &dataVec,   &dataTemp};
constexpr int kDataCount = sizeof kData / sizeof kData[0];

void ParametersToPP(void) {
    for (int i = 0; i < kParameterCount; ++i) pp[i] = *kParameters[i];
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
    for (int i = 0; i < kParameterCount; ++i) *kParameters[i] = pp[i];
    bias = static_cast<short>(static_cast<unsigned short>(pp[kBiasWord] - kBiasOffset));
    int index = kHeadWords;
    for (int row = 0; row < kTeachRows; ++row)
        for (int col = 0; col < kTeachColumns; ++col) ctt[row][col] = pp[index++];
    if (maxno > kMaxVectors) maxno = kMaxVectors;
}

void CopyDatatoVars(void) {
    for (int i = 0; i < kDataCount; ++i) *kData[i] = databuf[i];
}

}  // namespace corvel
