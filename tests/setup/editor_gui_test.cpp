// The start-file editor and text viewer as real windows: how files become lines and go back, the
// save question, the .Bak copy and what a failed write leaves, files the editor must not change,
// the viewer, and the start files with their default blocks on the NT family (this Wine) and on
// the 95 family (a child run under Wine's Windows 95 emulation).
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/proc_win32.h"
#include "setup/editor.h"
#include "setup/setupstate.h"
#include "support/emulated_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/unix_shell_win32.h"
#include "support/wine_win32.h"

using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::ScriptedPrompter;
using testsupport::WriteBytes;
using Lines = std::vector<std::string>;

namespace {

// Acts on each editor dialog shown while the object lives; the hook ends it with OK unless told.
struct EditorHook : testsupport::HookGuard {
    explicit EditorHook(std::function<void(TDialSetUp2&)> act)
        : HookGuard([this, act](ui::Form& form) {
              auto& dialog = dynamic_cast<TDialSetUp2&>(form);
              ++shown;
              caption = dialog.Caption();
              act(dialog);
              if (dialog.ModalResult() == ui::MrNone) SendMessageA(dialog.OKBtn.Handle(), BM_CLICK, 0, 0);
          }) {}
    int shown = 0;
    std::string caption;
};

void Type(ui::Control& control, const std::string& text) {
    for (char c : text) SendMessageA(control.Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

TEST(TextLines, SplitAsTheRecordFilesRead) {
    const struct {
        std::string bytes;
        Lines lines;
        bool faithful;
    } cases[] = {
        {"", {}, true},
        {"a\nb\rc\r\n\r\n", {"a", "b", "c", ""}, true},
        {"a\r\r\nb", {"a", "", "b"}, true}, // a last line without line end
        {std::string(1024, 'x'), {std::string(1024, 'x')}, true},
        {std::string(1025, 'x') + "\r\ny", {std::string(1024, 'x'), "y"}, false},
        {std::string("a\0b", 3), {"a b"}, false},
    };
    for (const auto& c : cases) {
        bool faithful = !c.faithful;
        EXPECT_EQ(SplitTextLines(c.bytes, faithful), c.lines) << c.bytes.substr(0, 20);
        EXPECT_EQ(faithful, c.faithful) << c.bytes.substr(0, 20);
    }
}

class EditorTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetSetupState();
        ReadWindowsState();
        SetupState.InstallDir.Set("C:\\Vexa");
        ResetGeometry(EditorGeometry);
    }
    testsupport::TempDir dir{"editor"};
    ScriptedPrompter boxes;
};

// "new " is typed into every file the editor opens, then OK: what is asked and what the file and its
// backup hold afterwards.
TEST_F(EditorTest, SaveAsksKeepsABackupAndNeverLosesTheFile) {
    std::string file = dir / "Hardware.DAT", backup = dir / "Hardware.Bak";
    const std::string unsafe("a\0b\r\n", 5), missing = "<missing>"; // as ReadBytes tells it
    const struct {
        const char* name;
        std::string was; // the file before
        std::vector<int> answers;
        bool backupIsFolder;
        std::string after, backupAfter;
        Lines boxes; // their captions
    } cases[] = {
        {"yes", "one\ntwo", {ui::IdYes}, false, "new one\r\ntwo\r\n", "one\ntwo", {"Confirm"}},
        {"no", "one\r\ntwo\r\n", {ui::IdNo}, false, "one\r\ntwo\r\n", "older backup", {"Confirm"}},
        // A file the memo cannot hold unchanged opens read only and is never written.
        {"not held", unsafe, {}, false, unsafe, "older backup", {}},
        // Without its backup nothing is written.
        {"no backup", "old\r\n", {ui::IdYes, ui::IdOk}, true, "old\r\n", missing, {"Confirm", "File error"}},
        {"missing", missing, {ui::IdOk}, false, missing, "older backup", {"File not exist"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::RemoveTree(backup);
        DeleteFileA(backup.c_str());
        DeleteFileA(file.c_str());
        if (c.was != missing) WriteBytes(file, c.was);
        if (c.backupIsFolder)
            testsupport::MakeDirs(backup);
        else
            WriteBytes(backup, "older backup");
        ScriptedPrompter local;
        for (int answer : c.answers) local.Answer(answer);
        EditorHook hook([&](TDialSetUp2& d) {
            EXPECT_EQ(d.Memo.ReadOnly(), c.was == unsafe);
            Type(d.Memo, "new ");
        });
        EditTextFile(file);
        EXPECT_EQ(hook.shown, c.was == missing ? 0 : 1);
        EXPECT_EQ(hook.caption.find("(read only") != std::string::npos, c.was == unsafe);
        Lines captions;
        for (const auto& box : local.Boxes) {
            captions.push_back(box.Caption);
            EXPECT_EQ(box.Text, (box.Caption == "Confirm" ? "Save changes to " : "") + file);
        }
        EXPECT_EQ(captions, c.boxes);
        EXPECT_EQ(ReadBytes(file), c.after);
        EXPECT_EQ(ReadBytes(backup), c.backupAfter);
    }
}

TEST_F(EditorTest, ViewerShowsReadOnlyWithTheLineNumber) {
    std::string file = dir / "StartOpt.DOC";
    WriteBytes(file, "sim    simulation\r\ntest   test run\r\nfirst  line three\r\n");
    EditorHook hook([](TDialSetUp2& d) {
        EXPECT_TRUE(d.Memo.ReadOnly());
        d.Memo.SetFocus();
        for (int i = 0; i < 2; ++i) {
            SendMessageA(d.Memo.Handle(), WM_KEYDOWN, VK_DOWN, 0);
            SendMessageA(d.Memo.Handle(), WM_KEYUP, VK_DOWN, 0);
        }
        EXPECT_EQ(d.LabelLV.Caption(), "   3");
        testsupport::SaveScreenshot(d.Handle(), "editor_view");
    });
    ViewTextFile(file);
    EXPECT_EQ(hook.caption, file);
}

TEST_F(EditorTest, AFullDiskPutsTheOldFileBack) {
    testsupport::SmallDisk disk;
    if (!disk.Letter) GTEST_SKIP() << "cannot mount a small file system (needs root)";
    std::string file = disk.Root + "AUTOEXEC.BAT", old;
    for (int i = 0; i < 400; ++i) old += std::string(48, 'o') + "\r\n";
    WriteBytes(file, old);
    boxes.Answer(ui::IdYes).Answer(ui::IdOk);
    EditorHook hook([](TDialSetUp2& d) { d.Memo.AddLine(std::string(60000, 'n')); });
    EditTextFile(file);
    EXPECT_EQ(boxes.Boxes.back().Caption, "File error");
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(ReadBytes(disk.Root + "AUTOEXEC.Bak"), old);
}

// ---- Start files ------------------------------------------------------------------------------------

const std::string Heading = "rem ---- Here starts the appended default configuration ----";

// Edits a start file with the given answer to the append question, then saves. Returns the file's
// bytes afterwards.
std::string EditStart(int which, int append, const std::string& was) {
    std::string file = StartFileName(which, true), caption = "Edit " + StartFileName(which, false);
    testsupport::ScopedFile keep(file), keepBackup(file.substr(0, file.rfind('.')) + ".Bak");
    DeleteFileA(file.c_str());
    if (was != "<missing>") WriteBytes(file, was);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    ScriptedPrompter boxes;
    boxes.Answer(append);
    if (was == "<missing>") boxes.Answer(ui::IdOk); // "File error": the editing goes on without it
    if (append != ui::IdCancel) boxes.Answer(ui::IdYes);
    EditorHook hook([&](TDialSetUp2& d) {
        if (append == ui::IdYes) testsupport::SaveScreenshot(d.Handle(), "editor_start_file");
    });
    EditStartFile(which);
    EXPECT_EQ(hook.shown, append == ui::IdCancel ? 0 : 1);
    EXPECT_EQ(boxes.Boxes[0].Caption + "|" + boxes.Boxes[0].Text,
              caption + "|Append default installation\r\nto your current installation?");
    std::string bytes = ReadBytes(file);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    return bytes;
}

TEST_F(EditorTest, NtStartFilesGetTheNtBlocks) {
    EXPECT_EQ(StartFileName(1, true), SetupState.SystemDir.Str() + "\\CONFIG.NT");
    SetupState.WindowsDir.Set("D:\\WINNT");
    // The appended block follows the old text, its heading first; the Windows folder is put in.
    const struct {
        int which, append;
        std::string was, start, within;
    } cases[] = {
        {1, ui::IdYes, "files=40\r\n", CrLf({"files=40", Heading, "dos=high, umb"}),
         "\r\nrem D:\\WINNT\\_Default.PIF and in all VEXA PIF-files\r\n"},
        {2, ui::IdYes, "<missing>",
         CrLf({Heading, "path=%SystemRoot%\\system32;%SystemRoot%;C:\\Vexa\\KORVO\\BAT;"}), ""},
        {2, ui::IdNo, "@echo off\n", "@echo off\r\n", ""},
        {1, ui::IdCancel, "untouched\n", "untouched\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.which) + " " + std::to_string(c.append));
        std::string after = EditStart(c.which, c.append, c.was);
        EXPECT_EQ(after.substr(0, c.start.size()), c.start);
        EXPECT_NE(after.find(c.within), std::string::npos) << after;
    }
}

TEST_F(EditorTest, The95FamilyRunsItsOwnChild) {
    EXPECT_EQ(testsupport::RunTestsEmulated("win95", "EditorOn95.*"), 0);
}

TEST(EditorOn95, DosStartFilesGetTheDosBlocksWithTheWindowsFolder) {
    SKIP_UNLESS_EMULATED();
    ASSERT_FALSE(IsWindowsNT());
    ResetSetupState();
    ReadWindowsState();
    SetupState.InstallDir.Set("C:\\Vexa");
    SetupState.WindowsDir.Set("D:\\WIN98");
    EXPECT_EQ(StartFileName(1, true), "C:\\CONFIG.SYS");
    EXPECT_EQ(StartFileName(2, true), "C:\\AUTOEXEC.BAT");
    std::string autoexec = EditStart(2, ui::IdYes, "");
    EXPECT_EQ(autoexec.substr(0, Heading.size() + 13), Heading + "\r\n@ECHO OFF\r\n");
    EXPECT_NE(autoexec.find("\r\nPATH D:\\WIN98;D:\\WIN98\\COMMAND;C:\\Vexa\\KORVO\\BAT;\r\n"),
              std::string::npos);
}

TEST(ReplaceWinDirTest, OnlyAnotherWindowsFolderIsPutIn) {
    ResetSetupState();
    const char* const cases[][3] = {
        {"c:\\windows", "DEVICE=C:\\WINDOWS\\HIMEM.SYS", "DEVICE=C:\\WINDOWS\\HIMEM.SYS"},
        {"C:\\WIN", "a C:\\Windows b c:\\WINDOWS", "a C:\\WIN b C:\\WIN"},
        {"C:\\WINDOWS\\C:\\WINDOWS", "C:\\WINDOWS;",
         "C:\\WINDOWS\\C:\\WINDOWS;"}, // scans on after the insert
    };
    for (auto& c : cases) {
        SetupState.WindowsDir.Set(c[0]);
        EXPECT_EQ(ReplaceWinDir(c[1]), c[2]) << c[0];
    }
}

} // namespace
