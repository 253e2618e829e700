// Text buffers: bounded length, copying, cutting, trimming, searching, the tokenizer and line splitting.
// Every function here clips its positions to the buffer it is given and moves text with memmove, so a
// source may overlap its target (a call may take its input from the very buffer it writes).
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>

#include "lib/strnum.h"
#include "lib/strnum_detail.h"

namespace textdetail {

int Room(int n) {
    return n < 0 ? 0 : (n >= INT_MAX - 1 ? INT_MAX - 1 : n + 1);
}

void Store(std::string_view s, char* buf, int n) {
    int room = Room(n);
    if (room == 0) return;
    int len = static_cast<int>(std::min<size_t>(s.size(), static_cast<size_t>(room)));
    if (len > 0) std::memmove(buf, s.data(), static_cast<size_t>(len));
    if (len < room) buf[len] = 0;
}

void StoreJustified(std::string_view text, int width, char* buf, int n) {
    int room = Room(n);
    if (room == 0) return;
    long long len = static_cast<long long>(text.size());
    int pad = width > len ? static_cast<int>(std::min<long long>(width - len, room)) : 0;
    int take = static_cast<int>(std::min<long long>(len, room - pad));
    if (take > 0) std::memmove(buf + pad, text.data(), static_cast<size_t>(take));
    if (pad > 0) std::memset(buf, ' ', static_cast<size_t>(pad));
    if (pad + take < room) buf[pad + take] = 0;
}

bool Overlaps(std::string_view s, const char* buf, int n) {
    if (s.empty() || Room(n) == 0) return false;
    std::less<const char*> before;
    return before(s.data(), buf + Room(n)) && before(buf, s.data() + s.size());
}

} // namespace textdetail

using namespace textdetail;

namespace {

// Shortens the text from oldLen to newLen characters, zeroing what was freed.
void ShrinkTo(char* buf, int oldLen, int newLen) {
    if (newLen < oldLen) std::memset(buf + newLen, 0, static_cast<size_t>(oldLen - newLen));
}

bool IsTokenDelimiter(char c, bool comma) {
    return c == 0 || c == 3 || c == '\t' || c == ' ' || c == '/' || c == ';' || (comma && c == ',');
}

} // namespace

namespace textdetail {

TokenSpan FindToken(const char* buf, int len, bool comma) {
    TokenSpan t;
    int i = 0;
    while (i < len && IsTokenDelimiter(buf[i], comma)) ++i;
    t.begin = i;
    while (i < len && !IsTokenDelimiter(buf[i], comma)) ++i;
    t.end = i;
    while (i < len && IsTokenDelimiter(buf[i], comma)) ++i;
    t.rest = i;
    return t;
}

} // namespace textdetail

int BufLen(const char* buf, int n) {
    int room = Room(n);
    if (room == 0 || buf == nullptr) return 0;
    const void* nul = std::memchr(buf, 0, static_cast<size_t>(room));
    return nul ? static_cast<int>(static_cast<const char*>(nul) - buf) : room;
}

std::string_view BufView(const char* buf, int n) {
    int len = BufLen(buf, n);
    return len ? std::string_view(buf, static_cast<size_t>(len)) : std::string_view();
}

void BufCut(bool clearIfNegative, int pos, char* buf, int n) {
    if (n < 0) return;
    if (pos >= 0 && pos <= n)
        buf[pos] = 0;
    else if (pos < 0 && clearIfNegative)
        buf[0] = 0;
}

void BufCopy(const char* src, int srcN, char* dst, int dstN) {
    int room = Room(dstN);
    if (room == 0) return;
    int len = std::min(BufLen(src, srcN), room);
    if (len > 0) std::memmove(dst, src, static_cast<size_t>(len));
    std::memset(dst + len, 0, static_cast<size_t>(room - len));
}

void BufCopyZ(const char* src, int srcN, char* dst, int dstN) {
    BufCopy(src, srcN, dst, dstN);
    if (dstN >= 0) dst[Room(dstN) - 1] = 0;
}

void BufFromPChar(const char* z, char* dst, int n) {
    int room = Room(n);
    if (room == 0) return;
    size_t len = z ? strnlen(z, static_cast<size_t>(room)) : 0;
    Store(std::string_view(z ? z : "", len), dst, n);
}

void BufPutAt(char* dst, int n, std::string_view s, int offset) {
    long long room = Room(n);
    long long first = std::max<long long>(offset, 0);
    long long last =
        std::min<long long>(static_cast<long long>(offset) + static_cast<long long>(s.size()), room);
    if (first >= last) return;
    std::memmove(dst + first, s.data() + (first - offset), static_cast<size_t>(last - first));
}

void BufSub(const char* src, int srcN, int start, int count, char* dst, int dstN) {
    int room = Room(dstN);
    if (room == 0) return;
    int len = BufLen(src, srcN);
    int take = 0;
    if (start >= 0 && count >= 1 && start < len) take = std::min({count, len - start, room});
    if (take > 0) std::memmove(dst, src + start, static_cast<size_t>(take));
    std::memset(dst + take, 0, static_cast<size_t>(room - take));
}

void BufDelete(char* buf, int n, int start, int count) {
    int len = BufLen(buf, n);
    if (start < 0 || count < 1 || start >= len) return;
    count = std::min(count, len - start);
    std::memmove(buf + start, buf + start + count, static_cast<size_t>(len - start - count));
    ShrinkTo(buf, len, len - count);
}

void BufAssign(std::string_view s, char* buf, int n) {
    Store(s, buf, n);
}

void BufConcat2(std::string_view a, std::string_view b, char* buf, int n) {
    BufConcat3(a, b, {}, buf, n);
}

void BufConcat3(std::string_view a, std::string_view b, std::string_view c, char* buf, int n) {
    if (Room(n) == 0) return;
    if (Overlaps(a, buf, n) || Overlaps(b, buf, n) || Overlaps(c, buf, n)) {
        std::string joined;
        joined.reserve(a.size() + b.size() + c.size());
        joined.append(a).append(b).append(c);
        Store(joined, buf, n);
        return;
    }
    int pos = 0;
    buf[0] = 0;
    BufAppend(a, buf, pos, n);
    BufAppend(b, buf, pos, n);
    BufAppend(c, buf, pos, n);
}

void BufAppend(std::string_view src, char* dst, int& pos, int n) {
    int room = Room(n);
    if (pos < 0) pos = 0;
    if (pos >= room) return;
    int take = static_cast<int>(std::min<size_t>(src.size(), static_cast<size_t>(room - pos)));
    if (take > 0) std::memmove(dst + pos, src.data(), static_cast<size_t>(take));
    pos += take;
    if (pos < room) dst[pos] = 0;
}

char BufCharAt(int index, const char* buf, int n) {
    return (index >= 0 && index < Room(n)) ? buf[index] : 0;
}

void BufReplaceChar(char from, char to, char* buf, int n) {
    int len = BufLen(buf, n);
    for (int i = 0; i < len; ++i)
        if (buf[i] == from) buf[i] = to;
}

void BufRemoveBlanks(char* buf, int n) {
    int len = BufLen(buf, n);
    int out = 0;
    for (int i = 0; i < len; ++i)
        if (buf[i] != ' ') buf[out++] = buf[i];
    ShrinkTo(buf, len, out);
}

void BufTrim(int mode, char* buf, int n) {
    int len = BufLen(buf, n);
    int begin = 0;
    int end = len;
    if (mode != 2)
        while (begin < end && buf[begin] == ' ') ++begin;
    if (mode >= 2)
        while (end > begin && buf[end - 1] == ' ') --end;
    int out = 0;
    for (int i = begin; i < end; ++i) {
        if (mode == 4 && buf[i] == ' ' && out > 0 && buf[out - 1] == ' ') continue;
        buf[out++] = buf[i];
    }
    ShrinkTo(buf, len, out);
}

void BufTrimRightCtl(char* buf, int n) {
    int room = Room(n);
    int len = BufLen(buf, n);
    while (len > 0 && static_cast<unsigned char>(buf[len - 1]) <= 32) --len;
    if (len < room) std::memset(buf + len, 0, static_cast<size_t>(room - len));
}

void BufPadLeft(int width, char fill, char* buf, int n) {
    int len = BufLen(buf, n);
    int target = std::min(width, Room(n));
    if (target <= len) return;
    std::memmove(buf + (target - len), buf, static_cast<size_t>(len));
    std::memset(buf, fill, static_cast<size_t>(target - len));
    if (target < Room(n)) buf[target] = 0;
}

void BufPadRight(int width, char fill, char* buf, int n) {
    int len = BufLen(buf, n);
    int target = std::min(width, Room(n));
    if (target <= len) return;
    std::memset(buf + len, fill, static_cast<size_t>(target - len));
    if (target < Room(n)) buf[target] = 0;
}

int BufFindChar(int start, bool backwards, char ch, const char* buf, int n) {
    int len = BufLen(buf, n);
    if (backwards) {
        if (start < 0) start = len - 1;
        if (start >= len) return NotFound;
        for (int i = start; i >= 0; --i)
            if (buf[i] == ch) return i;
        return NotFound;
    }
    for (int i = std::max(start, 0); i < len; ++i)
        if (buf[i] == ch) return i;
    return NotFound;
}

// An empty search text is found nowhere, so search loops cannot stall on it.
int StrPos(std::string_view sub, std::string_view s) {
    if (sub.empty()) return -1;
    size_t at = s.find(sub);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int StrFind(int start, bool backwards, bool ignoreCase, std::string_view sub, std::string_view s) {
    if (sub.empty() || sub.size() > s.size()) return -2;
    long long lastStart = static_cast<long long>(s.size() - sub.size()); // 0-based
    auto matchesAt = [&](long long i) {
        for (size_t k = 0; k < sub.size(); ++k) {
            char a = s[static_cast<size_t>(i) + k];
            char b = sub[k];
            if (ignoreCase ? UpperAscii(a) != UpperAscii(b) : a != b) return false;
        }
        return true;
    };
    if (backwards) {
        long long from = start <= 0 ? lastStart : std::min<long long>(start - 1LL, lastStart);
        for (long long i = from; i >= 0; --i)
            if (matchesAt(i)) return static_cast<int>(i + 1);
        return -2;
    }
    for (long long i = std::max(start, 1) - 1LL; i <= lastStart; ++i)
        if (matchesAt(i)) return static_cast<int>(i + 1);
    return -2;
}

bool StrContains(std::string_view sub, const char* buf, int n) {
    return StrPos(sub, BufView(buf, n)) >= 0;
}

namespace {

int CompareTexts(std::string_view a, std::string_view b, bool fold) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        auto x = static_cast<unsigned char>(fold ? UpperAscii(a[i]) : a[i]);
        auto y = static_cast<unsigned char>(fold ? UpperAscii(b[i]) : b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

int BufCompare(std::string_view s, const char* buf, int n) {
    return CompareTexts(s, BufView(buf, n), false);
}

int BufCompareText(std::string_view s, const char* buf, int n) {
    return CompareTexts(s, BufView(buf, n), true);
}

void BufNextToken(bool exact, bool comma, const char* buf, int n, char* token, int tokenN, char* rest,
                  int restN) {
    int len = BufLen(buf, n);
    TokenSpan t = FindToken(buf, len, comma);
    std::string_view tokenText;
    std::string_view restText;
    if (t.begin < len) {
        int from = exact ? t.begin : 0;
        tokenText = std::string_view(buf + from, static_cast<size_t>(t.end - from));
        if (t.rest < len) restText = std::string_view(buf + t.rest, static_cast<size_t>(len - t.rest));
    }
    // Whichever target overlaps the source is written last, so the other one still reads intact text.
    if (Overlaps(std::string_view(buf, static_cast<size_t>(len)), rest, restN) &&
        Overlaps(std::string_view(buf, static_cast<size_t>(len)), token, tokenN)) {
        std::string keepToken(tokenText);
        Store(restText, rest, restN);
        Store(keepToken, token, tokenN);
    } else if (Overlaps(std::string_view(buf, static_cast<size_t>(len)), rest, restN)) {
        Store(tokenText, token, tokenN);
        Store(restText, rest, restN);
    } else {
        Store(restText, rest, restN);
        Store(tokenText, token, tokenN);
    }
}

void BufSplitAt(char ch, char* buf, int n, char* field, int fieldN) {
    int len = BufLen(buf, n);
    const void* hit = len ? std::memchr(buf, ch, static_cast<size_t>(len)) : nullptr;
    if (hit == nullptr) {
        Store(std::string_view(buf, static_cast<size_t>(len)), field, fieldN);
        ShrinkTo(buf, len, 0);
        return;
    }
    int k = static_cast<int>(static_cast<const char*>(hit) - buf);
    if (k == 0) {
        Store({}, field, fieldN);
        ShrinkTo(buf, len, 0);
        return;
    }
    Store(std::string_view(buf, static_cast<size_t>(k)), field, fieldN);
    BufDelete(buf, n, 0, k + 1);
}

void BufCutComment(char* buf, int n) {
    int len = BufLen(buf, n);
    int cut = -1;
    for (int i = 0; i < len; ++i) {
        if (buf[i] != '*') continue;
        cut = i;
        if (i > 0 && buf[i - 1] == ' ') break;
    }
    if (cut >= 0) buf[cut] = 0;
    BufTrimRightCtl(buf, n);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += "\r\n";
        out += lines[i];
    }
    return out;
}

// A line ends at a carriage return; a line feed right after it is skipped. A lone carriage return
// ends a line too, and the character after it then starts the next one.
std::string NextLine(std::string_view s, int& pos) {
    if (pos < 1 || static_cast<size_t>(pos) > s.size()) {
        pos = -1;
        return {};
    }
    size_t from = static_cast<size_t>(pos) - 1;
    size_t end = s.find_first_of(std::string_view("\r\n\x1a", 3), from);
    if (end == std::string_view::npos) {
        pos = 0;
        return std::string(s.substr(from));
    }
    // An LF right behind a CR is its partner; any other character begins the next line.
    size_t next = end + 1;
    if (s[end] == '\r' && next < s.size() && s[next] == '\n') ++next;
    pos = next >= s.size() ? 0 : static_cast<int>(next) + 1;
    return std::string(s.substr(from, end - from));
}
