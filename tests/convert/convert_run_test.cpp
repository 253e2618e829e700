// A conversion run as the window drives it: which files are converted or passed over, the folder
// checks of the first file, the overwrite question, failures while writing, and the identification
// and naming rules.
#include <filesystem>

#include "convert/conv_fixture.h"
#include "convert/convnames.h"
#include "lib/fs.h"
#include "support/fault_loop.h"
#include "support/scripted_prompter.h"
#ifdef _WIN32
#include "support/emulated_win32.h"
#endif

namespace {

using convtest::Spec;
using testsupport::ScriptedPrompter;

class ConvertRun : public convtest::ConvFixture {
  protected:
    std::string Sample(char kind = 'K', int version = 20) {
        return sampledata::Bytes(Spec(kind, version, 2));
    }
};

TEST_F(ConvertRun, Names) {
    const std::pair<const char*, char> kinds[] = {
        {"meas.y17", 'Y'}, {"MEAS.K01.TXT", 'K'}, {"MEAS.TXT", 'T'}, {"MEAS", 0}, {"DIR.K01/MEAS", 0}};
    for (const auto& [name, kind] : kinds) EXPECT_EQ(KindLetter(name), kind) << name;
    // What vexaconv does not already show: keeping the name, and mode 0 dropping the last extension.
    EXPECT_EQ(DestinationName(ModeBinToFull, ExtKeep, "ASC", "MEAS.K01"), "MEAS.K01");
    EXPECT_EQ(DestinationName(ModeFullToBin, ExtKeep, "ASC", "MEAS.K01"), "MEAS");
}

TEST_F(ConvertRun, Identification) {
    // Identification characters 2 and 8..10, and the version they give.
    const std::pair<const char*, int> versions[] = {{"0171", 17}, {"1342", 16}, {"1343", 17}};
    const std::string binary = sampledata::Ident(Spec('K', 20, 0));
    for (const auto& [digits, version] : versions) {
        std::string ident = binary;
        ident[2] = digits[0];
        ident.replace(8, 3, digits + 1);
        EXPECT_EQ(IdentVersion(ident), version) << ident;
    }
}

// Sources that are not converted are passed over without a box: no destination is made, and an
// existing one of the same name is left exactly as it was. Headers are cut in the identification, the
// main header, the extended field line and the attachment.
TEST_F(ConvertRun, RejectedSourcesLeaveTheDestinationAlone) {
    std::string good = Sample(), nonData = good;
    nonData[1] = 'X';
    sampledata::SampleSpec attached = Spec('K', 20, 0);
    attached.Attachment = true;
    std::string binary = sampledata::Bytes(attached);
    std::string text = Convert({ModeBinToFull, 2}, "C.K01", binary);
    size_t fieldLine = text.find(';');
    const std::tuple<const char*, std::string, int, ConvOutcome> cases[] = {
        {"MEAS.X01", good, ModeBinToFull, ConvOutcome::UnknownKind},
        {"MEAS.K01", nonData, ModeBinToFull, ConvOutcome::NotAccepted},
        {"MEAS.K01", Sample('K', 16), ModeBinToFull, ConvOutcome::OldVersion},
        {"MEAS.K01", good, ModeFullToBin, ConvOutcome::NotAccepted}, // a binary file is no Full ASCII file
        {"C.K01", binary.substr(0, 20), ModeBinToFull, ConvOutcome::HeaderCut},
        {"C.K01", binary.substr(0, 1000), ModeBinToFull, ConvOutcome::HeaderCut},
        {"C.K01", binary.substr(0, 2047), ModeBinToCol, ConvOutcome::HeaderCut},
        {"C.K01", text.substr(0, 30), ModeFullToBin, ConvOutcome::HeaderCut},
        {"C.K01", text.substr(0, fieldLine + 3), ModeFullToBin, ConvOutcome::HeaderCut},
    };
    ScriptedPrompter prompter; // no box expected
    bool abortRun;
    for (const auto& [name, bytes, mode, outcome] : cases)
        for (bool existing : {false, true}) {
            SCOPED_TRACE(::testing::Message() << name << ", " << bytes.size() << " bytes, mode " << mode);
            std::filesystem::remove_all(dir_.Path());
            std::filesystem::create_directories(dir_.Path());
            dir_.Write(name, bytes);
            if (existing) dir_.Write("OUT.TXT", "keep me");
            abortRun = true;
            Setup({mode});
            // The identification is checked before the overwrite question, the other headers after it.
            bool ask = outcome != ConvOutcome::HeaderCut || bytes.size() < 40;
            EXPECT_EQ(File(Path(name), Path("OUT.TXT"), ask, abortRun), outcome);
            EXPECT_FALSE(abortRun);
            EXPECT_EQ(dir_.Read("OUT.TXT"), existing ? "keep me" : "<missing>");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), existing ? 2 : 1);
        }
    Setup({ModeBinToFull});
    EXPECT_EQ(File(Path("MISSING.K01"), Path("OUT.TXT"), true, abortRun), ConvOutcome::Unreadable);
    dir_.Write("SAME.K01", good);
    EXPECT_EQ(File(Path("SAME.K01"), Path("SAME.K01"), true, abortRun), ConvOutcome::SameFile);
    EXPECT_EQ(dir_.Read("SAME.K01"), good);
    EXPECT_TRUE(prompter.Boxes.empty());
}

// Yes overwrites, All overwrites this and every later destination of the run without asking, a new run
// asks again, No keeps, Cancel stops the run.
TEST_F(ConvertRun, OverwriteQuestionAndAll) {
    ScriptedPrompter prompter;
    prompter.Answer(ui::IdYes).Answer(ui::IdAll).Answer(ui::IdNo).Answer(ui::IdCancel);
    dir_.Write("M.K01", Sample());
    // destination, a new run starts, outcome
    const std::tuple<const char*, bool, ConvOutcome> steps[] = {{"A.TXT", true, ConvOutcome::Converted},
                                                                {"B.TXT", false, ConvOutcome::Converted},
                                                                {"C.TXT", false, ConvOutcome::Converted},
                                                                {"A.TXT", true, ConvOutcome::Declined},
                                                                {"B.TXT", false, ConvOutcome::RunAborted}};
    bool abortRun = false;
    for (const auto& [dest, newRun, outcome] : steps) {
        if (newRun) Setup({ModeBinToCol});
        dir_.Write(dest, "old");
        EXPECT_EQ(File(Path("M.K01"), Path(dest), true, abortRun), outcome) << dest;
        EXPECT_EQ(dir_.Read(dest) == "old", outcome != ConvOutcome::Converted) << dest;
    }
    EXPECT_TRUE(abortRun);
    ASSERT_EQ(prompter.Boxes.size(), 4u);
    EXPECT_EQ(prompter.Boxes[0].Text, "File already exist!\r\nOverride file(s)?");
    EXPECT_EQ(prompter.Boxes[0].Caption, Path("A.TXT"));
    EXPECT_EQ(prompter.Boxes[0].Buttons() | prompter.Boxes[0].Icon(),
              ui::BtnYesNoCancelAll | ui::IconWarning);
}

// The first file's folders: a missing source folder stops the run; a missing destination folder is
// made when the user agrees. Later files of the run are not checked again.
TEST_F(ConvertRun, FolderChecksOfTheFirstFile) {
    dir_.Write("M.K01", Sample());
    std::string deep = JoinPath(JoinPath(Path("new"), "deeper"), "M.K01.TXT");
    ScriptedPrompter prompter;
    prompter.Answer(ui::IdOk).Answer(ui::IdCancel).Answer(ui::IdOk);
    bool abortRun = false;
    Setup({ModeBinToCol});
    EXPECT_EQ(File(JoinPath(Path("nowhere"), "M.K01"), Path("M.TXT"), true, abortRun),
              ConvOutcome::RunAborted);
    EXPECT_TRUE(abortRun);
    Setup({ModeBinToCol});
    EXPECT_EQ(File(Path("M.K01"), deep, true, abortRun), ConvOutcome::RunAborted);
    EXPECT_FALSE(DirExists(Path("new")));
    Setup({ModeBinToCol});
    EXPECT_EQ(File(Path("M.K01"), deep, true, abortRun), ConvOutcome::Converted);
    EXPECT_TRUE(FileExists(deep));
    // The second file of the run is not checked: its missing folder makes it unconvertible, quietly.
    EXPECT_EQ(File(Path("M.K01"), JoinPath(Path("other"), "M.TXT"), true, abortRun),
              ConvOutcome::Uncreatable);
    EXPECT_FALSE(abortRun);
    ASSERT_EQ(prompter.Boxes.size(), 3u);
    EXPECT_EQ(prompter.Boxes[0].Caption, "Directory not exist");
    EXPECT_EQ(prompter.Boxes[0].Text, Path("nowhere"));
    EXPECT_EQ(prompter.Boxes[1].Caption, "Path not exist. Create new directory?");
}

// Converting over an existing destination with each file operation failing in turn: the destination
// keeps its old bytes and the outcome says the file failed, or it holds the whole conversion of the
// clean run; the source is untouched and no temporary file is left. The text is larger than one
// write-behind buffer, so writes fail in the middle of the data too.
TEST_F(ConvertRun, FailuresKeepTheOldDestination) {
    const std::string source = sampledata::Bytes(Spec('P', 20, 400));
    dir_.Write("M.P01", source);
    std::string fresh;
    ConvOutcome outcome = ConvOutcome::Converted;
    int positions = testsupport::ForEachFault(
        [&] {
            dir_.Write("M.TXT", "old");
            Setup({ModeBinToFull, 2});
            bool abortRun = false;
            outcome = File(Path("M.P01"), Path("M.TXT"), false, abortRun);
        },
        [&](int position, FsError) {
            std::string now = dir_.Read("M.TXT");
            if (position == 0) fresh = now;
            EXPECT_EQ(now, outcome == ConvOutcome::Converted ? fresh : "old") << OutcomeText(outcome);
            EXPECT_TRUE(position > 0 || outcome == ConvOutcome::Converted);
            EXPECT_EQ(dir_.Read("M.P01"), source);
            EXPECT_TRUE(testsupport::TempFilesIn(dir_.Path()).empty());
        });
    EXPECT_GT(fresh.size(), 2u * 64 * 1024);
    EXPECT_GE(positions, 6); // create, three writes or more, close, move
}

#ifdef _WIN32
// The 95 family has no replacing move; its road through the same failures runs in an emulated child.
TEST(ConvertFaults, The95FamilyKeepsOldFilesToo) {
    if (!testsupport::EmulatedVersion().empty()) GTEST_SKIP() << "the emulated child runs the fault loops";
    EXPECT_EQ(testsupport::RunTestsEmulated(
                  "win95", "ConvertRun.FailuresKeepTheOldDestination:ConvSettingsFile.SavingReplaces*"),
              0);
}
#endif

// The attachment is not part of the text: writing binary puts back the last one read in this
// program run, or zeros.
TEST_F(ConvertRun, AttachmentComesFromTheLastBinaryRead) {
    sampledata::SampleSpec spec = Spec('K', 20, 1);
    spec.Attachment = true;
    std::string original = sampledata::Bytes(spec);
    std::string text = Convert({ModeBinToFull}, "ATT.K01", original);
    EXPECT_EQ(Convert({ModeFullToBin}, "ATT.K01.TXT", text).substr(1024, 1024), original.substr(1024, 1024));
    ResetConversionState();
    EXPECT_EQ(Convert({ModeFullToBin}, "ATT.K01.TXT", text).substr(1024, 1024), std::string(1024, '\0'));
}

} // namespace
