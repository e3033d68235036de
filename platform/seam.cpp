// Scripted answers for popups, so that tests never wait for an operator.
#include "platform/seam.h"

#include <deque>

#include "platform/internal/seamhook.h"

namespace seam {
namespace {

bool g_installed = false;
std::deque<Answer> g_script;
std::vector<Popup> g_shown;
void (*g_handler)(const Popup&) = nullptr;

}  // namespace

void Install() {
    g_installed = true;
    g_script.clear();
    g_shown.clear();
}

void Uninstall() {
    g_installed = false;
    g_script.clear();
    g_shown.clear();
}

bool Installed() {
    return g_installed;
}

void ExpectMessage() {
    Answer a;
    a.kind = Kind::Message;
    Expect(a);
}

void ExpectConfirm(int answer) {
    Answer a;
    a.kind = Kind::Confirm;
    a.value = answer;
    Expect(a);
}

void ExpectFile(int answer, const std::string& path) {
    Answer a;
    a.kind = Kind::FileSelect;
    a.value = answer;
    a.path = path;
    Expect(a);
}

void Expect(const Answer& a) {
    g_script.push_back(a);
}

const std::vector<Popup>& Shown() {
    return g_shown;
}

void Clear() {
    g_shown.clear();
}

int Pending() {
    return static_cast<int>(g_script.size());
}

Handler SetUnexpectedHandler(Handler handler) {
    Handler before = g_handler;
    g_handler = handler;
    return before;
}

namespace hook {

bool Answer(Popup p, int* value, std::string* path) {
    if (!g_installed) return false;
    if (g_script.empty() || g_script.front().kind != p.kind) {
        p.answer = 0;
        *value = 0;
        if (path) path->clear();
        g_shown.push_back(p);
        if (g_handler) g_handler(p);
        return true;
    }
    // Taken before `during` runs, so that popups it causes get the next answers.
    seam::Answer a = g_script.front();
    g_script.pop_front();
    p.answer = p.kind == Kind::Message ? 0 : a.value;
    *value = p.answer;
    if (path) *path = a.path;
    g_shown.push_back(p);
    if (a.during) a.during(a.data);
    return true;
}

}  // namespace hook
}  // namespace seam
