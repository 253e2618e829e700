// The window toolkit's core: forms (top-level windows), the base of every control, layout tables,
// modal showing with its test hook, and the message loop helpers.
//
// A form is a class derived from ui::Form whose controls are members; its constructor creates the
// window, builds the controls from one layout table in creation order and connects the events to
// member functions named control + event:
//
//     class TDialHello : public ui::Form {
//       public:
//         ui::Label Label1;
//         ui::Edit Edit1;
//         ui::Button OKBtn, CancelBtn;
//         TDialHello() {
//             Create({.caption = "Hello", .clientWidth = 260, .clientHeight = 90,
//                     .border = ui::Border::Dialog, .position = ui::Position::ScreenCenter});
//             Build({
//                 {.control = &Label1, .left = 8, .top = 12, .caption = "Name:"},
//                 {.control = &Edit1, .left = 56, .top = 8, .width = 190, .height = 21},
//                 {.control = &OKBtn, .left = 90, .top = 52, .width = 75, .height = 25, .caption = "OK",
//                  .options = ui::opt::Default, .modalResult = ui::MrOk},
//                 {.control = &CancelBtn, .left = 172, .top = 52, .width = 75, .height = 25,
//                  .caption = "Cancel", .options = ui::opt::Cancel, .modalResult = ui::MrCancel},
//             });
//             OKBtn.OnClick = [this] { OKBtnClick(); };
//         }
//         void OKBtnClick() { /* read the controls back */ }
//     };
//
//     TDialHello dialog;
//     if (dialog.ShowModal() == ui::MrOk) ...
//
// Rules of the toolkit: a control object is a window handle plus one-line forwarding calls; the
// object of a window is found through the window (GWLP_USERDATA, set at WM_NCCREATE for our own
// classes); a container routes WM_COMMAND / WM_NOTIFY / WM_CTLCOLOR* of its children back to the
// children's objects; nothing throws across a window procedure.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "ui/prompter.h"

namespace ui {

class Form;
class Control;

enum class Align { None, Top, Bottom, Left, Right, Client };
enum class Border { Single, Dialog, Sizeable, None };
enum class Position { Designed, ScreenCenter };
enum class WindowState { Normal, Minimized, Maximized };
enum class CloseAction { None, Hide, Free };

// Modal results: the answers of a message box, so a toolkit window can stand in for one.
constexpr int MrNone = 0;
constexpr int MrOk = IdOk;
constexpr int MrCancel = IdCancel;
constexpr int MrAbort = IdAbort;
constexpr int MrRetry = IdRetry;
constexpr int MrIgnore = IdIgnore;
constexpr int MrYes = IdYes;
constexpr int MrNo = IdNo;
constexpr int MrAll = IdAll;

// Options of a layout row. Each control kind reads those it understands and ignores the rest.
namespace opt {
constexpr unsigned Hidden = 1u << 0;
constexpr unsigned Disabled = 1u << 1;
constexpr unsigned Default = 1u << 2;     // button pressed by Enter
constexpr unsigned Cancel = 1u << 3;      // button pressed by Esc
constexpr unsigned ReadOnly = 1u << 4;    // edit, memo, tree view
constexpr unsigned VScroll = 1u << 5;     // memo, list box
constexpr unsigned HScroll = 1u << 6;     // memo
constexpr unsigned WordWrap = 1u << 7;    // label
constexpr unsigned Bold = 1u << 8;        // font of any control
constexpr unsigned Center = 1u << 9;      // text alignment: label, panel caption
constexpr unsigned Right = 1u << 10;      // text alignment: label, panel caption
constexpr unsigned MultiSelect = 1u << 11; // list box
constexpr unsigned Editable = 1u << 12;   // combo box with free text (otherwise a drop-down list)
constexpr unsigned Flat = 1u << 13;       // tool bar
constexpr unsigned Lowered = 1u << 14;    // panel bevel (raised is the default)
constexpr unsigned NoBevel = 1u << 15;    // panel without bevel
constexpr unsigned NoTabStop = 1u << 16;
constexpr unsigned HintHidden = 1u << 17; // the control carries its hint, but it never pops up
} // namespace opt

// One row of a form's layout table: the control, its container, its place and caption, and the
// common properties. Width and height 0 on a label size it to its caption.
struct Row {
    Control* control = nullptr;
    Control* parent = nullptr; // a panel or group box; nullptr: the form
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const char* caption = nullptr;
    unsigned options = 0;
    int tag = 0;
    const char* hint = nullptr;
    int fontHeight = 0; // 0: the form's font
    Align align = Align::None;
    int modalResult = MrNone; // buttons: the form's modal result on a click
    const char* fontFace = nullptr; // nullptr: the form's face
};

// Base of every control: the window handle and one-line forwarding properties.
class Control {
  public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND Handle() const { return hwnd_; }
    Form* OwnerForm() const { return form_; }
    int Id() const { return id_; }
    int Tag = 0;

    std::string Caption() const;
    void SetCaption(const std::string& text);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool Visible() const;
    virtual void SetVisible(bool visible);
    bool Enabled() const;
    virtual void SetEnabled(bool enabled);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    virtual void SetBounds(int left, int top, int width, int height);
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    Align GetAlign() const { return align_; }
    void SetAlign(Align align);
    std::string Hint() const;
    void SetHint(const std::string& hint, bool shown = true);
    void SetFocus();
    bool Focused() const { return hwnd_ && GetFocus() == hwnd_; }
    void BringToFront(); // on top of its siblings (a later control covering earlier ones)
    void SendToBack();   // below its siblings (a frame drawn around them)
    // A font of the control's own: height in pixels as the form's (negative: character height).
    void SetFont(int height, bool bold = false, const char* face = nullptr);
    HFONT Font() const;

    // Creates the window from a layout row; Form::Build calls it in table order.
    void Create(Form& form, HWND parent, const Row& row);

    // The container forwards the control's own notifications here.
    virtual void Command(int code, int id);
    virtual LRESULT Notify(NMHDR* header);
    virtual HBRUSH ControlColor(HDC dc); // nullptr: the container's default colouring
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    virtual bool IsRadio() const { return false; }
    // Buttons answer these: the form's Enter and Esc keys click them.
    virtual bool IsDefault() const { return false; }
    virtual bool IsCancel() const { return false; }
    virtual void Click() {}

    static Control* FromHandle(HWND hwnd);

  protected:
    struct WindowKind {
        const char* className;
        DWORD style;
        DWORD exStyle;
    };
    virtual WindowKind Kind(const Row& row) const = 0;
    virtual void Created(const Row& row); // kind-specific settings once the window exists
    void AutoSize();                      // labels: fit the window to the caption
    bool autoSize_ = false;

    HWND hwnd_ = nullptr;
    Form* form_ = nullptr;
    int id_ = 0;
    HFONT font_ = nullptr;
    Align align_ = Align::None;
};

// Routes a container's messages from its child controls to their objects (WM_COMMAND, WM_NOTIFY,
// WM_CTLCOLOR*, WM_DRAWITEM). Returns true with the result when a control took the message.
bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// How a form looks; Create takes it.
struct FormSpec {
    const char* caption = "";
    int clientWidth = 300;
    int clientHeight = 200;
    Border border = Border::Single;
    bool systemMenu = true; // border icons
    bool minimize = true;
    bool maximize = true;
    Position position = Position::Designed;
    int left = 100;
    int top = 100;
    int fontHeight = -13;
    const char* fontFace = "MS Sans Serif";
    bool showHint = true;
};

class Form {
  public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    void Create(const FormSpec& spec);
    void Build(std::initializer_list<Row> rows);
    void Add(const Row& row); // one more control after Build (for controls made at run time)

    HWND Handle() const { return hwnd_; }
    int Tag = 0;         // the window kind
    bool Scaled = true;  // automatic font scaling; the toolkit lays out in pixels either way
    std::function<void()> OnActivate;
    std::function<void(CloseAction&)> OnClose;

    std::string Caption() const;
    void SetCaption(const std::string& text);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetBounds(int left, int top, int width, int height);
    void SetClientSize(int width, int height);
    WindowState GetWindowState() const;
    void SetWindowState(WindowState state); // a hidden form takes it when shown
    void SetBorderIcons(bool systemMenu, bool minimize, bool maximize);
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void SetIcon(HICON icon); // not owned

    void Show();  // modeless
    void Hide();
    void Close(); // modal: ends with Cancel; modeless: OnClose decides (hide by default)
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    void Release(); // destroyed (and deleted) once the message queue reaches it; heap forms only
    void SetActiveControl(Control& control); // focus when shown

    HFONT Font() const { return font_; }
    const char* FontFace() const { return fontFace_.c_str(); }
    int FontHeight() const { return fontHeight_; }
    HWND Tooltip();
    bool ShowHint() const { return showHint_; }
    const std::vector<Control*>& Controls() const { return controls_; }
    void Realign(HWND container = nullptr); // lays out aligned controls of a container (the form: nullptr)
    int NextId() { return nextId_++; }

    static Form* FromHandle(HWND hwnd);
    static LRESULT CALLBACK Proc_(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    Control* DialogButton(bool cancel) const;
    bool EndModalAllowed();
    void ApplyPosition();

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::string fontFace_;
    HWND tooltip_ = nullptr;
    HWND focusChild_ = nullptr;
    int fontHeight_ = -13;
    Position position_ = Position::Designed;
    WindowState pendingState_ = WindowState::Normal;
    Control* activeControl_ = nullptr;
    std::vector<Control*> controls_;
    int nextId_ = 1000; // clear of IDOK and IDCANCEL, which the dialog keys send without a control
    int modalResult_ = MrNone;
    bool modal_ = false;
    bool releasing_ = false;
    bool releaseAfterModal_ = false;
    bool showHint_ = true;
    bool positioned_ = false;
};

// Called by Form::ShowModal once the window is shown and before its loop; a test's hook acts on the
// real window (types into edits, clicks buttons, sets the modal result). nullptr: no hook.
using ModalHook = std::function<void(Form&)>;
void SetModalHook(ModalHook hook);

// Registers the window classes and the common controls; Form::Create calls it.
void InitToolkit();
// Registers one of the toolkit's own window classes once (button-face background, arrow cursor).
void RegisterWindowClass(const char* name, WNDPROC proc, UINT style = 0);
// Creates a font of the given pixel height (negative: character height), weight and face.
HFONT MakeFont(int height, bool bold, const char* face);
// Runs the pending messages of this thread, with the dialog keys of our forms.
void ProcessMessages();
// The program's message loop; returns the exit code of WM_QUIT.
int RunMessageLoop();
// Dialog keys (Tab, Enter, Esc, mnemonics) for a message bound to one of our forms.
bool TranslateDialogKey(MSG& msg);
// The main form: closing it ends the message loop, and it owns the other forms and every box.
void SetMainForm(Form* form);
Form* MainForm();

} // namespace ui
