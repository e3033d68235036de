// Telegram codec: requests into szWriteBuf, replies out of szReadBuf.
// Every word travels high byte first. The codec neither touches the port
// nor checks anything; the transactions judge replies by their length.
#include "app/corvel.h"
#include "link/link.h"

namespace corvel {

namespace {

constexpr int kBufferWords = static_cast<int>(sizeof pp / sizeof pp[0]);

void PutWord(int offset, unsigned short value) {
    szWriteBuf[offset] = static_cast<unsigned char>(value >> 8);
    szWriteBuf[offset + 1] = static_cast<unsigned char>(value & 0xFF);
}

unsigned short WordAt(int offset) {
    return static_cast<unsigned short>(szReadBuf[offset] * 256 + szReadBuf[offset + 1]);
}

int Limit(int count, int most) {
    return count < most ? count : most;
}

}  // namespace

void FillTxBuf(unsigned short order, unsigned short row) {
    PutWord(0, sync);
    PutWord(2, order);
    if (order == 2) {
        // One teach row: its four words and the first word of the next row
        // (0 behind the last row). Bytes 16 and up keep what the order-1
        // telegram of the same send left there; the sensor expects them.
        PutWord(4, row);
        for (int i = 0; i < 5; ++i) {
            int index = kHeadWords + kTeachColumns * row + i;
            PutWord(6 + 2 * i, index < kPacketWords ? pp[index] : 0);
        }
        return;
    }
    int words = Limit(anzframe, kBufferWords);
    for (int i = 0; i < words; ++i) PutWord(4 + 2 * i, pp[i]);
}

void GetRxBufPara(void) {
    int words = Limit(Limit(anzpara, kBufferWords), static_cast<int>(sizeof szReadBuf / 2));
    for (int i = 0; i < words; ++i) pp[i] = WordAt(2 * i);
}

void GetRxBufData(void) {
    int words = Limit(anzdata, static_cast<int>(sizeof databuf / sizeof databuf[0]));
    for (int i = 0; i < words; ++i) databuf[i] = WordAt(2 * i);
}

}  // namespace corvel
