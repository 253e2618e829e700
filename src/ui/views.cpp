// Tree view, tool bar, cool bar, lines view, splitter; the drive and directory pickers are in
// dirpickers.cpp.
#include "ui/views.h"

#include <algorithm>
#include <cstring>

namespace ui {

// ---- TreeView -----------------------------------------------------------------------------------

Control::WindowKind TreeView::Kind(const Row& row) const {
    DWORD style = WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    if (!(row.options & opt::ReadOnly))
        style |= TVS_EDITLABELS;
    return {WC_TREEVIEWA, style, WS_EX_CLIENTEDGE};
}

void TreeView::SetImages(HIMAGELIST images) {
    if (hwnd_)
        TreeView_SetImageList(hwnd_, images, TVSIL_NORMAL);
}

void TreeView::SetIndent(int pixels) {
    if (hwnd_)
        TreeView_SetIndent(hwnd_, pixels);
}

TreeNode TreeView::AddChild(TreeNode parent, const std::string& text, int image, int selectedImage) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage < 0 ? image : selectedImage;
    return reinterpret_cast<TreeNode>(SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeView::DeleteChildren(TreeNode node) {
    for (TreeNode child = FirstChild(node); child;) {
        TreeNode next = NextSibling(child);
        TreeView_DeleteItem(hwnd_, child);
        child = next;
    }
}

void TreeView::Clear() {
    if (hwnd_)
        TreeView_DeleteAllItems(hwnd_);
}

std::string TreeView::NodeText(TreeNode node) const {
    char text[512] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

TreeNode TreeView::Parent(TreeNode node) const { return TreeView_GetParent(hwnd_, node); }
TreeNode TreeView::FirstChild(TreeNode node) const {
    return node ? TreeView_GetChild(hwnd_, node) : TreeView_GetRoot(hwnd_);
}
TreeNode TreeView::NextSibling(TreeNode node) const { return TreeView_GetNextSibling(hwnd_, node); }

int TreeView::ChildCount(TreeNode node) const {
    int n = 0;
    for (TreeNode child = FirstChild(node); child; child = NextSibling(child))
        ++n;
    return n;
}

TreeNode TreeView::Selected() const { return hwnd_ ? TreeView_GetSelection(hwnd_) : nullptr; }
void TreeView::Select(TreeNode node) { TreeView_SelectItem(hwnd_, node); }
// The tree control reports only the first expansion it is told to make, and no collapse; the handlers
// run here for the others, as they would for the user's click.
void TreeView::Expand(TreeNode node) {
    if ((TreeView_GetItemState(hwnd_, node, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) && !Expanded(node) && OnExpanding) {
        bool allow = true;
        OnExpanding(node, allow);
        if (!allow)
            return;
    }
    TreeView_Expand(hwnd_, node, TVE_EXPAND);
}

void TreeView::Collapse(TreeNode node) {
    if (!Expanded(node))
        return;
    TreeView_Expand(hwnd_, node, TVE_COLLAPSE);
    if (OnCollapsed)
        OnCollapsed(node);
}

bool TreeView::Expanded(TreeNode node) const {
    return (TreeView_GetItemState(hwnd_, node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int TreeView::NodeImage(TreeNode node) const {
    TVITEMA item{};
    item.mask = TVIF_IMAGE;
    item.hItem = node;
    SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void TreeView::SetNodeImage(TreeNode node, int image, int selectedImage) {
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::string TreeView::FullPath(TreeNode node, char separator) const {
    std::string path;
    for (; node; node = Parent(node))
        path = path.empty() ? NodeText(node) : NodeText(node) + separator + path;
    return path;
}

void TreeView::BeginUpdate() { SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0); }
void TreeView::EndUpdate() {
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT TreeView::Notify(NMHDR* header) {
    // A tree made with the ANSI entry points may still send the wide codes; both carry the same items.
    auto* tree = reinterpret_cast<NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        bool allow = true;
        if (tree->action == TVE_EXPAND && OnExpanding)
            OnExpanding(tree->itemNew.hItem, allow);
        return allow ? FALSE : TRUE;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        if (tree->action == TVE_COLLAPSE && OnCollapsed)
            OnCollapsed(tree->itemNew.hItem);
        return 0;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (AutoExpand && tree->itemNew.hItem)
            Expand(tree->itemNew.hItem);
        if (OnChange)
            OnChange(tree->itemNew.hItem);
        return 0;
    default:
        return 0;
    }
}

// ---- ToolBar ------------------------------------------------------------------------------------

bool ToolButton::Down() const {
    return bar_ && SendMessageA(bar_->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id_), 0) != 0;
}
void ToolButton::SetDown(bool down) {
    if (bar_)
        SendMessageA(bar_->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(id_), MAKELONG(down, 0));
}
bool ToolButton::Enabled() const {
    return bar_ && SendMessageA(bar_->Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(id_), 0) != 0;
}
void ToolButton::SetEnabled(bool enabled) {
    if (bar_)
        SendMessageA(bar_->Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(id_), MAKELONG(enabled, 0));
}

Control::WindowKind ToolBar::Kind(const Row& row) const {
    DWORD style = TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (row.options & opt::Flat)
        style |= TBSTYLE_FLAT;
    return {TOOLBARCLASSNAMEA, style, 0};
}

void ToolBar::Created(const Row&) {
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(hwnd_, TB_SETMAXTEXTROWS, 0, 0); // no captions: the strings become the tool tips
}

void ToolBar::AddButtons(std::initializer_list<ButtonSpec> buttons) {
    for (const ButtonSpec& spec : buttons) {
        ToolButton& button = *spec.button;
        button.bar_ = this;
        button.id_ = form_->NextId();
        button.caption_ = spec.caption ? spec.caption : "";
        button.hint_ = spec.hint ? spec.hint : button.caption_;
        TBBUTTON tb{};
        tb.iBitmap = spec.image;
        tb.idCommand = button.id_;
        tb.fsState = TBSTATE_ENABLED;
        tb.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (spec.check ? BTNS_CHECK : 0));
        tb.iString = reinterpret_cast<INT_PTR>(button.hint_.c_str());
        SendMessageA(hwnd_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
        buttons_.push_back(&button);
    }
}

void ToolBar::SetImages(HIMAGELIST images) {
    if (hwnd_)
        SendMessageA(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

void ToolBar::SetButtonSize(int width, int height) {
    if (!hwnd_)
        return;
    SendMessageA(hwnd_, TB_SETBUTTONSIZE, 0, MAKELONG(width, height));
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
}

void ToolBar::SetFlat(bool flat) {
    if (!hwnd_)
        return;
    LRESULT style = SendMessageA(hwnd_, TB_GETSTYLE, 0, 0);
    style = flat ? (style | TBSTYLE_FLAT) : (style & ~TBSTYLE_FLAT);
    SendMessageA(hwnd_, TB_SETSTYLE, 0, style);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ToolBar::SetTransparent(bool transparent) {
    if (!hwnd_)
        return;
    LRESULT style = SendMessageA(hwnd_, TB_GETSTYLE, 0, 0);
    style = transparent ? (style | TBSTYLE_TRANSPARENT) : (style & ~TBSTYLE_TRANSPARENT);
    SendMessageA(hwnd_, TB_SETSTYLE, 0, style);
}

void ToolBar::SetTextRows(int rows) {
    if (hwnd_)
        SendMessageA(hwnd_, TB_SETMAXTEXTROWS, static_cast<WPARAM>(rows), 0);
}

int ToolBar::ButtonCount() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0)) : 0;
}

void ToolBar::Command(int, int id) {
    for (ToolButton* button : buttons_)
        if (button->id_ == id && button->OnClick)
            button->OnClick();
}

// ---- CoolBar ------------------------------------------------------------------------------------

Control::WindowKind CoolBar::Kind(const Row&) const {
    return {REBARCLASSNAMEA, RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN | WS_CLIPCHILDREN,
            WS_EX_CONTROLPARENT};
}

void CoolBar::Created(const Row&) {
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(hwnd_, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    SetWindowSubclass(hwnd_, SubclassProc, 1, 0);
}

// The rebar sets its cursor without asking its parent, as DefWindowProc would: here the form decides
// first (an hourglass while it works), also for the controls in the bands, whose cursor query the bar gets.
LRESULT CALLBACK CoolBar::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, SubclassProc, 1);
    if (msg == WM_SETCURSOR && SendMessageA(GetParent(hwnd), WM_SETCURSOR, wParam, lParam)) return TRUE;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void CoolBar::AddBand(const std::string& text, Control& child, int minHeight, int width) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    band.fStyle = RBBS_CHILDEDGE;
    band.lpText = const_cast<char*>(text.c_str());
    band.hwndChild = child.Handle();
    band.cxMinChild = 0;
    band.cyMinChild = static_cast<UINT>(minHeight);
    band.cx = static_cast<UINT>(width > 0 ? width : child.Width() + 40);
    SendMessageA(hwnd_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

int CoolBar::BandCount() const { return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, RB_GETBANDCOUNT, 0, 0)) : 0; }

int CoolBar::BandMinHeight(int index) const {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILDSIZE;
    SendMessageA(hwnd_, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    return static_cast<int>(band.cyMinChild);
}

void CoolBar::SetBandMinHeight(int index, int height) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILDSIZE;
    SendMessageA(hwnd_, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    band.cyMinChild = static_cast<UINT>(height);
    SendMessageA(hwnd_, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
}

void CoolBar::ClearBackground() {
    for (int i = 0; i < BandCount(); ++i) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_BACKGROUND;
        band.hbmBack = nullptr;
        SendMessageA(hwnd_, RB_SETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    }
}

LRESULT CoolBar::Notify(NMHDR* header) {
    if (header->code == RBN_HEIGHTCHANGE && form_)
        form_->Realign(GetParent(hwnd_)); // the aligned controls below follow its new height
    return 0;
}

// ---- LinesView ----------------------------------------------------------------------------------

Control::WindowKind LinesView::Kind(const Row&) const {
    return {"LISTBOX",
            WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_NODATA |
                LBS_DISABLENOSCROLL | LBS_EXTENDEDSEL,
            WS_EX_CLIENTEDGE};
}

void LinesView::Created(const Row&) {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 1);
    SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

// The list box selects with the mouse, Shift and the arrow keys itself; Ctrl+A and Ctrl+C are added.
LRESULT CALLBACK LinesView::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    auto* view = reinterpret_cast<LinesView*>(self);
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, SubclassProc, 1);
    if (msg == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && (wParam == 'A' || wParam == 'C')) {
        if (wParam == 'A')
            view->SelectAll();
        else
            view->CopySelection();
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void LinesView::SelectAll() {
    if (hwnd_) SendMessageA(hwnd_, LB_SETSEL, TRUE, -1);
}

std::string LinesView::SelectedText() const {
    if (!hwnd_) return "";
    int count = static_cast<int>(SendMessageA(hwnd_, LB_GETSELCOUNT, 0, 0));
    if (count <= 0) return "";
    std::vector<int> rows(static_cast<size_t>(count));
    count = static_cast<int>(SendMessageA(hwnd_, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                          reinterpret_cast<LPARAM>(rows.data())));
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += "\r\n";
        text += Line(rows[static_cast<size_t>(i)]);
    }
    return text;
}

void LinesView::CopySelection() const {
    std::string text = SelectedText();
    if (text.empty() || !OpenClipboard(hwnd_)) return;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        bool placed = false;
        if (void* bytes = GlobalLock(memory)) {
            memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            placed = EmptyClipboard() && SetClipboardData(CF_TEXT, memory);
        }
        if (!placed) GlobalFree(memory); // the clipboard owns it only once it took it
    }
    CloseClipboard();
}

void LinesView::Clear() {
    lines_.clear();
    shown_ = 0;
    longest_ = 0;
    extent_ = 0;
    Commit();
}

void LinesView::AddLine(std::string_view line) { lines_.emplace_back(line); }

void LinesView::Commit() {
    if (!hwnd_)
        return;
    // The horizontal extent follows the longest line by characters; measured only when one grows.
    size_t longest = longest_;
    const std::string* widest = nullptr;
    for (size_t i = shown_; i < lines_.size(); ++i)
        if (lines_[i].size() > longest) {
            longest = lines_[i].size();
            widest = &lines_[i];
        }
    shown_ = lines_.size();
    if (widest) {
        HDC dc = GetDC(hwnd_);
        HGDIOBJ old = SelectObject(dc, Font());
        SIZE size{};
        GetTextExtentPoint32A(dc, widest->c_str(), static_cast<int>(widest->size()), &size);
        SelectObject(dc, old);
        ReleaseDC(hwnd_, dc);
        longest_ = longest;
        extent_ = std::max(extent_, static_cast<int>(size.cx) + 8);
    }
    SendMessageA(hwnd_, LB_SETCOUNT, lines_.size(), 0);
    SendMessageA(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent_), 0);
}

std::string LinesView::Line(int index) const {
    return index >= 0 && index < LineCount() ? lines_[static_cast<size_t>(index)] : std::string();
}

void LinesView::DrawItem(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < lines_.size()) {
        const std::string& text = lines_[item.itemID];
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        r.left += 2;
        DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

// ---- Splitter -----------------------------------------------------------------------------------

Control::WindowKind Splitter::Kind(const Row&) const {
    RegisterWindowClass("SetupSplitter", Proc);
    return {"SetupSplitter", 0, 0};
}

void Splitter::Created(const Row&) {
    if (align_ == Align::None)
        align_ = Align::Left;
    for (Control* c : form_->Controls())
        if (c != this && c->GetAlign() == Align::Left && GetParent(c->Handle()) == GetParent(hwnd_))
            target_ = c; // the last one before the splitter
}

LRESULT CALLBACK Splitter::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = static_cast<Splitter*>(FromHandle(hwnd));
    if (!self || !self->target_)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    int x = static_cast<short>(LOWORD(lParam));
    switch (msg) {
    case WM_SETCURSOR:
        if (!SendMessageA(GetParent(hwnd), WM_SETCURSOR, wParam, lParam)) // the form's hourglass first
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        self->grab_ = x;
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) {
            int width = std::max(20, self->target_->Width() + x - self->grab_);
            self->target_->SetBounds(self->target_->Left(), self->target_->Top(), width, self->target_->Height());
            self->form_->Realign(GetParent(hwnd));
        }
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace ui
