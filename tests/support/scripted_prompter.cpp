#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace testsupport {

ScriptedPrompter::~ScriptedPrompter() {
    ui::SetPrompter(nullptr);
    EXPECT_TRUE(Answers.empty()) << Answers.size() << " scripted answer(s) left unused";
}

ScriptedPrompter& ScriptedPrompter::Answer(int id) {
    Answers.push_back(id);
    return *this;
}

int ScriptedPrompter::Ask(const std::string& caption, const std::string& text, unsigned flags) {
    Boxes.push_back({caption, text, flags});
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected box \"" << caption << "\": " << text;
        return ui::DefaultAnswer(flags);
    }
    int id = Answers.front();
    Answers.pop_front();
    return id;
}

} // namespace testsupport
