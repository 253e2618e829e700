// The explorer: a resizable window in which the user picks a directory from a tree of
// drives, one network share and folders, with the files of the selected directory listed beside it.
// ExecBrowExp (browse.h) is its one entry; the window manager stacks it as window 1 and remembers its placement.
#pragma once

#include <string>

#include "browse/browse.h"
#include "browse/winmanager.h"
#include "lib/forms.h"
#include "lib/paths.h"
#include "ui/animate.h"
#include "ui/views.h"

// Kept from one opening to the next while the program runs.
struct BrowExpState {
    bool SearchOn;     // the listing is built on every directory change
    bool WithSubDirs;  // the listing descends into subdirectories
    std::string Mask;  // the file mask of the listing
    std::string NetRoot; // the last network share root met in a start path
    int SlotNumber;    // the explorer's window number in the window manager
    FormGeometry Geometry;
};
BrowExpState& BrowExp();

// Tree node images (indices into TreeImages).
constexpr int ImageFolder = 0;
constexpr int ImageFixed = 1;
constexpr int ImageCdRom = 2;
constexpr int ImageNetwork = 3;
constexpr int ImageRemovable = 4; // also the remembered network share
constexpr int ImageFolderOpen = 5;

class TDialBrowExp : public ui::Form {
  public:
    ui::CoolBar CoolBar;
    ui::Edit Edit1;
    ui::ToolBar ToolBar1;
    ui::ToolButton SpeedSearch, SpeedSubDir, SpeedNetwork, SpeedFind, SpeedNewDir, SpeedOkay, SpeedCancel;
    ui::Panel Panel0;
    ui::TreeView TreeView1;
    ui::Splitter Splitter1;
    ui::LinesView Memo1; // the listing
    ui::Animate Animate1;
    HIMAGELIST Images, TreeImages, MonoImages;

    bool Ready = false;
    bool ListStale = false;
    bool Accepted = false;
    // True while a tree walk or listing processes pending messages: tool buttons and the user's
    // expansions wait, so no node in use is deleted under the walk.
    bool Busy = false;

    TDialBrowExp();
    ~TDialBrowExp() override;

    void Load(const std::string& title, const PathBuf& path);
    void ShowPath(const std::string& path);
    void BuildListing();

    void TreeView1Expanding(ui::TreeNode node, bool& allow);
    void TreeView1Collapsed(ui::TreeNode node);
    void TreeView1Change(ui::TreeNode node);
    void SpeedSearchClick();
    void SpeedSubDirClick();
    void SpeedNetworkClick();
    void SpeedFindClick();
    void SpeedNewDirClick();
    void SpeedOkayClick();
    void SpeedCancelClick();
    void FormClose(ui::CloseAction& action);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    ui::TreeNode AddNode(ui::TreeNode parent, const std::string& text, int image);
    ui::TreeNode FindChild(ui::TreeNode parent, const std::string& text) const;
    void AfterDirectoryChange();
    void PumpWhileBusy();
    void Tool(void (TDialBrowExp::*handler)());
    bool walking_ = false;  // ShowPath selects level by level: one listing at its end will do
    bool relist_ = false;   // the directory changed while a listing ran: start it again
    bool closing_ = false;
};

