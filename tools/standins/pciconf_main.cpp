// Stand-in for PCICONF.EXE, the PCI IEEE board port tool, started from KORVO\Install with the port as
// hexadecimal text ("02B8", or "2b8" when none is configured). Nothing is read back from it, so it only
// logs; the log line shows the port it was given. Switches: those of standin.h.
#include "standin.h"

int main() {
    return standin::Finish("PCICONF", 0);
}
