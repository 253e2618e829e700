// The socket layer of the HTTP client: one TCP connection over Windows Sockets 1.1 that lives on the
// GUI thread. Name lookup, connect and reception are waits that pump window messages (so timers,
// status lines and a Break button stay alive), and every wait ends at its next turn after Abort.
// Failures are raised as NetError exceptions, the only exceptions of the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// An error raised by the client; what() is the text the application's error box shows.
class NetError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
// A failing socket call: "<code>:<description>", or a lookup or connection that did not succeed.
class SocketError : public NetError {
  public:
    using NetError::NetError;
    explicit SocketError(int code);
    int Code = 0;
};
// A wait ended by Abort or a time-out ("Socket readln aborted", ...).
class AbortError : public NetError {
  public:
    using NetError::NetError;
};

// The time-out of one wait, measured on the system tick count; an interval of 0 never fires.
class TThreadTimer {
  public:
    void Start(int interval);
    void Stop() { running_ = false; }
    bool Due() const; // running and the interval has passed
    bool Running() const { return running_; }

  private:
    uint32_t start_ = 0;
    int interval_ = 0;
    bool running_ = false;
};

class SocketClient {
  public:
    static constexpr int BufferSize = 65536;
    static constexpr UINT SocketMessage = 1125; // the socket's notifications
    static constexpr UINT LookupMessage = 1126; // the end of a name lookup

    SocketClient();
    virtual ~SocketClient();
    SocketClient(const SocketClient&) = delete;
    SocketClient& operator=(const SocketClient&) = delete;

    std::string Host;    // server name or dotted address
    int Port = 0;        // 0: URL parsing chooses it
    int TimeOut = 0;     // milliseconds for each wait; 0: only Abort ends a wait
    int ReportLevel = 1; // status reports up to this level reach OnStatus
    std::string Proxy;   // not used
    int ProxyPort = 0;

    int64_t BytesRecvd = 0;
    int64_t BytesSent = 0;
    int64_t BytesTotal = 0;
    bool Connected = false;
    bool TimedOut = false;
    bool Canceled = false;

    std::function<void()> OnConnect;
    std::function<void()> OnDisconnect;
    std::function<void(bool& handled)> OnInvalidHost; // handled: the lookup is tried once more
    std::function<void()> OnHostResolved;
    std::function<void(const std::string& text, int level)> OnStatus;
    std::function<void()> OnConnectionFailed;

    // Closes the connection, fires OnDisconnect and opens a fresh socket for the next transaction.
    // Safe to call from a handler that runs inside a wait.
    void Disconnect();
    // Ends every wait of the current transaction at its next turn.
    void Abort() { Canceled = true; }

  protected:
    void Report(const std::string& text, int level);
    // Resolves Host and connects to it on Port; fires OnConnect, or OnConnectionFailed and raises.
    void Connect();
    // Sends every byte, through the buffer at most 65535 at a time; fires OnPacketSent per write.
    void SendBytes(std::string_view data);
    virtual void PacketSent() {}
    // One line with its line feed, or the limit's worth of bytes of a line that goes on, or what came
    // before the end of data (empty at the end of data).
    std::string ReadLn(size_t limit);
    // One block into Buffer(), the bytes received after the last line first: its size, 0 when the peer
    // has closed.
    int ReceiveBlock();
    const char* Buffer() const { return buffer_.get(); }
    void StartWait(); // the time-out timer (re)starts for the next wait
    void StopWait();
    // Closes and reopens the socket without events, after a transaction that raised.
    void ResetSocket();

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void SocketNotified(WPARAM socket, LPARAM info);
    void OpenSocket();
    void CloseSocket();
    uint32_t ResolveHost();
    uint32_t LookUpName();
    // One turn of a wait: the time-out checked, a short pause (until the socket is readable or
    // writable, when asked), then the pending window messages.
    void WaitTurn(int readable);
    void CheckTimer();
    // Receives what the socket has into the empty buffer, waiting for it: false at the end of data;
    // raises the abort text when the wait is canceled.
    bool Refill(const char* abortText);

    HWND window_ = nullptr;
    uintptr_t socket_;
    std::unique_ptr<char[]> buffer_;
    size_t held_ = 0, heldEnd_ = 0;     // the received bytes not yet taken: buffer_[held_, heldEnd_)
    std::unique_ptr<char[]> hostEntry_; // the name lookup's result
    HANDLE lookup_ = nullptr;
    bool lookupDone_ = false;
    int lookupError_ = 0;
    bool connectFailed_ = false;
    int connectError_ = 0;
    unsigned generation_ = 0; // counts the sockets opened
    bool destroying_ = false;
    TThreadTimer timer_;
};
