// The toolkit on real windows: modal showing through the hook, the dialog keys, closing, the question
// box, and the behaviour of the controls a user relies on.
#include <gtest/gtest.h>

#include <string>

#include "lib/prompter.h"
#include "support/screens_win32.h"
#include "ui/animate.h"
#include "ui/question.h"
#include "ui/views.h"

namespace {

class TDialKeys : public ui::Form {
  public:
    ui::Edit Edit1;
    ui::Button OKBtn, CancelBtn, OtherBtn;
    int okClicks = 0;
    TDialKeys() {
        Create({.caption = "Keys", .clientWidth = 260, .clientHeight = 90, .border = ui::Border::Dialog,
                .position = ui::Position::ScreenCenter});
        Build({
            {.control = &Edit1, .left = 8, .top = 8, .width = 240, .height = 21},
            {.control = &OtherBtn, .left = 8, .top = 52, .width = 75, .height = 25, .caption = "Other",
             .modalResult = ui::MrRetry},
            {.control = &OKBtn, .left = 90, .top = 52, .width = 75, .height = 25, .caption = "OK",
             .options = ui::opt::Default, .modalResult = ui::MrOk},
            {.control = &CancelBtn, .left = 172, .top = 52, .width = 75, .height = 25, .caption = "Cancel",
             .options = ui::opt::Cancel, .modalResult = ui::MrCancel},
        });
        OKBtn.OnClick = [this] { ++okClicks; };
        SetActiveControl(Edit1);
    }
};

struct HookGuard {
    explicit HookGuard(ui::ModalHook hook) { ui::SetModalHook(std::move(hook)); }
    ~HookGuard() { ui::SetModalHook(nullptr); }
};

TEST(ModalForm, HookDrivesTheRealWindow) {
    struct Case {
        const char* action;
        int result;
    } cases[] = {{"set", ui::MrAbort}, {"click-other", ui::MrRetry}, {"click-ok", ui::MrOk}, {"close", ui::MrCancel}};
    for (const Case& c : cases) {
        TDialKeys dialog;
        std::string action = c.action;
        bool sawVisible = false;
        HookGuard guard([&](ui::Form& form) {
            sawVisible = form.Visible();
            if (action == "set")
                form.SetModalResult(ui::MrAbort);
            else if (action == "click-other")
                SendMessageA(dialog.OtherBtn.Handle(), BM_CLICK, 0, 0);
            else if (action == "click-ok")
                SendMessageA(dialog.OKBtn.Handle(), BM_CLICK, 0, 0);
            else
                PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(dialog.ShowModal(), c.result) << action;
        EXPECT_TRUE(sawVisible);
        EXPECT_FALSE(dialog.Visible());
    }
}

TEST(ModalForm, EnterPressesDefaultAndEscCancel) {
    struct Case {
        UINT key;
        bool okEnabled;
        int result;
        int okClicks;
    } cases[] = {{VK_RETURN, true, ui::MrOk, 1}, {VK_ESCAPE, true, ui::MrCancel, 0}, {VK_RETURN, false, ui::MrCancel, 0}};
    for (const Case& c : cases) {
        TDialKeys dialog;
        dialog.OKBtn.SetEnabled(c.okEnabled);
        HookGuard guard([&](ui::Form&) {
            dialog.Edit1.SetFocus();
            PostMessageA(dialog.Edit1.Handle(), WM_KEYDOWN, c.key, 1);
            PostMessageA(dialog.Edit1.Handle(), WM_KEYDOWN, VK_ESCAPE, 1); // ends the loop if the key did not
        });
        EXPECT_EQ(dialog.ShowModal(), c.result) << "key " << c.key;
        EXPECT_EQ(dialog.okClicks, c.okClicks);
    }
}

TEST(ModalForm, OtherWindowsDisabledAndCloseActionNoneKeepsItOpen) {
    TDialKeys below;
    below.Show();
    TDialKeys dialog;
    int closeCalls = 0;
    dialog.OnClose = [&](ui::CloseAction& action) {
        if (++closeCalls == 1)
            action = ui::CloseAction::None;
    };
    bool belowEnabled = true;
    HookGuard guard([&](ui::Form& form) {
        belowEnabled = IsWindowEnabled(below.Handle()) != FALSE;
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0); // refused by OnClose
        PostMessageA(dialog.OtherBtn.Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog.ShowModal(), ui::MrRetry);
    EXPECT_EQ(closeCalls, 2);
    EXPECT_FALSE(belowEnabled);
    EXPECT_TRUE(IsWindowEnabled(below.Handle()));
}

TEST(QuestionBox, FourButtonsLikeAMessageBox) {
    struct Case {
        unsigned flags;
        const char* press; // button caption to click, "" for Esc, "enter" for Enter
        int answer;
    } cases[] = {
        {ui::BtnYesNoCancelAll | ui::IconQuestion, "&All", ui::IdAll},
        {ui::BtnYesNoCancelAll | ui::IconQuestion, "", ui::IdCancel},
        {ui::BtnYesNoCancelAll | ui::IconWarning | ui::DefButton2, "enter", ui::IdNo},
        {ui::BtnYesNoCancelAll, "&Yes", ui::IdYes},
    };
    for (const Case& c : cases) {
        int buttons = 0;
        bool icon = false;
        HookGuard guard([&](ui::Form& form) {
            HWND target = nullptr;
            for (HWND w = GetWindow(form.Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                char cls[32], text[64];
                GetClassNameA(w, cls, sizeof cls);
                GetWindowTextA(w, text, sizeof text);
                if (lstrcmpiA(cls, "Button") == 0) {
                    ++buttons;
                    if (std::string(text) == c.press)
                        target = w;
                }
                icon = icon || (lstrcmpiA(cls, "Static") == 0 && (GetWindowLongA(w, GWL_STYLE) & SS_ICON));
            }
            if (c.flags == (ui::BtnYesNoCancelAll | ui::IconQuestion) && *c.press == '&')
                testsupport::SaveScreenshot(form.Handle(), "question_four_buttons");
            if (target)
                SendMessageA(target, BM_CLICK, 0, 0);
            else
                PostMessageA(GetFocus(), WM_KEYDOWN, std::string(c.press) == "enter" ? VK_RETURN : VK_ESCAPE, 1);
        });
        EXPECT_EQ(ui::AskQuestion(nullptr, "Overwrite", "File MEAS.K01.TXT exists.\r\nOverwrite it?", c.flags),
                  c.answer);
        EXPECT_EQ(buttons, 4);
        EXPECT_EQ(icon, (c.flags & ui::IconMask) != 0);
    }
    ui::InstallQuestionBox(); // the prompter now asks its four-button questions with the box
    HookGuard guard([](ui::Form& form) { form.SetModalResult(ui::IdAll); });
    EXPECT_EQ(ui::CurrentPrompter().Ask("Overwrite", "All?", ui::BtnYesNoCancelAll), ui::IdAll);
}

class TFormControls : public ui::Form {
  public:
    ui::Memo Memo1;
    ui::ListBox ListBox1;
    ui::ComboBox ComboBox1;
    ui::SpinEdit SpinEdit1{1, 12};
    ui::TreeView TreeView1;
    ui::CoolBar CoolBar;
    ui::ToolBar ToolBar1;
    ui::ToolButton SpeedSearch, SpeedFind;
    ui::Panel PanelB;
    ui::Panel PanelC;
    ui::Label Label1;
    ui::StatusBar StatusBar;
    ui::DirectoryListBox DirectoryListBox1;
    ui::DriveComboBox DriveComboBox1;
    TFormControls() {
        Create({.caption = "Controls", .clientWidth = 500, .clientHeight = 400, .border = ui::Border::Sizeable});
        Build({
            {.control = &CoolBar, .align = ui::Align::Top},
            {.control = &ToolBar1, .parent = &CoolBar, .width = 200, .height = 30, .options = ui::opt::Flat},
            {.control = &StatusBar},
            {.control = &PanelB, .height = 40, .align = ui::Align::Bottom},
            {.control = &Label1, .parent = &PanelB, .left = 8, .top = 8, .caption = "Line:"},
            {.control = &Memo1, .left = 8, .top = 40, .width = 200, .height = 100, .options = ui::opt::VScroll},
            {.control = &ListBox1, .left = 220, .top = 40, .width = 120, .height = 100, .options = ui::opt::MultiSelect},
            {.control = &ComboBox1, .left = 350, .top = 40, .width = 120, .height = 21, .options = ui::opt::Editable},
            {.control = &SpinEdit1, .left = 350, .top = 70, .width = 60, .height = 21},
            {.control = &TreeView1, .left = 8, .top = 150, .width = 200, .height = 150, .options = ui::opt::ReadOnly},
            {.control = &DriveComboBox1, .left = 220, .top = 150, .width = 150, .height = 21},
            {.control = &DirectoryListBox1, .left = 220, .top = 180, .width = 150, .height = 120},
            {.control = &PanelC, .left = 380, .top = 150, .width = 100, .height = 60, .caption = "C"},
        });
        ToolBar1.AddButtons({{&SpeedSearch, "Search", "Search files", 0, true}, {&SpeedFind, "Find", "Find path", 1}});
        CoolBar.AddBand("Tools", ToolBar1, 30);
        DriveComboBox1.DirList = &DirectoryListBox1;
    }
};

TEST(Controls, MemoLinesAndCaret) {
    TFormControls form;
    form.Memo1.AddLine("first");
    form.Memo1.AddLine("");
    form.Memo1.AddLine("third");
    EXPECT_EQ(form.Memo1.LineCount(), 3);
    EXPECT_EQ(form.Memo1.Lines(), (std::vector<std::string>{"first", "", "third"}));
    EXPECT_EQ(form.Memo1.Text(), "first\r\n\r\nthird\r\n");
    SendMessageA(form.Memo1.Handle(), EM_SETSEL, 9, 9);
    EXPECT_EQ(form.Memo1.CaretLine(), 2);
    form.Memo1.SetText("typed without end");
    EXPECT_EQ(form.Memo1.LineCount(), 1);
    form.Memo1.Clear();
    EXPECT_EQ(form.Memo1.LineCount(), 0);
}

TEST(Controls, ListComboSpinAndLayout) {
    TFormControls form;
    for (const char* name : {"A.K01", "B.K02", "C.Y01"})
        form.ListBox1.AddItem(name);
    form.ListBox1.SetSelected(0, true);
    form.ListBox1.SetSelected(2, true);
    EXPECT_EQ(form.ListBox1.SelCount(), 2);
    EXPECT_TRUE(form.ListBox1.Selected(2));
    EXPECT_FALSE(form.ListBox1.Selected(1));

    int changes = 0;
    form.ComboBox1.OnChange = [&] { ++changes; };
    form.ComboBox1.AddItem("comma");
    SendMessageA(form.ComboBox1.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("|"));
    EXPECT_EQ(form.ComboBox1.Text(), "|");
    EXPECT_EQ(form.ComboBox1.ItemIndex(), -1);

    form.SpinEdit1.SetValue(40);
    EXPECT_EQ(form.SpinEdit1.Value(), 12);
    form.SpinEdit1.SetText("0");
    EXPECT_EQ(form.SpinEdit1.Value(), 1);

    // Aligned controls: cool bar on top, status bar and panel at the bottom, in that order.
    EXPECT_EQ(form.CoolBar.Top(), 0);
    EXPECT_EQ(form.StatusBar.Top() + form.StatusBar.Height(), form.ClientHeight());
    EXPECT_EQ(form.PanelB.Top() + form.PanelB.Height(), form.StatusBar.Top());
    EXPECT_EQ(form.PanelB.Width(), form.ClientWidth());
    form.SetClientSize(600, 450);
    EXPECT_EQ(form.PanelB.Width(), 600);
    EXPECT_GT(form.Label1.Width(), 0); // sized to its caption
    form.StatusBar.SetSimpleText("Bytes 10 / 20");
    EXPECT_EQ(form.StatusBar.SimpleText(), "Bytes 10 / 20");
}

TEST(Controls, TreePlaceholdersExpandAndSelect) {
    TFormControls form;
    form.Show();
    ui::TreeView& tree = form.TreeView1;
    std::vector<std::string> events;
    tree.OnExpanding = [&](ui::TreeNode node, bool&) {
        events.push_back("expand " + tree.NodeText(node));
        tree.DeleteChildren(node);
        tree.AddChild(node, "DATA", 0);
        tree.AddChild(tree.FirstChild(node), "y", 0); // placeholder of the new folder
    };
    tree.OnCollapsed = [&](ui::TreeNode node) { events.push_back("collapse " + tree.NodeText(node)); };
    tree.OnChange = [&](ui::TreeNode node) { events.push_back("select " + tree.FullPath(node)); };
    ui::TreeNode c = tree.AddChild(nullptr, "C:", 1);
    tree.AddChild(c, "y", 0);
    EXPECT_EQ(tree.ChildCount(c), 1);
    tree.AutoExpand = true;
    tree.Select(c);
    EXPECT_TRUE(tree.Expanded(c));
    tree.Select(tree.FirstChild(c));
    tree.Select(c);
    tree.Collapse(c);
    EXPECT_EQ(events, (std::vector<std::string>{"expand C:", "select C:", "expand DATA", "select C:\\DATA",
                                                "select C:", "collapse C:"}));
    tree.SetNodeImage(c, 5, 5);
    EXPECT_EQ(tree.NodeImage(c), 5);
}

TEST(Controls, ToolBarCheckButtonsAndCoolBarBands) {
    TFormControls form;
    int clicks = 0;
    form.SpeedSearch.OnClick = [&] { ++clicks; };
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(form.SpeedSearch.Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.ToolBar1.Handle()));
    EXPECT_EQ(clicks, 1);
    form.SpeedSearch.SetDown(true);
    EXPECT_TRUE(form.SpeedSearch.Down());
    form.SpeedFind.SetEnabled(false);
    EXPECT_FALSE(form.SpeedFind.Enabled());
    EXPECT_EQ(form.ToolBar1.ButtonCount(), 2);
    EXPECT_EQ(form.CoolBar.BandCount(), 1);
    form.CoolBar.SetBandMinHeight(0, 34);
    EXPECT_EQ(form.CoolBar.BandMinHeight(0), 34);
}

TEST(Controls, DriveAndDirectoryLists) {
    CreateDirectoryA("C:\\t", nullptr);
    CreateDirectoryA("C:\\t\\dirlist", nullptr);
    CreateDirectoryA("C:\\t\\dirlist\\Beta", nullptr);
    CreateDirectoryA("C:\\t\\dirlist\\alpha", nullptr);
    TFormControls form;
    int changes = 0;
    form.DirectoryListBox1.OnChange = [&] { ++changes; };
    form.DirectoryListBox1.SetDirectory("C:\\t\\dirlist");
    EXPECT_EQ(form.DirectoryListBox1.Directory(), "C:\\t\\dirlist");
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(form.DirectoryListBox1.Count(), 5); // C:\, t, dirlist, alpha, Beta
    EXPECT_EQ(form.DirectoryListBox1.ItemPath(0), "C:\\");
    EXPECT_EQ(form.DirectoryListBox1.ItemPath(3), "C:\\t\\dirlist\\alpha");
    EXPECT_EQ(form.DirectoryListBox1.ItemPath(4), "C:\\t\\dirlist\\Beta");
    form.DirectoryListBox1.SetItemIndex(4);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(form.DirectoryListBox1.Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(form.DirectoryListBox1.Handle()));
    EXPECT_EQ(form.DirectoryListBox1.Directory(), "C:\\t\\dirlist\\Beta");
    form.DirectoryListBox1.SetDirectory("C:\\");
    EXPECT_EQ(form.DirectoryListBox1.Directory(), "C:\\");
    EXPECT_EQ(form.DriveComboBox1.Drive(), 'C');
    RemoveDirectoryA("C:\\t\\dirlist\\Beta");
    RemoveDirectoryA("C:\\t\\dirlist\\alpha");
    RemoveDirectoryA("C:\\t\\dirlist");
}

TEST(Controls, TimerAndAnimationRun) {
    ui::Timer timer(30);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetEnabled(true);
    testsupport::PumpMessages(200);
    timer.SetEnabled(false);
    int stopped = ticks;
    testsupport::PumpMessages(100);
    EXPECT_GE(stopped, 2);
    EXPECT_EQ(ticks, stopped);

    TFormControls form;
    ui::Animate anim;
    form.Add({.control = &anim, .left = 8, .top = 310, .width = 48, .height = 45});
    anim.StopFrame = 8;
    anim.SetCommonAvi(ui::CommonAvi::CopyFiles);
    EXPECT_EQ(anim.Width(), 272); // sized to the animation
    anim.Play();
    testsupport::PumpMessages(200);
    EXPECT_TRUE(anim.Active());
    anim.Stop();
    EXPECT_FALSE(anim.Active());
    if (!anim.ShellClip()) {
        EXPECT_EQ(anim.Frame(), 8);
    }
}

class TDialSplit : public ui::Form {
  public:
    ui::TreeView TreeView1;
    ui::Splitter Splitter1;
    ui::Memo Memo1;
    TDialSplit() {
        Create({.caption = "Split", .clientWidth = 400, .clientHeight = 200, .border = ui::Border::Sizeable});
        Build({
            {.control = &TreeView1, .width = 120, .align = ui::Align::Left},
            {.control = &Splitter1, .width = 4, .align = ui::Align::Left},
            {.control = &Memo1, .align = ui::Align::Client},
        });
    }
};

TEST(Controls, SplitterDragResizesTheControlBeforeIt) {
    TDialSplit form;
    form.Show();
    EXPECT_EQ(form.Splitter1.Left(), 120);
    EXPECT_EQ(form.Memo1.Left(), 124);
    HWND bar = form.Splitter1.Handle();
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 50));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(62, 50));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(62, 50));
    EXPECT_EQ(form.TreeView1.Width(), 180);
    EXPECT_EQ(form.Memo1.Left(), 184);
    EXPECT_EQ(form.Memo1.Width(), form.ClientWidth() - 184);
}

void CALLBACK PressOpen(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box)
        return;
    KillTimer(nullptr, id);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST(Controls, FileOpenDialogFilterAndChoice) {
    EXPECT_EQ(ui::FileOpenDialog::SystemFilter("DAT files (*.DAT)|*.DAT|All files (*.*)|*.*"),
              std::string("DAT files (*.DAT)\0*.DAT\0All files (*.*)\0*.*\0\0", 45));
    CreateDirectoryA("C:\\t", nullptr);
    HANDLE f = CreateFileA("C:\\t\\Hardware.DAT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
    ui::FileOpenDialog dialog;
    dialog.Filter = "DAT files (*.DAT)|*.DAT|All files (*.*)|*.*";
    dialog.InitialDir = "C:\\t";
    dialog.FileName = "Hardware.DAT";
    dialog.FileMustExist = true;
    dialog.PathMustExist = true;
    // The system dialog runs its own loop; a timer presses its Open button.
    SetTimer(nullptr, 0, 500, PressOpen);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "C:\\t\\Hardware.DAT");
    DeleteFileA("C:\\t\\Hardware.DAT");
}

} // namespace
