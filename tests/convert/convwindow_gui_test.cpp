// The conversion window on real windows: what each mode shows, its stop boxes, the list after an edit,
// the overwrite question during a run, destinations that are their sources, a typed delimiter kept in
// VexaAsc.CFA and a save that fails.
// The preview window: a kind P file opened, columns chosen, Esc.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

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

// A run whose destinations would open their own sources stops with the input error before a file is
// touched, and no overwrite question comes: "input" with an empty or blank extension (MEAS.K01. opens
// MEAS.K01), and the source folder chosen as destination under its short name.
TEST_F(ConvWindow, NeverWritesOntoItsSource) {
    char shortDir[MAX_PATH] = "";
    ASSERT_GT(GetShortPathNameA(dir.Path().c_str(), shortDir, MAX_PATH), 0u);
    ASSERT_STRCASENE(shortDir, dir.Path().c_str());
    const std::string binary = testsupport::ReadBytes(dir / "RUN.K01");
    // mode, extension choice, extension, destination folder ("" as source)
    const std::tuple<int, ui::RadioButton*, const char*, const char*> runs[] = {
        {1, &form->RadioD2, "", ""}, {2, &form->RadioD2, " ", ""}, {1, &form->RadioD0, "", shortDir}};
    for (const auto& [mode, extChoice, extension, destDir] : runs) {
        SCOPED_TRACE(testing::Message() << mode << " \"" << extension << "\" " << destDir);
        testsupport::ScriptedPrompter prompter;
        prompter.Answer(ui::IdOk);
        SendMessageA(form->RadioGroupC.Button(mode).Handle(), BM_CLICK, 0, 0);
        SendMessageA(extChoice->Handle(), BM_CLICK, 0, 0);
        form->StrEditD2.SetText(extension);
        form->CheckBoxD.SetChecked(*destDir != 0);
        form->StrEditD1.SetText(destDir);
        form->ConvertMarked(true);
        ASSERT_EQ(prompter.Boxes.size(), 1u);
        EXPECT_EQ(prompter.Boxes[0].Caption, "Input error");
        EXPECT_EQ(testsupport::ReadBytes(dir / "RUN.K01"), binary);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 7); // nothing new
    }
}

// Closing saves the options; a save that fails leaves the old file as it was and says so.
TEST_F(ConvWindow, FailedSaveIsTold) {
    testsupport::WriteBytes(settings, "old");
    testsupport::ScriptedPrompter prompter;
    prompter.Answer(ui::IdOk);
    ArmFsFault(1, FsDiskFull); // the first file operation of closing creates the new file
    form->Close();
    ArmFsFault(0, FsOk);
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Caption + "|" + prompter.Boxes[0].Text, "File error 112|" + settings);
    EXPECT_EQ(testsupport::ReadBytes(settings), "old");
}

TEST_F(ConvWindow, TypedDelimiterSurvivesReopening) {
    form->ComboBoxO1.SetText("");
    SendMessageA(GetWindow(form->ComboBoxO1.Handle(), GW_CHILD), WM_CHAR, '|', 1); // typed into its edit
    form->Close();
    ResetConvSettings();
    Open();
    EXPECT_EQ(form->ComboBoxO1.Text(), "|");
    EXPECT_EQ(TextFormatSettings.DelimiterCode, '|');
}

// A kind P file: its header, the first column by default, then two columns chosen in the list; Esc
// closes the window.
TEST(PreviewWindow, ShowsHeaderAndChosenColumns) {
    testsupport::TempDir dir("preview");
    sampledata::WriteFile({.Kind = 'P', .Records = 3000, .Reals = {}, .Ints = {}}, dir / "SWEEP.P01");
    bool ran = false;
    testsupport::HookGuard hook([&](ui::Form& form) {
        auto& p = static_cast<TFormPreview&>(form);
        ran = true;
        testsupport::PumpMessages(200);
        EXPECT_NE(p.LabelIdent.Caption().find("Records: 3000"), std::string::npos) << p.LabelIdent.Caption();
        EXPECT_EQ(p.Fields.Count(), static_cast<int>(p.Look().Header.size()));
        EXPECT_EQ(p.ListCols.Count(), 37);
        EXPECT_EQ(p.Data().Series.size(), 1u);
        p.ListCols.SetSelected(2, true);
        p.ListColsClick();
        ASSERT_EQ(p.Data().Series.size(), 2u);
        EXPECT_EQ(p.Data().Series[1].Name, "Value 3");
        testsupport::SaveScreenshot(p.Handle(), "preview_kind_p");
        PostMessageA(p.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    ShowPreview(nullptr, dir / "SWEEP.P01");
    EXPECT_TRUE(ran);
}

} // namespace
