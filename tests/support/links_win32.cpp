#include "support/links_win32.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "support/standins_win32.h"

namespace testsupport {

std::string ReadLink(const std::string& file) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // once per thread; later calls only count
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    char text[4][MAX_PATH] = {};
    int icon = -1;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
              SUCCEEDED(persist->Load(wide, STGM_READ)) &&
              SUCCEEDED(link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH)) &&
              SUCCEEDED(link->GetArguments(text[1], MAX_PATH)) &&
              SUCCEEDED(link->GetDescription(text[2], MAX_PATH)) &&
              SUCCEEDED(link->GetIconLocation(text[3], MAX_PATH, &icon));
    if (persist) persist->Release();
    if (link) link->Release();
    if (!ok) return "not readable";
    return std::string(text[0]) + "|" + text[1] + "|" + text[2] + "|" + text[3] + "," + std::to_string(icon);
}

namespace {
std::string Folder(int csidl) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}
} // namespace

std::string DesktopDir() {
    return Folder(CSIDL_DESKTOPDIRECTORY);
}

std::string ProgramsDir() {
    return Folder(CSIDL_PROGRAMS);
}

void ScopedSetupLinks::Remove() {
    for (const char* name : {"VexaMeas.LNK", "VexaCmd.LNK", "Vexa.LNK"})
        DeleteFileA((DesktopDir() + "\\" + name).c_str());
    RemoveTree(ProgramsDir() + "\\Vexa_Dos");
    RemoveTree(ProgramsDir() + "\\VEXA");
}

} // namespace testsupport
