// Runs a Unix shell script from a test under Wine, for set-up only a Unix process can do (mounting a
// small file system, linking a drive letter under $WINEPREFIX/dosdevices). Wine starts Unix programs
// but never reports their end, so the script's exit code comes back through a file.
#pragma once

#include <string>

#include "support/wine_win32.h"

namespace testsupport {

// The exit code of the script run by /bin/sh (with WINEPREFIX in its environment), or -1 when it did
// not finish within timeoutMs or could not be started.
int RunUnixShell(const std::string& script, int timeoutMs = 20000);

// A 64 KiB file system (tmpfs) under a drive letter while the object lives, for writes that run out of
// space. Needs root: Letter is 0 when it could not be made.
class SmallDisk {
  public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    char Letter = 0;
    std::string Root; // "Q:\\"

  private:
    std::string mountDir_;
    bool mounted_ = false;
    WineDrives drive_;
};

} // namespace testsupport
