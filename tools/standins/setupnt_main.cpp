// Stand-in for SetUpNT.EXE, the IEEE driver set-up, started from KORVO\Install\Win without parameters.
// Nothing is read back from it, so it only logs. Switches: those of standin.h.
#include "standin.h"

int main() {
    return standin::Finish("SetUpNT", 0);
}
