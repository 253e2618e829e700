// Windows side of the prompter seam: the window that owns every box, and the toolkit's window for
// the four-button question (Yes, No, Cancel, All) that MessageBoxA cannot ask.
#pragma once
#include <string>
#include <windows.h>

namespace ui {

void SetOwnerWindow(HWND owner);
HWND OwnerWindow();

using FourButtonAsker = int (*)(HWND owner, const std::string& caption, const std::string& text, unsigned flags);
void SetFourButtonAsker(FourButtonAsker asker);

} // namespace ui
