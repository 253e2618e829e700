// Real files for the reader: the archive as a ZipSource and the target folder as a ZipSink. The sink
// is portable (zipfiles.cpp) over the library's file primitives, so the fault injector reaches every
// write it makes; the archive, the folder levels and a few details are the platform's
// (zipfiles_posix.cpp, zipfiles_win32.cpp).
//
// A member is written beside its target under a temporary name and takes the target's name only when
// it inflated with the right CRC and was written and closed whole; otherwise the temporary file goes
// and an existing file keeps every byte. An existing file is replaced by a move: on POSIX a link there
// is replaced, not followed; on Windows a read-only, hidden or system file is replaced as well.
#pragma once

#include <memory>
#include <string>

#include "lib/fs.h"
#include "unzip32/zipreader.h"

namespace unzip {

// The archive; null when it cannot be opened.
std::unique_ptr<ZipSource> OpenFileSource(const char* path);

// The target folder, made with its parents when missing; null when it cannot be made.
std::unique_ptr<ZipSink> OpenFolderSink(const char* folder);

// The sink over a folder that exists; base ends with the system's separator.
std::unique_ptr<ZipSink> NewFolderSink(std::string base);

// ---- The platform's part of the sink ------------------------------------------------------------------
namespace sys {
constexpr char Separator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif
// Something (a file, folder or link) has the name.
bool Exists(const char* path);
// Gives the open file the modification time of a DOS stamp (date high, time low); failures ignored.
void Stamp(FileHandle file, uint32_t dosTime);
// Puts the finished temporary file in place of target (PutFileInPlace), as far as the system's
// attributes of an existing target allow.
FsError PutInPlace(const std::string& temp, const std::string& target);
} // namespace sys

} // namespace unzip
