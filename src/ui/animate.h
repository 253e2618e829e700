// The animation control: the shell's standard animations (copy files, delete file, find file, find
// folder, find computer) played from the system's shell library where it has them, and our own drawn
// animation of the same subject where it does not (Wine's shell library has only a placeholder clip).
#pragma once

#include "ui/form.h"

namespace ui {

enum class CommonAvi { None, CopyFiles, DeleteFile, FindFile, FindFolder, FindComputer };

class Animate : public Control {
  public:
    ~Animate() override;
    // Selects the animation and sizes the control to it.
    void SetCommonAvi(CommonAvi avi);
    CommonAvi GetCommonAvi() const { return avi_; }
    void Play();
    void Stop(); // shows StopFrame
    bool Active() const { return active_; }
    bool ShellClip() const { return clip_ != nullptr; } // false: our own drawing
    int Frame() const { return frame_; }
    int StopFrame = 0;
    COLORREF Color = CLR_INVALID; // background; CLR_INVALID: the container's

  protected:
    WindowKind Kind(const Row& row) const override;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Tick();
    HWND clip_ = nullptr; // the system's animation control, when the shell has the clip
    HBRUSH brush_ = nullptr;
    CommonAvi avi_ = CommonAvi::None;
    bool active_ = false;
    int frame_ = 0;
};

} // namespace ui
