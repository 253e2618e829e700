// The standard controls over the Win32 and common-control window classes; the ones that hold text a
// user types or picks from a list are in textcontrols.cpp.
#include "ui/controls.h"

#include <commdlg.h>

#include <cstdlib>

namespace ui {

namespace {
DWORD TextAlign(unsigned options, DWORD left, DWORD center, DWORD right) {
    if (options & opt::Center)
        return center;
    return (options & opt::Right) ? right : left;
}
} // namespace

// ---- Button -------------------------------------------------------------------------------------

Control::WindowKind Button::Kind(const Row& row) const {
    DWORD style = WS_TABSTOP | ((row.options & opt::Default) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    return {"BUTTON", style, 0};
}

void Button::Created(const Row& row) {
    if (row.options & opt::Cancel)
        cancel_ = true;
    if (row.modalResult != MrNone)
        ModalResult = row.modalResult;
}

bool Button::IsDefault() const { return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON; }

void Button::SetDefault(bool value) {
    if (hwnd_)
        SendMessageA(hwnd_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::Click() {
    if (OnClick)
        OnClick();
    if (ModalResult != MrNone && form_)
        form_->SetModalResult(ModalResult);
}

void Button::Command(int code, int) {
    if (code == BN_CLICKED)
        Click();
}

// ---- GlyphButton --------------------------------------------------------------------------------

GlyphButton::GlyphButton(ButtonKind kind) : glyph_(Glyph::None), kind_(kind) {
    switch (kind) {
    case ButtonKind::Ok:
        glyph_ = Glyph::Ok;
        ModalResult = MrOk;
        break;
    case ButtonKind::Cancel:
        glyph_ = Glyph::Cancel;
        ModalResult = MrCancel;
        cancel_ = true;
        break;
    case ButtonKind::Close:
        glyph_ = Glyph::Close;
        break;
    case ButtonKind::Abort:
        glyph_ = Glyph::Abort;
        ModalResult = MrAbort;
        break;
    case ButtonKind::Help:
        glyph_ = Glyph::Help;
        break;
    case ButtonKind::Custom:
        break;
    }
}

GlyphButton::~GlyphButton() {
    if (images_)
        ImageList_Destroy(images_);
}

void GlyphButton::Created(const Row& row) {
    Button::Created(row);
    static const char* const captions[] = {"", "OK", "Cancel", "&Close", "Abort", "&Help"};
    if (!row.caption && kind_ != ButtonKind::Custom)
        SetWindowTextA(hwnd_, captions[static_cast<int>(kind_)]);
    SetGlyph(glyph_);
}

void GlyphButton::SetGlyph(Glyph glyph) {
    glyph_ = glyph;
    if (!hwnd_)
        return;
    HIMAGELIST old = images_;
    images_ = glyph == Glyph::None ? nullptr : MakeImageList({glyph});
    BUTTON_IMAGELIST list{};
    list.himl = images_;
    list.margin = {4, 0, 6, 0};
    list.uAlign = BUTTON_IMAGELIST_ALIGN_RIGHT;
    SendMessageA(hwnd_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (old)
        ImageList_Destroy(old);
}

// ---- Label --------------------------------------------------------------------------------------

void Label::Created(const Row& row) {
    autoSize_ = row.width == 0 && row.height == 0;
    if (autoSize_)
        AutoSize();
}

Control::WindowKind Label::Kind(const Row& row) const {
    DWORD style = TextAlign(row.options, (row.options & opt::WordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP, SS_CENTER,
                            SS_RIGHT);
    return {"STATIC", style, 0};
}

// ---- CheckBox and RadioButton -------------------------------------------------------------------

Control::WindowKind CheckBox::Kind(const Row&) const { return {"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0}; }
bool CheckBox::Checked() const { return hwnd_ && SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool checked) {
    if (hwnd_)
        SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void CheckBox::Command(int code, int) {
    if (code == BN_CLICKED && OnClick)
        OnClick();
}

Control::WindowKind RadioButton::Kind(const Row&) const { return {"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON, 0}; }
bool RadioButton::Checked() const { return hwnd_ && SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::SetChecked(bool checked) {
    if (!hwnd_)
        return;
    SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked)
        return;
    // As a click would: the other buttons of the group lose their check.
    HWND first = hwnd_;
    while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous)
            break;
        first = previous;
    }
    for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w != first && (GetWindowLongA(w, GWL_STYLE) & WS_GROUP))
            break;
        Control* c = FromHandle(w);
        if (w != hwnd_ && c && c->IsRadio())
            SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void RadioButton::Command(int code, int) {
    if (code == BN_CLICKED && OnClick)
        OnClick();
}

// ---- GroupBox and RadioGroup --------------------------------------------------------------------

Control::WindowKind GroupBox::Kind(const Row&) const {
    return {"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
}

void GroupBox::Created(const Row&) {
    SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

// The button class keeps its children's notifications; pass them on to the controls' objects.
LRESULT CALLBACK GroupBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, SubclassProc, 1);
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, result))
        return result;
    if (msg == WM_NOTIFY || msg == WM_COMMAND) // a child's notification with no object: to the form
        return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
    if (msg == WM_ERASEBKGND) {
        // The button class erases nothing, so a child hidden inside the frame would stay on the screen.
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void RadioGroup::Created(const Row& row) {
    GroupBox::Created(row);
    buttons_.clear();
    int count = static_cast<int>(items_.size());
    if (count == 0)
        return;
    // Spread the buttons evenly below the caption.
    TEXTMETRICA tm{};
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, Font());
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    int room = row.height - tm.tmHeight - 5;
    int step = room / count;
    int top = tm.tmHeight + 1 + (room % count) / 2;
    for (int i = 0; i < count; ++i) {
        buttons_.push_back(std::make_unique<RadioButton>());
        RadioButton& button = *buttons_.back();
        form_->Add({.control = &button, .parent = this, .left = 8, .top = top + i * step, .width = row.width - 16,
                    .height = step, .caption = items_[static_cast<size_t>(i)].c_str()});
        button.OnClick = [this] {
            if (OnClick)
                OnClick();
        };
    }
}

int RadioGroup::ItemIndex() const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->Checked())
            return static_cast<int>(i);
    return -1;
}

void RadioGroup::SetItemIndex(int index) {
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->SetChecked(static_cast<int>(i) == index);
}

void RadioGroup::SetEnabled(bool enabled) {
    Control::SetEnabled(enabled);
    for (auto& button : buttons_)
        button->SetEnabled(enabled);
}

// ---- Panel --------------------------------------------------------------------------------------

Control::WindowKind Panel::Kind(const Row&) const {
    RegisterWindowClass("SetupPanel", Proc);
    return {"SetupPanel", 0, WS_EX_CONTROLPARENT}; // no WS_CLIPCHILDREN: it paints under its group boxes
}

void Panel::Created(const Row& row) { options_ = row.options; }

void Panel::SetCaption(const std::string& text) {
    Control::SetCaption(text);
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT CALLBACK Panel::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Panel*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* panel = static_cast<Panel*>(FromHandle(hwnd));
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, result))
        return result;
    if (!panel)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        panel->Paint();
        return 0;
    case WM_SETFONT: // the panel class keeps its font itself
        panel->panelFont_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(panel->panelFont_);
    case WM_SIZE:
        if (panel->form_)
            panel->form_->Realign(hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY: // a child without an object: on to the form
        return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Panel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    if (!(options_ & opt::NoBevel))
        DrawEdge(dc, &r, (options_ & opt::Lowered) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    std::string text = Caption();
    if (!text.empty()) {
        HGDIOBJ old = SelectObject(dc, Font());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        InflateRect(&r, -4, -2);
        UINT align = TextAlign(options_, DT_LEFT, DT_CENTER, DT_RIGHT);
        DrawTextA(dc, text.c_str(), -1, &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, old);
    }
    EndPaint(hwnd_, &ps);
}

// ---- Bevel --------------------------------------------------------------------------------------

Control::WindowKind Bevel::Kind(const Row&) const { return {"STATIC", SS_ETCHEDFRAME, 0}; }

// ---- SpinEdit -----------------------------------------------------------------------------------

void SpinEdit::Created(const Row& row) {
    Edit::Created(row);
    updown_ = CreateWindowExA(0, UPDOWN_CLASSA, "",
                              WS_CHILD | WS_CLIPSIBLINGS | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
                                  UDS_NOTHOUSANDS | ((row.options & opt::Hidden) ? 0 : WS_VISIBLE),
                              0, 0, 0, 0, GetParent(hwnd_), nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
    SendMessageA(updown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(updown_, UDM_SETPOS32, 0, min_);
    if (row.options & opt::Disabled)
        EnableWindow(updown_, FALSE);
}

int SpinEdit::Value() const {
    int value = std::atoi(Text().c_str());
    return value < min_ ? min_ : value > max_ ? max_ : value;
}

void SpinEdit::SetValue(int value) {
    value = value < min_ ? min_ : value > max_ ? max_ : value;
    SetText(std::to_string(value));
    if (updown_)
        SendMessageA(updown_, UDM_SETPOS32, 0, value);
}

void SpinEdit::SetVisible(bool visible) {
    Edit::SetVisible(visible);
    if (updown_)
        ShowWindow(updown_, visible ? SW_SHOWNA : SW_HIDE);
}

void SpinEdit::SetEnabled(bool enabled) {
    Edit::SetEnabled(enabled);
    if (updown_)
        EnableWindow(updown_, enabled);
}

void SpinEdit::SetBounds(int left, int top, int width, int height) {
    Edit::SetBounds(left, top, width, height);
    if (updown_)
        SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0); // re-attach at the new place
}

// ---- ProgressBar and StatusBar ------------------------------------------------------------------

Control::WindowKind ProgressBar::Kind(const Row&) const { return {PROGRESS_CLASSA, 0, 0}; }
void ProgressBar::Created(const Row&) { SetRange(0, 100); }
void ProgressBar::SetRange(int minValue, int maxValue) {
    if (hwnd_)
        SendMessageA(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(minValue), maxValue);
}
int ProgressBar::Position() const { return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, PBM_GETPOS, 0, 0)) : 0; }
void ProgressBar::SetPosition(int position) {
    if (hwnd_)
        SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

Control::WindowKind StatusBar::Kind(const Row&) const { return {STATUSCLASSNAMEA, CCS_BOTTOM, 0}; }

void StatusBar::Created(const Row&) {
    SendMessageA(hwnd_, SB_SIMPLE, TRUE, 0);
    align_ = Align::Bottom; // the form lays it along its bottom edge
}

std::string StatusBar::SimpleText() const {
    if (!hwnd_)
        return "";
    char text[512] = "";
    SendMessageA(hwnd_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text)); // reading: the simple panel is 0
    return text;
}

void StatusBar::SetSimpleText(const std::string& text) {
    if (hwnd_)
        SendMessageA(hwnd_, SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(text.c_str())); // writing: 255
}

// ---- Timer --------------------------------------------------------------------------------------

Timer::~Timer() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK Timer::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* timer = reinterpret_cast<Timer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && timer) {
        if (timer->enabled_ && timer->OnTimer)
            timer->OnTimer();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Timer::Restart() {
    if (!hwnd_) {
        RegisterWindowClass("SetupTimer", Proc);
        hwnd_ = CreateWindowExA(0, "SetupTimer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                                this);
    }
    KillTimer(hwnd_, 1);
    if (enabled_ && interval_ > 0)
        SetTimer(hwnd_, 1, static_cast<UINT>(interval_), nullptr);
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Restart();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

// ---- FileOpenDialog -----------------------------------------------------------------------------

std::string FileOpenDialog::SystemFilter(const std::string& filter) {
    std::string result = filter;
    for (char& c : result)
        if (c == '|')
            c = '\0';
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

bool FileOpenDialog::Execute() {
    char file[MAX_PATH] = "";
    lstrcpynA(file, FileName.c_str(), MAX_PATH);
    std::string filter = SystemFilter(Filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | (PathMustExist ? OFN_PATHMUSTEXIST : 0) |
                (FileMustExist ? OFN_FILEMUSTEXIST : 0);
    if (!GetOpenFileNameA(&ofn))
        return false;
    FileName = file;
    return true;
}

} // namespace ui
