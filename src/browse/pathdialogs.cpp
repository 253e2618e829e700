// The path dialogs: the directory chooser, the dialog that creates one sub-directory, the dialog that
// finds a directory by path or file mask, and the shell's folder picker.
#include "browse/pathdialogs.h"

#include <shlobj.h>
#include <winnetwk.h>

#include "browse/walktargets.h"
#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/msg.h"

namespace {
PathDialogMemory memory{"", true, "*.*", "*.*"};

// A drive root with its backslash (C:\), any other directory without one. The deciding TrailSlash alone
// would turn C:\ into C:, which names the current directory of drive C rather than its root.
void NormalizeTrail(PathBuf& path) {
    TrailSlash(1, path);
    TrailSlash(0, path);
}
} // namespace

PathDialogMemory& PathDialogs() { return memory; }
void ResetPathDialogs() { memory = {"", true, "*.*", "*.*"}; }

bool SameName(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// ---- TDialBrowPath --------------------------------------------------------------------------------

TDialBrowPath::TDialBrowPath() {
    Create({.caption = "Choose Directory", .clientWidth = 345, .clientHeight = 292, .border = ui::Border::Dialog,
            .position = ui::Position::ScreenCenter});
    // clang-format off
    Build({
        {.control = &Label1, .left = 8, .top = 8, .caption = "Path:"},
        {.control = &StrEdit1, .left = 8, .top = 24, .width = 329, .height = 21},
        {.control = &Label2, .left = 8, .top = 54, .caption = "Directories:"},
        {.control = &DirectoryListBox1, .left = 8, .top = 70, .width = 210, .height = 166},
        {.control = &Label3, .left = 8, .top = 244, .caption = "Drives:"},
        {.control = &DriveComboBox1, .left = 8, .top = 260, .width = 210, .height = 21},
        {.control = &OKBtn, .left = 262, .top = 70, .width = 75, .height = 25, .caption = "OK",
         .options = ui::opt::Default},
        {.control = &CancelBtn, .left = 262, .top = 102, .width = 75, .height = 25, .caption = "Cancel",
         .options = ui::opt::Cancel, .modalResult = ui::MrCancel},
        {.control = &NetBtn, .left = 262, .top = 178, .width = 75, .height = 25, .caption = "Network"},
        {.control = &BrowseBtn, .left = 262, .top = 210, .width = 75, .height = 25, .caption = "Explorer"},
    });
    // clang-format on
    DriveComboBox1.DirList = &DirectoryListBox1;
    OKBtn.OnClick = [this] { OKBtnClick(); };
    DirectoryListBox1.OnChange = [this] { DirectoryListBox1Change(); };
    DriveComboBox1.OnChange = [this] { DriveComboBox1Change(); };
    StrEdit1.OnChange = [this] { StrEdit1Change(); };
    NetBtn.OnClick = [this] { NetBtnClick(); };
    BrowseBtn.OnClick = [this] { BrowseBtnClick(); };
}

void TDialBrowPath::Load(const PathBuf& path) {
    Ready = false;
    PathBuf text = path;
    EditTransfer(StrEdit1, true, text.c, -1, LengthCapacity, PathBuf::Cap);
    char drive = DriveLetterOf(path.c, PathBuf::Cap);
    if (!DirExists(DriveRoot(drive))) drive = 'C';
    DriveComboBox1.SetDrive(drive);
    if (!DirExists(path.View()) || !DirectoryListBox1.SetDirectory(path.Str()))
        DirectoryListBox1.SetDirectory(DriveRoot(drive));
    DirectoryListBox1.SetItemIndex(-1);
    Ready = true;
}

// The first press on a highlighted entry opens it; the next press accepts.
void TDialBrowPath::OKBtnClick() {
    int index = DirectoryListBox1.ItemIndex();
    std::string item = index >= 0 ? DirectoryListBox1.ItemPath(index) : "";
    if (item.empty() || SameName(item, StrEdit1.Text())) {
        SetModalResult(ui::MrOk);
        return;
    }
    DirectoryListBox1.SetDirectory(item);
    StrEdit1.SetText(item);
    DirectoryListBox1.SetItemIndex(-1);
}

void TDialBrowPath::DirectoryListBox1Change() {
    bool wasReady = Ready;
    Ready = false;
    PathBuf dir;
    dir.Set(DirectoryListBox1.Directory());
    EditTransfer(StrEdit1, true, dir.c, -1, LengthKeep, PathBuf::Cap);
    Ready = wasReady;
}

void TDialBrowPath::DriveComboBox1Change() {
    if (Ready) DirectoryListBox1.SetItemIndex(-1);
}

void TDialBrowPath::StrEdit1Change() {
    if (Ready) DirectoryListBox1.SetItemIndex(-1);
}

void TDialBrowPath::NetBtnClick() {
    if (!Ready) return;
    WNetConnectionDialog(Handle(), RESOURCETYPE_DISK);
    DriveComboBox1.Refresh();
    DriveComboBox1Change();
}

void TDialBrowPath::BrowseBtnClick() {
    if (!Ready) return;
    PathBuf path;
    EditTransfer(StrEdit1, false, path.c, -1, LengthKeep, PathBuf::Cap);
    bool picked = false;
    BrowseFolderShell(FolderDesktop, path, picked);
    if (!picked) return;
    StrEdit1.SetText(path.Str());
    DirectoryListBox1.SetItemIndex(-1);
}

void ExecBrowPath(const std::string& title, PathBuf& path, bool& accepted) {
    TDialBrowPath* dialog = nullptr;
    CreateKindForm(KindBrowPath, dialog);
    dialog->SetCaption("Choose " + title);
    dialog->Load(path);
    accepted = dialog->ShowModal() == ui::MrOk;
    if (accepted) {
        EditTransfer(dialog->StrEdit1, false, path.c, -1, LengthKeep, PathBuf::Cap);
        NormalizeTrail(path);
    }
    ReleaseForm(dialog);
}

// ---- TDialInpiFold --------------------------------------------------------------------------------

TDialInpiFold::TDialInpiFold() {
    Create({.caption = "Create new sub directory", .clientWidth = 360, .clientHeight = 148,
            .border = ui::Border::Dialog, .position = ui::Position::ScreenCenter});
    // clang-format off
    Build({
        {.control = &Bevel1, .left = 8, .top = 8, .width = 344, .height = 98},
        {.control = &LabelBC, .left = 18, .top = 16, .caption = "Base directory:"},
        {.control = &LabelBP, .left = 18, .top = 33, .width = 326, .height = 16, .options = ui::opt::Bold},
        {.control = &Label1, .left = 18, .top = 58, .caption = "Name of sub directory"},
        {.control = &Edit1, .left = 18, .top = 75, .width = 326, .height = 21},
        {.control = &OKBtn, .left = 196, .top = 115, .width = 75, .height = 25, .caption = "OK",
         .options = ui::opt::Default, .modalResult = ui::MrOk},
        {.control = &CancelBtn, .left = 277, .top = 115, .width = 75, .height = 25, .caption = "Cancel",
         .options = ui::opt::Cancel, .modalResult = ui::MrCancel},
    });
    // clang-format on
    Bevel1.SendToBack(); // controls are stacked in creation order: the frame would cover them
    SetWindowLongA(LabelBP.Handle(), GWL_STYLE, GetWindowLongA(LabelBP.Handle(), GWL_STYLE) | SS_NOPREFIX | SS_PATHELLIPSIS);
    SetActiveControl(Edit1);
}

void ExecInpiFold(PathBuf& path, bool& created) {
    TDialInpiFold* dialog = nullptr;
    CreateKindForm(KindDialog, dialog);
    dialog->Edit1.SetText(memory.LastFolderName);
    dialog->LabelBP.SetCaption(path.Str());
    created = false;
    if (dialog->ShowModal() == ui::MrOk) {
        memory.LastFolderName = dialog->Edit1.Text();
        std::string dir = JoinDir(path.View(), memory.LastFolderName);
        // A join cut by the path buffer would name (and make) another directory than the one typed.
        bool whole = JoinedWhole(path.View(), memory.LastFolderName, dir) || memory.LastFolderName.empty();
        if (DirExists(dir))
            ShowStop("Dir already exist", {dir, "already exist!"});
        else if (!whole || MakeDir(dir) != FsOk)
            ShowStop("Create error", {dir, "could not be created!"});
        else {
            path.Set(dir);
            created = true;
        }
    }
    ReleaseForm(dialog);
}

// ---- TDialInpiFind --------------------------------------------------------------------------------

TDialInpiFind::TDialInpiFind() {
    Create({.caption = "Find and apply path", .clientWidth = 400, .clientHeight = 344,
            .border = ui::Border::Dialog, .position = ui::Position::ScreenCenter});
    // clang-format off
    Build({
        {.control = &LabelBC, .left = 8, .top = 8, .caption = "Base directory:"},
        {.control = &LabelBP, .left = 8, .top = 25, .width = 384, .height = 16, .options = ui::opt::Bold},
        {.control = &GroupBox1, .left = 8, .top = 48, .width = 268, .height = 82, .caption = " Find path by "},
        {.control = &RadioBtnP, .parent = &GroupBox1, .left = 10, .top = 22, .width = 84, .height = 17,
         .caption = "path  mask"},
        {.control = &RadioBtnF, .parent = &GroupBox1, .left = 10, .top = 52, .width = 84, .height = 17,
         .caption = "file  mask"},
        {.control = &EditP, .parent = &GroupBox1, .left = 100, .top = 20, .width = 156, .height = 21},
        {.control = &EditF, .parent = &GroupBox1, .left = 100, .top = 50, .width = 156, .height = 21},
        {.control = &FindBtn, .left = 292, .top = 54, .width = 100, .height = 25, .caption = "Find",
         .options = ui::opt::Default},
        {.control = &Animate, .left = 294, .top = 84, .width = 96, .height = 60, .options = ui::opt::Hidden},
        {.control = &ListBox1, .left = 8, .top = 150, .width = 384, .height = 152},
        {.control = &OKBtn, .left = 236, .top = 311, .width = 75, .height = 25, .caption = "OK",
         .options = ui::opt::Disabled, .modalResult = ui::MrOk},
        {.control = &CancelBtn, .left = 317, .top = 311, .width = 75, .height = 25, .caption = "Cancel",
         .options = ui::opt::Cancel, .modalResult = ui::MrCancel},
    });
    // clang-format on
    SetWindowLongA(LabelBP.Handle(), GWL_STYLE, GetWindowLongA(LabelBP.Handle(), GWL_STYLE) | SS_NOPREFIX | SS_PATHELLIPSIS);
    Animate.SetCommonAvi(ui::CommonAvi::FindFolder);
    SetActiveControl(FindBtn);
    RadioBtnP.OnClick = [this] { RadioBtnClick(); };
    RadioBtnF.OnClick = [this] { RadioBtnClick(); };
    FindBtn.OnClick = [this] { FindBtnClick(); };
    ListBox1.OnClick = [this] { ListBox1Click(); };
}

void TDialInpiFind::Load(const PathBuf& path) {
    Ready = false;
    RadioBoolTransfer(true, memory.FindByFileMask, RadioBtnP, RadioBtnF);
    LabelBP.SetCaption(path.Str());
    EditP.SetText(memory.PathMaskMemory);
    EditF.SetText(memory.FileMaskMemory);
    Ready = true;
    RadioBtnClick();
}

void TDialInpiFind::Store() {
    RadioBoolTransfer(false, memory.FindByFileMask, RadioBtnP, RadioBtnF);
    memory.PathMaskMemory = EditP.Text();
    memory.FileMaskMemory = EditF.Text();
}

void TDialInpiFind::RadioBtnClick() {
    if (!Ready) return;
    EditP.SetEnabled(RadioBtnP.Checked());
    EditF.SetEnabled(!RadioBtnP.Checked());
}

void TDialInpiFind::FindBtnClick() {
    EnableControls(false, {&FindBtn, &OKBtn});
    ListBox1.Clear();
    Animate.SetVisible(true);
    Animate.Play();
    std::string base = LabelBP.Caption();
    ListBoxLines lines(ListBox1);
    lines.Stop = [this] { return ModalResult() != ui::MrNone; }; // closed meanwhile: no use going on
    if (RadioBtnP.Checked())
        ListDirsByMask("", base, EditP.Text(), lines);
    else
        ListDirsWithFiles("", base, EditF.Text(), lines);
    Animate.Stop();
    Animate.SetVisible(false);
    FindBtn.SetEnabled(true);
}

void TDialInpiFind::ListBox1Click() { OKBtn.SetEnabled(ListBox1.ItemIndex() >= 0); }

void ExecInpiFind(PathBuf& path, bool& accepted) {
    TDialInpiFind* dialog = nullptr;
    CreateKindForm(KindDialog, dialog);
    dialog->Load(path);
    accepted = dialog->ShowModal() == ui::MrOk;
    dialog->Store();
    int index = dialog->ListBox1.ItemIndex();
    std::string line = index >= 0 ? dialog->ListBox1.Item(index) : "";
    if (accepted && !line.empty() && !SameName(line, BaseMarker)) path.Set(JoinDir(path.View(), line));
    ReleaseForm(dialog);
}

// ---- BrowseFolderShell ----------------------------------------------------------------------------

void BrowseFolderShell(int rootFolder, PathBuf& path, bool& picked) {
    picked = false;
    HWND owner = GetActiveWindow();
    LPITEMIDLIST root = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, rootFolder, &root))) return;
    std::string name(260, '\0');
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = name.data();
    info.lpszTitle = "Select folder";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item && SHGetPathFromIDListA(item, name.data())) {
        path.Set(name.c_str());
        picked = true;
    }
    CoTaskMemFree(item);
    CoTaskMemFree(root);
    NormalizeTrail(path);
}
