// The stand-in of VEXA's installer as the set-up program meets it: the tree it builds, its answer in the
// marker and its failure switches. (VxSet's and VEXA's reports are looked at by the launchers' tests.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/proc_win32.h"
#include "support/standins_win32.h"

using testsupport::ScopedEnv;
using Lines = std::vector<std::string>;

namespace {

TEST(StandinInstaller, BuildsTheTreeAndAnswersInTheMarker) {
    testsupport::TempDir dir{"standins"};
    std::string medium = dir / "medium", korvo = dir / "Vexa\\KORVO", marker = dir / "VEXA_$$$\\VEXA.$$$";
    testsupport::MakeDirs(medium);
    testsupport::MakeDirs(dir / "VEXA_$$$");
    for (const char* program : {"Install", "VEXA"}) ASSERT_TRUE(testsupport::CopyStandin(program, medium));
    ScopedEnv env[2] = {{"VEXA_STANDIN_LOG", dir / "standin.log"}, {"VEXA_STANDIN_MARKER", marker}};
    struct Case {
        const char* fail;
        bool tree;
        Lines markerAfter;
    } cases[] = {
        {"nomarker", false, {"     0", "     4", "C:\\WINDOWS"}},
        {"zero", true, {"     0", dir / "Vexa", "C:\\WINDOWS"}},
        {"", true, {"     1", dir / "Vexa", "C:\\WINDOWS"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail);
        testsupport::RemoveTree(dir / "Vexa");
        ASSERT_TRUE(testsupport::WriteTextLines(marker, {"     0", "     4", "C:\\WINDOWS"}));
        ScopedEnv fail{"VEXA_STANDIN_FAIL", c.fail};
        RunProgram(medium + "\\Install", medium, "PATH " + medium + "\\ " + korvo, true);
        EXPECT_EQ(testsupport::ReadTextLines(marker), c.markerAfter);
        for (const char* file : {"InitDat\\Version.DAT", "Install\\Install.EXE", "Prg\\VEXA.EXE"})
            EXPECT_EQ(testsupport::FileExists(korvo + "\\" + file), c.tree) << file;
    }
}

} // namespace
