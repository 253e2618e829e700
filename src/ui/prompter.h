// The one seam through which every message box of the program passes. The program installs the Win32
// prompter (a real MessageBoxA owned by the application window, or a message-box-like window of the
// toolkit for questions a system box cannot ask); tests install a scripted one; vexaconv asks on the
// terminal. Portable: the flag and answer values are Win32's own, spelled out here.
#pragma once

#include <string>

namespace ui {

// Button sets (low 4 bits), as MB_OK ... MB_RETRYCANCEL, plus one of our own.
constexpr unsigned BtnOk = 0x0;
constexpr unsigned BtnOkCancel = 0x1;
constexpr unsigned BtnAbortRetryIgnore = 0x2;
constexpr unsigned BtnYesNoCancel = 0x3;
constexpr unsigned BtnYesNo = 0x4;
constexpr unsigned BtnRetryCancel = 0x5;
constexpr unsigned BtnYesNoCancelAll = 0xF; // no system box has it: shown by the toolkit's own window
constexpr unsigned ButtonMask = 0xF;

// Icons, as MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK.
constexpr unsigned IconStop = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconWarning = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned IconMask = 0xF0;

// Default button, as MB_DEFBUTTON1..3 (a fourth for the four-button question).
constexpr unsigned DefButton1 = 0x000;
constexpr unsigned DefButton2 = 0x100;
constexpr unsigned DefButton3 = 0x200;
constexpr unsigned DefButton4 = 0x300;
constexpr unsigned DefButtonMask = 0xF00;

// Answers, as IDOK ... IDNO, plus All.
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdAbort = 3;
constexpr int IdRetry = 4;
constexpr int IdIgnore = 5;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
constexpr int IdAll = 100;

class Prompter {
  public:
    virtual ~Prompter() = default;
    // Shows one box: caption, text (lines joined with CR LF), button/icon/default flags above.
    // Returns the answer's Id value.
    virtual int Ask(const std::string& caption, const std::string& text, unsigned flags) = 0;
};

// The prompter in force; nullptr restores the default (the Win32 prompter in the Windows build,
// one that answers every box with its default button in native builds).
void SetPrompter(Prompter* prompter);
Prompter& CurrentPrompter();

// The answer a box gets when nobody can be asked: its default button.
int DefaultAnswer(unsigned flags);

} // namespace ui
