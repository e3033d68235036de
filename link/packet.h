// The parameter packet's layout, one definition for the panel program,
// corvel-ctl and the parameter file: the head words, then the teach table
// row by row.
#pragma once

namespace corvel {

// Words 0-15: the twelve parameters, bias, and three words of the sensor's own.
constexpr int kHeadWords = 16;
constexpr int kTeachRows = 31;
constexpr int kTeachColumns = 4;
constexpr int kPacketWords = kHeadWords + kTeachRows * kTeachColumns;  // 140
// Bias travels offset so that a negative value is an unsigned word (mod 65536).
constexpr int kBiasWord = 12;
constexpr int kBiasOffset = 1000;

}  // namespace corvel
