// A prompter for tests: records every box (caption, text, buttons, icon, default button) and answers
// from a queue; a box nobody expected fails the test and gets its default answer.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/prompter.h"

namespace testsupport {

struct Box {
    std::string Caption;
    std::string Text;
    unsigned Flags;
    unsigned Buttons() const { return Flags & ui::ButtonMask; }
    unsigned Icon() const { return Flags & ui::IconMask; }
    unsigned DefaultButton() const { return Flags & ui::DefButtonMask; }
};

class ScriptedPrompter final : public ui::Prompter {
  public:
    ScriptedPrompter() { ui::SetPrompter(this); } // installs itself
    ~ScriptedPrompter();                          // restores the default prompter
    ScriptedPrompter& Answer(int id);             // queue one answer
    int Ask(const std::string& caption, const std::string& text, unsigned flags) override;

    std::vector<Box> Boxes;
    std::deque<int> Answers;
};

} // namespace testsupport
