// Window kinds and geometry, portable half.
#include "lib/forms.h"

namespace {
FormGeometry builtSlots[BuiltSlotCount + 1]; // index 0 is the scratch record for bad slot numbers
} // namespace

bool KindUnscaled(int kind) {
    return kind == 0 || (kind >= 10 && kind <= 59) || (kind >= 81 && kind <= 89) || kind == 99;
}

bool KindNoMinMax(int kind) { return kind >= 40 && kind <= 59; }

void ResetGeometry(FormGeometry& geometry) { geometry = FormGeometry{}; }

int CentreTop(int windowHeight, int screenHeight) {
    int top = (screenHeight - 32 - windowHeight) / 2; // C++ division truncates toward zero
    return top > 0 ? top : 0;
}

FormGeometry& BuiltSlot(int n) {
    if (n < 1 || n > BuiltSlotCount) {
        ResetGeometry(builtSlots[0]);
        return builtSlots[0];
    }
    return builtSlots[n];
}

void ResetBuiltSlots() {
    for (FormGeometry& slot : builtSlots)
        ResetGeometry(slot);
}

void KeepNormalPlacement(FormGeometry& g) {
    g.SavedLeft = g.Left;
    g.SavedTop = g.Top;
    g.SavedWidth = g.Width;
    g.SavedHeight = g.Height;
    g.SavedClientWidth = g.ClientWidth;
    g.SavedClientHeight = g.ClientHeight;
}

void TakeNormalPlacement(FormGeometry& g) {
    g.Left = g.SavedLeft;
    g.Top = g.SavedTop;
    g.Width = g.SavedWidth;
    g.Height = g.SavedHeight;
    g.ClientWidth = g.SavedClientWidth;
    g.ClientHeight = g.SavedClientHeight;
}
