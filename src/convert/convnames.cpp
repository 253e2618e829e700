#include "convert/convnames.h"

#include "lib/paths.h"
#include "lib/strnum.h"

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Index of the last separator, or npos.
size_t LastSep(std::string_view path) {
    for (size_t i = path.size(); i-- > 0;)
        if (IsPathSep(path[i])) return i;
    return std::string_view::npos;
}

// Length of the root at the front of a path: "C:\" 3, "C:" 2, "\" or "/" 1, none 0.
size_t RootLength(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':')
        return path.size() >= 3 && (path[2] == '\\' || path[2] == '/') ? 3 : 2;
#endif
    return !path.empty() && IsPathSep(path[0]) ? 1 : 0;
}

} // namespace

bool IsPathSep(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

std::string_view NameOf(std::string_view path) {
    size_t sep = LastSep(path);
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string FolderOf(std::string_view path) {
    size_t sep = LastSep(path);
    if (sep == std::string_view::npos) return {};
    size_t root = RootLength(path);
    return std::string(path.substr(0, sep + 1 > root ? sep : root));
}

std::string ParentFolder(std::string_view folder) {
    size_t root = RootLength(folder);
    while (folder.size() > root && IsPathSep(folder.back())) folder.remove_suffix(1);
    if (folder.size() <= root) return {};
    return FolderOf(folder);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !IsPathSep(path.back())) path += PathSep;
    path += name;
    return path;
}

char KindLetter(std::string_view path) {
    std::string_view name = NameOf(path);
    // The name as a buffer of exactly its length: the path library's double-extension rule applies.
    int dot = ExtDotPos(1, name.data(), static_cast<int>(name.size()) - 1);
    return dot >= 0 && dot + 1 < static_cast<int>(name.size()) ? Upper(name[dot + 1]) : 0;
}

bool IsDataKind(char kind) {
    return kind != 0 && DataKinds.find(kind) != std::string_view::npos;
}

std::string DestinationName(int mode, int extChoice, std::string_view extension, std::string_view name) {
    std::string dest(name);
    if (mode == 0) {
        size_t dot = dest.rfind('.');
        if (dot != std::string::npos) dest.resize(dot);
    } else if (extChoice == ExtTxt) {
        dest += ".TXT";
    } else if (extChoice == ExtInput) {
        dest += '.';
        dest += extension;
    }
    return dest;
}

bool KeepsSourceName(int mode, int extChoice, [[maybe_unused]] std::string_view extension) {
    if (mode == 0) return false; // the last extension goes, so the name always differs
    if (extChoice == ExtKeep) return true;
#ifdef _WIN32
    return extChoice == ExtInput && extension.find_first_not_of(". ") == std::string_view::npos;
#else
    return false;
#endif
}
