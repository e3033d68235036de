// The header of the main panel: background colour, logo and title texts.
#pragma once

namespace corvel {

void ShowLogo(int index);
void ShowInfoText1(const char* text, int left, int top, int size);
void ShowInfoText2(const char* text, int left, int top, int size);
void ShowInfoText3(const char* text, int left, int top, int size);

}  // namespace corvel
