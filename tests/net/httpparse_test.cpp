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

// The rule at its edges: statuses around the success range, a header cut off, a failed write.
TEST(TransactionSucceeded, StatusHeaderEndWritesAndLength) {
    struct Case {
        int status;
        bool ended, writesOk;
        int64_t length, bytes; // length -1: no Content-Length
        bool success;
    };
    const Case cases[] = {
        {200, true, true, -1, 5, true},    {200, true, false, -1, 5, false}, {298, true, true, 10, 10, true},
        {200, false, true, 10, 10, false}, {299, true, true, -1, 0, false},
    };
    for (const Case& c : cases) {
        ResponseHeader h;
        h.Status = c.status;
        h.Ended = c.ended;
        h.HasContentLength = c.length >= 0;
        h.ContentLength = c.length >= 0 ? c.length : 0;
        EXPECT_EQ(TransactionSucceeded(h, c.writesOk, c.bytes), c.success) << c.status << " " << c.bytes;
    }
}

} // namespace
