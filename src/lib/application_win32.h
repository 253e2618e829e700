// The application as the taskbar and the windows of the run show it: its title (the caption of the
// program's own error boxes) and icon, and the button that carries them on the taskbar in the modes that
// name the application.
#pragma once

#include <windows.h>

#include "lib/strnum.h"

// What the taskbar and the windows of the run show for the application: its title and icon (the
// converter and command-line modes replace both). The icon is owned here.
struct ApplicationRecord {
    TextBuf<79> Title;
    HICON Icon;
};
extern ApplicationRecord Application;
void ResetApplication();
void SetApplicationIcon(HICON icon); // destroys an icon set before

// The modes that name the application show its title on the taskbar: a visible window of no size
// carries Application.Title and icon and owns the main window (an owned window gets no taskbar button),
// as classic form toolkits do. Clicking its button activates the main window or its dialog.
void ShowApplicationButton(HWND mainWindow);
HWND ApplicationButtonWindow(); // nullptr while none is shown
// Gives the main window back its own button and removes the application's.
void CloseApplicationButton(HWND mainWindow);
