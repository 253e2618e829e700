// Converting a list of files for a script.
#include "convert/convbatch.h"

#include "lib/strnum.h"
#include "ui/prompter.h"

namespace {

// Answers the engine's questions from the options and keeps what any other box would have said.
class BatchPrompter final : public ui::Prompter {
  public:
    explicit BatchPrompter(bool overwrite) : overwrite_(overwrite) { ui::SetPrompter(this); }
    ~BatchPrompter() override { ui::SetPrompter(nullptr); }
    std::string Said;

    int Ask(const std::string& caption, const std::string& text, unsigned flags) override {
        unsigned buttons = flags & ui::ButtonMask;
        if (buttons == ui::BtnYesNoCancelAll) return overwrite_ ? ui::IdAll : ui::IdNo;
        if (buttons == ui::BtnOkCancel) return ui::IdOk; // make the missing destination folder
        std::string line = caption + ": " + text;
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
        Said += Said.empty() ? line : "; " + line;
        return ui::DefaultAnswer(flags);
    }

  private:
    bool overwrite_;
};

} // namespace

void ConvertBatch(const BatchOptions& options, std::vector<BatchFile>& files) {
    // Each call is a run of its own, as a fresh vexaconv is: no attachment of an earlier run carries over.
    ResetConversionState();
    TextFormatRecord savedFormat = TextFormatSettings;
    TextFormatSettings.DelimiterCode = options.DelimiterCode;
    TextFormatSettings.Decimals = options.Decimals;
    ConvSetup(options.Mode, options.ColsPerLine, options.LastLine, options.Numbered, options.OnlySelected,
              options.SelectedCols);
    ConversionState.Progress = nullptr;
    BatchPrompter prompter(options.Overwrite);
    for (BatchFile& file : files) {
        bool abortRun = false;
        bool converted = false;
        prompter.Said.clear();
        file.Outcome = ConvertFile(file.Source, file.Destination, true, abortRun, converted);
        file.Converted = converted;
        file.Cut = converted && ConversionState.SourceCut;
        file.Message = prompter.Said;
        if (abortRun) break;
    }
    TextFormatSettings = savedFormat;
}
