// The update packages (BtnBugFix): the dates of the packages on the update site are fetched in
// datefix.txt and compared with the installed ones, and the bug-fix, winfix and confix packages are
// downloaded into KORVO and unpacked there as the user agrees.
#pragma once

#include <string>

// The update site's address without the path below it: the environment variable SETUP_UPDATE_SITE, else
// the first line of UpdSite.CFG in the program's folder; empty when neither names one.
std::string UpdateSiteAddress();
// The directory the packages are fetched from: the site and "/support/vexa_dos".
std::string UpdateSiteDir();

// Brings the installed tree up to date from the site, asking the user first.
void LoadBugfix();
