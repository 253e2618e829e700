// Input controls, the portable rules.
#include "lib/inputs.h"

#include <cstring>

namespace {
// Characters refused by the path kinds, cumulatively: 10, then 11, 12, 13 and 14 add theirs.
const char* Refused(int kind) {
    switch (kind) {
    case InputPath:
        return "<>?*\"|";
    case InputFileName:
        return "<>?*\"|\\:";
    case InputDirPath:
        return "<>?*\"|:.@";
    case InputDosName:
        return "<>?*\"|\\:.@";
    case InputDosNameNoDollar:
        return "<>?*\"|\\:.@$";
    default:
        return "";
    }
}

bool UpperCased(int kind) { return kind == 1 || kind == 3 || kind == InputDosName || kind == InputDosNameNoDollar; }

bool BlanksRemoved(int kind) { return kind == 1 || (kind >= InputFileName && kind <= InputDosNameNoDollar); }
} // namespace

char FilterInputChar(int kind, char typed) {
    if (typed == 0 || std::strchr(Refused(kind), typed))
        return 0;
    if (UpperCased(kind) && typed >= 'a' && typed <= 'z')
        return static_cast<char>(typed - 'a' + 'A');
    return typed;
}

void ProcessReadBack(int kind, char* buf, int n) {
    if (!buf || n < 0)
        return;
    int len = 0;
    while (len <= n && buf[len])
        ++len;
    if (BlanksRemoved(kind)) {
        int out = 0;
        for (int i = 0; i < len; ++i)
            if (buf[i] != ' ')
                buf[out++] = buf[i];
        len = out;
    }
    if (kind == InputDirPath && len > 0 && buf[len - 1] == '\\')
        --len;
    if (len <= n)
        buf[len] = 0;
}

bool ModeVisible(const ModeRange& range, int number) {
    if (number < 0 || number >= range.Count || number < range.First || number > range.Last)
        return false;
    return number >= 32 || !(range.Mask & (1u << number));
}

int ModeVisibleCount(const ModeRange& range) {
    int count = 0;
    for (int k = 0; k < range.Count; ++k)
        count += ModeVisible(range, k) ? 1 : 0;
    return count;
}

int ModeRowOf(const ModeRange& range, int number) {
    int row = -1, lastRow = -1;
    for (int k = 0; k < range.Count; ++k) {
        if (!ModeVisible(range, k))
            continue;
        ++row;
        lastRow = row;
        if (k >= number)
            return row; // n itself, or the first visible number after it
    }
    return lastRow;
}

int ModeNumberOf(const ModeRange& range, int row) {
    if (row < 0)
        return -1;
    int seen = -1;
    for (int k = 0; k < range.Count; ++k)
        if (ModeVisible(range, k) && ++seen == row)
            return k;
    return -1;
}
