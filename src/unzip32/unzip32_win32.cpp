// UnZip32.DLL's one export; the work is done by the portable front and the reader core.
#include "lib/unzipdll.h"
#include "unzip32/singleentry.h"

// The records' layout is fixed by the callers built against it: 15 ints and 2 pointers; 6 callbacks,
// 3 unsigned longs, an unsigned int and a 16-bit count padded to 4 bytes.
static_assert(sizeof(void*) != 4 || sizeof(DCL) == 68, "DCL must keep its 32-bit layout");
static_assert(sizeof(void*) != 4 || sizeof(USERFUNCTIONS) == 44, "USERFUNCTIONS must keep its 32-bit layout");

extern "C" int UNZIP_API Wiz_SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv, LPDCL lpDCL,
                                              LPUSERFUNCTIONS lpUserFunc) {
    return unzip::SingleEntryUnzip(ifnc, ifnv, xfnc, xfnv, lpDCL, lpUserFunc);
}
