// The conversion window on real windows: what each mode shows, its stop boxes, the list after an edit,
// the overwrite question during a run, a typed delimiter kept in VexaAsc.CFA, its folder buttons and
// the preview opened from the list.
#include <gtest/gtest.h>

#include <filesystem>

#include "browse/winmanager.h"
#include "convert/convwindow_win32.h"
#include "datagen/sample_data.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/temp_dir.h"
#include "support/wine_win32.h"

namespace {

namespace fs = std::filesystem;

// Answers the overwrite question with All, any other box with OK, and notes what the window showed at that
// moment.
class WatchingPrompter final : public ui::Prompter {
  public:
    explicit WatchingPrompter(std::unique_ptr<TFormConv>& form) : form_(form) { ui::SetPrompter(this); }
    ~WatchingPrompter() override { ui::SetPrompter(nullptr); }
    int Ask(const std::string& caption, const std::string& text, unsigned flags) override {
        Seen.push_back(caption + "|" + text + "|" + (form_->FileBox.Visible() ? "list" : "") +
                       (form_->BtnAll.Enabled() || form_->ButtonS1.Enabled() ? "buttons" : "") +
                       (form_->OutBox.Visible() ? "out:" + form_->OutBox.Caption() : ""));
        return (flags & ui::ButtonMask) == ui::BtnYesNoCancelAll ? ui::IdAll : ui::IdOk;
    }
    std::vector<std::string> Seen;

  private:
    std::unique_ptr<TFormConv>& form_;
};

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
        bool col = mode == 2;
        EXPECT_EQ(form->LabelO9.Visible(), col);
        EXPECT_EQ(form->StrEditO9.Visible(), col);
        EXPECT_EQ(form->ModeBoxO0.Visible(), !col);
        EXPECT_EQ(form->CheckBoxO9.Enabled(), col);
        EXPECT_EQ(form->ModeBoxO0.Enabled(), mode == 1);
        EXPECT_EQ(form->ComboBoxO1.Enabled(), col); // mode 1 with "one" has no columns to delimit
        EXPECT_EQ(form->SpinEditO3.Enabled(), mode != 0);
        EXPECT_FALSE(form->ModeBoxO0.Editable());
        testsupport::SaveScreenshot(form->Handle(), "convwindow_mode" + std::to_string(mode));
    }
    EXPECT_EQ(form->StrEditO9.Top(), form->ModeBoxO0.Top()); // "Sel. cols" in the place of cols per line
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

TEST_F(ConvWindow, OverwriteAllDuringARun) {
    form->ConvertMarked(true);
    std::string first = dir / (form->FileBox.Item(0) + ".TXT");
    std::string second = dir / (form->FileBox.Item(1) + ".TXT");
    fs::remove(first);
    WatchingPrompter prompter(form);
    form->ConvertMarked(true);
    // One question, at the second file, while the list is hidden and the first destination shows.
    EXPECT_EQ(prompter.Seen, std::vector<std::string>{
                                 second + "|File already exist!\r\nOverride file(s)?|out:" + first + "  "});
    EXPECT_TRUE(form->FileBox.Visible());
    EXPECT_FALSE(form->OutBox.Visible());
    EXPECT_TRUE(form->BtnAll.Enabled() && form->ButtonS2.Enabled());
    EXPECT_FALSE(form->ButtonD2.Enabled()); // the destination is the source folder
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

TEST_F(ConvWindow, FolderButtonsOpenTheirDialogs) {
    std::vector<std::string> captions;
    testsupport::HookGuard hook([&](ui::Form& window) {
        captions.push_back(window.Caption());
        window.Close();
    });
    SendMessageA(form->CheckBoxD.Handle(), BM_CLICK, 0, 0);
    for (ui::Button* button : {&form->ButtonS1, &form->ButtonS2, &form->ButtonD1, &form->ButtonD2})
        SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Choose Source directory", "Source directory Explorer",
                                        "Choose Destination directory", "Destination directory Explorer"}));
}

// A real double-click on a file of the list, and Enter on it, open the file's preview.
TEST_F(ConvWindow, DoubleClickOrEnterOpensThePreview) {
    std::vector<std::string> captions;
    testsupport::HookGuard hook([&](ui::Form& window) {
        captions.push_back(window.Caption());
        window.Close();
    });
    SetForegroundWindow(form->Handle());
    RECT r{};
    SendMessageA(form->FileBox.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(form->FileBox.Handle(), &p);
    SetCursorPos(p.x, p.y);
    auto input = [](DWORD type, DWORD flags) {
        INPUT e{};
        e.type = type;
        if (type == INPUT_MOUSE)
            e.mi.dwFlags = flags;
        else
            e.ki = {VK_RETURN, 0, flags, 0, 0};
        return e;
    };
    INPUT down = input(INPUT_MOUSE, MOUSEEVENTF_LEFTDOWN), up = input(INPUT_MOUSE, MOUSEEVENTF_LEFTUP);
    for (std::vector<INPUT> events : {std::vector<INPUT>{down, up, down, up},
                                      {input(INPUT_KEYBOARD, 0), input(INPUT_KEYBOARD, KEYEVENTF_KEYUP)}}) {
        size_t before = captions.size();
        SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
        for (int waited = 0; waited < 3000 && captions.size() == before; waited += 20) {
            ui::ProcessMessages(); // through the dialog keys, as the program's own loop
            Sleep(20);
        }
    }
    std::string preview = "Preview - " + form->FileBox.Item(1);
    EXPECT_EQ(captions, (std::vector<std::string>{preview, preview}));
}

} // namespace
