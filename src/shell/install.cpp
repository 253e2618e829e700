// Installation from a distribution medium.
#include "shell/install.h"

#include <windows.h>

#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/proc_win32.h"
#include "lib/recfile.h"
#include "lib/zip_win32.h"
#include "setup/setupstate.h"
#include "shell/mainstate.h"
#include "shell/registry.h"
#include "ui/form.h"

const char* const MarkerName = "VEXA.$$$";

bool HasVexaTree(std::string_view dir) {
    return FileExists(JoinFile(dir, "KORVO\\Initdat\\Version.DAT"));
}

// ---- Finding the install directory ------------------------------------------------------------------

std::string AutoexecCandidate(std::string_view line) {
    int p = StrFind(0, false, true, "KORVO\\BAT", line); // 1-based
    if (p < 1) return "";
    int c = BufFindChar(p, true, ':', line.data(), static_cast<int>(line.size()) - 1);
    if (c < 1) return "";
    return std::string(line.substr(static_cast<size_t>(c - 1), static_cast<size_t>(p - c - 1)));
}

namespace {

bool TryInstallDir(std::string_view dir) {
    if (dir.empty() || !HasVexaTree(dir)) return false;
    SetupState.InstallDir.Set(dir);
    return true;
}

// X:\Vexa_Dos on the fixed drives from C: on; the search ends at the first drive that is not fixed.
bool SearchFixedDrives() {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        std::string root = DriveRoot(letter);
        if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) return false;
        if (TryInstallDir(JoinDir(root, "Vexa_Dos"))) return true;
    }
    return false;
}

bool SearchAutoexec() {
    RecordFile f;
    bool failed = false;
    OpenRead(f, "C:\\AutoExec.BAT", failed);
    if (failed) return false;
    bool found = false;
    while (!found) {
        TextBuf<255> line;
        ReadLine(f, line, false);
        if (Failed(f)) break;
        found = TryInstallDir(AutoexecCandidate(line.View()));
    }
    Close(f, failed);
    return found;
}

} // namespace

void FindInstallDir() {
    std::string setupDir = MainState.SetupDir.Str();
    PathBuf recorded;
    recorded.Set(ReadRegistryPath());
    if (TryInstallDir(recorded.View()) || TryInstallDir(setupDir) ||
        TryInstallDir(JoinDir(setupDir, "Vexa")) || TryInstallDir("C:\\Vexa"))
        return;
    SetupState.InstallDir.Clear();
    if (SearchFixedDrives() || SearchAutoexec()) return;
    SetupState.InstallDir.Set("C:\\Vexa_Dos");
}

// ---- Packages ---------------------------------------------------------------------------------------

std::string PackageFolder(std::string_view setupDir, int i, bool& ok) {
    std::string name = "VEXA_" + std::to_string(i);
    PathBuf folder;
    JoinDir(setupDir, name, folder.c, folder.Cap);
    int pos = folder.Len();
    BufAppend("\\", folder.c, pos, folder.Cap);
    std::string tail = "\\" + name + "\\";
    std::string_view text = folder.View();
    ok = text.size() > tail.size() && text.substr(text.size() - tail.size()) == tail;
    return folder.Str();
}

void ExtractPackages() {
    std::string setupDir = MainState.SetupDir.Str();
    ChangeDir(setupDir);
    for (int i = 1; i <= 6; ++i) {
        std::string package = JoinFile(setupDir, "VEXA_" + std::to_string(i) + ".ZIP");
        bool fits = false;
        std::string folder = PackageFolder(setupDir, i, fits);
        if (!fits) {
            // Emptying a cut folder name could empty the medium's own folder.
            ShowStop("Unzip error", {package, folder, "Path too long"});
            continue;
        }
        ForceDir(folder, 2);
        bool error = false;
        ExtractZip(package, folder, 2, error);
    }
}

// ---- Running the installer --------------------------------------------------------------------------

std::string ShortExistingPart(std::string_view path) {
    std::string full(path);
    if (full.find(' ') == std::string::npos) return full;
    // The longest leading part that exists; what lies below it has no short name yet.
    std::string existing = full;
    while (!existing.empty() && !DirExists(existing) && !FileExists(existing)) {
        size_t slash = existing.find_last_of('\\');
        existing = slash == std::string::npos ? std::string() : existing.substr(0, slash);
    }
    if (existing.empty() || existing.find(' ') == std::string::npos) return full;
    char shortPath[MAX_PATH];
    DWORD n = GetShortPathNameA(existing.c_str(), shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return full;
    return std::string(shortPath, n) + full.substr(existing.size());
}

std::string InstallerParams(bool update, std::string_view installer, std::string_view installDir) {
    NameBuf path;
    path.Set(installer);
    PathBuf medium;
    DirPart(path.c, path.Cap, medium.c, medium.Cap);
    if (medium.Len() == 2) {
        int pos = 2;
        BufAppend("\\", medium.c, pos, medium.Cap);
    }
    std::string korvo = JoinDir(installDir, "KORVO");
    return std::string(update ? "UPDA " : "PATH ") + ShortExistingPart(medium.View()) + " " +
           ShortExistingPart(korvo);
}

std::string InstallerWorkDir(std::string_view installDir, std::string_view setupDir) {
    std::string work(installDir);
    int at = StrPos("VEXA", work);
    if (at >= 1) work.resize(static_cast<size_t>(at));
    return DirExists(work) ? work : std::string(setupDir);
}

namespace {

// The installer of a diskette installation: A:\Install.EXE, or the root of the set-up folder's drive.
// Empty when the user gives up.
std::string FindDiskInstaller() {
    std::string installer = "A:\\Install.EXE";
    if (!AskCoded("Insert disk", {"Please insert installation disk 1"}, 31)) return "";
    for (;;) {
        if (FileExists(installer)) return installer;
        std::string onSetupDrive = std::string(1, MainState.SetupDir[0]) + ":\\Install.EXE";
        if (FileExists(onSetupDrive)) return onSetupDrive;
        if (!AskCoded("Program not fund!", {installer, "Please insert installation disk 1"}, 21)) return "";
    }
}

} // namespace

void RunInstallation(bool& ok) {
    std::string setupDir = MainState.SetupDir.Str();
    ChangeDir(setupDir);
    PrepareTempTools();
    std::string installer;
    if (MainState.SetupMode == ModeDiskette)
        installer = FindDiskInstaller();
    else
        installer = JoinFile(setupDir, "Install.EXE");
    ok = !installer.empty();
    if (ok && !FileExists(installer)) {
        ShowStop("Program not found!", {installer});
        ok = false;
    }
    if (ok) {
        std::string installDir = SetupState.InstallDir.Str();
        std::string params = InstallerParams(HasVexaTree(installDir), installer, installDir);
        std::string workDir = InstallerWorkDir(installDir, setupDir);
        Sleep(100);
        ui::ProcessMessages();
        RunProgram(installer, workDir, params, true);
    }
    RestoreTools(ok);
}

// ---- The tools and the marker -----------------------------------------------------------------------

void PrepareTempTools() {
    std::string setupDir = MainState.SetupDir.Str();
    std::string temp = MainState.TempToolDir.Str();
    if (ForceDir(temp, 0) != FsOk) return;
    CopyNamedFile("SetUp.EXE", setupDir, temp);
    CopyNamedFile("UnZip32.DLL", setupDir, temp);
    bool cancelled = false;
    CopyMatching(JoinDir(setupDir, "WIN"), "*.*", temp, nullptr, cancelled);
    RecordFile marker;
    bool failed = false;
    CreateWrite(marker, JoinFile(temp, MarkerName), failed);
    if (failed) return;
    WriteIntLine(marker, 0);
    WriteIntLine(marker, SetupState.WinVersionCode);
    WriteLine(marker, SetupState.WindowsDir);
    Close(marker, failed);
}

namespace {

// The installer's answer: false when the marker is missing or its line 1 is 0; else its line 2.
bool ReadMarker(const std::string& path, PathBuf& base) {
    RecordFile marker;
    bool failed = false;
    OpenRead(marker, path, failed);
    if (failed) return false;
    TextBuf<127> first;
    ReadLine(marker, first, false);
    BufTrim(3, first.c, first.Cap);
    bool success = !Failed(marker) && TextToInt(first.View()) != 0;
    if (success) ReadLine(marker, base, false);
    Close(marker, failed);
    return success;
}

} // namespace

void RestoreTools(bool& ok) {
    std::string temp = MainState.TempToolDir.Str();
    if (ok) {
        std::string marker = JoinFile(temp, MarkerName);
        PathBuf base;
        ok = ReadMarker(marker, base);
        if (ok) {
            DeleteOneFile(marker);
            // An installer that names no directory leaves the tree where it was looked for.
            if (!base.Empty()) SetupState.InstallDir = base;
            MainState.SetupDir = SetupState.InstallDir;
            ChangeDir(MainState.SetupDir.View());
            std::string winDir = InstallWinDir();
            ForceDir(winDir, 0);
            bool cancelled = false;
            CopyMatching(temp, "*.*", winDir, nullptr, cancelled);
        }
    }
    ClearTree(temp, false, true);
}

void CopyWinTools(bool& ok) {
    ok = true;
    std::string setupDir = MainState.SetupDir.Str();
    std::string winDir = InstallWinDir();
    ForceDir(winDir, 0);
    bool cancelled = false;
    CopyMatching(JoinDir(setupDir, "Win"), "*.*", winDir, nullptr, cancelled);
    CopyNamedFile("SetUp.EXE", setupDir, winDir);
}
