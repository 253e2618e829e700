// Directory scans for native builds over POSIX directory streams.
#include "lib/dirscan.h"

#include <dirent.h>
#include <sys/stat.h>

#include "lib/paths.h"

DirScan::DirScan(std::string_view dir, std::string_view mask, uint32_t requested)
    : dir_(dir), mask_(mask), requested_(requested) {
    for (char& c : dir_)
        if (c == '\\') c = '/';
}

DirScan::~DirScan() {
    if (handle_ > 0) closedir(reinterpret_cast<DIR*>(handle_));
}

bool DirScan::Next() {
    if (!handle_) {
        DIR* stream = JoinedWhole(dir_, mask_, JoinFile(dir_, mask_)) ? opendir(dir_.empty() ? "." : dir_.c_str())
                                                                      : nullptr;
        handle_ = stream ? reinterpret_cast<intptr_t>(stream) : -1;
        ended_ = !stream;
    }
    while (!ended_) {
        dirent* entry = readdir(reinterpret_cast<DIR*>(handle_));
        if (!entry) break;
        if (!WildMatch(mask_, entry->d_name)) continue;
        // The entry's type from the stream where it tells; a link is followed to what it names.
        bool dir = entry->d_type == DT_DIR, link = entry->d_type == DT_LNK;
        if (entry->d_type == DT_UNKNOWN || link) {
            std::string path = dir_ + "/" + entry->d_name;
            struct stat st;
            if (lstat(path.c_str(), &st) != 0) continue;
            link = S_ISLNK(st.st_mode);
            if (link && stat(path.c_str(), &st) != 0) continue; // a dangling link is no entry
            dir = S_ISDIR(st.st_mode);
        }
        attributes_ = (dir ? AttrDirectory : AttrArchive) | (link ? AttrReparse : 0);
        name_.Set(entry->d_name);
        if (Admitted()) return true;
    }
    ended_ = true;
    return false;
}
