// File-system operations against real files of the private Wine prefix, and a full disk: a drive
// letter on a 64 KiB tmpfs, mounted for each test that needs one (needs root).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <vector>

#include "convert/convert.h"
#include "datagen/sample_data.h"
#include "lib/fs.h"
#include "lib/msg.h"
#include "support/emulated_win32.h"
#include "support/fault_loop.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/unix_shell_win32.h"

using testsupport::ScriptedPrompter;
using testsupport::TempDir;

namespace {

void SetAttr(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
}

// The Unix path, for shell scripts, of a path on C:.
std::string UnixOf(const std::string& path) {
    std::string unix = "\"$WINEPREFIX/drive_c/" + path.substr(3) + "\"";
    std::replace(unix.begin(), unix.end(), '\\', '/');
    return unix;
}

using Names = std::vector<std::string>;

class FullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!disk.Letter) GTEST_SKIP() << "cannot mount a small file system (needs root)";
        root = disk.Root;
    }
    // Takes bytes of the disk's 16 pages with a file of its own.
    void Fill(int bytes) { ASSERT_TRUE(testsupport::WriteBytes(root + "fill.bin", std::string(bytes, 'f'))); }
    testsupport::SmallDisk disk;
    std::string root;
};

} // namespace

TEST(FsMaskOps, CopyTakesHiddenAndSystemFilesDeleteLeavesThem) {
    TempDir dir("fsmask");
    // Files with attributes: plain, read-only, hidden and system, and a directory.
    for (const char* name : {"plain.txt", "ro.txt", "hid.txt", "sys.txt"}) dir.Write(name, name);
    CreateDirectoryA((dir / "dir.txt").c_str(), nullptr);
    SetAttr(dir / "ro.txt", FILE_ATTRIBUTE_READONLY);
    SetAttr(dir / "hid.txt", FILE_ATTRIBUTE_HIDDEN);
    SetAttr(dir / "sys.txt", FILE_ATTRIBUTE_SYSTEM);

    ClearReadOnlyOnCopy = true; // a new target takes the source's attributes, less read-only
    Names told;
    bool cancelled = true;
    CopyMatching(
        dir.Path(), "*.txt", dir / "dir.txt", [&](std::string_view n) { told.emplace_back(n); }, cancelled);
    ResetFsState();
    EXPECT_FALSE(cancelled);
    std::sort(told.begin(), told.end());
    EXPECT_EQ(told, (Names{"hid.txt", "plain.txt", "ro.txt", "sys.txt"}));
    EXPECT_EQ(dir.Read("dir.txt/sys.txt"), "sys.txt");
    EXPECT_EQ(GetFileAttributesA((dir / "dir.txt/ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    SetAttr(dir / "ro.txt", FILE_ATTRIBUTE_NORMAL);
    DeleteMatching(dir.Path(), "*.*", false);
    EXPECT_FALSE(FileExists(dir / "plain.txt") || FileExists(dir / "ro.txt"));
    EXPECT_TRUE(FileExists(dir / "hid.txt") && FileExists(dir / "sys.txt"));
    EXPECT_TRUE(DirExists(dir / "dir.txt"));
}

TEST(FsMaskOps, CopyErrorsAskAbortRetryIgnore) {
    TempDir dir("fscopyerr");
    CreateDirectoryA((dir / "src").c_str(), nullptr);
    for (const char* name : {"a.dat", "b.dat", "c.dat"}) dir.Write("src/" + std::string(name), name);
    CreateDirectoryA((dir / "dst").c_str(), nullptr);
    // b.dat in the target is held open without sharing, so replacing it fails for real (access denied:
    // the copy is made beside it and cannot take its name); the locked file keeps its bytes.
    dir.Write("dst/b.dat", "locked");
    HANDLE lock =
        CreateFileA((dir / "dst/b.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    // the answers to the boxes, cancelled, boxes shown
    const std::tuple<std::vector<int>, bool, size_t> cases[] = {
        {{ui::IdRetry, ui::IdRetry, ui::IdIgnore}, false, 3}, {{ui::IdAbort}, true, 1}};
    for (const auto& [answers, cancel, boxes] : cases) {
        DeleteOneFile(dir / "dst/a.dat");
        DeleteOneFile(dir / "dst/c.dat");
        ScriptedPrompter prompter;
        for (int answer : answers) prompter.Answer(answer);
        bool cancelled = !cancel;
        CopyMatching(dir / "src", "*.dat", dir / "dst", nullptr, cancelled);
        EXPECT_EQ(cancelled, cancel);
        ASSERT_EQ(prompter.Boxes.size(), boxes);
        const testsupport::Box& box = prompter.Boxes[0];
        EXPECT_EQ(box.Caption, "File copy error " + std::to_string(ERROR_ACCESS_DENIED));
        EXPECT_EQ(box.Text, (dir / "src/b.dat") + "\r\n" + (dir / "dst/b.dat"));
        EXPECT_EQ(box.Flags, ui::BtnAbortRetryIgnore | ui::IconStop);
        // ignored: the copy went on past the failing file
        EXPECT_TRUE(cancel || (FileExists(dir / "dst/a.dat") && FileExists(dir / "dst/c.dat")));
    }

    CloseHandle(lock);
    EXPECT_EQ(dir.Read("dst/b.dat"), "locked");
    EXPECT_TRUE(testsupport::TempFilesIn(dir / "dst").empty());
}

TEST(FsTree, DestructiveOperationsLeaveDriveRootsAlone) {
    // A drive letter of our own whose root holds files, so a failure cannot hurt C:.
    std::string unixDir = "/tmp/setup-root-" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(testsupport::RunUnixShell("mkdir -p " + unixDir + "/sub && echo x >" + unixDir +
                                        "/keep.txt && echo x >" + unixDir + "/sub/keep.txt"),
              0);
    testsupport::WineDrives drives;
    char letter = drives.DefineFree(unixDir, 'S');
    ASSERT_NE(letter, 0);
    std::string root = std::string(1, letter) + ":\\";
    for (std::string text : {root, root.substr(0, 2), root + ".", root + "sub\\.."}) {
        DeleteMatching(text, "*.*", false);
        ClearTree(text, true, true);
        ForceDir(text, 2);
        EXPECT_TRUE(FileExists(root + "keep.txt")) << text;
        EXPECT_TRUE(FileExists(root + "sub\\keep.txt")) << text;
    }
    testsupport::RunUnixShell("rm -rf " + unixDir);
}

TEST(FsTree, WalkSkipsLinksAndPathsThatDoNotFit) {
    TempDir dir("fswalk");
    // A folder outside the tree, reached through a link inside it (a reparse point to Windows). Both
    // go on the Unix side at the end: Wine cannot remove a link whose target is gone.
    std::string outside = "/tmp/setup-outside-" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(testsupport::RunUnixShell("mkdir -p " + outside + " && echo x >" + outside +
                                        "/keep.txt && ln -s " + outside + " " + UnixOf(dir / "link")),
              0);
    ASSERT_TRUE(GetFileAttributesA((dir / "link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    // A folder of exactly 176 characters with a sub-folder: cut to the path buffer, the sub-folder's
    // path names its parent again, a walk that followed it would never end.
    std::string deep = dir.Path();
    while (174 - deep.size() > 22) deep += "\\" + std::string(20, 'D');
    deep += "\\" + std::string(174 - deep.size() - 1, 'E') + "\\X\\Y";
    ASSERT_EQ(deep.size(), 178u);
    ASSERT_EQ(ForceDir(deep, 0), FsOk);
    dir.Write("top.txt", "t");
    std::string deepFile = deep + "\\deep.txt";
    HANDLE h = CreateFileA(deepFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    ClearTree(dir.Path(), true, false); // returns: no endless walk
    EXPECT_FALSE(FileExists(dir / "top.txt"));
    EXPECT_TRUE(FileExists(deepFile));
    EXPECT_EQ(testsupport::RunUnixShell("test -f " + outside + "/keep.txt; found=$?; rm -rf " + outside +
                                        " " + UnixOf(dir / "link") + "; exit $found"),
              0)
        << "the walk followed the link";
    DeleteOneFile(deepFile);
}

// A converted file that does not fit is no success, and the destination it would have replaced keeps
// every byte; nothing of the attempt is left on the disk.
TEST_F(FullDisk, ConversionKeepsTheOldDestination) {
    TempDir dir("fulldisk-convert");
    sampledata::SampleSpec spec;
    spec.Kind = 'P';
    spec.Records = 500;
    dir.Write("BIG.P01", sampledata::Bytes(spec));
    testsupport::WriteBytes(root + "BIG.TXT", "old");
    Fill(10000);
    ResetTextFormatSettings();
    ResetConversionState();
    ConvSetup(ModeBinToFull, 1, LastNothing, false, false, "");
    bool abortRun = false, converted = true;
    EXPECT_EQ(ConvertFile(dir / "BIG.P01", root + "BIG.TXT", false, abortRun, converted),
              ConvOutcome::WriteFailed);
    EXPECT_FALSE(converted);
    EXPECT_EQ(testsupport::ReadBytes(root + "BIG.TXT"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 2); // fill.bin, BIG.TXT
}

// One file however it is spelt: trailing dots and blanks, its short name, other slashes, and a second
// drive letter for its folder. Two files of equal contents are not one.
TEST(FsIdentity, SameFileSeesEverySpellingOfOneFile) {
    TempDir dir("fsident");
    dir.Write("Measurement data.K01", "k");
    dir.Write("Copy.K01", "k");
    std::string file = dir / "Measurement data.K01";
    char shortName[MAX_PATH] = "";
    ASSERT_GT(GetShortPathNameA(file.c_str(), shortName, MAX_PATH), 0u);
    testsupport::WineDrives drives;
    char letter = drives.DefineFree(UnixOf(dir.Path()), 'M');
    ASSERT_NE(letter, 0);
    std::string mapped = std::string(1, letter) + ":\\Measurement data.K01";
    std::string slashed = file;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    for (const std::string& other : {file + ".", file + " .", std::string(shortName), slashed, mapped})
        EXPECT_TRUE(SameFile(file, other)) << other;
    EXPECT_FALSE(SameFile(file, dir / "Copy.K01"));
    EXPECT_FALSE(SameFile(file, dir / "missing.K01"));
}

// The 95 family has no replacing move: there the old file is set aside until the new one is in place.
TEST(FsReplace, The95FamilyKeepsTheOldFileUntilTheNewOneIsIn) {
    if (!testsupport::EmulatedVersion().empty()) GTEST_SKIP() << "the emulated child runs the file tests";
    EXPECT_EQ(testsupport::RunTestsEmulated("win95", "RecFile.ReplacesWholeOrNotAtAll:FsIdentity.*"), 0);
}
