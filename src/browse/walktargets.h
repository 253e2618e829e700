// Walk lines into a window's list box or memo. A walk over a large tree takes a while: the targets
// process pending messages at least every 50 ms, so the window stays painted and movable, and a memo
// gets its lines in blocks (one line at a time would copy the whole text again for each).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "browse/filetools.h"
#include "ui/controls.h"

class PumpingTarget : public LineTarget {
  public:
    std::function<bool()> Stop; // asked between directories: true ends the walk (may be empty)
    bool Stopped() override;

  protected:
    bool Due(); // true once 50 ms have passed since the last time it said so
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

class MemoLines : public PumpingTarget {
  public:
    explicit MemoLines(ui::Memo& memo) : memo_(memo) {}
    ~MemoLines() override { Flush(); }
    MemoLines(const MemoLines&) = delete;
    MemoLines& operator=(const MemoLines&) = delete;
    void Add(std::string_view line) override;
    void Flush(); // the lines gathered so far into the memo

  private:
    ui::Memo& memo_;
    std::string pending_;
};
