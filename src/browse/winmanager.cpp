// The window manager.
#include "browse/winmanager.h"

#include <vector>

const ToolBarSettings ToolSettings{2, true, false, false, false, false, 100, false};

namespace {

ChildWinRecord NewRecord(int kind, int number) {
    return {kind, number, 0, 0, 0, false, false, nullptr, nullptr, nullptr, {nullptr, nullptr}, {}, {}};
}

struct ChildWinState {
    std::vector<ChildWinRecord> Stack;
    ChildWinRecord Sentinel = NewRecord(-2, -1);
    int Current = -1;
    ChildWinFrameState Frame{nullptr, nullptr, nullptr, nullptr, false};
} state;

} // namespace

ChildWinRecord& ChildWin(int index) {
    if (index < 0) {
        state.Sentinel = NewRecord(-2, -1); // nothing may change what stands below window 0
        return state.Sentinel;
    }
    if (static_cast<size_t>(index) >= state.Stack.size())
        state.Stack.resize(static_cast<size_t>(index) + 1, NewRecord(0, 0));
    return state.Stack[static_cast<size_t>(index)];
}

int ChildWinCurrent() { return state.Current; }
ChildWinFrameState& ChildWinFrame() { return state.Frame; }

void ResetChildWins() {
    state.Stack.clear();
    state.Current = -1;
    state.Frame = {nullptr, nullptr, nullptr, nullptr, false};
}

int KindSlot(int kind, int number) {
    bool one = number % 10 == 1;
    if (kind == 0) return 2;
    if (kind >= 10 && kind <= 12) return 1;
    if (kind == 17) return 6;
    if (kind >= 20 && kind <= 22) return one ? 1 : 2;
    if (kind == 30) return one ? 1 : 3;
    if (kind == 41 || kind == 42) return 4;
    if (kind == 51 || kind == 52) return 5;
    return 0;
}

void ChildWinOpenMain(int number, ui::Form& main, ui::Control* picture, ui::Control* toolControl) {
    FormFrame() = {&main, 0};
    state.Frame.Main = &main;
    state.Frame.Picture = picture;
    state.Frame.TopPanel = nullptr; // the program's main windows have no such panels
    state.Frame.ImagePanel = nullptr;
    state.Current = -1;
    int slot = 0;
    FormGeometry scratch{};
    ChildWinOpen(number, nullptr, toolControl, slot, scratch, {}, {}, {});
}

void ChildWinOpen(int number, ui::Control*, ui::Control* toolControl, int& slotNumber, FormGeometry& own,
                  ChildWinProc firstActivation, CoverChangeProc coverChange, const ChildWinProc& arrange) {
    int prev = state.Current;
    int next = prev + 1;
    if (ChildWin(prev).OnCoverChange) ChildWin(prev).OnCoverChange(false);
    SaveKindGeometry(ChildWin(prev).Kind, ChildWin(prev).Number, ChildWin(prev).Form);
    if (arrange) arrange();
    FormFrameState frame = FormFrame();
    if (frame.Recent) PlaceChildWin(frame.RecentKind, number, frame.Recent, own);
    state.Current = next;
    slotNumber = next;
    ChildWinRecord& rec = ChildWin(next);
    rec = NewRecord(frame.RecentKind, number);
    rec.Form = frame.Recent;
    rec.ToolControl = toolControl;
    rec.OnFirstActivation = std::move(firstActivation);
    rec.OnCoverChange = std::move(coverChange);
    rec.PendingFirstActivation = true;
    state.Frame.Active = true;
}

void ChildWinStartOption(int value) {
    if (state.Current >= 0) ChildWin(state.Current).StartOption = value;
}

void ChildWinShow(int mode) {
    if (state.Current < 0) return;
    ChildWinRecord& rec = ChildWin(state.Current);
    if (!rec.Form) return;
    if (mode == 2) {
        if (rec.ActivationState == 0) rec.ActivationState = 1;
        rec.ShowMode = 2;
        rec.Form->ShowModal();
    } else {
        rec.ShowMode = 1;
        rec.Form->Show();
    }
}

bool ChildWinIsClosed(int n) {
    bool closed = ChildWin(n).Closed;
    ui::ProcessMessages();
    return closed;
}

void ChildWinActivated() {
    if (!state.Frame.Active || state.Current < 0) return;
    ChildWinRecord& rec = ChildWin(state.Current);
    if (rec.ActivationState != 1) return;
    rec.ActivationState = 2;
    if (rec.OnFirstActivation) rec.OnFirstActivation();
}

void ChildWinFirstActivation() {
    if (state.Current < 0) return;
    ChildWinRecord& rec = ChildWin(state.Current);
    if (!rec.PendingFirstActivation) return;
    if (rec.OnCoverChange) rec.OnCoverChange(true);
    // Start option 0, the only one this program uses, leaves the window below alone.
    rec.PendingFirstActivation = false;
}

void ChildWinClosing(int n, FormGeometry& own, ui::CloseAction&) {
    ChildWinRecord& rec = ChildWin(n);
    SaveKindGeometry(rec.Kind, rec.Number, rec.Form);
    if (rec.Form) SaveGeometry(*rec.Form, own);
    if (ChildWin(n - 1).OnCoverChange) ChildWin(n - 1).OnCoverChange(true);
    state.Current = n - 1;
    ChildWin(n).Closed = true;
}

void ChildWinFree(int n, ui::Form* window) {
    ChildWinRecord& rec = ChildWin(n);
    rec.OwnedObjects[0] = rec.OwnedObjects[1] = nullptr; // none to release in this program
    if (rec.Form == window) rec.Form = nullptr;           // the record must not point at a freed window
    ReleaseFormWindow(window);
}

void SaveKindGeometry(int kind, int number, const ui::Form* window) {
    if (!window || number < 0 || number > 29) return;
    auto save = [window](int slot) { SaveGeometry(*window, BuiltSlot(slot)); };
    if (kind == 0 || (kind >= 20 && kind <= 29)) {
        save(2);
        save(1);
    } else if (kind >= 30 && kind <= 39) {
        save(3);
        save(1);
    } else if (int slot = KindSlot(kind, number); slot >= 1) {
        save(slot);
    }
}

void PlaceChildWin(int kind, int number, ui::Form* window, FormGeometry&) {
    if (!window || number != 1) return; // window 0 is not placed
    int slot = KindSlot(kind, number);
    if (slot != 0 && BuiltSlot(slot).Flags > 0) PlaceForm(*window, BuiltSlot(slot));
}

void ArrangeToolBar(int style, int bandIndex, int, ui::Form&, HIMAGELIST, ui::ToolBar& toolBar, ui::CoolBar& coolBar) {
    // The fixed settings keep the bar's colour images (no mono images) and its own place (tool style 2).
    toolBar.SetFlat(ToolSettings.FlatButtons);
    toolBar.SetTransparent(ToolSettings.Transparent);
    toolBar.SetTextRows(ToolSettings.ShowCaptions ? 1 : 0);
    if (!ToolSettings.Transparent) coolBar.ClearBackground();
    if (style == 10) {
        toolBar.SetButtonSize(31, 30);
        coolBar.SetBandMinHeight(bandIndex, 30);
    }
}

void SetToolDown(bool down, ui::ToolButton& button, ui::Form&) { button.SetDown(down); }
void SetToolEnabled(bool enabled, ui::ToolButton& button, ui::Form&) { button.SetEnabled(enabled); }
