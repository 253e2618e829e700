// The preview window and its chart.
#include "convert/preview_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "convert/convnames.h"
#include "lib/forms_win32.h"

namespace {

constexpr int FieldsWidth = 250;  // the header list beside the chart
constexpr int ChooserWidth = 96;  // the column list of kinds P, T, V and A
constexpr int TopHeight = 44;     // name and identification
constexpr UINT WmPreviewMouse = WM_APP + 20;

// Placement of the preview for the run, shared by every file looked at.
FormGeometry previewGeometry{};

COLORREF Gdi(uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void TextAt(HDC dc, int x, int y, const std::string& text, UINT align) {
    SetTextAlign(dc, align);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

std::string Short(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

} // namespace

// ---- Chart ----------------------------------------------------------------------------------------

ui::Control::WindowKind TPreviewChart::Kind(const ui::Row&) const {
    ui::RegisterWindowClass("SetupPreviewChart", Proc, CS_HREDRAW | CS_VREDRAW);
    return {"SetupPreviewChart", 0, WS_EX_CLIENTEDGE};
}

ChartScale TPreviewChart::Scale() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    static const ChartData none;
    return ScaleFor(Data ? *Data : none, FrameFor(r.right, r.bottom));
}

LRESULT CALLBACK TPreviewChart::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TPreviewChart*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* chart = static_cast<TPreviewChart*>(FromHandle(hwnd));
    if (!chart) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the whole client area is painted from the bitmap
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1L, r.right), std::max(1L, r.bottom));
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        chart->Paint(memory, r.right, r.bottom);
        BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (chart->OnMouseMove) chart->OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void TPreviewChart::Paint(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldFont = SelectObject(dc, form_ ? form_->Font() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    double low, high;
    if (!Data || !Data->ValueRange(low, high)) {
        TextAt(dc, width / 2, height / 2 - 8, Empty, TA_CENTER | TA_TOP);
        SelectObject(dc, oldFont);
        return;
    }
    ChartScale s = Scale();
    const ChartFrame& f = s.Frame;
    HPEN grid = CreatePen(PS_SOLID, 1, RGB(228, 228, 228));
    HGDIOBJ oldPen = SelectObject(dc, grid);
    for (double t : s.XTicks) {
        int x = static_cast<int>(std::lround(s.PX(t)));
        MoveToEx(dc, x, f.Top, nullptr);
        LineTo(dc, x, f.Bottom);
        TextAt(dc, x, f.Bottom + 4, TickText(t, s.XStep), TA_CENTER | TA_TOP);
    }
    for (double t : s.YTicks) {
        int y = static_cast<int>(std::lround(s.PY(t)));
        MoveToEx(dc, f.Left, y, nullptr);
        LineTo(dc, f.Right, y);
        TextAt(dc, f.Left - 5, y - 7, TickText(t, s.YStep), TA_RIGHT | TA_TOP);
    }
    TextAt(dc, (f.Left + f.Right) / 2, f.Bottom + 20, Data->XTitle, TA_CENTER | TA_TOP);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, f.Left, f.Top, f.Right + 1, f.Bottom + 1);

    // Series and legend, the lines clipped to the frame.
    int legendX = f.Left;
    std::vector<POINT> points;
    for (size_t i = 0; i < Data->Series.size(); ++i) {
        const ChartSeries& series = Data->Series[i];
        HPEN pen = CreatePen(PS_SOLID, 1, Gdi(SeriesColour(static_cast<int>(i))));
        SelectObject(dc, pen);
        points.clear();
        for (const ChartPoint& p : series.Points)
            points.push_back({static_cast<LONG>(std::lround(s.PX(Data->XAt(static_cast<double>(p.Index))))),
                              static_cast<LONG>(std::lround(s.PY(p.Value)))});
        SaveDC(dc);
        IntersectClipRect(dc, f.Left, f.Top, f.Right + 1, f.Bottom + 1);
        if (points.size() == 1) points.push_back({points[0].x + 1, points[0].y});
        if (!points.empty()) Polyline(dc, points.data(), static_cast<int>(points.size()));
        RestoreDC(dc, -1);
        MoveToEx(dc, legendX, f.Top - 12, nullptr);
        LineTo(dc, legendX + 16, f.Top - 12);
        SIZE size{};
        GetTextExtentPoint32A(dc, series.Name.c_str(), static_cast<int>(series.Name.size()), &size);
        TextAt(dc, legendX + 20, f.Top - 19, series.Name, TA_LEFT | TA_TOP);
        legendX += 32 + size.cx;
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    SelectObject(dc, oldPen);
    DeleteObject(grid);
    SelectObject(dc, oldFont);
}

// ---- Header list -----------------------------------------------------------------------------------

ui::Control::WindowKind TFieldList::Kind(const ui::Row&) const {
    return {WC_LISTVIEWA, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
            WS_EX_CLIENTEDGE};
}

void TFieldList::Created(const ui::Row& row) {
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const char* titles[] = {"Field", "Value"};
    int widths[] = {110, row.width - 114 - GetSystemMetrics(SM_CXVSCROLL)};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(titles[i]);
        column.cx = widths[i];
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void TFieldList::SetFields(const std::vector<LookField>& fields) {
    SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
    for (const LookField& f : fields) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = Count();
        item.pszText = const_cast<char*>(f.Name.c_str());
        int row = static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        item.iItem = row;
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(f.Value.c_str());
        SendMessageA(hwnd_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}

int TFieldList::Count() const {
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}

std::string TFieldList::Cell(int row, int column) const {
    char text[256] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(hwnd_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// ---- Window ----------------------------------------------------------------------------------------

TFormPreview::TFormPreview() {
    Create({.caption = "Preview", .clientWidth = 760, .clientHeight = 460, .border = ui::Border::Sizeable});
    Build({
        {.control = &LabelName, .left = 8, .top = 6, .options = ui::opt::Bold},
        {.control = &LabelIdent, .left = 8, .top = 24},
        {.control = &Status},
        {.control = &LabelBlock, .left = 8, .top = TopHeight, .caption = "Block", .options = ui::opt::Hidden},
        {.control = &SpinBlock, .left = 8, .top = TopHeight + 16, .width = ChooserWidth, .height = 21,
         .options = ui::opt::Hidden},
        {.control = &LabelCols, .left = 8, .top = TopHeight, .caption = "Columns", .options = ui::opt::Hidden},
        {.control = &ListCols, .left = 8, .top = TopHeight + 16, .width = ChooserWidth, .height = 200,
         .options = ui::opt::MultiSelect | ui::opt::Hidden},
        {.control = &Chart, .top = TopHeight, .width = 100, .height = 100},
        {.control = &Fields, .top = TopHeight, .width = FieldsWidth, .height = 100},
    });
    ListCols.OnClick = [this] { ListColsClick(); };
    SpinBlock.OnChange = [this] { SpinBlockChange(); };
    Chart.OnMouseMove = [this](int x, int y) { ChartMouseMove(x, y); };
}

void TFormPreview::ShowFile(const std::string& path) {
    file_.Open(path);
    const DataLook& look = file_.Look();
    SetCaption("Preview - " + std::string(NameOf(path)));
    LabelName.SetCaption(path);
    std::string ident = look.Ident;
    for (const LookField& f : LookSummary(look))
        if (f.Name != "File" && f.Name != "Identification" && f.Name != "Kind")
            ident += "    " + f.Name + ": " + f.Value;
    LabelIdent.SetCaption(ident);
    Fields.SetFields(look.Header);
    columns_ = DefaultColumns(look);
    block_ = 1;
    ListCols.Clear();
    if (Chooser()) {
        for (int c = 1; c <= look.Columns(); ++c) ListCols.AddItem(ColumnName(look, c));
        ListCols.SetSelected(0, true);
    }
    bool blocks = Chooser() && look.Kind == 'A';
    SpinBlock.SetValue(1);
    ShowControls(Chooser(), {&LabelCols, &ListCols});
    ShowControls(blocks, {&LabelBlock, &SpinBlock});
    Chart.Empty = !look.Readable()    ? "This file cannot be shown: " + look.Problem
                  : !look.Note.empty() ? "No chart: " + look.Note
                                       : "The file holds no values to draw.";
    ReadChart();
    Arrange();
}

bool TFormPreview::Chooser() const {
    char kind = file_.Look().Kind;
    return file_.Look().HasData() && (kind == 'P' || kind == 'T' || kind == 'V' || kind == 'A');
}

// The chart is decimated once to the screen's width, so it redraws at any window size without reading
// the file again.
void TFormPreview::ReadChart() {
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    data_ = file_.Chart(columns_, block_, std::max(640, GetSystemMetrics(SM_CXVIRTUALSCREEN)));
    SetCursor(old);
    Chart.Data = &data_;
    if (data_.Series.empty() && file_.Look().HasData()) Chart.Empty = "Choose the columns to draw in the list.";
    InvalidateRect(Chart.Handle(), nullptr, FALSE);
    Status.SetSimpleText(data_.Cut ? "The file ends early: the chart shows the values read." : "");
}

void TFormPreview::Arrange() {
    int width = ClientWidth();
    int height = ClientHeight() - (Status.Visible() ? Status.Height() : 0);
    int left = 8;
    if (Chooser()) {
        int top = TopHeight;
        if (SpinBlock.Visible()) {
            LabelBlock.SetBounds(8, top, ChooserWidth, 16);
            SpinBlock.SetBounds(8, top + 16, ChooserWidth, 21);
            top += 44;
        }
        LabelCols.SetBounds(8, top, ChooserWidth, 16);
        ListCols.SetBounds(8, top + 16, ChooserWidth, std::max(40, height - top - 20));
        left += ChooserWidth + 6;
    }
    int fieldsLeft = std::max(left + 120, width - FieldsWidth - 8);
    Chart.SetBounds(left, TopHeight, fieldsLeft - left - 6, std::max(40, height - TopHeight - 4));
    Fields.SetBounds(fieldsLeft, TopHeight, width - fieldsLeft - 8, std::max(40, height - TopHeight - 4));
}

void TFormPreview::ListColsClick() {
    columns_.clear();
    for (int i = 0; i < ListCols.Count(); ++i)
        if (ListCols.Selected(i)) columns_.push_back(i + 1);
    ReadChart();
}

void TFormPreview::SpinBlockChange() {
    int blocks = static_cast<int>(std::min<int64_t>(file_.Look().Records, 1 << 30));
    int block = SpinBlock.Value();
    if (block > blocks) {
        SpinBlock.SetValue(blocks); // comes back here
        return;
    }
    if (block == block_) return;
    block_ = block;
    ReadChart();
}

// The status line: x and y under the mouse, and each series' value there (the smallest and largest
// where one pixel column holds several records).
void TFormPreview::ChartMouseMove(int x, int y) {
    ChartScale s = Chart.Scale();
    const ChartFrame& f = s.Frame;
    if (data_.Series.empty() || data_.Count == 0 || x < f.Left || x > f.Right || y < f.Top || y > f.Bottom) {
        Status.SetSimpleText("");
        return;
    }
    auto indexAt = [&](double px) {
        double i = (s.XOfPixel(px) - data_.X0) / data_.DX;
        return std::clamp<int64_t>(std::llround(i), 0, data_.Count - 1);
    };
    int64_t a = indexAt(x - 0.5), b = indexAt(x + 0.5);
    if (a > b) std::swap(a, b);
    double yValue = s.YLow + (f.Bottom - y) / static_cast<double>(f.Height()) * (s.YHigh - s.YLow);
    std::string text = data_.XTitle.substr(0, data_.XTitle.find(' ')) + " " +
                       (file_.Look().Kind == 'Y' ? Short(data_.XAt(static_cast<double>(a)))
                                                 : std::to_string(a + 1)) +
                       "    (pointer at " + Short(yValue) + ")";
    for (const ChartSeries& series : data_.Series) {
        auto less = [](const ChartPoint& p, int64_t i) { return p.Index < i; };
        auto first = std::lower_bound(series.Points.begin(), series.Points.end(), a, less);
        auto last = std::lower_bound(first, series.Points.end(), b + 1, less);
        if (first == last) { // no kept point on this pixel: the one before it carries the line
            if (first == series.Points.begin()) continue;
            last = first--;
        }
        auto [lo, hi] = std::minmax_element(first, last, [](auto& p, auto& q) { return p.Value < q.Value; });
        text += "    " + series.Name + ": " + Short(lo->Value);
        if (hi->Value != lo->Value) text += " .. " + Short(hi->Value);
    }
    Status.SetSimpleText(text);
}

LRESULT TFormPreview::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam == 0 && LOWORD(wParam) == IDCANCEL) {
        Close(); // Esc
        return 0;
    }
    LRESULT result = ui::Form::WndProc(msg, wParam, lParam);
    if (msg == WM_SIZE && wParam != SIZE_MINIMIZED) Arrange();
    if (msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {480, 300};
    }
    return result;
}

void ShowPreview(HWND owner, const std::string& path) {
    TFormPreview* form = nullptr;
    CreateKindForm(KindUnrecorded, form); // not the most recent creation: no window manager takes it
    form->ShowFile(path);
    if (owner) SetWindowLongPtrA(form->Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    PlaceForm(*form, previewGeometry);
    form->ShowModal();
    SaveGeometry(*form, previewGeometry);
    ReleaseForm(form);
}
