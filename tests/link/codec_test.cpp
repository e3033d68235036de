// Telegram codec and parameter packet, without a port.
#include <gtest/gtest.h>

#include <cstring>

#include "app/corvel.h"
#include "link/link.h"
#include "support/panels.h"

using namespace corvel;

namespace {

unsigned short Word(const unsigned char* b, int i) {
    return static_cast<unsigned short>(b[2 * i] << 8 | b[2 * i + 1]);
}

class Codec : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::FreshStart());
        memset(pp, 0, sizeof pp);
        memset(szWriteBuf, 0xA5, sizeof szWriteBuf);
        for (int i = 0; i < 140; ++i)
            pp[i] = static_cast<unsigned short>(0x0100 * i + 0x80 + i);  // high bit set
    }
};

TEST_F(Codec, RequestCarriesSyncOrderAndSixteenBigEndianWords) {
    pp[3] = 0x1234;
    pp[15] = 0xFFEE;
    FillTxBuf(0x13, 0);
    EXPECT_EQ(szWriteBuf[0], 0x00);
    EXPECT_EQ(szWriteBuf[1], 0x55);
    EXPECT_EQ(szWriteBuf[2], 0x00);
    EXPECT_EQ(szWriteBuf[3], 0x13);
    EXPECT_EQ(szWriteBuf[10], 0x12);
    EXPECT_EQ(szWriteBuf[11], 0x34);
    EXPECT_EQ(szWriteBuf[34], 0xFF);
    EXPECT_EQ(szWriteBuf[35], 0xEE);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Word(szWriteBuf + 4, i), pp[i]) << "word " << i;
    EXPECT_EQ(szWriteBuf[36], 0xA5) << "nothing written behind the 36 bytes";
}

TEST_F(Codec, RowTelegramsKeepTheTailOfTheHeadTelegram) {
    FillTxBuf(1, 0);
    unsigned char head[36];
    memcpy(head, szWriteBuf, 36);
    pp[140] = 0xABCD;  // never part of the table
    for (unsigned short row = 0; row <= 30; ++row) {
        FillTxBuf(2, row);
        EXPECT_EQ(Word(szWriteBuf, 0), 0x0055);
        EXPECT_EQ(Word(szWriteBuf, 1), 2);
        EXPECT_EQ(Word(szWriteBuf, 2), row);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Word(szWriteBuf, 3 + i), pp[16 + 4 * row + i]) << "row " << row;
        unsigned short fifth = row < 30 ? pp[20 + 4 * row] : 0;
        EXPECT_EQ(Word(szWriteBuf, 7), fifth) << "row " << row;
        EXPECT_EQ(memcmp(szWriteBuf + 16, head + 16, 20), 0) << "bytes 16..35 of row " << row;
    }
    EXPECT_EQ(szWriteBuf[14], 0);
    EXPECT_EQ(szWriteBuf[15], 0);
}

TEST_F(Codec, RepliesDecodeUnsignedBigEndian) {
    memset(szReadBuf, 0, sizeof szReadBuf);
    for (int i = 0; i < 140; ++i) {
        szReadBuf[2 * i] = static_cast<unsigned char>(0xFF - i);
        szReadBuf[2 * i + 1] = static_cast<unsigned char>(0x38 + i);
    }
    szReadBuf[280] = 0x77;  // behind the packet: not decoded
    pp[140] = 0;
    GetRxBufPara();
    EXPECT_EQ(pp[0], 0xFF38);  // 65336, no sign extension
    EXPECT_EQ(pp[139], static_cast<unsigned short>((0xFF - 139) << 8 | (0x38 + 139)));
    EXPECT_EQ(pp[140], 0);

    memset(databuf, 0, sizeof databuf);
    GetRxBufData();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(databuf[i], pp[i]);
    EXPECT_EQ(databuf[0], 65336);
}

class Packet : public Codec {};

TEST_F(Packet, BiasTravelsOffsetByAThousandModulo65536) {
    const struct {
        short bias;
        unsigned short word;
    } cases[] = {{-5, 995}, {0, 1000}, {-1000, 0}, {-1001, 65535}, {32767, 33767}, {-32768, 33768}};
    for (const auto& c : cases) {
        bias = c.bias;
        CopyVarsToPP();
        EXPECT_EQ(pp[12], c.word) << "bias " << c.bias;
        bias = 1;
        CopyPPtoVars();
        EXPECT_EQ(bias, c.bias) << "word " << c.word;
    }
}

TEST_F(Packet, VariablesAndTableRoundTripPassThroughKept) {
    unsigned short* vars[] = {&power, &pmod,       &average, &evalmode, &hold,      &intlim,
                              &maxno, &digitalout, &trigger, &extteach, &anaoutbeg, &anaoutend};
    for (int i = 0; i < 12; ++i) *vars[i] = static_cast<unsigned short>(i == 6 ? 17 : 40000 + i);
    bias = -20;
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c) ctt[r][c] = static_cast<unsigned short>(60000 + r * 4 + c);
    pp[13] = 7;
    pp[14] = 8;
    pp[15] = 9;
    CopyVarsToPP();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(pp[i], *vars[i]) << "word " << i;
    EXPECT_EQ(pp[12], 980);
    EXPECT_EQ(pp[13], 7);
    EXPECT_EQ(pp[14], 8);
    EXPECT_EQ(pp[15], 9);
    EXPECT_EQ(pp[16], ctt[0][0]);
    EXPECT_EQ(pp[17], ctt[0][1]);
    EXPECT_EQ(pp[20], ctt[1][0]);
    EXPECT_EQ(pp[139], ctt[30][3]);
    EXPECT_EQ(pp[140], 0);

    for (int i = 0; i < 12; ++i) *vars[i] = 0;
    memset(ctt, 0, sizeof ctt);
    CopyPPtoVars();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(*vars[i], pp[i]) << "word " << i;
    EXPECT_EQ(bias, -20);
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c) ASSERT_EQ(ctt[r][c], 60000 + r * 4 + c);
    EXPECT_EQ(pp[13], 7);
}

TEST_F(Packet, VectorCountLimitedTo31) {
    const unsigned short in[] = {0, 30, 31, 32, 40, 32768, 65535};
    const unsigned short out[] = {0, 30, 31, 31, 31, 31, 31};
    for (int i = 0; i < 7; ++i) {
        pp[6] = in[i];
        CopyPPtoVars();
        EXPECT_EQ(maxno, out[i]) << "word 6 = " << in[i];
        EXPECT_EQ(pp[6], in[i]) << "the packet itself is not changed";
    }
}

TEST_F(Packet, CalibrationCopyTouchesOnlyTheParameterWords) {
    unsigned short before[173];
    for (int i = 0; i < 173; ++i) pp[i] = static_cast<unsigned short>(0xC000 + i);
    memcpy(before, pp, sizeof pp);
    power = 321;
    bias = -3;
    maxno = 5;
    memset(ctt, 0, sizeof ctt);
    CopyCalibVarsToPP();
    EXPECT_EQ(pp[0], 321);
    EXPECT_EQ(pp[6], 5);
    EXPECT_EQ(pp[12], 997);
    for (int i = 13; i < 173; ++i) ASSERT_EQ(pp[i], before[i]) << "word " << i;
}

TEST_F(Packet, DataFrameWordsZeroToSeven) {
    for (int i = 0; i < 16; ++i) databuf[i] = static_cast<unsigned short>(65535 - i);
    CopyDatatoVars();
    const unsigned short* got[] = {&dataChRef, &dataChDir, &dataChDif, &dataNorm,
                                   &dataInt,   &dataGf,    &dataVec,   &dataTemp};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(*got[i], 65535 - i) << "word " << i;
}

}  // namespace
