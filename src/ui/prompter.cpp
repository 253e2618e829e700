#include "ui/prompter.h"

namespace ui {

int DefaultAnswer(unsigned flags) {
    static const int answers[][4] = {
        {IdOk, IdOk, IdOk, IdOk},           {IdOk, IdCancel, IdCancel, IdCancel},
        {IdAbort, IdRetry, IdIgnore, IdIgnore}, {IdYes, IdNo, IdCancel, IdCancel},
        {IdYes, IdNo, IdNo, IdNo},          {IdRetry, IdCancel, IdCancel, IdCancel},
    };
    unsigned buttons = flags & ButtonMask;
    unsigned def = (flags & DefButtonMask) >> 8;
    if (buttons == BtnYesNoCancelAll) {
        static const int all[] = {IdYes, IdNo, IdCancel, IdAll};
        return all[def & 3];
    }
    if (buttons > BtnRetryCancel)
        return IdOk;
    return answers[buttons][def & 3];
}

namespace {
// Native builds have no windows: every box takes its default answer.
class DefaultPrompter final : public Prompter {
  public:
    int Ask(const std::string&, const std::string&, unsigned flags) override { return DefaultAnswer(flags); }
};

Prompter* installed = nullptr;
} // namespace

// The Windows build supplies the real one in prompter_win32.cpp.
Prompter& SystemPrompter();

#ifndef _WIN32
Prompter& SystemPrompter() {
    static DefaultPrompter prompter;
    return prompter;
}
#endif

void SetPrompter(Prompter* prompter) { installed = prompter; }

Prompter& CurrentPrompter() { return installed ? *installed : SystemPrompter(); }

} // namespace ui
