// The start-file editor as a real window: how files become lines and go back, the save question, the
// .Bak copy (a .Bak file's under a free name), a failure at every file operation of a save, files the
// editor must not change, and the start files with their default blocks on the NT family (this Wine)
// and on the 95 family (a child run under Wine's Windows 95 emulation, which also repeats every fault
// loop here). The information tools on a prepared tree: the full report byte for byte (line limits, the
// Cryo and Fast files, the start files, the "Start VEXA" question) and with a failure at each of its
// operations, and the report picker, with the stand-ins writing VEXA's own reports. The launchers on the
// same tree (what was started, where and with what: the stand-ins' log), the start file on the NT
// family, the ROM search, and the set-up state's data files and start-parameter file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/proc_win32.h"
#include "setup/editor.h"
#include "setup/infotools.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"
#include "support/demo_win32.h"
#include "support/emulated_win32.h"
#include "support/fault_loop.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::ScopedEnv;
using testsupport::ScriptedPrompter;
using testsupport::WriteBytes;
using testsupport::WriteTextLines;
using Lines = std::vector<std::string>;

namespace {

// Answers each box as a user who wants the work done ("Confirm" Yes, "Start VEXA" No, any other OK)
// and keeps them: where a fault strikes decides which boxes come.
struct AnsweringPrompter final : ui::Prompter {
    AnsweringPrompter() { ui::SetPrompter(this); }
    ~AnsweringPrompter() override { ui::SetPrompter(nullptr); }
    int Ask(const std::string& caption, const std::string& text, unsigned) override {
        if (caption == "File error")
            Errors.push_back(text);
        else
            Others.push_back(caption);
        return caption == "Confirm" ? ui::IdYes : caption == "Start VEXA" ? ui::IdNo : ui::IdOk;
    }
    void Clear() { Errors.clear(), Others.clear(); }
    Lines Errors; // the texts of the "File error" boxes: the files not written
    Lines Others; // the captions of the other boxes
};

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
    const std::string nul("a\0b\r\n", 5), longLine(1025, 'x'), missing = "<missing>"; // as ReadBytes tells it
    const struct {
        const char* name;
        std::string was; // the file before
        std::vector<int> answers;
        std::string after, backupAfter;
        Lines boxes; // their captions
    } cases[] = {
        {"yes",
         "one\ntwo\r\r\nend",
         {ui::IdYes},
         "new one\r\ntwo\r\n\r\nend\r\n",
         "one\ntwo\r\r\nend",
         {"Confirm"}},
        {"no", "one\r\ntwo\r\n", {ui::IdNo}, "one\r\ntwo\r\n", "older backup", {"Confirm"}},
        // A file the memo cannot hold unchanged opens read only (no answers) and is never written.
        {"NUL", nul, {}, nul, "older backup", {}},
        {"long line", longLine, {}, longLine, "older backup", {}},
        {"missing", missing, {ui::IdOk}, missing, "older backup", {"File not exist"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(file.c_str());
        if (c.was != missing) WriteBytes(file, c.was);
        WriteBytes(backup, "older backup");
        ScriptedPrompter local;
        for (int answer : c.answers) local.Answer(answer);
        EditorHook hook([&](TDialSetUp2& d) {
            EXPECT_EQ(d.Memo.ReadOnly(), c.answers.empty());
            Type(d.Memo, "new ");
        });
        EditTextFile(file);
        EXPECT_EQ(hook.shown, c.was == missing ? 0 : 1);
        EXPECT_EQ(hook.caption.find("(read only") != std::string::npos, c.answers.empty());
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

// A .Bak file is not its own copy: the old bytes go under the first free name of .B01, .B02, ... A
// line of 65,535 characters or more goes back whole.
TEST_F(EditorTest, ABakFileKeepsItsCopyUnderAFreeNameAndLongLinesStayWhole) {
    std::string file = dir / "config.bak";
    const std::string longLine(70000, 'n');
    WriteBytes(file, "first\r\n");
    WriteBytes(dir / "config.B01", "taken");
    boxes.Answer(ui::IdYes);
    EditorHook hook([&](TDialSetUp2& d) { d.Memo.AddLine(longLine); });
    EditTextFile(file);
    EXPECT_TRUE(ReadBytes(file) == CrLf({"first", longLine})) << ReadBytes(file).size() << " bytes";
    EXPECT_EQ(ReadBytes(dir / "config.B01"), "taken");
    EXPECT_EQ(ReadBytes(dir / "config.B02"), "first\r\n");
}

// Whichever operation of a save fails (the copy, the create, a write, the close, the move), the file is
// its old bytes or the edited text, its .Bak the old bytes or its own older ones, "File error" tells of
// the failure, and no temporary file stays.
TEST_F(EditorTest, SavesWholeOrNotAtAll) {
    std::string file = dir / "CONFIG.SYS", backup = dir / "CONFIG.Bak";
    const std::string old = CrLf({"FILES=30", "BUFFERS=20"}), added(100000, 'n'),
                      fresh = old + added + "\r\n";
    AnsweringPrompter prompts;
    EditorHook hook([&](TDialSetUp2& d) { d.Memo.AddLine(added); }); // beyond the write-behind buffer
    int positions = testsupport::ForEachFault(
        [&] {
            WriteBytes(file, old);
            WriteBytes(backup, "older backup");
            prompts.Clear();
            EditTextFile(file);
        },
        [&](int position, FsError) {
            std::string now = ReadBytes(file), kept = ReadBytes(backup);
            bool told = prompts.Errors == Lines{file};
            EXPECT_TRUE(now == (told ? old : fresh)) << now.size() << " bytes";
            EXPECT_EQ(told, position > 0 && now == old);
            EXPECT_TRUE(kept == old || (told && kept == "older backup")) << kept;
            EXPECT_EQ(prompts.Others, Lines{"Confirm"});
            EXPECT_TRUE(testsupport::TempFilesIn(dir.Path()).empty());
        });
    EXPECT_GE(positions, 5); // copy, create, writes, close, move
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
    EXPECT_EQ(testsupport::RunTestsEmulated("win95", "EditorTest.On95*:*WholeOrNotAtAll"), 0);
}

TEST_F(EditorTest, On95DosStartFilesGetTheDosBlocksWithTheWindowsFolder) {
    SKIP_UNLESS_EMULATED();
    ASSERT_EQ(SetupState.WinVersionCode, 1);
    SetupState.WindowsDir.Set("D:\\WIN98");
    EXPECT_EQ(StartFileName(1, true), "C:\\CONFIG.SYS");
    EXPECT_EQ(StartFileName(2, true), "C:\\AUTOEXEC.BAT");
    std::string autoexec = EditStart(2, ui::IdYes, "");
    EXPECT_EQ(autoexec.substr(0, Heading.size() + 13), Heading + "\r\n@ECHO OFF\r\n");
    EXPECT_NE(autoexec.find("\r\nPATH D:\\WIN98;D:\\WIN98\\COMMAND;C:\\Vexa\\KORVO\\BAT;\r\n"),
              std::string::npos);
}

// A Windows folder whose name holds the standard one must not make the replacing run on forever. (Every
// standard folder of a line replaced: the 95 family's PATH line.)
TEST(ReplaceWinDirTest, ScansOnAfterTheInsert) {
    ResetSetupState();
    SetupState.WindowsDir.Set("C:\\WINDOWS\\C:\\WINDOWS");
    EXPECT_EQ(ReplaceWinDir("C:\\WINDOWS;"), "C:\\WINDOWS\\C:\\WINDOWS;");
}

// ---- The information tools ------------------------------------------------------------------------

// A file's block in a report: the heading and its first lines.
std::string Block(const std::string& name, const Lines& lines, size_t limit = 0) {
    Lines head(lines.begin(), lines.begin() + (limit && limit < lines.size() ? limit : lines.size()));
    return CrLf({"<<<<<<<<<< " + name + " >>>>>>>>>>"}) + CrLf(head);
}

Lines Numbered(const std::string& prefix, int count) {
    Lines lines;
    for (int i = 1; i <= count; ++i) lines.push_back(prefix + std::to_string(i));
    return lines;
}

class InfoToolsTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        ResetInfoState();
        SetupState.InstallDir.Set(tree);
        ASSERT_TRUE(testsupport::MakeVexaTree(tree, "V 4.00"));
        for (const char* sub : {"Doc", "Hardconf\\Cryo", "Hardconf\\Meas", "RunDat", "Install", "Prg"})
            testsupport::MakeDirs(korvo + "\\" + sub);
        ASSERT_TRUE(testsupport::CopyStandin("Install", korvo + "\\Install"));
        ASSERT_TRUE(testsupport::CopyStandin("VEXA", korvo + "\\Prg"));
    }
    std::string Doc(const std::string& name) const { return korvo + "\\Doc\\" + name; }
    // The one run the log shows: which program, in which folder, with which command line.
    void ExpectOneRun(const std::string& name, const std::string& workDir, const std::string& commandLine) {
        std::vector<testsupport::StandinRun> runs = testsupport::ReadStandinLog(log);
        ASSERT_EQ(runs.size(), 1u); // the log is written as the program ends: there only when waited for
        EXPECT_EQ(runs[0].Name, name);
        EXPECT_EQ(runs[0].Dir, workDir);
        EXPECT_EQ(runs[0].CommandLine, commandLine);
    }

    std::string tree = dir / "Vexa";
    std::string korvo = tree + "\\Korvo";
    std::string log = dir / "standin.log";
    ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
};

// The "Start VEXA" question answered No: the old start report follows under its mark; Yes runs VEXA's
// start test first, whose report then stands without it.
TEST_F(InfoToolsTest, FullReportGathersEveryFileWithItsLimits) {
    WriteTextLines(korvo + "\\InitDat\\Version.DAT", {"V 4.00", "12.03.2004"});
    WriteTextLines(korvo + "\\InitDat\\ConFix.DAT", {"fix", "01.02.2005 * comment"});
    Lines hardware = Numbered("h", 300);
    hardware[109] = "12"; // cryostat 1
    hardware[123] = "3";  // fast measurement file
    WriteTextLines(korvo + "\\Hardconf\\Hardware.DAT", hardware);
    Lines peri = Numbered("p", 70);
    peri[1] = std::string(200, 'w'); // cut to 128 characters
    WriteTextLines(korvo + "\\Hardconf\\Peri_1.DAT", peri);
    WriteTextLines(korvo + "\\Hardconf\\Cryo\\Cryo_12.DAT", {"cryo twelve"});
    WriteTextLines(korvo + "\\Hardconf\\Meas\\Fast_3.DAT", {"fast three"});
    std::string ntConfig = SetupState.SystemDir.Str() + "\\CONFIG.NT";
    testsupport::ScopedFile keep1{"C:\\CONFIG.SYS"}, keep2{"C:\\AUTOEXEC.BAT"}, keep3{ntConfig};
    WriteTextLines("C:\\CONFIG.SYS", {"FILES=30"});
    DeleteFileA("C:\\AUTOEXEC.BAT"); // a missing start file has no block
    WriteTextLines(ntConfig, {"dos=high"});
    WriteTextLines(Doc("Start.REP"), {"old start"});

    boxes.Answer(ui::IdNo).Answer(ui::IdOk);
    EditorHook hook([](TDialSetUp2&) {});
    MakeFullReport();
    std::string file = Doc("FullConf.REP");
    EXPECT_EQ(hook.caption, file);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "Start VEXA");
    EXPECT_EQ(boxes.Boxes[1].Caption, "Information");
    EXPECT_EQ(boxes.Boxes[1].Text, "If you have problems with starting\r\nthe program or with your "
                                   "configuration,\r\nsend this file to your dealer:\r\n" +
                                       file);
    peri[1].resize(128);
    // The versions report comes first.
    const Lines winConf = testsupport::ReadTextLines(Doc("WinConf.REP"));
    ASSERT_EQ(winConf.size(), 9u);
    EXPECT_EQ(winConf[2], "Confix  date : 01.02.2005");
    std::string expected = Block("WinConf.REP", winConf) +
                           Block("PC_Conf.REP", testsupport::ReadTextLines(Doc("PC_Conf.REP"))) +
                           Block("Hardware.DAT", hardware, 189) + Block("Peri_1.DAT", peri, 64) +
                           Block("Cryo_12.DAT", {"cryo twelve"}) + Block("Fast_3.DAT", {"fast three"}) +
                           Block("CONFIG.SYS", {"FILES=30"}) + Block("CONFIG.NT", {"dos=high"}) +
                           CrLf({"----- Old Run -----"}) + Block("Start.REP", {"old start"});
    EXPECT_EQ(ReadBytes(file), expected);
    ExpectOneRun("Install", korvo, korvo + "\\Install\\Install.EXE Info Win"); // VxSet for its report

    boxes.Answer(ui::IdYes).Answer(ui::IdOk);
    MakeFullReport();
    EXPECT_EQ(testsupport::ReadStandinLog(log).back().CommandLine, korvo + "\\Prg\\VEXA.EXE test");
    EXPECT_EQ(ReadBytes(file).find("Old Run"), std::string::npos);
    EXPECT_EQ(testsupport::ReadTextLines(Doc("Start.REP"))[0], "VEXA start test"); // written by the run
}

// The full report holds the versions report, and each is replaced whole: a report that fails keeps
// the earlier one, says "File error" and is not shown; the full report goes on without a versions
// report that failed.
TEST_F(InfoToolsTest, ReportsWholeOrNotAtAll) {
    const std::string full = Doc("FullConf.REP"), win = Doc("WinConf.REP"), oldFull = "old full\r\n",
                      oldWin = "old win\r\n";
    WriteTextLines(Doc("Start.REP"), {"old start"});
    AnsweringPrompter prompts;
    EditorHook hook([](TDialSetUp2&) {});
    std::string freshFull, freshWin;
    testsupport::ForEachFault(
        [&] {
            WriteBytes(full, oldFull);
            WriteBytes(win, oldWin);
            prompts.Clear();
            hook.shown = 0;
            MakeFullReport();
        },
        [&](int position, FsError) {
            std::string nowFull = ReadBytes(full), nowWin = ReadBytes(win);
            if (position == 0) freshFull = nowFull, freshWin = nowWin;
            auto told = [&](const std::string& path) {
                return std::ranges::count(prompts.Errors, path) == 1;
            };
            bool winFailed = told(win), fullFailed = told(full);
            EXPECT_EQ(prompts.Errors.size(), winFailed + fullFailed); // no other file, nothing twice
            EXPECT_TRUE(position > 0 || prompts.Errors.empty());
            // The versions report is not made when the full report cannot even be started.
            EXPECT_TRUE(nowWin == freshWin ? !winFailed : nowWin == oldWin && (winFailed || fullFailed));
            std::string withoutWin = freshFull.substr(freshFull.find("<<<<<<<<<< PC_Conf.REP"));
            EXPECT_EQ(nowFull, fullFailed ? oldFull : winFailed ? withoutWin : freshFull);
            EXPECT_EQ(hook.shown, fullFailed ? 0 : 1);
            EXPECT_TRUE(testsupport::TempFilesIn(korvo + "\\Doc").empty());
        });
}

void CALLBACK PickStartErr(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box) return;
    KillTimer(nullptr, id);
    SetDlgItemTextA(box, 0x47c, "StartErr.REP"); // the file name box
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(InfoToolsTest, TheReportPickerOffersTheWorkReport) {
    testsupport::MakeDirs(tree + "\\Work");
    WriteTextLines(tree + "\\Work\\StartErr.REP", {"error 7"});
    Lines viewed;
    ui::SetModalHook([&](ui::Form& form) {
        auto* tools = dynamic_cast<TDialSetUp3*>(&form);
        if (!tools) {
            viewed.push_back(form.Caption());
            form.SetModalResult(ui::MrOk);
            return;
        }
        testsupport::SaveScreenshot(form.Handle(), "information_tools");
        // The system's dialog runs its own loop: a timer presses Open on the file it offers.
        SetTimer(nullptr, 0, 500, PickStartErr);
        tools->ButtonL1Click(tools->ButtonL2);
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    });
    ShowInfoTools();
    ui::SetModalHook(nullptr);
    EXPECT_EQ(testsupport::ReadTextLines(Doc("StartErr.REP")), Lines{"error 7"}); // copied into Doc
    // The chosen path as the system's dialog spells it (the folder's own case).
    ASSERT_EQ(viewed.size(), 1u);
    EXPECT_EQ(lstrcmpiA(viewed[0].c_str(), Doc("StartErr.REP").c_str()), 0) << viewed[0];
}

// ---- The launchers and the set-up state ---------------------------------------------------------------

class LauncherTest : public InfoToolsTest {};

TEST_F(LauncherTest, PciConfGetsThePortFromHardwareLine43) {
    auto lines = [](int count, const std::string& line43) {
        std::string text;
        for (int i = 1; i <= count; ++i) text += (i == 43 ? line43 : "0") + "\r\n";
        return text;
    };
    struct Case {
        std::string hardware; // Hardware.DAT, or none
        std::string port;
    } cases[] = {
        {lines(70, "696 * PCI port"), "02B8"}, // no Hardware.DAT: the information tools' test
        {lines(42, ""), "2b8"},
        {lines(43, "70000"), "11170"},
    };
    std::string hw = korvo + "\\Hardconf\\Hardware.DAT";
    ASSERT_TRUE(testsupport::CopyStandin("PCICONF", korvo + "\\Install"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        DeleteFileA(hw.c_str());
        DeleteFileA(log.c_str());
        if (!c.hardware.empty()) WriteBytes(hw, c.hardware);
        RunPciConf();
        ExpectOneRun("PCICONF", korvo + "\\Install", korvo + "\\Install\\PCICONF.EXE " + c.port);
    }
}

TEST_F(LauncherTest, VexaRunsInPrgWithoutWaiting) {
    ScopedEnv sleep{"VEXA_STANDIN_SLEEP", "1500"};
    RunVexa("sim", false);
    EXPECT_TRUE(testsupport::ReadStandinLog(log).empty()) << "returned before VEXA ended";
    for (int waited = 0; waited < 20000 && testsupport::ReadStandinLog(log).empty(); waited += 100)
        Sleep(100);
    ExpectOneRun("VEXA", korvo + "\\Prg", korvo + "\\Prg\\VEXA.EXE sim");
}

TEST_F(LauncherTest, StartFileIsTheDesktopPifOnlyOnTheNtFamily) {
    // The prefix's own desktop is the Unix home folder: the program reads this one instead.
    std::string desktop = dir / "Desktop";
    testsupport::MakeDirs(desktop);
    testsupport::ScopedRegistryValue redirect(
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Desktop",
        HKEY_CURRENT_USER);
    redirect.Set(desktop);
    testsupport::WriteTextLines(desktop + "\\VEXA.PIF", {"pif"});
    std::string exe = korvo + "\\Prg\\VEXA";
    std::string pif = korvo + "\\Install\\Win\\VEXA.PIF";
    struct Case {
        int code;
        bool winDirThere;
        std::string start;
    } cases[] = {
        {2, true, exe},  // the 95 family starts VEXA itself
        {4, false, exe}, // the copy failed
        {5, true, pif},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << c.winDirThere);
        SetupState.WinVersionCode = c.code;
        testsupport::RemoveTree(korvo + "\\Install\\Win");
        if (c.winDirThere) testsupport::MakeDirs(korvo + "\\Install\\Win");
        EXPECT_EQ(VexaStartFile(), c.start);
        EXPECT_EQ(testsupport::FileExists(pif), c.start == pif);
    }
}

// The 95 family's ROM search reads the adapter area of the first megabyte, which Wine keeps reserved:
// nothing there is no match (and no crash); a board's signature is found at its segment.
TEST(FindCecRomTest, AdapterAreaSearchedOnlyOnThe95Family) {
    ResetSetupState();
    SetupState.WinVersionCode = 4;
    EXPECT_EQ(FindCecRom(), -1); // the NT family never reads there
    SetupState.WinVersionCode = 1;
    EXPECT_EQ(FindCecRom(), 0);
    void* const area = reinterpret_cast<void*>(0xE0000);
    char* at = static_cast<char*>(VirtualAlloc(area, 0x10000, MEM_COMMIT, PAGE_READWRITE));
    if (!at) at = static_cast<char*>(VirtualAlloc(area, 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_EQ(at, area);
    std::memcpy(at + 0xC000 + 50, "CEC", 3); // segment EC00, the last one searched
    std::memcpy(at + 0xC000 + 60, "Copy", 4);
    EXPECT_EQ(FindCecRom(), 0xEC00);
    VirtualFree(at, 0x10000, MEM_DECOMMIT);
}

class SetupStateTest : public EditorTest {}; // no box expected anywhere here

TEST_F(SetupStateTest, DataFileLinesCutCommentsAndLongLines) {
    const std::string longLine(300, 'L');
    struct Case {
        std::string bytes;
        int line;
        std::string text;
    } cases[] = {
        {"4.00\r\n15.03.1999 * program date\r\n", 2, "15.03.1999"},
        {"val \t\x01\r\n", 1, "val"}, // trailing blanks and control characters go
        {longLine + "\r\nnext\r\n", 1, std::string(256, 'L')},
        {longLine + " *c\r\nnext\r\n", 2, "next"}, // the cut line is still read to its end
    };
    std::string file = dir / "Version.DAT";
    for (const Case& c : cases) {
        WriteBytes(file, c.bytes);
        EXPECT_EQ(DatLine(file, c.line), c.text) << testing::PrintToString(c.bytes) << " line " << c.line;
    }
    EXPECT_EQ(DatLine(dir.Path(), 1), "") << "a directory";
}

// A save that fails keeps the parameters saved before, and the next start reads them.
TEST_F(SetupStateTest, CmdConfigWholeOrNotAtAll) {
    SetupState.InstallDir.Set(dir.Path());
    const std::string winDir = dir / "Korvo\\Install\\Win", file = winDir + "\\VexaCmd.CFG";
    testsupport::MakeDirs(winDir);
    bool saved = false;
    testsupport::ForEachFault(
        [&] {
            WriteBytes(file, "old\r\n");
            std::string params = "new";
            saved = LoadSaveCmdConfig(false, params);
        },
        [&](int position, FsError) {
            std::string now = ReadBytes(file), params;
            EXPECT_EQ(now, saved ? "new\r\n" : "old\r\n");
            EXPECT_EQ(saved, position == 0 || now != "old\r\n");
            EXPECT_TRUE(LoadSaveCmdConfig(true, params));
            EXPECT_EQ(params, saved ? "new" : "old");
            EXPECT_TRUE(testsupport::TempFilesIn(winDir).empty());
        });
}

TEST_F(SetupStateTest, CmdConfigLoadsSavesAndFallsBack) {
    SetupState.InstallDir.Set(dir.Path());
    std::string file = dir / "Korvo\\Install\\Win\\VexaCmd.CFG";
    std::string params = "left over";
    LoadSaveCmdConfig(false, params); // no folder yet: nothing written, nothing said
    EXPECT_FALSE(testsupport::FileExists(file));
    testsupport::MakeDirs(dir / "Korvo\\Install\\Win");
    WriteBytes(file, "opt *not a comment\r\nsecond\r\n"); // the first line, whole
    LoadSaveCmdConfig(true, params);
    EXPECT_EQ(params, "opt *not a comment");
    params = std::string(1500, 'p');
    LoadSaveCmdConfig(false, params);
    LoadSaveCmdConfig(true, params);
    EXPECT_EQ(params, std::string(1023, 'p')); // cut to its buffer
}

} // namespace
