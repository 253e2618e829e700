// The toolkit on real windows: modal showing through the hook, the dialog keys, closing, the question
// box, aligned controls with a splitter, the file-open dialog's filter, and the controls' own behaviour.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ui/prompter.h"
#include "support/screens_win32.h"
#include "ui/question.h"
#include "ui/views.h"

namespace {

class TDialKeys : public ui::Form {
  public:
    ui::Edit Edit1;
    ui::Button OKBtn, CancelBtn;
    int okClicks = 0;
    TDialKeys() {
        // clang-format off
        Create({.caption = "Keys", .clientWidth = 260, .clientHeight = 90, .border = ui::Border::Dialog,
                .position = ui::Position::ScreenCenter});
        Build({
            {.control = &Edit1, .left = 8, .top = 8, .width = 240, .height = 21},
            {.control = &OKBtn, .left = 90, .top = 52, .width = 75, .height = 25, .caption = "OK",
             .options = ui::opt::Default, .modalResult = ui::MrOk},
            {.control = &CancelBtn, .left = 172, .top = 52, .width = 75, .height = 25, .caption = "Cancel",
             .options = ui::opt::Cancel, .modalResult = ui::MrCancel},
        });
        // clang-format on
        OKBtn.OnClick = [this] { ++okClicks; };
        SetActiveControl(Edit1);
    }
};

// Presses a key in the edit, then Esc, which ends the modal loop if the key did not.
void PressKey(TDialKeys& dialog, UINT key) {
    dialog.Edit1.SetFocus();
    PostMessageA(dialog.Edit1.Handle(), WM_KEYDOWN, key, 1);
    PostMessageA(dialog.Edit1.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
}

using testsupport::HookGuard;

TEST(ModalForm, HookDrivesTheRealWindowAndItsKeys) {
    using Action = void (*)(TDialKeys&);
    // what the hook does, OK enabled, modal result, clicks on OK
    const std::tuple<const char*, Action, bool, int, int> cases[] = {
        {"click OK", [](TDialKeys& d) { SendMessageA(d.OKBtn.Handle(), BM_CLICK, 0, 0); }, true, ui::MrOk, 1},
        {"close", [](TDialKeys& d) { PostMessageA(d.Handle(), WM_CLOSE, 0, 0); }, true, ui::MrCancel, 0},
        {"Enter", [](TDialKeys& d) { PressKey(d, VK_RETURN); }, true, ui::MrOk, 1},
        {"Esc", [](TDialKeys& d) { PressKey(d, VK_ESCAPE); }, true, ui::MrCancel, 0},
        {"Enter, OK disabled", [](TDialKeys& d) { PressKey(d, VK_RETURN); }, false, ui::MrCancel, 0}};
    TDialKeys below; // the other windows are disabled while the dialog is up
    below.Show();
    for (auto [name, action, okEnabled, result, okClicks] : cases) {
        SCOPED_TRACE(name);
        TDialKeys dialog;
        dialog.OKBtn.SetEnabled(okEnabled);
        bool sawVisible = false, belowEnabled = true;
        HookGuard guard([&, action = action](ui::Form& form) {
            sawVisible = form.Visible();
            belowEnabled = IsWindowEnabled(below.Handle()) != FALSE;
            action(dialog);
        });
        EXPECT_EQ(dialog.ShowModal(), result);
        EXPECT_EQ(dialog.okClicks, okClicks);
        EXPECT_TRUE(sawVisible && !belowEnabled);
        EXPECT_FALSE(dialog.Visible());
        EXPECT_TRUE(IsWindowEnabled(below.Handle()));
    }
}

TEST(QuestionBox, FourButtonsLikeAMessageBox) {
    // flags, the button to click ("" presses Enter), the answer
    const std::tuple<unsigned, const char*, int> cases[] = {
        {ui::BtnYesNoCancelAll | ui::IconQuestion, "&All", ui::IdAll},
        {ui::BtnYesNoCancelAll | ui::IconWarning | ui::DefButton2, "", ui::IdNo}};
    for (auto [flags, press, answer] : cases) {
        SCOPED_TRACE(press);
        int buttons = 0;
        HookGuard guard([&, press = std::string(press)](ui::Form& form) {
            HWND box = form.Handle(), w = nullptr;
            while ((w = FindWindowExA(box, w, "Button", nullptr)) != nullptr) ++buttons;
            if (press.empty()) {
                PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
            } else {
                testsupport::SaveScreenshot(box, "question_four_buttons");
                SendMessageA(FindWindowExA(box, nullptr, "Button", press.c_str()), BM_CLICK, 0, 0);
            }
        });
        EXPECT_EQ(ui::AskQuestion(nullptr, "Overwrite", "File MEAS.K01.TXT exists.\r\nOverwrite it?", flags),
                  answer);
        EXPECT_EQ(buttons, 4);
    }
    ui::InstallQuestionBox(); // the prompter now asks its four-button questions with the box
    HookGuard guard([](ui::Form& form) { form.SetModalResult(ui::IdAll); });
    EXPECT_EQ(ui::CurrentPrompter().Ask("Overwrite", "All?", ui::BtnYesNoCancelAll), ui::IdAll);
}

class TDialSplit : public ui::Form {
  public:
    ui::TreeView TreeView1;
    ui::Splitter Splitter1;
    ui::Memo Memo1;
    TDialSplit() {
        // clang-format off
        Create({.caption = "Split", .clientWidth = 400, .clientHeight = 240, .border = ui::Border::Sizeable});
        Build({
            {.control = &TreeView1, .width = 120, .align = ui::Align::Left},
            {.control = &Splitter1, .width = 4, .align = ui::Align::Left},
            {.control = &Memo1, .align = ui::Align::Client},
        });
        // clang-format on
    }
};

TEST(AlignedControls, TheSplitterResizesTheControlBeforeIt) {
    TDialSplit form;
    form.Show();
    HWND bar = form.Splitter1.Handle();
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 50));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(62, 50));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(62, 50));
    EXPECT_EQ(form.TreeView1.Width(), 180);
    EXPECT_EQ(form.Memo1.Left(), 184);
    form.SetClientSize(600, 450);
    EXPECT_EQ(form.Memo1.Width(), 600 - 184);
}

// The filter's "|" become the NULs the system's dialog reads, with the double NUL that ends it.
TEST(FileOpenDialog, FilterInTheSystemsForm) {
    EXPECT_EQ(ui::FileOpenDialog::SystemFilter("DAT files (*.DAT)|*.DAT|All files (*.*)|*.*"),
              std::string("DAT files (*.DAT)\0*.DAT\0All files (*.*)\0*.*\0\0", 45));
}

class TDialControls : public ui::Form {
  public:
    ui::SpinEdit SpinEdit1{1, 12};
    ui::DirectoryListBox DirectoryListBox1;
    TDialControls() {
        // clang-format off
        Create({.caption = "Controls", .clientWidth = 400, .clientHeight = 200});
        Build({
            {.control = &SpinEdit1, .left = 8, .top = 8, .width = 50, .height = 21},
            {.control = &DirectoryListBox1, .left = 8, .top = 36, .width = 150, .height = 100},
        });
        // clang-format on
    }
};

TEST(Controls, SpinEditKeepsItsRange) {
    TDialControls form;
    form.SpinEdit1.SetValue(40);
    EXPECT_EQ(form.SpinEdit1.Value(), 12);
    form.SpinEdit1.SetText("0");
    EXPECT_EQ(form.SpinEdit1.Value(), 1);
}

TEST(Controls, DirectoryListSortsWithoutCaseAndOpensOnDoubleClick) {
    for (const char* dir : {"C:\\t", "C:\\t\\dirlist", "C:\\t\\dirlist\\Beta", "C:\\t\\dirlist\\alpha"})
        CreateDirectoryA(dir, nullptr);
    TDialControls form;
    ui::DirectoryListBox& list = form.DirectoryListBox1;
    list.SetDirectory("C:\\t\\dirlist");
    ASSERT_EQ(list.Count(), 5); // C:\, t, dirlist, then alpha and Beta
    list.SetItemIndex(4);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(list.Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list.Handle()));
    EXPECT_EQ(list.Directory(), "C:\\t\\dirlist\\Beta");
    for (const char* dir : {"C:\\t\\dirlist\\Beta", "C:\\t\\dirlist\\alpha", "C:\\t\\dirlist"})
        RemoveDirectoryA(dir);
}

} // namespace
