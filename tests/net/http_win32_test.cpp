// The HTTP client against a real server on 127.0.0.1: bodies with and without Content-Length, error
// pages, redirects, a body cut short, the request it sends, and the errors it raises before, while
// and instead of connecting.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/msg.h"
#include "net/http_win32.h"
#include "support/http_server_win32.h"
#include "support/temp_dir.h"

using testsupport::HttpTestServer;
using testsupport::Reply;

namespace {

class HttpClientTest : public testing::Test {
  protected:
    void SetUp() override {
        web.InputFileMode = true;
        web.OutputFileMode = true;
        web.Body = dir / "body.bin";
        web.Header = dir / "Head.txt";
        web.OnSuccess = [this](int) { events.push_back("success"); };
        web.OnFailure = [this](int) { events.push_back("failure"); };
        web.OnConnectionFailed = [this] { events.push_back("connection failed"); };
    }
    // The text of the error Get raises, or "" when it raises none.
    std::string RaisedBy(const std::string& url) {
        try {
            web.Get(url);
        } catch (const NetError& error) {
            return error.what();
        }
        return "";
    }

    HttpTestServer server;
    testsupport::TempDir dir{"http"};
    HttpClient web;
    std::vector<std::string> events;
};

TEST_F(HttpClientTest, BodiesErrorPagesAndRedirects) {
    std::string big(300000, 'x');
    for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>(i % 251);
    server.Route("/len", testsupport::OkReply(big));
    server.Route("/nolen", testsupport::OkReply("no length given", false));
    Reply cut = testsupport::OkReply(big);
    cut.BodyBytes = 100000;
    server.Route("/cut", cut);
    server.Route("/r301", testsupport::RedirectReply(301, "/len"));
    server.Route("/r302", testsupport::RedirectReply(302, server.Base() + "/nolen"));
    server.Route("/loop", testsupport::RedirectReply(302, "/loop"));
    // A header line longer than the receive buffer arrives in pieces, never stalls.
    server.Route(
        "/longhead",
        {"HTTP/1.0 200 OK\r\nX-Filler: " + std::string(70000, 'f') + "\r\nContent-Length: 2\r\n", "ok"});

    struct Case {
        const char* path;
        const char* event;
        std::string body;
        size_t requests;
    };
    const Case cases[] = {
        {"/len", "success", big, 1},
        {"/nolen", "success", "no length given", 1},
        {"/missing", "failure", "<html><body>Not Found</body></html>", 1},
        {"/cut", "failure", big.substr(0, 100000), 1}, // never a success for a package cut short
        {"/r301", "success", big, 2},
        {"/r302", "success", "no length given", 2},
        {"/loop", "failure", "moved", 11}, // ten repeats, then it gives up
        {"/longhead", "success", "ok", 1},
    };
    size_t before = 0;
    for (const Case& c : cases) {
        events.clear();
        EXPECT_EQ(RaisedBy(server.Base() + c.path), "") << c.path;
        EXPECT_EQ(events, std::vector<std::string>{c.event}) << c.path;
        EXPECT_TRUE(dir.Read("body.bin") == c.body) << c.path;
        EXPECT_EQ(server.Requests().size() - before, c.requests) << c.path;
        before = server.Requests().size();
    }
}

TEST_F(HttpClientTest, SendsTheRequestLinesForTheUrlsPath) {
    server.Route("/", testsupport::OkReply("root"));
    EXPECT_EQ(RaisedBy(server.Base()), "");
    EXPECT_EQ(dir.Read("body.bin"), "root");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n"
              "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
              "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
              "Content-type: application/x-www-form-urlencoded\r\n\r\n");
    EXPECT_EQ(web.Url, server.Base() + "/");
}

TEST_F(HttpClientTest, RaisesBeforeWhileAndInsteadOfConnecting) {
    EXPECT_EQ(RaisedBy("https://127.0.0.1:" + std::to_string(server.Port()) + "/x"),
              "HTTP Secure Socket is not supported");
    EXPECT_EQ(RaisedBy(""), "Empty URL");
    EXPECT_TRUE(server.Requests().empty());

    EXPECT_EQ(RaisedBy("http://127.0.0.1:" + std::to_string(HttpTestServer::ClosedPort()) + "/x"),
              "10061:Connection refused");
    EXPECT_EQ(events, std::vector<std::string>{"connection failed"});
    EXPECT_EQ(RaisedBy("http://no-such-host.invalid/x"), "11001:Host not found");

    // A server that never answers: the time-out ends the wait for the status line.
    Reply silent;
    silent.Silent = true;
    server.Route("/silent", silent);
    web.TimeOut = 300;
    uint32_t start = TickCount();
    EXPECT_EQ(RaisedBy(server.Base() + "/silent"), "Socket readln aborted");
    EXPECT_TRUE(web.TimedOut);
    EXPECT_LT(TicksSince(start), 5000u);
    // The client is ready for the next transaction.
    server.Route("/after", testsupport::OkReply("fine"));
    EXPECT_EQ(RaisedBy(server.Base() + "/after"), "");
    EXPECT_EQ(dir.Read("body.bin"), "fine");
}

} // namespace
