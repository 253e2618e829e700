// Forms and the message loop helpers; the control base is in controlbase.cpp.
#include "ui/form.h"

#include <cstring>

#include "ui/prompter_win32.h"

namespace ui {

namespace {
constexpr UINT WmRelease = WM_APP + 1; // posted by Release: destroy once the queue gets here
constexpr const char* FormClass = "SetupForm";
ModalHook modalHook;
Form* mainForm = nullptr;
ATOM formAtom = 0;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Windows of this thread that a modal form disables while it runs.
BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lParam) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(lParam);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        list->push_back(hwnd);
    return TRUE;
}
} // namespace

// ---- Toolkit set-up -----------------------------------------------------------------------------

void RegisterWindowClass(const char* name, WNDPROC proc, UINT style) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(Instance(), name, &wc))
        return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    ATOM atom = RegisterClassExA(&wc);
    if (std::string(name) == FormClass)
        formAtom = atom;
}

void InitToolkit() {
    static bool done = false;
    if (done)
        return;
    done = true;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                             ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS | ICC_UPDOWN_CLASS |
                                             ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClass(FormClass, &Form::Proc_, CS_DBLCLKS);
}

HFONT MakeFont(int height, bool bold, const char* face) {
    // Courier faces are fixed-pitch: said so, a system without the face substitutes a fixed-pitch one.
    bool fixed = face && _strnicmp(face, "Courier", 7) == 0;
    return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       fixed ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE, face);
}

void SetModalHook(ModalHook hook) { modalHook = std::move(hook); }

void SetMainForm(Form* form) {
    mainForm = form;
    SetOwnerWindow(form ? form->Handle() : nullptr);
}

Form* MainForm() { return mainForm; }

bool TranslateDialogKey(MSG& msg) {
    if (!msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (!Form::FromHandle(root))
        return false;
    return IsDialogMessageA(root, &msg) != FALSE;
}

void ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the real loop
            return;
        }
        if (!TranslateDialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateDialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

// ---- Form ---------------------------------------------------------------------------------------

Form::~Form() {
    if (mainForm == this)
        SetMainForm(nullptr);
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_)
        DeleteObject(font_);
}

Form* Form::FromHandle(HWND hwnd) {
    if (!hwnd || !formAtom || GetClassLongA(hwnd, GCW_ATOM) != formAtom)
        return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void Form::Create(const FormSpec& spec) {
    InitToolkit();
    if (hwnd_)
        return;
    fontFace_ = spec.fontFace;
    fontHeight_ = spec.fontHeight;
    font_ = MakeFont(spec.fontHeight, false, spec.fontFace);
    showHint_ = spec.showHint;
    position_ = spec.position;
    // No WS_CLIPCHILDREN: group boxes and frames do not paint their insides, the form's background does.
    DWORD style = 0;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    switch (spec.border) {
    case Border::Single:
        style |= WS_OVERLAPPED | WS_CAPTION;
        break;
    case Border::Dialog:
        style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case Border::Sizeable:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    case Border::None:
        style |= WS_POPUP;
        break;
    }
    if (spec.systemMenu && spec.border != Border::None)
        style |= WS_SYSMENU;
    if (spec.border != Border::Dialog && spec.border != Border::None) {
        if (spec.minimize)
            style |= WS_MINIMIZEBOX;
        if (spec.maximize)
            style |= WS_MAXIMIZEBOX;
    }
    RECT r{0, 0, spec.clientWidth, spec.clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    HWND owner = mainForm && mainForm != this ? mainForm->Handle() : OwnerWindow();
    CreateWindowExA(exStyle, FormClass, spec.caption, style, spec.left, spec.top, r.right - r.left,
                    r.bottom - r.top, owner, nullptr, Instance(), this);
}

void Form::Build(std::initializer_list<Row> rows) {
    for (const Row& row : rows)
        Add(row);
    Realign(nullptr);
}

void Form::Add(const Row& row) {
    if (!hwnd_ || !row.control)
        return;
    HWND parent = row.parent && row.parent->Handle() ? row.parent->Handle() : hwnd_;
    row.control->Create(*this, parent, row);
    controls_.push_back(row.control);
    if (row.align != Align::None)
        Realign(parent);
}

LRESULT CALLBACK Form::Proc_(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* form;
    if (msg == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!form)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        form->tooltip_ = nullptr;
        if (mainForm == form) {
            SetMainForm(nullptr);
            PostQuitMessage(0);
        }
        if (form->releasing_)
            delete form;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return form->WndProc(msg, wParam, lParam);
}

LRESULT Form::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, result))
        return result;
    switch (msg) {
    case WM_COMMAND:
        // Esc and Enter arrive from the dialog keys without a control.
        if (lParam == 0 && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
            if (Control* button = DialogButton(LOWORD(wParam) == IDCANCEL))
                button->Click();
            return 0;
        }
        break;
    case DM_GETDEFID:
        if (Control* button = DialogButton(false))
            return MAKELONG(button->Id(), DC_HASDEFID);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus))
                focusChild_ = focus;
            return 0;
        }
        if (!HIWORD(wParam)) {
            // A plain window forgets its focused control when deactivated; give it back.
            HWND target = focusChild_ && IsWindow(focusChild_) && IsChild(hwnd_, focusChild_)
                              ? focusChild_
                              : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
            if (target)
                ::SetFocus(target);
            if (OnActivate)
                OnActivate();
        }
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            Realign(nullptr);
        return 0;
    case WmRelease:
        DestroyWindow(hwnd_);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

Control* Form::DialogButton(bool cancel) const {
    for (Control* c : controls_) {
        if (!(cancel ? c->IsCancel() : c->IsDefault()))
            continue;
        if (IsWindowVisible(c->Handle()) && IsWindowEnabled(c->Handle()))
            return c;
    }
    return nullptr;
}

std::string Form::Caption() const {
    if (!hwnd_)
        return "";
    char text[512] = "";
    GetWindowTextA(hwnd_, text, sizeof text);
    return text;
}

void Form::SetCaption(const std::string& text) {
    if (hwnd_)
        SetWindowTextA(hwnd_, text.c_str());
}

static RECT WindowBounds(HWND hwnd) {
    RECT r{};
    if (hwnd)
        GetWindowRect(hwnd, &r);
    return r;
}

int Form::Left() const { return WindowBounds(hwnd_).left; }
int Form::Top() const { return WindowBounds(hwnd_).top; }
int Form::Width() const {
    RECT r = WindowBounds(hwnd_);
    return r.right - r.left;
}
int Form::Height() const {
    RECT r = WindowBounds(hwnd_);
    return r.bottom - r.top;
}
int Form::ClientWidth() const {
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r.right;
}
int Form::ClientHeight() const {
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r.bottom;
}

void Form::SetBounds(int left, int top, int width, int height) {
    if (!hwnd_)
        return;
    positioned_ = true;
    if (IsZoomed(hwnd_) || IsIconic(hwnd_)) {
        // A maximized or minimized window keeps its normal placement aside: that is the one to set.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(hwnd_, &wp);
        wp.rcNormalPosition = {left, top, left + width, top + height};
        if (!Visible())
            wp.showCmd = SW_HIDE;
        SetWindowPlacement(hwnd_, &wp);
        return;
    }
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetClientSize(int width, int height) {
    if (!hwnd_)
        return;
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongA(hwnd_, GWL_STYLE), FALSE, GetWindowLongA(hwnd_, GWL_EXSTYLE));
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowState Form::GetWindowState() const {
    if (!hwnd_)
        return WindowState::Normal;
    if (!Visible())
        return pendingState_;
    if (IsZoomed(hwnd_))
        return WindowState::Maximized;
    return IsIconic(hwnd_) ? WindowState::Minimized : WindowState::Normal;
}

void Form::SetWindowState(WindowState state) {
    pendingState_ = state;
    if (!hwnd_ || !Visible())
        return;
    ShowWindow(hwnd_, state == WindowState::Maximized   ? SW_MAXIMIZE
                      : state == WindowState::Minimized ? SW_MINIMIZE
                                                        : SW_RESTORE);
}

void Form::SetBorderIcons(bool systemMenu, bool minimize, bool maximize) {
    if (!hwnd_)
        return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    bool dialog = (GetWindowLongA(hwnd_, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
    if (systemMenu)
        style |= WS_SYSMENU;
    if (minimize && !dialog)
        style |= WS_MINIMIZEBOX;
    if (maximize && !dialog)
        style |= WS_MAXIMIZEBOX;
    SetWindowLongA(hwnd_, GWL_STYLE, style);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Form::SetIcon(HICON icon) {
    if (!hwnd_)
        return;
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Form::ApplyPosition() {
    if (positioned_)
        return;
    positioned_ = true;
    if (position_ == Position::ScreenCenter) {
        int left = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
        int top = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
        SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::Show() {
    if (!hwnd_)
        return;
    ApplyPosition();
    int command = pendingState_ == WindowState::Maximized   ? SW_SHOWMAXIMIZED
                  : pendingState_ == WindowState::Minimized ? SW_SHOWMINIMIZED
                                                            : SW_SHOWNORMAL;
    if (!Visible())
        ShowWindow(hwnd_, command);
    SetForegroundWindow(hwnd_);
    if (activeControl_ && activeControl_->Handle() && IsWindowVisible(activeControl_->Handle()))
        activeControl_->SetFocus();
    UpdateWindow(hwnd_);
}

void Form::Hide() {
    if (!Visible())
        return;
    pendingState_ = GetWindowState();
    ShowWindow(hwnd_, SW_HIDE);
}

void Form::SetActiveControl(Control& control) {
    activeControl_ = &control;
    focusChild_ = control.Handle();
    if (Visible())
        control.SetFocus();
}

bool Form::EndModalAllowed() {
    CloseAction action = CloseAction::Hide;
    if (OnClose)
        OnClose(action);
    if (action == CloseAction::None) {
        modalResult_ = MrNone;
        return false;
    }
    if (action == CloseAction::Free)
        releaseAfterModal_ = true;
    return true;
}

int Form::ShowModal() {
    if (!hwnd_ || modal_)
        return MrNone;
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    HWND previous = GetActiveWindow();
    for (HWND w : disabled)
        if (w != hwnd_)
            EnableWindow(w, FALSE);
    modal_ = true;
    modalResult_ = MrNone;
    releaseAfterModal_ = false;
    EnableWindow(hwnd_, TRUE);
    Show();
    if (ModalHook hook = modalHook)
        hook(*this);
    while (hwnd_) {
        if (modalResult_ != MrNone && EndModalAllowed())
            break;
        MSG msg;
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            if (modalResult_ == MrNone)
                modalResult_ = MrCancel;
            break;
        }
        if (!TranslateDialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Enable the others before hiding, so that activation returns to the window below.
    for (HWND w : disabled)
        if (w != hwnd_ && IsWindow(w))
            EnableWindow(w, TRUE);
    if (previous && previous != hwnd_ && IsWindow(previous))
        SetActiveWindow(previous);
    Hide();
    modal_ = false;
    int result = modalResult_ == MrNone ? MrCancel : modalResult_;
    if (releaseAfterModal_)
        Release();
    return result;
}

void Form::Close() {
    if (!hwnd_)
        return;
    if (modal_) {
        modalResult_ = MrCancel; // the modal loop asks OnClose
        return;
    }
    CloseAction action = CloseAction::Hide;
    if (OnClose)
        OnClose(action);
    if (action == CloseAction::None)
        return;
    if (mainForm == this) {
        DestroyWindow(hwnd_); // the main form's end is the program's end
        return;
    }
    if (action == CloseAction::Free)
        Release();
    else
        Hide();
}

void Form::Release() {
    releasing_ = true;
    if (hwnd_)
        PostMessageA(hwnd_, WmRelease, 0, 0);
    else
        delete this;
}

HWND Form::Tooltip() {
    if (!tooltip_ && hwnd_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   Instance(), nullptr);
        SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    return tooltip_;
}

void Form::Realign(HWND container) {
    if (!hwnd_)
        return;
    if (!container)
        container = hwnd_;
    RECT r;
    GetClientRect(container, &r);
    const Align order[] = {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client};
    for (Align pass : order) {
        for (Control* c : controls_) {
            HWND h = c->Handle();
            if (c->GetAlign() != pass || !h || GetParent(h) != container || !c->Visible())
                continue;
            int w = c->Width(), ht = c->Height();
            switch (pass) {
            case Align::Top:
                MoveWindow(h, r.left, r.top, r.right - r.left, ht, TRUE);
                r.top += ht;
                break;
            case Align::Bottom:
                MoveWindow(h, r.left, r.bottom - ht, r.right - r.left, ht, TRUE);
                r.bottom -= ht;
                break;
            case Align::Left:
                MoveWindow(h, r.left, r.top, w, r.bottom - r.top, TRUE);
                r.left += w;
                break;
            case Align::Right:
                MoveWindow(h, r.right - w, r.top, w, r.bottom - r.top, TRUE);
                r.right -= w;
                break;
            default:
                MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
                break;
            }
        }
    }
}

} // namespace ui
