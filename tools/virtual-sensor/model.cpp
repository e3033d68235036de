#include "model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vsensor {

namespace {

// Channel gains per unit of LED power. On the 100-unit reference CH_DIR
// crosses 3850 near power 600, so the calibration search has room both ways.
constexpr double kRefGain = 3.2;
constexpr double kDirGain = 6.4;  // per unit at gloss 100
constexpr double kDifGain = 3.8;  // per unit at diffuse share 1
constexpr double kDifFromGloss = 0.2;
constexpr double kRefDark = 2, kDirDark = 4, kDifDark = 3;  // dark offsets

// Ratio CH_DIR/CH_REF assumed on the reference before any calibration; a
// little off the true one, as an uncalibrated head would be.
constexpr double kFactoryRatio = 1.8;

// DYN mode keeps CH_DIF near the middle of its range.
constexpr double kDynDifTarget = 2048;

constexpr int kGfMax = 9999;

// The calibration's search averages this many values or more; operators
// measure with far fewer.
constexpr int kCalibAverage = 4096;

int ClampAdc(double v) {
    long r = std::lround(v);
    if (r < 0) return 0;
    if (r > kAdcMax) return kAdcMax;
    return static_cast<int>(r);
}

int Norm(int dir, int dif) {
    return dir + dif > 0 ? dir * 1000 / (dir + dif) : 0;
}
int Intensity(int dir, int dif) {
    return (dir + dif) / 2;
}

}  // namespace

Target TargetForGloss(double gloss) {
    double diffuse = std::clamp(0.9 - 0.8 * gloss / 100.0, 0.05, 0.9);
    const char* name = gloss < 20 ? "matt" : gloss < 70 ? "satin" : gloss < 95 ? "glossy" : "reference";
    return Target{gloss, diffuse, name};
}

Target ScenarioTarget(int index) {
    static const double kGloss[kScenarioTargets] = {5, 40, 85, 100};
    return TargetForGloss(kGloss[((index % kScenarioTargets) + kScenarioTargets) % kScenarioTargets]);
}

Target ScenarioTargetFor(const Sensor& sensor, int index) {
    return sensor.CalibrationSettingsInForce() ? TargetForGloss(100) : ScenarioTarget(index);
}

Sensor::Sensor(uint32_t seed) : target_(TargetForGloss(100)), rng_(seed) {
    Reset();
}

void Sensor::Reset() {
    std::memset(ram, 0, sizeof ram);
    ram[kWPower] = 500;
    ram[kWPmod] = 0;
    ram[kWAverage] = 64;
    ram[kWEvalmode] = 0;
    ram[kWHold] = 10;
    ram[kWIntlim] = 20;
    ram[kWMaxno] = kScenarioTargets;
    ram[kWDigitalout] = 1;
    ram[kWTrigger] = 0;
    ram[kWExtteach] = 0;
    ram[kWAnaoutbeg] = 0;
    ram[kWAnaoutend] = 1000;
    ram[kWBias] = 1000;
    for (int i = kWTeach; i < kPacketWords; ++i) ram[i] = 1;
    // Teach the scenario surfaces at the default power, so that a fresh
    // sensor already recognises them.
    Target keep = target_;
    for (int r = 0; r < kScenarioTargets; ++r) {
        target_ = ScenarioTarget(r);
        Optics o = Measure(ram[kWPower]);
        int dir = ClampAdc(o.dir), dif = ClampAdc(o.dif);
        uint16_t* row = &ram[kWTeach + 4 * r];
        row[0] = static_cast<uint16_t>(Norm(dir, dif));
        row[1] = 25;
        row[2] = static_cast<uint16_t>(Intensity(dir, dif));
        row[3] = 100;
    }
    target_ = keep;
    std::memcpy(eeprom, ram, sizeof ram);
    cal[0] = cal[1] = cal[2] = 0;
    dynPower_ = -1;
}

Optics Sensor::Measure(double power) const {
    double p = std::clamp(power, 0.0, static_cast<double>(kPowerMax));
    double g = target_.gloss / 100.0;
    Optics o;
    o.ref = kRefDark + kRefGain * p;
    o.dir = kDirDark + kDirGain * p * g;
    o.dif = kDifDark + p * (kDifGain * target_.diffuse + kDifFromGloss * g);
    return o;
}

double Sensor::Noise(double sigma) {
    return sigma * gauss_(rng_);
}

double Sensor::UsedPower() {
    double stat = std::min<double>(ram[kWPower], kPowerMax);
    if (ram[kWPmod] != 1) {
        dynPower_ = -1;
        return stat;
    }
    if (dynPower_ < 0) dynPower_ = std::max(1.0, stat);
    double slope = kDifGain * target_.diffuse + kDifFromGloss * target_.gloss / 100.0;
    double wanted = slope > 0 ? (kDynDifTarget - kDifDark) / slope : kPowerMax;
    // Half the way per frame: the regulation settles within a few frames.
    dynPower_ += 0.5 * (wanted - dynPower_);
    dynPower_ = std::clamp(dynPower_, 1.0, static_cast<double>(kPowerMax));
    return dynPower_;
}

int Sensor::GlossyFactor(int dir, int ref) const {
    if (ref <= 0) return 0;
    double calRatio = Calibrated() ? static_cast<double>(cal[1]) / cal[2] : kFactoryRatio;
    double gf = 1000.0 * (static_cast<double>(dir) / ref) / calRatio;
    int bias = static_cast<int>(ram[kWBias]) - 1000;
    long v = std::lround(gf) + bias;
    return static_cast<int>(std::clamp<long>(v, 0, kGfMax));
}

bool Sensor::CalibrationSettingsInForce() const {
    return ram[kWPmod] == 0 && ram[kWEvalmode] == 0 && ram[kWTrigger] == 0 && ram[kWAverage] >= kCalibAverage;
}

uint16_t Sensor::DetectVector(int norm, int intensity, int gf) const {
    int rows = std::min<int>(ram[kWMaxno], kTeachRows);
    int mode = ram[kWEvalmode];
    if (mode == 0 && intensity < ram[kWIntlim]) return kNoVector;
    if (mode != 0 && mode != 1) return kNoVector;
    for (int r = 0; r < rows; ++r) {
        const uint16_t* row = &ram[kWTeach + 4 * r];
        if (mode == 0) {
            if (std::abs(norm - row[0]) <= row[1] && std::abs(intensity - row[2]) <= row[3]) return r;
        } else if (std::abs(gf - row[0]) <= row[1]) {
            return r;
        }
    }
    return kNoVector;
}

void Sensor::DataFrame(double seconds, uint16_t out[kFrameWords]) {
    double p = UsedPower();
    Optics o = Measure(p);
    // Averaging more samples lowers the noise, with a floor from the converter.
    double avg = std::max<double>(1, ram[kWAverage]);
    double sigma = 0.4 + 24.0 / std::sqrt(avg);
    int ref = ClampAdc(o.ref + Noise(sigma));
    int dir = ClampAdc(o.dir + Noise(sigma));
    int dif = ClampAdc(o.dif + Noise(sigma));
    int norm = Norm(dir, dif);
    int in = Intensity(dir, dif);
    int gf = GlossyFactor(dir, ref);
    // Head temperature in tenths of a degree, drifting slowly around 25.5.
    double temp = 255 + 4.0 * std::sin(seconds * 2 * M_PI / 600.0) + Noise(0.3);

    std::memset(out, 0, kFrameWords * sizeof out[0]);
    out[kFRef] = static_cast<uint16_t>(ref);
    out[kFDir] = static_cast<uint16_t>(dir);
    out[kFDif] = static_cast<uint16_t>(dif);
    out[kFNorm] = static_cast<uint16_t>(norm);
    out[kFInt] = static_cast<uint16_t>(in);
    out[kFGf] = static_cast<uint16_t>(gf);
    out[kFVec] = DetectVector(norm, in, gf);
    out[kFTemp] = static_cast<uint16_t>(std::clamp(std::lround(temp), 250L, 260L));
    out[kFPower] = static_cast<uint16_t>(std::lround(p));
}

void Sensor::TakeParameters(const uint16_t words[kFrameWords]) {
    std::memcpy(ram, words, kFrameWords * sizeof ram[0]);
}

void Sensor::TakeTeachRow(const uint16_t words[kFrameWords]) {
    // Word 0 is the row, words 1..4 its columns; word 5 (the next row's first
    // column) arrives again with that row and is not taken here.
    unsigned r = words[0];
    if (r >= kTeachRows) return;
    std::memcpy(&ram[kWTeach + 4 * r], &words[1], 4 * sizeof ram[0]);
}

void Sensor::StoreToEeprom() {
    std::memcpy(eeprom, ram, sizeof ram);
}

void Sensor::StoreCalibration(const uint16_t words[kFrameWords]) {
    cal[0] = words[0];
    cal[1] = words[1];
    cal[2] = words[2];
}

}  // namespace vsensor
