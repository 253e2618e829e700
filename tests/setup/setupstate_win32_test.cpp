// The set-up state and the tree's files: paths below InstallDir, the Windows state, line reading with
// its comment rules, dates, and the start-parameter file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "lib/fs.h"
#include "setup/setupstate.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"
#include "support/temp_dir.h"

using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

class SetupStateTest : public testing::Test {
  protected:
    void SetUp() override { ResetSetupState(); }
    void TearDown() override { ResetSetupState(); }
    TempDir dir{"setupstate"};
    testsupport::ScriptedPrompter prompter; // no box expected anywhere here
};

TEST_F(SetupStateTest, TreeInADriveRootAndTheWindowsState) {
    SetupState.InstallDir.Set("C:\\");
    EXPECT_EQ(KorvoDir(""), "C:\\Korvo");
    ReadWindowsState(); // Wine's default version is of the NT family
    EXPECT_EQ(SetupState.WinVersionCode, 4);
    EXPECT_EQ(WindowsName(), "Windows NT");
}

TEST_F(SetupStateTest, DatLineCutsCommentsAndLongLines) {
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
}

TEST_F(SetupStateTest, DatesAndTheirOrder) {
    std::string file = dir / "ConFix.DAT";
    WriteBytes(file, "4.00\r\n* no date yet\r\n");
    EXPECT_EQ(DatDate(file), "01.01.1990");
    WriteBytes(file, "4.00\r\n15.03.1999 *fix\r\n");
    EXPECT_EQ(DatDate(file), "15.03.1999");

    struct Case {
        const char *a, *b;
        bool earlier;
    } cases[] = {
        {"15.03.1999", "15.03.1999", false},
        {"02.01.2001", "01.02.2001", true}, // the month before the day
        {"", "01.01.1990", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsEarlier(c.a, c.b), c.earlier) << c.a << " < " << c.b;
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
