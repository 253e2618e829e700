// File primitives both builds share (same Windows error numbers) and the command-line text rules: the
// tail of the program's own line, and the line a program is started with.
#include <gtest/gtest.h>

#include <tuple>

#include "lib/fs.h"
#include "lib/paths.h"
#include "lib/proc.h"
#include "support/temp_dir.h"

using testsupport::TempDir;

// The word after the program's name picks the mode: a quoted name with blanks, a quote left open and
// blanks around the words must neither lose it nor invent one.
TEST(CommandText, Tail) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Vexa Dos\\SetUp.EXE\"", ""},
        {"\"C:\\Vexa Dos\\SetUp.EXE\" ASC", "ASC"},
        {"\"C:\\Vexa Dos\\SetUp.EXE ASC", ""}, // no closing quote
        {"C:\\VEXA\\SetUp.EXE   CMD  X  ", "CMD  X"}};
    for (auto [line, tail] : cases) {
        TextBuf<79> tailBuf;
        CommandTailOf(line, tailBuf.c, tailBuf.Cap);
        EXPECT_EQ(tailBuf.View(), tail) << line;
    }
}

TEST(CommandLine, BuildsTheLineWindowsGets) {
    // program, directory, arguments, the command line
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"D:\\T\\A", "C:\\X", "", "D:\\T\\A.EXE"},
        {"A:\\Install.EXE", "C:\\", "PATH A:\\ C:\\V", "A:\\Install.EXE PATH A:\\ C:\\V"}};
    for (auto [program, directory, args, line] : cases)
        EXPECT_EQ(BuildCommandLine(program, directory, args), line) << program << " in " << directory;
}

namespace {
FsError OpenError(const std::string& name, FileAccess access) {
    FsError error = -5;
    FileHandle h = OpenFile(name, access, ShareRead, error);
    EXPECT_EQ(h == NoFile, error != FsOk) << name;
    CloseFile(h);
    return error;
}
} // namespace

TEST(FsPrimitives, ReportWindowsErrorNumbers) {
    TempDir dir("fsprim");
    MakeDir(dir / "full");
    dir.Write("full/f.txt", "f");
    const std::tuple<const char*, FsError, FsError> cases[] = {
        // what, result, expected
        {"read missing file", OpenError(dir / "none.txt", FileAccess::Read), FsFileNotFound},
        {"read in missing dir", OpenError(dir / "nodir/none.txt", FileAccess::Read), FsPathNotFound},
        {"make existing", MakeDir(dir / "full"), FsAlreadyExists},
        {"remove non-empty", RemoveDir(dir / "full"), FsDirNotEmpty},
        {"delete a directory", DeleteOneFile(dir / "full"), FsAccessDenied},
    };
    for (auto [what, got, want] : cases) EXPECT_EQ(got, want) << what;
    EXPECT_TRUE(FileExists(dir / "full/f.txt"));
    EXPECT_FALSE(DirExists(dir / "full/f.txt"));
}

TEST(FsForceDir, CreatesMissingLevelsAndEmptiesByMode) {
    TempDir dir("fsforce");
    EXPECT_EQ(ForceDir(dir / "x/y/z", 0), FsOk);
    EXPECT_TRUE(DirExists(dir / "x/y/z"));
    // A trailing separator names the same directory: made by the walk, still a success.
    EXPECT_EQ(ForceDir(dir / "p/q/", 0), FsOk);
    EXPECT_TRUE(DirExists(dir / "p/q"));

    // mode, the file stays, the sub-folder stays
    const std::tuple<int, bool, bool> cases[] = {{0, true, true}, {1, false, true}, {2, false, false}};
    for (auto [mode, fileStays, subdirStays] : cases) {
        dir.Write("x/f.txt", "f");
        ForceDir(dir / "x/y/z", 0);
        EXPECT_EQ(ForceDir(dir / "x", mode), FsOk);
        EXPECT_TRUE(DirExists(dir / "x")) << mode;
        EXPECT_EQ(FileExists(dir / "x/f.txt"), fileStays) << mode;
        EXPECT_EQ(DirExists(dir / "x/y"), subdirStays) << mode;
    }
}
