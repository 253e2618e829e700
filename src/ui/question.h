// The toolkit's own message box, for questions a system box cannot ask (Yes, No, Cancel and All). It
// looks like the system's: icon, text, right-sized buttons, the default button, Esc for Cancel.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// Shows the box modally: caption, text (lines joined with CR LF) and the prompter's flags (button
// set, icon, default button). Returns the pressed button's Id value; closing the box gives Cancel.
int AskQuestion(HWND owner, const std::string& caption, const std::string& text, unsigned flags);

// Makes the Win32 prompter ask its four-button questions with AskQuestion.
void InstallQuestionBox();

} // namespace ui
