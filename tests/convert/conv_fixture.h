// Shared by the conversion tests: a scratch folder, the program-start state, and one conversion of
// given bytes with given options.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "convert/convert.h"
#include "lib/recfile.h"
#include "lib/strnum.h"
#include "datagen/sample_data.h"
#include "support/temp_dir.h"

namespace convtest {

// The options of one run.
struct Options {
    Options(int mode = ModeBinToCol, int cols = 1, bool numbered = false, int lastLine = LastNothing,
            bool onlySelected = false, std::string selected = "", int delimiter = 32, int decimals = -4)
        : Mode(mode), Cols(cols), Numbered(numbered), LastLine(lastLine), OnlySelected(onlySelected),
          Selected(std::move(selected)), Delimiter(delimiter), Decimals(decimals) {}
    int Mode;
    int Cols; // 1 one, 2 all, 3 block
    bool Numbered;
    int LastLine;
    bool OnlySelected;
    std::string Selected;
    int Delimiter;
    int Decimals;
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

    // Writes bytes as the file name, converts it to name + ".OUT" without asking and returns what the
    // destination holds ("<missing>" when there is none).
    std::string Convert(const Options& run, std::string_view name, std::string_view bytes,
                        ConvOutcome* outcome = nullptr) {
        dir_.Write(name, bytes);
        std::string dest = std::string(name) + ".OUT";
        Setup(run);
        bool abortRun = false;
        bool converted = false;
        ConvOutcome result = ConvertFile(Path(name), Path(dest), false, abortRun, converted);
        EXPECT_EQ(converted, result == ConvOutcome::Converted);
        if (outcome) *outcome = result;
        return dir_.Read(dest);
    }

    testsupport::TempDir dir_;
};

inline sampledata::SampleSpec Spec(char kind, int version, int64_t records) {
    sampledata::SampleSpec spec;
    spec.Kind = kind;
    spec.Version = version;
    spec.Records = records;
    return spec;
}

} // namespace convtest
