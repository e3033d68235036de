// How the popups ask the test seam for an answer.
#pragma once
#include <string>

#include "platform/seam.h"

namespace seam {
namespace hook {

// With a script installed: records the popup, runs the queued answer's
// `during` hook and returns true with the answer in *value (and *path for
// a file selection). Without a script: false, the real dialog shows.
bool Answer(Popup p, int* value, std::string* path);

}  // namespace hook
}  // namespace seam
