#include "protocol.h"

#include <cstdio>
#include <cstring>

namespace vsensor {

const char kVersionText[kVersionChars + 1] = "CORVEL GLOSS SENSOR VIRTUAL V2.0                ";
static_assert(sizeof kVersionText == kVersionChars + 1, "version text must be 48 characters");

size_t RequestScanner::Feed(const uint8_t* data, size_t count) {
    size_t room = sizeof buf_ - len_;
    if (count > room) count = room;
    std::memcpy(buf_ + len_, data, count);
    len_ += count;
    return count;
}

bool RequestScanner::Next(Request* out) {
    size_t start = 0;
    while (start + 1 < len_ && !(buf_[start] == (kSync >> 8) && buf_[start + 1] == (kSync & 0xFF))) ++start;
    // A lone last byte may be the first half of a sync word: keep it.
    if (start + 1 >= len_ && len_ > 0 && buf_[len_ - 1] != (kSync >> 8)) start = len_;
    skipped_ += start;
    std::memmove(buf_, buf_ + start, len_ - start);
    len_ -= start;
    if (len_ < static_cast<size_t>(kRequestBytes)) return false;
    out->order = WordAt(buf_, 1);
    for (int i = 0; i < kFrameWords; ++i) out->words[i] = WordAt(buf_, 2 + i);
    std::memmove(buf_, buf_ + kRequestBytes, len_ - kRequestBytes);
    len_ -= kRequestBytes;
    return true;
}

int ReplyLength(uint16_t order) {
    switch (order) {
        case kOrderReadRam:
        case kOrderReadEeprom:
            return kParaReplyBytes;
        case kOrderData:
        case kOrderRecordData:
        case kOrderReadCalibration:
            return kDataReplyBytes;
        case kOrderVersion:
            return kVersionReplyBytes;
        default:
            return 0;
    }
}

bool IsDataOrder(uint16_t order) {
    return order == kOrderData || order == kOrderRecordData;
}

uint16_t WordAt(const uint8_t* bytes, int index) {
    return static_cast<uint16_t>(bytes[2 * index] * 256 + bytes[2 * index + 1]);
}

void EncodeWords(const uint16_t* words, int count, uint8_t* out) {
    for (int i = 0; i < count; ++i) {
        out[2 * i] = static_cast<uint8_t>(words[i] >> 8);
        out[2 * i + 1] = static_cast<uint8_t>(words[i] & 0xFF);
    }
}

void EncodeRequest(uint16_t order, const uint16_t words[kFrameWords], uint8_t out[kRequestBytes]) {
    uint16_t head[2] = {kSync, order};
    EncodeWords(head, 2, out);
    EncodeWords(words, kFrameWords, out + 4);
}

int Execute(Sensor& sensor, const Request& rq, double seconds, uint8_t reply[kMaxReplyBytes]) {
    switch (rq.order) {
        case kOrderParameters:
            sensor.TakeParameters(rq.words);
            return 0;
        case kOrderTeachRow:
            sensor.TakeTeachRow(rq.words);
            return 0;
        case kOrderStoreEeprom:
            sensor.StoreToEeprom();
            return 0;
        case kOrderStoreCalibration:
            sensor.StoreCalibration(rq.words);
            return 0;
        case kOrderReadRam:
            EncodeWords(sensor.ram, kPacketWords, reply);
            return kParaReplyBytes;
        case kOrderReadEeprom:
            EncodeWords(sensor.eeprom, kPacketWords, reply);
            return kParaReplyBytes;
        case kOrderData:
        case kOrderRecordData: {
            uint16_t frame[kFrameWords];
            sensor.DataFrame(seconds, frame);
            EncodeWords(frame, kFrameWords, reply);
            return kDataReplyBytes;
        }
        case kOrderReadCalibration: {
            // Calibration words first; the rest as the RAM packet holds them.
            uint16_t words[kFrameWords];
            std::memcpy(words, sensor.ram, sizeof words);
            std::memcpy(words, sensor.cal, sizeof sensor.cal);
            EncodeWords(words, kFrameWords, reply);
            return kDataReplyBytes;
        }
        case kOrderVersion:
            for (int i = 0; i < kVersionChars; ++i) {
                reply[2 * i] = 0;
                reply[2 * i + 1] = static_cast<uint8_t>(kVersionText[i]);
            }
            return kVersionReplyBytes;
        default:
            return 0;  // unknown orders are ignored
    }
}

namespace {

const char* OrderName(uint16_t order) {
    switch (order) {
        case kOrderParameters:
            return "PARAMETERS";
        case kOrderTeachRow:
            return "TEACH-ROW";
        case kOrderReadRam:
            return "READ-RAM";
        case kOrderReadEeprom:
            return "READ-EEPROM";
        case kOrderData:
            return "DATA";
        case kOrderStoreEeprom:
            return "STORE-EEPROM";
        case kOrderVersion:
            return "VERSION";
        case kOrderStoreCalibration:
            return "STORE-CALIB";
        case kOrderReadCalibration:
            return "READ-CALIB";
        case kOrderRecordData:
            return "RECORD-DATA";
        default:
            return "UNKNOWN";
    }
}

// Names of the ring values the operator program sends.
const char* const kPmodNames[] = {"STAT", "DYN"};
const char* const kEvalNames[] = {"NORM/INT", "GF"};
const char* const kDigitalNames[] = {"0", "BINARY", "DIRECT-LO", "DIRECT-HI"};
const char* const kTriggerNames[] = {"CONT", "EXT1", "EXT2"};

// Values outside the ring show as numbers, in the caller's buffer.
const char* Named(const char* const* names, unsigned count, unsigned value, char (&other)[8]) {
    if (value < count) return names[value];
    std::snprintf(other, sizeof other, "%u", value);
    return other;
}

}  // namespace

void DescribeRequest(const Request& rq, char* out, size_t size) {
    const uint16_t* w = rq.words;
    char b[4][8];
    switch (rq.order) {
        case kOrderTeachRow:
            std::snprintf(out, size, "rx order 2 TEACH-ROW row=%u cols=%u %u %u %u next=%u", w[0], w[1], w[2],
                          w[3], w[4], w[5]);
            return;
        case kOrderStoreCalibration:
            std::snprintf(out, size, "rx order 8 STORE-CALIB power=%u dir=%u ref=%u", w[0], w[1], w[2]);
            return;
        default:
            std::snprintf(out, size,
                          "rx order %u %s power=%u pmod=%s average=%u evalmode=%s hold=%u intlim=%u maxno=%u "
                          "digitalout=%s trigger=%s extteach=%u anaout=%u..%u bias=%d pass=%u %u %u",
                          rq.order, OrderName(rq.order), w[0], Named(kPmodNames, 2, w[1], b[0]), w[2],
                          Named(kEvalNames, 2, w[3], b[1]), w[4], w[5], w[6],
                          Named(kDigitalNames, 4, w[7], b[2]), Named(kTriggerNames, 3, w[8], b[3]), w[9],
                          w[10], w[11], static_cast<int>(w[12]) - 1000, w[13], w[14], w[15]);
    }
}

void DescribeReply(uint16_t order, const uint8_t* bytes, int length, char* out, size_t size) {
    int n = std::snprintf(out, size, "tx %d bytes to order %u", length, order);
    if (n < 0 || static_cast<size_t>(n) >= size) return;
    out += n;
    size -= n;
    if (IsDataOrder(order) && length >= kDataReplyBytes) {
        std::snprintf(out, size, ": ref=%u dir=%u dif=%u norm=%u int=%u gf=%u vec=%u temp=%u power=%u",
                      WordAt(bytes, 0), WordAt(bytes, 1), WordAt(bytes, 2), WordAt(bytes, 3),
                      WordAt(bytes, 4), WordAt(bytes, 5), WordAt(bytes, 6), WordAt(bytes, 7),
                      WordAt(bytes, 8));
    } else if (order == kOrderReadCalibration && length >= kDataReplyBytes) {
        std::snprintf(out, size, ": power=%u dir=%u ref=%u", WordAt(bytes, 0), WordAt(bytes, 1),
                      WordAt(bytes, 2));
    } else if (order == kOrderVersion && length >= kVersionReplyBytes) {
        char text[kVersionChars + 1];
        for (int i = 0; i < kVersionChars; ++i) text[i] = static_cast<char>(bytes[2 * i + 1]);
        text[kVersionChars] = 0;
        std::snprintf(out, size, ": \"%s\"", text);
    } else if ((order == kOrderReadRam || order == kOrderReadEeprom) && length >= kParaReplyBytes) {
        std::snprintf(out, size, ": power=%u pmod=%u average=%u evalmode=%u maxno=%u row0=%u %u %u %u",
                      WordAt(bytes, 0), WordAt(bytes, 1), WordAt(bytes, 2), WordAt(bytes, 3),
                      WordAt(bytes, 6), WordAt(bytes, 16), WordAt(bytes, 17), WordAt(bytes, 18),
                      WordAt(bytes, 19));
    }
}

}  // namespace vsensor
