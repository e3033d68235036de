// The parameter file: the packet image as text, one value per line.
#include <cstdio>

#include "app/corvel.h"
#include "app/kept.h"
#include "link/link.h"
#include "params/paraio.h"
#include "params/params.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace corvel {

namespace {

constexpr int kWords = kParaFileWords;

// The same popup for both directions; false when the operator cancelled.
bool ChooseParameterFile(void) {
    if (FileSelectPopup(StartFolder(KEPT_PARAMETERS), "init.dat", "*.dat", "init", VAL_OK_BUTTON, 0, 1, 1, 1,
                        file_name) <= 0)
        return false;
    KeepChosenFile(KEPT_PARAMETERS, file_name);
    return true;
}

// A notice that names the file between two parts of the message.
void Attention(const char* before, const char* after) {
    char text[sizeof file_name + 128];
    std::snprintf(text, sizeof text, "%s%s%s", before, file_name, after);
    MessagePopup("ATTENTION!", text);
}

}  // namespace

int SendParaToFile(void) {
    if (!ChooseParameterFile()) return 0;
    GetPanelValues();
    CopyVarsToPP();
    if (WriteParaFile(file_name, pp) < 0) {
        Attention("The parameter file\n", "\ncould not be saved.");
        return -1;
    }
    return 1;
}

int ReadParaFromFile(void) {
    if (!ChooseParameterFile()) return 0;
    // Read into a copy so that a bad file leaves the packet, the variables
    // and the panel exactly as they were.
    unsigned short words[kWords];
    for (int i = 0; i < kWords; ++i) words[i] = pp[i];
    if (ReadParaFile(file_name, words) < 0) {
        Attention("The file\n", "\nis not a valid parameter file.\nNothing has been loaded.");
        return -1;
    }
    for (int i = 0; i < kWords; ++i) pp[i] = words[i];
    CopyPPtoVars();
    SetPanelValues();
    ReportUnfitValues();
    InitEval();
    return 1;
}

}  // namespace corvel
