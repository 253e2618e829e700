// Installation from a distribution medium: finding the install directory, unpacking the ZIP packages,
// keeping the medium's Windows tools safe in a temporary folder while VEXA's own DOS installer runs,
// taking over the installer's answer from the marker file, and putting the tools into the new tree.
// WinSet's copy of the tools into an existing tree lives here too.
#pragma once

#include <string>
#include <string_view>

// The marker the installer answers in, inside the temporary tool folder.
extern const char* const MarkerName; // "VEXA.$$$"

// True when dir\KORVO\Initdat\Version.DAT exists.
bool HasVexaTree(std::string_view dir);

// Sets InstallDir to the first existing tree among: the registry's "Path", the set-up folder, its Vexa
// subfolder, C:\Vexa, X:\Vexa_Dos on the fixed drives from C: up to the first drive that is not fixed,
// and the directories AUTOEXEC.BAT names before \KORVO\BAT; else C:\Vexa_Dos.
void FindInstallDir();
// The directory an AUTOEXEC.BAT line names before "KORVO\BAT" (from its drive letter on); empty when
// the line names none.
std::string AutoexecCandidate(std::string_view line);

// Unpacks VEXA_1.ZIP .. VEXA_6.ZIP of the set-up folder into emptied folders VEXA_1 .. VEXA_6 beside
// them. A package whose folder name does not fit the path buffer is refused without touching the disk.
void ExtractPackages();
// The folder package i unpacks into, with a trailing backslash; ok false when it does not fit the path
// buffer whole (a cut name could be the set-up folder itself).
std::string PackageFolder(std::string_view setupDir, int i, bool& ok);

// Saves the tools, runs the medium's installer and waits for it, then takes over its answer. ok tells
// whether the installer reported success.
void RunInstallation(bool& ok);
// The installer's command line: "UPDA" or "PATH", the installer's folder (a bare drive gets its
// backslash) and installDir\KORVO. A folder with a blank is passed in its 8.3 form (the DOS installer
// splits its words at blanks), for KORVO the part of it that exists.
std::string InstallerParams(bool update, std::string_view installer, std::string_view installDir);
// The installer's working directory: installDir cut before a "VEXA" in it, or setupDir when that is no
// existing directory.
std::string InstallerWorkDir(std::string_view installDir, std::string_view setupDir);
// The 8.3 form of the existing part of a path that has a blank in it (the rest appended as it is).
std::string ShortExistingPart(std::string_view path);

// Copies SetUp.EXE, UnZip32.DLL and the WIN folder's files into the temporary tool folder and writes
// the marker: 0, WinVersionCode, the Windows directory.
void PrepareTempTools();
// When ok: reads the installer's answer (ok false when the marker is missing or line 1 is 0), takes the
// new install directory from line 2 (an empty line keeps the old one), makes it the set-up folder and
// copies the saved tools into its KORVO\Install\Win. Always removes the temporary tool folder.
void RestoreTools(bool& ok);
// WinSet: the set-up folder's Win files and SetUp.EXE into InstallDir's KORVO\Install\Win.
void CopyWinTools(bool& ok);
