// The installation's registry entry.
#include "shell/registry.h"

#include <windows.h>

#include "setup/setupstate.h"

const char* const RegistryKey = "SOFTWARE\\Quarnell\\Vexa_Dos";

std::string ReadRegistryPath() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char value[1024] = "";
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    LONG rc = RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return "";
    value[size < sizeof value ? size : sizeof value - 1] = 0; // a stored text need not end in a NUL
    return value;
}

namespace {
void SetText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}
} // namespace

void WriteRegistry() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, RegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    SetText(key, "Path", SetupState.InstallDir.Str());
    SetText(key, "Version", "4.0");
    RegCloseKey(key);
}
