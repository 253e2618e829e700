// One window holding the control kinds of the toolkit that no window of the program shows yet (the
// others are photographed with the main window, the editor, the information tools and the work info),
// for review (build/screens), and the behaviour of those controls a user relies on.
#include <gtest/gtest.h>

#include "lib/inputs_win32.h"
#include "support/screens_win32.h"
#include "ui/animate.h"
#include "ui/views.h"

namespace {

class TFormGallery : public ui::Form {
  public:
    ui::CoolBar CoolBar;
    ui::Edit Edit1;
    ui::ToolBar ToolBar1;
    ui::ToolButton SpeedSearch, SpeedSubDir, SpeedNetwork, SpeedFind, SpeedNewDir, SpeedOkay, SpeedCancel;
    ui::StatusBar StatusBar;
    ui::GroupBox GroupBoxO;
    ui::CheckBox CheckBoxO;
    ui::Label LabelO0;
    TModeBox ModeBoxO0{"dummy", "one", "all", "block"};
    ui::Label LabelO3;
    ui::SpinEdit SpinEditO3{1, 12};
    ui::RadioGroup RadioGroupC{{"Full ASCII --> Binary", "Binary --> Full ASCII", "Binary --> Col ASCII"}};
    ui::Label Label0;
    TStrEdit StrEditS1;
    ui::ComboBox ComboBoxO1;
    ui::Memo Memo0;
    ui::ListBox FileBox;
    ui::TreeView TreeView1;
    ui::DriveComboBox DriveComboBox1;
    ui::DirectoryListBox DirectoryListBox1;
    ui::Bevel Bevel1;
    ui::ProgressBar ProgressBar;
    ui::Animate Animate;
    ui::GlyphButton BtnOk{ui::ButtonKind::Ok}, BtnCancel{ui::ButtonKind::Cancel},
        BtnClose{ui::ButtonKind::Close};
    HIMAGELIST Images =
        ui::MakeImageList({ui::Glyph::Search, ui::Glyph::SubDirs, ui::Glyph::Network, ui::Glyph::Find,
                           ui::Glyph::NewFolder, ui::Glyph::Ok, ui::Glyph::Cancel});
    HIMAGELIST TreeImages =
        ui::MakeImageList({ui::Glyph::FolderClosed, ui::Glyph::DriveFixed, ui::Glyph::DriveCd,
                           ui::Glyph::DriveNet, ui::Glyph::DriveRemovable, ui::Glyph::FolderOpen});

    ~TFormGallery() override {
        ImageList_Destroy(Images);
        ImageList_Destroy(TreeImages);
    }

    TFormGallery() {
        // One control per row, as in a window's layout table.
        // clang-format off
        Create({.caption = "Gallery of controls", .clientWidth = 700, .clientHeight = 500,
                .border = ui::Border::Sizeable, .left = 20, .top = 20});
        Build({
            {.control = &CoolBar, .align = ui::Align::Top},
            {.control = &Edit1, .parent = &CoolBar, .width = 90, .height = 21, .caption = "*.*"},
            {.control = &ToolBar1, .parent = &CoolBar, .width = 230, .height = 30, .options = ui::opt::Flat},
            {.control = &StatusBar},
            {.control = &GroupBoxO, .left = 152, .top = 44, .width = 210, .height = 177, .caption = " Options "},
            {.control = &CheckBoxO, .parent = &GroupBoxO, .left = 10, .top = 20, .width = 150, .height = 17,
             .caption = "Numerate lines"},
            {.control = &LabelO0, .parent = &GroupBoxO, .left = 10, .top = 48, .caption = "Data cols per line"},
            {.control = &ModeBoxO0, .parent = &GroupBoxO, .left = 130, .top = 44, .width = 70, .height = 21},
            {.control = &LabelO3, .parent = &GroupBoxO, .left = 10, .top = 78, .caption = "Numbers behind '.'"},
            {.control = &SpinEditO3, .parent = &GroupBoxO, .left = 130, .top = 74, .width = 50, .height = 21},
            {.control = &RadioGroupC, .left = 370, .top = 44, .width = 170, .height = 90, .caption = " Convert mode "},
            {.control = &Label0, .left = 370, .top = 142, .caption = "Windows installation", .fontHeight = -20},
            {.control = &StrEditS1, .left = 548, .top = 44, .width = 140, .height = 21, .caption = "C:\\Vexa_Dos"},
            {.control = &ComboBoxO1, .left = 548, .top = 72, .width = 140, .height = 21, .options = ui::opt::Editable},
            {.control = &Memo0, .left = 8, .top = 230, .width = 250, .height = 100,
             .options = ui::opt::ReadOnly | ui::opt::VScroll},
            {.control = &FileBox, .left = 266, .top = 230, .width = 110, .height = 100,
             .options = ui::opt::MultiSelect},
            {.control = &TreeView1, .left = 384, .top = 230, .width = 150, .height = 150, .options = ui::opt::ReadOnly},
            {.control = &DriveComboBox1, .left = 542, .top = 100, .width = 146, .height = 21},
            {.control = &DirectoryListBox1, .left = 542, .top = 128, .width = 146, .height = 100},
            {.control = &Bevel1, .left = 266, .top = 338, .width = 110, .height = 42},
            {.control = &ProgressBar, .left = 8, .top = 366, .width = 250, .height = 16},
            {.control = &Animate, .left = 8, .top = 388, .width = 48, .height = 45},
            {.control = &BtnOk, .left = 542, .top = 236, .width = 85, .height = 33, .options = ui::opt::Default},
            {.control = &BtnCancel, .left = 542, .top = 276, .width = 85, .height = 33},
            {.control = &BtnClose, .left = 542, .top = 356, .width = 85, .height = 33},
        });
        // clang-format on
        ToolBar1.SetImages(Images);
        ToolBar1.AddButtons({{&SpeedSearch, "Search", "Search files", 0, true},
                             {&SpeedSubDir, "SubDir", "With sub directories", 1, true},
                             {&SpeedNetwork, "Network", "Network", 2},
                             {&SpeedFind, "Find", "Find path", 3},
                             {&SpeedNewDir, "NewDir", "Create directory", 4},
                             {&SpeedOkay, "OK", "Okay, apply path/file", 5},
                             {&SpeedCancel, "Cancel", "Cancel", 6}});
        ToolBar1.SetButtonSize(31, 30);
        CoolBar.AddBand("Mask", Edit1, 21, 150);
        CoolBar.AddBand("", ToolBar1, 30);
        SpeedSearch.SetDown(true);
        StatusBar.SetSimpleText("Bytes 1024 / 4096");
        int number = 2;
        ModeBoxTransfer(ModeBoxO0, true, number, 0, 3, 1);
        SpinEditO3.SetValue(4);
        CheckBoxO.SetChecked(true);
        RadioGroupC.SetItemIndex(1);
        for (const char* item : {"blanc", "comma", "semicolon", "tab (Excel)"}) ComboBoxO1.AddItem(item);
        ComboBoxO1.SetItemIndex(1);
        Memo0.AddLine("This program install the VEXA program from disk/CD and");
        for (const char* name : {"MEAS.K01", "MEAS.K02", "RUN1.Y01", "RUN2.P01"}) FileBox.AddItem(name);
        FileBox.SetSelected(1, true);
        FileBox.SetSelected(2, true);
        TreeView1.SetImages(TreeImages);
        TreeView1.SetIndent(19);
        ui::TreeNode c = TreeView1.AddChild(nullptr, "C:", 1);
        ui::TreeNode vexa = TreeView1.AddChild(c, "Vexa_Dos", 5);
        TreeView1.AddChild(vexa, "KORVO", 0);
        TreeView1.AddChild(c, "windows", 0);
        TreeView1.AddChild(nullptr, "D:", 2);
        TreeView1.AddChild(nullptr, "\\\\SRV\\SHARE", 3);
        TreeView1.AddChild(nullptr, "A:", 4);
        TreeView1.Expand(c);
        TreeView1.Expand(vexa);
        DriveComboBox1.DirList = &DirectoryListBox1;
        DirectoryListBox1.SetDirectory("C:\\windows");
        ProgressBar.SetPosition(60);
        Animate.Color = RGB(255, 255, 255);
        Animate.SetCommonAvi(ui::CommonAvi::CopyFiles);
        Animate.StopFrame = 8;
        Animate.Stop();
    }
};

TEST(Gallery, EveryControlKindInOneWindow) {
    TFormGallery gallery;
    gallery.Show();
    testsupport::PumpMessages(300);
    EXPECT_TRUE(gallery.Visible());
    EXPECT_EQ(gallery.ModeBoxO0.Text(), "all");
    EXPECT_EQ(gallery.BtnCancel.Caption(), "Cancel"); // a button kind brings its caption and key
    EXPECT_TRUE(gallery.BtnCancel.IsCancel());
    EXPECT_GT(gallery.Label0.Width(), gallery.LabelO0.Width()); // labels sized to their font and caption
    EXPECT_EQ(gallery.CoolBar.Top(), 0);
    EXPECT_EQ(gallery.StatusBar.Top() + gallery.StatusBar.Height(), gallery.ClientHeight());
    EXPECT_FALSE(testsupport::SaveScreenshot(gallery.Handle(), "gallery").empty());
}

TEST(Gallery, MemoListComboAndSpin) {
    TFormGallery form;
    ui::Memo& memo = form.Memo0;
    memo.Clear();
    for (const char* line : {"first", "", "third"}) memo.AddLine(line);
    EXPECT_EQ(memo.LineCount(), 3);
    EXPECT_EQ(memo.Text(), "first\r\n\r\nthird\r\n");
    memo.SetText("typed without end");
    EXPECT_EQ(memo.LineCount(), 1);

    EXPECT_EQ(form.FileBox.SelCount(), 2); // a multi-select list keeps both selections
    EXPECT_TRUE(form.FileBox.Selected(2) && !form.FileBox.Selected(0));
    SendMessageA(form.ComboBoxO1.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("|"));
    EXPECT_EQ(form.ComboBoxO1.Text(), "|"); // editable: any text, not only an item's
    form.SpinEditO3.SetValue(40);
    EXPECT_EQ(form.SpinEditO3.Value(), 12);
    form.SpinEditO3.SetText("0");
    EXPECT_EQ(form.SpinEditO3.Value(), 1);
}

TEST(Gallery, TreePlaceholdersExpandAndSelect) {
    TFormGallery form;
    form.Show();
    ui::TreeView& tree = form.TreeView1;
    tree.Clear();
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

TEST(Gallery, ToolBarButtonsAndCoolBarBands) {
    TFormGallery form;
    int clicks = 0;
    form.SpeedFind.OnClick = [&] { ++clicks; };
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(form.SpeedFind.Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.ToolBar1.Handle()));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.SpeedSearch.Down());
    form.SpeedSearch.SetDown(false);
    EXPECT_FALSE(form.SpeedSearch.Down());
    EXPECT_EQ(form.CoolBar.BandCount(), 2);
}

TEST(Gallery, DriveAndDirectoryLists) {
    for (const char* dir : {"C:\\t", "C:\\t\\dirlist", "C:\\t\\dirlist\\Beta", "C:\\t\\dirlist\\alpha"})
        CreateDirectoryA(dir, nullptr);
    TFormGallery form;
    ui::DirectoryListBox& list = form.DirectoryListBox1;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetDirectory("C:\\t\\dirlist");
    EXPECT_EQ(list.Directory(), "C:\\t\\dirlist");
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(list.Count(), 5); // C:\, t, dirlist, then alpha and Beta sorted without case
    EXPECT_EQ(list.ItemPath(0), "C:\\");
    EXPECT_EQ(list.ItemPath(3), "C:\\t\\dirlist\\alpha");
    list.SetItemIndex(4);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(list.Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list.Handle()));
    EXPECT_EQ(list.Directory(), "C:\\t\\dirlist\\Beta");
    list.SetDirectory("C:\\");
    EXPECT_EQ(form.DriveComboBox1.Drive(), 'C');
    for (const char* dir : {"C:\\t\\dirlist\\Beta", "C:\\t\\dirlist\\alpha", "C:\\t\\dirlist"})
        RemoveDirectoryA(dir);
}

TEST(Gallery, TimerAndAnimationRun) {
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

    TFormGallery form;
    ui::Animate& anim = form.Animate;
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

} // namespace
