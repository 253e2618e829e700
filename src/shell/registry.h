// The installation's registry entry under HKEY_LOCAL_MACHINE: the install directory ("Path") and the
// version ("Version"). Failures are silent: no key gives an empty path, a key that cannot be written
// records nothing.
#pragma once

#include <string>

// The key, relative to HKEY_LOCAL_MACHINE.
extern const char* const RegistryKey;

// The recorded install directory; empty when the key or the value is missing.
std::string ReadRegistryPath();
// Records InstallDir as "Path" and "4.0" as "Version", creating the key when it is missing.
void WriteRegistry();
