// Helpers shared by the text-buffer and number-text units; not part of the library's interface.
#pragma once

#include <string_view>

#include "lib/textfold.h"

namespace textdetail {

// Characters a buffer of highest index n holds: 0 for a negative n.
int Room(int n);
// buf := s, cut at the buffer; a NUL follows when shorter. s may lie inside buf.
void Store(std::string_view s, char* buf, int n);
// text right-justified with blanks in width, then cut at the buffer (the left part is kept).
void StoreJustified(std::string_view text, int width, char* buf, int n);
// True when s shares memory with the buffer's 0..n.
bool Overlaps(std::string_view s, const char* buf, int n);

// Where the first token of a text of len characters lies: delimiters are skipped up to begin, the
// token runs to end, and the delimiters after it end at rest.
struct TokenSpan {
    int begin = 0;
    int end = 0;
    int rest = 0;
};
TokenSpan FindToken(const char* buf, int len, bool comma);

} // namespace textdetail
