// The common-control views: tree view, tool bar, cool bar, and the drive and directory pickers, plus
// the splitter between two aligned controls.
#pragma once

#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

using TreeNode = HTREEITEM;

// A tree of text nodes with images. A node that should look expandable before its children are known
// gets a placeholder child; OnExpanding replaces it.
class TreeView : public Control {
  public:
    std::function<void(TreeNode, bool& allow)> OnExpanding;
    std::function<void(TreeNode)> OnCollapsed;
    std::function<void(TreeNode)> OnChange; // the selection changed
    bool AutoExpand = false;                // selecting a node expands it

    void SetImages(HIMAGELIST images); // not owned
    void SetIndent(int pixels);
    TreeNode AddChild(TreeNode parent, const std::string& text, int image, int selectedImage = -1);
    void DeleteChildren(TreeNode node);
    void Clear();
    std::string NodeText(TreeNode node) const;
    TreeNode Parent(TreeNode node) const;
    TreeNode FirstChild(TreeNode node) const; // nullptr: the first root
    TreeNode NextSibling(TreeNode node) const;
    int ChildCount(TreeNode node) const;
    TreeNode Selected() const;
    void Select(TreeNode node);
    void Expand(TreeNode node);
    void Collapse(TreeNode node);
    bool Expanded(TreeNode node) const;
    int NodeImage(TreeNode node) const;
    void SetNodeImage(TreeNode node, int image, int selectedImage);
    std::string FullPath(TreeNode node, char separator = '\\') const; // texts from the root down
    void BeginUpdate();
    void EndUpdate();
    LRESULT Notify(NMHDR* header) override;

  protected:
    WindowKind Kind(const Row& row) const override;
};

class ToolBar;

// One button of a tool bar (a part of the bar's window, not a window itself).
class ToolButton {
  public:
    std::function<void()> OnClick;
    int Tag = 0;
    bool Down() const;
    void SetDown(bool down);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    int Id() const { return id_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Hint() const { return hint_; }

  private:
    friend class ToolBar;
    ToolBar* bar_ = nullptr;
    int id_ = 0;
    std::string caption_;
    std::string hint_;
};

// A tool bar with image buttons (opt::Flat for the flat look). Without captions the hint is the
// button's tool tip.
class ToolBar : public Control {
  public:
    struct ButtonSpec {
        ToolButton* button;
        const char* caption;
        const char* hint;
        int image;
        bool check = false; // a check button that stays down
    };
    void AddButtons(std::initializer_list<ButtonSpec> buttons);
    void SetImages(HIMAGELIST images); // not owned
    void SetButtonSize(int width, int height);
    void SetFlat(bool flat);
    void SetTransparent(bool transparent);
    void SetTextRows(int rows); // 0: buttons without captions (the captions become the tool tips)
    int ButtonCount() const;
    void Command(int code, int id) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;

  private:
    std::vector<ToolButton*> buttons_;
};

// A cool bar (rebar) of bands, each holding one control created with the cool bar as its parent.
class CoolBar : public Control {
  public:
    void AddBand(const std::string& text, Control& child, int minHeight, int width = 0);
    int BandCount() const;
    int BandMinHeight(int index) const;
    void SetBandMinHeight(int index, int height);
    void ClearBackground(); // every band without background bitmap
    LRESULT Notify(NMHDR* header) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

class DirectoryListBox;

// The drives of the system ("c: [LABEL]"), a drop-down list; a linked directory list follows it.
class DriveComboBox : public ComboBox {
  public:
    DirectoryListBox* DirList = nullptr;
    char Drive() const; // upper-case letter, 0 for none
    void SetDrive(char letter);
    void Refresh(); // reads the drives again (after a network drive was connected)
    void Command(int code, int id) override;

  protected:
    void Created(const Row& row) override;
};

// The open path of the current directory (one row per level, from its drive or network share)
// above its subdirectories. A double click opens a row; OnChange follows every change of the directory.
class DirectoryListBox : public ListBox {
  public:
    std::function<void()> OnChange;
    std::string Directory() const;
    bool SetDirectory(const std::string& path); // false: neither a drive path nor a share path, left as is
    std::string ItemPath(int index) const;
    char Drive() const; // upper-case letter, 0 on a network share
    void Command(int code, int id) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;

  private:
    int OpenCount() const; // rows of the open path
};

// A read-only listing of text lines with both scroll bars, for far more lines than an edit control
// takes in reasonable time (Wine's edit lays out its whole text on every change): the lines are kept
// here and an owner-data list box draws only those in view. The user selects lines with the mouse,
// Shift and Ctrl+A, and Ctrl+C copies them as text, as from a memo.
class LinesView : public Control {
  public:
    void Clear();
    void AddLine(std::string_view line); // kept; shown at the next Commit
    void Commit();                       // the list shows every line added so far
    int LineCount() const { return static_cast<int>(lines_.size()); }
    std::string Line(int index) const;
    const std::vector<std::string>& Lines() const { return lines_; }
    void SelectAll();
    void CopySelection() const; // the selected lines to the clipboard as text, joined by CR LF
    void DrawItem(const DRAWITEMSTRUCT& item) override;

  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

  private:
    std::string SelectedText() const;
    std::vector<std::string> lines_;
    size_t shown_ = 0;   // lines the list has been told of
    size_t longest_ = 0; // characters of the longest line, whose width sets the horizontal extent
    int extent_ = 0;
};

// A bar the user drags to resize the left-aligned control before it in the layout table.
class Splitter : public Control {
  protected:
    WindowKind Kind(const Row& row) const override;
    void Created(const Row& row) override;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    Control* target_ = nullptr;
    int grab_ = 0;
};

} // namespace ui
