// Input controls: the filtered edit TStrEdit, the numbered drop-down TModeBox, and the
// transfers that move a value between a setting and a control in either direction. A dialog calls
// each transfer with toControl true when it opens and false when it closes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "lib/inputs.h"
#include "ui/controls.h"

// A single-line edit whose input kind filters typed characters and cleans the text read back.
class TStrEdit : public ui::Edit {
  public:
    int InputKind = InputText;

  protected:
    void KeyPress(char& key) override;
};

// A drop-down list of designed items numbered by their design position, of which a range and an
// exclusion mask hide some. Number is the selected item's number, not its row.
class TModeBox : public ui::ComboBox {
  public:
    static constexpr int MaxItems = 30;
    static constexpr int MaxText = 63;

    TModeBox() = default;
    explicit TModeBox(std::initializer_list<const char*> designed) : designed_(designed) {}

    // Takes the designed items into the stored texts (up to the first empty one), once.
    void TakeItems();
    int ItemCount() const { return count_; } // negative until taken
    void SetRange(int first, int last, uint32_t mask);
    int Number() const;
    void SetNumber(int number);

  protected:
    void Created(const ui::Row& row) override;

  private:
    ModeRange Range() const { return {count_, first_, last_, mask_}; }
    std::vector<const char*> designed_;
    char texts_[MaxItems][MaxText + 1] = {};
    int count_ = -1;
    int first_ = 0;
    int last_ = MaxItems - 1;
    uint32_t mask_ = 0;
};

// Length rules of EditTransfer: MaxLength := n (-1), n + 1 (0), the rule itself (positive), unchanged (-2).
constexpr int LengthCapacity = -1;
constexpr int LengthFull = 0;
constexpr int LengthKeep = -2;

// Text buffer of capacity n <-> edit; kind -1 keeps the edit's input kind.
void EditTransfer(TStrEdit& edit, bool toControl, char* buf, int kind, int lengthRule, int n);
void ModeBoxTransfer(TModeBox& box, bool toControl, int& number, uint32_t mask, int last, int first);
void RadioGroupTransfer(bool toControl, int base, int& value, ui::RadioGroup& group);
void CheckBoxTransfer(bool toControl, bool onlyWhenEnabled, bool& value, ui::CheckBox& box);
void RadioButtonsTransfer(bool toControl, int base, int& value, int count, ui::RadioButton* const* buttons);
void RadioButtonsTransfer(bool toControl, int base, int& value, std::initializer_list<ui::RadioButton*> buttons);
// value false checks the first button, true the second.
void RadioBoolTransfer(bool toControl, bool& value, ui::RadioButton& falseButton, ui::RadioButton& trueButton);
