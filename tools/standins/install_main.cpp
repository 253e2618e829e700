// Stand-in for VEXA's Install.EXE, which serves two roles by its first word.
//
// As the medium's installer: Install.EXE UPDA|PATH <medium dir> <install dir>\KORVO
//   Builds a small KORVO tree under the third word: the contents of the unpacked package folders
//   <medium>\VEXA_1 .. VEXA_6 when there are any, InitDat\Version.DAT (version and date lines),
//   Hardconf\Hardware.DAT (70 numbered lines), Doc\, Install\Install.EXE (a copy of itself, so the
//   installed tree has VxSet), Install\Win\, Prg\VEXA.EXE and Install\PCICONF.EXE when those stand-ins
//   lie beside it or in the medium folder. Then it rewrites the marker C:\VEXA_$$$\VEXA.$$$: line 1
//   a non-zero integer right-justified in 6 characters, line 2 the base directory (the third word
//   without its \KORVO), line 3 kept. A missing marker folder is not created.
// As VxSet (started from KORVO\Install with KORVO as working directory): SET, INFO or "Info Win";
//   "Info Win" writes Doc\PC_Conf.REP below the working directory, the others only log.
//
// Like the DOS program it stands in for, it splits its words at blanks and knows no quotes.
// Switches besides those of standin.h:
//   VEXA_STANDIN_VERSION  version line of Version.DAT (default 4.00; when set it replaces one a
//                         package folder brought)
//   VEXA_STANDIN_DATE     date line of Version.DAT (default 15.03.1999)
//   VEXA_STANDIN_HW       Hardware.DAT lines to set, "line=value,..." (e.g. 43=696,65=Y)
//   VEXA_STANDIN_CHOOSE   base directory "chosen by the user": the tree goes to <it>\KORVO and the
//                         marker names it
//   VEXA_STANDIN_MARKER   marker path instead of C:\VEXA_$$$\VEXA.$$$
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "standin.h"

using namespace standin;

namespace {

constexpr int HardwareLines = 70;

std::vector<std::string> HardwareDat() {
    std::vector<std::string> lines(HardwareLines, "0");
    lines[16 - 1] = "0 * RAM disk size in KB";
    lines[41 - 1] = "2 * IEEE mode";
    lines[43 - 1] = "0 * PCI IEEE port address";
    lines[55 - 1] = "0 * mouse prepared for Windows";
    lines[65 - 1] = "N * IEEE driver for the simulation only";
    std::string set = Env("VEXA_STANDIN_HW");
    size_t start = 0;
    while (start < set.size()) {
        size_t comma = set.find(',', start);
        if (comma == std::string::npos) comma = set.size();
        std::string item = set.substr(start, comma - start);
        size_t eq = item.find('=');
        int line = std::atoi(item.substr(0, eq).c_str());
        if (eq != std::string::npos && line >= 1 && line <= HardwareLines)
            lines[line - 1] = item.substr(eq + 1);
        start = comma + 1;
    }
    return lines;
}

// The stand-in programs this one finds beside itself or in the medium folder.
std::string Companion(const std::string& medium, const char* name) {
    std::string beside = Join(DirOf(OwnPath()), name);
    if (FileExists(beside)) return beside;
    std::string inMedium = Join(medium, name);
    return FileExists(inMedium) ? inMedium : std::string();
}

void BuildTree(const std::string& korvo, const std::string& medium) {
    bool packageVersion = false;
    for (int i = 1; i <= 6; i++) {
        std::string package = Join(medium, "VEXA_" + std::to_string(i));
        if (!DirExists(package)) continue;
        CopyTree(package, korvo);
        packageVersion = packageVersion || FileExists(Join(package, "InitDat\\Version.DAT"));
    }
    for (const char* sub : {"InitDat", "Prg", "Doc", "Hardconf", "Install\\Win"}) MakeDirs(Join(korvo, sub));

    std::string version = Env("VEXA_STANDIN_VERSION");
    if (!version.empty() || !packageVersion) {
        std::string date = Env("VEXA_STANDIN_DATE");
        WriteLines(Join(korvo, "InitDat\\Version.DAT"),
                   {version.empty() ? "4.00" : version, date.empty() ? "15.03.1999" : date});
    }
    std::string hardware = Join(korvo, "Hardconf\\Hardware.DAT");
    if (!FileExists(hardware)) WriteLines(hardware, HardwareDat());

    CopyFileA(OwnPath().c_str(), Join(korvo, "Install\\Install.EXE").c_str(), FALSE);
    std::string vexa = Companion(medium, "VEXA.EXE");
    if (!vexa.empty()) CopyFileA(vexa.c_str(), Join(korvo, "Prg\\VEXA.EXE").c_str(), FALSE);
    std::string pciconf = Companion(medium, "PCICONF.EXE");
    if (!pciconf.empty()) CopyFileA(pciconf.c_str(), Join(korvo, "Install\\PCICONF.EXE").c_str(), FALSE);
}

void WriteMarker(int result, const std::string& base) {
    std::string marker = Env("VEXA_STANDIN_MARKER");
    if (marker.empty()) marker = "C:\\VEXA_$$$\\VEXA.$$$";
    if (!DirExists(DirOf(marker))) return;
    std::vector<std::string> old = ReadLines(marker);
    char first[16];
    std::snprintf(first, sizeof first, "%6d", result);
    std::vector<std::string> lines = {first, base};
    if (old.size() >= 3) lines.push_back(old[2]);
    WriteLines(marker, lines);
}

int Installer(const std::vector<std::string>& words) {
    if (words.size() < 3) return 2;
    if (Failing("nomarker")) return 1;
    std::string korvo = words[2];
    while (korvo.size() > 3 && korvo.back() == '\\') korvo.pop_back();
    std::string base = EndsWithNoCase(korvo, "\\KORVO") ? korvo.substr(0, korvo.size() - 6) : korvo;
    std::string chosen = Env("VEXA_STANDIN_CHOOSE");
    if (!chosen.empty()) {
        base = chosen;
        korvo = Join(chosen, "KORVO");
    }
    BuildTree(korvo, words[1]);
    bool zero = Failing("zero");
    WriteMarker(zero ? 0 : 1, base);
    return zero ? 1 : 0;
}

int VxSet(const std::vector<std::string>& words) {
    bool infoWin = Upper(words[0]) == "INFO" && words.size() > 1 && Upper(words[1]) == "WIN";
    if (!infoWin || Failing("noreport")) return 0;
    std::string korvo = CurrentDir();
    MakeDirs(Join(korvo, "Doc"));
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    SYSTEM_INFO sys;
    GetSystemInfo(&sys);
    char windows[64], cpus[64];
    std::snprintf(windows, sizeof windows, "Windows version: %lu.%lu platform %lu", v.dwMajorVersion,
                  v.dwMinorVersion, v.dwPlatformId);
    std::snprintf(cpus, sizeof cpus, "Processors: %lu", sys.dwNumberOfProcessors);
    bool ok =
        WriteLines(Join(korvo, "Doc\\PC_Conf.REP"),
                   {"VxSet PC configuration report", "Date: " + Today(), windows, cpus, "KORVO: " + korvo});
    return ok ? 0 : 1;
}

} // namespace

int main() {
    std::vector<std::string> words = Words();
    std::string role = words.empty() ? std::string() : Upper(words[0]);
    int code = 2;
    if (role == "UPDA" || role == "PATH")
        code = Installer(words);
    else if (role == "SET" || role == "INFO")
        code = VxSet(words);
    return Finish("Install", code);
}
