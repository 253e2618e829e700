// The animation control. The outer window is ours; it holds the system's animation control playing a
// shell clip, or draws its own frames on a timer.
#include "ui/animate.h"

#include <cmath>

namespace ui {

namespace {
constexpr int FrameCount = 16;
constexpr UINT FrameMilliseconds = 70;

// Clip numbers in the shell library, and the size of our own drawing of each.
struct AviInfo {
    int resource;
    int width;
    int height;
};
const AviInfo avis[] = {
    {0, 0, 0}, {160, 272, 60}, {164, 272, 60}, {151, 96, 60}, {150, 96, 60}, {152, 96, 60},
};

// Wine's shell library answers every clip number with one placeholder clip (a "Searching" caption), not
// the animation asked for; there our own drawing shows the real subject.
bool ShellHasClips() {
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return !wine;
}

// The shell library holding the standard clips, loaded once for the process and kept: every control
// playing a clip needs it for as long as it plays.
HMODULE ShellLibrary() {
    static const HMODULE shell = ShellHasClips() ? LoadLibraryA("shell32.dll") : nullptr;
    return shell;
}

void Fill(HDC dc, int l, int t, int r, int b, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{l, t, r, b};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void Box(HDC dc, int l, int t, int r, int b, COLORREF fill) {
    Fill(dc, l, t, r, b, RGB(0, 0, 0));
    Fill(dc, l + 1, t + 1, r - 1, b - 1, fill);
}

void Folder(HDC dc, int x, int y) {
    Box(dc, x, y, x + 14, y + 6, RGB(255, 216, 88));
    Box(dc, x, y + 4, x + 34, y + 26, RGB(255, 216, 88));
    Fill(dc, x + 1, y + 5, x + 33, y + 7, RGB(255, 240, 160));
}

void Sheet(HDC dc, int x, int y) {
    Box(dc, x, y, x + 16, y + 20, RGB(255, 255, 255));
    for (int i = 0; i < 4; ++i)
        Fill(dc, x + 3, y + 4 + i * 4, x + 13, y + 5 + i * 4, RGB(128, 128, 128));
}

void Bin(HDC dc, int x, int y) {
    Box(dc, x - 2, y, x + 30, y + 4, RGB(160, 160, 160));
    Box(dc, x + 2, y + 4, x + 26, y + 30, RGB(192, 192, 192));
    for (int i = 1; i < 4; ++i)
        Fill(dc, x + 2 + i * 6, y + 8, x + 3 + i * 6, y + 26, RGB(96, 96, 96));
}

void Monitor(HDC dc, int x, int y) {
    Box(dc, x, y, x + 34, y + 24, RGB(192, 192, 192));
    Fill(dc, x + 4, y + 4, x + 30, y + 20, RGB(0, 96, 160));
    Box(dc, x + 10, y + 26, x + 24, y + 30, RGB(192, 192, 192));
}

void Magnifier(HDC dc, int cx, int cy) {
    HPEN handle = CreatePen(PS_SOLID, 4, RGB(136, 80, 24));
    HGDIOBJ oldPen = SelectObject(dc, handle);
    MoveToEx(dc, cx + 6, cy + 6, nullptr);
    LineTo(dc, cx + 13, cy + 13);
    SelectObject(dc, oldPen);
    DeleteObject(handle);
    HPEN rim = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    HBRUSH glass = CreateSolidBrush(RGB(150, 210, 255));
    oldPen = SelectObject(dc, rim);
    HGDIOBJ oldBrush = SelectObject(dc, glass);
    Ellipse(dc, cx - 9, cy - 9, cx + 9, cy + 9);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(glass);
    DeleteObject(rim);
}

// One frame of our own drawing of an animation, in a width x height box.
void DrawFrame(HDC dc, CommonAvi avi, int frame, int width, int height) {
    double t = static_cast<double>(frame) / (FrameCount - 1);
    int top = (height - 30) / 2;
    switch (avi) {
    case CommonAvi::CopyFiles:
    case CommonAvi::DeleteFile: {
        Folder(dc, 16, top + 2);
        if (avi == CommonAvi::CopyFiles)
            Folder(dc, width - 52, top + 2);
        else
            Bin(dc, width - 46, top);
        int x = 26 + static_cast<int>(t * (width - 82));
        int y = top - 4 - static_cast<int>(std::sin(t * 3.14159) * (top - 2)) + 8;
        Sheet(dc, x, y);
        break;
    }
    case CommonAvi::FindFile:
    case CommonAvi::FindFolder:
    case CommonAvi::FindComputer: {
        int cx = width / 2;
        if (avi == CommonAvi::FindFile)
            Sheet(dc, cx - 8, top + 4);
        else if (avi == CommonAvi::FindFolder)
            Folder(dc, cx - 17, top + 2);
        else
            Monitor(dc, cx - 17, top);
        double angle = t * 2 * 3.14159;
        Magnifier(dc, cx + static_cast<int>(std::cos(angle) * 16), top + 14 + static_cast<int>(std::sin(angle) * 8));
        break;
    }
    case CommonAvi::None:
        break;
    }
}
} // namespace

Animate::~Animate() {
    if (brush_)
        DeleteObject(brush_);
}

Control::WindowKind Animate::Kind(const Row&) const {
    RegisterWindowClass("SetupAnimate", Proc);
    return {"SetupAnimate", WS_CLIPCHILDREN, 0};
}

void Animate::SetCommonAvi(CommonAvi avi) {
    if (!hwnd_)
        return;
    Stop();
    avi_ = avi;
    frame_ = 0;
    if (clip_) {
        DestroyWindow(clip_);
        clip_ = nullptr;
    }
    if (avi == CommonAvi::None)
        return;
    const AviInfo& info = avis[static_cast<int>(avi)];
    HMODULE shell = ShellLibrary();
    if (shell)
        clip_ = CreateWindowExA(0, ANIMATE_CLASSA, "", WS_CHILD | ACS_TRANSPARENT, 0, 0, info.width, info.height,
                                hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (clip_ && shell &&
        SendMessageA(clip_, ACM_OPENA, reinterpret_cast<WPARAM>(shell), reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(info.resource)))) {
        RECT r;
        GetWindowRect(clip_, &r); // the system control takes the clip's size
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(clip_, SW_SHOWNA);
    } else {
        if (clip_)
            DestroyWindow(clip_);
        clip_ = nullptr;
        SetWindowPos(hwnd_, nullptr, 0, 0, info.width, info.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Stop();
}

void Animate::Play() {
    if (!hwnd_ || avi_ == CommonAvi::None)
        return;
    active_ = true;
    if (clip_)
        SendMessageA(clip_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF));
    else
        SetTimer(hwnd_, 1, FrameMilliseconds, nullptr);
}

void Animate::Stop() {
    if (!hwnd_)
        return;
    active_ = false;
    KillTimer(hwnd_, 1);
    if (clip_) {
        SendMessageA(clip_, ACM_STOP, 0, 0);
        SendMessageA(clip_, ACM_PLAY, 1, MAKELONG(StopFrame, StopFrame)); // shows the stop frame
    } else {
        frame_ = StopFrame % FrameCount;
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Animate::Tick() {
    frame_ = (frame_ + 1) % FrameCount;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Animate::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    // Drawn off screen and copied in one go, so the frames do not flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Fill(memory, 0, 0, r.right, r.bottom, Color == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : Color);
    if (!clip_)
        DrawFrame(memory, avi_, frame_, r.right, r.bottom);
    BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK Animate::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = static_cast<Animate*>(FromHandle(hwnd));
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        self->Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        self->Tick();
        return 0;
    case WM_CTLCOLORSTATIC: // the system control's transparent background
        if (self->Color == CLR_INVALID)
            break;
        if (!self->brush_)
            self->brush_ = CreateSolidBrush(self->Color);
        SetBkColor(reinterpret_cast<HDC>(wParam), self->Color);
        return reinterpret_cast<LRESULT>(self->brush_);
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace ui
