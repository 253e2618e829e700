// ZIP extraction through UnZip32.DLL, loaded at the first extraction.
#include <windows.h>

#include <string>

#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/paths.h"
#include "lib/unzipdll.h"
#include "lib/workinfo_win32.h"
#include "lib/zip_win32.h"

namespace {

constexpr const char* DllName = "UnZip32.DLL";

// The library once loaded, and where it is looked for.
struct UnzipStateRecord {
    PathBuf Dir; // empty: the program's folder, then KindPath(8)
    HMODULE Dll;
    WIZ_SINGLEENTRYUNZIP Entry;
};
UnzipStateRecord UnzipState{};

// What the service callback needs of the running extraction (the DLL's callbacks carry no context).
struct RunRecord {
    std::string TargetDir;
    int ProgressKind;
};
RunRecord Run{};

void Forget() {
    if (UnzipState.Dll) FreeLibrary(UnzipState.Dll);
    UnzipState.Dll = nullptr;
    UnzipState.Entry = nullptr;
}

std::string DllDir() {
    if (!UnzipState.Dir.Empty()) return UnzipState.Dir.Str();
    PathBuf dir;
    ProgramDir(dir);
    if (FileExists(JoinFile(dir.View(), DllName))) return dir.Str();
    KindPath(8, dir);
    return dir.Str();
}

// Loads the DLL and takes its export; false after telling the user which file was missing.
bool LoadUnzip() {
    if (UnzipState.Entry) return true;
    std::string path = JoinFile(DllDir(), DllName);
    HMODULE dll = LoadLibraryA(path.c_str());
    FARPROC entry = dll ? GetProcAddress(dll, "Wiz_SingleEntryUnzip") : nullptr;
    if (!entry) {
        if (dll) FreeLibrary(dll);
        ShowStop("DLL not found", {path, "not found!"});
        return false;
    }
    UnzipState.Dll = dll;
    UnzipState.Entry = reinterpret_cast<WIZ_SINGLEENTRYUNZIP>(reinterpret_cast<void*>(entry));
    return true;
}

// ---- Callbacks: nothing is printed or asked; every existing file is replaced ----------------------

int UNZIP_API Print(char*, unsigned long) {
    return 0;
}
void UNZIP_API Sound() {}
int UNZIP_API Replace(char*) {
    return 1;
}
int UNZIP_API Password(char*, int, const char*, const char*) {
    return 1;
}
void UNZIP_API Message(unsigned long, unsigned long, unsigned, unsigned, unsigned, unsigned, unsigned,
                       unsigned, char, char*, char*, unsigned long, char) {}

// Names each member in the work-info window as the file it becomes; 0 lets the DLL go on.
int UNZIP_API Service(const char* name, unsigned long) {
    if (Run.ProgressKind > 0) {
        std::string text = JoinFile(Run.TargetDir, name ? name : "");
        for (char& c : text)
            if (c == '/') c = '\\';
        SetWorkText(text);
    }
    return 0;
}

bool HasExeExt(std::string_view path) {
    if (path.size() < 4) return false;
    std::string_view ext = path.substr(path.size() - 4);
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, ext.data(), 4, ".EXE", 4) == CSTR_EQUAL;
}

int CallDll(std::string_view archive, std::string_view targetDir) {
    std::string zipName(archive);
    std::string extractDir(targetDir);
    DCL options{};
    options.PromptToOverwrite = 1; // asks Replace, which always answers yes
    options.ndflag = 1;            // re-creates the archive's folders
    options.lpszZipFN = zipName.data();
    options.lpszExtractDir = extractDir.data();
    USERFUNCTIONS callbacks{};
    callbacks.print = Print;
    callbacks.sound = Sound;
    callbacks.replace = Replace;
    callbacks.password = Password;
    callbacks.SendApplicationMessage = Message;
    callbacks.ServCallBk = Service;
    return UnzipState.Entry(0, nullptr, 0, nullptr, &options, &callbacks);
}

} // namespace

void SetUnzipDir(std::string_view dir) {
    Forget();
    UnzipState.Dir.Set(dir);
}

void ExtractZip(std::string_view archive, std::string_view targetDir, int progressKind, bool& error) {
    error = true;
    if (!FileExists(archive)) {
        ShowFileMissing(archive);
        return;
    }
    if (!LoadUnzip()) return;
    if (progressKind == 1 || progressKind == 2)
        ShowWorkInfo("Extract " + std::string(archive), progressKind == 1 ? AnimNone : AnimCopyFiles, false);
    Run = {std::string(targetDir), progressKind};
    int result = CallDll(archive, targetDir);
    Run = {};
    if (progressKind > 0) HideWorkInfo();

    MsgLines lines{std::string(archive), std::string(targetDir), std::to_string(result)};
    if (result == UZ_OK || result == UZ_WARN) {
        error = false;
        if (result == UZ_WARN && !HasExeExt(archive)) AskCoded("Unzip warning", lines, 10);
    } else {
        ShowStop("Unzip error", lines);
    }
}
