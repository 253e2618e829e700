#include "convert/convcli.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <istream>
#include <optional>
#include <ostream>

#include "convert/convchart.h"
#include "convert/convert.h"
#include "convert/convlook.h"
#include "convert/convnames.h"
#include "convert/convsettings.h"
#include "lib/paths.h"
#include "lib/recfile.h"
#include "ui/prompter.h"
#include "lib/strnum.h"

namespace {

const char* const Help = R"(usage: vexaconv [options] SOURCE...
Converts the measurement program's binary data files (kinds K, Y, P, T, V, A, Q) to ASCII text and
back. SOURCE is a data file or a folder (its files that match --mask).

  -m, --mode MODE           bin2col   binary to Col ASCII: the data values in columns (default)
                            bin2full  binary to Full ASCII: every header field and value
                            full2bin  Full ASCII back to binary
      --cols one|all|block  Full ASCII data values per line: one, a record, or a record in a block
                            of lines (default one)
      --numbered            numerate the record lines
      --last-line WHAT      after the last record: nothing, crlf or crlf-eof (default crlf)
      --delimiter D         between columns: blank, double-blank, comma, semicolon, tab, tex (" & "),
                            cr, lf, crlf, a decimal character code, or one character (default blank)
      --decimals N          digits behind the point, 1..12, exponent form (default 4)
      --only-selected       Col ASCII: write only the columns of --selected-cols
      --selected-cols LIST  column numbers 1..99, e.g. "1,36" (default "1,2")
      --ext data|txt|input  destination name: the source name, the name + .TXT, or the name + "."
                            + --extension (default txt); full2bin always drops the last extension
      --extension EXT       up to 3 characters for --ext input (default ASC)
  -d, --dest DIR            destination folder (default: beside each source); made when missing
      --mask MASK           files of a SOURCE folder, "*" and "?" wildcards (default *.*)
      --yes | --no          overwrite existing destinations without asking / never; without either,
                            vexaconv asks on a terminal and otherwise leaves them
      --settings FILE       take every option from a VexaAsc.CFA settings file; options given here
                            win; without SOURCE, its source folder and mask are converted
  -h, --help                this text

Looking at files instead of converting them:
      --info FILE...        what each file holds: identification, header fields, record count,
                            whether it is cut; with --json one JSON object per line
      --plot OUT.svg FILE   the file's chart as SVG, decimated to the chart's width
      --plot-cols LIST      columns to draw, e.g. "1,3" (default: K both, Q all six, others the first)
      --plot-block N        kind A: the block to draw (default 1)
      --plot-size WxH       size of the chart in pixels (default 800x500)

Exit status: 0 every source converted whole (--info, --plot: every file could be read), 1 some were
passed over (unknown kind, not a data file, format version below 17, destination kept, ...) or cut
short (the source ends inside a record, so its last record is incomplete), 2 a usage error or a
missing folder.
)";

// The options given on the command line; what is not given comes from the settings or defaults.
struct Options {
    std::optional<int> Mode, ColsPerLine, LastLine, DelimiterCode, Decimals, ExtChoice;
    std::optional<bool> Numbered, OnlySelected;
    std::optional<std::string> SelectedCols, Extension, Dest, Mask;
    std::string SettingsPath;
    int Overwrite = 0; // 1 --yes, -1 --no, 0 ask
    bool Help = false;
    bool Info = false, Json = false;
    std::string PlotPath;
    std::optional<std::string> PlotCols;
    int PlotBlock = 1, PlotWidth = 800, PlotHeight = 500;
    std::vector<std::string> Sources;
};

struct Choice {
    const char* Name;
    int Value;
};
constexpr Choice Modes[] = {{"bin2col", 2}, {"bin2full", 1}, {"full2bin", 0}};
constexpr Choice Cols[] = {{"one", 1}, {"all", 2}, {"block", 3}};
constexpr Choice LastLines[] = {{"nothing", 0}, {"crlf", 1}, {"crlf-eof", 2}};
constexpr Choice Exts[] = {{"data", 0}, {"txt", 1}, {"input", 2}};
constexpr Choice Delimiters[] = {{"blank", 32},     {"double-blank", 31}, {"comma", 44},
                                 {"semicolon", 59}, {"tab", 9},           {"tex", 29},
                                 {"cr", 13},        {"lf", 10},           {"crlf", 30}};

template <size_t N> std::optional<int> Pick(const Choice (&choices)[N], const std::string& word) {
    for (const Choice& c : choices)
        if (word == c.Name) return c.Value;
    return std::nullopt;
}

bool AllDigits(const std::string& s) {
    return !s.empty() && s.size() <= 9 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> DelimiterCodeOf(const std::string& word) {
    if (auto named = Pick(Delimiters, word)) return named;
    if (AllDigits(word)) return std::stoi(word);
    if (word.size() == 1) return static_cast<unsigned char>(word[0]);
    return std::nullopt;
}

// Parses the arguments; false with a message on a usage error.
bool Parse(const std::vector<std::string>& args, Options& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            inlineValue = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
        }
        bool missing = false;
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 < args.size()) return args[++i];
            missing = true;
            return {};
        };
        auto bad = [&](const std::string& v) {
            error = missing ? arg + " needs a value" : "bad value for " + arg + ": \"" + v + "\"";
            return false;
        };
        if (arg == "-h" || arg == "--help") {
            o.Help = true;
        } else if (arg == "-m" || arg == "--mode") {
            std::string v = value();
            if (!(o.Mode = Pick(Modes, v))) return bad(v);
        } else if (arg == "--cols") {
            std::string v = value();
            if (!(o.ColsPerLine = Pick(Cols, v))) return bad(v);
        } else if (arg == "--numbered") {
            o.Numbered = true;
        } else if (arg == "--last-line") {
            std::string v = value();
            if (!(o.LastLine = Pick(LastLines, v))) return bad(v);
        } else if (arg == "--delimiter") {
            std::string v = value();
            o.DelimiterCode = DelimiterCodeOf(v);
            if (!o.DelimiterCode || *o.DelimiterCode > 255) return bad(v);
        } else if (arg == "--decimals") {
            std::string v = value();
            if (!AllDigits(v) || std::stoi(v) < 1 || std::stoi(v) > 12) return bad(v);
            o.Decimals = -std::stoi(v);
        } else if (arg == "--only-selected") {
            o.OnlySelected = true;
        } else if (arg == "--selected-cols") {
            o.SelectedCols = value();
            if (missing || o.SelectedCols->size() > 80) return bad(*o.SelectedCols);
        } else if (arg == "--ext") {
            std::string v = value();
            if (!(o.ExtChoice = Pick(Exts, v))) return bad(v);
        } else if (arg == "--extension") {
            o.Extension = value();
            if (missing || o.Extension->empty() || o.Extension->size() > 3) return bad(*o.Extension);
        } else if (arg == "-d" || arg == "--dest") {
            o.Dest = value();
            if (missing || o.Dest->empty()) return bad(*o.Dest);
        } else if (arg == "--mask") {
            o.Mask = value();
            if (missing || o.Mask->empty()) return bad(*o.Mask);
        } else if (arg == "--yes" || arg == "--no") {
            int choice = arg == "--yes" ? 1 : -1;
            if (o.Overwrite != 0 && o.Overwrite != choice) {
                error = "--yes and --no exclude each other";
                return false;
            }
            o.Overwrite = choice;
        } else if (arg == "--settings") {
            o.SettingsPath = value();
            if (missing || o.SettingsPath.empty()) return bad(o.SettingsPath);
        } else if (arg == "--info") {
            o.Info = true;
        } else if (arg == "--json") {
            o.Json = true;
        } else if (arg == "--plot") {
            o.PlotPath = value();
            if (missing || o.PlotPath.empty()) return bad(o.PlotPath);
        } else if (arg == "--plot-cols") {
            o.PlotCols = value();
            if (missing) return bad("");
        } else if (arg == "--plot-block") {
            std::string v = value();
            if (!AllDigits(v) || std::stoi(v) < 1) return bad(v);
            o.PlotBlock = std::stoi(v);
        } else if (arg == "--plot-size") {
            std::string v = value();
            size_t x = v.find('x');
            if (x == std::string::npos || !AllDigits(v.substr(0, x)) || !AllDigits(v.substr(x + 1)))
                return bad(v);
            o.PlotWidth = std::stoi(v.substr(0, x));
            o.PlotHeight = std::stoi(v.substr(x + 1));
            if (o.PlotWidth < 200 || o.PlotHeight < 150 || o.PlotWidth > 20000 || o.PlotHeight > 20000)
                return bad(v);
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            o.Sources.push_back(arg);
        }
        if (missing) return bad("");
    }
    return true;
}

// A settings file read without a window: its placement line is passed over.
class NoWindow final : public PlacementTarget {
  public:
    void SavePlacement(FormGeometry& geometry) override { geometry = FormGeometry{}; }
    void PlaceFrom(const FormGeometry&) override {}
    bool FixedBorder() const override { return false; }
};

bool ApplyOptions(const Options& o, std::string& error) {
    ResetConvSettings(".");
    if (!o.SettingsPath.empty()) {
        NoWindow none;
        bool failed = false;
        OpenSettingsPath(o.SettingsPath, true, &none, failed);
        if (failed) {
            error = "cannot read the settings file " + o.SettingsPath;
            return false;
        }
        TransferConvSettings();
        CloseSettings(failed);
        NormaliseConvSettings();
    }
    ConvSettingsRecord& s = ConvSettings;
    s.Mode = o.Mode.value_or(s.Mode);
    s.ColsPerLine = o.ColsPerLine.value_or(s.ColsPerLine);
    s.LastLine = o.LastLine.value_or(s.LastLine);
    s.ExtChoice = o.ExtChoice.value_or(s.ExtChoice);
    s.Numbered = o.Numbered.value_or(s.Numbered);
    s.OnlySelected = o.OnlySelected.value_or(s.OnlySelected);
    TextFormatSettings.DelimiterCode = o.DelimiterCode.value_or(TextFormatSettings.DelimiterCode);
    TextFormatSettings.Decimals = o.Decimals.value_or(TextFormatSettings.Decimals);
    if (o.SelectedCols) s.SelectedCols.Set(*o.SelectedCols);
    if (o.Extension) s.Extension.Set(*o.Extension);
    if (o.Mask) s.SourceMask.Set(*o.Mask);
    if (o.Dest) {
        s.DestDir.Set(*o.Dest);
        s.NotAsSource = true;
    } else if (o.SettingsPath.empty()) {
        s.NotAsSource = false;
    }
    return true;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The files to convert, in order: named files as given, a folder's matching files by name.
bool CollectFiles(const std::vector<std::string>& sources, const std::string& mask,
                  std::vector<std::string>& files, std::string& error) {
    namespace fs = std::filesystem;
    for (const std::string& source : sources) {
        std::error_code ec;
        if (fs::is_directory(source, ec)) {
            std::vector<std::string> names;
            for (auto it = fs::directory_iterator(source, ec); !ec && it != fs::directory_iterator();
                 it.increment(ec)) {
                std::string name = it->path().filename().string();
                if (it->is_regular_file(ec) && name[0] != '.' && MaskMatches(mask, name))
                    names.push_back(name);
            }
            std::sort(names.begin(), names.end());
            for (const std::string& name : names) files.push_back(JoinPath(source, name));
        } else if (fs::exists(source, ec)) {
            files.push_back(source);
        } else {
            error = "no such file or folder: " + source;
            return false;
        }
    }
    return true;
}

// Answers the engine's questions: the overwrite question by --yes / --no or on the terminal, the
// destination-folder question with yes unless the terminal user says no; other boxes are shown.
class CliPrompter final : public ui::Prompter {
  public:
    CliPrompter(ConvCliIo& io, int overwrite) : io_(io), overwrite_(overwrite) { ui::SetPrompter(this); }
    ~CliPrompter() override { ui::SetPrompter(nullptr); }
    bool Cancelled = false;
    std::ostream* ClearLine = nullptr;

    int Ask(const std::string& caption, const std::string& text, unsigned flags) override {
        unsigned buttons = flags & ui::ButtonMask;
        if (buttons == ui::BtnYesNoCancelAll) {
            if (overwrite_ != 0) return overwrite_ > 0 ? ui::IdAll : ui::IdNo;
            if (!io_.Interactive) return ui::IdNo;
            char answer = Question(caption + " exists. Overwrite? [y]es, [n]o, [c]ancel, [a]ll: ", 'n');
            Cancelled = answer == 'c';
            return answer == 'y'   ? ui::IdYes
                   : answer == 'a' ? ui::IdAll
                   : answer == 'c' ? ui::IdCancel
                                   : ui::IdNo;
        }
        if (buttons == ui::BtnOkCancel) {
            if (!io_.Interactive || overwrite_ != 0) return ui::IdOk;
            return Question(caption + " " + text + " [y]es, [n]o: ", 'y') == 'y' ? ui::IdOk : ui::IdCancel;
        }
        std::string flat = text;
        std::replace(flat.begin(), flat.end(), '\r', ' ');
        std::replace(flat.begin(), flat.end(), '\n', ' ');
        io_.Err << "vexaconv: " << caption << ": " << flat << "\n";
        return ui::DefaultAnswer(flags);
    }

  private:
    // The first letter of the answer; nobody answering (the end of the input) gives the default.
    char Question(const std::string& prompt, char unanswered) {
        io_.Err << prompt << std::flush;
        std::string line;
        if (!std::getline(io_.In, line)) {
            io_.Err << "\n";
            return unanswered;
        }
        size_t first = line.find_first_not_of(" \t");
        return first == std::string::npos ? 'n' : Lower(line[first]);
    }
    ConvCliIo& io_;
    int overwrite_;
};

// A progress bar on standard error for runs of some size.
struct Progress {
    ConvCliIo* Io = nullptr;
    int64_t Total = 0;
    int64_t Done = 0; // bytes of the files finished
    int Shown = -1;

    static void Tell(void* context, int64_t sourceBytes) {
        auto* p = static_cast<Progress*>(context);
        p->Draw(p->Done + sourceBytes);
    }
    void Draw(int64_t bytes) {
        int percent = Total > 0 ? static_cast<int>(std::min<int64_t>(100, bytes * 100 / Total)) : 100;
        if (percent == Shown) return;
        Shown = percent;
        std::string bar(static_cast<size_t>(percent / 4), '#');
        bar.resize(25, ' ');
        Io->Err << "\r[" << bar << "] " << percent << "% " << std::flush;
    }
    void Clear() {
        if (Shown >= 0) Io->Err << "\r" << std::string(34, ' ') << "\r" << std::flush;
        Shown = -1;
    }
};

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a.empty() ? "." : a, b.empty() ? "." : b, ec);
}

// The column list of --plot-cols: numbers separated by blanks, commas, "/" or ";".
std::vector<int> ColumnList(const std::string& text) {
    std::vector<int> columns;
    TextBuf<255> list;
    list.Set(text);
    for (int c; (c = TokenToInt(list.c, list.Cap)) > 0;) columns.push_back(c);
    return columns;
}

void PrintInfo(const DataLook& look, bool json, std::ostream& out) {
    const std::vector<LookField> summary = LookSummary(look);
    if (!json) {
        out << look.Path << "\n";
        for (const std::vector<LookField>* list : {&summary, &look.Header})
            for (const LookField& f : *list) out << "  " << f.Name << ": " << f.Value << "\n";
        return;
    }
    auto value = [](const LookField& f) {
        if (f.Number) return f.Value;
        std::string quoted(1, '"');
        quoted.append(JsonText(f.Value)).push_back('"');
        return quoted;
    };
    out << "{\"path\": \"" << JsonText(look.Path) << "\"";
    for (const LookField& f : summary) {
        std::string key = f.Name;
        std::transform(key.begin(), key.end(), key.begin(), [](char c) { return c == ' ' ? '_' : Lower(c); });
        out << ", \"" << key << "\": " << (f.Value == "yes" ? "true" : f.Value == "no" ? "false" : value(f));
    }
    out << ", \"header\": {";
    for (size_t i = 0; i < look.Header.size(); ++i)
        out << (i ? ", " : "") << "\"" << look.Header[i].Name << "\": " << value(look.Header[i]);
    out << "}}\n";
}

// --info and --plot: a look at files, nothing converted.
int LookMain(const Options& o, ConvCliIo& io) {
    if (o.Sources.empty() || (!o.PlotPath.empty() && (o.Sources.size() != 1 || o.Info))) {
        io.Err << "vexaconv: --info takes one or more files, --plot exactly one\n"
                  "(vexaconv --help explains the options)\n";
        return CliUsageError;
    }
    bool allRead = true;
    for (const std::string& path : o.Sources) {
        LookFile file;
        if (!file.Open(path)) allRead = false;
        if (o.Info) {
            PrintInfo(file.Look(), o.Json, io.Out);
            continue;
        }
        if (!file.Look().Readable()) {
            io.Err << "vexaconv: " << path << ": " << file.Look().Problem << "\n";
            return CliSomePassedOver;
        }
        std::vector<int> columns = o.PlotCols ? ColumnList(*o.PlotCols) : DefaultColumns(file.Look());
        ChartData chart = file.Chart(columns, o.PlotBlock, FrameFor(o.PlotWidth, o.PlotHeight).Width());
        if (chart.Series.empty()) {
            io.Err << "vexaconv: no column of " << path << " in \"" << o.PlotCols.value_or("") << "\" (1.."
                   << file.Look().Columns() << ")\n";
            return CliUsageError;
        }
        // The chart is drawn into memory and replaces an earlier picture whole or not at all.
        std::ostringstream svg;
        WriteChartSvg(svg, file.Look(), chart, o.PlotWidth, o.PlotHeight);
        std::string text = std::move(svg).str();
        RecordFile out;
        bool failed = false;
        CreateWrite(out, o.PlotPath, failed);
        WriteBytes(out, text.data(), static_cast<int>(text.size()));
        if (!failed) Close(out, failed);
        if (failed) {
            io.Err << "vexaconv: cannot write " << o.PlotPath << "\n";
            return CliUsageError;
        }
        io.Out << "plotted " << path << " -> " << o.PlotPath << (file.Look().Cut ? "  (the file is cut)" : "")
               << "\n";
    }
    return allRead ? CliAllConverted : CliSomePassedOver;
}

} // namespace

bool MaskMatches(const std::string& mask, const std::string& name) {
    return WildMatch(mask, name);
}

int VexaconvMain(const std::vector<std::string>& args, ConvCliIo& io) {
    Options options;
    std::string error;
    if (!Parse(args, options, error)) {
        io.Err << "vexaconv: " << error << "\n(vexaconv --help explains the options)\n";
        return CliUsageError;
    }
    if (options.Help) {
        io.Out << Help;
        return CliAllConverted;
    }
    if (options.Info || !options.PlotPath.empty()) return LookMain(options, io);
    if (!ApplyOptions(options, error)) {
        io.Err << "vexaconv: " << error << "\n";
        return CliUsageError;
    }
    const ConvSettingsRecord& s = ConvSettings;
    std::vector<std::string> sources = options.Sources;
    if (sources.empty() && !options.SettingsPath.empty()) sources.push_back(s.SourceDir.Str());
    if (sources.empty()) {
        io.Err << "vexaconv: no SOURCE given\n(vexaconv --help explains the options)\n";
        return CliUsageError;
    }
    std::vector<std::string> files;
    if (!CollectFiles(sources, s.SourceMask.Str(), files, error)) {
        io.Err << "vexaconv: " << error << "\n";
        return CliUsageError;
    }

    // Destination of each file; a binary source must never become its own destination. Names that
    // open the source in its own folder stop the run here; any other spelling of a source (a link) is
    // passed over by the engine, which compares the files themselves.
    std::vector<std::string> dests;
    bool keepsName = KeepsSourceName(s.Mode, s.ExtChoice, s.Extension.View());
    for (const std::string& file : files) {
        std::string folder = s.NotAsSource ? s.DestDir.Str() : FolderOf(file);
        std::string name = DestinationName(s.Mode, s.ExtChoice, s.Extension.View(), NameOf(file));
        if (keepsName && SameFolder(folder, FolderOf(file))) {
            io.Err << "vexaconv: source and destination are the same file (" << file
                   << "): the binary files would be overwritten; choose --dest, --ext or --extension\n";
            return CliUsageError;
        }
        dests.push_back(JoinPath(folder, name));
    }

    ConvSetup(s.Mode, s.ColsPerLine, s.LastLine, s.Numbered, s.OnlySelected, s.SelectedCols.View());
    CliPrompter prompter(io, options.Overwrite);
    Progress progress;
    progress.Io = &io;
    std::vector<int64_t> sizes;
    for (const std::string& file : files) {
        std::error_code ec;
        auto size = std::filesystem::file_size(file, ec);
        sizes.push_back(ec ? 0 : static_cast<int64_t>(size));
        progress.Total += sizes.back();
    }
    bool drawProgress = io.ShowProgress && progress.Total >= (8 << 20);
    ConversionState.Progress = drawProgress ? &Progress::Tell : nullptr;
    ConversionState.ProgressContext = &progress;

    int converted = 0;
    int cutShort = 0; // converted, but the source ends inside a record or block
    int passedOver = 0;
    bool folderError = false;
    for (size_t i = 0; i < files.size(); ++i) {
        bool abortRun = false;
        bool done = false;
        ConvOutcome outcome = ConvertFile(files[i], dests[i], true, abortRun, done);
        progress.Done += sizes[i];
        progress.Clear();
        if (done) {
            ++converted;
            cutShort += ConversionState.SourceCut ? 1 : 0;
            io.Out << "converted " << files[i] << " -> " << dests[i]
                   << (ConversionState.SourceCut ? "  (cut short: the source ends inside a record)" : "")
                   << "\n";
        } else if (!abortRun) {
            ++passedOver;
            io.Out << "passed over " << files[i] << ": " << OutcomeText(outcome) << "\n";
        }
        if (abortRun) {
            folderError = !prompter.Cancelled;
            passedOver += static_cast<int>(files.size() - i);
            io.Out << "stopped at " << files[i]
                   << (folderError ? ": folder missing or not made" : ": cancelled") << "\n";
            break;
        }
    }
    ConversionState.Progress = nullptr;
    io.Out << converted << " converted";
    if (cutShort > 0) io.Out << " (" << cutShort << " cut short)";
    io.Out << ", " << passedOver << " passed over\n";
    if (folderError) return CliUsageError;
    return passedOver > 0 || cutShort > 0 ? CliSomePassedOver : CliAllConverted;
}
