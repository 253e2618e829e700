// What other windows call of the file browsing: the explorer and the directory chooser, each a modal
// window for one use that hands the chosen directory back in the caller's path buffer, and the reset
// of what they remember for the run. The window classes behind them are in browexp.h and
// pathdialogs.h; the window manager the converter window registers with is winmanager.h.
#pragma once

#include <string>

#include "lib/paths.h"

// The explorer with the title ("Source directory", "Destination directory"); path is the start
// directory and, when accepted, the chosen one (a drive root with its backslash, others without).
// Cancelled, path is left as it was; the mask typed is remembered either way.
void ExecBrowExp(const std::string& title, PathBuf& path, bool& accepted);
// "Choose " + title; accepted and path replaced (a drive root with, any other directory without its
// trailing backslash) when the user confirms.
void ExecBrowPath(const std::string& title, PathBuf& path, bool& accepted);

// Start state of what the explorer and the path dialogs remember between openings; start-up and tests.
void ResetBrowExp();
void ResetPathDialogs();
