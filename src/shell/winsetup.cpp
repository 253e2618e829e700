// Windows preparation.
#include "shell/winsetup.h"

#include <string>
#include <vector>

#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/proc_win32.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"
#include "shell/registry.h"

namespace {

// One shortcut of the table: link name, program (without .EXE) in its folder, arguments, icon file
// in KORVO\Install\Win ("" for the program's own icon).
struct LinkRow {
    const char* Name;
    const char* Program;
    bool InPrg; // the program lies in KORVO\Prg, otherwise in KORVO\Install\Win
    const char* Args;
    const char* Icon;
};

const LinkRow DesktopLinks[] = {
    {"VexaMeas", "VEXA", true, "", "Vexa.ICO"},
    {"VexaCmd", "SetUp", false, "CMD", "VexaCmd.ICO"},
};

const LinkRow FolderLinks[] = {
    {"Vexa measure", "VEXA", true, "", "Vexa.ICO"},
    {"Vexa simulation", "VEXA", true, "SIM", "Vexa.ICO"},
    {"Vexa cmd line", "SetUp", false, "CMD", "VexaCmd.ICO"},
    {"Convert ASCII data", "SetUp", false, "ASC", "VexaAsc.ICO"},
    {"SetUp", "SetUp", false, "", ""},
};

// Failures of single links are not reported; the others are still made.
void MakeLinks(const LinkRow* rows, int count, std::string_view folder) {
    std::string winDir = InstallWinDir();
    for (int i = 0; i < count; ++i) {
        const LinkRow& r = rows[i];
        std::string programDir = r.InPrg ? PrgDir() : winDir;
        bool ok = false;
        if (*r.Icon)
            MakeProgramLink(r.Program, r.Name, programDir, folder, r.Args, JoinFile(winDir, r.Icon), 1, ok);
        else
            MakePlainLink(r.Program, r.Name, programDir, ok, folder);
    }
}

int HardwareInt(int line) {
    return TextToInt(HardwareLine(line));
}

} // namespace

void PrepareWindows() {
    RemoveOldLinks();
    PathBuf folder;
    bool found = false;
    SpecialFolder(16, folder, found);
    if (found) MakeLinks(DesktopLinks, 2, folder.View());
    found = false;
    SpecialFolder(2, folder, found);
    if (found) {
        std::string programs = JoinDir(folder.View(), "Vexa_Dos");
        if (ForceDir(programs, 0) == FsOk) MakeLinks(FolderLinks, 5, programs);
    }
    WriteRegistry();
    OfferIeeeDriver();
}

std::vector<std::string> WindowsAdviceLines() {
    std::vector<std::string> lines;
    auto add = [&lines](std::initializer_list<std::string> group) { lines.insert(lines.end(), group); };
    if (FindCecRom() > 0) {
        add({"Please switch off if possible the IEEE ROM", "(see Keithley manual) because saving memory."});
        if (HardwareInt(41) <= 2)
            add({"If you have IEEE communication problems or",
                 "slow IEEE communication (test it with C/V curves)",
                 "then set in the DOS configuration program the",
                 "IEEE mode to 3 (EMS). With this mode and IEEE ROM", "you loose 8kB memory."});
    }
    if (HardwareInt(16) > 0) add({"Dont use a ramdisk under Windows!"});
    if (IsWindows95() && HardwareInt(55) == 0)
        add({"Prepare mouse for Windows 95 by VxSet (graphic config)."});
    std::string winDir = SetupState.WindowsDir.Str();
    if (IsNtFamily())
        add({"Prepare your DOS configuration for EMS in VEXA.PIF",
             "on your desktop and in " + winDir + "\\_Default.PIF", "(memory tabsheet).",
             "The files CONFIG.SYS and AUTOEXEC.BAT are not necessary.",
             "Modify if necessary the files CONFIG.NT and AUTOEXEC.NT", "in " + winDir + "\\SYSTEM32."});
    else
        add({"If necessary please edit the DOS/Windows configuration", "files CONFIG.SYS and AUTOECEC.BAT.",
             "Prepare your DOS configuration that VEXA works in the",
             "DOS box and not in the DOS mode. The DOS box is the", "default configuration."});
    return lines;
}

void RemoveOldLinks() {
    PathBuf programs;
    bool found = false;
    SpecialFolder(2, programs, found);
    if (!found) return;
    std::string old = JoinDir(programs.View(), "VEXA");
    if (!FileExists(JoinFile(old, "Vexa cmd line.LNK"))) return;
    DeleteMatching(old, "*.*", false);
    PathBuf desktop;
    found = false;
    SpecialFolder(16, desktop, found);
    if (!found) return;
    DeleteOneFile(JoinFile(desktop.View(), "Vexa.LNK"));
    DeleteOneFile(JoinFile(desktop.View(), "VexaCmd.LNK"));
}

void OfferIeeeDriver() {
    if (!IsNtFamily()) return;
    PathBuf drivers;
    DriversDir(drivers);
    bool yes;
    if (FileExists(JoinFile(drivers.View(), "CEC488.SYS")))
        yes = AskCoded("IEEE driver", {"IEEE driver already exist.", "Load it again?"}, 102);
    else
        yes = AskCoded("IEEE driver",
                       {"Load the driver for IEEE communication?", "This is only for the measure program and",
                        "not for the simulation program necessary."},
                       IsYes(HardwareLine(65)) ? 102 : 2);
    if (yes) RunProgram(JoinFile(InstallWinDir(), "SetUpNT"), InstallWinDir(), "", true);
}
