// Real files for the reader: the archive as a ZipSource and the target folder as a ZipSink. One
// implementation per platform (zipfiles_posix.cpp, zipfiles_win32.cpp).
//
// The sink writes each member straight to its final name and deletes it again when the member fails
// (damage, a failed write), so no half-written file is left looking complete. An existing file is
// replaced: on POSIX it is unlinked first (a link there is replaced, not followed); on Windows a
// read-only, hidden or system attribute is cleared when it stops the replacement.
#pragma once

#include <memory>

#include "unzip32/zipreader.h"

namespace unzip {

// The archive; null when it cannot be opened.
std::unique_ptr<ZipSource> OpenFileSource(const char* path);

// The target folder, made with its parents when missing; null when it cannot be made.
std::unique_ptr<ZipSink> OpenFolderSink(const char* folder);

} // namespace unzip
