// Processes: the command line a program is started with. Portable, so both builds test it; the
// starting itself, shortcuts and shell folders are in proc_win32.h.
#pragma once

#include <string>
#include <string_view>

// The command line RunProgram hands to Windows, at most 239 characters: the program gets ".EXE" when
// it has no 3-letter extension and is joined to the directory unless it has a drive or a leading
// backslash; a program path with a blank is put in double quotes (unquoted, Windows would try
// C:\Program.exe for C:\Program Files\X.EXE), any other stays as written; then one blank and the
// arguments when there are any.
std::string BuildCommandLine(std::string_view program, std::string_view directory, std::string_view args);
