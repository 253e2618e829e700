// The preview window on real windows: a kind Y and a kind P file opened, the mouse moved over the chart
// with real input, Esc and the close box, resizing, and the placement kept for the next file.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "convert/preview_win32.h"
#include "datagen/sample_data.h"
#include "support/screens_win32.h"
#include "support/temp_dir.h"

namespace {

using testsupport::HookGuard;

// A file whose first columns draw smooth curves with some noise.
std::string Curves(char kind, int64_t records) {
    sampledata::SampleSpec spec;
    spec.Kind = kind;
    spec.Records = records;
    spec.XStep = 0.01f;
    spec.XStart = -500;
    int reals = sampledata::ShapeOf(kind, 20).Reals;
    for (int64_t r = 0; r < records; ++r)
        for (int c = 0; c < reals; ++c)
            spec.Reals.push_back(std::sin(r / 300.0 * (c + 1)) * (c + 1) + ((r * 7919) % 13) / 40.0 + c);
    return sampledata::Bytes(spec);
}

// Moves the real mouse to a point of a window's client area and waits for the status line to change.
std::string MouseAt(TFormPreview& preview, int x, int y) {
    POINT p{x, y};
    ClientToScreen(preview.Chart.Handle(), &p);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(p.x * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>(p.y * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    std::string before = preview.Status.SimpleText();
    SendInput(1, &input, sizeof input);
    for (int waited = 0; waited < 3000 && preview.Status.SimpleText() == before; waited += 50)
        testsupport::PumpMessages(50);
    return preview.Status.SimpleText();
}

TEST(PreviewWindow, ShowsCurvesHeaderAndTheValueUnderTheMouse) {
    testsupport::TempDir dir("preview");
    dir.Write("SCAN.Y01", Curves('Y', 3000));
    dir.Write("SWEEP.P01", Curves('P', 2500));
    dir.Write("NOTES.K01", "just some text");

    // Y: one curve over x; the mouse in the middle of the frame reads x near 0 and the curve's value.
    bool ran = false;
    HookGuard y([&](ui::Form& form) {
        auto& p = static_cast<TFormPreview&>(form);
        ran = true;
        testsupport::PumpMessages(200);
        EXPECT_EQ(p.Caption(), "Preview - SCAN.Y01");
        EXPECT_NE(p.LabelIdent.Caption().find("Records: 3000"), std::string::npos) << p.LabelIdent.Caption();
        EXPECT_EQ(p.Fields.Count(), static_cast<int>(p.Look().Header.size()));
        EXPECT_EQ(p.Fields.Cell(p.Fields.Count() - 5, 0), "XStep");
        EXPECT_FALSE(p.ListCols.Visible());
        ASSERT_EQ(p.Data().Series.size(), 1u);
        ChartScale s = p.Chart.Scale();
        std::string status =
            MouseAt(p, (s.Frame.Left + s.Frame.Right) / 2, (s.Frame.Top + s.Frame.Bottom) / 2);
        EXPECT_EQ(status.rfind("x ", 0), 0u) << status;
        EXPECT_NE(status.find("    y: "), std::string::npos) << status;
        testsupport::SaveScreenshot(p.Handle(), "preview_kind_y");
        p.SetBounds(60, 50, 640, 400); // the next preview opens here
        testsupport::PumpMessages(100);
        EXPECT_GT(p.Chart.Width(), 200);
        PostMessageA(p.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    ShowPreview(nullptr, dir / "SCAN.Y01");
    EXPECT_TRUE(ran);

    // P: the first column by default, then two columns chosen in the list; a second size redraws.
    HookGuard pHook([&](ui::Form& form) {
        auto& p = static_cast<TFormPreview&>(form);
        testsupport::PumpMessages(200);
        EXPECT_EQ(p.Left(), 60);
        EXPECT_EQ(p.Width(), 640);
        EXPECT_TRUE(p.ListCols.Visible());
        EXPECT_EQ(p.ListCols.Count(), 37);
        EXPECT_EQ(p.Data().Series.size(), 1u);
        p.SetBounds(40, 30, 900, 560);
        p.ListCols.SetSelected(2, true);
        p.ListColsClick();
        ASSERT_EQ(p.Data().Series.size(), 2u);
        EXPECT_EQ(p.Data().Series[1].Name, "Value 3");
        ChartScale s = p.Chart.Scale();
        std::string status = MouseAt(p, s.Frame.Left + s.Frame.Width() / 3, s.Frame.Top + 20);
        EXPECT_EQ(status.rfind("record ", 0), 0u) << status;
        EXPECT_NE(status.find("    Value 3: "), std::string::npos) << status;
        testsupport::SaveScreenshot(p.Handle(), "preview_kind_p");
        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
    });
    ShowPreview(nullptr, dir / "SWEEP.P01");

    // A file that is no data file says so in place of the chart.
    HookGuard bad([&](ui::Form& form) {
        auto& p = static_cast<TFormPreview&>(form);
        EXPECT_NE(p.Chart.Empty.find("not a data file"), std::string::npos) << p.Chart.Empty;
        EXPECT_EQ(p.Fields.Count(), 0);
        testsupport::PumpMessages(100);
        testsupport::SaveScreenshot(p.Handle(), "preview_rejected");
        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
    });
    ShowPreview(nullptr, dir / "NOTES.K01");
}

} // namespace
