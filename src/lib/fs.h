// File-system operations: thin wrappers over the system's file functions, all reporting through an
// FsError, plus the composite operations the program builds on (directory paths created level by
// level, trees emptied, files deleted or copied by mask with the user asked on failures) and the
// program's own, the Windows, system and driver directories.
//
// Portable header. The Windows build implements everything (fs_win32.cpp); native builds implement
// the primitives the portable core needs (fs_posix.cpp, marked [both] below) with plain POSIX paths
// and the same error numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "lib/strnum.h"

// 0 success; otherwise a Windows error number, or one of the library's own codes below. System codes
// of 0x80000000 and above are reported as 0x7FFFFFFF, so a failure is always positive.
using FsError = int32_t;

constexpr FsError FsOk = 0;
constexpr FsError FsShortWrite = 1;       // WriteBlock wrote fewer bytes than asked (a full disk)
constexpr FsError FsChangeDirFailed = 99; // ChangeDir failed, whatever the reason
// Windows error numbers the program meets and native builds map errno values to.
constexpr FsError FsFileNotFound = 2;
constexpr FsError FsPathNotFound = 3;
constexpr FsError FsTooManyOpen = 4;
constexpr FsError FsAccessDenied = 5;
constexpr FsError FsInvalidHandle = 6;
constexpr FsError FsNotEnoughMemory = 8;
constexpr FsError FsNoMoreFiles = 18;
constexpr FsError FsWriteProtect = 19;
constexpr FsError FsGeneralFailure = 31;
constexpr FsError FsSharingViolation = 32;
constexpr FsError FsFileExists = 80;
constexpr FsError FsInvalidParameter = 87;
constexpr FsError FsDiskFull = 112;
constexpr FsError FsDirNotEmpty = 145;
constexpr FsError FsAlreadyExists = 183;
constexpr FsError FsNameTooLong = 206;

// A system error number as an FsError (0x80000000 and above become 0x7FFFFFFF).
FsError FsErrorOf(uint32_t systemCode);

// A name as handed to the system: NUL-terminated in 261 characters, longer names cut at 260.
struct SysName {
    char c[261];
    explicit SysName(std::string_view name);
};

// ---- Primitives ------------------------------------------------------------------------------------

// An open file: the system's handle (Windows) or descriptor (native) as an integer.
using FileHandle = intptr_t;
constexpr FileHandle NoFile = -1;

enum class FileAccess {
    Read,      // opens an existing file
    Write,     // creates the file or truncates it
    ReadWrite, // opens the file, creating it when missing
    CreateNew, // creates a file that does not exist yet (FsFileExists when it does), for writing
};

// Share modes, as FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_DELETE (passed to Windows unchanged).
constexpr unsigned ShareNone = 0x0;
constexpr unsigned ShareRead = 0x1;
constexpr unsigned ShareWrite = 0x2;
constexpr unsigned ShareDelete = 0x4;

// [both] Opens a file with the plain normal attribute; NoFile and the error on failure.
FileHandle OpenFile(std::string_view name, FileAccess access, unsigned shareMode, FsError& error);
// [both] Closing NoFile gives FsInvalidHandle.
FsError CloseFile(FileHandle handle);
// [both] Bytes read; fewer than count only at the end of the file (error stays 0).
int ReadBlock(FileHandle handle, void* buffer, int count, FsError& error);
// [both] Bytes written; fewer than count gives FsShortWrite unless the system reported its own error.
int WriteBlock(FileHandle handle, const void* buffer, int count, FsError& error);

FsError DeleteOneFile(std::string_view name); // [both]
// An existing target is replaced, whole: the copy is made beside it and put in its place.
FsError CopyOneFile(std::string_view source, std::string_view target);
// CopyOneFile of JoinFile(sourceDir, name) to JoinFile(targetDir, name).
FsError CopyNamedFile(std::string_view name, std::string_view sourceDir, std::string_view targetDir);
FsError MoveOneFile(std::string_view oldName, std::string_view newName);
// [both] Puts the file source in place of target, which may exist, so that target is at every moment
// the whole old file or the whole new one: in one call where the system has it; on the 95 family,
// which has none, the old file is set aside under a temporary name, the new one moved in and the old
// one deleted, and on a failure the old one is put back.
FsError PutFileInPlace(std::string_view source, std::string_view target);
// Moves the file to its name with the extension changed (ChangeExt mode 0).
FsError RenameExt(std::string_view name, std::string_view ext);
FsError ChangeDir(std::string_view dir); // FsOk or FsChangeDirFailed
FsError MakeDir(std::string_view dir);   // [both] one level only
FsError RemoveDir(std::string_view dir); // [both] the directory must be empty

bool DirExists(std::string_view path);  // [both] the path exists and is a directory
bool FileExists(std::string_view path); // [both] the path exists and is not a directory

// ---- Replacing a file whole ----------------------------------------------------------------------
// A writer never truncates the file it replaces: it writes beside it under a temporary name ("~VX"
// five digits ".TMP", so a DOS listing shows it too), checks every write and the close, then puts it
// in place with PutFileInPlace; on any failure it discards the temporary file and the old one stays.

// [both] Creates an empty file under a free temporary name in the folder of target, open for writing
// (ShareRead); NoFile and the error when none can be created.
FileHandle CreateTempBeside(std::string_view target, std::string& temp, FsError& error);
// [both] Deletes the temporary file of a write that did not finish; tried again for a moment when the
// delete fails (a virus scanner or indexer may hold a new file briefly).
void DiscardTemp(std::string_view temp);
// [both] True for a name (without folder) of the form the temporary files take.
bool IsTempName(std::string_view fileName);
// [both] True when both names exist and are one file or folder, however they are spelt (trailing dots,
// short names, another drive mapped to the same share): the volume and file index on Windows, the
// device and inode natively. The 95 family cannot open folders, so there folders never compare equal.
bool SameFile(std::string_view a, std::string_view b);

// ---- Fault injection, for tests -------------------------------------------------------------------
// The counted operations are the ones that change the disk: creating or truncating a file, a write, a
// close, a move or rename, a delete and a copy. From a call of ArmFsFault on they are counted, and the
// nth one (nth > 0) fails with the given error instead of being done; a close still closes the handle.
// nth 0 only counts. [both]
void ArmFsFault(int nth, FsError error);
int FsOpCount(); // counted operations since the last ArmFsFault (or the start)

namespace fsdetail {
// Counts one operation; true (with the error to report) when it is the one that must fail.
bool FaultHere(FsError& error);
} // namespace fsdetail

// While on, CopyOneFile takes the read-only attribute off a target it copied (failures unreported).
// Off when the library starts; the main window switches it on.
extern bool ClearReadOnlyOnCopy;
// Start state: the copy flag off, no active search, no fault armed.
void ResetFsState();

// ---- The active search (one process-wide slot) ----------------------------------------------------

// Finds the first file matching JoinFile(dir, mask) and opens the active search. Directories are never
// reported; hidden, system and volume-label entries only with includeHidden (volume labels never).
// The name (without directory) goes into the caller's buffer. The end of the entries is FsNoMoreFiles.
FsError FindFirstMatch(std::string_view dir, std::string_view mask, bool includeHidden, char* name, int n);
// The next match of the active search; any error (normally FsNoMoreFiles) closes the search.
FsError FindNextMatch(char* name, int n);
// True when at least one plain file matches (hidden and system files do not count).
bool AnyMatch(std::string_view dir, std::string_view mask);

template <int N>
FsError FindFirstMatch(std::string_view dir, std::string_view mask, bool includeHidden, TextBuf<N>& name) {
    return FindFirstMatch(dir, mask, includeHidden, name.c, N);
}
template <int N> FsError FindNextMatch(TextBuf<N>& name) {
    return FindNextMatch(name.c, N);
}

// ---- Composite operations -------------------------------------------------------------------------

// [both] Creates a missing directory with its missing parents (the result is the error of the last
// creation); on an existing one, mode 1 deletes the files in it, mode 2 everything below it, mode 0
// nothing.
FsError ForceDir(std::string_view path, int mode);
// Deletes the files matching the mask (hidden and system files stay); with ask the user answers
// "Delete file" Yes, No or Cancel for each. Does nothing for directory texts of 3 characters or fewer.
void DeleteMatching(std::string_view dir, std::string_view mask, bool ask);
// Deletes the files of dir and puts each sub-directory, and its own sub-directories before it,
// in front of the list as lines ended by CR LF: read from the top, children come before parents.
void CollectSubdirs(std::string_view dir, std::string& list);
// Empties the tree (recursive: sub-directories too, as far as they can be removed) and optionally
// removes the directory itself. Does nothing for directory texts of 3 characters or fewer.
void ClearTree(std::string_view dir, bool recursive, bool removeSelf);
// Copies every file matching the mask, hidden and system ones included; onFile is told each name
// first (may be empty). A failed copy asks "File copy error <n>" Abort, Retry or Ignore; Abort sets
// cancelled and ends the copy.
void CopyMatching(std::string_view sourceDir, std::string_view mask, std::string_view targetDir,
                  const std::function<void(std::string_view name)>& onFile, bool& cancelled);

// ---- Program and system directories ---------------------------------------------------------------

void ProgramDir(char* out, int n);  // [both] directory of the running program
void CommandTail(char* out, int n); // command-line text after the program path, blanks trimmed
void WindowsDir(char* out, int n);  // empty when Windows reports failure
void SystemDir(char* out, int n);   // empty when Windows reports failure
void DriversDir(char* out, int n);  // JoinDir(SystemDir, "DRIVERS")
// Last-write time of the file in local time as a packed DOS stamp (date high, time low), or -1.
int32_t FileDosStamp(std::string_view name);

// The text rules behind ProgramDir and CommandTail, for a given program path / command line.
void ProgramDirOf(std::string_view programPath, char* out, int n);
void CommandTailOf(std::string_view commandLine, char* out, int n);

template <int N> void ProgramDir(TextBuf<N>& out) {
    ProgramDir(out.c, N);
}
template <int N> void CommandTail(TextBuf<N>& out) {
    CommandTail(out.c, N);
}
template <int N> void WindowsDir(TextBuf<N>& out) {
    WindowsDir(out.c, N);
}
template <int N> void SystemDir(TextBuf<N>& out) {
    SystemDir(out.c, N);
}
template <int N> void DriversDir(TextBuf<N>& out) {
    DriversDir(out.c, N);
}
