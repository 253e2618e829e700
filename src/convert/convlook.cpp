// Reading a data file for a look: identification, header fields, record count and chart values.
#include "convert/convlook.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

#include "convert/convert.h"
#include "convert/convlayout.h"
#include "convert/convnames.h"
#include "lib/fs.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

namespace {

using convlayout::Field;
using convlayout::FieldType;
using convlayout::Role;

int64_t SizeOf(const std::string& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<int64_t>(size);
}

// A header real in its shortest exact form ("0.5", "1.2345e-05").
std::string NumberText(double real) {
    char text[32];
    auto r = std::to_chars(text, text + sizeof text, static_cast<float>(real));
    return std::string(text, r.ptr);
}

// Header fields are named by their type and their number among the fields of that type, in file
// order ("Text 1", "Real 12"); the three of kind Y's x axis by their own names.
void ReadHeader(RecordFile& src, int version, DataLook& look) {
    int counts[4] = {};
    static const char* const typeNames[] = {"Int", "Word", "Real", "Text"};
    static const char* const roleNames[] = {"", "XOffset", "XStart", "XStep"};
    for (const Field& f : convlayout::MainHeader(version)) {
        for (int i = 0; i < f.Count; ++i) {
            LookField field;
            int number = 0;
            double real = 0;
            char text[64] = {};
            switch (f.Type) {
            case FieldType::Int:
                ReadInt(src, number);
                break;
            case FieldType::Word:
                ReadWord(src, number);
                break;
            case FieldType::Real:
                ReadReal(src, real);
                break;
            case FieldType::Text:
                ReadFixedText(src, text, f.Size);
                break;
            }
            if (Failed(src)) {
                look.Cut = true;
                return;
            }
            int type = static_cast<int>(f.Type);
            field.Name = std::string(typeNames[type]) + " " + std::to_string(++counts[type]);
            if (f.Type == FieldType::Text) {
                field.Value = BufView(text, f.Size);
            } else if (f.Type == FieldType::Real) {
                field.Value = NumberText(real);
                field.Number = std::isfinite(real);
            } else {
                field.Value = std::to_string(number);
                field.Number = true;
            }
            if (f.Tag == Role::XOffset) look.XOffset = number;
            if (f.Tag == Role::XStart) look.XStart = number;
            if (f.Tag == Role::XStep) look.XStep = real;
            if (f.Tag != Role::None) field.Name = roleNames[static_cast<int>(f.Tag)];
            look.Header.push_back(std::move(field));
        }
    }
}

// Record shape of a kind: reals, ints, records per block (kind A) and the block header's bytes.
void ShapeOf(DataLook& look, int& blockHeader) {
    blockHeader = 0;
    switch (look.Kind) {
    case 'K':
        look.Reals = 2;
        break;
    case 'Q':
        look.Reals = 6;
        break;
    case 'Y':
        look.Reals = 1;
        break;
    case 'A':
        look.Reals = look.Version >= 20 ? 20 : 7;
        look.Ints = 2;
        look.PerBlock = look.Version >= 20 ? 30 : 20;
        blockHeader = convlayout::BinarySize(convlayout::BlockHeaderA(look.Version));
        break;
    default: // P, T, V
        look.Reals = 35;
        look.Ints = 2;
        break;
    }
}

int RecordBytes(const DataLook& look) {
    return 4 * look.Reals + 2 * look.Ints;
}

// A scratch name for the binary form of a Full ASCII source.
std::string ScratchName() {
    static unsigned counter = std::random_device{}() % 100000;
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = ".";
    for (;;) {
        std::string name = (dir / ("vexalook-" + std::to_string(counter++) + ".bin")).string();
        if (!FileExists(name)) return name;
    }
}

// Takes a Full ASCII source back to binary with the engine's own reader, leaving the run state of the
// program as it was (a look is no conversion run).
ConvOutcome TextToBinary(const std::string& source, const std::string& dest, bool& cut) {
    ConversionStateRecord saved = ConversionState;
    ConvSetup(ModeFullToBin, 1, LastNothing, false, false, "");
    ConversionState.CheckFolders = false;
    ConversionState.Progress = nullptr;
    bool abortRun = false, converted = false;
    ConvOutcome outcome = ConvertFile(source, dest, false, abortRun, converted);
    cut = ConversionState.SourceCut;
    ConversionState = saved;
    return outcome;
}

} // namespace

LookFile::~LookFile() {
    if (!scratch_.empty()) DeleteOneFile(scratch_);
}

bool LookFile::Open(std::string_view path) {
    look_ = DataLook();
    DataLook& look = look_;
    look.Path = std::string(path);
    look.Kind = KindLetter(path);
    if (!IsDataKind(look.Kind)) {
        look.Problem = "unknown kind (the name's extension does not start with K, Y, P, T, V, A or Q)";
        return false;
    }
    RecordFile src;
    bool failed = false;
    OpenRead(src, path, failed);
    if (failed) {
        look.Problem = "cannot be opened";
        return false;
    }
    char ident[IdentLength + 1] = {};
    ReadBytes(src, ident, IdentLength); // a short read keeps the bytes that came
    bool whole = !Failed(src);
    look.Ident.assign(ident, whole ? IdentLength : std::strlen(ident));
    bool dataFile = look.Ident.size() >= 2 && look.Ident[0] == 'S' && look.Ident[1] == 'W';
    if (!whole && dataFile) {
        look.Cut = true;
        look.Problem = "the file ends inside its identification";
        return false;
    }
    look.FullAscii = IdentAccepted(look.Ident, false);
    if (!IdentAccepted(look.Ident, true) && !look.FullAscii) {
        look.Problem = "not a data file (no data file identification)";
        return false;
    }
    look.Version = IdentVersion(look.Ident);
    look.Attachment = IdentHasAttachment(look.Ident);
    binary_ = look.Path;
    if (look.FullAscii) {
        Close(src, failed);
        look.Variant = look.Ident[11] - '0';
        scratch_ = ScratchName();
        bool cut = false;
        ConvOutcome outcome = TextToBinary(look.Path, scratch_, cut);
        if (outcome != ConvOutcome::Converted) {
            look.Cut = outcome == ConvOutcome::HeaderCut;
            look.Problem = OutcomeText(outcome);
            scratch_.clear();
            return false;
        }
        look.Cut = cut;
        binary_ = scratch_;
        OpenRead(src, binary_, failed);
        SkipBytes(src, IdentLength);
    }

    int blockHeader = 0;
    ShapeOf(look, blockHeader);
    ReadHeader(src, look.Version, look);
    dataOffset_ = IdentLength + convlayout::MainHeaderSize;
    if (look.Kind == 'T' && look.Ident[13] == '8') dataOffset_ = IdentLength + convlayout::LongHeaderT;
    if (look.Version >= 20) dataOffset_ += convlayout::ExtendedSize;
    if (look.Attachment) dataOffset_ += AttachmentBytes;
    Close(src, failed);

    int64_t data = SizeOf(binary_) - dataOffset_;
    if (data < 0) {
        look.Cut = true;
        return true;
    }
    if (look.Version < 17) {
        look.Note = "the data part of format versions below 17 is not read";
        return true;
    }
    if (look.Kind == 'A') {
        int64_t block = blockHeader + static_cast<int64_t>(look.PerBlock) * RecordBytes(look);
        look.Records = (data + block - 1) / block;
        look.Cut = look.Cut || data % block != 0;
    } else {
        look.Records = data / RecordBytes(look);
        look.Cut = look.Cut || data % RecordBytes(look) != 0;
    }
    return true;
}

ChartData LookFile::Chart(const std::vector<int>& columns, int block, int pixels) const {
    const DataLook& look = look_;
    ChartData chart;
    std::vector<int> chosen;
    for (int c : columns)
        if (c >= 1 && c <= look.Columns() && std::find(chosen.begin(), chosen.end(), c) == chosen.end())
            chosen.push_back(c);
    chart.XTitle = std::string(look.Kind == 'Y' ? "x" : "record");
    if (look.Kind == 'Y') {
        chart.X0 = look.XStart * look.XStep;
        chart.DX = look.XStep;
    }
    for (int c : chosen) chart.Series.push_back({c, ColumnName(look, c), {}});
    if (!look.HasData() || chosen.empty()) return chart;

    RecordFile src;
    bool failed = false;
    OpenRead(src, binary_, failed);
    if (failed) {
        chart.Cut = true;
        return chart;
    }
    SkipBytes(src, static_cast<int>(dataOffset_));
    int recordBytes = RecordBytes(look);
    int64_t count = look.Records;
    if (look.Kind == 'A') {
        int blockHeader = convlayout::BinarySize(convlayout::BlockHeaderA(look.Version));
        int64_t blockBytes = blockHeader + static_cast<int64_t>(look.PerBlock) * recordBytes;
        block = std::clamp<int>(block, 1, static_cast<int>(std::min<int64_t>(look.Records, INT32_MAX)));
        for (int b = 1; b < block; ++b) SkipBytes(src, static_cast<int>(blockBytes));
        int64_t rest = SizeOf(binary_) - dataOffset_ - (block - 1) * blockBytes - blockHeader;
        count = std::clamp<int64_t>(rest / recordBytes, 0, look.PerBlock);
        SkipBytes(src, blockHeader);
        chart.XTitle.append(" of block ").append(std::to_string(block));
    }
    chart.Count = count;
    Decimator decimator(pixels, count, static_cast<int>(chosen.size()));
    // Whole records are read a buffer at a time, and only the chosen columns are taken out.
    std::vector<unsigned char> buffer(static_cast<size_t>(std::max(1, 65536 / recordBytes)) * recordBytes);
    std::vector<int> offsets;
    for (int c : chosen) offsets.push_back(c <= look.Reals ? 4 * (c - 1) : 4 * look.Reals + 2 * (c - look.Reals - 1));
    std::vector<double> values(chosen.size());
    int64_t perBuffer = static_cast<int64_t>(buffer.size()) / recordBytes;
    for (int64_t index = 0; index < count;) {
        int64_t n = std::min(perBuffer, count - index);
        ReadBytes(src, buffer.data(), static_cast<int>(n * recordBytes));
        if (Failed(src)) {
            chart.Cut = true;
            break;
        }
        for (int64_t r = 0; r < n; ++r, ++index) {
            const unsigned char* record = buffer.data() + r * recordBytes;
            for (size_t k = 0; k < chosen.size(); ++k) {
                const unsigned char* p = record + offsets[k];
                if (chosen[k] <= look.Reals) {
                    uint32_t bits = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
                    float f;
                    std::memcpy(&f, &bits, 4);
                    values[k] = f;
                } else {
                    values[k] = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
                }
            }
            decimator.Add(index, values.data());
        }
    }
    Close(src, failed);
    for (size_t k = 0; k < chosen.size(); ++k) chart.Series[k].Points = decimator.Points(static_cast<int>(k));
    return chart;
}

bool ChartData::ValueRange(double& low, double& high) const {
    bool any = false;
    for (const ChartSeries& s : Series)
        for (const ChartPoint& p : s.Points) {
            low = any ? std::min(low, p.Value) : p.Value;
            high = any ? std::max(high, p.Value) : p.Value;
            any = true;
        }
    return any;
}

std::string ColumnName(const DataLook& look, int column) {
    if (look.Kind == 'Y') return "y";
    if (column > look.Reals) return "Int " + std::to_string(column - look.Reals);
    return "Value " + std::to_string(column);
}

std::vector<int> DefaultColumns(const DataLook& look) {
    if (look.Kind == 'K') return {1, 2};
    if (look.Kind == 'Q') return {1, 2, 3, 4, 5, 6};
    return {1};
}

std::vector<LookField> LookSummary(const DataLook& look) {
    std::vector<LookField> lines;
    auto add = [&](const char* name, std::string value, bool number = false) {
        lines.push_back({name, std::move(value), number});
    };
    add("File", std::string(NameOf(look.Path)));
    add("Kind", look.Kind ? std::string(1, look.Kind) : "");
    add("Identification", look.Ident);
    if (!look.Readable() && look.Version == 0) {
        add("Problem", look.Problem);
        add("Cut", look.Cut ? "yes" : "no");
        return lines;
    }
    add("Form", look.FullAscii ? "Full ASCII, variant " + std::to_string(look.Variant) : "binary");
    add("Version", std::to_string(look.Version), true);
    add("Attachment", look.Attachment ? "yes" : "no");
    if (!look.Readable()) add("Problem", look.Problem);
    if (!look.Note.empty()) add("Note", look.Note);
    if (look.Kind == 'A') {
        add("Blocks", std::to_string(look.Records), true);
        add("Records per block", std::to_string(look.PerBlock), true);
    } else {
        add("Records", std::to_string(look.Records), true);
    }
    add("Cut", look.Cut ? "yes" : "no");
    return lines;
}
