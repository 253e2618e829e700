// The set-up state and the launchers: the tree's data files (comment rules, long lines, dates) and the
// start-parameter file; the stand-ins of the measurement program's programs in a scratch KORVO tree
// (what was started, where and with what: the stand-ins' log), the start file on the NT family, and the
// ROM search. (Unpacking into KORVO is seen by the BugFix tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "lib/fs.h"
#include "lib/proc_win32.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::ScopedEnv;
using testsupport::StandinRun;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::string CurrentDir() {
    char d[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, d);
    return d;
}

class LauncherTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetSetupState();
        SetupState.InstallDir.Set(dir.Path());
        SetupState.WinVersionCode = 2;
        for (const char* sub : {"Install\\Win", "Prg", "Hardconf", "Doc"})
            testsupport::MakeDirs(korvo + "\\" + sub);
        ASSERT_TRUE(testsupport::CopyStandin("PCICONF", korvo + "\\Install"));
        ASSERT_TRUE(testsupport::CopyStandin("Install", korvo + "\\Install"));
        ASSERT_TRUE(testsupport::CopyStandin("VEXA", korvo + "\\Prg"));
    }
    void TearDown() override {
        SetCurrentDirectoryA(startDir.c_str()); // the scratch folder cannot go while it is current
        ResetSetupState();
    }
    // The one run the log shows: which program, in which folder, with which command line.
    void ExpectOneRun(const std::string& name, const std::string& workDir, const std::string& commandLine) {
        std::vector<StandinRun> runs = testsupport::ReadStandinLog(log);
        ASSERT_EQ(runs.size(), 1u); // the log is written as the program ends: there only when waited for
        EXPECT_EQ(runs[0].Name, name);
        EXPECT_EQ(runs[0].Dir, workDir);
        EXPECT_EQ(runs[0].CommandLine, commandLine);
    }

    std::string startDir = CurrentDir();
    TempDir dir{"launchers"};
    std::string korvo = dir / "Korvo";
    std::string log = dir / "standin.log";
    ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
    testsupport::ScriptedPrompter prompter;
};

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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        DeleteFileA(hw.c_str());
        DeleteFileA(log.c_str());
        if (!c.hardware.empty()) testsupport::WriteBytes(hw, c.hardware);
        RunPciConf();
        ExpectOneRun("PCICONF", korvo + "\\Install", korvo + "\\Install\\PCICONF.EXE " + c.port);
    }
}

// The run that waits is seen by the information tools' test, through the report VEXA writes beside Prg.
TEST_F(LauncherTest, VexaRunsInPrgWithoutWaiting) {
    ScopedEnv sleep{"VEXA_STANDIN_SLEEP", "1500"};
    RunVexa("sim", false);
    EXPECT_TRUE(testsupport::ReadStandinLog(log).empty()) << "returned before VEXA ended";
    EXPECT_EQ(CurrentDir(), korvo + "\\Prg");
    for (int waited = 0; waited < 20000 && testsupport::ReadStandinLog(log).empty(); waited += 100)
        Sleep(100);
    ExpectOneRun("VEXA", korvo + "\\Prg", korvo + "\\Prg\\VEXA.EXE sim");
}

TEST_F(LauncherTest, StartFileIsTheDesktopPifOnlyOnTheNtFamily) {
    // The prefix's own desktop is the Unix home folder, which tests must not write into.
    std::string desktop = dir / "Desktop";
    testsupport::MakeDirs(desktop);
    testsupport::ScopedRegistryValue redirect(
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Desktop",
        HKEY_CURRENT_USER);
    redirect.Set(desktop);
    PathBuf seen;
    bool found = false;
    SpecialFolder(16, seen, found);
    ASSERT_EQ(seen.Str(), desktop) << "desktop redirected";
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

class SetupStateTest : public testing::Test {
  protected:
    void SetUp() override { ResetSetupState(); }
    void TearDown() override { ResetSetupState(); }
    TempDir dir{"setupstate"};
    testsupport::ScriptedPrompter prompter; // no box expected anywhere here
};

TEST_F(SetupStateTest, DataFileLinesCutCommentsAndLongLines) {
    const std::string longLine(300, 'L');
    struct Case {
        std::string bytes;
        int line;
        std::string text;
    } cases[] = {
        {"4.00\r\n15.03.1999 * program date\r\n", 2, "15.03.1999"},
        {"a*b*c\r\n", 1, "a*b"},      // no blank before a star: cut at the last one
        {"a *b *c\r\n", 1, "a"},      // the first star after a blank
        {"val \t\x01\r\n", 1, "val"}, // trailing blanks and control characters go
        {longLine + "\r\nnext\r\n", 1, std::string(256, 'L')},
        {longLine + " *c\r\nnext\r\n", 2, "next"}, // the cut line is still read to its end
    };
    std::string file = dir / "Version.DAT";
    for (const Case& c : cases) {
        WriteBytes(file, c.bytes);
        EXPECT_EQ(DatLine(file, c.line), c.text) << testing::PrintToString(c.bytes) << " line " << c.line;
    }
    WriteBytes(file, longLine + "\r\n");
    EXPECT_EQ(DatLine(file, 1, 80), std::string(80, 'L')) << "the date list's width";
    EXPECT_EQ(DatLine(dir.Path(), 1), "") << "a directory";
    WriteBytes(file, "4.00\r\n* no date yet\r\n");
    EXPECT_EQ(DatDate(file), "01.01.1990");
}

TEST_F(SetupStateTest, CmdConfigLoadsSavesAndFallsBack) {
    SetupState.InstallDir.Set(dir.Path());
    std::string file = dir / "Korvo\\Install\\Win\\VexaCmd.CFG";
    std::string params = "left over";
    LoadSaveCmdConfig(false, params); // no folder yet: nothing written, nothing said
    EXPECT_FALSE(testsupport::FileExists(file));
    // Without the file "sim", and written back so, is the end-to-end road's.
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
