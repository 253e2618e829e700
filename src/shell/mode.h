// The mode decision of the main window's first activation: where the program lies, what lies beside it
// and the word on its command line choose between installing, the set-up panel, the command-line page
// and the converter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct ModeDecision {
    int32_t Mode;
    std::string InstallDir; // the tree the program runs from (modes 0, -1, -2); empty otherwise
};

// The word on a command line: the text after the program name (a quoted name ends at its closing quote,
// an unquoted one at the first blank) without surrounding blanks, at most 79 characters.
std::string CommandWord(std::string_view commandLine);

// The decision from the program's directory, the command line and a file-existence test:
// VEXA_1.ZIP beside the program gives 4; otherwise a program outside a ...\KORVO\INSTALL\WIN folder
// gives 3 when Vexa_1\initdat\version.dat lies beside it, else 2; a program inside one gives 0, or -1
// for the word CMD and -2 for ASC (in any case).
ModeDecision DecideModeFrom(std::string_view setupDir, std::string_view commandLine,
                            const std::function<bool(std::string_view)>& fileExists);

// The whole decision for this process: SetupDir and the set-up state (Windows directories, version
// code, InstallDir, searched for in the installation modes), SetupMode, the temporary tool folder,
// UnZip32.DLL's folder, and the run's flags.
void DecideMode();
// The same for a given program directory and command line.
void DecideModeFor(std::string_view setupDir, std::string_view commandLine);
