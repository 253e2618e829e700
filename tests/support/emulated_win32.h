// Tests that must run under an older Windows: the test program runs itself again under one of Wine's
// emulated versions (its per-program AppDefaults key), limited to the tests that check that version.
#pragma once

#include <string>

namespace testsupport {

// Runs this test program again with --gtest_filter=filter under the version ("win95", "win98", "nt40",
// "win2k"); its output joins this program's. The child's exit code (0: its tests passed), -1 when it
// could not be started, 3 when it ran no test at all.
int RunTestsEmulated(const std::string& version, const std::string& filter);
// The version a child run was started under; "" in an ordinary run.
std::string EmulatedVersion();

} // namespace testsupport

// In a test that only means something under an emulated version: skips it in an ordinary run.
#define SKIP_UNLESS_EMULATED()                                                                               \
    if (testsupport::EmulatedVersion().empty()) GTEST_SKIP() << "runs in an emulated child run"
