// Walk lines into list boxes and listings.
#include "browse/walktargets.h"

#include <windows.h>

bool PumpingTarget::Due() {
    uint32_t now = GetTickCount();
    if (!started_) {
        started_ = true;
        last_ = now;
    }
    if (now - last_ < 40) return false;
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

// The lines shown so far follow at each pause, so the listing grows while the walk runs.
void ViewLines::Add(std::string_view line) {
    view_.AddLine(line);
    if (!Due()) return;
    view_.Commit();
    Pump();
}
