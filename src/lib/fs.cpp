// The parts of the file-system module that need no system of their own: error numbers, names handed
// to the system, the fault injector, temporary files beside a target, and the parsing behind
// ProgramDir and CommandTail.
#include "lib/fs.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "lib/paths.h"
#include "lib/textfold.h"

FsError FsErrorOf(uint32_t systemCode) {
    return systemCode >= 0x80000000u ? 0x7FFFFFFF : static_cast<FsError>(systemCode);
}

bool ClearReadOnlyOnCopy = false;

SysName::SysName(std::string_view name) {
    size_t len = name.size() < sizeof(c) - 1 ? name.size() : sizeof(c) - 1;
    std::memcpy(c, name.data(), len);
    c[len] = 0;
}

// ---- Fault injection --------------------------------------------------------------------------------

namespace {
struct FaultState {
    int Count = 0;
    int Nth = 0;
    FsError Error = FsOk;
} fault;
} // namespace

void ArmFsFault(int nth, FsError error) {
    fault = FaultState{0, nth, error};
}

int FsOpCount() {
    return fault.Count;
}

bool fsdetail::FaultHere(FsError& error) {
    if (++fault.Count != fault.Nth) return false;
    error = fault.Error;
    return true;
}

// ---- Replacing a file whole -------------------------------------------------------------------------

namespace {
constexpr int TempTries = 1000;

// The folder part of a path with its separator, so that folder + name is a name in that folder.
std::string_view FolderOf(std::string_view path) {
#ifdef _WIN32
    size_t cut = path.find_last_of("\\/:");
#else
    size_t cut = path.find_last_of('/');
#endif
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

// Five digits that differ from run to run, so two programs writing into one folder rarely collide.
unsigned NextTempNumber() {
    static unsigned next = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    next = next * 1103515245u + 12345u;
    return (next >> 8) % 100000u;
}
} // namespace

FileHandle CreateTempBeside(std::string_view target, std::string& temp, FsError& error) {
    std::string_view folder = FolderOf(target);
    for (int i = 0; i < TempTries; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "~VX%05u.TMP", NextTempNumber());
        temp = std::string(folder) + name;
        FileHandle h = OpenFile(temp, FileAccess::CreateNew, ShareRead, error);
        if (h != NoFile) return h;
        if (error != FsFileExists && error != FsAlreadyExists) break;
    }
    temp.clear(); // the name tried is someone else's file, or none: nothing of ours to delete later
    return NoFile;
}

void DiscardTemp(std::string_view temp) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
        FsError error = DeleteOneFile(temp);
        if (error == FsOk || error == FsFileNotFound || error == FsPathNotFound) return;
    }
}

bool IsTempName(std::string_view fileName) {
    if (fileName.size() != 12 || !SameText(fileName.substr(0, 3), "~VX") ||
        !SameText(fileName.substr(8), ".TMP"))
        return false;
    for (char c : fileName.substr(3, 5))
        if (c < '0' || c > '9') return false;
    return true;
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
