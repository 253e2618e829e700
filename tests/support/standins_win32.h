// For Windows tests that start programs: environment settings that child programs inherit, the built
// stand-ins of VEXA's programs and their log.
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace testsupport {

// Sets an environment variable of this process, which the programs it starts inherit, for the
// object's lifetime; an empty value removes the variable.
class ScopedEnv {
  public:
    ScopedEnv(const std::string& name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_, old_;
    bool had_;
};

std::string TestProgramDir(); // the folder of the running test program
std::string StandinDir();     // the built stand-ins (build/win32/tools/standins)
std::string UnzipDllDir();    // the built UnZip32.DLL (build/win32/src/unzip32)
// Copies the stand-in <program>.EXE ("Install", "VEXA", "SetUpNT", "PCICONF") into the folder.
bool CopyStandin(const std::string& program, const std::string& toDir);

// One line of the stand-ins' log: which program ran, in which working directory, with which command line.
struct StandinRun {
    std::string Name;
    std::string Dir;
    std::string CommandLine;
};
std::vector<StandinRun> ReadStandinLog(const std::string& path);

} // namespace testsupport
