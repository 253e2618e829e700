// The standard controls: one small class per kind, a window handle plus forwarding calls. Events are
// std::function members that the form connects to its handlers (BtnOk.OnClick = [this] { BtnOkClick(); }).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/glyphs.h"

namespace ui {

class Button : public Control {
  public:
    std::function<void()> OnClick;
    int ModalResult = MrNone; // set on the form when clicked (a layout row's modalResult sets it too)

    void Click() override; // OnClick, then the modal result
    bool IsDefault() const override;
    bool IsCancel() const override { return cancel_; }
    void SetDefault(bool value);
    void SetCancel(bool value) { cancel_ = value; }
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
    bool cancel_ = false;
};

// The standard kinds of glyph button: their caption, glyph, modal result and key role.
enum class ButtonKind { Custom, Ok, Cancel, Close, Abort, Help };

// A push button with a small picture right of its caption.
class GlyphButton : public Button {
  public:
    explicit GlyphButton(Glyph glyph = Glyph::None) : glyph_(glyph) {}
    explicit GlyphButton(ButtonKind kind);
    ~GlyphButton() override;
    void SetGlyph(Glyph glyph);
    Glyph GetGlyph() const { return glyph_; }

  protected:
    void Created(const Row& row) override;

  private:
    Glyph glyph_;
    ButtonKind kind_ = ButtonKind::Custom;
    HIMAGELIST images_ = nullptr;
};

// Static text. Width and height 0 in the layout row size it to its caption (single line); the options
// WordWrap, Center, Right and Bold and the row's font height apply.
class Label : public Control {
  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
};

// A single-line edit. OnKeyPress sees each typed character first and may change it or set it to 0
// (dropped); text set by the program is not filtered.
class Edit : public Control {
  public:
    std::function<void()> OnChange;
    std::function<void(char&)> OnKeyPress;
    std::function<void(int)> OnKeyDown; // virtual-key code, after the edit handled the key
    std::function<void(int)> OnKeyUp;
    std::function<void()> OnClick;

    int MaxLength() const;         // 0: no limit
    void SetMaxLength(int length); // 0: no limit
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    void SelectAll();
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
    virtual void KeyPress(char& key);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

// A multi-line edit holding lines. Each added line ends with CR LF, so the text of n lines is the
// lines each followed by CR LF, and LineCount does not count the empty text after the last one.
class Memo : public Edit {
  public:
    void AddLine(const std::string& line);
    void Clear();
    int LineCount() const;
    std::vector<std::string> Lines() const; // every line whole, however long
    int CaretLine() const;                  // from 0
    HBRUSH ControlColor(HDC dc) override;   // read-only memos stay white like documents

  protected:
    WindowKind Kind(const Row& row) const override;
};

class ListBox : public Control {
  public:
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnEnter; // Return on the list; set, the list takes Return from the dialog keys

    void AddItem(const std::string& text);
    void Clear();
    int Count() const;
    std::string Item(int index) const;
    int ItemIndex() const; // the selected (single) or focused (multi-select) row, -1 for none
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    bool MultiSelect() const;
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

// A combo box: a drop-down list, or editable (opt::Editable). The row's height is the closed height.
class ComboBox : public Control {
  public:
    std::function<void()> OnChange;

    void AddItem(const std::string& text);
    void Clear();
    int Count() const;
    std::string Item(int index) const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetDropDownCount(int rows);
    bool Editable() const;
    void SetEditable(bool editable); // makes the window again with the other kind
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
};

class CheckBox : public Control {
  public:
    std::function<void()> OnClick;
    bool Checked() const;
    void SetChecked(bool checked);
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
};

// Radio buttons next to each other in the layout table form one group: checking one unchecks the rest.
class RadioButton : public Control {
  public:
    std::function<void()> OnClick;
    bool Checked() const;
    void SetChecked(bool checked);
    bool IsRadio() const override { return true; }
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
};

// A frame with a caption that holds other controls (rows naming it as parent).
class GroupBox : public Control {
  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

// A group box of radio buttons made from its items, spread over its height.
class RadioGroup : public GroupBox {
  public:
    RadioGroup() = default;
    explicit RadioGroup(std::vector<std::string> items) : items_(std::move(items)) {}
    std::function<void()> OnClick;

    int ItemIndex() const; // -1: none checked
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    RadioButton& Button(int index) { return *buttons_[static_cast<size_t>(index)]; }
    void SetEnabled(bool enabled) override;

  protected:
    void Created(const Row& row) override;

  private:
    std::vector<std::string> items_;
    std::vector<std::unique_ptr<RadioButton>> buttons_;
};

// A container with a bevel and a caption (options: Lowered, NoBevel, Center, Right, Bold). Aligned
// children are laid out inside it.
class Panel : public Control {
  public:
    void SetCaption(const std::string& text);

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    unsigned options_ = 0;
    HFONT panelFont_ = nullptr;
};

// An etched frame. Its form sends it to the back once the controls it surrounds exist.
class Bevel : public Control {
  protected:
    WindowKind Kind(const Row& row) const override;
};

// An edit with up and down arrows for a whole number in a range.
class SpinEdit : public Edit {
  public:
    SpinEdit(int minValue = 0, int maxValue = 100) : min_(minValue), max_(maxValue) {}
    int Value() const; // the text read as a number, held inside the range
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetBounds(int left, int top, int width, int height) override;

  protected:
    void Created(const Row& row) override;

  private:
    int min_;
    int max_;
    HWND updown_ = nullptr;
};

class ProgressBar : public Control {
  public:
    void SetRange(int minValue, int maxValue);
    int Position() const;
    void SetPosition(int position);

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
};

// A status bar with one simple panel, aligned to the bottom of its container.
class StatusBar : public Control {
  public:
    std::string SimpleText() const;
    void SetSimpleText(const std::string& text);

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
};

// A timer on a message-only window of its own, so it needs no form.
class Timer {
  public:
    explicit Timer(int interval = 1000) : interval_(interval) {}
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    std::function<void()> OnTimer;
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Restart();
    HWND hwnd_ = nullptr;
    int interval_;
    bool enabled_ = false;
};

// The system's file-open dialog.
class FileOpenDialog {
  public:
    std::string FileName;
    std::string Filter; // pairs "Text files (*.TXT)|*.TXT|All files (*.*)|*.*"
    std::string InitialDir;
    std::string Title;
    bool PathMustExist = false;
    bool FileMustExist = false;
    // Shows the dialog owned by the active window; true and FileName set when the user chose a file.
    bool Execute();
    // The filter as the system wants it: each part ended by NUL, the whole ended by a second NUL.
    static std::string SystemFilter(const std::string& filter);
};

} // namespace ui
