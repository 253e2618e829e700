// Window kinds and geometry, the window half: every window of the program is created through
// CreateKindForm under a kind and released through ReleaseForm; movable dialogs keep their placement
// in a FormGeometry record for the run (lib/forms.h).
#pragma once

#include <initializer_list>

#include "lib/forms.h"
#include "ui/form.h"

// The most recent creation: the window last created by CreateKindForm with a kind other than 99, and
// that kind (the window manager reads and sets it).
struct FormFrameState {
    ui::Form* Recent;
    int RecentKind;
};
FormFrameState& FormFrame();
void ResetFormFrame();

// Tags the form with the kind, applies the kind's rules and records the most recent creation.
void ApplyKind(ui::Form& form, int kind);

// Creates a form of class F (owned by the application window), stores it in ref and applies the kind.
template <class F> F* CreateKindForm(int kind, F*& ref) {
    ref = new F();
    ApplyKind(*ref, kind);
    return ref;
}

// Releases the form (destroyed once the message queue reaches it) and clears ref; it stops being the
// most recent creation.
void ReleaseFormWindow(ui::Form* form);
template <class F> void ReleaseForm(F*& ref) {
    ReleaseFormWindow(ref);
    ref = nullptr;
}

void SaveGeometry(const ui::Form& form, FormGeometry& geometry);
void ApplyGeometry(ui::Form& form, const FormGeometry& geometry);
void PlaceForm(ui::Form& form, const FormGeometry& geometry);
// SaveGeometry of the source into a temporary record, ApplyGeometry of it onto the target; nothing
// when the source is absent.
void CopyPlacement(const ui::Form* source, ui::Form& target);
void BoundsOf(const ui::Form& form, int& left, int& top, int& width, int& height);
// CentreTop on this screen.
int CentreTop(int windowHeight);
void EnableControls(bool enabled, std::initializer_list<ui::Control*> controls);
void ShowControls(bool visible, std::initializer_list<ui::Control*> controls);
