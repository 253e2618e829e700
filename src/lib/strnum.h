// Strings and numbers: fixed-capacity text buffers, number text in both directions, the global
// text-format settings and small numeric helpers. Portable; the lowest layer of the program's library.
//
// A text buffer is a char array indexed 0..n; n (its highest index, "capacity") travels with it.
// It holds up to n+1 characters and is NUL-terminated when shorter. Every operation stops at index n
// and cuts silently; nothing is ever read or written past index n, whatever the arguments.
#pragma once

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Library-wide value of a position that does not exist.
constexpr int NotFound = -3;

// A text buffer of capacity N (N+1 characters), zero-initialised.
template <int N> struct TextBuf {
    static_assert(N >= 0);
    static constexpr int Cap = N;
    char c[N + 1] = {};

    char* data() { return c; }
    const char* data() const { return c; }
    constexpr int cap() const { return N; }
    int Len() const;                   // bounded length (characters before the first NUL, at most N+1)
    std::string_view View() const;     // the text as a view of Len() characters
    std::string Str() const { return std::string(View()); }
    void Set(std::string_view s);      // BufAssign
    void Clear() { c[0] = 0; }
    bool Empty() const { return c[0] == 0; }
    char& operator[](int i) { return c[i]; }
    char operator[](int i) const { return c[i]; }
};

// ---- Buffer operations ----------------------------------------------------------------------------

int BufLen(const char* buf, int n);
std::string_view BufView(const char* buf, int n); // the buffer's text, BufLen characters
void BufCut(bool clearIfNegative, int pos, char* buf, int n);
void BufCopy(const char* src, int srcN, char* dst, int dstN);
void BufCopyZ(const char* src, int srcN, char* dst, int dstN);
void BufFromPChar(const char* z, char* dst, int n);
void BufPutAt(char* dst, int n, std::string_view s, int offset);
void BufSub(const char* src, int srcN, int start, int count, char* dst, int dstN);
void BufDelete(char* buf, int n, int start, int count);
void BufAssign(std::string_view s, char* buf, int n);
void BufConcat2(std::string_view a, std::string_view b, char* buf, int n);
void BufConcat3(std::string_view a, std::string_view b, std::string_view c, char* buf, int n);
void BufAppend(std::string_view src, char* dst, int& pos, int n);
char BufCharAt(int index, const char* buf, int n);
void BufReplaceChar(char from, char to, char* buf, int n);
void BufRemoveBlanks(char* buf, int n);
void BufTrim(int mode, char* buf, int n);
void BufTrimRightCtl(char* buf, int n);
void BufPadLeft(int width, char fill, char* buf, int n);
void BufPadRight(int width, char fill, char* buf, int n);
int BufFindChar(int start, bool backwards, char ch, const char* buf, int n);
int StrPos(std::string_view sub, std::string_view s);
int StrFind(int start, bool backwards, bool ignoreCase, std::string_view sub, std::string_view s);
bool StrContains(std::string_view sub, const char* buf, int n);
int BufCompare(std::string_view s, const char* buf, int n);
int BufCompareText(std::string_view s, const char* buf, int n);
void BufNextToken(bool exact, bool comma, const char* buf, int n, char* token, int tokenN, char* rest,
                  int restN);
void BufSplitAt(char ch, char* buf, int n, char* field, int fieldN);
void BufCutComment(char* buf, int n);
std::string JoinLines(const std::vector<std::string>& lines);
// The line of s that starts at pos (1-based); it ends at CR, LF or character 26, and an LF right
// behind a CR is read with it. pos moves to the next line, 0 past the end, -1 when it was outside.
std::string NextLine(std::string_view s, int& pos);

// ---- Number operations ----------------------------------------------------------------------------

void IntToText(int value, int width, char* buf, int n);
void IntToPlainText(int value, char* buf, int n);
std::string IntToStrW(int value, int width);
std::string IntToStrZ(int value, int width);
void IntToHexText(int value, int bytes, char* buf, int n);
int RealToText(int width, int decimals, char* buf, int n, double x); // returns the text's length
TextBuf<29> RealToTextStd(double x);
int RealToTextStd(double x, char* out); // into 30 characters of room; returns the text's length
int TextToIntOk(std::string_view s, bool& ok);
double TextToRealOk(std::string_view s, bool& ok);
// std::from_chars for a double in the general format, with the same results, faster for short numbers.
std::from_chars_result RealFromChars(const char* first, const char* last, double& value);
int TextToInt(std::string_view s);
double TextToReal(std::string_view s);
int DigitsToInt(std::string_view s);
int SubToInt(const char* buf, int n, int start, int count);
// Takes the first number token off the buffer (commas delimit too); the rest is written back.
void NextNumberToken(char* buf, int n, std::string& token);
// Converts the first token of the buffer; like NextNumberToken, the rest is written back, so
// repeated calls take the numbers of a line one by one.
int TokenToInt(char* buf, int n);
bool IsYes(std::string_view s);
char YesNoChar(bool value);
char DigitChar(int value);
int CharDigit(char ch);
bool IsDigitChar(char ch);
char HexDigit(int value);
int IntMin(int a, int b);
int IntMax(int a, int b);
int IntClamp(int x, int low, int high);
bool TensInList(int value, std::initializer_list<int> list);
int64_t RoundHalfAway(double x);
float ClampToSingle(double x);
int32_t ClampToInt32(uint32_t value);
void SetBit(uint32_t& mask, int bit);
void ClearBit(uint32_t& mask, int bit);
bool TestBit(uint32_t mask, int bit);
std::string DelimiterText(int code);
int RealTextWidth();

// ---- Text-format settings -------------------------------------------------------------------------

struct TextFormatRecord {
    char LineEnd[2];   // written after every text line by record files
    int Decimals;      // digits behind the point; negative = exponent form with that many decimals
    int DelimiterCode; // column delimiter (see DelimiterText)
};

// The one global instance; ResetTextFormatSettings() gives it its start values.
extern TextFormatRecord TextFormatSettings;
void ResetTextFormatSettings();

// ---- TextBuf members ------------------------------------------------------------------------------

template <int N> int TextBuf<N>::Len() const { return BufLen(c, N); }
template <int N> std::string_view TextBuf<N>::View() const { return BufView(c, N); }
template <int N> void TextBuf<N>::Set(std::string_view s) { BufAssign(s, c, N); }
