// The Win32 prompter: MessageBoxA owned by the application window.
#include <windows.h>

#include "ui/prompter.h"
#include "ui/prompter_win32.h"

namespace ui {

namespace {
HWND ownerWindow = nullptr;
FourButtonAsker fourButtonAsker = nullptr;

class Win32Prompter final : public Prompter {
  public:
    int Ask(const std::string& caption, const std::string& text, unsigned flags) override {
        if ((flags & ButtonMask) == BtnYesNoCancelAll) {
            if (fourButtonAsker)
                return fourButtonAsker(ownerWindow, caption, text, flags);
            flags = (flags & ~ButtonMask) | BtnYesNoCancel; // no toolkit window yet: no All
        }
        HWND owner = ownerWindow && IsWindow(ownerWindow) ? ownerWindow : nullptr;
        return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    }
};
} // namespace

Prompter& SystemPrompter() {
    static Win32Prompter prompter;
    return prompter;
}

void SetOwnerWindow(HWND owner) { ownerWindow = owner; }
HWND OwnerWindow() { return ownerWindow; }
void SetFourButtonAsker(FourButtonAsker asker) { fourButtonAsker = asker; }

} // namespace ui
