// File-system operations over the Windows file functions.
#include <windows.h>

#include <cstring>

#include "lib/fs.h"
#include "lib/paths.h"
#include "ui/prompter.h"

namespace {

// The error of the Windows call that just failed (never 0: a failure is never reported as success).
FsError LastError() {
    DWORD code = GetLastError();
    return code ? FsErrorOf(code) : FsGeneralFailure;
}

DWORD Attributes(std::string_view path) {
    return GetFileAttributesA(SysName(path).c);
}

// A name found by a search: Windows names have at most 259 characters.
using FoundName = TextBuf<259>;

// JoinFile(dir, rel) when no buffer on the way had to cut it; a cut join names another file.
bool JoinWhole(std::string_view dir, std::string_view rel, std::string& joined) {
    joined = JoinFile(dir, rel);
    return JoinedWhole(dir, rel, joined);
}

// Destructive operations leave drive roots alone: texts of 3 characters or fewer, and texts that
// name a root anyway ("C:\.", "C:\X\..").
bool RefusedDir(std::string_view dir) {
    SysName name(dir);
    if (std::strlen(name.c) <= 3) return true;
    char full[MAX_PATH + 1];
    DWORD len = GetFullPathNameA(name.c, sizeof full, full, nullptr);
    return len > 0 && len < sizeof full && std::strlen(full) <= 3;
}

// The active search: one process-wide slot.
struct ActiveSearch {
    HANDLE Handle = INVALID_HANDLE_VALUE;
    bool IncludeHidden = false;
} search;

void CloseActiveSearch() {
    if (search.Handle != INVALID_HANDLE_VALUE) FindClose(search.Handle);
    search.Handle = INVALID_HANDLE_VALUE;
}

bool Reported(const WIN32_FIND_DATAA& entry, bool includeHidden) {
    DWORD attr = entry.dwFileAttributes;
    if (attr & FILE_ATTRIBUTE_DIRECTORY) return false;
    DWORD skipped =
        includeHidden ? 0x8u : (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8u); // 8: volume label
    return (attr & skipped) == 0;
}

// Passes over entries the filter skips; on running out the search is closed.
FsError SkipToReported(WIN32_FIND_DATAA& entry, char* name, int n) {
    while (!Reported(entry, search.IncludeHidden)) {
        if (!FindNextFileA(search.Handle, &entry)) {
            FsError error = LastError();
            CloseActiveSearch();
            return error;
        }
    }
    BufFromPChar(entry.cFileName, name, n);
    return FsOk;
}

int AskBox(const std::string& caption, const std::string& text, unsigned flags) {
    return ui::CurrentPrompter().Ask(caption, text, flags);
}

} // namespace

void ResetFsState() {
    ClearReadOnlyOnCopy = false;
    CloseActiveSearch();
    ArmFsFault(0, FsOk);
}

// ---- Primitives ------------------------------------------------------------------------------------

FileHandle OpenFile(std::string_view name, FileAccess access, unsigned shareMode, FsError& error) {
    DWORD desired = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (access == FileAccess::Write) {
        desired = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
    } else if (access == FileAccess::ReadWrite) {
        desired = GENERIC_READ | GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
    } else if (access == FileAccess::CreateNew) {
        desired = GENERIC_WRITE;
        disposition = CREATE_NEW;
    }
    if (access != FileAccess::Read && fsdetail::FaultHere(error)) return NoFile;
    HANDLE h = CreateFileA(SysName(name).c, desired, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = LastError();
        return NoFile;
    }
    error = FsOk;
    return reinterpret_cast<FileHandle>(h);
}

FsError CloseFile(FileHandle handle) {
    if (handle == NoFile) return FsInvalidHandle;
    FsError injected;
    bool fault = fsdetail::FaultHere(injected);
    FsError error = CloseHandle(reinterpret_cast<HANDLE>(handle)) ? FsOk : LastError();
    return fault ? injected : error;
}

int ReadBlock(FileHandle handle, void* buffer, int count, FsError& error) {
    error = FsOk;
    if (count <= 0) return 0;
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(count), &got, nullptr))
        error = LastError();
    return static_cast<int>(got);
}

int WriteBlock(FileHandle handle, const void* buffer, int count, FsError& error) {
    error = FsOk;
    if (count <= 0) return 0;
    if (fsdetail::FaultHere(error)) return 0;
    DWORD written = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(count), &written, nullptr))
        error = LastError();
    else if (written < static_cast<DWORD>(count))
        error = FsShortWrite;
    return static_cast<int>(written);
}

FsError DeleteOneFile(std::string_view name) {
    FsError error;
    if (fsdetail::FaultHere(error)) return error;
    return DeleteFileA(SysName(name).c) ? FsOk : LastError();
}

FsError CopyOneFile(std::string_view source, std::string_view target) {
    // The copy is made beside the target and put in its place whole, so a copy that fails half-way (a
    // full disk) never leaves a cut file where the old one was.
    std::string temp;
    FsError error;
    FileHandle h = CreateTempBeside(target, temp, error);
    if (h == NoFile) return error;
    if ((error = CloseFile(h)) == FsOk && !fsdetail::FaultHere(error)) {
        SysName copy(temp);
        if (!CopyFileA(SysName(source).c, copy.c, FALSE)) error = LastError();
        DWORD attr = GetFileAttributesA(copy.c);
        if (error == FsOk && ClearReadOnlyOnCopy && attr != INVALID_FILE_ATTRIBUTES &&
            (attr & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesA(copy.c, attr & ~FILE_ATTRIBUTE_READONLY);
        if (error == FsOk) error = PutFileInPlace(temp, target);
    }
    if (error != FsOk) {
        SetFileAttributesA(SysName(temp).c, FILE_ATTRIBUTE_NORMAL); // a read-only source's copy must go too
        DiscardTemp(temp);
    }
    return error;
}

FsError CopyNamedFile(std::string_view name, std::string_view sourceDir, std::string_view targetDir) {
    return CopyOneFile(JoinFile(sourceDir, name), JoinFile(targetDir, name));
}

FsError MoveOneFile(std::string_view oldName, std::string_view newName) {
    FsError error;
    if (fsdetail::FaultHere(error)) return error;
    return MoveFileA(SysName(oldName).c, SysName(newName).c) ? FsOk : LastError();
}

namespace {
// A name for setting a file aside in its own folder that nothing uses yet.
FsError FreeNameBeside(std::string_view target, std::string& name) {
    FsError error;
    FileHandle h = CreateTempBeside(target, name, error);
    if (h == NoFile) return error;
    CloseHandle(reinterpret_cast<HANDLE>(h)); // the name is ours; the empty file goes again at once
    DeleteFileA(SysName(name).c);
    return FsOk;
}
} // namespace

FsError PutFileInPlace(std::string_view source, std::string_view target) {
    FsError error;
    if (GetVersion() < 0x80000000u) { // the NT family replaces in one call
        if (fsdetail::FaultHere(error)) return error;
        return MoveFileExA(SysName(source).c, SysName(target).c, MOVEFILE_REPLACE_EXISTING) ? FsOk
                                                                                            : LastError();
    }
    // The 95 family has no replacing move: the old file is set aside until the new one is in place.
    if (!FileExists(target)) return MoveOneFile(source, target);
    std::string aside;
    if ((error = FreeNameBeside(target, aside)) != FsOk) return error;
    if ((error = MoveOneFile(target, aside)) != FsOk) return error;
    if ((error = MoveOneFile(source, target)) != FsOk) {
        for (int attempt = 0; attempt < 3 && MoveOneFile(aside, target) != FsOk; ++attempt) Sleep(20);
        return error;
    }
    SetFileAttributesA(SysName(aside).c, FILE_ATTRIBUTE_NORMAL); // a read-only old file must go too
    DiscardTemp(aside);
    return FsOk;
}

bool SameFile(std::string_view a, std::string_view b) {
    // No access asked: the identity can be read even while another program has the file open. The 95
    // family knows neither FILE_SHARE_DELETE nor opening folders, so only the NT family asks for them.
    bool nt = GetVersion() < 0x80000000u;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (nt ? FILE_SHARE_DELETE : 0);
    DWORD flags = nt ? FILE_FLAG_BACKUP_SEMANTICS : FILE_ATTRIBUTE_NORMAL;
    BY_HANDLE_FILE_INFORMATION info[2];
    std::string_view names[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        HANDLE h = CreateFileA(SysName(names[i]).c, 0, share, nullptr, OPEN_EXISTING, flags, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        BOOL got = GetFileInformationByHandle(h, &info[i]);
        CloseHandle(h);
        if (!got) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

FsError RenameExt(std::string_view name, std::string_view ext) {
    NameBuf target;
    target.Set(name);
    ChangeExt(0, ext, target);
    return MoveOneFile(name, target.View());
}

FsError ChangeDir(std::string_view dir) {
    return SetCurrentDirectoryA(SysName(dir).c) ? FsOk : FsChangeDirFailed;
}

FsError MakeDir(std::string_view dir) {
    return CreateDirectoryA(SysName(dir).c, nullptr) ? FsOk : LastError();
}

FsError RemoveDir(std::string_view dir) {
    return RemoveDirectoryA(SysName(dir).c) ? FsOk : LastError();
}

bool DirExists(std::string_view path) {
    DWORD attr = Attributes(path);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(std::string_view path) {
    DWORD attr = Attributes(path);
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- The active search ----------------------------------------------------------------------------

FsError FindFirstMatch(std::string_view dir, std::string_view mask, bool includeHidden, char* name, int n) {
    CloseActiveSearch(); // an older search nobody finished would otherwise leak its handle
    WIN32_FIND_DATAA entry;
    search.Handle = FindFirstFileA(SysName(JoinFile(dir, mask)).c, &entry);
    if (search.Handle == INVALID_HANDLE_VALUE) return LastError();
    search.IncludeHidden = includeHidden;
    return SkipToReported(entry, name, n);
}

FsError FindNextMatch(char* name, int n) {
    if (search.Handle == INVALID_HANDLE_VALUE) return FsInvalidHandle;
    WIN32_FIND_DATAA entry;
    if (!FindNextFileA(search.Handle, &entry)) {
        FsError error = LastError();
        CloseActiveSearch();
        return error;
    }
    return SkipToReported(entry, name, n);
}

bool AnyMatch(std::string_view dir, std::string_view mask) {
    FoundName name;
    bool found = FindFirstMatch(dir, mask, false, name) == FsOk;
    CloseActiveSearch();
    return found;
}

// ---- Composite operations -------------------------------------------------------------------------

FsError ForceDir(std::string_view path, int mode) {
    SysName name(path);
    std::string_view full(name.c);
    if (DirExists(full)) {
        if (mode == 1)
            ClearTree(full, false, false);
        else if (mode == 2)
            ClearTree(full, true, false);
        return FsOk;
    }
    // Every level after the first backslash, so neither D:\ nor a leading backslash is created.
    int backslashes = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        if (full[i] == '\\' && ++backslashes > 1 && !DirExists(full.substr(0, i))) MakeDir(full.substr(0, i));
    }
    FsError error = MakeDir(full);
    // A path with a trailing backslash was made by the loop: that is success, not "already exists".
    if (error == FsAlreadyExists && DirExists(full)) error = FsOk;
    return error;
}

void DeleteMatching(std::string_view dir, std::string_view mask, bool ask) {
    std::string pattern, fullName;
    if (RefusedDir(dir) || !JoinWhole(dir, mask, pattern)) return;
    FoundName name;
    for (FsError e = FindFirstMatch(dir, mask, false, name); e == FsOk; e = FindNextMatch(name)) {
        if (!JoinWhole(dir, name.View(), fullName)) continue; // the cut name would be another file
        if (ask) {
            int answer = AskBox("Delete file", fullName, ui::BtnYesNoCancel | ui::IconQuestion);
            if (answer == ui::IdCancel) {
                CloseActiveSearch();
                return;
            }
            if (answer != ui::IdYes) continue;
        }
        DeleteOneFile(fullName);
    }
}

void CollectSubdirs(std::string_view dir, std::string& list) {
    std::string pattern;
    if (RefusedDir(dir) || !JoinWhole(dir, "*.*", pattern)) return;
    DeleteMatching(dir, "*.*", false);
    WIN32_FIND_DATAA entry;
    HANDLE h = FindFirstFileA(SysName(pattern).c, &entry);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == '.') continue;
        std::string sub;
        // A path that did not fit would name another directory (and the walk could never end).
        if (!JoinWhole(dir, entry.cFileName, sub)) continue;
        list.insert(0, sub + "\r\n");
        // A junction is removed as a link; what it points to is not ours to empty (and may loop).
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) CollectSubdirs(sub, list);
    } while (FindNextFileA(h, &entry));
    FindClose(h);
}

void ClearTree(std::string_view dir, bool recursive, bool removeSelf) {
    if (RefusedDir(dir)) return;
    if (recursive) {
        std::string list;
        CollectSubdirs(dir, list);
        for (size_t pos = 0; pos < list.size();) {
            size_t end = list.find("\r\n", pos);
            if (end == std::string::npos) end = list.size();
            RemoveDir(std::string_view(list).substr(pos, end - pos));
            pos = end + 2;
        }
    } else {
        DeleteMatching(dir, "*.*", false);
    }
    if (removeSelf) RemoveDir(dir);
}

void CopyMatching(std::string_view sourceDir, std::string_view mask, std::string_view targetDir,
                  const std::function<void(std::string_view name)>& onFile, bool& cancelled) {
    cancelled = false;
    if (mask.empty() || mask[0] == 0) return;
    FoundName name;
    for (FsError e = FindFirstMatch(sourceDir, mask, true, name); e == FsOk; e = FindNextMatch(name)) {
        if (onFile) onFile(name.View());
        std::string from, to;
        bool whole = JoinWhole(sourceDir, name.View(), from);
        whole = JoinWhole(targetDir, name.View(), to) && whole;
        for (;;) {
            FsError error = whole ? CopyOneFile(from, to) : FsNameTooLong;
            if (error == FsOk) break;
            int answer = AskBox("File copy error " + std::to_string(error), from + "\r\n" + to,
                                ui::BtnAbortRetryIgnore | ui::IconStop);
            if (answer == ui::IdAbort) {
                cancelled = true;
                CloseActiveSearch();
                return;
            }
            if (answer != ui::IdRetry) break;
        }
    }
}

// ---- Program and system directories ---------------------------------------------------------------

void ProgramDir(char* out, int n) {
    char path[1024];
    DWORD len = GetModuleFileNameA(nullptr, path, sizeof path);
    ProgramDirOf(std::string_view(path, len < sizeof path ? len : 0), out, n);
}

void CommandTail(char* out, int n) {
    const char* line = GetCommandLineA();
    CommandTailOf(line ? line : "", out, n);
}

namespace {
using DirFunction = UINT(WINAPI*)(LPSTR, UINT);
void SystemFolder(DirFunction get, char* out, int n) {
    char path[MAX_PATH + 1];
    UINT len = get(path, sizeof path);
    BufAssign(len > 0 && len < sizeof path ? std::string_view(path, len) : std::string_view(), out, n);
}
} // namespace

void WindowsDir(char* out, int n) {
    SystemFolder(GetWindowsDirectoryA, out, n);
}
void SystemDir(char* out, int n) {
    SystemFolder(GetSystemDirectoryA, out, n);
}

void DriversDir(char* out, int n) {
    PathBuf system;
    SystemDir(system);
    JoinDir(system.View(), "DRIVERS", out, n);
}

int32_t FileDosStamp(std::string_view name) {
    WIN32_FIND_DATAA entry;
    HANDLE h = FindFirstFileA(SysName(name).c, &entry);
    if (h == INVALID_HANDLE_VALUE) return -1;
    FindClose(h);
    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time))
        return -1;
    return static_cast<int32_t>((static_cast<uint32_t>(date) << 16) | time);
}
