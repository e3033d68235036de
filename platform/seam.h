// Test seam for popups: a test scripts the answers of MessagePopup,
// ConfirmPopup and FileSelectPopup and gets a record of every popup shown.
// With no script installed the real dialogs show. While a script is
// installed, a popup that the script does not expect answers 0 at once and
// is reported through the handler, so a test fails instead of hanging.
// Tests and tools include it through platform/testing.h, beside the other
// test-only hooks.
#pragma once
#include <string>
#include <vector>

namespace seam {

enum class Kind { Message, Confirm, FileSelect, Ports };

struct Popup {
    Kind kind;
    std::string title;
    std::string text;                 // message; for FileSelect the default file name
    std::string directory;            // FileSelect only
    std::string filter;               // FileSelect only
    std::vector<std::string> recent;  // FileSelect only: the recent files offered
    int answer = 0;                   // what was returned
};

struct Answer {
    Kind kind;
    int value = 0;     // Confirm: 1/0; FileSelect: 0, 1 or 2; Ports: COM number or 0
    std::string path;  // FileSelect: the chosen path
    // Called while the popup is "open", before it returns (may be empty).
    void (*during)(void* data) = nullptr;
    void* data = nullptr;
};

// Installs an empty script: from now on every popup is recorded and must be expected.
void Install();
// Removes the script: real dialogs again.
void Uninstall();
bool Installed();
// Queues answers, consumed in order.
void ExpectMessage();
void ExpectConfirm(int answer);
void ExpectFile(int answer, const std::string& path);
void Expect(const Answer& a);
// Popups shown since Install or the last Clear.
const std::vector<Popup>& Shown();
void Clear();
// Answers still queued.
int Pending();
// Handler for a popup that no answer was queued for (kind, title, text).
// Returns the handler it replaces.
using Handler = void (*)(const Popup& p);
Handler SetUnexpectedHandler(Handler handler);

}  // namespace seam
