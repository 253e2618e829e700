// The path dialogs: the directory chooser "Choose ...", the dialog that creates one sub-directory, the
// dialog that finds a directory by path or file mask, and the shell's folder picker. Each dialog is created per use, shown modally, read back and released.
#pragma once

#include <string>

#include "browse/browse.h"
#include "lib/inputs_win32.h"
#include "lib/paths.h"
#include "ui/animate.h"
#include "ui/views.h"

// What the dialogs remember between openings, for the run.
struct PathDialogMemory {
    std::string LastFolderName; // TDialInpiFold: the name typed last time
    bool FindByFileMask;        // TDialInpiFind: true checks RadioBtnF
    std::string PathMaskMemory;
    std::string FileMaskMemory;
};
PathDialogMemory& PathDialogs();

// A listed name against a typed one, by Windows' own case-blind compare (accented letters fold too).
bool SameName(const std::string& a, const std::string& b);

// Shell special folders the program roots the folder picker at.
constexpr int FolderDesktop = 0;
constexpr int FolderNetwork = 18;

class TDialBrowPath : public ui::Form {
  public:
    ui::Label Label1;
    TStrEdit StrEdit1;
    ui::Label Label2;
    ui::DirectoryListBox DirectoryListBox1;
    ui::Label Label3;
    ui::DriveComboBox DriveComboBox1;
    ui::Button OKBtn, CancelBtn, NetBtn, BrowseBtn;
    bool Ready = false;

    TDialBrowPath();
    void Load(const PathBuf& path);
    void OKBtnClick();
    void DirectoryListBox1Change();
    void DriveComboBox1Change();
    void StrEdit1Change();
    void NetBtnClick();
    void BrowseBtnClick();
};

class TDialInpiFold : public ui::Form {
  public:
    ui::Bevel Bevel1;
    ui::Label LabelBC, LabelBP, Label1;
    ui::Edit Edit1;
    ui::Button OKBtn, CancelBtn;
    TDialInpiFold();
};

class TDialInpiFind : public ui::Form {
  public:
    ui::Label LabelBC, LabelBP;
    ui::GroupBox GroupBox1;
    ui::RadioButton RadioBtnP;
    ui::Edit EditP;
    ui::RadioButton RadioBtnF;
    ui::Edit EditF;
    ui::Button FindBtn;
    ui::Animate Animate;
    ui::ListBox ListBox1;
    ui::Button OKBtn, CancelBtn;
    bool Ready = false;

    TDialInpiFind();
    void Load(const PathBuf& path);
    void Store();
    void RadioBtnClick(); // the enabling rule
    void FindBtnClick();
    void ListBox1Click();
};

// Creates one sub-directory of path; created and path := the new directory when it was made.
void ExecInpiFold(PathBuf& path, bool& created);
// Finds a directory below path; accepted on OK, path replaced when a line other than "(base)" was picked.
void ExecInpiFind(PathBuf& path, bool& accepted);
// The shell's folder picker rooted at a special folder; picked and path replaced when a file-system
// folder was chosen.
void BrowseFolderShell(int rootFolder, PathBuf& path, bool& picked);
