// Window kinds and geometry, portable half.
#include "lib/forms.h"

#include <utility>

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

namespace {
// Each placement field beside its saved copy.
constexpr std::pair<int32_t FormGeometry::*, int32_t FormGeometry::*> placementFields[] = {
    {&FormGeometry::Left, &FormGeometry::SavedLeft},
    {&FormGeometry::Top, &FormGeometry::SavedTop},
    {&FormGeometry::Width, &FormGeometry::SavedWidth},
    {&FormGeometry::Height, &FormGeometry::SavedHeight},
    {&FormGeometry::ClientWidth, &FormGeometry::SavedClientWidth},
    {&FormGeometry::ClientHeight, &FormGeometry::SavedClientHeight},
};
} // namespace

void KeepNormalPlacement(FormGeometry& g) {
    for (auto [now, saved] : placementFields) g.*saved = g.*now;
}

void TakeNormalPlacement(FormGeometry& g) {
    for (auto [now, saved] : placementFields) g.*now = g.*saved;
}
