// The demo distribution medium the build makes (build/demo/medium), for tests that install from it.
#pragma once

#include <string>

namespace testsupport {

// The medium's folder as Wine sees it (under Z:), from the source folder the test run names.
std::string DemoMediumDir();
// Copies a folder with everything below it; existing files are overwritten.
void CopyFolder(const std::string& from, const std::string& to);
// A KORVO tree's version file: dir\KORVO\InitDat\Version.DAT with the version line and a date.
bool MakeVexaTree(const std::string& dir, const std::string& version = "4.00");

} // namespace testsupport
