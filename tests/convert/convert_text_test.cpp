// The text the engine writes, byte for byte, against texts written out by hand from the file rules:
// a short sample per kind, header layout and ASCII variant.
#include "convert/conv_fixture.h"

namespace {

using namespace std::string_literals;

using convtest::Options;
using convtest::Spec;
using sampledata::SampleSpec;

const std::string CrLf = "\r\n";
const std::string Z = "     0";       // an int or word holding 0
const std::string R0 = " 0.0000E+00"; // a header real holding 0
const std::string E = "";             // an empty text

std::string Rep(const std::string& line, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += line + CrLf;
    return text;
}

std::string Join(std::initializer_list<std::string> parts, const std::string& between) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : between) + part;
    return text;
}

// Main headers with every field zero except XStep 0.5, XOffset 3, XStart 10, one line per field.
std::string Header20() {
    return Rep(E, 3) + Rep(Z, 2) + Rep(E, 4) + Rep(Z, 2) + Rep(R0, 4) + Rep(E, 1) + Rep(R0, 9) + Rep(Z, 2) +
           Rep(E, 6) + Rep(E, 1) + Rep(R0, 1) + Rep(Z, 4) + Rep(R0, 20) + Rep(Z, 2) + Rep(R0, 13) +
           Rep(" 5.0000E-01", 1) + Rep("     3", 1) + Rep("    10", 1) + Rep(Z, 2);
}
std::string Header17() {
    return Rep(Z, 2) + Rep(E, 4) + Rep(Z, 2) + Rep(R0, 4) + Rep(E, 1) + Rep(R0, 9) + Rep(Z, 2) + Rep(E, 9) +
           Rep(E, 1) + Rep(Z, 4) + Rep(R0, 9) + Rep(Z, 3) + Rep(R0, 10) + Rep(R0, 1) + Rep("     3", 1) +
           Rep("    10", 1) + Rep(" 5.0000E-01", 1) + Rep(R0, 1) + Rep(Z, 1) + Rep(R0, 13);
}
std::string Extended() {
    return Rep("0;0;0.0;0.0;0.0;0.0;0.0;0.0;0.0", 10) + Rep("0.0;0.0;", 3) + Rep("0;0;0;0;0;0;0;0", 1) +
           Rep("0.0;0.0;0.0;0.0", 5) + Rep(E, 1);
}
std::string Ident(int version, char kind, char variant) {
    return "SW0-DAT-" + std::to_string(version) + "." + variant + "-A" + kind + " SAMPLE    000GENERATOR01" +
           CrLf;
}
std::string Full20(char kind, char variant) {
    return Ident(20, kind, variant) + Header20() + Extended();
}

// Kind K values and their texts with four decimals.
const std::vector<double> KValues = {1.5, -2.25, 1234.5678, 0.001, 0, -1e-5};
const std::string K1 = " 1.5000E+00", K2 = "-2.2500E+00", K3 = " 1.2346E+03", K4 = " 1.0000E-03",
                  K5 = " 0.0000E+00", K6 = "-1.0000E-05";

// Kind P: the reals 1..35 and the ints -1 and 7.
std::string PReal(int i) {
    return i < 10 ? " " + std::to_string(i) + ".0000E+00"
                  : " " + std::to_string(i / 10) + "." + std::to_string(i % 10) + "000E+01";
}
std::string PReals(int from, int to, const std::string& delim) {
    std::string text;
    for (int i = from; i <= to; ++i) text += (i > from ? delim : "") + PReal(i);
    return text;
}
SampleSpec PSpec(char kind, int records) {
    SampleSpec spec = Spec(kind, 20, records, true);
    for (int i = 1; i <= 35; ++i) spec.Reals.push_back(i);
    spec.Ints = {-1, 7};
    return spec;
}

// Kind A, version 17: records alternate between a first value of 0.5 and of 1.5; 2 .. 7 follow, then
// the ints 1 and -2.
SampleSpec ASpec(int blocks) {
    SampleSpec spec = Spec('A', 17, blocks, true);
    spec.Reals = {0.5, 2, 3, 4, 5, 6, 7, 1.5, 2, 3, 4, 5, 6, 7};
    spec.Ints = {1, -2};
    return spec;
}
const std::string A27 = " 2.0000E+00  3.0000E+00  4.0000E+00  5.0000E+00  6.0000E+00  7.0000E+00";
const std::string AInts = "      1      -2";
const std::string ABlockHeader = Rep(E, 1) + Rep(Z, 10) + Rep(R0, 12);

struct TextCase {
    const char* Name;
    SampleSpec Source;
    Options Opts;
    std::string Expected;
};
Options Full(int cols, bool numbered = false, int lastLine = LastNothing) {
    return {ModeBinToFull, cols, numbered, lastLine};
}
Options Col(bool numbered = false, int lastLine = LastNothing, std::string selected = "",
            int delimiter = 32) {
    return {ModeBinToCol, 1, numbered, lastLine, !selected.empty(), selected, delimiter};
}

std::vector<TextCase> Cases() {
    SampleSpec k20 = Spec('K', 20, 3, true), k17 = Spec('K', 17, 3, true);
    k20.Reals = k17.Reals = KValues;
    SampleSpec y17 = Spec('Y', 17, 3, true);
    y17.Reals = {1, 2, 3};
    SampleSpec p = PSpec('P', 2), t = PSpec('T', 1), v = PSpec('V', 1);
    t.LongHeaderT = true;
    SampleSpec cut = Spec('K', 20, 2, true); // ends inside its second record
    cut.Reals = {1, 2, 3, 4};
    cut.Cut = 2;
    std::string pBlock =
        Join({PReals(1, 5, " "), PReals(6, 10, " "), PReals(11, 15, " "), PReals(16, 20, " "),
              PReals(21, 25, " "), PReals(26, 30, " "), PReals(31, 35, " "), "     -1       7"},
             CrLf);
    std::string a0 = " 5.0000E-01 " + A27 + " " + AInts, a1 = " 1.5000E+00 " + A27 + " " + AInts;
    std::string aPair = a0 + CrLf + a1;
    std::string aBlock = Join({aPair, aPair, aPair, aPair, aPair, aPair, aPair, aPair, aPair, aPair}, CrLf);
    std::string aCol;
    for (int block = 0; block < 2; ++block)
        for (int n = 2; n <= 20; n += 2)
            aCol += (aCol.empty() ? "" : CrLf) + (n < 10 ? "   " : "  ") + std::to_string(n) + " " + a1;

    return {
        {"K17OneLineEnd", k17, Full(1, false, LastLineEnd),
         Ident(17, 'K', '1') + Header17() + Join({K1, K2, K3, K4, K5, K6}, CrLf) + CrLf},
        {"K20AllNumberedEof", k20, Full(2, true, LastLineEndEof),
         Full20('K', '4') + "   1 " + K1 + " " + K2 + CrLf + "   2 " + K3 + " " + K4 + CrLf + "   3 " + K5 +
             " " + K6 + CrLf + "\x1A"},
        {"K20ColCutRecordEof", cut, Col(false, LastLineEndEof),
         " 1.0000E+00  2.0000E+00\r\n 3.0000E+00\r\n\x1A"},
        {"P20Block", p, Full(3), Full20('P', '3') + pBlock + CrLf + pBlock},
        {"P20ColFirstRealFirstInt", p, Col(false, 0, "1,36"),
         PReal(1) + "      -1\r\n" + PReal(1) + "      -1"},
        {"V20ColSemicolonQuoted", v, Col(false, 0, "", 17), PReals(1, 35, ";") + ";     -1;      7"},
        {"T20LongHeaderCol", t, Col(), PReals(1, 35, " ") + "      -1       7"},
        {"Y17ColNumbered", y17, Col(true),
         "   0  5.0000E+00  1.0000E+00" + CrLf + "   1  5.5000E+00  2.0000E+00" + CrLf +
             "   2  6.0000E+00  3.0000E+00"},
        {"A17ColSkipsSmallFirstValuesNumberedPerBlock", ASpec(2), Col(true), aCol},
        {"A17AllTwoBlocks", ASpec(2), Full(2),
         Ident(17, 'A', '2') + Header17() + ABlockHeader + aBlock + CrLf + ABlockHeader + aBlock},
    };
}

using ConvertText = convtest::ConvFixture;

TEST_F(ConvertText, WritesTheTextOfTheRules) {
    for (const TextCase& c : Cases()) {
        SCOPED_TRACE(c.Name);
        ConvOutcome outcome;
        EXPECT_EQ(Convert(c.Opts, std::string("MEAS.") + c.Source.Kind + "01", sampledata::Bytes(c.Source),
                          &outcome),
                  c.Expected);
        EXPECT_EQ(outcome, ConvOutcome::Converted);
        EXPECT_EQ(ConversionState.SourceCut, c.Source.Cut > 0);
    }
}

// Words are read unsigned and ints signed: the same bytes FF FF are 65535 and -1.
TEST_F(ConvertText, WordsAreUnsignedIntsSigned) {
    std::string v20 = sampledata::Bytes(Spec('K', 20, 0, true));
    v20.replace(118, 4, "\xFF\xFF\xFF\xFF"); // the first word and the int after it
    std::string header = Header20();
    header.replace(header.find(Z + CrLf + Z), 2 * Z.size() + 2, " 65535\r\n    -1");
    EXPECT_EQ(Convert(Full(1), "W.K01", v20), Ident(20, 'K', '1') + header + Extended());
}

} // namespace
