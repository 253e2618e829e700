// Shell links as the shell itself sees them, and the links the Windows set-up leaves in this prefix's
// desktop and Start-menu folders removed again after a test.
#pragma once

#include <string>

namespace testsupport {

// What the shell reads from a link file: "target|arguments|description|icon file,icon index";
// "not readable" when it cannot be loaded.
std::string ReadLink(const std::string& file);

// The user's desktop (CSIDL 16) and Start-menu programs (CSIDL 2) folders of this prefix.
std::string DesktopDir();
std::string ProgramsDir();

// While it lives nothing changes; afterwards the set-up's desktop links (new and old names) and its
// program folders (Vexa_Dos and the old VEXA) are gone again.
class ScopedSetupLinks {
  public:
    ScopedSetupLinks() { Remove(); }
    ~ScopedSetupLinks() { Remove(); }
    ScopedSetupLinks(const ScopedSetupLinks&) = delete;
    ScopedSetupLinks& operator=(const ScopedSetupLinks&) = delete;

  private:
    void Remove();
};

} // namespace testsupport
