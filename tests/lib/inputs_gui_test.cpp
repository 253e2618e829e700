// The input controls on real windows: typed characters (real WM_CHAR) through TStrEdit's filter, the
// numbering of TModeBox, and the transfers in both directions.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "lib/inputs_win32.h"

namespace {

class TDialInputs : public ui::Form {
  public:
    TStrEdit StrEdit1;
    TModeBox ModeBoxO0{"dummy", "one", "all", "block"};
    ui::RadioButton RadioD0, RadioD1, RadioD2;
    TDialInputs() {
        Create({.caption = "Inputs", .clientWidth = 420, .clientHeight = 220});
        // clang-format off
        Build({
            {.control = &StrEdit1, .left = 8, .top = 8, .width = 200, .height = 21},
            {.control = &ModeBoxO0, .left = 8, .top = 40, .width = 120, .height = 21},
            {.control = &RadioD0, .left = 220, .top = 100, .width = 150, .height = 17, .caption = "data"},
            {.control = &RadioD1, .left = 220, .top = 120, .width = 150, .height = 17, .caption = "TXT"},
            {.control = &RadioD2, .left = 220, .top = 140, .width = 150, .height = 17, .caption = "input"},
        });
        // clang-format on
    }
};

TEST(StrEditTyping, KindsFilterTypedCharactersOnly) {
    TDialInputs dialog;
    dialog.Show();
    const std::tuple<int, const char*, const char*> cases[] = {{InputText, "a*b", "a*b"},
                                                               {InputPath, "C:\\x*y?", "C:\\xy"}};
    for (auto [kind, keys, text] : cases) {
        dialog.StrEdit1.InputKind = kind;
        dialog.StrEdit1.SetText("");
        for (char c : std::string(keys))
            SendMessageA(dialog.StrEdit1.Handle(), WM_CHAR, static_cast<BYTE>(c), 1);
        EXPECT_EQ(dialog.StrEdit1.Text(), text) << "kind " << kind;
    }
    dialog.StrEdit1.SetText("set*by?program"); // only typing is filtered
    EXPECT_EQ(dialog.StrEdit1.Text(), "set*by?program");
}

TEST(StrEditTransfer, LengthRulesKindsAndReadBack) {
    TDialInputs dialog;
    // length rule, capacity, the edit's maximum length after it
    const std::tuple<int, int, int> rules[] = {{LengthCapacity, 175, 175}, {LengthFull, 2, 3}};
    for (auto [rule, n, maxLength] : rules) {
        char buf[240] = "text";
        EditTransfer(dialog.StrEdit1, true, buf, -1, rule, n);
        EXPECT_EQ(dialog.StrEdit1.MaxLength(), maxLength) << "rule " << rule;
    }
    char path[176] = "C:\\DATA"; // a path transfer makes the edit filter as a path
    EditTransfer(dialog.StrEdit1, true, path, InputPath, LengthCapacity, 175);
    EXPECT_EQ(dialog.StrEdit1.InputKind, InputPath);

    // Read back into a small buffer: cut at its capacity, nothing written past it.
    char small[6] = {'#', '#', '#', '#', '#', '#'};
    dialog.StrEdit1.InputKind = InputText;
    dialog.StrEdit1.SetText("abcdefgh");
    EditTransfer(dialog.StrEdit1, false, small, -1, LengthCapacity, 3);
    EXPECT_EQ(std::string(small, 4), "abcd");
    EXPECT_EQ(small[4], '#');
}

TEST(ModeBoxNumber, RangeAndDesignedItems) {
    TDialInputs dialog;
    int number = 0; // below the range: the first item
    ModeBoxTransfer(dialog.ModeBoxO0, true, number, 0, 3, 1);
    EXPECT_EQ(dialog.ModeBoxO0.Count(), 3);
    EXPECT_EQ(dialog.ModeBoxO0.Item(dialog.ModeBoxO0.ItemIndex()), "one");
    dialog.ModeBoxO0.SetItemIndex(2);
    ModeBoxTransfer(dialog.ModeBoxO0, false, number, 0, 3, 1);
    EXPECT_EQ(number, 3);
}

TEST(Transfers, RadioButtonsPreferUsableButtons) {
    TDialInputs dialog;
    ui::RadioButton* buttons[] = {&dialog.RadioD0, &dialog.RadioD1, &dialog.RadioD2};
    // wanted button, hidden and disabled buttons (a bit each), checked before (-1 none), chosen
    const std::tuple<int, unsigned, unsigned, int, int> cases[] = {
        {1, 0, 0, 2, 1}, {1, 0, 2, 2, 2}, {1, 2, 0, -1, 0}, {1, 0, 7, -1, 1}};
    for (auto [wanted, hidden, disabled, checkedBefore, chosen] : cases) {
        for (int i = 0; i < 3; ++i) {
            buttons[i]->SetVisible(!(hidden & (1u << i)));
            buttons[i]->SetEnabled(!(disabled & (1u << i)));
            buttons[i]->SetChecked(i == checkedBefore);
        }
        int value = wanted + 10;
        RadioButtonsTransfer(true, 10, value, 3, buttons);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(buttons[i]->Checked(), i == chosen) << "wanted " << wanted << " button " << i;
        value = -5;
        RadioButtonsTransfer(false, 10, value, 3, buttons);
        EXPECT_EQ(value, 10 + chosen);
    }
}

} // namespace
