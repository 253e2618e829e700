// Screenshots of real windows for review: PNGs in build/screens/.
#pragma once
#include <string>
#include <windows.h>

namespace testsupport {

// Lets the window paint, then saves the screen rectangle of the window as build/screens/<name>.png
// (taken with xwd and ImageMagick outside Wine). Returns the Unix path of the PNG, or "" on failure.
std::string SaveScreenshot(HWND window, const std::string& name);

// Runs pending messages of this thread for at least the given milliseconds, so windows paint.
void PumpMessages(int milliseconds);

} // namespace testsupport
