// Case-blind text as file and settings names compare: only "a".."z" fold. Header-only, so that
// UnZip32.DLL, which links none of the library, matches member names by the very same rules.
#pragma once

#include <string_view>

inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

// Whole-name match: "*" any run of characters, "?" any one. Greedy, stepping back to the last "*"
// only: time stays in proportion to pattern times name, never exponential.
inline bool WildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase) {
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    auto same = [ignoreCase](char a, char b) { return ignoreCase ? UpperAscii(a) == UpperAscii(b) : a == b; };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
