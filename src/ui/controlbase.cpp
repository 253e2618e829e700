// The base of every control (declared in form.h): creating its window from a layout row, the
// forwarding properties, and the routing of a container's messages back to its child controls.
#include "ui/form.h"

namespace ui {

// ---- Control ------------------------------------------------------------------------------------

Control::~Control() {
    if (font_)
        DeleteObject(font_);
    if (hwnd_ && FromHandle(hwnd_) == this) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0); // no notification reaches a dying object
        DestroyWindow(hwnd_);
    }
}

Control* Control::FromHandle(HWND hwnd) {
    if (!hwnd || !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
        return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void Control::Create(Form& form, HWND parent, const Row& row) {
    form_ = &form;
    id_ = form.NextId();
    Tag = row.tag;
    align_ = row.align;
    WindowKind kind = Kind(row);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
    if (!(row.options & opt::Hidden))
        style |= WS_VISIBLE;
    if (row.options & opt::Disabled)
        style |= WS_DISABLED;
    if (row.options & opt::NoTabStop)
        style &= ~WS_TABSTOP;
    // Radio buttons in a row form one group (arrow keys move inside it, a click unchecks the others).
    HWND last = GetWindow(parent, GW_CHILD);
    if (last)
        last = GetWindow(last, GW_HWNDLAST);
    Control* previous = FromHandle(last);
    if (!IsRadio() || !previous || !previous->IsRadio())
        style |= WS_GROUP;
    else
        style &= ~WS_TABSTOP;
    hwnd_ = CreateWindowExA(kind.exStyle, kind.className, row.caption ? row.caption : "", style, row.left,
                            row.top, row.width, row.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), this);
    if (!hwnd_)
        return;
    if (!GetWindowLongPtrA(hwnd_, GWLP_USERDATA))
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    bool bold = (row.options & opt::Bold) != 0;
    if (row.fontHeight || bold || row.fontFace)
        SetFont(row.fontHeight ? row.fontHeight : form.FontHeight(), bold, row.fontFace);
    else
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form.Font()), FALSE);
    if (row.hint)
        SetHint(row.hint, !(row.options & opt::HintHidden));
    Created(row);
}

void Control::Created(const Row&) {}
void Control::Command(int, int) {}
LRESULT Control::Notify(NMHDR*) { return 0; }
HBRUSH Control::ControlColor(HDC) { return nullptr; }
void Control::DrawItem(const DRAWITEMSTRUCT&) {}

std::string Control::Caption() const {
    if (!hwnd_)
        return "";
    int n = GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

void Control::SetCaption(const std::string& text) {
    if (!hwnd_)
        return;
    SetWindowTextA(hwnd_, text.c_str());
    if (autoSize_)
        AutoSize();
}

bool Control::Visible() const { return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void Control::SetVisible(bool visible) {
    if (!hwnd_ || visible == Visible())
        return;
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    if (align_ != Align::None && form_)
        form_->Realign(GetParent(hwnd_));
}

bool Control::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Control::SetEnabled(bool enabled) {
    if (hwnd_)
        EnableWindow(hwnd_, enabled);
}

static RECT ParentRect(HWND hwnd) {
    RECT r{};
    if (!hwnd)
        return r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Control::Left() const { return ParentRect(hwnd_).left; }
int Control::Top() const { return ParentRect(hwnd_).top; }
int Control::Width() const {
    RECT r = ParentRect(hwnd_);
    return r.right - r.left;
}
int Control::Height() const {
    RECT r = ParentRect(hwnd_);
    return r.bottom - r.top;
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetAlign(Align align) {
    align_ = align;
    if (form_ && hwnd_)
        form_->Realign(GetParent(hwnd_));
}

void Control::SetFocus() {
    if (hwnd_)
        ::SetFocus(hwnd_);
}

void Control::BringToFront() {
    if (hwnd_)
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SendToBack() {
    if (hwnd_)
        SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SetFont(int height, bool bold, const char* face) {
    if (!hwnd_)
        return;
    HFONT old = font_;
    font_ = MakeFont(height, bold, face ? face : (form_ ? form_->FontFace() : "MS Sans Serif"));
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (old)
        DeleteObject(old);
    if (autoSize_)
        AutoSize();
}

HFONT Control::Font() const {
    return hwnd_ ? reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
}

void Control::AutoSize() {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, Font());
    std::string text = Caption();
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Control::Hint() const {
    if (!form_ || !hwnd_)
        return "";
    char text[512] = "";
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = form_->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = text;
    SendMessageA(form_->Tooltip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

void Control::SetHint(const std::string& hint, bool shown) {
    if (!form_ || !hwnd_ || !form_->ShowHint())
        return;
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE; // understood by every comctl32 version
    // Without TTF_SUBCLASS the tip never sees the mouse over the control, so it never pops up.
    ti.uFlags = TTF_IDISHWND | (shown ? TTF_SUBCLASS : 0);
    ti.hwnd = form_->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = const_cast<char*>(hint.c_str());
    HWND tip = form_->Tooltip();
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!hint.empty())
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND: {
        Control* c = Control::FromHandle(reinterpret_cast<HWND>(lParam));
        if (!c)
            return false;
        c->Command(HIWORD(wParam), LOWORD(wParam));
        result = 0;
        return true;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        Control* c = Control::FromHandle(header->hwndFrom);
        if (!c)
            return false;
        result = c->Notify(header);
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
        Control* c = Control::FromHandle(reinterpret_cast<HWND>(lParam));
        HBRUSH brush = c ? c->ControlColor(reinterpret_cast<HDC>(wParam)) : nullptr;
        if (!brush)
            return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        Control* c = Control::FromHandle(item->hwndItem);
        if (!c)
            return false;
        c->DrawItem(*item);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

} // namespace ui
