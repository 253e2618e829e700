// The set-up state, the paths into the KORVO tree, its data files and VexaCmd.CFG.
#include "setup/setupstate.h"

#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/proc_win32.h"
#include "lib/recfile.h"

SetupStateRecord SetupState{};

void ResetSetupState() {
    SetupState = SetupStateRecord{};
}

void ReadWindowsState() {
    WindowsDir(SetupState.WindowsDir);
    SystemDir(SetupState.SystemDir);
    SetupState.WinVersionCode = IsWindowsNT() ? 4 : IsWindows95() ? 1 : 2;
}

bool IsNtFamily() {
    return SetupState.WinVersionCode >= 4;
}

std::string WindowsName() {
    static const char* const names[] = {"95", "98", "Millenium", "NT", "2000"};
    int code = SetupState.WinVersionCode;
    std::string name = "Windows ";
    if (code >= 1 && code <= 5) name += names[code - 1];
    return name;
}

// ---- Paths ------------------------------------------------------------------------------------------

std::string KorvoDir(std::string_view sub) {
    std::string korvo = JoinDir(SetupState.InstallDir.View(), "Korvo");
    return sub.empty() ? korvo : JoinDir(korvo, sub);
}

std::string PrgDir() {
    return KorvoDir("Prg");
}

std::string InstallWinDir() {
    return KorvoDir("Install\\Win");
}

// ---- Data files -------------------------------------------------------------------------------------

std::string DatLine(std::string_view file, int n, int width) {
    RecordFile f;
    bool failed = false;
    OpenRead(f, file, failed);
    if (failed) return "";
    SkipLines(f, n - 1);
    TextBuf<255> line;
    ReadLine(f, line.c, IntClamp(width, 1, 256) - 1, true);
    std::string text = Failed(f) ? "" : line.Str();
    Close(f, failed);
    return text;
}

std::string HardwareLine(int n) {
    return DatLine(KorvoDir("Hardconf\\Hardware.DAT"), n);
}

std::string DatDate(std::string_view file) {
    std::string date = DatLine(file, 2);
    return date.empty() ? "01.01.1990" : date;
}

void DatDate(std::string_view file, char* out, int n) {
    BufAssign(DatDate(file), out, n);
}

bool IsEarlier(std::string_view a, std::string_view b) {
    return CompareDateText(DottedToIso(a), DottedToIso(b)) == 1;
}

// ---- VexaCmd.CFG --------------------------------------------------------------------------------------

bool LoadSaveCmdConfig(bool load, std::string& params) {
    std::string name = JoinFile(InstallWinDir(), "VexaCmd.CFG");
    RecordFile f;
    bool failed = false;
    if (load) {
        OpenRead(f, name, failed);
        if (failed) {
            params = "sim";
            return false;
        }
        params = ReadLineStr(f, false);
    } else {
        // Replaced whole: a save that fails keeps the parameters saved before.
        CreateWrite(f, name, failed);
        if (failed) return false;
        WriteStr(f, params);
        WriteStr(f, "\r\n"); // CR LF whatever line end the converter's settings chose
    }
    Close(f, failed);
    return !failed;
}
