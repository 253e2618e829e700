// Commands whose modules have not arrived yet: each names itself in a plain information box.
#include "shell/commands_pending.h"

#include "lib/msg.h"
#include "lib/prompter.h"
#include "shell/registry.h"

namespace {
void NotAvailable(const char* what) {
    ShowLines(ui::BtnOk | ui::IconInformation, "SetUp",
              {std::string(what), "is not available in this version yet."});
}
} // namespace

void WindowsSetup() {
    WriteRegistry();
    NotAvailable("The Windows set-up (advice, shortcuts, IEEE driver)");
}

void LoadBugfix() {
    NotAvailable("Loading bugfix packages");
}
void ShowInfoTools() {
    NotAvailable("The information tools");
}
void EditStartFile(int which) {
    NotAvailable(which == 1 ? "The CONFIG.SYS editor" : "The AUTOEXEC.BAT editor");
}
void EditTextFile(std::string_view) {
    NotAvailable("The text editor");
}
void ViewTextFile(std::string_view) {
    NotAvailable("The text viewer");
}
