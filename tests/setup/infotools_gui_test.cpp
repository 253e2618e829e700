// The information tools on a prepared tree: the full report byte for byte (line limits, the Cryo and
// Fast files, the start files, the "Start VEXA" question), the port tool and the report picker, with
// the stand-ins writing VEXA's own reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "setup/editor.h"
#include "setup/infotools.h"
#include "setup/setupstate.h"
#include "support/demo_win32.h"
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
    Lines hardware = Numbered("h", 300);
    hardware[109] = "12"; // cryostat 1
    hardware[123] = "3";  // fast measurement file
    WriteTextLines(korvo + "\\Hardconf\\Hardware.DAT", hardware);
    Lines system = Numbered("s", 10), peri = Numbered("p", 70);
    peri[1] = std::string(200, 'w'); // cut to 128 characters
    WriteTextLines(korvo + "\\RunDat\\System.Bin", system);
    WriteTextLines(korvo + "\\Hardconf\\Peri_1.DAT", peri);
    WriteTextLines(korvo + "\\Hardconf\\Cryo\\Cryo_12.DAT", {"cryo twelve"});
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
    EXPECT_EQ(boxes.Boxes[1].Caption, "Information");
    EXPECT_EQ(boxes.Boxes[1].Text, "If you have problems with starting\r\nthe program or with your "
                                   "configuration,\r\nsend this file to your dealer:\r\n" +
                                       file);
    peri[1].resize(128);
    // The versions report (its lines are the end-to-end road's) comes first; without WinFix.DAT its label
    // stands alone.
    const Lines winConf = testsupport::ReadTextLines(Doc("WinConf.REP"));
    ASSERT_EQ(winConf.size(), 9u);
    EXPECT_EQ(winConf[2], "Confix  date : 01.02.2005");
    EXPECT_EQ(winConf[3], "Winfix  date : ");
    EXPECT_EQ(winConf[8].rfind("WinVersion   : Windows NT, ", 0), 0u) << winConf[8];
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

TEST_F(InfoToolsTest, TheDialogRunsThePortToolAndOffersTheWorkReport) {
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
        SendMessageA(tools->RadioBtnI4.Handle(), BM_CLICK, 0, 0);
        tools->ButtonIClick(); // runs the port tool
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
    EXPECT_EQ(InfoState.LastReport.Str(), viewed[0]);
    std::vector<testsupport::StandinRun> runs = testsupport::ReadStandinLog(log);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].CommandLine, korvo + "\\Install\\PCICONF.EXE 2b8");
}

} // namespace
