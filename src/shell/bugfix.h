// The update packages (BtnBugFix): the dates of the packages on the maker's site are fetched in
// datefix.txt and compared with the installed ones, and the bug-fix, winfix and confix packages are
// downloaded into KORVO and unpacked there as the user agrees.
#pragma once

#include <string>

// The maker's site without the path below it; the environment variable SETUP_UPDATE_SITE replaces it
// (tests and the demo point it at a local server).
extern const char* const UpdateSiteAddress;
// The directory the packages are fetched from: the site and "/support/vexa_dos".
std::string UpdateSiteDir();

// Brings the installed tree up to date from the site, asking the user first.
void LoadBugfix();
