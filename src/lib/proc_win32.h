// Processes, shortcuts and shell folders: the Windows version tests, starting another program and
// optionally waiting for it, the shell's special folders, and shell-link (.LNK) files. Thin layers over
// Win32 and the shell's COM objects; every failure is silent (a false flag, or nothing happens).
#pragma once

#include <string_view>

#include "lib/paths.h"
#include "lib/proc.h"

// Initialises COM (single-threaded apartment) on the calling thread; the program entry calls it once
// before any window exists, tests call it before they make links. True when COM is usable.
bool InitComForProcess();

// Platform NT (NT 4.0, 2000 and later).
bool IsWindowsNT();
// Windows 95 only: the Windows platform at version 4.0 to 4.9; 98 (4.10) and Me (4.90) are not 95.
bool IsWindows95();

// Starts the program with the command line of BuildCommandLine and the directory as its working
// directory (an empty directory keeps the caller's). With wait set, blocks without a time limit until
// the program ends; either way pending window messages are processed afterwards. A program that
// cannot be started is not reported.
void RunProgram(std::string_view program, std::string_view directory, std::string_view args, bool wait);

// The path of a shell special folder (CSIDL number: 2 the Start-menu programs, 16 the desktop
// directory), cut to the PathBuf. A folder without a file-system path gives ok false and leaves the
// buffer unchanged.
void SpecialFolder(int folder, PathBuf& path, bool& ok);

// Writes one shell link: target path, description and arguments; the icon location only when
// iconNumber is above 0, then as (iconFile, iconNumber - 1). No working directory, hot key or show
// command. ok tells whether the link file was saved.
void CreateShellLink(std::string_view target, std::string_view linkFile, std::string_view description,
                     std::string_view args, std::string_view iconFile, int iconNumber, bool& ok);

// A link to programDir\program.EXE (program given without extension) saved as linkDir\linkName.LNK,
// or linkDir\program.LNK when linkName is empty; no description.
void MakeProgramLink(std::string_view program, std::string_view linkName, std::string_view programDir,
                     std::string_view linkDir, std::string_view args, std::string_view iconFile,
                     int iconNumber, bool& ok);

// MakeProgramLink without arguments and without icon (the target's own icon shows). The out flag comes
// before the link directory, in the order the shell's callers use.
void MakePlainLink(std::string_view program, std::string_view linkName, std::string_view programDir, bool& ok,
                   std::string_view linkDir);
