// The conversion window on real windows: what each mode shows, its stop boxes, the list after an edit,
// the overwrite question during a run, a typed delimiter kept in VexaAsc.CFA.
// The preview window: a kind Y and a kind P file opened, the mouse moved over the chart with real
// input, Esc and the close box.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "browse/winmanager.h"
#include "convert/convwindow_win32.h"
#include "convert/preview_win32.h"
#include "datagen/sample_data.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/temp_dir.h"
#include "support/wine_win32.h"

namespace {

namespace fs = std::filesystem;

class ConvWindow : public testing::Test {
  protected:
    void SetUp() override {
        fs::remove(settings);
        ResetChildWins();
        for (char kind : std::string("KYPTVAQ")) {
            sampledata::SampleSpec spec;
            spec.Kind = kind;
            spec.Attachment = kind == 'T';
            spec.Records = kind == 'A' ? 2 : 15;
            sampledata::WriteFile(spec, dir / (std::string("RUN.") + kind + "01"));
        }
        Open();
    }
    void Open() {
        form = std::make_unique<TFormConv>();
        form->Show();
        form->FormActivate(); // as on the first activation, in case the display gave none yet
        form->StrEditS1.SetText(dir.Path());
        form->RefreshList();
    }

    testsupport::TempDir dir{"convwin"};
    std::string settings = JoinFile(testsupport::TestProgramDir(), "VexaAsc.CFA");
    testsupport::ScopedFile keep{settings};
    std::unique_ptr<TFormConv> form;
};

TEST_F(ConvWindow, EachModeShowsItsOptions) {
    EXPECT_EQ(form->FileBox.Count(), 7);
    for (int mode : {0, 1, 2}) {
        SendMessageA(form->RadioGroupC.Button(mode).Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(form->StrEditO9.Visible(), mode == 2);
        EXPECT_EQ(form->ModeBoxO0.Enabled(), mode == 1);
        EXPECT_EQ(form->ComboBoxO1.Enabled(), mode == 2); // mode 1 with "one" has no columns to delimit
        EXPECT_EQ(form->SpinEditO3.Enabled(), mode != 0);
        testsupport::SaveScreenshot(form->Handle(), "convwindow_mode" + std::to_string(mode));
    }
    EXPECT_FALSE(form->StrEditO9.Enabled());
    SendMessageA(form->CheckBoxO9.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form->StrEditO9.Enabled());
}

TEST_F(ConvWindow, StopBoxesAndTheListAfterAnEdit) {
    testsupport::ScriptedPrompter prompter;
    prompter.Answer(ui::IdOk).Answer(ui::IdOk);
    form->ConvertMarked(false);
    SendMessageA(form->RadioD0.Handle(), BM_CLICK, 0, 0);
    form->ConvertMarked(true);
    ASSERT_EQ(prompter.Boxes.size(), 2u);
    EXPECT_EQ(prompter.Boxes[0].Caption + "|" + prompter.Boxes[0].Text, "No files|No files are marked");
    EXPECT_EQ(prompter.Boxes[1].Caption, "Input error");
    EXPECT_EQ(prompter.Boxes[1].Text, "Soure and destination path\r\nand extensions are identical!\r\n"
                                      "The binary files would be overwritten.\r\nPlease change your input.");

    SendMessageA(form->RadioD1.Handle(), BM_CLICK, 0, 0);
    form->StrEditS2.SetText("*.K*");
    EXPECT_EQ(form->FileBox.Count(), 0);
    form->ConvertMarked(true); // the list of the new mask, without "Refresh list"
    EXPECT_EQ(form->FileBox.Count(), 1);
    EXPECT_TRUE(fs::exists(dir / "RUN.K01.TXT"));
    EXPECT_FALSE(fs::exists(dir / "RUN.Y01.TXT"));
}

// A run over existing destinations asks once, at the first one, and All overwrites the rest.
TEST_F(ConvWindow, OverwriteAllDuringARun) {
    form->ConvertMarked(true);
    std::string first = dir / (form->FileBox.Item(0) + ".TXT");
    fs::remove(first);
    fs::resize_file(dir / (form->FileBox.Item(6) + ".TXT"), 0);
    testsupport::ScriptedPrompter prompter;
    prompter.Answer(ui::IdAll);
    form->ConvertMarked(true);
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Caption, dir / (form->FileBox.Item(1) + ".TXT"));
    EXPECT_TRUE(fs::exists(first));
    EXPECT_GT(fs::file_size(dir / (form->FileBox.Item(6) + ".TXT")), 0u);
}

TEST_F(ConvWindow, TypedDelimiterSurvivesReopening) {
    form->ComboBoxO1.SetText("");
    SendMessageA(GetWindow(form->ComboBoxO1.Handle(), GW_CHILD), WM_CHAR, '|', 1); // typed into its edit
    form->Close();
    ResetConvSettings();
    Open();
    EXPECT_EQ(form->ComboBoxO1.Text(), "|");
    EXPECT_EQ(form->ComboBoxO1.ItemIndex(), -1);
    EXPECT_EQ(TextFormatSettings.DelimiterCode, '|');
}

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
    for (int waited = 0; waited < 10000 && preview.Status.SimpleText() == before; waited += 50)
        testsupport::PumpMessages(50);
    return preview.Status.SimpleText();
}

TEST(PreviewWindow, ShowsCurvesHeaderAndTheValueUnderTheMouse) {
    testsupport::TempDir dir("preview");
    dir.Write("SCAN.Y01", Curves('Y', 3000));
    dir.Write("SWEEP.P01", Curves('P', 2500));

    // Y: one curve over x; the mouse in the middle of the frame reads x near 0 and the curve's value.
    bool ran = false;
    testsupport::HookGuard y([&](ui::Form& form) {
        auto& p = static_cast<TFormPreview&>(form);
        ran = true;
        testsupport::PumpMessages(200);
        EXPECT_NE(p.LabelIdent.Caption().find("Records: 3000"), std::string::npos) << p.LabelIdent.Caption();
        EXPECT_EQ(p.Fields.Count(), static_cast<int>(p.Look().Header.size()));
        ASSERT_EQ(p.Data().Series.size(), 1u);
        ChartScale s = p.Chart.Scale();
        std::string status =
            MouseAt(p, (s.Frame.Left + s.Frame.Right) / 2, (s.Frame.Top + s.Frame.Bottom) / 2);
        EXPECT_EQ(status.rfind("x ", 0), 0u) << status;
        EXPECT_NE(status.find("    y: "), std::string::npos) << status;
        testsupport::SaveScreenshot(p.Handle(), "preview_kind_y");
        PostMessageA(p.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    ShowPreview(nullptr, dir / "SCAN.Y01");
    EXPECT_TRUE(ran);

    // P: the first column by default, then two columns chosen in the list.
    testsupport::HookGuard pHook([&](ui::Form& form) {
        auto& p = static_cast<TFormPreview&>(form);
        testsupport::PumpMessages(200);
        EXPECT_EQ(p.ListCols.Count(), 37);
        EXPECT_EQ(p.Data().Series.size(), 1u);
        p.ListCols.SetSelected(2, true);
        p.ListColsClick();
        ASSERT_EQ(p.Data().Series.size(), 2u);
        ChartScale s = p.Chart.Scale();
        std::string status = MouseAt(p, s.Frame.Left + s.Frame.Width() / 3, s.Frame.Top + 20);
        EXPECT_EQ(status.rfind("record ", 0), 0u) << status;
        EXPECT_NE(status.find("    Value 3: "), std::string::npos) << status;
        testsupport::SaveScreenshot(p.Handle(), "preview_kind_p");
        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
    });
    ShowPreview(nullptr, dir / "SWEEP.P01");
}

} // namespace
