// Launchers into the measurement program's tree, and the search for the IEEE board's ROM.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "lib/fs.h"
#include "lib/paths.h"
#include "lib/proc_win32.h"
#include "lib/zip_win32.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"

namespace {

// Copies count bytes from a linear address of the first megabyte; false when the memory is not
// readable. The 95 family maps the PC's adapter area into every process; elsewhere (and under Wine)
// it is normally absent, and the probe answers instead of letting the read fault.
bool ReadLowMemory(uintptr_t address, char* out, int count) {
    const void* p = reinterpret_cast<const void*>(address);
    if (IsBadReadPtr(p, count)) return false;
    std::memcpy(out, p, count);
    return true;
}

} // namespace

int FindCecRom() {
    if (IsNtFamily()) return -1;
    for (int segment = 0xC000; segment < 0xF000; segment += 0x400) {
        uintptr_t base = static_cast<uintptr_t>(segment) * 16;
        char maker[3];
        char copy[4];
        if (ReadLowMemory(base + 50, maker, 3) && ReadLowMemory(base + 60, copy, 4) &&
            std::memcmp(maker, "CEC", 3) == 0 && std::memcmp(copy, "Copy", 4) == 0)
            return segment;
    }
    return 0;
}

void RunPciConf() {
    int port = TextToInt(HardwareLine(43));
    char text[16] = "2b8";
    if (port != 0) std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(port));
    std::string dir = KorvoDir("Install");
    RunProgram(JoinFile(dir, "PCICONF"), dir, text, true);
}

void RunDiskInstaller(std::string_view params) {
    std::string korvo = KorvoDir("");
    ChangeDir(korvo);
    RunProgram(KorvoDir("Install\\Install"), korvo, params, true);
}

std::string VexaStartFile() {
    std::string start = JoinFile(PrgDir(), "VEXA");
    if (!IsNtFamily()) return start;
    PathBuf desktop;
    bool found = false;
    SpecialFolder(16, desktop, found);
    if (!found || !FileExists(JoinFile(desktop.View(), "VEXA.PIF"))) return start;
    std::string winDir = InstallWinDir();
    CopyNamedFile("VEXA.PIF", desktop.View(), winDir);
    std::string pif = JoinFile(winDir, "VEXA.PIF");
    return FileExists(pif) ? pif : start;
}

void RunVexa(std::string_view params, bool wait) {
    std::string prg = PrgDir();
    ChangeDir(prg);
    RunProgram(VexaStartFile(), prg, params, wait);
}

bool UnpackToKorvo(std::string_view archive, int mode) {
    std::string korvo = KorvoDir("");
    std::string path(archive);
    if (mode == 1) {
        path = JoinFile(korvo, archive);
    } else if (mode == 2) {
        NameBuf name;
        name.Set(archive);
        NamePart(name);
        std::string copy = JoinFile(korvo, name.View());
        // A failed copy would leave an older package of that name in KORVO to be extracted in its
        // place; the given file is extracted instead (or reported missing).
        if (CopyOneFile(archive, copy) == FsOk) path = copy;
    }
    ChangeDir(korvo);
    bool error = false;
    ExtractZip(path, korvo, 2, error);
    return !error;
}
