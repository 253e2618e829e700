// The set-up state and the measurement program's installed tree: the process-wide record of the
// install directory, the Windows directories and the Windows version code, the paths into the KORVO
// tree, the reading of the tree's line-oriented data files and the start-parameter file VexaCmd.CFG.
#pragma once

#include <string>
#include <string_view>

#include "lib/paths.h"

// The state the main window fills at start-up; a successful installation replaces InstallDir.
struct SetupStateRecord {
    PathBuf InstallDir; // the directory that holds KORVO
    PathBuf WindowsDir;
    PathBuf SystemDir;
    int WinVersionCode; // 1 Windows 95, 2 98 (or another 9x), 3 Me, 4 NT, 5 2000
};

extern SetupStateRecord SetupState;
// Start state: all texts empty, WinVersionCode 0.
void ResetSetupState();

// The Windows and system directories from Windows, and WinVersionCode from the version tests:
// 4 on the NT family, 1 on Windows 95, 2 on any other Windows. InstallDir is left alone.
void ReadWindowsState();

bool IsNtFamily();         // WinVersionCode 4 or above
std::string WindowsName(); // "Windows " and the name of WinVersionCode ("Windows " alone when unknown)

// ---- Paths into the tree (each at most 176 characters) ---------------------------------------------

std::string KorvoDir(std::string_view sub); // InstallDir\Korvo, then \sub when sub is not empty
std::string PrgDir();                       // InstallDir\Korvo\Prg
std::string InstallWinDir();                // InstallDir\Korvo\Install\Win

// ---- Data files -------------------------------------------------------------------------------------

// Line n (from 1) of a text file, at most width characters (256, or 80 for the date list), with its
// "*" comment cut and trailing control characters and blanks removed. A line ends at LF, at CR (which
// takes the next character with it) or at Ctrl-Z. Empty when the file cannot be read or has fewer lines.
std::string DatLine(std::string_view file, int n, int width = 256);
std::string HardwareLine(int n); // DatLine of KorvoDir("Hardconf\Hardware.DAT")

// Line 2 of a version-date file (DD.MM.YYYY), or "01.01.1990" when it is empty or the file is missing.
std::string DatDate(std::string_view file);
void DatDate(std::string_view file, char* out, int n);
// True when date a is strictly before date b, both DD.MM.YYYY (an empty text counts as the earliest).
bool IsEarlier(std::string_view a, std::string_view b);

// Loads (load true) or saves the start parameters of the measurement program in
// InstallWinDir\VexaCmd.CFG: one line, at most 1023 characters. A file that cannot be opened loads
// "sim"; a save that fails shows nothing and leaves the file saved before. True when the file was read
// or written.
bool LoadSaveCmdConfig(bool load, std::string& params);
