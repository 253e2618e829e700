// Launchers into the measurement program's tree: its own programs (the disk installer and
// configuration program, the program itself, the PCI port tool), the IEEE board's ROM search and the
// unpacking of update packages into KORVO. Everything is relative to the set-up state (setupstate.h).
#pragma once

#include <string>
#include <string_view>

// The segment of the IEEE board's ROM in the adapter area (0xC000 to 0xEC00), 0 when none is found,
// -1 at once on the NT family, where that memory cannot be read. Memory that is not readable counts as
// no match, never as a crash.
int FindCecRom();

// Runs KORVO\Install\PCICONF with the board's port from Hardware.DAT line 43 as at least 4 upper-case
// hexadecimal digits, or "2b8" when the line holds no port; waits until it ends.
void RunPciConf();

// Runs KORVO\Install\Install.EXE (the disk installer, also the configuration program) with the
// parameters, working directory and current directory KORVO, and waits until it ends.
void RunDiskInstaller(std::string_view params);

// What starts the measurement program: KORVO\Prg\VEXA (.EXE added when started), or on the NT family
// the VEXA.PIF of the user's desktop once it is copied into KORVO\Install\Win.
std::string VexaStartFile();

// Starts VexaStartFile with the parameters, working directory and current directory KORVO\Prg;
// waits only when asked.
void RunVexa(std::string_view params, bool wait);

// Extracts an archive into KORVO (also made the current directory), showing the work-info window with
// the copy animation. Mode 0 uses the name as given; mode 1 the file of that name in KORVO; mode 2
// first copies the given file into KORVO under its own name and extracts that copy. Failures are
// reported in message boxes; the result is true when everything was extracted.
bool UnpackToKorvo(std::string_view archive, int mode);
