// The conversion settings and their file VexaAsc.CFA.
#include <gtest/gtest.h>

#include <filesystem>

#include "convert/convnames.h"
#include "convert/convsettings.h"
#include "lib/fs.h"
#include "support/temp_dir.h"

namespace {

// A window stand-in that records what the settings file did with its placement.
class FakeWindow final : public PlacementTarget {
  public:
    void SavePlacement(FormGeometry& geometry) override { geometry = Current; }
    void PlaceFrom(const FormGeometry& geometry) override {
        Placed = geometry;
        ++Placings;
    }
    bool FixedBorder() const override { return Fixed; }
    FormGeometry Current{};
    FormGeometry Placed{};
    int Placings = 0;
    bool Fixed = false;
};

class ConvSettingsFile : public ::testing::Test {
  protected:
    ConvSettingsFile() : dir_("settings") {
        ResetTextFormatSettings();
        ResetConvSettings(dir_.Path());
    }
    ~ConvSettingsFile() override {
        bool ignored;
        CloseSettings(ignored);
    }
    // Reads the named file into the settings; false when it could not be read.
    bool Load(PlacementTarget* window) {
        bool failed = false;
        OpenSettings(dir_.Path(), "VexaAsc", true, window, failed);
        if (!failed) {
            TransferConvSettings();
            CloseSettings(failed);
        }
        return !failed;
    }
    std::string Head(const std::string& placement) {
        return "SetUp.EXE converter settings VexaAsc.CFA\r\n1999-03-15\r\n" + placement + "\r\n";
    }
    testsupport::TempDir dir_;
};

TEST_F(ConvSettingsFile, DefaultsWithoutAFile) {
    ConvSettings.Mode = 0;
    TextFormatSettings.DelimiterCode = 9;
    FakeWindow window;
    LoadSaveConvSettings(true, &window); // none beside the test program
    const ConvSettingsRecord& s = ConvSettings;
    EXPECT_EQ(s.Mode, 2);
    EXPECT_EQ(s.ColsPerLine, 1);
    EXPECT_EQ(s.LastLine, 1);
    EXPECT_EQ(s.ExtChoice, 1);
    EXPECT_FALSE(s.Numbered || s.OnlySelected || s.NotAsSource);
    EXPECT_EQ(s.SourceMask.Str(), "*.*");
    EXPECT_EQ(s.Extension.Str(), "ASC");
    EXPECT_EQ(s.SelectedCols.Str(), "1,2");
    EXPECT_EQ(TextFormatSettings.DelimiterCode, 32);
    EXPECT_EQ(TextFormatSettings.Decimals, -4);
    EXPECT_EQ(window.Placings, 1); // centred from an empty record
    EXPECT_EQ(window.Placed.Flags, 0);
}

TEST_F(ConvSettingsFile, DefaultSourceFolderIsDataBesideTheProgram) {
    std::string program = dir_ / "KORVO/BIN";
    std::filesystem::create_directories(program);
    EXPECT_EQ(DefaultSourceDir(program), program);
    std::filesystem::create_directories(dir_ / "KORVO/DATA");
    EXPECT_EQ(DefaultSourceDir(program), dir_ / "KORVO/DATA");
    ResetConvSettings(program);
    EXPECT_EQ(ConvSettings.DestDir.Str(), dir_ / "KORVO/DATA");
}

TEST_F(ConvSettingsFile, WrittenValuesAndPlacementReadBack) {
    ConvSettingsRecord& s = ConvSettings;
    s.Mode = 0;
    s.ColsPerLine = 3;
    s.LastLine = 2;
    s.ExtChoice = 2;
    s.Numbered = true;
    s.OnlySelected = true;
    s.NotAsSource = true;
    s.SourceDir.Set("C:\\DATA *old");
    s.DestDir.Set("D:\\OUT");
    s.SourceMask.Set("*.K*");
    s.Extension.Set("DAT");
    s.SelectedCols.Set("1,36");
    TextFormatSettings.DelimiterCode = 124;
    TextFormatSettings.Decimals = -7;
    FakeWindow window;
    window.Current = {10, 20, 300, 200, 290, 170, 11, 21, 301, 201, 291, 171, GeoHasPlacement};
    bool failed = true;
    OpenSettings(dir_.Path(), "VexaAsc", false, &window, failed);
    ASSERT_FALSE(failed);
    TransferConvSettings();
    CloseSettings(failed);
    ASSERT_FALSE(failed);
    std::string text = dir_.Read("VexaAsc.CFA");
    EXPECT_EQ(text.substr(0, 42), "SetUp.EXE converter settings VexaAsc.CFA\r\n");
    EXPECT_EQ(text.substr(54),
              "301,201,11,21,291,171,1\r\n     0\r\n     3\r\n   124\r\nY\r\n     2\r\n    -7\r\n     2\r\n"
              "Y\r\nC:\\DATA *old\r\nD:\\OUT\r\n*.K*\r\nDAT\r\nY\r\n1,36\r\n");

    ResetConvSettings(dir_.Path());
    window.Fixed = true;
    ASSERT_TRUE(Load(&window));
    EXPECT_EQ(s.Mode, 0);
    EXPECT_EQ(s.ColsPerLine, 3);
    EXPECT_EQ(s.SourceDir.Str(), "C:\\DATA *old"); // texts keep what follows a blank
    EXPECT_EQ(s.SelectedCols.Str(), "1,36");
    EXPECT_TRUE(s.NotAsSource && s.Numbered && s.OnlySelected);
    EXPECT_EQ(TextFormatSettings.DelimiterCode, 124);
    EXPECT_EQ(TextFormatSettings.Decimals, -7);
    // The saved placement becomes the current one; a fixed border restores the position only.
    const FormGeometry& g = window.Placed;
    EXPECT_EQ(g.Left, 11);
    EXPECT_EQ(g.Top, 21);
    EXPECT_EQ(g.Width, 301);
    EXPECT_EQ(g.ClientHeight, 171);
    EXPECT_EQ(g.SavedWidth, 301);
    EXPECT_EQ(g.Flags, GeoHasPlacement | GeoPositionOnly);
}

// Integer and boolean lines lose "*" comments, "**" lines read as 0, texts are taken whole without
// trailing blanks, and a file that ends early gives 0, false and empty texts.
TEST_F(ConvSettingsFile, ValueLineRulesAndEarlyEnd) {
    ConvSettings.Extension.Set("XYZ");
    ConvSettings.NotAsSource = true;
    dir_.Write("VexaAsc.CFA", Head("1,2,3,4,5,6,1") + "     1 *mode\r\n**3\r\n44 * comma\r\nY *yes\r\n2\r\n"
                                                      "-5*x\r\n0\r\nn\r\n D:\\IN *x   \r\n");
    FakeWindow window;
    ASSERT_TRUE(Load(&window));
    const ConvSettingsRecord& s = ConvSettings;
    EXPECT_EQ(s.Mode, 1);
    EXPECT_EQ(s.ColsPerLine, 0);
    EXPECT_EQ(TextFormatSettings.DelimiterCode, 44);
    EXPECT_TRUE(s.Numbered);
    EXPECT_EQ(s.LastLine, 2);
    EXPECT_EQ(TextFormatSettings.Decimals, -5);
    EXPECT_FALSE(s.NotAsSource);
    EXPECT_EQ(s.SourceDir.Str(), " D:\\IN *x");
    EXPECT_EQ(s.DestDir.Str(), "");
    EXPECT_EQ(s.Extension.Str(), "");
    EXPECT_FALSE(s.OnlySelected);
    EXPECT_EQ(window.Placed.Left, 3);
}

TEST_F(ConvSettingsFile, ForeignFileIsNotRead) {
    dir_.Write("VexaAsc.CFA",
               "SW0-DAT-20.1-AK SAMPLE    000GENERATOR01\r\n2000-01-01\r\n1,2,3,4,5,6,1\r\n0\r\n");
    ConvSettings.Mode = 1;
    FakeWindow window;
    EXPECT_FALSE(Load(&window));
    EXPECT_EQ(window.Placed.Flags, 0);
    EXPECT_EQ(SettingsMode, SettingsOpenMode::Closed);
}

TEST_F(ConvSettingsFile, WithoutWindowThereIsNoPlacementLine) {
    bool failed = true;
    OpenSettings(dir_.Path(), "Other", false, nullptr, failed);
    int value = 42;
    SettingsInt(value);
    CloseSettings(failed);
    EXPECT_EQ(dir_.Read("Other.CFA").substr(54), "    42\r\n");
}

// A program folder named BIN (any case) keeps its settings in Sys\Install\Last beside it, when that
// folder exists.
TEST_F(ConvSettingsFile, LocationBesideABinFolder) {
    for (const char* bin : {"bin", "BIN", "Bin"}) {
        testsupport::TempDir root("settings-root");
        std::string program = root / bin;
        std::filesystem::create_directories(program);
        EXPECT_EQ(SettingsFolder(program), program);
        std::filesystem::create_directories(root / "Sys/Install/Last");
        EXPECT_TRUE(SameText(SettingsFolder(program), root / "Sys/Install/Last")) << SettingsFolder(program);
    }
    testsupport::TempDir root("settings-root");
    std::filesystem::create_directories(root / "PROG");
    std::filesystem::create_directories(root / "Sys/Install/Last");
    EXPECT_EQ(SettingsFolder(root / "PROG"), root / "PROG");
}

} // namespace
