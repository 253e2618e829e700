// A full disk under Wine: a drive letter on a 64 KiB tmpfs, mounted for each test (needs root).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "convert/convert.h"
#include "datagen/sample_data.h"
#include "lib/fs.h"
#include "lib/recfile.h"
#include "support/temp_dir.h"
#include "support/unix_shell_win32.h"

namespace {

class FullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        mountDir = "/tmp/setup-fulldisk-" + std::to_string(GetCurrentProcessId());
        int rc = testsupport::RunUnixShell("[ \"$(id -u)\" = 0 ] || exit 3\nmkdir -p " + mountDir +
                                           " && mount -t tmpfs -o size=64k setupfull " + mountDir);
        if (rc != 0) GTEST_SKIP() << "cannot mount a small file system (needs root): " << rc;
        letter = testsupport::MapDriveLetter(mountDir);
        ASSERT_NE(letter, 0);
        root = std::string(1, letter) + ":\\";
    }
    void TearDown() override {
        testsupport::UnmapDriveLetter(letter);
        testsupport::RunUnixShell("umount " + mountDir + " 2>/dev/null; rmdir " + mountDir);
    }
    // Takes bytes of the disk's 16 pages with a file of its own.
    void Fill(int bytes) {
        FsError error;
        FileHandle h = OpenFile(root + "fill.bin", FileAccess::Write, ShareNone, error);
        ASSERT_EQ(error, FsOk);
        std::string data(bytes, 'f');
        EXPECT_EQ(WriteBlock(h, data.data(), bytes, error), bytes);
        CloseFile(h);
    }
    char letter = 0;
    std::string mountDir, root;
};

} // namespace

TEST_F(FullDisk, WriteBlockReportsAShortWrite) {
    Fill(10000);
    FsError error;
    FileHandle h = OpenFile(root + "x.bin", FileAccess::Write, ShareNone, error);
    ASSERT_EQ(error, FsOk);
    std::string data(65536, 'x');
    int written = WriteBlock(h, data.data(), 65536, error);
    EXPECT_LT(written, 65536);
    EXPECT_EQ(error, FsShortWrite);
    EXPECT_EQ(WriteBlock(h, data.data(), 100, error), 0);
    EXPECT_EQ(error, ERROR_DISK_FULL); // nothing written at all: the system's own code
    CloseFile(h);
}

TEST_F(FullDisk, RecordFileReportsTheFailureAtTheLatestAtClose) {
    // bytes taken before, bytes of record lines, failed before Close (the write-behind buffer flushed
    // while writing), the error at Close
    const std::tuple<int, int, bool, int32_t> cases[] = {
        {0, 30000, false, FsOk}, {10000, 60000, false, FsShortWrite}, {10000, 300000, true, FsShortWrite}};
    for (auto [fill, bytes, failedBeforeClose, closeError] : cases) {
        DeleteOneFile(root + "fill.bin");
        DeleteOneFile(root + "rec.txt");
        if (fill) Fill(fill);
        RecordFile f;
        bool failed = true;
        CreateWrite(f, root + "rec.txt", failed);
        ASSERT_FALSE(failed);
        std::string line(98, 'r');
        for (int i = 0; i < bytes / 100; ++i) WriteStrLine(f, line);
        EXPECT_EQ(f.Failed, failedBeforeClose) << bytes;
        EXPECT_EQ(f.ErrorCode, failedBeforeClose ? FsShortWrite : FsOk);
        Close(f, failed);
        EXPECT_EQ(failed, closeError != FsOk) << bytes;
        EXPECT_EQ(f.ErrorCode, closeError) << bytes;
        EXPECT_EQ(f.Failed, failed);
        if (closeError == FsOk) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            ASSERT_TRUE(GetFileAttributesExA((root + "rec.txt").c_str(), GetFileExInfoStandard, &data));
            EXPECT_EQ(data.nFileSizeLow, static_cast<DWORD>(bytes));
        }
    }
}

// A converted file that does not fit is no success, and the destination it would have replaced keeps
// every byte; nothing of the attempt is left on the disk.
TEST_F(FullDisk, ConversionKeepsTheOldDestination) {
    testsupport::TempDir dir("fulldisk-convert");
    sampledata::SampleSpec spec;
    spec.Kind = 'P';
    spec.Records = 500;
    dir.Write("BIG.P01", sampledata::Bytes(spec));
    std::ofstream(root + "BIG.TXT", std::ios::binary) << "old";
    Fill(10000);
    ResetTextFormatSettings();
    ResetConversionState();
    ConvSetup(ModeBinToFull, 1, LastNothing, false, false, "");
    bool abortRun = false, converted = true;
    EXPECT_EQ(ConvertFile(dir / "BIG.P01", root + "BIG.TXT", false, abortRun, converted),
              ConvOutcome::WriteFailed);
    EXPECT_FALSE(converted);
    std::stringstream kept;
    kept << std::ifstream(root + "BIG.TXT", std::ios::binary).rdbuf();
    EXPECT_EQ(kept.str(), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 2); // fill.bin, BIG.TXT
}
