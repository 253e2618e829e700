// Binary to Full ASCII and back: every field returns, texts and integers exactly, reals rounded as the
// text forms round them; sources that end early lose nothing that was read and gain nothing else. Full
// ASCII files edited by hand read back with each record keeping its own values, and a source that ends
// inside a record is converted and said to be cut.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <sstream>
#include <vector>

#include "convert/conv_fixture.h"

namespace {

using convtest::Options;
using convtest::Spec;
using sampledata::SampleSpec;
using sampledata::Span;

// A real of a binary file (test hosts are little-endian, as the files are).
float RealAt(const std::string& bytes, size_t offset) {
    float value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class RoundTrip : public convtest::ConvFixture {
  protected:
    // Binary to Full ASCII and back in one program run; the binary comes back.
    std::string There(const SampleSpec& spec, const Options& options, std::string* text = nullptr) {
        std::string name = std::string("DATA.") + spec.Kind + "01";
        ConvOutcome outcome;
        std::string ascii = Convert(options, name, sampledata::Bytes(spec), &outcome);
        EXPECT_EQ(outcome, ConvOutcome::Converted);
        if (text) *text = ascii;
        return Convert({ModeFullToBin}, name + ".TXT", ascii, &outcome);
    }

    // There and back; the whole fields of the source return (texts and integers exactly, reals to the
    // digits their text form keeps) and nothing else.
    void ExpectSameFields(const SampleSpec& spec, const Options& options) {
        std::string original = sampledata::Bytes(spec);
        std::string back = There(spec, options);
        EXPECT_FALSE(spec.Cut == 0 && ConversionState.SourceCut); // a whole source's text reads back whole
        size_t whole = 0;
        for (const sampledata::FieldSpan& f : sampledata::FieldMap(spec)) {
            size_t end = static_cast<size_t>(f.Offset + f.Size);
            if (end > original.size() || end > back.size()) break;
            whole = end;
            if (f.Type != Span::HeaderReal && f.Type != Span::ExtendedReal && f.Type != Span::DataReal) {
                EXPECT_EQ(original.substr(f.Offset, f.Size), back.substr(f.Offset, f.Size))
                    << "field of type " << static_cast<int>(f.Type) << " at " << f.Offset;
                continue;
            }
            int digits = f.Type == Span::HeaderReal     ? 5
                         : f.Type == Span::ExtendedReal ? 4
                                                        : 1 - options.Decimals;
            float was = RealAt(original, f.Offset), now = RealAt(back, f.Offset);
            EXPECT_LE(std::fabs(static_cast<double>(was) - now),
                      std::fabs(was) * 0.51 * std::pow(10.0, 1 - digits))
                << "real at " << f.Offset << ": " << was << " came back as " << now;
        }
        EXPECT_EQ(back.size(), whole);
    }
};

// Every kind, header layout, variant, ending and delimiter (line ends between values too), whole,
// without records and cut anywhere in its data part: what was read comes back, nothing is added (no
// record from the ending).
TEST_F(RoundTrip, EveryLayoutGivesBackEveryField) {
    const int64_t cuts[] = {0, 1, 3, 70, 145, -1, 300}; // -1: no records at all
    const int delimiters[] = {32, 31, 44, 59, 17, 9, 18, 29, 10, 13, 30, 47, 124, 35};
    int n = 0;
    for (char kind : std::string("KYPTVAQ")) {
        int64_t records = kind == 'A' ? 2 : kind == 'Q' ? 20 : kind == 'K' || kind == 'Y' ? 80 : 7;
        for (int version : {17, 20})
            for (int variant = 1; variant <= 5; ++variant)
                for (int lastLine : {LastNothing, LastLineEnd, LastLineEndEof}) {
                    int64_t cut = cuts[n % 7];
                    SampleSpec spec = Spec(kind, version, cut < 0 ? 0 : records);
                    spec.Cut = cut < 0 ? 0 : cut;
                    spec.Attachment = version == 20;
                    spec.OldNumbering = version == 17 && variant == 2;
                    int cols = variant <= 3 ? variant : variant - 2;
                    Options options{ModeBinToFull, cols, variant > 3, lastLine};
                    options.Delimiter = delimiters[n++ % 14];
                    SCOPED_TRACE(::testing::Message()
                                 << kind << version << " variant " << variant << ", last line " << lastLine
                                 << ", cut " << cut << ", delimiter " << options.Delimiter);
                    ExpectSameFields(spec, options);
                }
    }
}

// Record lines of 12-decimal values are about 700 characters; every value comes back exactly.
TEST_F(RoundTrip, LongRecordLinesComeBackWhole) {
    SampleSpec spec = Spec('P', 20, 3);
    std::string text;
    std::string original = sampledata::Bytes(spec);
    std::string back = There(spec, {ModeBinToFull, 2, true, LastLineEnd, false, "", 32, -12}, &text);
    EXPECT_GT(text.size() - text.rfind("\r\n   3"), 600u);
    EXPECT_EQ(back.substr(back.size() - 3 * 144), original.substr(original.size() - 3 * 144));
}

// Header lines are taken whole, "*" and all: a "*" in a text is no comment there.
TEST_F(RoundTrip, HeaderTextsKeepTheirStars) {
    std::string text = Convert({ModeBinToFull, 2}, "C.K01", sampledata::Bytes(Spec('K', 20, 0, true)));
    text.insert(42, "A*B *c"); // the first text of the main header
    std::string back = Convert({ModeFullToBin}, "C.K01.TXT", text);
    ASSERT_EQ(back.size(), 1024u);
    EXPECT_EQ(back.substr(40, 10), std::string("A*B *c\0\0\0\0", 10));
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

class EditedText : public convtest::ConvFixture {
  protected:
    static constexpr int Records = 4;

    // Binary sample, its Full ASCII text (LastNothing) and that text converted back unedited.
    void Write(char kind, int variant) {
        kind_ = kind;
        Options options{ModeBinToFull, variant <= 3 ? variant : variant - 2, variant > 3};
        options.Delimiter = 59;
        text_ = Convert(options, std::string("E.") + kind + "01", sampledata::Bytes(Spec(kind, 20, Records)));
        baseline_ = Back(text_);
    }
    std::string Back(const std::string& text) {
        ConvOutcome outcome;
        std::string back = Convert({ModeFullToBin}, std::string("E.") + kind_ + "01.TXT", text, &outcome);
        EXPECT_EQ(outcome, ConvOutcome::Converted);
        return back;
    }
    int RecordBytes() const { return kind_ == 'P' ? 144 : 8; }
    // Offset in the binary file of value v (from 0) of record r (from 0).
    size_t ValueAt(int r, int v) const {
        size_t data = baseline_.size() - static_cast<size_t>(Records * RecordBytes());
        return data + static_cast<size_t>(r * RecordBytes() + (v < 35 ? 4 * v : 140 + 2 * (v - 35)));
    }

    char kind_ = 'K';
    std::string text_, baseline_;
};

// Tokens of a record line: the writer's ";" and blanks of numbers and record numbers.
std::vector<std::string> Tokens(std::string line) {
    std::replace(line.begin(), line.end(), ';', ' ');
    std::istringstream words(line);
    return {std::istream_iterator<std::string>(words), {}};
}

// A value deleted, a value added and a blank line between records change the record they stand in and
// nothing after it.
TEST_F(EditedText, EditsStayInTheirRecord) {
    enum Edit { DropLast, Extra, BlankLine };
    for (char kind : std::string("KP"))
        for (int variant = 2; variant <= 5; ++variant)
            for (Edit edit : {DropLast, Extra, BlankLine}) {
                SCOPED_TRACE(::testing::Message() << kind << " variant " << variant << " edit " << edit);
                Write(kind, variant);
                // The second record's first line (a P record in a block has seven lines of five reals and
                // one of the two ints).
                std::vector<std::string> lines = SplitLines(text_);
                size_t at =
                    lines.size() - (Records - 1) * ((variant == 3 || variant == 5) && kind == 'P' ? 8u : 1u);
                std::vector<std::string> tokens = Tokens(lines[at]);
                std::string expected = baseline_;
                if (edit == DropLast) {
                    lines[at].clear();
                    for (size_t i = 0; i + 1 < tokens.size(); ++i) lines[at] += (i ? ";" : "") + tokens[i];
                    int last = static_cast<int>(tokens.size()) - (variant >= 4 ? 2 : 1); // without the number
                    std::memset(expected.data() + ValueAt(1, last), 0, last >= 35 ? 2 : 4);
                } else if (edit == Extra) {
                    lines[at] += ";7.5 8";
                } else {
                    lines.insert(lines.begin() + static_cast<long>(at), "");
                }
                EXPECT_EQ(Back(JoinCrLf(lines)), expected);
                EXPECT_FALSE(ConversionState.SourceCut);
            }
}

// The data ending inside a record: the values read so far, no zeros, and the file said to be cut.
// Character 26 ends the data wherever it stands.
TEST_F(EditedText, DataEndingInsideARecord) {
    Write('K', 2);
    std::vector<std::string> lines = SplitLines(text_);
    lines.back() = Tokens(lines.back())[0];
    EXPECT_EQ(Back(JoinCrLf(lines) + "\r\n"), baseline_.substr(0, baseline_.size() - 4));
    EXPECT_TRUE(ConversionState.SourceCut);
    EXPECT_EQ(Back(text_ + "\r\n\x1a 1.0 2.0 3.0\r\n"), baseline_);
    EXPECT_FALSE(ConversionState.SourceCut);
}

// A binary source that ends inside a block of kind A is converted and said to be cut, in both modes.
TEST_F(EditedText, BinarySourceCutInsideABlock) {
    std::string blocks = sampledata::Bytes(Spec('A', 20, 2));
    size_t block = (blocks.size() - sampledata::Bytes(Spec('A', 20, 0)).size()) / 2;
    for (int mode : {ModeBinToFull, ModeBinToCol}) {
        ConvOutcome outcome;
        Convert({mode, 2}, "B.A01", blocks.substr(0, blocks.size() - block + 10), &outcome);
        EXPECT_EQ(outcome, ConvOutcome::Converted);
        EXPECT_TRUE(ConversionState.SourceCut) << mode;
    }
}

} // namespace
