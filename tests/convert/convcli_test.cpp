// The vexaconv command, run in-process: options, exit status, folders, the overwrite question.
#include "convert/conv_fixture.h"

namespace {

using Vexaconv = convtest::ConvFixture;
using convtest::Spec;

TEST_F(Vexaconv, UsageErrors) {
    Sample("M.K01");
    for (const char* line : {"", "--mode bin2xyz @M.K01", "--decimals 13 @M.K01", "--delimiter 300 @M.K01",
                             "--extension TOOLONG @M.K01", "--yes --no @M.K01", "@NOT-THERE.K01",
                             "--ext data @M.K01", // would overwrite the binary file
                             "--mode=bin2full --ext=data -d @ @M.K01"}) {
        EXPECT_EQ(Run(line), CliUsageError) << line;
        EXPECT_FALSE(err_.str().empty());
    }
    EXPECT_EQ(dir_.Read("M.K01"), sampledata::Bytes(Spec('K', 20, 3)));
    EXPECT_EQ(Run("--help"), CliAllConverted);
    EXPECT_TRUE(Said("--selected-cols"));
}

// A folder converts the files that match the mask, into a destination folder made when missing; what
// is not a data file is passed over with its reason, and the exit status says so.
TEST_F(Vexaconv, FolderWithMaskAndReasons) {
    Sample("in/A.K01");
    Sample("in/B.P01", Spec('P', 17, 3));
    Sample("in/OLD.K02", Spec('K', 16, 3));
    dir_.Write("in/NOTES.DOC", "hello");
    dir_.Write("in/skip.txt", "x");
    EXPECT_EQ(Run("--mask *.?0* -m bin2full --cols all -d @out/new @in"), CliSomePassedOver);
    EXPECT_TRUE(Said("converted " + Path("in/A.K01"))) << out_.str();
    EXPECT_TRUE(Said("passed over " + Path("in/OLD.K02") + ": format version below 17"));
    EXPECT_TRUE(Said("2 converted, 1 passed over"));
    EXPECT_EQ(dir_.Read("out/new/B.P01.TXT").substr(0, 13), "SW0-DAT-17.2-");
    EXPECT_EQ(dir_.Read("out/new/NOTES.DOC.TXT"), "<missing>");

    EXPECT_EQ(Run("--mask *.DOC @in"), CliSomePassedOver);
    EXPECT_TRUE(Said("unknown kind"));
    // A source that ends inside a record is converted, counted as cut short, and fails the run.
    dir_.Write("out/C.K01", sampledata::Bytes(Spec('K', 20, 3)) + "\x7f");
    EXPECT_EQ(Run("-d @cut @out/C.K01 @in/A.K01"), CliSomePassedOver);
    EXPECT_TRUE(Said("2 converted (1 cut short), 0 passed over")) << out_.str();
    // A missing folder the user refuses to make is a folder error.
    EXPECT_EQ(Run("-d @x/y @in/A.K01", "n\n", true), CliUsageError);
}

// Existing destinations: left alone without a terminal, replaced with --yes, asked on a
// terminal (no, yes, cancel, all).
TEST_F(Vexaconv, OverwriteAnswers) {
    Sample("A.K01");
    Sample("B.K01");
    // Command line, answers, terminal, exit status, "1" for each destination still "old", a text said.
    const std::tuple<const char*, const char*, bool, int, const char*, const char*> runs[] = {
        {"@A.K01 @B.K01", "", false, CliSomePassedOver, "11", "not overwritten"},
        {"@A.K01 @B.K01", "n\ny\n", true, CliSomePassedOver, "10", "Overwrite?"},
        {"@A.K01 @B.K01", "c\n", true, CliSomePassedOver, "11", "Overwrite?"},
        {"@A.K01 @B.K01", "a\n", true, CliAllConverted, "00", "Overwrite?"},
        {"--yes @A.K01 @B.K01", "", false, CliAllConverted, "00", "2 converted"}};
    for (const auto& [line, answers, terminal, exit, kept, says] : runs) {
        dir_.Write("A.K01.TXT", "old");
        dir_.Write("B.K01.TXT", "old");
        EXPECT_EQ(Run(line, answers, terminal), exit) << line << " " << answers;
        EXPECT_EQ(std::to_string(dir_.Read("A.K01.TXT") == "old") +
                      std::to_string(dir_.Read("B.K01.TXT") == "old"),
                  kept)
            << line << " " << answers;
        EXPECT_TRUE(Said(says)) << out_.str() << err_.str();
    }
}

// Options map onto the window's: Col ASCII with a delimiter character, selected columns, numbering,
// the chosen extension and ending.
TEST_F(Vexaconv, ColAsciiOptions) {
    sampledata::SampleSpec spec = Spec('P', 20, 1);
    spec.Reals = {1.5};
    spec.Ints = {-3};
    dir_.Write("M.P01", sampledata::Bytes(spec));
    EXPECT_EQ(Run("--only-selected --selected-cols 2,36 --delimiter | --numbered --decimals 2 --ext input "
                  "--extension CSV --last-line crlf-eof @M.P01"),
              CliAllConverted);
    EXPECT_EQ(dir_.Read("M.P01.CSV"), "   1|| 1.50E+00|     -3\r\n\x1A");
}

} // namespace
