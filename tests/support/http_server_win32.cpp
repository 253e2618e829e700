// The test HTTP server.
#include <winsock2.h>

#include "support/http_server_win32.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace testsupport {

namespace {

// True when the socket becomes readable within the milliseconds.
bool Readable(SOCKET s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{ms / 1000, ms % 1000 * 1000};
    return select(0, &set, nullptr, nullptr, &wait) > 0;
}

bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        int sent = send(s, data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

SOCKET Listener(int& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at);
    int size = sizeof at;
    getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
    port = ntohs(at.sin_port);
    return s;
}

} // namespace

Reply OkReply(const std::string& body, bool withLength) {
    Reply r{"HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n", body};
    if (withLength) r.Head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return r;
}

Reply StatusReply(int status, const std::string& body) {
    return {"HTTP/1.0 " + std::to_string(status) +
                " Whatever\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n",
            body};
}

Reply RedirectReply(int status, const std::string& location) {
    return {"HTTP/1.0 " + std::to_string(status) + " Moved\r\nLocation: " + location +
                "\r\nSet-Cookie: seen=1\r\n",
            "moved"};
}

Reply FileReply(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return OkReply({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

HttpTestServer::HttpTestServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = Listener(port_);
    listen(static_cast<SOCKET>(listener_), 8);
    thread_ = std::thread([this] { Serve(); });
}

HttpTestServer::~HttpTestServer() {
    stop_ = true;
    thread_.join();
    closesocket(static_cast<SOCKET>(listener_));
    WSACleanup();
}

void HttpTestServer::Route(const std::string& path, const Reply& reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    routes_[path] = reply;
}

std::vector<std::string> HttpTestServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int HttpTestServer::ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    int port = 0;
    closesocket(Listener(port)); // bound but never listening, then given back
    WSACleanup();
    return port;
}

void HttpTestServer::Serve() {
    while (!stop_) {
        if (!Readable(static_cast<SOCKET>(listener_), 50)) continue;
        SOCKET connection = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (connection == INVALID_SOCKET) continue;
        Answer(connection);
        closesocket(connection);
    }
}

void HttpTestServer::Answer(uintptr_t connection) {
    SOCKET s = static_cast<SOCKET>(connection);
    std::string request;
    char chunk[4096];
    while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
        if (!Readable(s, 50)) continue;
        int got = recv(s, chunk, sizeof chunk, 0);
        if (got <= 0) return;
        request.append(chunk, static_cast<size_t>(got));
    }
    size_t start = request.find(' ') + 1;
    std::string path = request.substr(start, request.find(' ', start) - start);
    Reply reply = StatusReply(404, "<html><body>Not Found</body></html>");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        if (auto found = routes_.find(path); found != routes_.end()) reply = found->second;
    }
    if (reply.Silent) {
        while (!stop_ && !(Readable(s, 50) && recv(s, chunk, sizeof chunk, 0) <= 0)) {
        }
        return;
    }
    std::string head = reply.Head + (reply.CutHead || reply.EndlessHead ? "" : "\r\n");
    if (!SendAll(s, head.data(), head.size())) return;
    if (reply.EndlessHead) {
        std::string lines;
        for (int i = 0; i < 1000; ++i) lines += "X-More: header line " + std::to_string(i) + "\r\n";
        while (!stop_ && SendAll(s, lines.data(), lines.size())) {
        }
        return;
    }
    if (reply.CutHead) return;
    size_t bytes = reply.BodyBytes < 0 ? reply.Body.size() : static_cast<size_t>(reply.BodyBytes);
    size_t piece = reply.PieceDelayMs > 0 ? 4096 : bytes;
    for (size_t at = 0; at < bytes && !stop_; at += piece) {
        if (!SendAll(s, reply.Body.data() + at, std::min(piece, bytes - at))) return;
        if (reply.PieceDelayMs > 0) Sleep(static_cast<DWORD>(reply.PieceDelayMs));
    }
    shutdown(s, SD_SEND);
    while (Readable(s, 200) && recv(s, chunk, sizeof chunk, 0) > 0) {
    }
}

} // namespace testsupport
