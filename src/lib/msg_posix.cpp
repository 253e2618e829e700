// The tick count of native builds: milliseconds of a steady clock, wrapping at 32 bits.
#include <chrono>

#include "lib/msg.h"

uint32_t TickCount() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}
