// The information tools on a prepared tree: the full report byte for byte (the versions report's
// labels, line limits, the Cryo and Fast files, the start files, the "Start VEXA" question), the
// dialog's remembered choice and the report picker, with the stand-ins writing VEXA's own reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "setup/editor.h"
#include "setup/infotools.h"
#include "setup/setupstate.h"
#include "support/demo_win32.h"
#include "support/emulated_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::ScriptedPrompter;
using testsupport::WriteTextLines;
using Lines = std::vector<std::string>;

namespace {

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

// Closes every viewer that opens and notes its caption.
struct ViewerHook : testsupport::HookGuard {
    ViewerHook()
        : HookGuard([this](ui::Form& form) {
              captions.push_back(form.Caption());
              form.SetModalResult(ui::MrOk);
          }) {}
    Lines captions;
};

class InfoToolsTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetSetupState();
        ReadWindowsState();
        ResetInfoState();
        ResetGeometry(EditorGeometry);
        SetupState.InstallDir.Set(tree);
        ASSERT_TRUE(testsupport::MakeVexaTree(tree, "V 4.00"));
        for (const char* sub : {"Doc", "Hardconf\\Cryo", "Hardconf\\Meas", "RunDat", "Install", "Prg"})
            testsupport::MakeDirs(korvo + "\\" + sub);
        ASSERT_TRUE(testsupport::CopyStandin("PCICONF", korvo + "\\Install"));
        ASSERT_TRUE(testsupport::CopyStandin("Install", korvo + "\\Install"));
        ASSERT_TRUE(testsupport::CopyStandin("VEXA", korvo + "\\Prg"));
    }
    std::string Doc(const std::string& name) const { return korvo + "\\Doc\\" + name; }

    testsupport::TempDir dir{"infotools"};
    std::string tree = dir / "Vexa";
    std::string korvo = tree + "\\Korvo";
    std::string log = dir / "standin.log";
    testsupport::ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
    ScriptedPrompter boxes;
};

// The "Start VEXA" question answered No: the old start report follows under its mark; Yes runs VEXA's
// start test first, whose report then stands without it.
TEST_F(InfoToolsTest, FullReportGathersEveryFileWithItsLimits) {
    WriteTextLines(korvo + "\\InitDat\\Version.DAT", {"V 4.00", "12.03.2004"});
    WriteTextLines(korvo + "\\InitDat\\ConFix.DAT", {"fix", "01.02.2005 * comment"});
    WriteTextLines(korvo + "\\InitDat\\Vexa.68k", {"68k"});
    HANDLE h = CreateFileA((korvo + "\\InitDat\\Vexa.68k").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           0, nullptr);
    SYSTEMTIME st{2001, 3, 0, 15, 10, 30, 0, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    Lines hardware = Numbered("h", 300);
    hardware[109] = "12"; // cryostat 1: appended
    hardware[110] = "5";  // cryostat 2: below 10, left out
    hardware[123] = "3";  // fast measurement file
    WriteTextLines(korvo + "\\Hardconf\\Hardware.DAT", hardware);
    Lines system = Numbered("s", 10), peri = Numbered("p", 70);
    peri[1] = std::string(200, 'w'); // cut to 128 characters
    WriteTextLines(korvo + "\\RunDat\\System.Bin", system);
    WriteTextLines(korvo + "\\Hardconf\\Peri_1.DAT", peri);
    WriteTextLines(korvo + "\\Hardconf\\Cryo\\Cryo_12.DAT", {"cryo twelve"});
    WriteTextLines(korvo + "\\Hardconf\\Cryo\\Cryo_5.DAT", {"cryo five"});
    WriteTextLines(korvo + "\\Hardconf\\Meas\\Fast_3.DAT", {"fast three"});
    std::string ntConfig = SetupState.SystemDir.Str() + "\\CONFIG.NT";
    std::string ntAutoexec = SetupState.SystemDir.Str() + "\\AUTOEXEC.NT";
    testsupport::ScopedFile keep1{"C:\\CONFIG.SYS"}, keep2{"C:\\AUTOEXEC.BAT"}, keep3{ntConfig},
        keep4{ntAutoexec};
    WriteTextLines("C:\\CONFIG.SYS", {"FILES=30"});
    DeleteFileA("C:\\AUTOEXEC.BAT");
    WriteTextLines(ntConfig, {"dos=high"});
    WriteTextLines(ntAutoexec, {"lh redir"});
    WriteTextLines(Doc("Start.REP"), {"old start"});

    boxes.Answer(ui::IdNo).Answer(ui::IdOk);
    ViewerHook hook;
    MakeFullReport();
    std::string file = Doc("FullConf.REP");
    EXPECT_EQ(hook.captions, Lines{file});
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "Start VEXA");
    EXPECT_EQ(boxes.Boxes[0].Flags, ui::BtnYesNo | ui::IconQuestion | ui::DefButton1);
    EXPECT_EQ(boxes.Boxes[1].Caption, "Information");
    EXPECT_EQ(boxes.Boxes[1].Text, "If you have problems with starting\r\nthe program or with your "
                                   "configuration,\r\nsend this file to your dealer:\r\n" +
                                       file);
    peri[1].resize(128);
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    // Without WinFix.DAT its label stands alone.
    const Lines winConf = {"Version      : 4.00",
                           "Program date : 12.03.2004",
                           "Confix  date : 01.02.2005",
                           "Winfix  date : ",
                           "68k     date : 15.03.2001",
                           "Vexa dir     : " + tree,
                           "Windows dir  : " + SetupState.WindowsDir.Str(),
                           "WinSys dir   : " + SetupState.SystemDir.Str(),
                           "WinVersion   : " + WindowsName() + ", " + std::to_string(v.dwMajorVersion) + "." +
                               std::to_string(v.dwMinorVersion)};
    std::string expected = Block("WinConf.REP", winConf) +
                           Block("PC_Conf.REP", testsupport::ReadTextLines(Doc("PC_Conf.REP"))) +
                           Block("Hardware.DAT", hardware, 189) + Block("System.Bin", system, 7) +
                           Block("Peri_1.DAT", peri, 64) + Block("Cryo_12.DAT", {"cryo twelve"}) +
                           Block("Fast_3.DAT", {"fast three"}) + Block("CONFIG.SYS", {"FILES=30"}) +
                           Block("CONFIG.NT", {"dos=high"}) + Block("AUTOEXEC.NT", {"lh redir"}) +
                           CrLf({"----- Old Run -----"}) + Block("Start.REP", {"old start"});
    EXPECT_EQ(ReadBytes(file), expected);
    std::vector<testsupport::StandinRun> runs = testsupport::ReadStandinLog(log);
    ASSERT_EQ(runs.size(), 1u); // VxSet for its report
    EXPECT_EQ(runs[0].CommandLine, korvo + "\\Install\\Install.EXE Info Win");

    boxes.Answer(ui::IdYes).Answer(ui::IdOk);
    MakeFullReport();
    EXPECT_EQ(testsupport::ReadStandinLog(log).back().CommandLine, korvo + "\\Prg\\VEXA.EXE test");
    EXPECT_EQ(ReadBytes(file).find("Old Run"), std::string::npos);
    EXPECT_EQ(testsupport::ReadTextLines(Doc("Start.REP"))[0], "VEXA start test"); // written by the run
}

void CALLBACK PickStartErr(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box) return;
    KillTimer(nullptr, id);
    SetDlgItemTextA(box, 0x47c, "StartErr.REP"); // the file name box
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(InfoToolsTest, TheDialogKeepsItsChoiceAndOffersTheWorkReport) {
    testsupport::MakeDirs(tree + "\\Work");
    WriteTextLines(tree + "\\Work\\StartErr.REP", {"error 7"});
    Lines viewed;
    int round = 0;
    ui::SetModalHook([&](ui::Form& form) {
        auto* tools = dynamic_cast<TDialSetUp3*>(&form);
        if (!tools) {
            viewed.push_back(form.Caption());
            form.SetModalResult(ui::MrOk);
            return;
        }
        EXPECT_EQ(form.Caption(), "Information tools");
        if (round++ == 0) {
            EXPECT_TRUE(tools->RadioBtnI1.Checked()); // the start choice
            testsupport::SaveScreenshot(form.Handle(), "information_tools");
            SendMessageA(tools->RadioBtnI4.Handle(), BM_CLICK, 0, 0);
            tools->ButtonIClick(); // runs the port tool
            // The system's dialog runs its own loop: a timer presses Open on the file it offers.
            SetTimer(nullptr, 0, 500, PickStartErr);
            tools->ButtonL1Click(tools->ButtonL2);
        } else {
            EXPECT_TRUE(tools->RadioBtnI4.Checked());
        }
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    });
    ShowInfoTools();
    ShowInfoTools();
    ui::SetModalHook(nullptr);
    EXPECT_EQ(testsupport::ReadTextLines(Doc("StartErr.REP")), Lines{"error 7"}); // copied into Doc
    // The chosen path as the system's dialog spells it (the folder's own case).
    ASSERT_EQ(viewed.size(), 1u);
    EXPECT_EQ(lstrcmpiA(viewed[0].c_str(), Doc("StartErr.REP").c_str()), 0) << viewed[0];
    EXPECT_EQ(InfoState.LastReport.Str(), viewed[0]);
    std::vector<testsupport::StandinRun> runs = testsupport::ReadStandinLog(log);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].CommandLine, korvo + "\\Install\\PCICONF.EXE 2b8");
}

TEST(InfoTools, OnThe95FamilyRunsItsOwnChild) {
    EXPECT_EQ(testsupport::RunTestsEmulated("win98", "InfoToolsOn98.*"), 0);
}

// On Windows 98 the version reads 4.10 and the NT start files are not part of the full report; without
// Vexa.68k its date stays empty.
TEST(InfoToolsOn98, VersionAndNoNtStartFiles) {
    SKIP_UNLESS_EMULATED();
    ResetSetupState();
    ReadWindowsState();
    ASSERT_FALSE(IsNtFamily());
    testsupport::TempDir dir{"infotools98"};
    SetupState.InstallDir.Set(dir.Path());
    testsupport::MakeDirs(dir / "Korvo\\Doc");
    std::string ntConfig = SetupState.SystemDir.Str() + "\\CONFIG.NT";
    testsupport::ScopedFile keep{ntConfig};
    WriteTextLines(ntConfig, {"dos=high"});
    ScriptedPrompter boxes;
    boxes.Answer(ui::IdNo).Answer(ui::IdOk);
    ViewerHook hook;
    MakeFullReport();
    std::string report = ReadBytes(dir / "Korvo\\Doc\\FullConf.REP");
    EXPECT_NE(report.find("68k     date : \r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("WinVersion   : Windows 98, 4.10\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("CONFIG.NT"), std::string::npos);
}

} // namespace
