// The parameter file's bytes, shared by the panel program and corvel-ctl:
// the 140 packet words as text, one per line in a field five wide.
#pragma once

#include "link/packet.h"

namespace corvel {

constexpr int kParaFileWords = kPacketWords;  // the packet, as anzpara counts it

// Replaces `fileName` by the words. FILE_OK or a negative FILE_* code.
int WriteParaFile(const char* fileName, const unsigned short* words);
// Reads the words of a parameter file into `words`, which a failure (not
// a regular file, too long, fewer values, a value that is no number or
// above 65535) leaves unchanged. FILE_OK or a negative FILE_* code.
int ReadParaFile(const char* fileName, unsigned short* words);

}  // namespace corvel
