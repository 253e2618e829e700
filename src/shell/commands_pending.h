// The commands of the main window that other modules provide: the Windows preparation, the update
// packages, the start-file editor and text viewer, the information tools and the converter window.
// Until its module arrives, each command here says in a box that it is not available yet; a module
// that brings one takes its definition out of commands_pending.cpp and declares it in its own header.
#pragma once

#include <string_view>

// The advice page, shortcuts, registry entry and IEEE driver offer. Until it arrives only the registry
// entry is written (it belongs to the main window's module), so the installed copy can be found again.
void WindowsSetup();
void LoadBugfix();                        // update packages from the maker's web site
void ShowInfoTools();                     // the information tools dialog
void EditStartFile(int which);            // 1 CONFIG.SYS (CONFIG.NT), 2 AUTOEXEC.BAT (AUTOEXEC.NT)
void EditTextFile(std::string_view file); // the text editor on one file
void ViewTextFile(std::string_view file); // the same, read-only
