// The HTTP client's text rules: URLs, status and header lines, redirect targets and the success rule.
#include <gtest/gtest.h>

#include <string>

#include "net/httpparse.h"

namespace {

TEST(ParseUrl, SchemeHostPortAndPath) {
    struct Case {
        const char* url;
        int port;
        const char *host, *path, *fullUrl;
        int wantPort;
    };
    const Case cases[] = {
        {"http://www.site.example/dir/file.exe", 0, "www.site.example", "/dir/file.exe",
         "http://www.site.example/dir/file.exe", 80},
        {"http://localhost:8080/a", 0, "localhost", "/a", "http://localhost:8080/a", 8080},
        {"www.site.example", 0, "www.site.example", "/", "www.site.example/", 80},
        {"/only/a/path", 8080, "", "/only/a/path", "/only/a/path", 8080}, // port and host kept
        {"http://h.example:99999/", 0, "h.example", "/", "http://h.example:99999/", 0},
    };
    for (const Case& c : cases) {
        UrlParts p = ParseUrl(c.url, c.port);
        EXPECT_EQ(p.Error, "") << c.url;
        EXPECT_EQ(p.Host, c.host) << c.url;
        EXPECT_EQ(p.Path, c.path) << c.url;
        EXPECT_EQ(p.Url, c.fullUrl) << c.url;
        EXPECT_EQ(p.Port, c.wantPort) << c.url;
    }
    EXPECT_EQ(ParseUrl("http://h/" + std::string(300, 'p'), 0).Path.size(), 256u);
}

TEST(ResponseHeader, StatusAndTheThreeFieldsTaken) {
    EXPECT_EQ(StatusOfLine("HTTP/1.0 404 Not Found\r\n"), 404);
    EXPECT_EQ(StatusOfLine("garbage"), 0);

    ResponseHeader h;
    TakeHeaderLine("location: /support/new.exe \r\n", h);
    TakeHeaderLine("CONTENT-LENGTH: 1234\r\n", h);
    EXPECT_EQ(h.Location, "/support/new.exe");
    ResponseHeader crInside;
    TakeHeaderLine("Location: /a.exe\rGET /b\r\n", crInside);
    EXPECT_EQ(crInside.Location, "/a.exe"); // no line end reaches the next request
    EXPECT_TRUE(h.HasContentLength);
    EXPECT_EQ(h.ContentLength, 1234);
    TakeHeaderLine("Content-Length: 99999999999999999999999999\r\n", h);
    EXPECT_GT(h.ContentLength, 0); // held in range, never wrapped
    EXPECT_TRUE(IsHeaderEnd("\r\n") && IsHeaderEnd("\n") && IsHeaderEnd("") && !IsHeaderEnd("\r\nx"));
}

TEST(RedirectTarget, RelativeLocationsStayOnTheServer) {
    EXPECT_EQ(RedirectTarget("sub/file.exe", "h", 8080), "http://h:8080/sub/file.exe");
}

// The rule at its edges, and the reason each failure gives: statuses around the success range, a
// header cut off or too long, a failed write, a body shorter or longer than it was announced.
TEST(TransactionSucceeded, StatusHeaderEndWritesAndLength) {
    struct Case {
        int status;
        bool ended, tooLong, writesOk;
        int64_t length, bytes; // length -1: no Content-Length
        bool success;
        const char* reason;
    };
    const Case cases[] = {
        {200, true, false, true, -1, 5, true, ""},
        {200, true, false, false, -1, 5, false, "file not written"},
        {298, true, false, true, 10, 10, true, ""},
        {200, true, false, true, 10, 9, false, "body cut short"},
        {200, true, false, true, 10, 11, false, "body longer than its Content-Length"},
        {200, false, false, true, 10, 10, false, "response header cut short"},
        {200, false, true, true, -1, 0, false, "response header over 100 KB"},
        {299, true, false, true, -1, 0, false, "too many redirects"},
        {404, true, false, false, 10, 0, false, ""}, // the status speaks for itself
    };
    for (const Case& c : cases) {
        ResponseHeader h;
        h.Status = c.status;
        h.Ended = c.ended;
        h.TooLong = c.tooLong;
        h.HasContentLength = c.length >= 0;
        h.ContentLength = c.length >= 0 ? c.length : 0;
        EXPECT_EQ(TransactionSucceeded(h, c.writesOk, c.bytes), c.success) << c.status << " " << c.bytes;
        EXPECT_EQ(FailureReason(h, c.writesOk, c.bytes), c.reason) << c.status << " " << c.bytes;
    }
}

// A line ends at its line feed, or where the room left for it ends.
TEST(LineLength, UpToTheLineFeedOrTheRoomLeft) {
    EXPECT_EQ(LineLength("ab\ncd", 10), 3u);
    EXPECT_EQ(LineLength("ab\ncd", 2), 2u);
    EXPECT_EQ(LineLength("abcd", 10), 4u);
}

} // namespace
