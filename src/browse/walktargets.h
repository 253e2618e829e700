// Walk lines into a window's list box or listing. A walk over a large tree takes a while: the targets
// process pending messages every 40 ms or so, so the window stays painted and movable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "browse/filetools.h"
#include "ui/views.h"

class PumpingTarget : public LineTarget {
  public:
    std::function<bool()> Stop; // asked between directories: true ends the walk (may be empty)
    bool Stopped() override;

  protected:
    bool Due(); // true once 40 ms have passed since the last time it said so
    void Pump();

  private:
    uint32_t last_ = 0;
    bool started_ = false;
};

class ListBoxLines : public PumpingTarget {
  public:
    explicit ListBoxLines(ui::ListBox& box) : box_(box) {}
    void Add(std::string_view line) override;

  private:
    ui::ListBox& box_;
};

class ViewLines : public PumpingTarget {
  public:
    explicit ViewLines(ui::LinesView& view) : view_(view) {}
    ~ViewLines() override { view_.Commit(); }
    ViewLines(const ViewLines&) = delete;
    ViewLines& operator=(const ViewLines&) = delete;
    void Add(std::string_view line) override;

  private:
    ui::LinesView& view_;
};
