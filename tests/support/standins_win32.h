// For Windows tests that start programs: scratch folders in the private prefix, environment settings
// that child programs inherit, the built stand-ins of VEXA's programs and their log.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// A fresh, empty folder C:\t\<name> for one test; removed with everything in it when the object goes.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& rel) const { return path_ + "\\" + rel; }

  private:
    std::string path_;
};

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
// Copies the stand-in <program>.EXE ("Install", "VEXA", "SetUpNT", "PCICONF") into the folder.
bool CopyStandin(const std::string& program, const std::string& toDir);

// One line of the stand-ins' log: which program ran, in which working directory, with which command line.
struct StandinRun {
    std::string Name;
    std::string Dir;
    std::string CommandLine;
};
std::vector<StandinRun> ReadStandinLog(const std::string& path);

void MakeDirs(const std::string& path);
bool FileExists(const std::string& path);
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines); // CR LF each
std::vector<std::string> ReadTextLines(const std::string& path);                     // empty when missing
std::string CrLf(const std::vector<std::string>& lines); // each line ended by CR LF
bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path); // "<missing>" when it cannot be read
void RemoveTree(const std::string& path);

} // namespace testsupport
