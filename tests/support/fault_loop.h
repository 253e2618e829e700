// Fault injection over a whole writer: the writer runs once to count its file operations, then once
// for every position with that operation failing, so each place a disk can fail is tried.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lib/fs.h"

namespace testsupport {

// The error the fault at a position reports: disk full, access denied and sharing violation in turn,
// so every writer meets each of them without tripling its runs.
FsError FaultErrorAt(int position);

// Runs run() once without a fault and counts its operations (N), then for each position 1..N runs it
// again with that operation failing (FaultErrorAt) and calls check(position, error) after it. The
// injector is disarmed around check. Returns N; fails the test when the writer made no operation.
int ForEachFault(const std::function<void()>& run,
                 const std::function<void(int position, FsError error)>& check);

// The temporary files of writers (CreateTempBeside's names) in a folder: none may outlive a run.
std::vector<std::string> TempFilesIn(const std::string& dir);

} // namespace testsupport
