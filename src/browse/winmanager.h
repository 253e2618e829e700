// The window manager: a stack of the program's managed windows (the converter window as window 0, the
// explorer above it as window 1), their placements remembered for the run in the built-window slots,
// a first-activation step, and the restyling of a window's tool bar from fixed tool-bar settings.
#pragma once

#include <cstdint>
#include <functional>

#include "lib/forms_win32.h"
#include "ui/views.h"

// Program-wide tool-bar settings; fixed at start, nothing in the program changes them.
struct ToolBarSettings {
    int ToolStyle;          // 2: the window's own tool bar stays in use and is restyled
    bool FlatButtons;
    bool Transparent;       // false: the cool bar's background bitmap is removed too
    bool ShowCaptions;
    bool SmallCaptionFont;
    bool UseMonoImages;     // false: the tool bar keeps its colour images
    int ScalePercent;
    bool ScaleToScreen;
};
extern const ToolBarSettings ToolSettings;

using CoverChangeProc = std::function<void(bool current)>; // false: covered; true: current again
using ChildWinProc = std::function<void()>;

struct ChildWinRecord {
    int32_t Kind;             // the kind of the most recent creation when the window was opened
    int32_t Number;           // the caller's number: 0 the converter window, 1 the explorer
    int32_t StartOption;      // 0: the window below is left alone (the only value this program uses)
    int32_t ActivationState;  // 0 new, 1 shown, 2 first activation done
    int32_t ShowMode;         // 1 modeless, 2 modal
    bool PendingFirstActivation;
    bool Closed;
    ui::Form* Form;
    ui::Timer* ImageTimer;    // a window's image timer; no window of this program has one
    ui::Control* ToolControl; // the cool bar given at opening
    void* OwnedObjects[2];    // released with the window; none in this program
    CoverChangeProc OnCoverChange;
    ChildWinProc OnFirstActivation;
};

// Window index (from 0) to record; -1 gives the sentinel (kind -2, number -1).
ChildWinRecord& ChildWin(int index);
int ChildWinCurrent(); // the topmost window's index, -1 when none is registered

// The frame: the main window and its picture control, and whether a window has been registered.
struct ChildWinFrameState {
    ui::Form* Main;
    ui::Control* Picture;
    ui::Control* TopPanel;   // the main window's top and image panels; none in this program
    ui::Control* ImagePanel;
    bool Active;
};
ChildWinFrameState& ChildWinFrame();
void ResetChildWins(); // empty stack, inactive frame; start-up and tests

// The built-window slot (Part of the window kinds) keeping a kind's placement, 0 for none.
int KindSlot(int kind, int number);

void ChildWinOpenMain(int number, ui::Form& main, ui::Control* picture, ui::Control* toolControl);
void ChildWinOpen(int number, ui::Control* parent, ui::Control* toolControl, int& slotNumber, FormGeometry& own,
                  ChildWinProc firstActivation, CoverChangeProc coverChange, const ChildWinProc& arrange);
void ChildWinStartOption(int value);
void ChildWinShow(int mode); // 2: modal, returns once the window has closed; otherwise modeless
// The window's Closed flag, read before the pending messages are processed once.
bool ChildWinIsClosed(int n);
void ChildWinActivated();
// The manager's own first-activation step, which windows hand to ChildWinOpen.
void ChildWinFirstActivation();
void ChildWinClosing(int n, FormGeometry& own, ui::CloseAction& action);
void ChildWinFree(int n, ui::Form* window);

void SaveKindGeometry(int kind, int number, const ui::Form* window);
void PlaceChildWin(int kind, int number, ui::Form* window, FormGeometry& own);

void ArrangeToolBar(int style, int bandIndex, int lastBand, ui::Form& window, HIMAGELIST monoImages,
                    ui::ToolBar& toolBar, ui::CoolBar& coolBar);
void SetToolDown(bool down, ui::ToolButton& button, ui::Form& window);
void SetToolEnabled(bool enabled, ui::ToolButton& button, ui::Form& window);
