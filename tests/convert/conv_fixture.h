// Shared by the conversion tests: a scratch folder, the program-start state, and one conversion of
// given bytes with given options.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

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

class ConvFixture : public ::testing::Test {
  protected:
    ConvFixture() : dir_("convert") {
        ResetTextFormatSettings();
        ResetFieldLine();
        ResetConversionState();
    }
    ~ConvFixture() override { ResetConversionState(); }

    std::string Path(std::string_view name) const { return dir_ / name; }

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

    testsupport::TempDir dir_;
};

inline sampledata::SampleSpec Spec(char kind, int version, int64_t records, bool zeroHeader = false) {
    sampledata::SampleSpec spec;
    spec.Kind = kind;
    spec.Version = version;
    spec.Records = records;
    spec.ZeroHeader = zeroHeader;
    return spec;
}

} // namespace convtest
