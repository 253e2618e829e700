#include "unzip32/zippath.h"

#include <array>

#include "lib/textfold.h"

namespace unzip {

namespace {

// Windows opens these names as devices in every folder, with or without an extension.
bool IsDeviceName(std::string_view part) {
    static constexpr std::array<std::string_view, 7> plain = {"CON",    "PRN",    "AUX",    "NUL",
                                                              "CLOCK$", "CONIN$", "CONOUT$"};
    std::string_view base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (std::string_view d : plain)
        if (SameText(base, d)) return true;
    if (base.size() == 4 && base[3] >= '1' && base[3] <= '9')
        return SameText(base.substr(0, 3), "COM") || SameText(base.substr(0, 3), "LPT");
    return false;
}

// "..", "...", ".. " and the like: Windows drops trailing dots and blanks, so any of them may climb.
bool IsDotsOnly(std::string_view part) {
    for (char c : part)
        if (c != '.' && c != ' ') return false;
    return true;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace

NameKind MemberPath(std::string_view name, bool junkFolders, bool blanksToUnderscore, std::string& path) {
    path.clear();
    if (name.empty() || IsSeparator(name[0])) return NameKind::Refused;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == ':') return NameKind::Refused;
    const bool folder = IsSeparator(name.back());
    size_t start = 0;
    while (start < name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        std::string_view part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (IsDotsOnly(part) || IsDeviceName(part)) return NameKind::Refused;
        if (junkFolders) path.clear();
        if (!path.empty()) path += '/';
        path.append(part);
    }
    if (blanksToUnderscore)
        for (char& c : path)
            if (c == ' ') c = '_';
    if (folder) {
        if (junkFolders) path.clear();
        return NameKind::Folder;
    }
    return path.empty() ? NameKind::Refused : NameKind::File;
}

} // namespace unzip
