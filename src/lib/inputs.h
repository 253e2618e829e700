// Input controls, the portable rules: which typed characters an input kind refuses or upper-cases,
// how text read back from an edit is cleaned per kind, and which items of a mode box are visible.
// The controls themselves are in lib/inputs_win32.h.
#pragma once

#include <cstdint>

// Input kinds of a TStrEdit: 0..9 text (1 and 3 upper-cased, 1 read back without blanks), 10 path,
// 11 file name, 12 directory path, 13 DOS name in upper case, 14 as 13 without "$".
constexpr int InputText = 0;
constexpr int InputPath = 10;
constexpr int InputFileName = 11;
constexpr int InputDirPath = 12;
constexpr int InputDosName = 13;
constexpr int InputDosNameNoDollar = 14;

// A typed character as the kind lets it through: 0 when refused, upper-cased where the kind says.
char FilterInputChar(int kind, char typed);

// The read-back processing of a kind on a text buffer of capacity n: blanks removed (kinds 1, 11 to
// 14), and for kind 12 one trailing backslash removed.
void ProcessReadBack(int kind, char* buf, int n);

// The visible numbers of a mode box: numbers 0..Count-1 at or above First, at most Last, whose bit
// in Mask is clear (bit k hides number k).
struct ModeRange {
    int Count;
    int First;
    int Last;
    uint32_t Mask;
};

bool ModeVisible(const ModeRange& range, int number);
int ModeVisibleCount(const ModeRange& range);
// The drop-down row that shows number n: n's own row when visible, else the row of the first visible
// number after n, else the last visible row; -1 when nothing is visible.
int ModeRowOf(const ModeRange& range, int number);
// The number a drop-down row shows (the row plus the invisible numbers before it); -1 for no row.
int ModeNumberOf(const ModeRange& range, int row);
