// The main window's process-wide state: the mode the program works in, where its files come from,
// the installation page's progress and the flags of the run. One instance, read by the main window,
// the mode decision and the installation.
#pragma once

#include <cstdint>

#include "lib/paths.h"

// The modes of SetupMode.
constexpr int32_t ModeConverter = -2;   // "ASC": only the converter window
constexpr int32_t ModeCommandLine = -1; // "CMD": the page that starts VEXA with an option
constexpr int32_t ModeSetupPanel = 0;   // the set-up panel of an installed copy
constexpr int32_t ModeWinToolsOnly = 1; // WinSet: copy the Windows tools into an existing tree
constexpr int32_t ModeDiskette = 2;     // installation from diskettes
constexpr int32_t ModeUnpacked = 3;     // installation from an unpacked medium
constexpr int32_t ModeZipPackages = 4;  // installation from VEXA_1.ZIP .. VEXA_6.ZIP

// InstallState: the installation page's progress.
constexpr int32_t InstallNotRun = 0;
constexpr int32_t InstallDone = 1;  // the next OK closes
constexpr int32_t InstallClose = 2; // close now

struct MainStateRecord {
    int32_t SetupMode;
    PathBuf SetupDir;    // where the installation files come from; the installed tree after installing
    PathBuf TempToolDir; // the Windows tools' safe place while the installer runs
    int32_t InstallState;
    bool InternetUsed; // asks for the hang-up reminder when the window closes
    bool FirstActivationDone;
    bool ConverterPending; // converter mode: the first timer tick opens the converter window
    bool AdviceLayoutDone; // the advice page's memo is enlarged once per run
    NameBuf LastEditFile;  // offered again by the editor button

    // The KORVO\Install\Win folder VexaCmd.CFG was loaded from, so the options go back into that tree.
    PathBuf CmdConfigDir;
    int CommandDepth;    // commands running inside click handlers
    bool CloseRequested; // a close that arrived while a command ran, carried out when it ends
};

extern MainStateRecord MainState;
// Start state: mode 0, SetupDir empty, TempToolDir "C:\VEXA_$$$", LastEditFile "Hardware.DAT",
// every flag off.
void ResetMainState();
