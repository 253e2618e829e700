// The mode decision.
#include "shell/mode.h"

#include <windows.h>

#include "lib/fs.h"
#include "lib/zip_win32.h"
#include "setup/setupstate.h"
#include "shell/install.h"
#include "shell/mainstate.h"

std::string CommandWord(std::string_view commandLine) {
    TextBuf<1023> tail;
    CommandTailOf(commandLine, tail.c, tail.Cap);
    TextBuf<79> word;
    word.Set(tail.View());
    BufTrim(3, word.c, word.Cap);
    return word.Str();
}

ModeDecision DecideModeFrom(std::string_view setupDir, std::string_view commandLine,
                            const std::function<bool(std::string_view)>& fileExists) {
    if (fileExists(JoinFile(setupDir, "VEXA_1.ZIP"))) return {ModeZipPackages, ""};
    PathBuf upper;
    upper.Set(setupDir);
    for (int i = 0; i < upper.Len(); ++i)
        if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
    if (StrPos("\\KORVO\\INSTALL\\WIN", upper.View()) < 1)
        return {fileExists(JoinFile(setupDir, "Vexa_1\\initdat\\version.dat")) ? ModeUnpacked : ModeDiskette,
                ""};

    // Running from an installed tree: the install directory lies above KORVO\INSTALL\WIN.
    PathBuf dir;
    dir.Set(setupDir);
    PathBuf component;
    for (int i = 0; i < 3; ++i) SplitComponent(Component::Last, dir.c, dir.Cap, component.c, component.Cap);
    std::string word = CommandWord(commandLine);
    int32_t mode = ModeSetupPanel;
    if (BufCompareText("CMD", word.c_str(), static_cast<int>(word.size())) == 0)
        mode = ModeCommandLine;
    else if (BufCompareText("ASC", word.c_str(), static_cast<int>(word.size())) == 0)
        mode = ModeConverter;
    return {mode, dir.Str()};
}

void DecideModeFor(std::string_view setupDir, std::string_view commandLine) {
    MainState.SetupDir.Set(setupDir);
    ReadWindowsState();
    ModeDecision decision = DecideModeFrom(MainState.SetupDir.View(), commandLine,
                                           [](std::string_view path) { return FileExists(path); });
    MainState.SetupMode = decision.Mode;
    if (decision.Mode >= ModeDiskette)
        FindInstallDir();
    else
        SetupState.InstallDir.Set(decision.InstallDir);
    MainState.TempToolDir.Set("C:\\VEXA_$$$");
    SetUnzipDir(MainState.SetupDir.View());
    MainState.InstallState = InstallNotRun;
    MainState.InternetUsed = false;
    ClearReadOnlyOnCopy = true;
}

void DecideMode() {
    PathBuf dir;
    ProgramDir(dir);
    DecideModeFor(dir.View(), GetCommandLineA());
}
