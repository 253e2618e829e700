// The input controls on real windows: typed characters (real WM_CHAR) through TStrEdit's filter, the
// numbering of TModeBox, and the transfers in both directions (the yes/no radio pair is the path
// dialogs' test's).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "lib/inputs_win32.h"

namespace {

class TDialInputs : public ui::Form {
  public:
    TStrEdit StrEdit1;
    TModeBox ModeBoxO0{"dummy", "one", "all", "block"};
    TModeBox ModeBoxShort{"a", "b", "", "c"};
    ui::RadioGroup RadioGroupC{{"ASCII to binary", "binary to ASCII", "binary to columns"}};
    ui::CheckBox CheckBoxO;
    ui::RadioButton RadioD0, RadioD1, RadioD2;
    TDialInputs() {
        Create({.caption = "Inputs", .clientWidth = 420, .clientHeight = 220});
        // clang-format off
        Build({
            {.control = &StrEdit1, .left = 8, .top = 8, .width = 200, .height = 21},
            {.control = &ModeBoxO0, .left = 8, .top = 40, .width = 120, .height = 21},
            {.control = &ModeBoxShort, .left = 140, .top = 40, .width = 120, .height = 21,
             .options = ui::opt::Editable},
            {.control = &RadioGroupC, .left = 8, .top = 72, .width = 200, .height = 90, .caption = "Mode"},
            {.control = &CheckBoxO, .left = 220, .top = 72, .width = 150, .height = 17, .caption = "Lines"},
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
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "a*b", "a*b"}, {1, "abc", "ABC"}, {10, "C:\\x*y?", "C:\\xy"}, {12, "d:\\a.b@c", "d\\abc"}};
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
    const std::tuple<int, int, int> rules[] = {
        {LengthCapacity, 175, 175}, {LengthFull, 2, 3}, {12, 79, 12}, {LengthKeep, 239, 12}};
    for (auto [rule, n, maxLength] : rules) {
        char buf[240] = "text";
        EditTransfer(dialog.StrEdit1, true, buf, -1, rule, n);
        EXPECT_EQ(dialog.StrEdit1.MaxLength(), maxLength) << "rule " << rule;
    }
    char path[176] = "C:\\DATA\\";
    EditTransfer(dialog.StrEdit1, true, path, InputDirPath, LengthCapacity, 175);
    EXPECT_EQ(dialog.StrEdit1.Text(), "C:\\DATA\\");
    EXPECT_EQ(dialog.StrEdit1.InputKind, InputDirPath);
    std::memset(path, 'x', sizeof path);
    EditTransfer(dialog.StrEdit1, false, path, -1, LengthCapacity, 175);
    EXPECT_STREQ(path, "C:\\DATA");

    // Read back into a small buffer: cut at its capacity, nothing written past it.
    char small[6] = {'#', '#', '#', '#', '#', '#'};
    dialog.StrEdit1.InputKind = InputText;
    dialog.StrEdit1.SetText("abcdefgh");
    EditTransfer(dialog.StrEdit1, false, small, -1, LengthKeep, 3);
    EXPECT_EQ(std::string(small, 4), "abcd");
    EXPECT_EQ(small[4], '#');
}

TEST(ModeBoxNumber, RangeMaskAndDesignedItems) {
    TDialInputs dialog;
    int number = 0;
    dialog.ModeBoxO0.SetNumber(2); // before the designed items are taken: nothing happens
    EXPECT_EQ(dialog.ModeBoxO0.Count(), 4);
    EXPECT_EQ(dialog.ModeBoxO0.ItemIndex(), -1);

    ModeBoxTransfer(dialog.ModeBoxO0, true, number, 0, 3, 1);
    EXPECT_EQ(dialog.ModeBoxO0.Count(), 3);
    EXPECT_EQ(dialog.ModeBoxO0.Item(dialog.ModeBoxO0.ItemIndex()), "one");
    ModeBoxTransfer(dialog.ModeBoxO0, false, number, 0, 3, 1);
    EXPECT_EQ(number, 1);

    number = 1;
    ModeBoxTransfer(dialog.ModeBoxO0, true, number, 1u << 2, 3, 0);
    EXPECT_EQ(dialog.ModeBoxO0.Count(), 3);
    dialog.ModeBoxO0.SetItemIndex(2);
    ModeBoxTransfer(dialog.ModeBoxO0, false, number, 0, 0, 0);
    EXPECT_EQ(number, 3);
    EXPECT_EQ(dialog.ModeBoxO0.Item(2), "block");

    number = 0;
    ModeBoxTransfer(dialog.ModeBoxShort, true, number, 0, 29, 0);
    EXPECT_EQ(dialog.ModeBoxShort.ItemCount(), 2); // taken up to the first empty item
    EXPECT_EQ(dialog.ModeBoxShort.Count(), 2);
    // Made with free text, numbered into a list: its items only, in the same place and tab order.
    EXPECT_FALSE(dialog.ModeBoxShort.Editable());
    EXPECT_EQ(dialog.ModeBoxShort.Text(), "a");
    EXPECT_EQ(dialog.ModeBoxShort.Left(), 140);
    EXPECT_EQ(GetNextDlgTabItem(dialog.Handle(), dialog.ModeBoxO0.Handle(), FALSE),
              dialog.ModeBoxShort.Handle());
}

TEST(Transfers, RadioGroupAndCheckBoxBothWays) {
    TDialInputs dialog;
    int mode = 3;
    RadioGroupTransfer(true, 1, mode, dialog.RadioGroupC);
    EXPECT_EQ(dialog.RadioGroupC.ItemIndex(), 2);
    SendMessageA(dialog.RadioGroupC.Button(0).Handle(), BM_CLICK, 0, 0);
    RadioGroupTransfer(false, 1, mode, dialog.RadioGroupC);
    EXPECT_EQ(mode, 1);
    EXPECT_FALSE(dialog.RadioGroupC.Button(2).Checked());

    // value, box enabled, only when enabled, checked after
    const std::tuple<bool, bool, bool, bool> cases[] = {{true, true, true, true},
                                                        {true, false, true, false},
                                                        {true, false, false, true},
                                                        {false, true, false, false}};
    for (auto [value, enabled, onlyWhenEnabled, checked] : cases) {
        dialog.CheckBoxO.SetEnabled(enabled);
        CheckBoxTransfer(true, onlyWhenEnabled, value, dialog.CheckBoxO);
        EXPECT_EQ(dialog.CheckBoxO.Checked(), checked);
    }
    dialog.CheckBoxO.SetEnabled(true);
    SendMessageA(dialog.CheckBoxO.Handle(), BM_CLICK, 0, 0); // the user's click: unchecked -> checked
    bool numbered = false;
    CheckBoxTransfer(false, true, numbered, dialog.CheckBoxO);
    EXPECT_TRUE(numbered);
}

TEST(Transfers, RadioButtonsPreferUsableButtons) {
    TDialInputs dialog;
    ui::RadioButton* buttons[] = {&dialog.RadioD0, &dialog.RadioD1, &dialog.RadioD2};
    // wanted button, hidden and disabled buttons (a bit each), checked before (-1 none), chosen
    const std::tuple<int, unsigned, unsigned, int, int> cases[] = {
        {1, 0, 0, 2, 1},  {1, 0, 2, 2, 2},  {1, 2, 0, -1, 0}, {1, 0, 7, 2, 2},
        {1, 0, 7, -1, 1}, {7, 0, 7, -1, 0}, {2, 1, 1, 0, 2}};
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
