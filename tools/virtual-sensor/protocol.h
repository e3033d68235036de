// Telegrams of the virtual sensor: finding requests in the received byte
// stream, carrying out their orders and building the replies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model.h"

namespace vsensor {

constexpr int kRequestBytes = 36;  // sync, order, 16 words
constexpr uint16_t kSync = 0x0055;
constexpr int kVersionChars = 48;
constexpr int kParaReplyBytes = kPacketWords * 2;      // 280
constexpr int kDataReplyBytes = kFrameWords * 2;       // 32
constexpr int kVersionReplyBytes = kVersionChars * 2;  // 96
constexpr int kMaxReplyBytes = kParaReplyBytes;

// The order codes the sensor understands.
enum Order {
    kOrderParameters = 1,
    kOrderTeachRow = 2,
    kOrderReadRam = 3,
    kOrderReadEeprom = 4,
    kOrderData = 5,
    kOrderStoreEeprom = 6,
    kOrderVersion = 7,
    kOrderStoreCalibration = 8,
    kOrderReadCalibration = 9,
    kOrderRecordData = 19,
};

// Version text, blank-padded to 48 characters.
extern const char kVersionText[kVersionChars + 1];

struct Request {
    uint16_t order;
    uint16_t words[kFrameWords];
};

// Collects received bytes and cuts requests out of them. Bytes before a
// sync word are skipped, so the sensor finds its way back after noise.
class RequestScanner {
public:
    // Takes as many bytes as there is room for; returns that count.
    size_t Feed(const uint8_t* data, size_t count);
    // Next complete request, if any.
    bool Next(Request* out);
    size_t room() const { return sizeof buf_ - len_; }
    unsigned long skipped() const { return skipped_; }

private:
    uint8_t buf_[8192];
    size_t len_ = 0;
    unsigned long skipped_ = 0;
};

// Length of the reply an order asks for; 0 for orders without one.
int ReplyLength(uint16_t order);
bool IsDataOrder(uint16_t order);

// Carries out one request on the sensor and writes its reply (if any) into
// `reply`; returns the reply length. `seconds` is the sensor's running time.
int Execute(Sensor& sensor, const Request& rq, double seconds, uint8_t reply[kMaxReplyBytes]);

// Builds a request telegram as the operator program does.
void EncodeRequest(uint16_t order, const uint16_t words[kFrameWords], uint8_t out[kRequestBytes]);
void EncodeWords(const uint16_t* words, int count, uint8_t* out);
uint16_t WordAt(const uint8_t* bytes, int index);

// One-line decoded descriptions for the trace.
void DescribeRequest(const Request& rq, char* out, size_t size);
void DescribeReply(uint16_t order, const uint8_t* bytes, int length, char* out, size_t size);

}  // namespace vsensor
