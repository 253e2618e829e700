// The launchers, with the stand-ins of the measurement program's programs in a scratch KORVO tree:
// what was started, where and with what (the stand-ins' log), the start file on the NT family, and the
// ROM search under Wine's emulated Windows versions. (Unpacking into KORVO is seen by the BugFix tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/proc_win32.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::ScopedEnv;
using testsupport::StandinRun;
using testsupport::TempDir;

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
    RunDiskInstaller("Info Win"); // its run is seen by the end-to-end test; the folder stays changed
    EXPECT_EQ(CurrentDir(), korvo);
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

// Runs the probe program under an emulated Windows version (Wine's per-program AppDefaults key);
// its answer line, "code <WinVersionCode> rom <FindCecRom>".
std::string CecRomUnder(const char* version, const std::string& args) {
    TempDir dir{"cecrom"};
    testsupport::ScopedRegistryValue emulated("Software\\Wine\\AppDefaults\\cecrom_probe.exe", "Version",
                                              HKEY_CURRENT_USER);
    emulated.Set(version);
    RunProgram(testsupport::TestProgramDir() + "\\cecrom_probe", dir.Path(), dir / "answer.txt " + args,
               true);
    auto lines = testsupport::ReadTextLines(dir / "answer.txt");
    return lines.empty() ? "no answer" : lines[0];
}

TEST(FindCecRomTest, AdapterAreaSearchedOnlyOnThe95Family) {
    const struct {
        const char *version, *args, *answer;
    } cases[] = {
        {"win95", "", "code 1 rom 0"}, // nothing mapped there: no match, no crash
        {"win95", "C000", "code 1 rom 49152"},
        {"win98", "EC00", "code 2 rom 60416"},
        {"nt40", "D400", "code 4 rom -1"}, // the NT family never reads there
    };
    for (const auto& c : cases)
        EXPECT_EQ(CecRomUnder(c.version, c.args), c.answer) << c.version << " " << c.args;
}

} // namespace
