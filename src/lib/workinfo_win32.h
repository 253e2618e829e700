// The work-info window: a small modeless window with an animation and a text line,
// shown while a long file operation runs.
#pragma once

#include <string>

#include "ui/animate.h"
#include "ui/controls.h"

// Animation kinds; only the last decimal digit of a kind counts, and 6..9 keep the animation last chosen.
constexpr int AnimNone = 0;
constexpr int AnimCopyFiles = 1;
constexpr int AnimDeleteFile = 2;
constexpr int AnimFindFile = 3;
constexpr int AnimFindFolder = 4;
constexpr int AnimFindComputer = 5;

class TFormWorkInfo : public ui::Form {
  public:
    static constexpr int FormWidth = 304;
    ui::Animate Animate;
    ui::Label Label1;
    ui::ProgressBar ProgressBar;
    TFormWorkInfo();
    // Heights, places and animation for one show.
    void Arrange(int animKind, bool withProgress);

  private:
    void Resize(int height);
};

// Outer height of the window for a kind: 192 with the progress bar, 152 without, 50 less for kind 0.
int WorkInfoHeight(int animKind, bool withProgress);

struct WorkInfoState {
    TFormWorkInfo* Window;
    bool Shown;
    int Kind;
};
WorkInfoState& WorkInfo();

void ShowWorkInfo(const std::string& caption, int animKind, bool withProgress);
void SetWorkText(const std::string& text);
void HideWorkInfo();
