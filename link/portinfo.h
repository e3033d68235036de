// What a port's state means in words: the status text of an open error,
// and the device behind COM n with the system's reason and the remedy.
// Shared by the panel's status line and corvel-ctl's messages.
#pragma once

#include <cstddef>

namespace corvel {

// The status text of an OpenComConfig error code, e.g. "Cannot open port".
const char* OpenErrorText(int code);
// The device COM `port` stands for, or why it cannot be used and what
// helps ("" when nothing is known).
void PortDetailText(unsigned short port, char* text, size_t size);

}  // namespace corvel
