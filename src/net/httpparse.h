// The HTTP client's text rules, apart from the sockets: the request URL taken apart (scheme, host,
// port, path), the request lines of a GET, the response's status line and header lines, the line
// boundaries in received bytes, the address a redirect goes to and the rule that makes a transaction
// a success. Portable, so the native build tests it and the fuzzer feeds it arbitrary bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A request URL taken apart. Error is empty, or the text of the error the client raises.
struct UrlParts {
    std::string Url;  // the URL, with "/" appended when it had no path
    std::string Path; // from the third "/" (with "//") or the first "/"; "/" when there is none
    std::string Host; // empty: the client keeps its Host
    int Port = 0;     // the port to connect to
    std::string Error;
};

// Takes the URL apart; port is the client's Port (0: chosen here). A scheme sets the port (gopher 70,
// ftp 21, others 80; https is refused), a host written name:port sets it from the number.
UrlParts ParseUrl(std::string_view url, int port);

// The request lines of a GET for the path on the host, without line ends.
std::vector<std::string> GetRequestLines(std::string_view path, std::string_view host);

// The response header as far as the client uses it.
struct ResponseHeader {
    int Status = 0;            // the status line's second field, 0 when not a number
    std::string Location;      // the last Location value, without line end
    std::string Cookie;        // the last Set-Cookie value, without line end
    int64_t ContentLength = 0; // 0 when none was sent
    bool HasContentLength = false;
    bool Ended = false;   // the empty line that ends the header arrived (not the end of data)
    bool TooLong = false; // the header passed MaxHeaderBytes before its end, and was read no further
};

// The most a response header may hold, status line included; a longer one fails the transaction, so
// a server that sends header lines without end cannot keep the client reading.
constexpr size_t MaxHeaderBytes = 100 * 1024;

// The status code of a status line ("HTTP/1.0 404 Not Found" gives 404).
int StatusOfLine(std::string_view line);
// One header line (with or without its line end) into the header: Set-Cookie, Location and
// Content-Length are taken, every other line is ignored; the line ends at its first CR or LF.
void TakeHeaderLine(std::string_view line, ResponseHeader& header);
// True for the empty line that ends the header ("\r\n", "\n"; also no text at all, the end of data).
bool IsHeaderEnd(std::string_view line);

// Bytes of data that belong to the line being read: up to and including the first line feed, and
// never more than room, what the line may still grow by.
size_t LineLength(std::string_view data, size_t room);

// The address a redirect goes to: the Location value, or, when that is neither a full address nor a
// path on the server, the value below the server's root (the port kept when it is not 80).
std::string RedirectTarget(std::string_view location, std::string_view host, int port);

// A response is a redirect (the transaction repeats) for status 299 to 399; the URL follows the
// Location for 300 to 302.
bool IsRedirectStatus(int status);
bool FollowsLocation(int status);
// Success: a whole header with status 200 to 298, every body write done, and exactly Content-Length
// bytes when it was sent.
bool TransactionSucceeded(const ResponseHeader& header, bool writesOk, int64_t bodyBytes);
// Why a transaction that did not succeed failed, for the status line: the header too long or cut
// short, a redirect that went round too often, a failed write, a body shorter or longer than its
// Content-Length. Empty for a success, and for an error status, which speaks for itself.
std::string FailureReason(const ResponseHeader& header, bool writesOk, int64_t bodyBytes);
