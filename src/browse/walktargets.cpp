// Walk lines into list boxes and memos.
#include "browse/walktargets.h"

#include <windows.h>

bool PumpingTarget::Due() {
    uint32_t now = GetTickCount();
    if (!started_) {
        started_ = true;
        last_ = now;
    }
    if (now - last_ < 50) return false;
    last_ = now;
    return true;
}

void PumpingTarget::Pump() { ui::ProcessMessages(); }

// A tree with few matching files adds few lines: the messages are also processed between directories.
bool PumpingTarget::Stopped() {
    if (Due()) Pump();
    return Stop && Stop();
}

void ListBoxLines::Add(std::string_view line) {
    box_.AddItem(std::string(line));
    if (Due()) Pump();
}

void MemoLines::Add(std::string_view line) {
    pending_.append(line).append("\r\n");
    if (!Due()) return;
    Flush();
    Pump();
}

void MemoLines::Flush() {
    if (pending_.empty()) return;
    memo_.AddText(pending_);
    pending_.clear();
}
