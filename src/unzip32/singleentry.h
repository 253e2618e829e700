// The DLL's front: turns the option and callback records into one reader run over real files.
// Portable, so the native build tests the very path the export takes.
#pragma once

#include "lib/unzipdll.h"

namespace unzip {

// Wiz_SingleEntryUnzip's work (lib/unzipdll.h describes the records and the result codes).
int SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv, const DCL* dcl, USERFUNCTIONS* uf);

} // namespace unzip
