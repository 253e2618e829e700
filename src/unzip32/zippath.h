// Member names as paths: the checks that keep every written file inside the target folder. Portable.
#pragma once

#include <string>
#include <string_view>

namespace unzip {

// What a member name turns into.
enum class NameKind { File, Folder, Refused };

// Turns a member name as stored in the archive into a path relative to the target folder, parts joined
// by '/'. Either slash separates parts (a trailing one marks a folder); empty and "." parts are dropped.
// Refused: names that are empty or hold a NUL or control character, absolute names (a leading slash),
// any ':' (drive letters, alternate streams), parts made only of dots and blanks other than "." (".."
// and the spellings Windows reads as it), and DOS device names (CON, NUL, COM1, ...) whatever their
// extension. junkFolders keeps only the last part (a folder then gives an empty path); blanksToUnderscore
// writes '_' for each blank.
NameKind MemberPath(std::string_view name, bool junkFolders, bool blanksToUnderscore, std::string& path);

} // namespace unzip
