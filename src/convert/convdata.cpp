// The data part of a file: records from binary to text lines (modes 1 and 2) and back (mode 0), by
// kind. A source that ends inside a record stops the conversion there: what was read is written,
// nothing stands in for what was not.
#include <array>
#include <charconv>
#include <cstring>
#include <type_traits>

#include "convert/convert_detail.h"
#include "lib/strnum.h"

namespace convdetail {

namespace {

// A record's text, gathered before it goes to the destination in one write.
class TextOut {
  public:
    void Put(std::string_view s) {
        size_t n = s.size() < sizeof buf_ - len_ ? s.size() : sizeof buf_ - len_;
        std::memcpy(buf_ + len_, s.data(), n);
        len_ += n;
    }
    void LineEnd() {
        Put(std::string_view(TextFormatSettings.LineEnd, TextFormatSettings.LineEnd[1] ? 2 : 1));
    }
    void Real(double x) {
        if (sizeof buf_ - len_ >= sizeof(TextBuf<29>))
            len_ += static_cast<size_t>(RealToTextStd(x, buf_ + len_));
        else
            Put(RealToTextStd(x).View());
    }
    void Int(int value) {
        TextBuf<29> text;
        IntToText(value, 7, text.c, text.Cap);
        Put(text.View());
    }
    void Number(int n) { Put(IntToStrW(n, 4)); }
    void Flush(RecordFile& f) {
        WriteBytes(f, buf_, static_cast<int>(len_));
        len_ = 0;
    }

  private:
    char buf_[4096];
    size_t len_ = 0;
};

RecordShape ShapeOf(const Job& job) {
    bool block = job.Variant == 3 || job.Variant == 5;
    switch (job.Kind) {
    case 'K':
        return {2, 0, 1};
    case 'Q':
        return {6, 0, 1};
    case 'A':
        if (job.Version >= 20) return {20, 2, block ? 5 : 1};
        return {7, 2, block ? 2 : 1};
    default: // P, T, V
        return {35, 2, block ? 7 : 1};
    }
}

bool Numbered(const Job& job) {
    return job.Variant == 4 || job.Variant == 5;
}

// ---- Binary to text ------------------------------------------------------------------------------

// The values of one binary record; the counts say how many arrived before the source ended.
struct BinRecord {
    double Reals[MaxReals];
    int Ints[MaxInts];
    int RealCount = 0;
    int IntCount = 0;
    bool Complete(const RecordShape& s) const { return RealCount == s.Reals && IntCount == s.Ints; }
};

void ReadBinRecord(Job& job, const RecordShape& s, BinRecord& r) {
    r.RealCount = r.IntCount = 0;
    for (int i = 0; i < s.Reals; ++i) {
        ReadReal(job.Src, r.Reals[i]);
        if (job.SourceFailed()) return;
        ++r.RealCount;
    }
    for (int i = 0; i < s.Ints; ++i) {
        ReadInt(job.Src, r.Ints[i]);
        if (job.SourceFailed()) return;
        ++r.IntCount;
    }
    job.SourceBytes += 4 * s.Reals + 2 * s.Ints;
}

// A record begins with a line end, except the first one of the file (or kind A block).
void BeginRecordLine(TextOut& out) {
    ConversionStateRecord& st = ConversionState;
    if (st.FirstRecord)
        st.FirstRecord = false;
    else
        out.LineEnd();
}

// Writes the values of a record that were read, in the layout of the variant.
void PutRecord(Job& job, const RecordShape& s, const BinRecord& r, int number, bool filter) {
    const ConversionStateRecord& st = ConversionState;
    const std::string& delim = st.Delimiter;
    auto shown = [&](int column) { return !filter || st.Selected[column]; };
    TextOut out;
    BeginRecordLine(out);
    if (job.Variant == 1) {
        for (int i = 0; i < r.RealCount + r.IntCount; ++i) {
            if (i > 0) out.LineEnd(); // no line end after the record's last value
            i < r.RealCount ? out.Real(r.Reals[i]) : out.Int(r.Ints[i - r.RealCount]);
        }
        if (!r.Complete(s)) out.LineEnd(); // the last value read is not the record's last
        out.Flush(job.Dst);
        return;
    }
    int perLine = s.PerLine();
    if (Numbered(job)) {
        out.Number(number);
        out.Put(delim);
    }
    for (int k = 1; k <= r.RealCount; ++k) {
        bool newLine = s.Lines >= 2 && k > 1 && k % perLine == 1;
        if (newLine) out.LineEnd();
        if (!shown(k)) continue;
        if (k > 1 && !newLine) out.Put(delim);
        out.Real(r.Reals[k - 1]);
    }
    for (int j = 1; j <= r.IntCount; ++j) {
        bool newLine = j == 1 && s.IntsOnNewLine();
        if (newLine) out.LineEnd();
        if (!shown(s.Reals + j)) continue;
        if (!newLine) out.Put(delim);
        out.Int(r.Ints[j - 1]);
    }
    out.Flush(job.Dst);
}

// Records until the source ends; kind A passes its block size, other kinds read to the end.
// Returns false when the source ended (cleanly or not).
bool RecordsToText(Job& job, const RecordShape& s, int limit, bool filterSmall) {
    ConversionStateRecord& st = ConversionState;
    bool filter = st.OnlySelected && job.Kind != 'K';
    BinRecord r;
    for (int number = 1; limit == 0 || number <= limit; ++number) {
        if (AtEndOfFile(job.Src)) {
            if (limit != 0) st.SourceCut = true; // a file of records ends cleanly here, a block does not
            return false;
        }
        ReadBinRecord(job, s, r);
        if (!r.Complete(s)) st.SourceCut = true; // 1 to 3 bytes of a first value count too
        if (r.RealCount > 0 && !(filterSmall && r.Reals[0] < 1.1)) PutRecord(job, s, r, number, filter);
        if (!r.Complete(s) || job.Dst.Failed) return false;
        job.Report();
    }
    return true;
}

void KindYToText(Job& job) {
    ConversionStateRecord& st = ConversionState;
    for (int i = 0; !AtEndOfFile(job.Src); ++i) {
        double y = 0;
        ReadReal(job.Src, y);
        if (job.SourceFailed()) st.SourceCut = true; // part of a value
        if (job.SourceFailed() || job.Dst.Failed) return;
        job.SourceBytes += 4;
        double x = (st.XStart + static_cast<double>(i)) * st.XStep;
        TextOut out;
        BeginRecordLine(out);
        if (Numbered(job)) {
            out.Number(i);
            out.Put(st.Delimiter);
        }
        out.Real(x);
        if (job.Variant == 1)
            out.LineEnd();
        else
            out.Put(st.Delimiter);
        out.Real(y);
        out.Flush(job.Dst);
        job.Report();
    }
}

// Kind A: blocks of a header and a fixed number of records.
void KindAToText(Job& job) {
    ConversionStateRecord& st = ConversionState;
    RecordShape s = ShapeOf(job);
    int records = job.Version >= 20 ? 30 : 20;
    auto header = convlayout::BlockHeaderA(job.Version);
    while (!AtEndOfFile(job.Src)) {
        if (job.Mode == ModeBinToFull) {
            if (!CopyFields(job, header, !st.FirstRecord)) {
                st.SourceCut = true; // the file ended inside the block header
                return;
            }
            st.FirstRecord = true;
        } else {
            SkipBytes(job.Src, convlayout::BinarySize(header));
            if (job.SourceFailed()) {
                st.SourceCut = true;
                return;
            }
            job.SourceBytes += convlayout::BinarySize(header);
        }
        if (!RecordsToText(job, s, records, job.Mode == ModeBinToCol)) return;
    }
}

// ---- Text to binary ------------------------------------------------------------------------------

// Values of Full ASCII record lines. Values are separated by anything that cannot be part of a number
// (blanks, tabs, ",", ";", "/", "&", "|", ...), so every delimiter the writer may use reads back. A
// record's values come from its own line (or lines, in block layouts): a value missing from its line
// is 0 and extra values are ignored, so an edited line never moves the records after it. A file
// written with a line-end delimiter has each value on a line of its own; it is told by its first two
// record lines holding one token each, and its values are then taken line after line.
class RecordText {
  public:
    // firstLine: how many tokens the writer puts on a record's first line (its number included).
    RecordText(LineSource& lines, bool numbered, int firstLine)
        : lines_(lines), numbered_(numbered), firstLine_(firstLine) {}

    // The first line of a record that holds a value, past its record number when numbered; false at
    // the end of the data.
    bool Begin() {
        do {
            if (!lines_.Next()) return false;
            rest_ = lines_.Line();
        } while (!HasToken());
        if (!decided_) {
            decided_ = true;
            stream_ =
                firstLine_ > 1 && Tokens(rest_) == 1 && !lines_.AtDataEnd() && Tokens(lines_.Held()) == 1;
        }
        fresh_ = !numbered_; // in a stream the record number is a line of its own
        if (numbered_) Token();
        return true;
    }
    // The further line where the writer starts one inside a record; false when the data has ended.
    bool NewLine() {
        if (stream_) return true;
        if (lines_.AtDataEnd()) return false;
        lines_.Next();
        rest_ = lines_.Line();
        return true;
    }
    // The next value of the record (0 when it is missing or not a number); false when the data ends
    // before it.
    bool TakeReal(double& value) { return Take(value, TextToReal); }
    bool TakeInt(int& value) { return Take(value, TextToInt); }

  private:
    static bool IsTokenChar(char c) { return TokenChars[static_cast<unsigned char>(c)]; }
    static constexpr auto TokenChars = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 256; ++c)
            table[c] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       c == '.' || c == '+' || c == '-' || c == '$';
        return table;
    }();

    static int Tokens(std::string_view line) {
        int count = 0;
        bool inToken = false;
        for (char c : line) {
            bool t = IsTokenChar(c);
            count += t && !inToken;
            inToken = t;
        }
        return count;
    }
    // Skips separators; true when a value follows on this line. (Local pointers: the text could alias
    // rest_ itself as far as the compiler knows, which would keep the loop in memory.)
    bool HasToken() {
        const char* p = rest_.data();
        const char* end = p + rest_.size();
        while (p < end && !IsTokenChar(*p)) ++p;
        rest_ = std::string_view(p, static_cast<size_t>(end - p));
        return p < end;
    }
    // The next token of this line, empty when there is none.
    std::string_view Token() {
        if (!HasToken()) return {};
        const char* start = rest_.data();
        const char* end = start + rest_.size();
        const char* p = start;
        while (p < end && IsTokenChar(*p)) ++p;
        rest_ = std::string_view(p, static_cast<size_t>(end - p));
        return {start, static_cast<size_t>(p - start)};
    }
    // The token of the next value: on a line of its own in a stream, else the next of this line. A
    // value missing from the last line of the data is the end of the data inside the record.
    bool NextToken(std::string_view& token) {
        if (stream_) {
            if (!fresh_) {
                if (lines_.AtDataEnd()) return false;
                lines_.Next();
                rest_ = lines_.Line();
            }
            fresh_ = false;
            token = Token();
            rest_ = {};
            return true;
        }
        token = Token();
        return !token.empty() || !lines_.AtDataEnd();
    }
    // Plain decimal numbers, the only form the writer produces, are converted where they stand; any
    // other token goes through the library's parser, so both give the same value.
    template <class T, class Parse> bool Take(T& value, Parse slow) {
        std::string_view token;
        if (!NextToken(token)) return false;
        value = 0;
        if (token.empty()) return true;
        const char* start = token.data();
        const char* end = start + token.size();
        const char* digits = *start == '-' ? start + 1 : start;
        if (digits < end && *digits >= '0' && *digits <= '9') {
            std::from_chars_result r;
            if constexpr (std::is_same_v<T, double>)
                r = RealFromChars(start, end, value);
            else
                r = std::from_chars(start, end, value);
            if (r.ec == std::errc() && r.ptr == end) return true;
        }
        value = slow(token);
        return true;
    }

    LineSource& lines_;
    bool numbered_;
    int firstLine_;
    std::string_view rest_;
    bool decided_ = false; // the layout of the file's lines has been told
    bool stream_ = false;  // every value on a line of its own
    bool fresh_ = false;   // stream: the current line has not given its value yet
};

// Tokens on a record's first line as the writer lays it out.
int FirstLineTokens(const Job& job, const RecordShape& s) {
    int values = job.Kind == 'Y' ? 2
                 : s.Lines >= 2  ? (s.PerLine() < s.Reals ? s.PerLine() : s.Reals)
                                 : s.Reals + s.Ints;
    return values + (Numbered(job) ? 1 : 0);
}

// One record from text to binary; false when the data has ended (SourceCut when inside the record,
// the values read so far written).
bool RecordToBinary(Job& job, const RecordShape& s, RecordText& text) {
    ConversionStateRecord& st = ConversionState;
    LineSource& lines = *job.Lines;
    if (job.Variant == 1) {
        for (int k = 1; k <= s.Reals + s.Ints; ++k) {
            if (!lines.NextValueLine()) {
                st.SourceCut = st.SourceCut || k > 1;
                return false;
            }
            if (k <= s.Reals)
                WriteReal(job.Dst, TextToReal(lines.Line()));
            else
                WriteInt(job.Dst, TextToInt(lines.Line()));
        }
        return !job.Dst.Failed;
    }
    if (!text.Begin()) return false;
    int perLine = s.PerLine();
    bool block = s.Lines >= 2;
    for (int k = 1; k <= s.Reals + s.Ints; ++k) {
        bool newLine =
            block && (k <= s.Reals ? k > 1 && k % perLine == 1 : k == s.Reals + 1 && s.IntsOnNewLine());
        double real = 0;
        int number = 0;
        if ((newLine && !text.NewLine()) || !(k <= s.Reals ? text.TakeReal(real) : text.TakeInt(number))) {
            st.SourceCut = true;
            return false;
        }
        if (k <= s.Reals)
            WriteReal(job.Dst, real);
        else
            WriteInt(job.Dst, number);
    }
    return !job.Dst.Failed;
}

void RecordsToBinary(Job& job) {
    RecordShape s = ShapeOf(job);
    RecordText text(*job.Lines, Numbered(job), FirstLineTokens(job, s));
    while (RecordToBinary(job, s, text)) job.Report();
}

// Kind Y: each record gives x and y; only y is stored.
void KindYToBinary(Job& job) {
    ConversionStateRecord& st = ConversionState;
    LineSource& lines = *job.Lines;
    RecordText text(lines, Numbered(job), FirstLineTokens(job, ShapeOf(job)));
    for (;;) {
        double value = 0; // y
        if (job.Variant == 1) {
            if (!lines.NextValueLine()) // x
                return;
            if (!lines.NextValueLine()) {
                st.SourceCut = true;
                return;
            }
            value = TextToReal(lines.Line());
        } else {
            double x = 0;
            if (!text.Begin()) return;
            if (!text.TakeReal(x) || !text.TakeReal(value)) {
                st.SourceCut = true;
                return;
            }
        }
        WriteReal(job.Dst, value);
        if (job.Dst.Failed) return;
        job.Report();
    }
}

void KindAToBinary(Job& job) {
    ConversionStateRecord& st = ConversionState;
    RecordShape s = ShapeOf(job);
    int records = job.Version >= 20 ? 30 : 20;
    RecordText text(*job.Lines, Numbered(job), FirstLineTokens(job, s));
    while (!job.Lines->AtDataEnd()) {
        if (!CopyFields(job, convlayout::BlockHeaderA(job.Version), false)) {
            st.SourceCut = true;
            return;
        }
        for (int i = 0; i < records; ++i) {
            if (!RecordToBinary(job, s, text)) {
                st.SourceCut = true;
                return;
            }
            job.Report();
        }
    }
}

} // namespace

void ConvertData(Job& job) {
    if (job.Mode == ModeFullToBin) {
        if (job.Kind == 'Y')
            KindYToBinary(job);
        else if (job.Kind == 'A')
            KindAToBinary(job);
        else
            RecordsToBinary(job);
        return;
    }
    if (job.Kind == 'Y')
        KindYToText(job);
    else if (job.Kind == 'A')
        KindAToText(job);
    else
        RecordsToText(job, ShapeOf(job), 0, false);
}

} // namespace convdetail
