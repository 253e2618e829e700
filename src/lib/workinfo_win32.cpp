// The work-info window.
#include "lib/workinfo_win32.h"

namespace {
WorkInfoState state{nullptr, false, AnimNone};

int LastDigit(int kind) { return (kind < 0 ? -kind : kind) % 10; }
} // namespace

WorkInfoState& WorkInfo() { return state; }

int WorkInfoHeight(int animKind, bool withProgress) {
    return (withProgress ? 192 : 152) - (LastDigit(animKind) == AnimNone ? 50 : 0);
}

TFormWorkInfo::TFormWorkInfo() {
    Create({.caption = "", .clientWidth = 200, .clientHeight = 100, .border = ui::Border::Dialog,
            .position = ui::Position::ScreenCenter});
    Build({
        {.control = &Animate, .left = 8, .top = 8, .width = 48, .height = 45, .options = ui::opt::Hidden},
        {.control = &Label1, .left = 19, .top = 96, .width = 266, .height = 16},
        {.control = &ProgressBar, .left = 13, .top = 128, .width = 273, .height = 20, .options = ui::opt::Hidden},
    });
    SetWindowLongA(Label1.Handle(), GWL_STYLE, GetWindowLongA(Label1.Handle(), GWL_STYLE) | SS_NOPREFIX | SS_PATHELLIPSIS);
    Animate.Color = RGB(255, 255, 255);
    Animate.StopFrame = 8;
    Resize(WorkInfoHeight(AnimNone, false));
}

// Only the size: a move would count as placed, and the first show would no longer centre the window.
void TFormWorkInfo::Resize(int height) {
    SetWindowPos(Handle(), nullptr, 0, 0, FormWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormWorkInfo::Arrange(int animKind, bool withProgress) {
    int kind = LastDigit(animKind);
    Resize(WorkInfoHeight(kind, withProgress));
    if (kind == AnimNone) {
        Animate.Stop();
        Animate.SetVisible(false);
    } else {
        if (kind <= AnimFindComputer)
            Animate.SetCommonAvi(static_cast<ui::CommonAvi>(kind));
        Animate.SetBounds((ClientWidth() - Animate.Width()) / 2, 16, Animate.Width(), Animate.Height());
        Animate.SetVisible(true);
        Animate.Play();
    }
    bool animated = kind != AnimNone;
    Label1.SetTop(animated ? 96 : 46);
    ProgressBar.SetTop(animated ? 128 : 78);
    ProgressBar.SetPosition(0);
    ProgressBar.SetVisible(withProgress);
}

void ShowWorkInfo(const std::string& caption, int animKind, bool withProgress) {
    if (!state.Shown || !state.Window) {
        state.Window = new TFormWorkInfo();
        state.Shown = true;
    }
    state.Kind = animKind;
    state.Window->Arrange(animKind, withProgress);
    state.Window->SetCaption(caption);
    state.Window->Show();
    ui::ProcessMessages();
}

void SetWorkText(const std::string& text) {
    if (!state.Shown || !state.Window)
        return;
    state.Window->Label1.SetCaption(text);
    ui::ProcessMessages();
}

void HideWorkInfo() {
    if (!state.Shown)
        return;
    if (state.Window) {
        state.Window->Animate.Stop();
        state.Window->Hide();
        state.Window->Release();
    }
    state.Window = nullptr;
    state.Shown = false;
}
