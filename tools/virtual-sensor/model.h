// Optical and parameter model of the virtual gloss sensor: the RAM and EEPROM
// parameter packets, the calibration words and the measurement of a target.
#pragma once

#include <cstdint>
#include <random>

namespace vsensor {

constexpr int kPacketWords = 140;  // parameter packet, words 0..139
constexpr int kFrameWords = 16;    // data frame and request payload
constexpr int kTeachRows = 31;
constexpr int kAdcMax = 4095;  // 12-bit converters
constexpr int kPowerMax = 1000;

// Packet word positions.
enum Word {
    kWPower = 0,
    kWPmod = 1,
    kWAverage = 2,
    kWEvalmode = 3,
    kWHold = 4,
    kWIntlim = 5,
    kWMaxno = 6,
    kWDigitalout = 7,
    kWTrigger = 8,
    kWExtteach = 9,
    kWAnaoutbeg = 10,
    kWAnaoutend = 11,
    kWBias = 12,  // bias + 1000
    kWTeach = 16,
};

// Data frame word positions.
enum Frame {
    kFRef = 0,
    kFDir = 1,
    kFDif = 2,
    kFNorm = 3,
    kFInt = 4,
    kFGf = 5,
    kFVec = 6,
    kFTemp = 7,
    kFPower = 8,  // power actually used (differs from word 0 in DYN mode)
};

constexpr uint16_t kNoVector = 255;

// What the sensor looks at: gloss in units (the reference is 100) and the
// share of light scattered diffusely (0..1).
struct Target {
    double gloss;
    double diffuse;
    const char* name;
};

// A surface of the given gloss with a plausible diffuse share: the less gloss,
// the more scatter.
Target TargetForGloss(double gloss);

// The four surfaces the scenario cycles through.
constexpr int kScenarioTargets = 4;
Target ScenarioTarget(int index);

// Raw channel values before noise, saturation and rounding.
struct Optics {
    double ref;
    double dir;
    double dif;
};

class Sensor {
public:
    explicit Sensor(uint32_t seed = 1);

    // Factory state: a sensible parameter set with the scenario surfaces
    // taught into rows 0..3; RAM equals EEPROM; no calibration stored.
    void Reset();

    void SetTarget(const Target& t) { target_ = t; }
    const Target& target() const { return target_; }

    // Noise-free channel values of the current target at an LED power.
    Optics Measure(double power) const;

    // One measurement with the RAM parameters; `seconds` is the sensor's
    // running time (drives the temperature drift).
    void DataFrame(double seconds, uint16_t out[kFrameWords]);

    // Glossy factor in tenths from raw values, with the stored calibration
    // (or the factory default when none is stored) and the RAM bias.
    int GlossyFactor(int dir, int ref) const;
    // First taught row matching the values, or kNoVector.
    uint16_t DetectVector(int norm, int intensity, int gf) const;

    // Order handlers.
    void TakeParameters(const uint16_t words[kFrameWords]);
    void TakeTeachRow(const uint16_t words[kFrameWords]);
    void StoreToEeprom();
    void StoreCalibration(const uint16_t words[kFrameWords]);
    bool Calibrated() const { return cal[1] != 0 && cal[2] != 0; }
    // The operator program's calibration settings are in force (constant
    // power, NORM/INT evaluation, continuous trigger, long averaging): an
    // operator holds the reference under the optics then.
    bool CalibrationSettingsInForce() const;

    uint16_t ram[kPacketWords];
    uint16_t eeprom[kPacketWords];
    uint16_t cal[3];  // power, CH_DIR, CH_REF of the last calibration

private:
    double Noise(double sigma);
    double UsedPower();

    Target target_;
    std::mt19937 rng_;
    std::normal_distribution<double> gauss_{0.0, 1.0};
    double dynPower_ = -1;  // power tuned in DYN mode; < 0 until DYN starts
};

// What the scenario shows at `index`; while a calibration runs, the
// reference.
Target ScenarioTargetFor(const Sensor& sensor, int index);

}  // namespace vsensor
