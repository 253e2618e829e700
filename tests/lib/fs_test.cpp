// File primitives both builds share (same Windows error numbers) and the command-line text rules.
#include <gtest/gtest.h>

#include "lib/fs.h"
#include "lib/paths.h"
#include "support/temp_dir.h"

using testsupport::TempDir;

TEST(CommandText, TailAfterProgramName) {
    struct Case {
        const char* line;
        const char* tail;
    } cases[] = {
        {"\"C:\\Vexa Dos\\SetUp.EXE\"", ""},
        {"\"C:\\Vexa Dos\\SetUp.EXE\" ASC", "ASC"},
        {"\"C:\\Vexa Dos\\SetUp.EXE\"CMD", "CMD"},
        {"\"C:\\Vexa Dos\\SetUp.EXE ASC", ""}, // no closing quote
        {"C:\\VEXA\\SetUp.EXE CMD ", "CMD"},
        {"C:\\VEXA\\SetUp.EXE   CMD  X  ", "CMD  X"},
        {"SetUp.EXE", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        TextBuf<79> tail;
        CommandTailOf(c.line, tail.c, tail.Cap);
        EXPECT_EQ(tail.View(), c.tail) << c.line;
    }
    std::string longLine = "P " + std::string(1100, 'x'); // the command line is taken into 1024 characters
    TextBuf<2000> tail;
    CommandTailOf(longLine, tail.c, tail.Cap);
    EXPECT_EQ(tail.Len(), 1022);
}

TEST(CommandText, ProgramDirOfPath) {
    struct Case {
        const char* path;
        const char* dir;
    } cases[] = {
        {"C:\\VEXA\\KORVO\\SetUp.EXE", "C:\\VEXA\\KORVO"},
        {"\"C:\\Vexa Dos\\SetUp.EXE\"", "C:\\Vexa Dos"},
        {"\"C:\\Vexa Dos\\SetUp.EXE", ""},
        {"SetUp.EXE", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        PathBuf dir;
        ProgramDirOf(c.path, dir.c, dir.Cap);
        EXPECT_EQ(dir.View(), c.dir) << c.path;
    }
}

TEST(FsPrimitives, OpenReportsWindowsErrorNumbers) {
    TempDir dir("fsprim");
    dir.Write("old.txt", "old content");
    struct Case {
        std::string name;
        FileAccess access;
        FsError error;
        const char* contentAfter; // nullptr: not checked
    } cases[] = {
        {dir / "none.txt", FileAccess::Read, FsFileNotFound, nullptr},
        {dir / "nodir/none.txt", FileAccess::Read, FsPathNotFound, nullptr},
        {dir / "nodir/new.txt", FileAccess::Write, FsPathNotFound, nullptr},
        {dir.Path(), FileAccess::Read, FsAccessDenied, nullptr},
        {dir / "old.txt", FileAccess::Read, FsOk, "old content"},
        {dir / "old.txt", FileAccess::ReadWrite, FsOk, "old content"},
        {dir / "fresh.txt", FileAccess::ReadWrite, FsOk, ""},
        {dir / "old.txt", FileAccess::Write, FsOk, ""}, // truncates
    };
    for (const Case& c : cases) {
        FsError error = -5;
        FileHandle h = OpenFile(c.name, c.access, ShareRead, error);
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(h == NoFile, c.error != FsOk) << c.name;
        if (h != NoFile) {
            EXPECT_EQ(CloseFile(h), FsOk);
        }
        if (c.contentAfter) {
            EXPECT_EQ(dir.Read(c.name.substr(dir.Path().size() + 1)), c.contentAfter) << c.name;
        }
    }
    EXPECT_EQ(CloseFile(NoFile), FsInvalidHandle);
}

TEST(FsPrimitives, BlocksReadShortOnlyAtTheEnd) {
    TempDir dir("fsblock");
    FsError error;
    FileHandle h = OpenFile(dir / "b.bin", FileAccess::Write, ShareNone, error);
    ASSERT_EQ(error, FsOk);
    EXPECT_EQ(WriteBlock(h, "0123456789", 10, error), 10);
    EXPECT_EQ(error, FsOk);
    CloseFile(h);
    h = OpenFile(dir / "b.bin", FileAccess::Read, ShareRead, error);
    char buf[16] = {};
    EXPECT_EQ(ReadBlock(h, buf, 6, error), 6);
    EXPECT_EQ(ReadBlock(h, buf, 6, error), 4);
    EXPECT_EQ(error, FsOk);
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_EQ(ReadBlock(h, buf, 6, error), 0);
    EXPECT_EQ(error, FsOk);
    CloseFile(h);
}

TEST(FsPrimitives, DirectoriesAndDeletion) {
    TempDir dir("fsdirs");
    EXPECT_EQ(MakeDir(dir / "a/b"), FsPathNotFound);
    EXPECT_EQ(MakeDir(dir / "a"), FsOk);
    EXPECT_EQ(MakeDir(dir / "a"), FsAlreadyExists);
    dir.Write("a/f.txt", "x");
    EXPECT_EQ(RemoveDir(dir / "a"), FsDirNotEmpty);
    EXPECT_TRUE(DirExists(dir / "a"));
    EXPECT_FALSE(DirExists(dir / "a/f.txt"));
    EXPECT_TRUE(FileExists(dir / "a/f.txt"));
    EXPECT_FALSE(FileExists(dir / "a"));
    EXPECT_EQ(DeleteOneFile(dir / "a/f.txt"), FsOk);
    EXPECT_EQ(DeleteOneFile(dir / "a/f.txt"), FsFileNotFound);
    EXPECT_EQ(DeleteOneFile(dir / "a"), FsAccessDenied);
    EXPECT_EQ(RemoveDir(dir / "a"), FsOk);
}

TEST(FsForceDir, CreatesMissingLevelsAndEmptiesByMode) {
    TempDir dir("fsforce");
    EXPECT_EQ(ForceDir(dir / "x/y/z", 0), FsOk);
    EXPECT_TRUE(DirExists(dir / "x/y/z"));
    // A trailing separator names the same directory: made by the walk, still a success.
    EXPECT_EQ(ForceDir(dir / "p/q/", 0), FsOk);
    EXPECT_TRUE(DirExists(dir / "p/q"));

    struct Case {
        int mode;
        bool fileStays, subdirStays;
    } cases[] = {{0, true, true}, {1, false, true}, {2, false, false}};
    for (const Case& c : cases) {
        dir.Write("x/f.txt", "f");
        ForceDir(dir / "x/y/z", 0);
        EXPECT_EQ(ForceDir(dir / "x", c.mode), FsOk);
        EXPECT_TRUE(DirExists(dir / "x")) << c.mode;
        EXPECT_EQ(FileExists(dir / "x/f.txt"), c.fileStays) << c.mode;
        EXPECT_EQ(DirExists(dir / "x/y"), c.subdirStays) << c.mode;
    }
}
