// The HTTP client's text rules: URL, request lines, status and header lines, redirects.
#include "net/httpparse.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t MaxPathLength = 256;

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::string_view WithoutLineEnd(std::string_view s) {
    while (!s.empty() && IsLineEnd(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Position of the n-th "/" (from 1), or npos.
size_t NthSlash(std::string_view s, int n) {
    size_t pos = std::string_view::npos;
    for (int i = 0; i < n; ++i) {
        pos = s.find('/', pos == std::string_view::npos ? 0 : pos + 1);
        if (pos == std::string_view::npos) break;
    }
    return pos;
}

// A port number of 1 to 5 digits; 0 for anything else (the connection then fails).
int PortNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return 0;
    int value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        value = value * 10 + (c - '0');
    }
    return value <= 65535 ? value : 0;
}

int SchemePort(std::string_view scheme, std::string& error) {
    std::string s(scheme);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (s == "gopher") return 70;
    if (s == "ftp") return 21;
    if (s == "https") error = "HTTP Secure Socket is not supported";
    return 80;
}

} // namespace

UrlParts ParseUrl(std::string_view url, int port) {
    UrlParts p;
    p.Url = std::string(url);
    p.Port = port == 0 ? 80 : port;
    if (url.empty()) {
        p.Error = "Empty URL";
        return p;
    }
    bool slashes = url.find("//") != std::string_view::npos;
    size_t pathStart = slashes ? NthSlash(url, 3) : url.find('/');
    if (pathStart != std::string_view::npos)
        p.Path = std::string(url.substr(pathStart, slashes ? MaxPathLength : url.size()));
    if (size_t colon = url.find(':'); colon != std::string_view::npos) {
        p.Port = SchemePort(url.substr(0, colon), p.Error);
        if (!p.Error.empty()) return p;
    }
    std::string_view host;
    if (slashes) {
        size_t second = NthSlash(url, 2);
        if (second != std::string_view::npos) host = url.substr(second + 1, NthSlash(url, 3) - second - 1);
    } else if (url.front() != '/') {
        host = url.substr(0, url.find('/'));
    }
    if (size_t colon = host.find(':'); colon != std::string_view::npos) {
        p.Port = PortNumber(host.substr(colon + 1));
        host = host.substr(0, colon);
    }
    p.Host = std::string(host);
    if (p.Path.empty()) {
        p.Path.push_back('/');
        p.Url.push_back('/');
    }
    return p;
}

std::vector<std::string> GetRequestLines(std::string_view path, std::string_view host) {
    return {"GET " + std::string(path) + " HTTP/1.0", "Host: " + std::string(host),
            "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff",
            "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript",
            "Content-type: application/x-www-form-urlencoded"};
}

int StatusOfLine(std::string_view line) {
    line = WithoutLineEnd(line);
    size_t start = line.find_first_of(" \t");
    if (start == std::string_view::npos) return 0;
    start = line.find_first_not_of(" \t", start);
    if (start == std::string_view::npos) return 0;
    size_t end = line.find_first_of(" \t", start);
    return PortNumber(line.substr(start, end == std::string_view::npos ? line.size() - start : end - start));
}

void TakeHeaderLine(std::string_view line, ResponseHeader& header) {
    // A lone CR ends the line too: a value never carries a line end into the next request.
    line = line.substr(0, std::min(line.find_first_of("\r\n"), line.size()));
    std::string word = Upper(line.substr(0, std::min(line.find_first_of(" \t"), line.size())));
    if (word == "SET-COOKIE:") {
        header.Cookie = std::string(line.size() > 12 ? line.substr(12) : std::string_view());
    } else if (word == "LOCATION:") {
        header.Location = std::string(TrimBlanks(line.size() > 10 ? line.substr(10) : std::string_view()));
    } else if (word == "CONTENT-LENGTH:") {
        std::string_view rest = TrimBlanks(line.substr(word.size()));
        int64_t value = 0;
        size_t digits = 0;
        // Digits beyond what any file can hold are not counted, so the value cannot overflow.
        for (; digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])); ++digits)
            if (value < (int64_t(1) << 56)) value = value * 10 + (rest[digits] - '0');
        header.HasContentLength = digits > 0;
        header.ContentLength = value;
    }
}

bool IsHeaderEnd(std::string_view line) {
    return line.empty() || line == "\r\n" || line == "\n";
}

size_t LineLength(std::string_view data, size_t room) {
    data = data.substr(0, std::min(data.size(), room));
    size_t lf = data.find('\n');
    return lf != std::string_view::npos ? lf + 1 : data.size();
}

std::string RedirectTarget(std::string_view location, std::string_view host, int port) {
    if (location.find("//") != std::string_view::npos || (!location.empty() && location.front() == '/'))
        return std::string(location);
    std::string target = "http://";
    target.append(host);
    if (port != 80) target.append(":").append(std::to_string(port));
    return target.append("/").append(location);
}

bool IsRedirectStatus(int status) {
    return status >= 299 && status <= 399;
}

bool FollowsLocation(int status) {
    return status >= 300 && status <= 302;
}

bool TransactionSucceeded(const ResponseHeader& header, bool writesOk, int64_t bodyBytes) {
    bool statusOk = header.Status >= 200 && header.Status <= 298;
    return statusOk && header.Ended && writesOk &&
           (!header.HasContentLength || bodyBytes == header.ContentLength);
}

std::string FailureReason(const ResponseHeader& header, bool writesOk, int64_t bodyBytes) {
    if (header.TooLong) return "response header over 100 KB";
    if (!header.Ended) return "response header cut short";
    if (IsRedirectStatus(header.Status)) return "too many redirects";
    if (header.Status < 200 || header.Status > 298) return "";
    if (!writesOk) return "file not written";
    if (header.HasContentLength && bodyBytes < header.ContentLength) return "body cut short";
    if (header.HasContentLength && bodyBytes > header.ContentLength)
        return "body longer than its Content-Length";
    return "";
}
