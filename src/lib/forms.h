// Window kinds and geometry, the portable half: the placement record every movable dialog keeps for the
// run, the kind rules, the six built-window slots of the window manager and the centring arithmetic.
// The operations that touch real windows (CreateKindForm, SaveGeometry, PlaceForm, ...) are declared in
// lib/forms_win32.h.
#pragma once

#include <cstdint>

// A window's placement, remembered for the run (never stored on disk). Thirteen 32-bit integers in
// this order; the saved copy is the normal (not maximized) placement.
struct FormGeometry {
    int32_t Left;
    int32_t Top;
    int32_t Width;
    int32_t Height;
    int32_t ClientWidth;
    int32_t ClientHeight;
    int32_t SavedLeft;
    int32_t SavedTop;
    int32_t SavedWidth;
    int32_t SavedHeight;
    int32_t SavedClientWidth;
    int32_t SavedClientHeight;
    int32_t Flags;
};
static_assert(sizeof(FormGeometry) == 13 * 4);

// Flag bits of FormGeometry::Flags.
constexpr int32_t GeoHasPlacement = 1; // the record holds a placement
constexpr int32_t GeoMaximized = 2;    // the window was maximized when saved
constexpr int32_t GeoPositionOnly = 4; // restore the position only
constexpr int32_t GeoTopLeft = 8;      // place at the top-left corner of the screen

// Window kinds (stored in a form's Tag).
constexpr int KindBrowExp = 42;   // the explorer
constexpr int KindBrowPath = 80;  // the directory chooser
constexpr int KindDialog = 81;    // every other dialog
constexpr int KindUnrecorded = 99; // created without becoming the most recent creation

// Kind rules: 0, 10-39, 40-59, 81-89 and 99 switch automatic font scaling off; 40-59 also lose the
// minimize and maximize buttons.
bool KindUnscaled(int kind);
bool KindNoMinMax(int kind);

// Clears the record: all zero, no flags.
void ResetGeometry(FormGeometry& geometry);

// The current placement into the saved copy, and back.
void KeepNormalPlacement(FormGeometry& geometry);
void TakeNormalPlacement(FormGeometry& geometry);

// Top of a window of the given height centred on a screen of the given height, leaving 32 pixels for
// the task bar: max(0, (screen - 32 - height) / 2), halves rounded toward zero.
int CentreTop(int windowHeight, int screenHeight);

// The six built-window slots (1..6) in which the window manager keeps placements. BuiltSlot(n) for n
// outside 1..6 gives a scratch record that nothing reads.
constexpr int BuiltSlotCount = 6;
FormGeometry& BuiltSlot(int n);
void ResetBuiltSlots();
