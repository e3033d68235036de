// Placeholder bodies until this module is built.
#include "branding/branding.h"

namespace corvel {

void ShowLogo(int) {}
void ShowInfoText1(const char*, int, int, int) {}
void ShowInfoText2(const char*, int, int, int) {}
void ShowInfoText3(const char*, int, int, int) {}

}  // namespace corvel
