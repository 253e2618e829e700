// The explorer window: its tree of drives and folders, the file list beside it and their handlers.
#include "browse/browexp.h"

#include "browse/pathdialogs.h"
#include "browse/walktargets.h"
#include "lib/dirscan.h"
#include "lib/fs.h"

namespace {

BrowExpState state{true, false, "*.*", "", 0, {}};

constexpr const char* Placeholder = "y"; // the one child of a node not expanded yet

// The image of a drive by its type; -1 for types that get no node (0 unknown, 1 no root directory).
int DriveImage(UINT type) {
    switch (type) {
    case DRIVE_REMOVABLE:
        return ImageRemovable;
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
        return ImageFixed;
    case DRIVE_REMOTE:
        return ImageNetwork;
    case DRIVE_CDROM:
        return ImageCdRom;
    default:
        return -1;
    }
}

} // namespace

BrowExpState& BrowExp() { return state; }

void ResetBrowExp() {
    state.SearchOn = true;
    state.WithSubDirs = false;
    state.Mask = "*.*";
    state.NetRoot.clear();
    state.SlotNumber = 0;
    ResetGeometry(state.Geometry);
}

TDialBrowExp::TDialBrowExp() {
    using ui::Glyph;
    Images = ui::MakeImageList({Glyph::Search, Glyph::SubDirs, Glyph::Network, Glyph::Find, Glyph::NewFolder,
                                Glyph::Ok, Glyph::Cancel});
    MonoImages = ui::MakeImageList({Glyph::Search, Glyph::SubDirs, Glyph::Network, Glyph::Find, Glyph::NewFolder,
                                    Glyph::Ok, Glyph::Cancel});
    TreeImages = ui::MakeImageList({Glyph::FolderClosed, Glyph::DriveFixed, Glyph::DriveCd, Glyph::DriveNet,
                                    Glyph::DriveRemovable, Glyph::FolderOpen});
    Create({.caption = "Search path and file", .clientWidth = 560, .clientHeight = 380,
            .border = ui::Border::Sizeable, .left = 120, .top = 90});
    // clang-format off
    Build({
        {.control = &CoolBar, .align = ui::Align::Top},
        {.control = &Edit1, .parent = &CoolBar, .width = 110, .height = 21},
        {.control = &ToolBar1, .parent = &CoolBar, .width = 230, .height = 30, .options = ui::opt::Flat},
        {.control = &Panel0, .height = 22, .options = ui::opt::Bold | ui::opt::Lowered, .align = ui::Align::Bottom},
        {.control = &TreeView1, .width = 210, .options = ui::opt::ReadOnly, .align = ui::Align::Left},
        {.control = &Splitter1, .width = 4, .align = ui::Align::Left},
        {.control = &Memo1, .align = ui::Align::Client},
        {.control = &Animate1, .left = 450, .top = 50, .width = 96, .height = 60, .options = ui::opt::Hidden},
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
    CoolBar.AddBand("Mask", Edit1, 21, 160);
    CoolBar.AddBand("", ToolBar1, 30);
    TreeView1.SetImages(TreeImages);
    TreeView1.SetIndent(27);
    SetActiveControl(TreeView1);
    Animate1.SetCommonAvi(ui::CommonAvi::FindFile);
    Animate1.Color = GetSysColor(COLOR_WINDOW);

    TreeView1.OnExpanding = [this](ui::TreeNode node, bool& allow) { TreeView1Expanding(node, allow); };
    TreeView1.OnCollapsed = [this](ui::TreeNode node) { TreeView1Collapsed(node); };
    TreeView1.OnChange = [this](ui::TreeNode node) { TreeView1Change(node); };
    SpeedSearch.OnClick = [this] { Tool(&TDialBrowExp::SpeedSearchClick); };
    SpeedSubDir.OnClick = [this] { Tool(&TDialBrowExp::SpeedSubDirClick); };
    SpeedNetwork.OnClick = [this] { Tool(&TDialBrowExp::SpeedNetworkClick); };
    SpeedFind.OnClick = [this] { Tool(&TDialBrowExp::SpeedFindClick); };
    SpeedNewDir.OnClick = [this] { Tool(&TDialBrowExp::SpeedNewDirClick); };
    // OK and Cancel only close the window, which ends a running walk: they work at any time.
    SpeedOkay.OnClick = [this] { SpeedOkayClick(); };
    SpeedCancel.OnClick = [this] { SpeedCancelClick(); };
    OnClose = [this](ui::CloseAction& action) { FormClose(action); };
    OnActivate = [] { ChildWinActivated(); };
}

TDialBrowExp::~TDialBrowExp() {
    ImageList_Destroy(Images);
    ImageList_Destroy(MonoImages);
    ImageList_Destroy(TreeImages);
}

// The listing and the walk process messages: without an answer here the hourglass would give way to
// each control's own cursor as soon as the mouse moves.
LRESULT TDialBrowExp::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETCURSOR && Busy) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    }
    return ui::Form::WndProc(msg, wParam, lParam);
}

// A click while a walk runs, or while loading, is ignored; a check button the click toggled shows
// its state again.
void TDialBrowExp::Tool(void (TDialBrowExp::*handler)()) {
    if (Busy) {
        SpeedSearch.SetDown(state.SearchOn);
        SpeedSubDir.SetDown(state.WithSubDirs);
        return;
    }
    (this->*handler)();
}

void TDialBrowExp::Load(const std::string& title, const PathBuf& path) {
    Ready = false;
    SetToolDown(state.SearchOn, SpeedSearch, *this);
    SetToolDown(state.WithSubDirs, SpeedSubDir, *this);
    SetToolEnabled(state.SearchOn, SpeedSubDir, *this);
    SetCaption(title + " Explorer");
    ShowPath(path.Str());
    ListStale = true;
    Accepted = false;
    Edit1.SetText(state.Mask);
    Ready = true;
    if (state.SearchOn) BuildListing();
}

ui::TreeNode TDialBrowExp::AddNode(ui::TreeNode parent, const std::string& text, int image) {
    ui::TreeNode node = TreeView1.AddChild(parent, text, image);
    TreeView1.AddChild(node, Placeholder, ImageFolder);
    return node;
}

ui::TreeNode TDialBrowExp::FindChild(ui::TreeNode parent, const std::string& text) const {
    for (ui::TreeNode node = TreeView1.FirstChild(parent); node; node = TreeView1.NextSibling(node))
        if (SameName(TreeView1.NodeText(node), text)) return node;
    return nullptr;
}

void TDialBrowExp::PumpWhileBusy() {
    bool wasBusy = Busy;
    Busy = true;
    ui::ProcessMessages();
    Busy = wasBusy;
}

void TDialBrowExp::ShowPath(const std::string& path) {
    walking_ = true;
    TreeView1.Clear();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        int image = DriveImage(GetDriveTypeA(DriveRoot(letter).c_str()));
        if (image >= 0) AddNode(nullptr, std::string{letter, ':'}, image);
    }
    PathBuf rest;
    rest.Set(path);
    bool exists = DirExists(path);
    PathBuf component;
    if (path.starts_with("\\\\") && exists) {
        PathBuf share = rest;
        SplitComponent(Component::First, share.c, share.Cap, component.c, component.Cap);
        AddNode(nullptr, component.Str(), ImageNetwork);
        state.NetRoot = component.Str();
    } else if (!state.NetRoot.empty()) {
        AddNode(nullptr, state.NetRoot, ImageRemovable);
    }
    TreeView1.AutoExpand = true;
    if (exists)
        SplitComponent(Component::First, rest.c, rest.Cap, component.c, component.Cap);
    else {
        component.Set("C:");
        rest.Clear();
    }
    ui::TreeNode node = FindChild(nullptr, component.Str());
    if (node) TreeView1.Select(node);
    while (node && !rest.Empty()) {
        SplitComponent(Component::First, rest.c, rest.Cap, component.c, component.Cap);
        node = FindChild(TreeView1.Selected(), component.Str());
        if (!node) break;
        TreeView1.Select(node);
        PumpWhileBusy();
        if (TreeView1.Selected() != node) break; // the user picked another folder meanwhile
    }
    TreeView1.AutoExpand = false;
    walking_ = false;
    AfterDirectoryChange();
}

void TDialBrowExp::TreeView1Expanding(ui::TreeNode node, bool& allow) {
    if (Busy) { // the user's click while a walk pumps messages: the walk may stand on these nodes
        allow = false;
        return;
    }
    TreeView1.BeginUpdate();
    TreeView1.DeleteChildren(node);
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS); // a drive without a medium asks nobody
    DirScan scan(TreeView1.FullPath(node), "*.*", AttrDirectory);
    while (scan.Next()) {
        std::string name = scan.Name();
        if (scan.IsDir() && name != "." && name != "..") AddNode(node, name, ImageFolder);
    }
    SetErrorMode(oldMode);
    TreeView1.EndUpdate();
    if (TreeView1.Parent(node)) TreeView1.SetNodeImage(node, ImageFolderOpen, ImageFolderOpen);
}

void TDialBrowExp::TreeView1Collapsed(ui::TreeNode node) {
    if (TreeView1.Parent(node)) TreeView1.SetNodeImage(node, ImageFolder, ImageFolder);
}

void TDialBrowExp::TreeView1Change(ui::TreeNode node) {
    if (!node) return;
    Panel0.SetCaption(TrailSlash(0, TreeView1.FullPath(node)));
    if (!walking_) AfterDirectoryChange();
}

void TDialBrowExp::AfterDirectoryChange() {
    if (!Ready) return;
    if (state.SearchOn) {
        BuildListing();
    } else if (!ListStale) {
        ListStale = true;
        Memo1.Clear();
    }
}

void TDialBrowExp::BuildListing() {
    if (!Ready) return;
    if (Busy) { // a listing is running: it stops, and starts again on the new directory
        relist_ = true;
        return;
    }
    Busy = true;
    Animate1.SetBounds(Memo1.Left() + Memo1.Width() - Animate1.Width() - 24, Memo1.Top() + 8, Animate1.Width(),
                       Animate1.Height());
    Animate1.BringToFront();
    Animate1.SetVisible(true);
    Animate1.Play();
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    do {
        relist_ = false;
        std::string dir = Panel0.Caption();
        ui::ProcessMessages();
        Memo1.Clear();
        ViewLines lines(Memo1);
        lines.Stop = [this] { return relist_ || closing_; };
        ListFiles("", dir, Edit1.Text(), lines, state.WithSubDirs);
    } while (relist_ && !closing_);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    Animate1.Stop();
    Animate1.SetVisible(false);
    ListStale = false;
    Busy = false;
}

void TDialBrowExp::SpeedSearchClick() {
    if (!Ready) return SpeedSearch.SetDown(state.SearchOn);
    state.SearchOn = !state.SearchOn;
    SetToolDown(state.SearchOn, SpeedSearch, *this);
    SetToolEnabled(state.SearchOn, SpeedSubDir, *this);
    if (state.SearchOn)
        BuildListing();
    else
        Memo1.Clear();
}

void TDialBrowExp::SpeedSubDirClick() {
    if (!Ready) return SpeedSubDir.SetDown(state.WithSubDirs);
    state.WithSubDirs = !state.WithSubDirs;
    SetToolDown(state.WithSubDirs, SpeedSubDir, *this);
    BuildListing();
}

void TDialBrowExp::SpeedNetworkClick() {
    PathBuf path;
    path.Set(Panel0.Caption());
    bool picked = false;
    BrowseFolderShell(FolderNetwork, path, picked);
    if (picked) ShowPath(path.Str());
}

void TDialBrowExp::SpeedFindClick() {
    PathBuf path;
    path.Set(Panel0.Caption());
    bool accepted = false;
    ExecInpiFind(path, accepted);
    if (accepted) ShowPath(path.Str());
}

void TDialBrowExp::SpeedNewDirClick() {
    PathBuf path;
    path.Set(Panel0.Caption());
    bool created = false;
    ExecInpiFold(path, created);
    if (created) ShowPath(path.Str());
}

void TDialBrowExp::SpeedOkayClick() {
    Close();
    Accepted = true;
}

void TDialBrowExp::SpeedCancelClick() { Close(); }

void TDialBrowExp::FormClose(ui::CloseAction& action) {
    closing_ = true; // a listing still running ends at its next directory
    ChildWinClosing(state.SlotNumber, state.Geometry, action);
}

void ExecBrowExp(const std::string& title, PathBuf& path, bool& accepted) {
    TDialBrowExp* dialog = nullptr;
    CreateKindForm(KindBrowExp, dialog);
    ChildWinOpen(1, nullptr, &dialog->CoolBar, state.SlotNumber, state.Geometry, ChildWinFirstActivation, {},
                 [dialog] {
                     ArrangeToolBar(10, 1, 1, *dialog, dialog->MonoImages, dialog->ToolBar1, dialog->CoolBar);
                 });
    ChildWinStartOption(0);
    dialog->Load(title, path);
    ChildWinShow(2);
    // A modal loop ended by the program's end never asked the close event: close the record here, so
    // the wait below ends and the stack stays right.
    if (!ChildWin(state.SlotNumber).Closed) {
        ui::CloseAction action = ui::CloseAction::Hide;
        dialog->FormClose(action);
    }
    while (!ChildWinIsClosed(state.SlotNumber)) {
    }
    state.Mask = dialog->Edit1.Text();
    if (dialog->Accepted) path.Set(dialog->Panel0.Caption());
    accepted = dialog->Accepted;
    ChildWinFree(state.SlotNumber, dialog);
}
