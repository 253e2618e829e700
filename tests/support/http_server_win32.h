// A small HTTP server on 127.0.0.1 for the client's tests, on a port the system picks, serving fixed
// replies by path from a thread of its own. A reply is raw bytes, so it may misbehave on purpose:
// leave out Content-Length, close in the middle of the body, send more than it announced, trickle the
// body, send header lines without end, close inside the header or never answer.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct Reply {
    std::string Head; // status line and header lines, each ended by CR LF, without the empty line
    std::string Body;
    int64_t BodyBytes = -1;   // bytes of Body to send before closing (-1: all)
    int PieceDelayMs = 0;     // a pause after each 4 KiB piece of the body
    bool Silent = false;      // accepts the request and never answers
    bool EndlessHead = false; // after Head, header lines for as long as the client takes them
    bool CutHead = false;     // closes after Head, before the empty line that ends the header
};

Reply OkReply(const std::string& body, bool withLength = true);
Reply StatusReply(int status, const std::string& body);
Reply RedirectReply(int status, const std::string& location);
Reply FileReply(const std::string& path); // 200 with the file's bytes

class HttpTestServer {
  public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int Port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void Route(const std::string& path, const Reply& reply); // other paths answer 404
    std::vector<std::string> Requests() const;               // each request's text, as received

    // A port on 127.0.0.1 on which nothing listens.
    static int ClosedPort();

  private:
    void Serve();
    void Answer(uintptr_t connection);
    uintptr_t listener_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Reply> routes_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace testsupport
