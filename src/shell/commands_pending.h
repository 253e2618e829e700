// The commands of the main window that other modules provide: the Windows preparation, the update
// packages, the start-file editor and text viewer, the information tools and the converter window.
// Until its module arrives, each command here says in a box that it is not available yet; a module
// that brings one takes its definition out of commands_pending.cpp and declares it in its own header.
#pragma once

#include <string_view>

void LoadBugfix();                        // update packages from the maker's web site
void ShowConvWindow();                    // the converter window, modal
