// The controls that hold text a user types or picks from a list (declared in controls.h): edit, memo,
// list box and combo box.
#include "ui/controls.h"

namespace ui {

namespace {
std::string ListText(HWND hwnd, UINT lengthMsg, UINT textMsg, int index) {
    LRESULT n = SendMessageA(hwnd, lengthMsg, static_cast<WPARAM>(index), 0);
    if (n < 0) return "";
    std::string s(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(hwnd, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}
} // namespace

// ---- Edit ---------------------------------------------------------------------------------------

Control::WindowKind Edit::Kind(const Row& row) const {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | ((row.options & opt::ReadOnly) ? ES_READONLY : 0);
    return {"EDIT", style, WS_EX_CLIENTEDGE};
}

void Edit::Created(const Row&) {
    SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Edit::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    auto* edit = reinterpret_cast<Edit*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, 1);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    if (Control::FromHandle(hwnd) != edit) // the object is going away
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == WM_CHAR && wParam >= 32 && wParam < 256) {
        char key = static_cast<char>(wParam);
        edit->KeyPress(key);
        if (key == 0) return 0;
        wParam = static_cast<unsigned char>(key);
    }
    LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == WM_KEYDOWN && edit->OnKeyDown)
        edit->OnKeyDown(static_cast<int>(wParam));
    else if (msg == WM_KEYUP && edit->OnKeyUp)
        edit->OnKeyUp(static_cast<int>(wParam));
    else if (msg == WM_LBUTTONUP && edit->OnClick)
        edit->OnClick();
    return result;
}

void Edit::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(key);
}

int Edit::MaxLength() const {
    LRESULT n = hwnd_ ? SendMessageA(hwnd_, EM_GETLIMITTEXT, 0, 0) : 0;
    return n >= 0x7FFFFFFE ? 0 : static_cast<int>(n);
}

void Edit::SetMaxLength(int length) {
    if (hwnd_) SendMessageA(hwnd_, EM_LIMITTEXT, length > 0 ? static_cast<WPARAM>(length) : 0, 0);
}

bool Edit::ReadOnly() const {
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & ES_READONLY);
}
void Edit::SetReadOnly(bool value) {
    if (hwnd_) SendMessageA(hwnd_, EM_SETREADONLY, value, 0);
}
void Edit::SelectAll() {
    if (hwnd_) SendMessageA(hwnd_, EM_SETSEL, 0, -1);
}

void Edit::Command(int code, int) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

// ---- Memo ---------------------------------------------------------------------------------------

Control::WindowKind Memo::Kind(const Row& row) const {
    DWORD style = WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (row.options & opt::ReadOnly) style |= ES_READONLY;
    if (row.options & opt::VScroll) style |= WS_VSCROLL;
    if (row.options & opt::HScroll) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    return {"EDIT", style, WS_EX_CLIENTEDGE};
}

void Memo::AddLine(const std::string& line) {
    if (!hwnd_) return;
    std::string text = line + "\r\n";
    int end = GetWindowTextLengthA(hwnd_);
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageA(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Memo::Clear() {
    SetText("");
}

int Memo::LineCount() const {
    if (!hwnd_) return 0;
    int count = static_cast<int>(SendMessageA(hwnd_, EM_GETLINECOUNT, 0, 0));
    // The edit counts the empty line after a final CR LF; the memo's lines do not include it.
    LRESULT lastStart = SendMessageA(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
    if (lastStart >= 0 && SendMessageA(hwnd_, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) == 0) --count;
    return count;
}

// The whole text split at CR LF: EM_GETLINE takes its room in a 16-bit word, so it would cut a line of
// 65,535 characters or more.
std::vector<std::string> Memo::Lines() const {
    std::vector<std::string> lines;
    std::string text = Text();
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

int Memo::CaretLine() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0)) : 0;
}

HBRUSH Memo::ControlColor(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
}

// ---- ListBox ------------------------------------------------------------------------------------

Control::WindowKind ListBox::Kind(const Row& row) const {
    DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (row.options & opt::MultiSelect) style |= LBS_EXTENDEDSEL;
    return {"LISTBOX", style, WS_EX_CLIENTEDGE};
}

void ListBox::AddItem(const std::string& text) {
    if (hwnd_) SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void ListBox::Clear() {
    if (hwnd_) SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}
int ListBox::Count() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)) : 0;
}
std::string ListBox::Item(int index) const {
    return ListText(hwnd_, LB_GETTEXTLEN, LB_GETTEXT, index);
}
bool ListBox::MultiSelect() const {
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & LBS_EXTENDEDSEL);
}

int ListBox::ItemIndex() const {
    if (!hwnd_) return -1;
    if (!MultiSelect()) return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
    int caret = static_cast<int>(SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
    return caret >= 0 && Selected(caret) ? caret : -1;
}

void ListBox::SetItemIndex(int index) {
    if (!hwnd_) return;
    if (!MultiSelect()) {
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        return;
    }
    SendMessageA(hwnd_, LB_SETSEL, FALSE, -1);
    if (index >= 0) {
        SendMessageA(hwnd_, LB_SETSEL, TRUE, index);
        SendMessageA(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    }
}

bool ListBox::Selected(int index) const {
    if (!hwnd_) return false;
    if (!MultiSelect()) return index >= 0 && SendMessageA(hwnd_, LB_GETCURSEL, 0, 0) == index;
    return SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
    if (!hwnd_) return;
    if (MultiSelect())
        SendMessageA(hwnd_, LB_SETSEL, selected, index);
    else
        SendMessageA(hwnd_, LB_SETCURSEL, selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

int ListBox::SelCount() const {
    if (!hwnd_) return 0;
    if (!MultiSelect()) return ItemIndex() >= 0 ? 1 : 0;
    return static_cast<int>(SendMessageA(hwnd_, LB_GETSELCOUNT, 0, 0));
}

void ListBox::Created(const Row&) {
    SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK ListBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
    auto* list = reinterpret_cast<ListBox*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, 1);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    bool enter = Control::FromHandle(hwnd) == list && list->OnEnter && wParam == VK_RETURN;
    if (msg == WM_GETDLGCODE && enter) return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
    if (msg == WM_KEYDOWN && enter) {
        list->OnEnter();
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void ListBox::Command(int code, int) {
    if (code == LBN_SELCHANGE && OnClick)
        OnClick();
    else if (code == LBN_DBLCLK && OnDblClick)
        OnDblClick();
}

// ---- ComboBox -----------------------------------------------------------------------------------

Control::WindowKind ComboBox::Kind(const Row& row) const {
    DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                  ((row.options & opt::Editable) ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    return {"COMBOBOX", style, 0};
}

void ComboBox::Created(const Row& row) {
    // The window's height is the closed box plus its list; give the list room for 8 rows.
    int closed = row.height > 0 ? row.height : 21;
    SetWindowPos(hwnd_, nullptr, 0, 0, row.width, closed + 8 * 16 + 4, SWP_NOMOVE | SWP_NOZORDER);
    SetDropDownCount(8);
}

void ComboBox::AddItem(const std::string& text) {
    if (hwnd_) SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void ComboBox::Clear() {
    if (hwnd_) SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
}
int ComboBox::Count() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0)) : 0;
}
std::string ComboBox::Item(int index) const {
    return ListText(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}
int ComboBox::ItemIndex() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)) : -1;
}
void ComboBox::SetItemIndex(int index) {
    if (hwnd_) SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
void ComboBox::SetDropDownCount(int rows) {
    if (hwnd_) SendMessageA(hwnd_, CB_SETMINVISIBLE, static_cast<WPARAM>(rows > 0 ? rows : 1), 0);
}
bool ComboBox::Editable() const {
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & 3) == CBS_DROPDOWN;
}

// A combo box takes its kind (list or free text) only when its window is made: for the other kind the
// window is made again in its place, with its items, selection, font, hint and place in the tab order.
void ComboBox::SetEditable(bool editable) {
    if (!hwnd_ || Editable() == editable) return;
    HWND old = hwnd_;
    HWND parent = GetParent(old);
    RECT r{};
    GetWindowRect(old, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    DWORD style = static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)) & ~3u;
    style |= editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
    std::vector<std::string> items;
    for (int i = 0; i < Count(); ++i) items.push_back(Item(i));
    int selected = ItemIndex();
    std::string text = Text();
    std::string hint = Hint();
    bool focused = GetFocus() == old;
    SetHint("");
    hwnd_ =
        CreateWindowExA(static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE)), "COMBOBOX", "", style, r.left,
                        r.top, r.right - r.left, r.bottom - r.top + 8 * 16 + 4, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), this);
    if (!hwnd_) {
        hwnd_ = old;
        SetHint(hint);
        return;
    }
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowPos(hwnd_, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(hwnd_, WM_SETFONT, SendMessageA(old, WM_GETFONT, 0, 0), FALSE);
    SetWindowLongPtrA(old, GWLP_USERDATA, 0); // its last notifications reach nobody
    DestroyWindow(old);
    for (const std::string& item : items) AddItem(item);
    SetItemIndex(selected);
    if (selected < 0 && editable) SetText(text);
    SetDropDownCount(8);
    SetHint(hint);
    if (focused) ::SetFocus(hwnd_);
}

void ComboBox::Command(int code, int) {
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && OnChange) OnChange();
}

} // namespace ui
