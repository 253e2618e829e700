// The HTTP client against a real server on 127.0.0.1: bodies with and without Content-Length,
// redirects, long header lines, servers that misbehave, file faults during a download, the request it
// sends, and the errors it raises before, while and instead of connecting.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/msg.h"
#include "net/http_win32.h"
#include "support/emulated_win32.h"
#include "support/fault_loop.h"
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

TEST_F(HttpClientTest, BodiesRedirectsAndLongHeaderLines) {
    std::string big(300000, 'x');
    for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>(i % 251);
    server.Route("/len", testsupport::OkReply(big));
    server.Route("/nolen", testsupport::OkReply("no length given", false));
    server.Route("/r301", testsupport::RedirectReply(301, "/len"));
    server.Route("/r302", testsupport::RedirectReply(302, server.Base() + "/nolen"));
    // A header line longer than the receive buffer (and than what the system holds) is read whole.
    server.Route(
        "/longhead",
        {"HTTP/1.0 200 OK\r\nX-Filler: " + std::string(70000, 'f') + "\r\nContent-Length: 2\r\n", "ok"});

    struct Case {
        const char* path;
        std::string body;
        size_t requests;
    };
    const Case cases[] = {
        {"/len", big, 1},       {"/nolen", "no length given", 1},
        {"/r301", big, 2},      {"/r302", "no length given", 2},
        {"/longhead", "ok", 1},
    };
    size_t before = 0;
    for (const Case& c : cases) {
        events.clear();
        EXPECT_EQ(RaisedBy(server.Base() + c.path), "") << c.path;
        EXPECT_EQ(events, std::vector<std::string>{"success"}) << c.path;
        EXPECT_TRUE(dir.Read("body.bin") == c.body) << c.path;
        EXPECT_EQ(server.Requests().size() - before, c.requests) << c.path;
        before = server.Requests().size();
    }
    EXPECT_NE(dir.Read("Head.txt").find("X-Filler: fff"), std::string::npos);
}

HttpClient* canceled = nullptr;
void CALLBACK CancelNow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    canceled->Abort();
}

// Whatever a server does wrong, the transaction ends promptly in a failure that says why (a silent
// server in the error its cancel raises), the earlier file of the name keeps every byte, the header
// file is replaced only by a whole header, and no temporary file is left.
TEST_F(HttpClientTest, MisbehavingServersFailAndLeaveTheEarlierFile) {
    std::string body(100000, 'b');
    Reply cut = testsupport::OkReply(body);
    cut.BodyBytes = 60000;
    Reply longer = testsupport::OkReply(body);
    longer.Body += std::string(200000, '+');
    Reply cutHead = testsupport::OkReply(body);
    cutHead.CutHead = true;
    Reply endless = testsupport::OkReply(body);
    endless.EndlessHead = true;
    Reply bigLine{"HTTP/1.0 200 OK\r\nX-Filler: " + std::string(200000, 'f') + "\r\nContent-Length: 2\r\n",
                  "ok"};
    Reply silent;
    silent.Silent = true;
    struct Case {
        const char* path;
        Reply reply;
        const char *failure, *raised; // FailureText after OnFailure; the error raised instead
        bool headWhole;               // the header file is the new one
        size_t requests;
    };
    const Case cases[] = {
        {"/missing", testsupport::StatusReply(404, "gone"), "", "", true, 1},
        {"/cut", cut, "body cut short", "", true, 1},
        {"/longer", longer, "body longer than its Content-Length", "", true, 1},
        {"/bigline", bigLine, "response header over 100 KB", "", false, 1},
        {"/endless", endless, "response header over 100 KB", "", false, 1},
        {"/loop", testsupport::RedirectReply(302, "/loop"), "too many redirects", "", true, 11},
        {"/cuthead", cutHead, "response header cut short", "", false, 1},
        {"/silent", silent, "", "Socket readln aborted", false, 1},
    };
    canceled = &web;
    for (const Case& c : cases) {
        server.Route(c.path, c.reply);
        dir.Write("body.bin", "the earlier file");
        dir.Write("Head.txt", "the earlier header");
        events.clear();
        size_t before = server.Requests().size();
        UINT_PTR timer = *c.raised ? SetTimer(nullptr, 0, 300, CancelNow) : 0;
        uint32_t start = TickCount();
        EXPECT_EQ(RaisedBy(server.Base() + c.path), c.raised) << c.path;
        EXPECT_LT(TicksSince(start), 10000u) << c.path;
        if (timer) KillTimer(nullptr, timer);
        EXPECT_EQ(events, *c.raised ? std::vector<std::string>{} : std::vector<std::string>{"failure"})
            << c.path;
        EXPECT_EQ(web.FailureText, c.failure) << c.path;
        EXPECT_EQ(dir.Read("body.bin"), "the earlier file") << c.path;
        EXPECT_EQ(dir.Read("Head.txt").rfind("HTTP/1.0 ", 0) == 0, c.headWhole) << c.path;
        EXPECT_TRUE(testsupport::TempFilesIn(dir.Path()).empty()) << c.path;
        EXPECT_EQ(server.Requests().size() - before, c.requests) << c.path;
    }
    // The client is ready for the next transaction.
    server.Route("/after", testsupport::OkReply("fine"));
    EXPECT_EQ(RaisedBy(server.Base() + "/after"), "");
    EXPECT_EQ(dir.Read("body.bin"), "fine");
}

// A download replaces an earlier file of its name whole or not at all, whatever file operation fails
// (the body's and the header file's): the old bytes or the new, success reported exactly when the new
// file is there, no temporary file, and the next download works. The body fits one write-behind buffer,
// so every run makes the same operations.
TEST_F(HttpClientTest, DownloadReplacesTheEarlierFileWholeOrNotAtAll) {
    std::string fresh(40000, 'n');
    for (size_t i = 0; i < fresh.size(); i += 13) fresh[i] = static_cast<char>(i % 253);
    server.Route("/package", testsupport::OkReply(fresh));
    const std::string old = "the earlier package", oldHead = "the earlier header";
    int positions = testsupport::ForEachFault(
        [&] {
            dir.Write("body.bin", old);
            dir.Write("Head.txt", oldHead);
            events.clear();
            EXPECT_EQ(RaisedBy(server.Base() + "/package"), "");
        },
        [&](int position, FsError) {
            std::string now = dir.Read("body.bin"), head = dir.Read("Head.txt");
            EXPECT_TRUE(now == fresh || now == old);
            EXPECT_EQ(events, std::vector<std::string>{now == fresh ? "success" : "failure"});
            EXPECT_EQ(web.FailureText, now == fresh ? "" : "file not written");
            EXPECT_TRUE(head == oldHead || head.find("\r\nContent-Length: 40000\r\n") != std::string::npos)
                << head;
            EXPECT_TRUE(position > 0 || (now == fresh && head != oldHead));
            EXPECT_TRUE(testsupport::TempFilesIn(dir.Path()).empty());
        });
    EXPECT_GE(positions, 8); // create, write, close and put in place, for the header file and the body
}

// The 95 family puts a file in place in three moves: the same download runs there in an emulated child.
TEST(HttpClient95, DownloadReplacesWholeOnThe95FamilyToo) {
    if (!testsupport::EmulatedVersion().empty()) GTEST_SKIP() << "the emulated child runs the download";
    EXPECT_EQ(testsupport::RunTestsEmulated("win95",
                                            "HttpClientTest.DownloadReplacesTheEarlierFileWholeOrNotAtAll"),
              0);
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
