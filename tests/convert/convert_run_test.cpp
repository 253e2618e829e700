// A conversion run as the window drives it: which files are converted or passed over, the folder
// checks of the first file, the overwrite question, and the identification rules.
#include "convert/conv_fixture.h"
#include "convert/convnames.h"
#include "lib/fs.h"
#include "support/scripted_prompter.h"

namespace {

using convtest::Options;
using convtest::Spec;
using testsupport::ScriptedPrompter;

class ConvertRun : public convtest::ConvFixture {
  protected:
    ConvOutcome File(const std::string& source, const std::string& dest, bool ask, bool& abortRun) {
        bool converted = false;
        ConvOutcome outcome = ConvertFile(source, dest, ask, abortRun, converted);
        EXPECT_EQ(converted, outcome == ConvOutcome::Converted);
        return outcome;
    }
    std::string Sample(char kind = 'K') { return sampledata::Bytes(Spec(kind, 20, 2)); }
};

TEST_F(ConvertRun, KindLetterComesFromTheExtension) {
    struct Case {
        const char* Name;
        char Kind;
    };
    const Case cases[] = {{"MEAS.K01", 'K'}, {"meas.y17", 'Y'},    {"MEAS.K01.TXT", 'K'}, {"A.B.P02", 'P'},
                          {"MEAS.TXT", 'T'}, {"MEAS.V1.TXT", 'T'}, {"MEAS.Q0000.X", 'X'}, {"MEAS", 0},
                          {"MEAS.", 0},      {"..K01", 'K'},       {"DIR.K01/MEAS", 0},   {"x.a12.asc", 'A'}};
    for (const Case& c : cases) EXPECT_EQ(KindLetter(c.Name), c.Kind) << c.Name;
}

TEST_F(ConvertRun, DestinationNamesFollowModeAndChoice) {
    EXPECT_EQ(DestinationName(ModeFullToBin, ExtTxt, "ASC", "MEAS.K01.TXT"), "MEAS.K01");
    EXPECT_EQ(DestinationName(ModeFullToBin, ExtKeep, "ASC", "MEAS.K01"), "MEAS");
    EXPECT_EQ(DestinationName(ModeBinToFull, ExtKeep, "ASC", "MEAS.K01"), "MEAS.K01");
    EXPECT_EQ(DestinationName(ModeBinToCol, ExtTxt, "ASC", "MEAS.K01"), "MEAS.K01.TXT");
    EXPECT_EQ(DestinationName(ModeBinToCol, ExtInput, "ASC", "MEAS.K01"), "MEAS.K01.ASC");
}

TEST_F(ConvertRun, FoldersOfPaths) {
    EXPECT_EQ(FolderOf(JoinPath(JoinPath("data", "sub"), "MEAS.K01")), JoinPath("data", "sub"));
    EXPECT_EQ(FolderOf("MEAS.K01"), "");
    EXPECT_EQ(NameOf(JoinPath("data", "MEAS.K01")), "MEAS.K01");
    EXPECT_EQ(ParentFolder(JoinPath(JoinPath("x", "KORVO"), "BIN")), JoinPath("x", "KORVO"));
    EXPECT_EQ(JoinPath(std::string("data") + PathSep, "M"), JoinPath("data", "M"));
#ifdef _WIN32
    EXPECT_EQ(FolderOf("C:\\MEAS.K01"), "C:\\");
    EXPECT_EQ(FolderOf("C:/DATA/MEAS.K01"), "C:/DATA");
    EXPECT_EQ(ParentFolder("C:\\"), "");
#else
    EXPECT_EQ(FolderOf("/MEAS.K01"), "/");
    EXPECT_EQ(FolderOf("C:\\DATA\\MEAS.K01"), "");
#endif
}

TEST_F(ConvertRun, VersionNumberings) {
    struct Case {
        const char* Digits; // identification characters 2 and 8..10
        int Version;
    };
    const Case cases[] = {{"0200", 20}, {"0171", 17}, {"3990", 99}, {"0 7x", 7},  {"1120", 9},
                          {"1130", 10}, {"1200", 11}, {"1300", 12}, {"2330", 15}, {"1340", 16},
                          {"1342", 16}, {"1343", 17}, {"1344", 17}, {"1345", 18}, {"1347", 18},
                          {"1348", 19}, {"1349", 19}, {"1350", 8},  {"1990", 8},  {"1 17", 8}};
    for (const Case& c : cases) {
        std::string ident = sampledata::Ident(Spec('K', 20, 0));
        ident[2] = c.Digits[0];
        ident.replace(8, 3, c.Digits + 1);
        EXPECT_EQ(IdentVersion(ident), c.Version) << ident;
    }
}

TEST_F(ConvertRun, IdentificationAcceptance) {
    std::string binary = sampledata::Ident(Spec('K', 20, 0));
    std::string text = binary;
    text[11] = '5';
    EXPECT_TRUE(IdentAccepted(binary, true));
    EXPECT_TRUE(IdentAccepted(text, false));
    EXPECT_FALSE(IdentAccepted(text, true));
    EXPECT_FALSE(IdentAccepted(binary, false));
    std::string nul = binary;
    nul[30] = '\0';
    std::string sx = binary;
    sx[1] = 'X';
    std::string six = binary;
    six[11] = '6';
    for (const std::string& bad : {nul, sx, binary.substr(0, 39), binary + "X"})
        EXPECT_FALSE(IdentAccepted(bad, true)) << bad;
    EXPECT_FALSE(IdentAccepted(six, false));
    EXPECT_TRUE(IdentHasAttachment(binary.substr(0, 26) + "010" + binary.substr(29)));
    EXPECT_FALSE(IdentHasAttachment(binary));
    EXPECT_FALSE(IdentHasAttachment(binary.substr(0, 26) + "   " + binary.substr(29)));
}

// Sources that are not converted are passed over without a box, and an existing destination of the
// same name is left exactly as it was.
TEST_F(ConvertRun, RejectedSourcesLeaveTheDestinationAlone) {
    std::string good = Sample();
    std::string nonData = good;
    nonData[1] = 'X';
    std::string old = sampledata::Bytes(Spec('K', 16, 2));
    struct Case {
        const char* Name;
        std::string Bytes;
        int Mode;
        ConvOutcome Outcome;
    };
    const Case cases[] = {
        {"MEAS.X01", good, ModeBinToFull, ConvOutcome::UnknownKind},
        {"MEAS.K01", nonData, ModeBinToFull, ConvOutcome::NotAccepted},
        {"MEAS.K01", good.substr(0, 30), ModeBinToCol, ConvOutcome::NotAccepted},
        {"MEAS.K01", old, ModeBinToFull, ConvOutcome::OldVersion},
        {"MEAS.A01", sampledata::Bytes(Spec('A', 16, 1)), ModeBinToCol, ConvOutcome::OldVersion},
        {"MEAS.K01", good, ModeFullToBin, ConvOutcome::NotAccepted}, // a binary file is no Full ASCII file
        {"MEAS.K01", "", ModeFullToBin, ConvOutcome::NotAccepted},
    };
    ScriptedPrompter prompter; // no box expected
    for (const Case& c : cases) {
        dir_.Write(c.Name, c.Bytes);
        dir_.Write("OUT.TXT", "keep me");
        Setup({c.Mode});
        bool abortRun = true;
        EXPECT_EQ(File(Path(c.Name), Path("OUT.TXT"), true, abortRun), c.Outcome) << c.Name;
        EXPECT_FALSE(abortRun);
        EXPECT_EQ(dir_.Read("OUT.TXT"), "keep me");
    }
    EXPECT_TRUE(prompter.Boxes.empty());
    Setup({ModeBinToFull});
    bool abortRun = false;
    EXPECT_EQ(File(Path("MISSING.K01"), Path("OUT.TXT"), true, abortRun), ConvOutcome::Unreadable);
    dir_.Write("SAME.K01", good);
    EXPECT_EQ(File(Path("SAME.K01"), Path("SAME.K01"), true, abortRun), ConvOutcome::SameFile);
    EXPECT_EQ(dir_.Read("SAME.K01"), good);
}

// Yes overwrites, No keeps, All overwrites this and every later destination without asking.
TEST_F(ConvertRun, OverwriteQuestionAndAll) {
    ScriptedPrompter prompter;
    prompter.Answer(ui::IdYes).Answer(ui::IdNo).Answer(ui::IdAll);
    Setup({ModeBinToCol});
    const char* names[] = {"A.K01", "B.K01", "C.K01", "D.K01", "E.K01"};
    const ConvOutcome expected[] = {ConvOutcome::Converted, ConvOutcome::Declined, ConvOutcome::Converted,
                                    ConvOutcome::Converted, ConvOutcome::Converted};
    for (int i = 0; i < 5; ++i) {
        dir_.Write(names[i], Sample());
        dir_.Write(std::string(names[i]) + ".TXT", "old");
        bool abortRun = false;
        EXPECT_EQ(File(Path(names[i]), Path(std::string(names[i]) + ".TXT"), true, abortRun), expected[i])
            << names[i];
        EXPECT_EQ(dir_.Read(std::string(names[i]) + ".TXT") == "old", i == 1) << names[i];
    }
    ASSERT_EQ(prompter.Boxes.size(), 3u);
    EXPECT_EQ(prompter.Boxes[0].Text, "File already exist!\r\nOverride file(s)?");
    EXPECT_EQ(prompter.Boxes[0].Caption, Path("A.K01.TXT"));
    EXPECT_EQ(prompter.Boxes[0].Buttons(), ui::BtnYesNoCancelAll);
    EXPECT_EQ(prompter.Boxes[0].Icon(), ui::IconWarning);

    // A new run asks again; Cancel stops it and keeps the file.
    prompter.Answer(ui::IdCancel);
    Setup({ModeBinToCol});
    bool abortRun = false;
    EXPECT_EQ(File(Path("E.K01"), Path("E.K01.TXT"), true, abortRun), ConvOutcome::RunAborted);
    EXPECT_TRUE(abortRun);
    EXPECT_EQ(prompter.Boxes.size(), 4u);
    // Without asking, an existing destination is simply replaced.
    EXPECT_EQ(File(Path("B.K01"), Path("B.K01.TXT"), false, abortRun), ConvOutcome::Converted);
    EXPECT_NE(dir_.Read("B.K01.TXT"), "old");
}

// The first file's folders: a missing source folder stops the run; a missing destination folder is
// made when the user agrees. Later files of the run are not checked again.
TEST_F(ConvertRun, FolderChecksOfTheFirstFile) {
    dir_.Write("M.K01", Sample());
    std::string deep = JoinPath(JoinPath(Path("new"), "deeper"), "M.K01.TXT");
    {
        ScriptedPrompter prompter;
        prompter.Answer(ui::IdOk);
        Setup({ModeBinToCol});
        bool abortRun = false;
        EXPECT_EQ(File(JoinPath(Path("nowhere"), "M.K01"), Path("M.TXT"), true, abortRun),
                  ConvOutcome::RunAborted);
        EXPECT_TRUE(abortRun);
        ASSERT_EQ(prompter.Boxes.size(), 1u);
        EXPECT_EQ(prompter.Boxes[0].Caption, "Directory not exist");
        EXPECT_EQ(prompter.Boxes[0].Text, Path("nowhere"));
    }
    {
        ScriptedPrompter prompter;
        prompter.Answer(ui::IdCancel);
        Setup({ModeBinToCol});
        bool abortRun = false;
        EXPECT_EQ(File(Path("M.K01"), deep, true, abortRun), ConvOutcome::RunAborted);
        EXPECT_TRUE(abortRun);
        EXPECT_FALSE(DirExists(Path("new")));
        EXPECT_EQ(prompter.Boxes[0].Caption, "Path not exist. Create new directory?");
    }
    {
        ScriptedPrompter prompter;
        prompter.Answer(ui::IdOk);
        Setup({ModeBinToCol});
        bool abortRun = false;
        EXPECT_EQ(File(Path("M.K01"), deep, true, abortRun), ConvOutcome::Converted);
        EXPECT_TRUE(FileExists(deep));
        // The second file of the run is not checked: its missing folder makes it unconvertible, quietly.
        EXPECT_EQ(File(Path("M.K01"), JoinPath(Path("other"), "M.TXT"), true, abortRun),
                  ConvOutcome::Uncreatable);
        EXPECT_FALSE(abortRun);
        EXPECT_EQ(prompter.Boxes.size(), 1u);
    }
}

// The attachment is not part of the text: writing binary puts back the last one read in this
// program run, or zeros.
TEST_F(ConvertRun, AttachmentComesFromTheLastBinaryRead) {
    sampledata::SampleSpec spec = Spec('K', 20, 1);
    spec.Attachment = true;
    std::string original = sampledata::Bytes(spec);
    std::string text = Convert({ModeBinToFull}, "ATT.K01", original);
    std::string withAttachment = Convert({ModeFullToBin}, "ATT.K01.TXT", text);
    EXPECT_EQ(withAttachment.substr(1024, 1024), original.substr(1024, 1024));
    ResetConversionState();
    std::string fresh = Convert({ModeFullToBin}, "ATT.K01.TXT", text);
    EXPECT_EQ(fresh.substr(1024, 1024), std::string(1024, '\0'));
}

#ifndef _WIN32
// A destination that cannot take the data (a full disk) is not reported as converted.
TEST_F(ConvertRun, FullDiskIsNoSuccess) {
    dir_.Write("BIG.P01", sampledata::Bytes(Spec('P', 20, 2000)));
    Setup({ModeBinToFull});
    bool abortRun = false;
    EXPECT_EQ(File(Path("BIG.P01"), "/dev/full", false, abortRun), ConvOutcome::WriteFailed);
}
#endif

} // namespace
