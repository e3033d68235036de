// The parameter file format through the platform's array-to-file services,
// with no panel involved.
#include "params/paraio.h"

#include "platform/files.h"
#include "platform/ui.h"  // DT_* data types only

namespace corvel {

namespace {
constexpr int kFieldWidth = 5;
}  // namespace

int WriteParaFile(const char* fileName, const unsigned short* words) {
    return ArrayToFile(fileName, words, DT_U16, kParaFileWords, 1, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                       VAL_CONST_WIDTH, kFieldWidth, VAL_ASCII, VAL_TRUNCATE);
}

int ReadParaFile(const char* fileName, unsigned short* words) {
    return FileToArray(fileName, words, DT_U16, kParaFileWords, 1, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                       VAL_ASCII);
}

}  // namespace corvel
