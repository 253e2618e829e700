// The launchers, with the stand-ins of the measurement program's programs in a scratch KORVO tree:
// what was started, where and with what (the stand-ins' log), the start file on the NT family, the
// unpacking into KORVO, and the ROM search under Wine's emulated Windows versions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/proc_win32.h"
#include "lib/zip_win32.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"
#include "unzip32/unziptest.h"

using testsupport::ReadStandinLog;
using testsupport::ScopedEnv;
using testsupport::ScratchDir;
using testsupport::StandinRun;

namespace {

std::string CurrentDir() {
    char d[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, d);
    return d;
}

std::string Lines(int count, int at, const std::string& value) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += (i == at ? value : "0") + "\r\n";
    return text;
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
    std::vector<StandinRun> Runs() { return ReadStandinLog(log); }

    std::string startDir = CurrentDir();
    ScratchDir dir{"launchers"};
    std::string korvo = dir / "Korvo";
    std::string log = dir / "standin.log";
    ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
    ScopedEnv sleepEnv{"VEXA_STANDIN_SLEEP", ""};
    ScopedEnv failEnv{"VEXA_STANDIN_FAIL", ""};
    testsupport::ScriptedPrompter prompter;
};

TEST_F(LauncherTest, PciConfGetsThePortFromHardwareLine43) {
    struct Case {
        std::string hardware; // Hardware.DAT, or none
        std::string port;
    } cases[] = {
        {"", "2b8"},
        {Lines(70, 43, "696 * PCI port"), "02B8"},
        {Lines(70, 43, "0"), "2b8"},
        {Lines(42, 1, "1"), "2b8"},
        {Lines(43, 43, "15"), "000F"},
        {Lines(43, 43, "70000"), "11170"},
    };
    std::string hw = korvo + "\\Hardconf\\Hardware.DAT";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        DeleteFileA(hw.c_str());
        DeleteFileA(log.c_str());
        if (!c.hardware.empty()) unziptest::WriteAll(hw, c.hardware);
        RunPciConf();
        auto runs = Runs(); // the log is written as the program ends: there only when waited for
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].Name, "PCICONF");
        EXPECT_EQ(runs[0].Dir, korvo + "\\Install");
        EXPECT_EQ(runs[0].CommandLine, korvo + "\\Install\\PCICONF.EXE " + c.port);
    }
}

TEST_F(LauncherTest, DiskInstallerRunsInKorvoAndIsWaitedFor) {
    RunDiskInstaller("Info Win");
    auto runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Name, "Install");
    EXPECT_EQ(runs[0].Dir, korvo);
    EXPECT_EQ(runs[0].CommandLine, korvo + "\\Install\\Install.EXE Info Win");
    EXPECT_TRUE(testsupport::FileExists(korvo + "\\Doc\\PC_Conf.REP"));
    EXPECT_EQ(CurrentDir(), korvo);
}

TEST_F(LauncherTest, VexaRunsInPrgWaitingOnlyWhenAsked) {
    RunVexa("test", true);
    EXPECT_TRUE(testsupport::FileExists(korvo + "\\Doc\\Start.REP"));
    EXPECT_EQ(CurrentDir(), korvo + "\\Prg");

    ScopedEnv sleep{"VEXA_STANDIN_SLEEP", "1500"};
    RunVexa("sim", false);
    EXPECT_EQ(Runs().size(), 1u) << "returned before VEXA ended";
    for (int waited = 0; waited < 20000 && Runs().size() < 2; waited += 100) Sleep(100);
    auto runs = Runs();
    ASSERT_EQ(runs.size(), 2u);
    for (const StandinRun& r : runs) {
        EXPECT_EQ(r.Name, "VEXA");
        EXPECT_EQ(r.Dir, korvo + "\\Prg");
    }
    EXPECT_EQ(runs[0].CommandLine, korvo + "\\Prg\\VEXA.EXE test");
    EXPECT_EQ(runs[1].CommandLine, korvo + "\\Prg\\VEXA.EXE sim");
}

// Points the user's desktop directory at a folder for the object's lifetime (the prefix's own desktop
// is the Unix home folder, which tests must not write into).
class ScopedDesktop {
  public:
    explicit ScopedDesktop(const std::string& path) {
        RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExA(key_, "Desktop", nullptr, &type_, reinterpret_cast<BYTE*>(old_), &size) ==
               ERROR_SUCCESS;
        RegSetValueExA(key_, "Desktop", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    }
    ~ScopedDesktop() {
        if (had_)
            RegSetValueExA(key_, "Desktop", 0, type_, reinterpret_cast<const BYTE*>(old_),
                           static_cast<DWORD>(strlen(old_) + 1));
        else
            RegDeleteValueA(key_, "Desktop");
        RegCloseKey(key_);
    }

  private:
    static constexpr const char* Key =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    DWORD type_ = REG_EXPAND_SZ;
    char old_[MAX_PATH] = {};
    bool had_ = false;
};

TEST_F(LauncherTest, StartFileIsTheDesktopPifOnlyOnTheNtFamily) {
    std::string desktop = dir / "Desktop";
    testsupport::MakeDirs(desktop);
    ScopedDesktop redirect{desktop};
    PathBuf seen;
    bool ok = false;
    SpecialFolder(16, seen, ok);
    ASSERT_EQ(seen.Str(), desktop) << "desktop redirected";

    std::string exe = korvo + "\\Prg\\VEXA";
    std::string pif = korvo + "\\Install\\Win\\VEXA.PIF";
    struct Case {
        int code;
        bool pifOnDesktop, winDirThere;
        std::string start;
    } cases[] = {
        {2, true, true, exe},
        {4, false, true, exe},
        {4, true, false, exe},
        {5, true, true, pif},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << c.pifOnDesktop << c.winDirThere);
        SetupState.WinVersionCode = c.code;
        DeleteFileA((desktop + "\\VEXA.PIF").c_str());
        DeleteFileA(pif.c_str());
        testsupport::RemoveTree(korvo + "\\Install\\Win");
        if (c.winDirThere) testsupport::MakeDirs(korvo + "\\Install\\Win");
        if (c.pifOnDesktop) testsupport::WriteTextLines(desktop + "\\VEXA.PIF", {"pif"});
        EXPECT_EQ(VexaStartFile(), c.start);
        EXPECT_EQ(testsupport::FileExists(pif), c.start == pif);
    }
}

// ---- Unpacking into KORVO -------------------------------------------------------------------------

class UnpackTest : public LauncherTest {
  protected:
    void SetUp() override {
        LauncherTest::SetUp();
        std::string tests = testsupport::TestProgramDir();
        SetUnzipDir(tests.substr(0, tests.find_last_of('\\')) + "\\src\\unzip32");
    }
    void TearDown() override {
        SetUnzipDir("");
        LauncherTest::TearDown();
    }
    std::string Archive(const std::string& name) {
        return testsupport::TestProgramDir() + "\\unzip32\\archives\\" + name;
    }
};

TEST_F(UnpackTest, ModesNameTheArchiveDifferently) {
    std::string elsewhere = dir / "download";
    testsupport::MakeDirs(elsewhere);
    ASSERT_TRUE(CopyFileA(Archive("sfx.exe").c_str(), (elsewhere + "\\bugfix.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(Archive("deflated.zip").c_str(), (korvo + "\\winfix.exe").c_str(), FALSE));
    // An older package of the name in KORVO must not be extracted in place of a missing download.
    ASSERT_TRUE(CopyFileA(Archive("stored.zip").c_str(), (korvo + "\\confix.exe").c_str(), FALSE));
    struct Case {
        std::string archive;
        int mode;
        bool ok; // else one "File not exist" box naming the archive
    } cases[] = {
        {"winfix.exe", 1, true},               // in KORVO, by name
        {elsewhere + "\\bugfix.exe", 2, true}, // copied into KORVO first
        {elsewhere + "\\bugfix.exe", 0, true}, // as given
        {elsewhere + "\\confix.exe", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive + " mode " + std::to_string(c.mode));
        testsupport::RemoveTree(korvo + "\\docs");
        prompter.Boxes.clear();
        if (!c.ok) prompter.Answer(ui::IdOk);
        EXPECT_EQ(UnpackToKorvo(c.archive, c.mode), c.ok);
        EXPECT_EQ(testsupport::FileExists(korvo + "\\docs\\deep\\er\\most.txt"), c.ok);
        EXPECT_EQ(CurrentDir(), korvo);
        ASSERT_EQ(prompter.Boxes.size(), c.ok ? 0u : 1u);
        if (!c.ok) {
            EXPECT_EQ(prompter.Boxes[0].Caption, "File not exist");
            EXPECT_EQ(prompter.Boxes[0].Text, c.archive);
        }
    }
    EXPECT_TRUE(testsupport::FileExists(korvo + "\\bugfix.exe")) << "the copy of mode 2";
}

// ---- The ROM search -------------------------------------------------------------------------------

// Runs the probe program under an emulated Windows version (Wine's per-program AppDefaults key);
// its answer line, "code <WinVersionCode> rom <FindCecRom>".
std::string CecRomUnder(const char* version, const std::string& args) {
    ScratchDir dir{"cecrom"};
    const char* key = "Software\\Wine\\AppDefaults\\cecrom_probe.exe";
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return "no registry";
    RegSetValueExA(k, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(k);
    RunProgram(testsupport::TestProgramDir() + "\\cecrom_probe", dir.Path(), dir / "answer.txt " + args,
               true);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    auto lines = testsupport::ReadTextLines(dir / "answer.txt");
    return lines.empty() ? "no answer" : lines[0];
}

TEST(FindCecRomTest, NtFamilyAnswersWithoutReading) {
    ResetSetupState();
    for (int code : {4, 5}) {
        SetupState.WinVersionCode = code;
        EXPECT_EQ(FindCecRom(), -1);
    }
    ResetSetupState();
}

TEST(FindCecRomTest, AdapterAreaSearchedOnThe95Family) {
    const struct {
        const char *version, *args, *answer;
    } cases[] = {
        {"win95", "", "code 1 rom 0"}, // nothing mapped there: no match, no crash
        {"win98", "", "code 2 rom 0"},         {"nt40", "", "code 4 rom -1"},
        {"win95", "D400", "code 1 rom 54272"}, {"win95", "C000", "code 1 rom 49152"},
        {"win95", "EC00", "code 1 rom 60416"}, {"win98", "D400", "code 2 rom 54272"},
        {"win95", "D400 Cec", "code 1 rom 0"}, // exact case
        {"win95", "D600", "code 1 rom 0"},     // between the searched segments
        {"nt40", "D400", "code 4 rom -1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CecRomUnder(c.version, c.args), c.answer) << c.version << " " << c.args;
}

} // namespace
