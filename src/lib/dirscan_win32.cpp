// Directory scans over the Windows find functions.
#include "lib/dirscan.h"

#include <windows.h>

#include "lib/fs.h"
#include "lib/paths.h"

DirScan::DirScan(std::string_view dir, std::string_view mask, uint32_t requested)
    : dir_(dir), mask_(mask), requested_(requested) {}

DirScan::~DirScan() {
    if (handle_ && handle_ != reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE))
        FindClose(reinterpret_cast<HANDLE>(handle_));
}

bool DirScan::Next() {
    WIN32_FIND_DATAA entry;
    while (!ended_) {
        bool found;
        if (!handle_) {
            std::string pattern = JoinFile(dir_, mask_);
            HANDLE h = JoinedWhole(dir_, mask_, pattern) ? FindFirstFileA(SysName(pattern).c, &entry)
                                                         : INVALID_HANDLE_VALUE;
            handle_ = reinterpret_cast<intptr_t>(h);
            found = h != INVALID_HANDLE_VALUE;
        } else {
            found = FindNextFileA(reinterpret_cast<HANDLE>(handle_), &entry);
        }
        if (!found) break;
        name_.Set(entry.cFileName);
        attributes_ = entry.dwFileAttributes;
        if (Admitted()) return true;
    }
    ended_ = true;
    return false;
}
