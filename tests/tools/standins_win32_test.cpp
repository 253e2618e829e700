// The stand-ins of VEXA's programs as the set-up program meets them: the installer's tree and its
// answer in the marker, the failure switches, and VxSet's and VEXA's reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/proc_win32.h"
#include "support/standins_win32.h"

using testsupport::FileExists;
using testsupport::ReadTextLines;
using testsupport::ScopedEnv;
using testsupport::ScratchDir;
using Lines = std::vector<std::string>;

namespace {

class StandinTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::MakeDirs(medium);
        testsupport::MakeDirs(dir / "VEXA_$$$");
        for (const char* program : {"Install", "VEXA", "PCICONF"})
            ASSERT_TRUE(testsupport::CopyStandin(program, medium));
        ASSERT_TRUE(testsupport::WriteTextLines(marker, {"     0", "     4", "C:\\WINDOWS"}));
    }
    void Install(const std::string& words) { RunProgram(medium + "\\Install", medium, words, true); }

    ScratchDir dir{"standins"};
    std::string medium = dir / "medium";
    std::string korvo = dir / "Vexa\\KORVO";
    std::string marker = dir / "VEXA_$$$\\VEXA.$$$";
    std::string log = dir / "standin.log";
    ScopedEnv env[8] = {{"VEXA_STANDIN_LOG", log},   {"VEXA_STANDIN_MARKER", marker},
                        {"VEXA_STANDIN_FAIL", ""},   {"VEXA_STANDIN_SLEEP", ""},
                        {"VEXA_STANDIN_CHOOSE", ""}, {"VEXA_STANDIN_VERSION", ""},
                        {"VEXA_STANDIN_DATE", ""},   {"VEXA_STANDIN_HW", ""}};
};

TEST_F(StandinTest, InstallerBuildsTreeAndAnswersInMarker) {
    struct Case {
        const char* fail;
        bool tree;
        Lines markerAfter;
    } cases[] = {
        {"nomarker", false, {"     0", "     4", "C:\\WINDOWS"}},
        {"zero", true, {"     0", dir / "Vexa", "C:\\WINDOWS"}},
        {"", true, {"     1", dir / "Vexa", "C:\\WINDOWS"}}, // last: its tree is examined below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail);
        testsupport::RemoveTree(dir / "Vexa");
        ASSERT_TRUE(testsupport::WriteTextLines(marker, {"     0", "     4", "C:\\WINDOWS"}));
        ScopedEnv fail{"VEXA_STANDIN_FAIL", c.fail};

        Install("PATH " + medium + "\\ " + korvo);

        EXPECT_EQ(ReadTextLines(marker), c.markerAfter);
        for (const char* file : {"InitDat\\Version.DAT", "Hardconf\\Hardware.DAT", "Install\\Install.EXE",
                                 "Prg\\VEXA.EXE", "Install\\PCICONF.EXE"})
            EXPECT_EQ(FileExists(korvo + "\\" + file), c.tree) << file;
    }
    EXPECT_EQ(ReadTextLines(korvo + "\\InitDat\\Version.DAT"), (Lines{"4.00", "15.03.1999"}));
    Lines hardware = ReadTextLines(korvo + "\\Hardconf\\Hardware.DAT");
    ASSERT_GE(hardware.size(), 65u);
    EXPECT_EQ(hardware[42], "0 * PCI IEEE port address");
}

TEST_F(StandinTest, BlankInAWordMisleadsTheDosInstaller) {
    testsupport::MakeDirs(dir / "my medium");
    Install("PATH " + dir / "my medium\\ " + korvo);
    // It takes "medium\" for the KORVO directory: the tree is not where the caller meant.
    EXPECT_FALSE(FileExists(korvo + "\\InitDat\\Version.DAT"));
    EXPECT_EQ(ReadTextLines(marker).at(1), "medium");
}

TEST_F(StandinTest, InstalledProgramsWriteTheirReports) {
    Install("PATH " + medium + " " + korvo);
    struct Case {
        const char *program, *workDir, *args, *fail, *report; // paths below KORVO; report "": none
    } cases[] = {
        {"Install\\Install", "", "Info Win", "", "Doc\\PC_Conf.REP"},
        {"Install\\Install", "", "Info Win", "noreport", ""},
        {"Install\\Install", "", "SET", "", ""},
        {"Prg\\VEXA", "\\Prg", "test", "", "Doc\\Start.REP"},
        {"Prg\\VEXA", "\\Prg", "test", "noreport", ""},
        {"Prg\\VEXA", "\\Prg", "sim", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.args + " " + c.fail);
        ScopedEnv fail{"VEXA_STANDIN_FAIL", c.fail};
        RunProgram(korvo + "\\" + c.program, korvo + c.workDir, c.args, true);
        for (std::string report : {"Doc\\PC_Conf.REP", "Doc\\Start.REP"}) {
            EXPECT_EQ(FileExists(korvo + "\\" + report), report == c.report) << report;
            DeleteFileA((korvo + "\\" + report).c_str());
        }
    }
}

} // namespace
