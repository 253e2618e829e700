// The DOS start-file editor and text viewer: the dialog, loading and saving a file with its .Bak copy,
// and the default blocks appended to the start files.
#include "setup/editor.h"

#include <windows.h>

#include <cstdio>

#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/paths.h"
#include "lib/proc_win32.h"
#include "lib/recfile.h"
#include "lib/textfold.h"
#include "setup/setupstate.h"

FormGeometry EditorGeometry{};

namespace {

constexpr int MaxLine = 1024;

// The whole file; false when it cannot be opened or read.
bool ReadWholeFile(std::string_view path, std::string& bytes) {
    FsError error = FsOk;
    FileHandle h = OpenFile(path, FileAccess::Read, ShareRead, error);
    if (h == NoFile) return false;
    char block[16384];
    int got;
    while ((got = ReadBlock(h, block, sizeof block, error)) > 0)
        bytes.append(block, static_cast<size_t>(got));
    CloseFile(h);
    return error == FsOk;
}

void AddLines(ui::Memo& memo, const std::vector<std::string>& lines) {
    // One insertion for all lines: the edit re-lays itself out once.
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    if (!text.empty()) memo.AddLine(text.substr(0, text.size() - 2));
}

// A dialog for one use, placed where the editor was left.
TDialSetUp2* OpenDialog(const std::string& caption) {
    TDialSetUp2* dialog = nullptr;
    CreateKindForm(KindDialog, dialog);
    PlaceForm(*dialog, EditorGeometry);
    dialog->SetCaption(caption);
    return dialog;
}

void CloseDialog(TDialSetUp2*& dialog) {
    SaveGeometry(*dialog, EditorGeometry);
    ReleaseForm(dialog);
}

// A file the memo cannot hold unchanged is shown but never saved.
void MakeReadOnly(TDialSetUp2& dialog, const char* note) {
    dialog.Memo.SetReadOnly(true);
    dialog.SetCaption(dialog.Caption() + note);
}

const char* const UnsafeNote = "  (read only: long lines or NUL characters)";

void ClearReadOnly(std::string_view path) {
    SysName name(path);
    DWORD attributes = GetFileAttributesA(name.c);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(name.c, attributes & ~FILE_ATTRIBUTE_READONLY);
}

} // namespace

TDialSetUp2::TDialSetUp2() {
    using namespace ui;
    // clang-format off
    Create({.caption = "", .clientWidth = 592, .clientHeight = 405, .border = Border::Sizeable,
            .minimize = false, .maximize = false});
    SetBounds(Left(), Top(), 600, 439);
    Build({
        {.control = &Memo, .options = opt::VScroll | opt::HScroll, .fontHeight = -13, .align = Align::Client,
         .fontFace = "Courier New"},
        {.control = &PanelB, .height = 63, .options = opt::NoBevel, .align = Align::Bottom},
        {.control = &Label1, .parent = &PanelB, .left = 8, .top = 4, .width = 330, .height = 56,
         .caption = "Please delete/modify the old or appended lines!", .options = opt::Hidden | opt::WordWrap,
         .fontHeight = -17},
        {.control = &PanelR, .parent = &PanelB, .width = 248, .options = opt::NoBevel, .align = Align::Right},
        {.control = &LabelLT, .parent = &PanelR, .left = 4, .top = 24, .caption = "Line:"},
        {.control = &LabelLV, .parent = &PanelR, .left = 34, .top = 24, .width = 40, .height = 16},
        {.control = &OKBtn, .parent = &PanelR, .left = 80, .top = 19, .width = 75, .height = 25, .caption = "OK",
         .options = opt::Default, .modalResult = MrOk},
        {.control = &CancelBtn, .parent = &PanelR, .left = 163, .top = 19, .width = 75, .height = 25,
         .caption = "Cancel", .options = opt::Cancel, .modalResult = MrCancel},
    });
    // clang-format on
    Memo.SetMaxLength(0); // files beyond the edit's 32 KB default
    Memo.OnClick = [this] { ShowCaretLine(); };
    Memo.OnKeyDown = [this](int) { ShowCaretLine(); };
    Memo.OnKeyUp = [this](int) { ShowCaretLine(); };
    SetActiveControl(Memo);
    ShowCaretLine();
}

void TDialSetUp2::ShowCaretLine() {
    char text[16];
    std::snprintf(text, sizeof text, "%4d", Memo.CaretLine() + 1);
    LabelLV.SetCaption(text);
}

std::string StartFileName(int which, bool withPath) {
    bool nt = IsWindowsNT();
    const char* name = which == 1 ? (nt ? "CONFIG.NT" : "CONFIG.SYS") : (nt ? "AUTOEXEC.NT" : "AUTOEXEC.BAT");
    if (!withPath) return name;
    if (!nt) return std::string("C:\\") + name;
    PathBuf system;
    SystemDir(system);
    return system.Str() + "\\" + name;
}

// ---- The three uses -----------------------------------------------------------------------------------

void EditStartFile(int which) {
    std::string caption = "Edit " + StartFileName(which, false);
    TDialSetUp2* dialog = OpenDialog(caption);
    ShowControls(false, {&dialog->LabelLT, &dialog->LabelLV});
    int answer = AskYesNoCancel(caption, {"Append default installation", "to your current installation?"},
                                IconKindQuestion);
    if (answer < 0) {
        ReleaseForm(dialog);
        return;
    }
    if (answer == 1) dialog->Label1.SetVisible(true);
    std::string file = StartFileName(which, true);
    // A missing start file is reported, and saving then creates it.
    bool faithful = LoadIntoMemo(*dialog, file);
    if (answer == 1) (which == 1 ? AppendDefaultConfig : AppendDefaultAutoexec)(*dialog);
    if (!faithful) MakeReadOnly(*dialog, UnsafeNote);
    if (dialog->ShowModal() == ui::MrOk && faithful) {
        ClearReadOnly(file);
        SaveFromMemo(*dialog, file);
    }
    CloseDialog(dialog);
}

void ViewTextFile(std::string_view file) {
    if (!FileExists(file)) {
        ShowFileMissing(file);
        return;
    }
    TDialSetUp2* dialog = OpenDialog(std::string(file));
    dialog->CancelBtn.SetVisible(false);
    dialog->OKBtn.SetLeft(dialog->CancelBtn.Left()); // the one button at the right edge
    dialog->Memo.SetReadOnly(true);
    LoadIntoMemo(*dialog, file);
    dialog->ShowModal();
    CloseDialog(dialog);
}

void EditTextFile(std::string_view file) {
    if (!FileExists(file)) {
        ShowFileMissing(file);
        return;
    }
    TDialSetUp2* dialog = OpenDialog("Edit " + std::string(file));
    bool faithful = LoadIntoMemo(*dialog, file);
    if (!faithful) MakeReadOnly(*dialog, UnsafeNote);
    if (dialog->ShowModal() == ui::MrOk && faithful) SaveFromMemo(*dialog, file);
    CloseDialog(dialog);
}

// ---- Reading and writing --------------------------------------------------------------------------------

std::vector<std::string> SplitTextLines(std::string_view bytes, bool& faithful) {
    faithful = true;
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of(std::string_view("\n\r\x1a", 3), pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string line(bytes.substr(pos, end - pos));
        if (line.size() > MaxLine) {
            line.resize(MaxLine);
            faithful = false;
        }
        for (char& c : line)
            if (c == 0) {
                c = ' ';
                faithful = false;
            }
        lines.push_back(std::move(line));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        pos = end + 1;
    }
    return lines;
}

bool LoadIntoMemo(TDialSetUp2& dialog, std::string_view file) {
    std::string bytes;
    if (!ReadWholeFile(file, bytes)) {
        ShowStop("File error", {std::string(file)});
        return true;
    }
    bool faithful = true;
    AddLines(dialog.Memo, SplitTextLines(bytes, faithful));
    // The caret at the start, as a freshly opened file shows it.
    SendMessageA(dialog.Memo.Handle(), EM_SETSEL, 0, 0);
    dialog.ShowCaretLine();
    return faithful;
}

namespace {

// The copy that keeps the old file: its name with the extension Bak. A file that is itself a .Bak (any
// case, any spelling of its name) would be its own copy, so it takes the first free name of .B01 to
// .B99 instead: still a DOS name beside the file, and it never overwrites anything. Empty when none
// of them is free.
std::string BackupName(const std::string& path) {
    NameBuf backup;
    backup.Set(path);
    ChangeExt(0, "Bak", backup);
    if (!SameText(backup.View(), path) && !SameFile(backup.View(), path)) return backup.Str();
    for (int n = 1; n <= 99; ++n) {
        char ext[4];
        std::snprintf(ext, sizeof ext, "B%02d", n);
        backup.Set(path);
        ChangeExt(0, ext, backup);
        if (!FileExists(backup.View()) && !DirExists(backup.View())) return backup.Str();
    }
    return "";
}

} // namespace

void SaveFromMemo(TDialSetUp2& dialog, std::string_view file) {
    std::string path(file);
    if (!AskCoded("Confirm", {"Save changes to " + path}, 2)) return;
    // An existing file is saved only once its copy is made: the copy is the user's way back.
    if (FileExists(path)) {
        std::string backup = BackupName(path);
        if (backup.empty() || CopyOneFile(path, backup) != FsOk) {
            ShowStop("File error", {path});
            return;
        }
    }
    std::string text;
    for (const std::string& line : dialog.Memo.Lines()) text += line + "\r\n";
    // The file is replaced whole or not at all: after a failure it is still the old one.
    RecordFile f;
    bool failed = false;
    CreateWrite(f, path, failed);
    if (!failed) {
        WriteBytes(f, text.data(), static_cast<int>(text.size()));
        Close(f, failed);
    }
    if (failed) ShowStop("File error", {path});
}

// ---- Default blocks -------------------------------------------------------------------------------------

std::string ReplaceWinDir(std::string_view line) {
    std::string winDir = SetupState.WindowsDir.Str();
    const std::string_view standard = "C:\\WINDOWS";
    std::string result(line);
    if (lstrcmpiA(winDir.c_str(), "C:\\WINDOWS") == 0) return result;
    int at = StrFind(1, false, true, standard, result);
    while (at > 0) {
        result.replace(static_cast<size_t>(at - 1), standard.size(), winDir);
        at = StrFind(at + static_cast<int>(winDir.size()), false, true, standard, result);
    }
    return result;
}

namespace {
const char* const AppendedHeading = "rem ---- Here starts the appended default configuration ----";
} // namespace

void AppendDefaultConfig(TDialSetUp2& dialog) {
    std::vector<std::string> lines = {AppendedHeading};
    if (IsWindowsNT())
        lines.insert(lines.end(),
                     {"dos=high, umb", "device=%SystemRoot%\\system32\\himem.sys", "EMM = ram", "FILES=20",
                      "rem BREAK=ON", "rem Additionally you have to switch on the EMS in the file",
                      ReplaceWinDir("rem C:\\WINDOWS\\_Default.PIF and in all VEXA PIF-files")});
    else
        lines.insert(lines.end(), {"BREAK=ON", ReplaceWinDir("COUNTRY=1,,C:\\WINDOWS\\COMMAND\\COUNTRY.SYS"),
                                   "FILES=20", "DOS=HIGH,UMB", ReplaceWinDir("DEVICE=C:\\WINDOWS\\HIMEM.SYS"),
                                   ReplaceWinDir("DEVICE=C:\\WINDOWS\\EMM386.EXE ram 512"),
                                   "SHELL=C:\\COMMAND.COM /E:512 /P"});
    AddLines(dialog.Memo, lines);
}

void AppendDefaultAutoexec(TDialSetUp2& dialog) {
    std::string bat = SetupState.InstallDir.Str() + "\\KORVO\\BAT;";
    std::vector<std::string> lines = {AppendedHeading};
    if (IsWindowsNT())
        lines.push_back("path=%SystemRoot%\\system32;%SystemRoot%;" + bat);
    else
        lines.insert(
            lines.end(),
            {"@ECHO OFF",
             ReplaceWinDir("LOADHIGH C:\\WINDOWS\\COMMAND\\KEYB UK,,C:\\WINDOWS\\COMMAND\\KEYBOARD.SYS"),
             ReplaceWinDir("LOADHIGH C:\\WINDOWS\\COMMAND\\DOSKEY"),
             "rem The two lines above are independ from the VEXA program",
             ReplaceWinDir("LOADHIGH C:\\WINDOWS\\COMMAND\\MODE LPT1:,,P"),
             "rem This line switch off the time out for a printer at LPT1 port",
             ReplaceWinDir("PATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND;" + bat),
             "rem C:\\VEXA\\KORVO\\INSTALL\\PCICONF 2B8",
             "rem The line above is only necessary for the PCI IEEE board"});
    AddLines(dialog.Memo, lines);
}
