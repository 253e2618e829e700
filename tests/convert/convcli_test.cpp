// The vexaconv command, run in-process: options, exit status, folders, the overwrite question.
#include <filesystem>
#include <sstream>

#include "convert/conv_fixture.h"
#include "convert/convcli.h"
#include "convert/convsettings.h"

namespace {

class Vexaconv : public convtest::ConvFixture {
  protected:
    int Run(std::vector<std::string> args, const std::string& answers = "", bool interactive = false) {
        std::istringstream in(answers);
        out_.str("");
        err_.str("");
        ConvCliIo io{in, out_, err_, interactive, false};
        return VexaconvMain(args, io);
    }
    void Sample(const std::string& name, char kind = 'K', int version = 20) {
        dir_.Write(name, sampledata::Bytes(convtest::Spec(kind, version, 3)));
    }
    std::ostringstream out_, err_;
};

TEST_F(Vexaconv, UsageErrors) {
    Sample("M.K01");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--mode", "bin2xyz", Path("M.K01")},
        {"--cols", Path("M.K01")},
        {"--decimals", "13", Path("M.K01")},
        {"--decimals", "0", Path("M.K01")},
        {"--delimiter", "semi", Path("M.K01")},
        {"--delimiter", "300", Path("M.K01")},
        {"--extension", "TOOLONG", Path("M.K01")},
        {"--yes", "--no", Path("M.K01")},
        {"--frobnicate", Path("M.K01")},
        {Path("NOT-THERE.K01")},
        {"--settings", Path("none.CFA")},
        {"--ext", "data", Path("M.K01")}, // would overwrite the binary file
        {"--mode=bin2full", "--ext=data", "-d", dir_.Path(), Path("M.K01")},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(Run(args), CliUsageError) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(err_.str().empty());
    }
    EXPECT_EQ(dir_.Read("M.K01"), sampledata::Bytes(convtest::Spec('K', 20, 3)));
    EXPECT_EQ(Run({"--help"}), CliAllConverted);
    EXPECT_NE(out_.str().find("--selected-cols"), std::string::npos);
}

// A folder converts the files that match the mask; what is not a data file is passed over with its
// reason, and the exit status says so.
TEST_F(Vexaconv, FolderWithMaskAndReasons) {
    std::filesystem::create_directories(dir_ / "in");
    Sample("in/A.K01");
    Sample("in/B.P01", 'P', 17);
    Sample("in/OLD.K02", 'K', 16);
    dir_.Write("in/NOTES.DOC", "hello");
    dir_.Write("in/skip.txt", "x");
    EXPECT_EQ(Run({"--mask", "*.?0*", "-m", "bin2full", "--cols", "all", "-d", dir_ / "out", dir_ / "in"}),
              CliSomePassedOver);
    EXPECT_NE(out_.str().find("converted " + (dir_ / "in/A.K01")), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("passed over " + (dir_ / "in/OLD.K02") + ": format version below 17"),
              std::string::npos);
    EXPECT_NE(out_.str().find("2 converted, 1 passed over"), std::string::npos) << out_.str();
    EXPECT_EQ(dir_.Read("out/B.P01.TXT").substr(0, 13), "SW0-DAT-17.2-");
    EXPECT_EQ(dir_.Read("out/NOTES.DOC.TXT"), "<missing>");

    EXPECT_EQ(Run({"-m", "full2bin", "-d", dir_ / "back", dir_ / "out"}), CliAllConverted) << out_.str();
    EXPECT_NE(dir_.Read("back/A.K01"), "<missing>");
    EXPECT_EQ(Run({"--mask", "*.DOC", dir_ / "in"}), CliSomePassedOver);
    EXPECT_NE(out_.str().find("unknown kind"), std::string::npos);
}

// Existing destinations: left alone without a terminal, replaced with --yes, asked on a terminal.
TEST_F(Vexaconv, OverwriteAnswers) {
    Sample("A.K01");
    Sample("B.K01");
    dir_.Write("A.K01.TXT", "old");
    dir_.Write("B.K01.TXT", "old");
    EXPECT_EQ(Run({Path("A.K01"), Path("B.K01")}), CliSomePassedOver);
    EXPECT_EQ(dir_.Read("A.K01.TXT"), "old");
    EXPECT_NE(out_.str().find("not overwritten"), std::string::npos);
    EXPECT_EQ(Run({"--no", Path("A.K01")}, "", true), CliSomePassedOver);
    EXPECT_EQ(Run({Path("A.K01"), Path("B.K01")}, "n\ny\n", true), CliSomePassedOver);
    EXPECT_EQ(dir_.Read("A.K01.TXT"), "old");
    EXPECT_NE(dir_.Read("B.K01.TXT"), "old");
    EXPECT_NE(err_.str().find("Overwrite?"), std::string::npos);
    dir_.Write("B.K01.TXT", "old");
    EXPECT_EQ(Run({Path("A.K01"), Path("B.K01")}, "c\n", true), CliSomePassedOver);
    EXPECT_EQ(dir_.Read("B.K01.TXT"), "old");
    EXPECT_EQ(Run({Path("A.K01"), Path("B.K01")}, "a\n", true), CliAllConverted);
    EXPECT_NE(dir_.Read("B.K01.TXT"), "old");
    EXPECT_EQ(Run({"--yes", Path("A.K01")}), CliAllConverted);
}

// Options map onto the window's: Col ASCII with a delimiter character, selected columns, numbering,
// the chosen extension and ending.
TEST_F(Vexaconv, ColAsciiOptions) {
    sampledata::SampleSpec spec = convtest::Spec('P', 20, 1);
    spec.Reals = {1.5};
    spec.Ints = {-3};
    dir_.Write("M.P01", sampledata::Bytes(spec));
    EXPECT_EQ(
        Run({"--only-selected", "--selected-cols", "2,36", "--delimiter", "|", "--numbered", "--decimals",
             "2", "--ext", "input", "--extension", "CSV", "--last-line", "crlf-eof", Path("M.P01")}),
        CliAllConverted);
    EXPECT_EQ(dir_.Read("M.P01.CSV"), "   1|| 1.50E+00|     -3\r\n\x1A");
}

// A settings file gives every option; the command line wins over it; without SOURCE its source
// folder and mask are converted into its destination folder.
TEST_F(Vexaconv, SettingsFile) {
    std::filesystem::create_directories(dir_ / "data");
    Sample("data/S.K01");
    ConvSettingsRecord& s = ConvSettings;
    s.Mode = 1;
    s.ColsPerLine = 2;
    s.Numbered = true;
    s.NotAsSource = true;
    s.SourceDir.Set(dir_ / "data");
    s.DestDir.Set(dir_ / "ascii");
    s.ExtChoice = 2;
    s.Extension.Set("FUL");
    s.SourceMask.Set("*.K01");
    TextFormatSettings.DelimiterCode = 44;
    TextFormatSettings.Decimals = -2;
    bool failed = true;
    OpenSettingsPath(dir_ / "My.CFA", false, nullptr, failed);
    ASSERT_FALSE(failed);
    WriteStrLine(SettingsFile, "0,0,0,0,0,0,0"); // the window's placement line
    TransferConvSettings();
    CloseSettings(failed);

    EXPECT_EQ(Run({"--settings", dir_ / "My.CFA"}), CliAllConverted) << err_.str() << out_.str();
    std::string text = dir_.Read("ascii/S.K01.FUL");
    EXPECT_EQ(text.substr(0, 13), "SW0-DAT-20.4-");
    EXPECT_NE(text.find("\r\n   1,"), std::string::npos);
    EXPECT_EQ(Run({"--settings", dir_ / "My.CFA", "-m", "bin2col", "--delimiter", "tab", "--yes",
                   Path("data/S.K01")}),
              CliAllConverted);
    EXPECT_EQ(dir_.Read("ascii/S.K01.FUL").substr(0, 5), "   1\t");
}

TEST_F(Vexaconv, MissingDestinationFolderIsMade) {
    Sample("M.K01");
    EXPECT_EQ(Run({"-d", dir_ / "a/b/c", Path("M.K01")}), CliAllConverted) << err_.str();
    EXPECT_NE(dir_.Read("a/b/c/M.K01.TXT"), "<missing>");
    EXPECT_EQ(Run({"-d", dir_ / "x/y", Path("M.K01")}, "n\n", true), CliUsageError);
}

TEST_F(Vexaconv, MasksMatchLikeWindows) {
    struct Case {
        const char* Mask;
        const char* Name;
        bool Match;
    };
    const Case cases[] = {{"*.*", "README", true},     {"*.K*", "meas.k01", true},
                          {"*.K*", "MEAS.P01", false}, {"M?AS.*", "MEAS.K", true},
                          {"*01", "MEAS.K01", true},   {"*.K01", "MEAS.K01.TXT", false},
                          {"a*b*c", "aXXbYc", true},   {"a*b*c", "aXXbY", false}};
    for (const Case& c : cases) EXPECT_EQ(MaskMatches(c.Mask, c.Name), c.Match) << c.Mask << " " << c.Name;
}

} // namespace
