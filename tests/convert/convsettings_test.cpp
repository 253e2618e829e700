// The conversion settings and their file VexaAsc.CFA.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "convert/convnames.h"
#include "convert/convsettings.h"
#include "lib/fs.h"
#include "support/fault_loop.h"
#include "support/temp_dir.h"

namespace {

// A window stand-in that records what the settings file did with its placement.
class FakeWindow final : public PlacementTarget {
  public:
    void SavePlacement(FormGeometry& geometry) override { geometry = Current; }
    void PlaceFrom(const FormGeometry& geometry) override { Placed = geometry; }
    bool FixedBorder() const override { return false; }
    FormGeometry Current{}, Placed{};
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
    // Reads or writes the named file with the settings; false when it could not be opened.
    bool Transfer(const char* name, bool reading, PlacementTarget* window) {
        bool failed = false;
        OpenSettings(dir_.Path(), name, reading, window, failed);
        if (!failed) {
            TransferConvSettings();
            CloseSettings(failed);
        }
        return !failed;
    }
    // The value lines the settings give when written without a window (after identification and date).
    std::string Saved() {
        EXPECT_TRUE(Transfer("Saved", false, nullptr));
        return dir_.Read("Saved.CFA").substr(54);
    }
    testsupport::TempDir dir_;
};

TEST_F(ConvSettingsFile, DefaultsWithoutAFile) {
    ConvSettings.Mode = 0;
    TextFormatSettings.DelimiterCode = 9;
    FakeWindow window;
    LoadSaveConvSettings(true, &window); // none beside the test program
    const ConvSettingsRecord& s = ConvSettings;
    EXPECT_EQ(std::tuple(s.Mode, s.ColsPerLine, s.LastLine, s.ExtChoice, s.Numbered, s.OnlySelected,
                         s.NotAsSource, TextFormatSettings.DelimiterCode, TextFormatSettings.Decimals),
              std::tuple(2, 1, 1, 1, false, false, false, 32, -4));
    EXPECT_EQ(s.SourceMask.Str() + "|" + s.Extension.Str() + "|" + s.SelectedCols.Str(), "*.*|ASC|1,2");
}

TEST_F(ConvSettingsFile, WrittenValuesAndPlacementReadBack) {
    ConvSettingsRecord& s = ConvSettings;
    std::tie(s.Mode, s.ColsPerLine, s.LastLine, s.ExtChoice, s.Numbered, s.OnlySelected, s.NotAsSource) =
        std::tuple(0, 3, 2, 2, true, true, true);
    s.SourceDir.Set("C:\\DATA *old");
    s.DestDir.Set("D:\\OUT");
    s.SourceMask.Set("*.K*");
    s.Extension.Set("DAT");
    s.SelectedCols.Set("1,36");
    TextFormatSettings.DelimiterCode = 124;
    TextFormatSettings.Decimals = -7;
    FakeWindow window;
    window.Current = {10, 20, 300, 200, 290, 170, 11, 21, 301, 201, 291, 171, GeoHasPlacement};
    ASSERT_TRUE(Transfer("VexaAsc", false, &window));
    const std::string values = "     0\r\n     3\r\n   124\r\nY\r\n     2\r\n    -7\r\n     2\r\nY\r\n"
                               "C:\\DATA *old\r\nD:\\OUT\r\n*.K*\r\nDAT\r\nY\r\n1,36\r\n";
    std::string text = dir_.Read("VexaAsc.CFA");
    EXPECT_EQ(text.substr(54), "301,201,11,21,291,171,1\r\n" + values);

    ResetConvSettings(dir_.Path());
    ASSERT_TRUE(Transfer("VexaAsc", true, &window));
    EXPECT_EQ(Saved(), values); // texts keep what follows a blank
    EXPECT_EQ(std::tuple(window.Placed.Left, window.Placed.Top), std::tuple(11, 21));
}

// Saving replaces the settings file whole or not at all, whatever file operation fails, and the caller
// hears of a failure; nothing is left under a temporary name and the file is closed for the next use.
TEST_F(ConvSettingsFile, SavingReplacesTheFileWholeOrNotAtAll) {
    const std::string old =
        "SetUp.EXE converter settings VexaAsc.CFA\r\n1999-03-15\r\n1,2,3,4,5,6,1\r\n0\r\n";
    std::string fresh;
    bool saved = false;
    testsupport::ForEachFault(
        [&] {
            dir_.Write("VexaAsc.CFA", old);
            saved = Transfer("VexaAsc", false, nullptr);
        },
        [&](int position, FsError) {
            std::string now = dir_.Read("VexaAsc.CFA");
            if (position == 0) fresh = now;
            EXPECT_EQ(now, saved ? fresh : old);
            EXPECT_TRUE(saved || position > 0);
            EXPECT_TRUE(testsupport::TempFilesIn(dir_.Path()).empty());
            EXPECT_EQ(SettingsMode, SettingsOpenMode::Closed);
        });
    EXPECT_NE(fresh, old);
}

// A file that ends early gives 0, false and empty texts for what is missing.
TEST_F(ConvSettingsFile, FileEndingEarly) {
    ConvSettings.Extension.Set("XYZ");
    ConvSettings.NotAsSource = true;
    dir_.Write("VexaAsc.CFA",
               "SetUp.EXE converter settings VexaAsc.CFA\r\n1999-03-15\r\n1,2,3,4,5,6,1\r\n1\r\n");
    FakeWindow window;
    ASSERT_TRUE(Transfer("VexaAsc", true, &window));
    EXPECT_EQ(
        Saved(),
        "     1\r\n     0\r\n     0\r\nN\r\n     0\r\n     0\r\n     0\r\nN\r\n\r\n\r\n\r\n\r\nN\r\n\r\n");
}

TEST_F(ConvSettingsFile, ForeignFileIsNotRead) {
    dir_.Write("VexaAsc.CFA",
               "SW0-DAT-20.1-AK SAMPLE    000GENERATOR01\r\n2000-01-01\r\n1,2,3,4,5,6,1\r\n0\r\n");
    FakeWindow window;
    EXPECT_FALSE(Transfer("VexaAsc", true, &window));
    EXPECT_EQ(window.Placed.Flags, 0);
    EXPECT_EQ(SettingsMode, SettingsOpenMode::Closed);
}

// Beside the program's folder: DATA is the source folder, when there is one; a program folder named
// BIN (any case) keeps its settings in Sys\Install\Last, when that folder exists.
TEST_F(ConvSettingsFile, FoldersBesideTheProgram) {
    testsupport::TempDir root("settings-root");
    std::string program = root / "Bin";
    std::filesystem::create_directories(program);
    EXPECT_EQ(SettingsFolder(program), program);
    std::filesystem::create_directories(root / "Sys/Install/Last");
    std::filesystem::create_directories(root / "DATA");
    EXPECT_TRUE(SameText(SettingsFolder(program), root / "Sys/Install/Last")) << SettingsFolder(program);
    ResetConvSettings(program);
    EXPECT_EQ(ConvSettings.SourceDir.Str(), root / "DATA");
}

} // namespace
