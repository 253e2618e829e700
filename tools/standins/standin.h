// What the stand-in programs share: their words, the environment switches, the log line and small
// file helpers over plain Win32. The switches every stand-in reads:
//
//   VEXA_STANDIN_LOG    file the program appends its log line to (default C:\standin.log)
//   VEXA_STANDIN_SLEEP  milliseconds to sleep before ending (default 0)
//   VEXA_STANDIN_FAIL   comma-separated failure modes, each honoured by the programs it concerns:
//                         nomarker  the installer gives up at once: no tree, the marker untouched
//                         zero      the installer builds the tree but writes 0 as the marker's line 1
//                         noreport  VxSet "Info Win" and VEXA "test" write no report
//
// The log line, appended when the program ends, is: name TAB working directory TAB command line CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace standin {

// The words after the program's own name, split at blanks with no quote handling, the way a DOS
// program splits its command tail: a path with a blank arrives as two words.
std::vector<std::string> Words();
// The command tail alone: everything after the program's own name and the blanks that follow it.
std::string CommandTail(std::string_view commandLine);
std::vector<std::string> SplitAtBlanks(std::string_view tail);

std::string Env(const char* name);
bool Failing(std::string_view mode);

std::string CurrentDir();
std::string OwnPath();
std::string DirOf(std::string_view path); // text before the last backslash
std::string Join(std::string_view dir, std::string_view name);
std::string Upper(std::string_view s);
bool EndsWithNoCase(std::string_view s, std::string_view tail);

bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
void MakeDirs(const std::string& path);                                          // every missing level
bool WriteLines(const std::string& path, const std::vector<std::string>& lines); // CR LF after each
std::vector<std::string> ReadLines(const std::string& path);                     // empty when missing
void CopyTree(const std::string& from, const std::string& to); // files overwritten, folders made
std::string Today();                                           // DD.MM.YYYY

// Sleeps as VEXA_STANDIN_SLEEP asks, appends the log line and gives back the exit code.
int Finish(const char* name, int exitCode);

} // namespace standin
