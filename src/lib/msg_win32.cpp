// The tick count of Windows, so a tick value from the system and one from TickCount compare.
#include <windows.h>

#include "lib/msg.h"

uint32_t TickCount() {
    return GetTickCount();
}
