// Binary to Full ASCII and back: every field returns, texts and integers exactly, reals rounded as the
// text forms round them; sources that end early lose nothing that was read and gain nothing else.
#include <cmath>
#include <cstring>

#include "convert/conv_fixture.h"

namespace {

using convtest::Options;
using convtest::Spec;
using sampledata::FieldSpan;
using sampledata::SampleSpec;
using sampledata::Span;

float RealAt(const std::string& bytes, int64_t offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = bits << 8 | static_cast<unsigned char>(bytes[static_cast<size_t>(offset + i)]);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

// True when b is a to digits significant digits (and back to single precision).
bool Rounded(float a, float b, int digits) {
    if (a == b) return true;
    double tolerance = std::fabs(a) * 0.51 * std::pow(10.0, 1 - digits) + 1e-45;
    return std::fabs(static_cast<double>(a) - b) <= tolerance;
}

// Compares the fields of two binary files of the spec's layout; the first length bytes only.
void ExpectSameFields(const SampleSpec& spec, const std::string& original, const std::string& back,
                      int dataDigits, int64_t length) {
    ASSERT_EQ(static_cast<int64_t>(back.size()), length);
    for (const FieldSpan& f : sampledata::FieldMap(spec)) {
        if (f.Offset + f.Size > length) break;
        std::string_view was(original.data() + f.Offset, static_cast<size_t>(f.Size));
        std::string_view now(back.data() + f.Offset, static_cast<size_t>(f.Size));
        int digits = f.Type == Span::HeaderReal ? 5 : f.Type == Span::ExtendedReal ? 4 : dataDigits;
        bool real = f.Type == Span::HeaderReal || f.Type == Span::ExtendedReal || f.Type == Span::DataReal;
        if (real)
            EXPECT_TRUE(Rounded(RealAt(original, f.Offset), RealAt(back, f.Offset), digits))
                << "real at " << f.Offset << ": " << RealAt(original, f.Offset) << " came back as "
                << RealAt(back, f.Offset);
        else
            EXPECT_EQ(was, now) << "field of type " << static_cast<int>(f.Type) << " at " << f.Offset;
    }
}

// The end of the last whole field that fits into the first length bytes.
int64_t WholeFields(const SampleSpec& spec, int64_t length) {
    int64_t end = 0;
    for (const FieldSpan& f : sampledata::FieldMap(spec))
        if (f.Offset + f.Size <= length) end = f.Offset + f.Size;
    return end;
}

class RoundTrip : public convtest::ConvFixture {
  protected:
    // Binary to Full ASCII and back in one run of the program; the binary comes back.
    std::string There(const SampleSpec& spec, const Options& options, std::string* text = nullptr) {
        std::string name = std::string("DATA.") + spec.Kind + "01";
        ConvOutcome outcome;
        std::string ascii = Convert(options, name, sampledata::Bytes(spec), &outcome);
        EXPECT_EQ(outcome, ConvOutcome::Converted);
        if (text) *text = ascii;
        return Convert({ModeFullToBin}, name + ".TXT", ascii, &outcome);
    }
};

struct Layout {
    char Kind;
    int Version;
    int Cols;
    bool Numbered;
};

std::vector<Layout> EveryLayout() {
    std::vector<Layout> all;
    for (char kind : std::string("KYPTVAQ"))
        for (int version : {17, 20})
            for (int cols : {1, 2, 3})
                for (bool numbered : {false, true})
                    if (cols > 1 || !numbered) all.push_back({kind, version, cols, numbered});
    return all;
}

class EveryLayoutRoundTrip : public RoundTrip, public ::testing::WithParamInterface<Layout> {};

TEST_P(EveryLayoutRoundTrip, GivesBackEveryFieldRounded) {
    const Layout& l = GetParam();
    SampleSpec spec = Spec(l.Kind, l.Version, l.Kind == 'A' ? 2 : 7);
    spec.Attachment = l.Version == 20;
    spec.OldNumbering = l.Version == 17 && l.Cols == 2;
    std::string original = sampledata::Bytes(spec);
    std::string back = There(spec, {ModeBinToFull, l.Cols, l.Numbered, LastLineEnd});
    ExpectSameFields(spec, original, back, 5, static_cast<int64_t>(original.size()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryLayoutRoundTrip, ::testing::ValuesIn(EveryLayout()),
                         [](const auto& info) {
                             const Layout& l = info.param;
                             return std::string(1, l.Kind) + std::to_string(l.Version) + "_cols" +
                                    std::to_string(l.Cols) + (l.Numbered ? "_numbered" : "");
                         });

// Every delimiter the window offers, and a typed one, reads back as the values it separates.
TEST_F(RoundTrip, EveryDelimiterReadsBack) {
    for (char kind : {'P', 'A', 'K', 'Y'}) {
        SampleSpec spec = Spec(kind, 20, kind == 'A' ? 1 : 4);
        std::string blank = There(spec, {ModeBinToFull, 3, true, LastLineEnd});
        for (int code : {31, 44, 59, 17, 9, 18, 29, 10, 30, 47, 124, 35}) {
            for (int cols : {2, 3}) {
                std::string back =
                    There(spec, {ModeBinToFull, cols, cols == 3, LastLineEnd, false, "", code});
                EXPECT_EQ(back, blank) << "kind " << kind << ", delimiter code " << code << ", cols " << cols;
            }
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

// An ending of line ends and the end-of-file character adds no record, with or without records.
TEST_F(RoundTrip, EndingsAddNoRecord) {
    for (char kind : {'K', 'A', 'Y', 'P'})
        for (int records : {0, 2})
            for (int cols : {1, 2, 3})
                for (int lastLine : {LastNothing, LastLineEnd, LastLineEndEof}) {
                    SampleSpec spec = Spec(kind, 20, records);
                    std::string original = sampledata::Bytes(spec);
                    std::string back = There(spec, {ModeBinToFull, cols, false, lastLine});
                    EXPECT_EQ(back.size(), original.size())
                        << kind << " " << records << " records, cols " << cols << ", last line " << lastLine;
                }
}

// A source cut anywhere in its data part converts as far as it goes: the text carries what was read,
// and converted back it gives exactly the whole fields before the cut, nothing after.
TEST_F(RoundTrip, CutSourcesKeepWhatWasRead) {
    for (char kind : {'K', 'Q', 'P', 'Y', 'A'})
        for (int cols : {1, 2, 3})
            for (int64_t cut : {1, 3, 70, 145, 300}) {
                SampleSpec spec = Spec(kind, 20,
                                       kind == 'K'   ? 50
                                       : kind == 'Q' ? 20
                                       : kind == 'Y' ? 100
                                       : kind == 'P' ? 6
                                                     : 2);
                spec.Cut = cut;
                std::string original = sampledata::Bytes(spec);
                int64_t size = static_cast<int64_t>(original.size());
                std::string back = There(spec, {ModeBinToFull, cols, cols == 3, LastLineEndEof});
                ExpectSameFields(spec, original, back, 5, WholeFields(spec, size));
            }
}

// A source cut inside its headers is not converted.
TEST_F(RoundTrip, CutHeadersAreNotConverted) {
    for (int64_t keep : {40, 41, 511, 1000, 1023, 2047}) {
        SampleSpec spec = Spec('K', 20, 0);
        spec.Attachment = true;
        std::string bytes = sampledata::Bytes(spec).substr(0, static_cast<size_t>(keep));
        for (int mode : {ModeBinToFull, ModeBinToCol}) {
            ConvOutcome outcome;
            Convert({mode}, "CUT.K01", bytes, &outcome);
            EXPECT_EQ(outcome, ConvOutcome::HeaderCut) << keep << " bytes, mode " << mode;
        }
    }
}

// Col ASCII of a cut file ends with the values of the cut record that were read.
TEST_F(RoundTrip, ColAsciiOfACutRecordEndsWithItsValues) {
    SampleSpec spec = Spec('K', 20, 2);
    spec.ZeroHeader = true;
    spec.Reals = {1, 2, 3, 4};
    spec.Cut = 2;
    EXPECT_EQ(Convert({ModeBinToCol, 1, false, LastLineEndEof}, "CUT.K01", sampledata::Bytes(spec)),
              " 1.0000E+00  2.0000E+00\r\n 3.0000E+00\r\n\x1A");
    EXPECT_TRUE(ConversionState.SourceCut);
}

// Text values that are not numbers become 0; a line with too few values takes the next line's.
TEST_F(RoundTrip, GarbageNumbersBecomeZero) {
    SampleSpec spec = Spec('K', 20, 2);
    std::string text;
    There(spec, {ModeBinToFull, 2, false, LastNothing}, &text);
    size_t data = text.rfind("\r\n", text.rfind("\r\n") - 1) + 2; // the two record lines
    std::string garbage = text.substr(0, data) + "1.5 x7\r\nabc" + "\r\n" + "2.5E+00" + "\r\n";
    std::string back = Convert({ModeFullToBin}, "G.K01.TXT", garbage);
    std::string header = sampledata::Bytes(Spec('K', 20, 0));
    ASSERT_EQ(back.size(), header.size() + 16);
    EXPECT_EQ(RealAt(back, header.size()), 1.5f);
    EXPECT_EQ(RealAt(back, header.size() + 4), 0.0f);
    EXPECT_EQ(RealAt(back, header.size() + 8), 0.0f);
    EXPECT_EQ(RealAt(back, header.size() + 12), 2.5f);
}

// Header lines are taken whole, "*" and all; only the ";" field lines of the extended block lose a
// "*" comment.
TEST_F(RoundTrip, CommentsAreCutOnlyInFieldLines) {
    SampleSpec spec = Spec('K', 20, 0);
    spec.ZeroHeader = true;
    std::string text = Convert({ModeBinToFull, 2}, "C.K01", sampledata::Bytes(spec));
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_GT(lines.size(), 3u);
    lines[1] = "A*B *c";                    // the first text of the main header
    lines[lines.size() - 2] = "1;2 *two;3"; // an extended line of four reals: 1 and 2, then 0, 0
    lines.back() = "T47 *note";             // the text that closes the extended block
    std::string edited;
    for (const std::string& line : lines) edited += line + "\r\n";
    std::string back = Convert({ModeFullToBin}, "C.K01.TXT", edited);
    ASSERT_EQ(back.size(), 1024u);
    EXPECT_EQ(back.substr(40, 10), std::string("A*B *c\0\0\0\0", 10));
    EXPECT_EQ(RealAt(back, 960), 1.0f);
    EXPECT_EQ(RealAt(back, 964), 2.0f);
    EXPECT_EQ(RealAt(back, 968), 0.0f);
    EXPECT_EQ(back.substr(976, 48), std::string("T47") + std::string(45, '\0'));
}

} // namespace
