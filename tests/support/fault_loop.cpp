#include "support/fault_loop.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace testsupport {

FsError FaultErrorAt(int position) {
    static const FsError errors[] = {FsDiskFull, FsAccessDenied, FsSharingViolation};
    return errors[position % 3];
}

int ForEachFault(const std::function<void()>& run,
                 const std::function<void(int position, FsError error)>& check) {
    ArmFsFault(0, FsOk);
    run();
    int count = FsOpCount();
    ArmFsFault(0, FsOk);
    check(0, FsOk);
    EXPECT_GT(count, 0) << "the writer made no file operation";
    for (int position = 1; position <= count; ++position) {
        SCOPED_TRACE("fault at operation " + std::to_string(position) + " of " + std::to_string(count));
        ArmFsFault(position, FaultErrorAt(position));
        run();
        ArmFsFault(0, FsOk);
        check(position, FaultErrorAt(position));
    }
    return count;
}

std::vector<std::string> TempFilesIn(const std::string& dir) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::string name = entry.path().filename().string();
        if (IsTempName(name)) found.push_back(name);
    }
    return found;
}

} // namespace testsupport
