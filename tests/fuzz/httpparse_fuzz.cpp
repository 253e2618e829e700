// The HTTP client's text rules under arbitrary bytes: the input is a URL, and the same bytes are a
// response cut into lines. Checks: a parsed URL parses again to the same parts, the path always
// starts with "/", the host holds no separator, lines cover the input exactly and never pass the room
// given, the header values stay in range, and a whole header succeeds exactly for a success status.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "net/httpparse.h"

namespace {

void CheckUrl(std::string_view url, int port) {
    UrlParts parts = ParseUrl(url, port);
    if (!parts.Error.empty()) return;
    Check(!parts.Path.empty() && parts.Path.front() == '/');
    Check(parts.Host.find_first_of("/:") == std::string::npos);
    Check(parts.Port >= 0 && parts.Port <= 65535);
    UrlParts again = ParseUrl(parts.Url, parts.Port);
    Check(again.Error.empty() && again.Path == parts.Path && again.Host == parts.Host &&
          again.Port == parts.Port);
    std::string target = RedirectTarget(url, parts.Host.empty() ? "h" : parts.Host, parts.Port);
    Check(target.find(url) != std::string::npos);
}

void CheckResponse(std::string_view data) {
    ResponseHeader header;
    const size_t whole = data.size();
    size_t total = 0;
    bool first = true;
    const size_t room = 1 + whole % 97; // lines longer than this are taken in pieces
    while (!data.empty()) {
        size_t length = LineLength(data, room);
        Check(length > 0 && length <= data.size() && length <= room);
        std::string_view line = data.substr(0, length);
        Check(line.find('\n') == std::string_view::npos || line.find('\n') == length - 1);
        if (first)
            header.Status = StatusOfLine(line);
        else
            TakeHeaderLine(line, header);
        first = false;
        total += length;
        data.remove_prefix(length);
    }
    Check(total == whole);
    Check(header.Status >= 0 && header.Status <= 65535);
    Check(header.ContentLength >= 0);
    Check(header.Location.find_first_of("\r\n") == std::string::npos);
    header.Ended = true;
    bool succeeded = TransactionSucceeded(header, true, header.ContentLength);
    Check(succeeded == (header.Status >= 200 && header.Status <= 298));
    Check(!succeeded || FailureReason(header, true, header.ContentLength).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    int port = size > 0 ? data[0] * 257 % 65536 : 0;
    CheckUrl(text, port);
    CheckUrl(text.substr(size > 0 ? 1 : 0), 0);
    CheckResponse(text);
    return 0;
}
