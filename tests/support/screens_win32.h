// For window tests: screenshots of real windows for review (PNGs in build/screens/), and the modal hook
// set for a scope.
#pragma once
#include <string>
#include <windows.h>

#include "ui/form.h"

namespace testsupport {

// Lets the window paint, then saves the screen rectangle of the window as build/screens/<name>.png
// (taken with xwd and ImageMagick outside Wine). Returns the Unix path of the PNG, or "" on failure.
std::string SaveScreenshot(HWND window, const std::string& name);

// Runs pending messages of this thread for at least the given milliseconds, so windows paint.
void PumpMessages(int milliseconds);

// Installs a modal hook for the object's lifetime; the hook is removed even when a check fails.
struct HookGuard {
    explicit HookGuard(ui::ModalHook hook) { ui::SetModalHook(std::move(hook)); }
    ~HookGuard() { ui::SetModalHook(nullptr); }
};

} // namespace testsupport
