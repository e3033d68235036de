// The virtual sensor's model in-process: optics, evaluation, calibration and
// the request scanner.
#include <gtest/gtest.h>

#include <cstring>

#include "model.h"
#include "protocol.h"

using namespace vsensor;

namespace {

// Puts the given words 0..15 into RAM as an order-1 telegram would.
void SetParameters(Sensor& s, uint16_t power, uint16_t pmod, uint16_t average, uint16_t evalmode = 0) {
    uint16_t w[kFrameWords];
    std::memcpy(w, s.ram, sizeof w);
    w[kWPower] = power;
    w[kWPmod] = pmod;
    w[kWAverage] = average;
    w[kWEvalmode] = evalmode;
    w[kWTrigger] = 0;
    s.TakeParameters(w);
}

struct SearchResult {
    int power;
    int dir;
    bool passed;
};

// The operator program's power search: ten halving steps from 512, window
// 3651..4049 on the tenth frame.
SearchResult RunSearch(Sensor& s) {
    int power = 512, step = 512;
    uint16_t frame[kFrameWords] = {0};
    for (int i = 0; i < 10; ++i) {
        SetParameters(s, static_cast<uint16_t>(power), 0, 4096);
        s.DataFrame(i, frame);
        if (frame[kFDir] > 3850) {
            power -= step / 2;
        } else {
            power += step / 2;
        }
        if (power > 1000) power = 1000;
        step /= 2;
    }
    int dir = frame[kFDir];
    return {power, dir, dir > 3650 && dir < 4050};
}

}  // namespace

TEST(VSensorModel, CalibrationSearchPassesOnReferenceAndFailsOnMattTarget) {
    Sensor s(7);
    s.SetTarget(TargetForGloss(100));
    SearchResult ref = RunSearch(s);
    EXPECT_TRUE(ref.passed) << "CH_DIR " << ref.dir << " at power " << ref.power;
    EXPECT_GT(ref.power, 100);
    EXPECT_LT(ref.power, 900);

    s.SetTarget(TargetForGloss(5));
    SearchResult matt = RunSearch(s);
    EXPECT_FALSE(matt.passed);
    EXPECT_EQ(matt.power, 1000);  // never bright enough: power runs to the ceiling
    EXPECT_LT(matt.dir, 3651);
}

TEST(VSensorModel, ScenarioHoldsTheReferenceOnlyUnderCalibrationSettings) {
    Sensor s(7);
    EXPECT_EQ(ScenarioTargetFor(s, 0).gloss, 5);  // factory settings: the scenario
    uint16_t words[kFrameWords];
    std::memcpy(words, s.ram, sizeof words);
    words[kWAverage] = 4096;
    s.TakeParameters(words);
    for (int i = 0; i < kScenarioTargets; ++i) EXPECT_EQ(ScenarioTargetFor(s, i).gloss, 100);
    words[kWPmod] = 1;  // DYN is no calibration
    s.TakeParameters(words);
    EXPECT_EQ(ScenarioTargetFor(s, 1).gloss, 40);
    words[kWPmod] = 0;
    words[kWAverage] = 256;  // the operator's settings back
    s.TakeParameters(words);
    EXPECT_EQ(ScenarioTargetFor(s, 2).gloss, 85);
}

TEST(VSensorModel, CalibratedGlossyFactorReadsTheReferenceAs1000) {
    Sensor s(3);
    s.SetTarget(TargetForGloss(100));
    SearchResult r = RunSearch(s);
    ASSERT_TRUE(r.passed);
    uint16_t frame[kFrameWords];
    s.DataFrame(0, frame);
    int uncalibrated = frame[kFGf];

    SetParameters(s, static_cast<uint16_t>(r.power), 0, 32768);
    s.DataFrame(0, frame);
    uint16_t store[kFrameWords] = {static_cast<uint16_t>(r.power), frame[kFDir], frame[kFRef]};
    s.StoreCalibration(store);
    ASSERT_TRUE(s.Calibrated());
    EXPECT_EQ(s.cal[0], r.power);

    s.DataFrame(0, frame);
    EXPECT_NEAR(frame[kFGf], 1000, 5);
    EXPECT_GT(std::abs(uncalibrated - 1000), 50) << "calibration should matter";

    // Half the gloss reads about half the factor; the bias shifts it.
    s.SetTarget(TargetForGloss(50));
    s.DataFrame(0, frame);
    EXPECT_NEAR(frame[kFGf], 500, 10);
    s.ram[kWBias] = 1000 - 30;
    s.DataFrame(0, frame);
    EXPECT_NEAR(frame[kFGf], 470, 10);
}

TEST(VSensorModel, FramesFollowTheFormulasOnEveryTargetAndPower) {
    Sensor s(11);
    for (int t = 0; t < kScenarioTargets; ++t) {
        s.SetTarget(ScenarioTarget(t));
        for (int power : {0, 1, 250, 500, 1000, 1200}) {
            SetParameters(s, static_cast<uint16_t>(power), 0, 1);
            uint16_t f[kFrameWords];
            s.DataFrame(t * 100.0 + power, f);
            SCOPED_TRACE(testing::Message() << ScenarioTarget(t).name << " power " << power);
            for (int c : {kFRef, kFDir, kFDif}) EXPECT_LE(f[c], kAdcMax);
            int sum = f[kFDir] + f[kFDif];
            EXPECT_EQ(f[kFNorm], sum ? f[kFDir] * 1000 / sum : 0);
            EXPECT_EQ(f[kFInt], sum / 2);
            EXPECT_GE(f[kFTemp], 250);
            EXPECT_LE(f[kFTemp], 260);
        }
    }
    // The channels grow with power.
    s.SetTarget(ScenarioTarget(1));
    uint16_t lo[kFrameWords], hi[kFrameWords];
    SetParameters(s, 200, 0, 4096);
    s.DataFrame(0, lo);
    SetParameters(s, 600, 0, 4096);
    s.DataFrame(0, hi);
    for (int c : {kFRef, kFDir, kFDif}) EXPECT_GT(hi[c], lo[c] + 100);
}

TEST(VSensorModel, LargerAverageGivesLessNoise) {
    Sensor s(5);
    s.SetTarget(TargetForGloss(40));
    auto spread = [&](uint16_t average) {
        SetParameters(s, 500, 0, average);
        int lo = 99999, hi = 0;
        for (int i = 0; i < 200; ++i) {
            uint16_t f[kFrameWords];
            s.DataFrame(0, f);
            lo = std::min<int>(lo, f[kFDir]);
            hi = std::max<int>(hi, f[kFDir]);
        }
        return hi - lo;
    };
    int rough = spread(1), smooth = spread(4096);
    EXPECT_GT(rough, 20);
    EXPECT_LT(smooth, rough / 4);
}

TEST(VSensorModel, DynamicPowerKeepsTheDiffuseChannelInRange) {
    Sensor s(9);
    int regulated = 0;
    for (int t = 0; t < kScenarioTargets; ++t) {
        s.SetTarget(ScenarioTarget(t));
        SetParameters(s, 1000, 1, 256);  // DYN, starting from full power
        uint16_t f[kFrameWords];
        for (int i = 0; i < 20; ++i) s.DataFrame(0, f);
        SCOPED_TRACE(ScenarioTarget(t).name);
        EXPECT_GE(f[kFPower], 1);
        EXPECT_LE(f[kFPower], 1000);
        if (f[kFPower] < 1000) {
            ++regulated;
            EXPECT_NEAR(f[kFDif], 2048, 100);
        } else {
            EXPECT_LT(f[kFDif], 2048);  // too little scatter even at full power
        }
        SetParameters(s, 1000, 0, 256);  // back to STAT: the set power again
        s.DataFrame(0, f);
        EXPECT_EQ(f[kFPower], 1000);
    }
    EXPECT_GE(regulated, 2);  // matt and satin surfaces are brought into range
}

TEST(VSensorModel, VectorDetectionUsesTheTaughtRows) {
    Sensor s(1);
    // Factory table: the scenario surfaces in rows 0..3 at power 500.
    SetParameters(s, 500, 0, 4096);
    for (int t = 0; t < kScenarioTargets; ++t) {
        s.SetTarget(ScenarioTarget(t));
        uint16_t f[kFrameWords];
        s.DataFrame(0, f);
        EXPECT_EQ(f[kFVec], t) << ScenarioTarget(t).name;
    }
    // maxno limits the rows checked.
    s.ram[kWMaxno] = 2;
    uint16_t f[kFrameWords];
    s.DataFrame(0, f);
    EXPECT_EQ(f[kFVec], kNoVector);

    // Mode 0: NORM and INT both within tolerance; INT below intlim is an error.
    s.ram[kWMaxno] = 31;
    EXPECT_EQ(s.DetectVector(500, 1000, 0), kNoVector);
    uint16_t row[kFrameWords] = {7, 500, 10, 1000, 50};
    s.TakeTeachRow(row);
    EXPECT_EQ(s.DetectVector(510, 950, 0), 7);
    EXPECT_EQ(s.DetectVector(511, 950, 0), kNoVector);
    EXPECT_EQ(s.DetectVector(505, 1051, 0), kNoVector);
    s.ram[kWIntlim] = 1200;
    EXPECT_EQ(s.DetectVector(500, 1000, 0), kNoVector);

    // Mode 1: the glossy factor within its tolerance.
    s.ram[kWEvalmode] = 1;
    uint16_t gfrow[kFrameWords] = {30, 855, 20, 1, 1};
    s.TakeTeachRow(gfrow);
    EXPECT_EQ(s.DetectVector(0, 0, 870), 30);
    EXPECT_EQ(s.DetectVector(0, 0, 876), kNoVector);
    s.ram[kWEvalmode] = 2;
    EXPECT_EQ(s.DetectVector(0, 0, 855), kNoVector);
}

TEST(VSensorModel, TeachRowTakesFourColumnsAndIgnoresBadRows) {
    Sensor s(1);
    uint16_t before[kPacketWords];
    std::memcpy(before, s.ram, sizeof before);
    uint16_t row30[kFrameWords] = {30, 11, 12, 13, 14, 0};
    s.TakeTeachRow(row30);
    EXPECT_EQ(s.ram[136], 11);
    EXPECT_EQ(s.ram[139], 14);
    uint16_t bad[kFrameWords] = {31, 99, 99, 99, 99, 99};
    s.TakeTeachRow(bad);
    for (int i = 0; i < 136; ++i) EXPECT_EQ(s.ram[i], before[i]) << "word " << i;
}

TEST(VSensorScanner, FindsRequestsBehindGarbageAndAcrossPieces) {
    RequestScanner sc;
    uint16_t w[kFrameWords];
    for (int i = 0; i < kFrameWords; ++i) w[i] = static_cast<uint16_t>(0x1100 + i);
    uint8_t req[kRequestBytes];
    EncodeRequest(5, w, req);
    // Garbage ending in a lone 0x00, which must not swallow the real sync.
    const uint8_t junk[] = {0xFF, 0x55, 0x12, 0x00};
    sc.Feed(junk, sizeof junk);
    Request rq;
    EXPECT_FALSE(sc.Next(&rq));
    for (int i = 0; i < kRequestBytes; ++i) {
        EXPECT_FALSE(sc.Next(&rq));
        sc.Feed(&req[i], 1);
    }
    ASSERT_TRUE(sc.Next(&rq));
    EXPECT_EQ(rq.order, 5);
    EXPECT_EQ(std::memcmp(rq.words, w, sizeof w), 0);
    EXPECT_EQ(sc.skipped(), sizeof junk);
    EXPECT_FALSE(sc.Next(&rq));

    // Two requests back to back.
    EncodeRequest(7, w, req);
    sc.Feed(req, sizeof req);
    sc.Feed(req, sizeof req);
    EXPECT_TRUE(sc.Next(&rq));
    EXPECT_TRUE(sc.Next(&rq));
    EXPECT_EQ(rq.order, 7);
    EXPECT_FALSE(sc.Next(&rq));
}

TEST(VSensorProtocol, RepliesHaveTheirFixedLengths) {
    Sensor s(1);
    uint8_t reply[kMaxReplyBytes];
    Request rq = {};
    struct {
        uint16_t order;
        int length;
    } cases[] = {{1, 0},  {2, 0}, {3, 280}, {4, 280}, {5, 32}, {6, 0},
                 {7, 96}, {8, 0}, {9, 32},  {19, 32}, {42, 0}};
    for (auto c : cases) {
        rq.order = c.order;
        rq.words[0] = 0;  // keeps order 2 on row 0 and order 8 harmless
        EXPECT_EQ(Execute(s, rq, 0, reply), c.length) << "order " << c.order;
    }
    rq.order = 7;
    Execute(s, rq, 0, reply);
    for (int i = 0; i < kVersionChars; ++i) {
        EXPECT_EQ(reply[2 * i], 0);
        EXPECT_EQ(reply[2 * i + 1], static_cast<uint8_t>(kVersionText[i]));
    }
    EXPECT_EQ(std::strncmp(kVersionText, "CORVEL GLOSS SENSOR VIRTUAL V2.0", 32), 0);
}
