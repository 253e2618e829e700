// Input controls and transfers over the toolkit's edit, combo box and buttons.
#include "lib/inputs_win32.h"

#include <algorithm>
#include <cstring>

void TStrEdit::KeyPress(char& key) {
    key = FilterInputChar(InputKind, key);
    if (key)
        ui::Edit::KeyPress(key);
}

void TModeBox::Created(const ui::Row& row) {
    ui::ComboBox::Created(row);
    for (const char* item : designed_) // the items as designed, until the box is first numbered
        AddItem(item);
}

void TModeBox::TakeItems() {
    if (count_ >= 0)
        return;
    count_ = 0;
    int items = std::min(Count(), MaxItems);
    for (int i = 0; i < items; ++i) {
        std::string text = Item(i);
        if (text.empty())
            break;
        std::strncpy(texts_[count_], text.c_str(), MaxText);
        texts_[count_][MaxText] = 0;
        ++count_;
    }
}

void TModeBox::SetRange(int first, int last, uint32_t mask) {
    first_ = first;
    last_ = last;
    mask_ = mask;
}

int TModeBox::Number() const { return ModeNumberOf(Range(), ItemIndex()); }

void TModeBox::SetNumber(int number) {
    if (count_ < 0)
        return;
    SetEditable(false); // a mode box offers its items only, never free text
    Clear();
    for (int k = 0; k < count_; ++k)
        if (ModeVisible(Range(), k))
            AddItem(texts_[k]);
    SetItemIndex(ModeRowOf(Range(), number));
    SetDropDownCount(std::min(8, std::max(1, ModeVisibleCount(Range()))));
}

void EditTransfer(TStrEdit& edit, bool toControl, char* buf, int kind, int lengthRule, int n) {
    if (!buf || n < 0)
        return;
    if (kind >= 0)
        edit.InputKind = kind;
    if (toControl) {
        if (lengthRule == LengthCapacity)
            edit.SetMaxLength(n);
        else if (lengthRule == LengthFull)
            edit.SetMaxLength(n + 1);
        else if (lengthRule > 0)
            edit.SetMaxLength(lengthRule);
        int len = 0;
        while (len <= n && buf[len])
            ++len;
        edit.SetText(std::string(buf, static_cast<size_t>(len)));
        return;
    }
    std::string text = edit.Text();
    size_t len = std::min(text.size(), static_cast<size_t>(n) + 1);
    std::memcpy(buf, text.data(), len);
    if (len <= static_cast<size_t>(n))
        buf[len] = 0;
    ProcessReadBack(edit.InputKind, buf, n);
}

void ModeBoxTransfer(TModeBox& box, bool toControl, int& number, uint32_t mask, int last, int first) {
    if (!toControl) {
        number = box.Number();
        return;
    }
    box.SetRange(first, last, mask);
    box.TakeItems();
    box.SetNumber(number);
}

void RadioGroupTransfer(bool toControl, int base, int& value, ui::RadioGroup& group) {
    if (toControl)
        group.SetItemIndex(value - base);
    else
        value = group.ItemIndex() + base;
}

void CheckBoxTransfer(bool toControl, bool onlyWhenEnabled, bool& value, ui::CheckBox& box) {
    if (!toControl) {
        value = box.Checked();
        return;
    }
    box.SetChecked(value && !(onlyWhenEnabled && !box.Enabled()));
}

namespace {
// The button to check for the wanted index, in the order of preference.
int ChooseRadio(int wanted, int count, ui::RadioButton* const* buttons) {
    auto usable = [&](int i) { return buttons[i]->Visible() && buttons[i]->Enabled(); };
    if (wanted >= 0 && wanted < count && usable(wanted))
        return wanted;
    for (int i = 0; i < count; ++i)
        if (usable(i) && buttons[i]->Checked())
            return i;
    for (int i = 0; i < count; ++i)
        if (usable(i))
            return i;
    for (int i = 0; i < count; ++i)
        if (buttons[i]->Checked())
            return i;
    return wanted >= 0 && wanted < count ? wanted : 0;
}
} // namespace

void RadioButtonsTransfer(bool toControl, int base, int& value, int count, ui::RadioButton* const* buttons) {
    if (!buttons || count <= 0)
        return;
    if (toControl) {
        int chosen = ChooseRadio(value - base, count, buttons);
        for (int i = 0; i < count; ++i)
            buttons[i]->SetChecked(i == chosen);
        return;
    }
    for (int i = 0; i < count; ++i)
        if (buttons[i]->Checked()) {
            value = base + i;
            return;
        }
}

void RadioButtonsTransfer(bool toControl, int base, int& value, std::initializer_list<ui::RadioButton*> buttons) {
    RadioButtonsTransfer(toControl, base, value, static_cast<int>(buttons.size()), buttons.begin());
}

void RadioBoolTransfer(bool toControl, bool& value, ui::RadioButton& falseButton, ui::RadioButton& trueButton) {
    int index = value ? 1 : 0;
    ui::RadioButton* const pair[] = {&falseButton, &trueButton};
    RadioButtonsTransfer(toControl, 0, index, 2, pair);
    value = index == 1;
}
