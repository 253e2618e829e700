// The socket layer over Windows Sockets 1.1 (wsock32.dll).
#include <winsock.h>

#include "net/socket_win32.h"

#include <algorithm>
#include <cstring>

#include "lib/msg.h"
#include "net/httpparse.h"
#include "net/sockerrors.h"
#include "ui/form.h"

namespace {

int componentCount = 0; // Windows Sockets runs while any component exists

constexpr const char* WindowClass = "SetupSocketClient";
constexpr long SocketEvents = FD_READ | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

SOCKET AsSocket(uintptr_t s) {
    return static_cast<SOCKET>(s);
}

// The Windows Sockets error code of the last failing call.
int LastError() {
    return WSAGetLastError();
}

} // namespace

SocketError::SocketError(int code) : NetError(SocketErrorText(code)), Code(code) {}

// ---- TThreadTimer -------------------------------------------------------------------------------

void TThreadTimer::Start(int interval) {
    interval_ = interval;
    running_ = interval > 0;
    start_ = TickCount();
}

bool TThreadTimer::Due() const {
    return running_ && TicksSince(start_) >= static_cast<uint32_t>(interval_);
}

// ---- Life ---------------------------------------------------------------------------------------

SocketClient::SocketClient() : socket_(INVALID_SOCKET), buffer_(new char[BufferSize]) {
    if (componentCount++ == 0) {
        WSADATA data{};
        int result = WSAStartup(MAKEWORD(1, 1), &data);
        if (result == 0)
            Report("Initializing Winsock " + std::to_string(LOBYTE(data.wVersion)) + "." +
                       std::to_string(HIBYTE(data.wVersion)) + " " + data.szDescription + " " +
                       data.szSystemStatus + " max sockets " + std::to_string(data.iMaxSockets) +
                       " max datagram " + std::to_string(data.iMaxUdpDg),
                   3);
    }
    ui::RegisterWindowClass(WindowClass, Proc);
    window_ = CreateWindowExA(0, WindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), this);
    OpenSocket();
}

SocketClient::~SocketClient() {
    destroying_ = true;
    if (lookup_) WSACancelAsyncRequest(lookup_);
    CloseSocket();
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (--componentCount == 0) WSACleanup();
}

LRESULT CALLBACK SocketClient::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<SocketClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg == SocketMessage) {
        self->SocketNotified(wParam, lParam);
        return 0;
    }
    if (self && msg == LookupMessage) {
        if (reinterpret_cast<HANDLE>(wParam) == self->lookup_) {
            self->lookupDone_ = true;
            self->lookupError_ = WSAGETASYNCERROR(lParam);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void SocketClient::SocketNotified(WPARAM socket, LPARAM info) {
    if (AsSocket(socket) != AsSocket(socket_)) return; // only the current socket counts
    int error = WSAGETSELECTERROR(info);
    switch (WSAGETSELECTEVENT(info)) {
    case FD_CONNECT:
        if (error != 0) {
            connectFailed_ = true;
            connectError_ = error;
        } else {
            Connected = true;
            if (OnConnect) OnConnect();
        }
        break;
    case FD_CLOSE: {
        u_long waiting = 0;
        ioctlsocket(AsSocket(socket_), FIONREAD, &waiting);
        if (waiting == 0 && held_ == heldEnd_) Disconnect(); // nothing is left to read
        break;
    }
    default:
        break;
    }
}

void SocketClient::OpenSocket() {
    ++generation_;
    socket_ = socket(AF_INET, SOCK_STREAM, 0);
    held_ = heldEnd_ = 0;
    connectFailed_ = false;
    connectError_ = 0;
    if (AsSocket(socket_) != INVALID_SOCKET)
        WSAAsyncSelect(AsSocket(socket_), window_, SocketMessage, SocketEvents); // also makes it non-blocking
}

// The next socket may get the same handle, so the notifications still queued for this one are
// taken out of the queue: a stale close must not end the next connection.
void SocketClient::CloseSocket() {
    if (AsSocket(socket_) != INVALID_SOCKET) {
        WSAAsyncSelect(AsSocket(socket_), window_, 0, 0);
        closesocket(AsSocket(socket_));
        MSG stale;
        while (PeekMessageA(&stale, window_, SocketMessage, SocketMessage, PM_REMOVE)) {
        }
    }
    socket_ = INVALID_SOCKET;
    Connected = false;
}

void SocketClient::Disconnect() {
    Report("Disconnecting", 2);
    Report("Request Close Socket", 3);
    CloseSocket();
    if (!destroying_ && OnDisconnect) OnDisconnect();
    if (!destroying_) OpenSocket();
}

void SocketClient::ResetSocket() {
    CloseSocket();
    OpenSocket();
}

void SocketClient::Report(const std::string& text, int level) {
    if (level <= ReportLevel && OnStatus) OnStatus(text, level);
}

// ---- Waits --------------------------------------------------------------------------------------

void SocketClient::StartWait() {
    if (TimeOut > 0) Report("Timer On", 3);
    timer_.Start(TimeOut);
}

void SocketClient::StopWait() {
    if (timer_.Running()) Report("Timer Off", 3);
    timer_.Stop();
}

void SocketClient::CheckTimer() {
    if (!timer_.Due()) return;
    timer_.Stop();
    Report("Timer Triggered", 3);
    TimedOut = true;
    Canceled = true;
}

void SocketClient::WaitTurn(int readable) {
    CheckTimer();
    if (readable != 0 && AsSocket(socket_) != INVALID_SOCKET) {
        // Until the socket is ready, or 2 ms at most, so data is taken as soon as it arrives.
        fd_set set;
        FD_ZERO(&set);
        FD_SET(AsSocket(socket_), &set);
        timeval pause{0, 2000};
        select(0, readable > 0 ? &set : nullptr, readable < 0 ? &set : nullptr, nullptr, &pause);
    } else {
        Sleep(2);
    }
    ui::ProcessMessages();
}

// ---- Connecting ---------------------------------------------------------------------------------

uint32_t SocketClient::LookUpName() {
    Report("Resolve Host", 2);
    if (!hostEntry_) hostEntry_.reset(new char[MAXGETHOSTSTRUCT]);
    lookupDone_ = false;
    lookupError_ = 0;
    lookup_ = WSAAsyncGetHostByName(window_, LookupMessage, Host.c_str(), hostEntry_.get(), MAXGETHOSTSTRUCT);
    if (!lookup_) {
        int code = LastError();
        if (code > 10000) throw SocketError(code);
        throw SocketError("Host Lookup Failed");
    }
    StartWait();
    while (!lookupDone_ && !Canceled) WaitTurn(0);
    StopWait();
    if (!lookupDone_) {
        WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
        throw SocketError(TimedOut ? "Host Lookup Timed Out" : "Host Lookup Canceled");
    }
    lookup_ = nullptr;
    if (lookupError_ > 10000) throw SocketError(lookupError_);
    auto* entry = reinterpret_cast<hostent*>(hostEntry_.get());
    if (lookupError_ != 0 || !entry->h_addr_list || !entry->h_addr_list[0])
        throw SocketError("Host Lookup Failed");
    uint32_t address = 0;
    std::copy_n(entry->h_addr_list[0], sizeof address, reinterpret_cast<char*>(&address));
    if (OnHostResolved) OnHostResolved();
    return address;
}

uint32_t SocketClient::ResolveHost() {
    if (Host.empty()) return 0;
    unsigned long dotted = inet_addr(Host.c_str());
    if (dotted != INADDR_NONE) return dotted;
    return LookUpName();
}

void SocketClient::Connect() {
    Report("Connecting", 2);
    if (Connected) throw SocketError("Already connected");
    if (AsSocket(socket_) == INVALID_SOCKET) throw SocketError(LastError());
    uint32_t address = ResolveHost();
    if (address == 0) {
        bool handled = false;
        if (OnInvalidHost) OnInvalidHost(handled);
        if (handled) address = ResolveHost();
        if (address == 0) throw SocketError("Null Remote Address");
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(Port));
    to.sin_addr.s_addr = address;
    connectFailed_ = false;
    connectError_ = 0;
    if (connect(AsSocket(socket_), reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
        int code = LastError();
        if (code != WSAEWOULDBLOCK) {
            connectFailed_ = true;
            connectError_ = code;
        }
    }
    // A Disconnect from a handler meanwhile replaces the socket: that ends the wait too.
    unsigned generation = generation_;
    StartWait();
    while (!Connected && !connectFailed_ && !Canceled && generation == generation_) WaitTurn(0);
    StopWait();
    if (Connected && !Canceled) return;
    if (OnConnectionFailed) OnConnectionFailed();
    if (TimedOut) throw SocketError("Connection Timed out");
    if (Canceled) throw SocketError("Connection Canceled");
    if (connectError_ > 10000) throw SocketError(connectError_);
    throw SocketError("Connection Failed");
}

// ---- Transfer -----------------------------------------------------------------------------------

void SocketClient::SendBytes(std::string_view data) {
    StartWait();
    while (!data.empty()) {
        if (Canceled) throw AbortError("Socket send aborted");
        int chunk = static_cast<int>(std::min<size_t>(data.size(), BufferSize - 1));
        std::copy_n(data.data(), chunk, buffer_.get());
        int sent = send(AsSocket(socket_), buffer_.get(), chunk, 0);
        if (sent == SOCKET_ERROR) {
            int code = LastError();
            if (code != WSAEWOULDBLOCK) throw SocketError(code);
            WaitTurn(-1);
            continue;
        }
        data.remove_prefix(static_cast<size_t>(sent));
        BytesSent += sent;
        PacketSent();
        StartWait();
    }
    StopWait();
}

// The line grows from the bytes received, which are taken as they come: a peek that waited for a
// line feed would wait for ever when the system holds less than the buffer and the rest of the line
// cannot come until this side takes what is there.
std::string SocketClient::ReadLn(size_t limit) {
    Report("ReadLn", 3);
    StartWait();
    std::string line;
    while (line.size() < limit && (held_ < heldEnd_ || Refill("Socket readln aborted"))) {
        std::string_view held(buffer_.get() + held_, heldEnd_ - held_);
        size_t take = LineLength(held, limit - line.size());
        line.append(held.substr(0, take));
        held_ += take;
        if (line.back() == '\n') break;
    }
    StopWait();
    return line;
}

int SocketClient::ReceiveBlock() {
    if (held_ == heldEnd_ && !Refill("Socket capture aborted")) return 0;
    int size = static_cast<int>(heldEnd_ - held_);
    if (held_ > 0) std::memmove(buffer_.get(), buffer_.get() + held_, heldEnd_ - held_);
    held_ = heldEnd_ = 0;
    return size;
}

bool SocketClient::Refill(const char* abortText) {
    for (;;) {
        if (Canceled) throw AbortError(abortText);
        int got = recv(AsSocket(socket_), buffer_.get(), BufferSize, 0);
        if (got >= 0) {
            held_ = 0;
            heldEnd_ = static_cast<size_t>(got);
            return got > 0;
        }
        int code = LastError();
        if (code == WSAENOTCONN) return false;
        if (code != WSAEWOULDBLOCK) throw SocketError(code);
        WaitTurn(1);
    }
}
