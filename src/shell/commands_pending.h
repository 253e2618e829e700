// The commands of the main window that other modules provide: the converter window.
// Until its module arrives, each command here says in a box that it is not available yet; a module
// that brings one takes its definition out of commands_pending.cpp and declares it in its own header.
#pragma once

void ShowConvWindow(); // the converter window, modal
