// The main panel's callback convention and its help-only callbacks.
#pragma once

namespace corvel {

// A command button whose procedure runs inside its callback shows red while
// it runs and light grey afterwards.
constexpr int kButtonRunning = 0xFF0000;
constexpr int kButtonIdle = 0xE0E0E0;

// The right-click help of a control: a popup titled `title` with the text
// the help table gives the control (the same text as its tooltip). Nothing
// for a control the table does not name.
void ShowControlHelp(int panelHandle, int control, const char* title = "INFO!");
// That help for a right click, nothing for any other event; returns 0.
int HelpOnly(int panelHandle, int control, int event);

int CBF_DispChRef(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispChDir(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispChDif(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_BarChRef(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_BarChDir(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_BarChDif(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispNorm(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispINT(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispVec(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispStatus(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace corvel
