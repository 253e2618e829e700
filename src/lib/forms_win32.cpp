// Window kinds and geometry on real windows.
#include "lib/forms_win32.h"

namespace {
FormFrameState frame{nullptr, 0};
} // namespace

FormFrameState& FormFrame() { return frame; }
void ResetFormFrame() { frame = {nullptr, 0}; }

void ApplyKind(ui::Form& form, int kind) {
    form.Tag = kind;
    if (KindUnscaled(kind))
        form.Scaled = false;
    if (KindNoMinMax(kind) && form.Handle()) {
        HWND hwnd = form.Handle();
        SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (kind != KindUnrecorded)
        frame = {&form, kind};
}

void ReleaseFormWindow(ui::Form* form) {
    if (!form)
        return;
    if (frame.Recent == form)
        frame.Recent = nullptr; // never leave the record pointing at a freed window
    form->Release();
}

void SaveGeometry(const ui::Form& form, FormGeometry& g) {
    BoundsOf(form, g.Left, g.Top, g.Width, g.Height);
    g.ClientWidth = form.ClientWidth();
    g.ClientHeight = form.ClientHeight();
    if (form.GetWindowState() == ui::WindowState::Maximized) {
        g.Flags |= GeoMaximized; // the saved copy keeps the normal placement from before
        return;
    }
    g.Flags = (g.Flags & ~GeoMaximized) | GeoHasPlacement;
    KeepNormalPlacement(g);
}

void ApplyGeometry(ui::Form& form, const FormGeometry& g) {
    bool maximized = (g.Flags & GeoMaximized) != 0;
    if ((g.Flags & GeoHasPlacement) && g.Width >= 1) {
        form.SetClientSize(g.ClientWidth, g.ClientHeight);
        // A maximized window gets its normal placement back from the saved copy, so that restoring it
        // returns to where it was before it was maximized.
        if (maximized && g.SavedWidth >= 1)
            form.SetBounds(g.SavedLeft, g.SavedTop, g.SavedWidth, g.SavedHeight);
        else
            form.SetBounds(g.Left, g.Top, g.Width, g.Height);
    }
    form.SetWindowState(maximized ? ui::WindowState::Maximized : ui::WindowState::Normal);
}

void PlaceForm(ui::Form& form, const FormGeometry& geometry) {
    FormGeometry g = geometry;
    if (g.Flags & GeoMaximized) {
        ApplyGeometry(form, g);
    } else if ((g.Flags & GeoPositionOnly) && (g.Flags & GeoHasPlacement)) {
        form.SetBounds(g.Left, g.Top, form.Width(), form.Height());
    } else if (!(g.Flags & GeoHasPlacement)) {
        if (g.Flags & GeoTopLeft)
            form.SetBounds(0, 0, form.Width(), form.Height());
        else
            form.SetBounds((GetSystemMetrics(SM_CXSCREEN) - form.Width()) / 2, CentreTop(form.Height()),
                           form.Width(), form.Height());
    } else {
        ApplyGeometry(form, g);
    }
}

void CopyPlacement(const ui::Form* source, ui::Form& target) {
    if (!source || !source->Handle())
        return;
    FormGeometry g{};
    SaveGeometry(*source, g);
    ApplyGeometry(target, g);
}

void BoundsOf(const ui::Form& form, int& left, int& top, int& width, int& height) {
    left = form.Left();
    top = form.Top();
    width = form.Width();
    height = form.Height();
}

int CentreTop(int windowHeight) { return CentreTop(windowHeight, GetSystemMetrics(SM_CYSCREEN)); }

void EnableControls(bool enabled, std::initializer_list<ui::Control*> controls) {
    for (ui::Control* control : controls)
        if (control)
            control->SetEnabled(enabled);
}

void ShowControls(bool visible, std::initializer_list<ui::Control*> controls) {
    for (ui::Control* control : controls)
        if (control)
            control->SetVisible(visible);
}
