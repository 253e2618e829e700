// The DOS start-file editor and text viewer: one plain-text dialog, TDialSetUp2, that
// edits CONFIG.SYS / AUTOEXEC.BAT (CONFIG.NT / AUTOEXEC.NT on the NT family) with a default block
// appended on request, edits any text file the user picks, and shows reports and documents
// read-only. Saving always asks first and keeps the previous file as a .Bak copy.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lib/forms.h"
#include "ui/controls.h"

class TDialSetUp2 : public ui::Form {
  public:
    ui::Memo Memo;
    ui::Panel PanelB;
    ui::Label Label1;
    ui::Panel PanelR; // the strip's right part: line display and buttons stay at the right edge
    ui::Label LabelLT;
    ui::Label LabelLV;
    ui::Button OKBtn;
    ui::Button CancelBtn;

    TDialSetUp2();
    // The caret's line (from 1) in LabelLV, right-aligned in 4 characters.
    void ShowCaretLine();
};

// Where the editor was last left, for the whole run (never stored on disk).
extern FormGeometry EditorGeometry;

// The start file: which 1 is CONFIG, any other value AUTOEXEC; with its path on this Windows
// (system directory on the NT family, C:\ otherwise) or the name alone.
std::string StartFileName(int which, bool withPath);

void EditStartFile(int which);
void ViewTextFile(std::string_view file);
void EditTextFile(std::string_view file);

// A text file's lines: a line ends at LF, at CR (with an LF directly behind it as its partner) or at
// character 26; the empty text after a final line end is no line. faithful turns false when a line
// is longer than 1024 characters (cut there) or holds a NUL (shown as a blank): such a file cannot be
// written back unchanged.
std::vector<std::string> SplitTextLines(std::string_view bytes, bool& faithful);

// Appends the file's lines to the memo. A file that cannot be read shows "File error" and leaves the
// memo as it was. False when the memo cannot hold the file's text unchanged (see SplitTextLines).
bool LoadIntoMemo(TDialSetUp2& dialog, std::string_view file);
// Asks, keeps the old file as .Bak (a .Bak file as .B01 to .B99), writes the memo's lines with CR LF.
// The file is replaced whole: a copy or a write that fails shows "File error" and leaves the old file.
void SaveFromMemo(TDialSetUp2& dialog, std::string_view file);

// Append the default block of CONFIG or AUTOEXEC for this Windows family to the memo.
void AppendDefaultConfig(TDialSetUp2& dialog);
void AppendDefaultAutoexec(TDialSetUp2& dialog);
// The line with every C:\WINDOWS (any case) replaced by the Windows directory, when that differs.
std::string ReplaceWinDir(std::string_view line);
