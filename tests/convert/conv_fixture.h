// Shared by the conversion tests: a scratch folder with sample files, the program-start state, one
// conversion of given bytes with given options, and a vexaconv command run in-process.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "convert/convcli.h"
#include "convert/convert.h"
#include "datagen/sample_data.h"
#include "lib/recfile.h"
#include "lib/strnum.h"
#include "support/temp_dir.h"

namespace convtest {

// The options of one run (Cols: 1 one, 2 all, 3 block).
struct Options {
    int Mode = ModeBinToCol;
    int Cols = 1;
    bool Numbered = false;
    int LastLine = LastNothing;
    bool OnlySelected = false;
    std::string Selected = {};
    int Delimiter = 32;
    int Decimals = -4;
};

inline sampledata::SampleSpec Spec(char kind, int version, int64_t records, bool zeroHeader = false) {
    sampledata::SampleSpec spec;
    spec.Kind = kind;
    spec.Version = version;
    spec.Records = records;
    spec.ZeroHeader = zeroHeader;
    return spec;
}

class ConvFixture : public ::testing::Test {
  protected:
    ConvFixture() : dir_("convert") {
        ResetTextFormatSettings();
        ResetFieldLine();
        ResetConversionState();
    }
    ~ConvFixture() override { ResetConversionState(); }

    std::string Path(std::string_view name) const { return dir_ / name; }

    // Writes a sample data file (folders made as needed); its path.
    std::string Sample(const std::string& name, const sampledata::SampleSpec& spec = Spec('K', 20, 3)) {
        std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
        dir_.Write(name, sampledata::Bytes(spec));
        return Path(name);
    }

    void Setup(const Options& run) {
        TextFormatSettings.DelimiterCode = run.Delimiter;
        TextFormatSettings.Decimals = run.Decimals;
        ConvSetup(run.Mode, run.Cols, run.LastLine, run.Numbered, run.OnlySelected, run.Selected);
    }

    // One file of the prepared run.
    ConvOutcome File(const std::string& source, const std::string& dest, bool ask, bool& abortRun) {
        bool converted = false;
        ConvOutcome outcome = ConvertFile(source, dest, ask, abortRun, converted);
        EXPECT_EQ(converted, outcome == ConvOutcome::Converted);
        return outcome;
    }

    // Writes bytes as the file name, converts it to name + ".OUT" without asking and returns what the
    // destination holds ("<missing>" when there is none).
    std::string Convert(const Options& run, std::string_view name, std::string_view bytes,
                        ConvOutcome* outcome = nullptr) {
        dir_.Write(name, bytes);
        std::string dest = std::string(name) + ".OUT";
        Setup(run);
        bool abortRun = false;
        ConvOutcome result = File(Path(name), Path(dest), false, abortRun);
        if (outcome) *outcome = result;
        return dir_.Read(dest);
    }

    // Runs vexaconv in-process on a command line of blank-separated words; "@name" is that path in the
    // scratch folder, "@" the folder itself.
    int Run(const std::string& line, const std::string& answers = "", bool interactive = false) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;) args.push_back(word);
        return RunArgs(args, answers, interactive);
    }
    // The same with the words given one by one, so that a word may be or hold a blank.
    int RunArgs(std::vector<std::string> args, const std::string& answers = "", bool interactive = false) {
        for (std::string& word : args)
            if (!word.empty() && word[0] == '@') word = word == "@" ? dir_.Path() : Path(word.substr(1));
        std::istringstream in(answers);
        out_.str("");
        err_.str("");
        ConvCliIo io{in, out_, err_, interactive, false};
        return VexaconvMain(args, io);
    }
    bool Said(const std::string& text) const {
        return (out_.str() + err_.str()).find(text) != std::string::npos;
    }

    testsupport::TempDir dir_;
    std::ostringstream out_, err_;
};

} // namespace convtest
