// The update packages.
#include "shell/bugfix.h"

#include <windows.h>

#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/paths.h"
#include "net/webload_win32.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"

namespace {

constexpr int DateWidth = 80; // the dates of datefix.txt are read into 80 characters

// Downloads one package of the site into KORVO and unpacks it there; true when it was downloaded. A
// download takes the package's name only when it succeeded, so after a failure an earlier package of
// that name is there as it was, and nothing a failed download received is ever unpacked or kept.
bool FetchPackage(const std::string& siteName, const std::string& localName) {
    bool loaded = false;
    WebDownload(siteName, UpdateSiteDir(), KorvoDir(""), 0, true, loaded);
    if (loaded) UnpackToKorvo(localName, 1);
    return loaded;
}

// The administrator's file naming the update site: one line, UpdSite.CFG in the program's folder.
std::string UpdateSiteFile() {
    PathBuf programDir;
    ProgramDir(programDir);
    return JoinFile(programDir.View(), "UpdSite.CFG");
}

} // namespace

std::string UpdateSiteAddress() {
    std::string address;
    if (DWORD length = GetEnvironmentVariableA("SETUP_UPDATE_SITE", nullptr, 0); length > 1) {
        address.resize(length);
        DWORD got = GetEnvironmentVariableA("SETUP_UPDATE_SITE", address.data(), length);
        address.resize(got < length ? got : 0);
    }
    if (address.empty()) address = DatLine(UpdateSiteFile(), 1);
    // A slash at the end would double the one the site directory starts with.
    while (!address.empty() && address.back() == '/') address.pop_back();
    return address;
}

std::string UpdateSiteDir() {
    return UpdateSiteAddress() + "/support/vexa_dos";
}

void LoadBugfix() {
    if (UpdateSiteAddress().empty()) {
        ShowStop("Update site", {"No update site is configured.",
                                 "Write the site's address (http://server) as the one line of",
                                 UpdateSiteFile() + " or set SETUP_UPDATE_SITE."});
        return;
    }
    std::string korvo = KorvoDir("");
    std::string dateFile = JoinFile(korvo, "datefix.txt");
    DeleteOneFile(dateFile);
    bool loaded = false;
    WebDownload("datefix.txt", UpdateSiteDir(), korvo, 1, true, loaded);
    if (!loaded || !FileExists(dateFile)) {
        WebDownloadClose();
        return;
    }
    std::string bugfixDate = DatLine(dateFile, 2, DateWidth);
    std::string confixDate = DatLine(dateFile, 3, DateWidth);
    std::string winfixDate = DatLine(dateFile, 4, DateWidth);
    std::string programDate = DatDate(KorvoDir("InitDat\\Version.DAT"));
    std::string installedConfix = DatDate(KorvoDir("InitDat\\Confix.DAT"));
    std::string installedWinfix = DatDate(KorvoDir("Install\\Win\\Winfix.DAT"));
    bool newConfix = IsEarlier(installedConfix, confixDate);
    bool newWinfix = IsEarlier(installedWinfix, winfixDate);

    std::string size = newWinfix ? "1.5" : "1.2";
    if (AskCoded("Install bugfix package",
                 {"Program date: " + programDate, "Bugfix date: " + bugfixDate,
                  "Load bugfix package (" + size + "MB) from internet?"},
                 1) &&
        FetchPackage("BUGFIX.exe", "bugfix.exe")) {
        // No confix offer after a failed winfix download: the two belong together.
        if (newWinfix && !FetchPackage("winfix.exe", "winfix.exe")) newConfix = false;
        if (newConfix && AskCoded("Install confix package",
                                  {"Installed date: " + installedConfix, "Confix date: " + confixDate,
                                   "Load the Confix package only if you realy need",
                                   "the new configuration files for cryo, fast pulse ... !",
                                   "In this case your old hardware configuration files",
                                   "could be overwritten. After this installation you have",
                                   "check your VEXA configuration by \"VxSet\", especially",
                                   "the addresses of cryo system and fast pulse generator.",
                                   "Load confix package from internet?"},
                                  101))
            FetchPackage("confix.exe", "confix.exe");
    }
    DeleteOneFile(dateFile);
    WebDownloadClose();
}
