// Record-file rules, in both builds, against real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "lib/recfile.h"
#include "support/fault_loop.h"
#include "support/temp_dir.h"

using testsupport::TempDir;

namespace {

class RecFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTextFormatSettings();
        ResetFieldLine();
    }
    void OpenWith(RecordFile& f, std::string_view bytes) {
        dir.Write("in.dat", bytes);
        bool failed = true;
        OpenRead(f, dir / "in.dat", failed);
        ASSERT_FALSE(failed);
    }
    void Create(RecordFile& f) {
        bool failed = true;
        CreateWrite(f, dir / "out.dat", failed);
        ASSERT_FALSE(failed);
    }
    // Closes the file and returns what it holds.
    std::string Written(RecordFile& f) {
        bool failed = true;
        Close(f, failed);
        EXPECT_FALSE(failed);
        return dir.Read("out.dat");
    }
    TempDir dir{"recfile"};
};

} // namespace

// Lines that cross the read-ahead buffer: a line end split by it must neither lose a character nor end
// a line twice, and the end of the file stays reported.
TEST_F(RecFile, ReadLineEndsAndEndOfFile) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines; // every line read before the end is reported
    } cases[] = {
        {"line across buffers", std::string(70000, 'x') + "\r\nend", {"xxxxxxxxxx", "end"}},
        {"crlf split by the buffer", std::string(65535, 'y') + "\r\nz", {"yyyyyyyyyy", "z"}},
        {"lone cr ends the buffer", std::string(65535, 'y') + "\r-z", {"yyyyyyyyyy", "-z"}},
    };
    for (const Case& c : cases) {
        RecordFile f;
        OpenWith(f, c.bytes);
        TextBuf<9> buf;
        for (const std::string& line : c.lines) {
            EXPECT_EQ(ReadLine(f, buf, false), static_cast<int>(line.size())) << c.name;
            EXPECT_FALSE(f.Failed) << c.name;
            EXPECT_EQ(buf.View(), line) << c.name;
        }
        for (int again = 0; again < 2; ++again) { // the end, and it stays
            ReadLine(f, buf, false);
            EXPECT_TRUE(Failed(f) && f.ErrorCode == RecShortRead && buf.Empty()) << c.name;
        }
    }
}

// A value too large for the file's field is cut or clamped, and a short read keeps the variable.
TEST_F(RecFile, BinaryEncodings) {
    RecordFile f;
    Create(f);
    WriteInt(f, 70000);  // the low 16 bits
    WriteReal(f, 1e300); // clamped to single
    EXPECT_EQ(Written(f), "\x70\x11\x9E\xC9\x7F\x7F");

    OpenWith(f, "\7");
    int i = -1;
    ReadInt(f, i); // one byte short: the end is reported and the variable keeps its value
    EXPECT_TRUE(f.Failed && f.ErrorCode == RecShortRead && i == -1);
}

// A field line as written: ";" between the fields, reals in exponent form (one too small to show as
// 0.0) and CR LF after the last.
TEST_F(RecFile, FieldLines) {
    RecordFile f;
    Create(f);
    f.Mode = 1;
    int five = 5;
    double half = 0.5, tiny = 1e-31;
    TextBuf<9> abc;
    abc.Set("abc");
    SetFieldMode(f, true);
    TransferInt(f, five);
    TransferReal(f, half);
    TransferReal(f, tiny);
    TransferText(f, abc, 0);
    SetFieldMode(f, false);
    EXPECT_EQ(Written(f), "5;5.000E-01;0.0;abc\r\n");
}

TEST_F(RecFile, BufferedRecordsRoundTrip) {
    RecordFile f;
    Create(f);
    const int count = 30000; // 18-byte records over many buffer boundaries
    for (int i = 0; i < count; ++i) {
        TextBuf<11> name;
        name.Set("N" + std::to_string(i));
        WriteInt(f, i);
        WriteReal(f, i * 0.5);
        WriteFixedText(f, name.c, name.Cap);
    }
    EXPECT_EQ(Written(f).size(), 18u * count);

    bool failed = true;
    OpenRead(f, dir / "out.dat", failed);
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        int v = -1;
        double x = -1;
        TextBuf<11> name;
        ReadInt(f, v);
        ReadReal(f, x);
        ReadFixedText(f, name.c, name.Cap);
        bad += v != static_cast<int16_t>(i) || x != i * 0.5 || name.Str() != "N" + std::to_string(i);
    }
    EXPECT_EQ(bad, 0);
    EXPECT_FALSE(f.Failed);
    SkipBytes(f, 1);
    EXPECT_EQ(f.ErrorCode, RecShortRead);
}

// A file being written replaces its namesake whole or not at all, whatever operation fails: the old
// bytes stay or the new file is complete, the caller is told, and no temporary file is left. Sizes
// below and above the write-behind buffer; the 95 family's set-aside road runs in an emulated child.
TEST_F(RecFile, ReplacesWholeOrNotAtAll) {
    for (int size : {10, 150000}) {
        const std::string old = "old contents\r\n", fresh(size, 'n');
        bool failed = false;
        int positions = testsupport::ForEachFault(
            [&] {
                dir.Write("out.dat", old);
                RecordFile f;
                CreateWrite(f, dir / "out.dat", failed);
                for (int at = 0; at < size; at += 1000)
                    WriteBytes(f, fresh.data() + at, std::min(1000, size - at));
                if (!failed) Close(f, failed);
            },
            [&](int position, FsError) {
                std::string now = dir.Read("out.dat");
                EXPECT_EQ(now, failed ? old : fresh) << "failed " << failed;
                EXPECT_EQ(failed, position > 0 && now == old);
                EXPECT_TRUE(testsupport::TempFilesIn(dir.Path()).empty());
            });
        EXPECT_GE(positions, size > 65536 ? 6 : 4) << size; // create, writes, close, move
    }
}

// A writer that gives up keeps the old file; one that never reaches Close is given up.
TEST_F(RecFile, DiscardKeepsTheOldFile) {
    dir.Write("out.dat", "old");
    {
        RecordFile f;
        Create(f);
        WriteStr(f, "new");
    }
    RecordFile g;
    Create(g);
    WriteStr(g, "new");
    Discard(g);
    EXPECT_EQ(dir.Read("out.dat"), "old");
    EXPECT_TRUE(testsupport::TempFilesIn(dir.Path()).empty());
}

// A name longer than the record file holds is refused, never written under the part of it that fits.
TEST_F(RecFile, RefusesANameItCannotHoldWhole) {
    std::string folder = dir / (std::string(120, 'a') + TempDir::Sep + std::string(100, 'b'));
    testsupport::MakeDirs(folder);
    RecordFile f;
    bool failed = false;
    CreateWrite(f, folder + TempDir::Sep + std::string(60, 'c'), failed);
    WriteStr(f, "new");
    if (!failed) Close(f, failed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(f.ErrorCode, FsNameTooLong);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 0);
}
