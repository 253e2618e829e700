// Binary to Full ASCII and back: every field returns, texts and integers exactly, reals rounded as the
// text forms round them; sources that end early lose nothing that was read and gain nothing else.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <tuple>

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

// Every kind, header layout, variant, ending and delimiter, whole, without records and cut anywhere in
// its data part: what was read comes back, nothing is added (no record from the ending).
TEST_F(RoundTrip, EveryLayoutGivesBackEveryField) {
    const int64_t cuts[] = {0, 1, 3, 70, 145, -1, 300}; // -1: no records at all
    const int delimiters[] = {32, 31, 44, 59, 17, 9, 18, 29, 10, 30, 47, 124, 35};
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
                    options.Delimiter = delimiters[n++ % 13];
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

// A source cut inside its headers (identification, main header, extended field line, attachment) is
// not converted: no destination is left, and an existing one keeps every byte.
TEST_F(RoundTrip, CutHeadersAreNotConverted) {
    SampleSpec spec = Spec('K', 20, 0);
    spec.Attachment = true;
    std::string binary = sampledata::Bytes(spec);
    std::string text = Convert({ModeBinToFull, 2}, "C.K01", binary);
    size_t fieldLine = text.find(';');
    const std::tuple<int, std::string> cases[] = {
        {ModeBinToFull, binary.substr(0, 20)},
        {ModeBinToFull, binary.substr(0, 41)},
        {ModeBinToCol, binary.substr(0, 511)},
        {ModeBinToFull, binary.substr(0, 1000)},
        {ModeBinToCol, binary.substr(0, 2047)},
        {ModeBinToFull, binary.substr(0, 2047)},
        {ModeFullToBin, text.substr(0, 30)},
        {ModeFullToBin, text.substr(0, fieldLine - 3)},
        {ModeFullToBin, text.substr(0, fieldLine + 3)},
    };
    for (const auto& [mode, bytes] : cases)
        for (bool existing : {false, true}) {
            SCOPED_TRACE(::testing::Message() << bytes.size() << " bytes, mode " << mode);
            std::filesystem::remove_all(dir_.Path());
            std::filesystem::create_directories(dir_.Path());
            if (existing) dir_.Write("C.K01.OUT", "old");
            ConvOutcome outcome;
            EXPECT_EQ(Convert({mode}, "C.K01", bytes, &outcome), existing ? "old" : "<missing>");
            EXPECT_EQ(outcome, ConvOutcome::HeaderCut);
            auto files = std::distance(std::filesystem::directory_iterator(dir_.Path()), {});
            EXPECT_EQ(files, existing ? 2 : 1); // the source, and the old destination
        }
}

// Header lines are taken whole, "*" and all; only the ";" field lines of the extended block lose a
// "*" comment.
TEST_F(RoundTrip, CommentsAreCutOnlyInFieldLines) {
    std::string text = Convert({ModeBinToFull, 2}, "C.K01", sampledata::Bytes(Spec('K', 20, 0, true)));
    text.insert(42, "A*B *c"); // the first text of the main header
    // The last extended line (four reals) gets 1 and 2, then 0 and 0; the closing text a comment.
    ASSERT_EQ(text.substr(text.size() - 19), "0.0;0.0;0.0;0.0\r\n\r\n");
    text.replace(text.size() - 19, 19, "1;2 *two;3\r\nT47 *note\r\n");
    std::string back = Convert({ModeFullToBin}, "C.K01.TXT", text);
    ASSERT_EQ(back.size(), 1024u);
    EXPECT_EQ(back.substr(40, 10), std::string("A*B *c\0\0\0\0", 10));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(RealAt(back, 960 + 4 * i), i < 2 ? i + 1.0f : 0.0f) << i;
    EXPECT_EQ(back.substr(976, 48), std::string("T47") + std::string(45, '\0'));
}

} // namespace
