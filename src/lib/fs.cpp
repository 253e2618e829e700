// The text rules of the file-system module that need no system: error numbers, names handed to the
// system, and the parsing behind ProgramDir and CommandTail.
#include "lib/fs.h"

#include <cstring>

#include "lib/paths.h"

FsError FsErrorOf(uint32_t systemCode) {
    return systemCode >= 0x80000000u ? 0x7FFFFFFF : static_cast<FsError>(systemCode);
}

bool ClearReadOnlyOnCopy = false;

SysName::SysName(std::string_view name) {
    size_t len = name.size() < sizeof(c) - 1 ? name.size() : sizeof(c) - 1;
    std::memcpy(c, name.data(), len);
    c[len] = 0;
}

namespace {
// The text as the program's 1024-character command-line buffer holds it.
std::string_view CutTo1024(std::string_view s) {
    return s.substr(0, s.size() < 1024 ? s.size() : 1024);
}
} // namespace

void ProgramDirOf(std::string_view programPath, char* out, int n) {
    std::string_view path = CutTo1024(programPath);
    if (!path.empty() && path[0] == '"') {
        path.remove_prefix(1);
        size_t close = path.find('"');
        path = close == std::string_view::npos ? std::string_view() : path.substr(0, close);
    }
    if (path.empty()) {
        BufAssign("", out, n);
        return;
    }
    std::string copy(path);
    DirPart(copy.c_str(), static_cast<int>(copy.size()) - 1, out, n);
}

void CommandTailOf(std::string_view commandLine, char* out, int n) {
    std::string_view line = CutTo1024(commandLine);
    std::string_view tail;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        if (close != std::string_view::npos) tail = line.substr(close + 1);
    } else {
        size_t blank = line.find(' ');
        if (blank != std::string_view::npos) tail = line.substr(blank + 1);
    }
    while (!tail.empty() && tail.front() == ' ') tail.remove_prefix(1);
    while (!tail.empty() && tail.back() == ' ') tail.remove_suffix(1);
    BufAssign(tail, out, n);
}
