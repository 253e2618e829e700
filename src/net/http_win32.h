// The HTTP layer of the client: HTTP/1.0 GET transactions over the socket layer, the response header
// written to one file (or text) and the body streamed to another, redirects followed, and the outcome
// reported through OnSuccess or OnFailure. Each file is replaced whole: the body takes its name only
// when the transaction succeeded, the header file only when the header arrived whole. The download
// dialog (net/webload_win32.h) drives it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/httpparse.h"
#include "net/socket_win32.h"

// Optional request-header values; all empty in this program, so no further lines are sent.
struct THeaderInfo {
    std::string LocalMailAddress;
    std::string LocalProgram;
    std::string Cookie;
    std::string Referer;
    std::string UserId;
    std::string Password;
};

class HttpClient : public SocketClient {
  public:
    static constexpr int MaxRepeats = 10; // a redirect or repeat status this often more ends in failure

    std::string Body = "Default.htm"; // InputFileMode: the file that receives the body; else the body
    std::string Header = "Head.txt";  // OutputFileMode: the file that receives the header; else the header
    bool InputFileMode = false;
    bool OutputFileMode = false;
    THeaderInfo HeaderInfo;
    std::string Url;
    std::string Path;
    uint8_t MethodCode = 0;  // 0 GET
    int Status = 0;          // of the last response
    std::string Location;    // of the last response
    std::string FailureText; // why the last transaction failed (FailureReason), for OnFailure's handler
    std::vector<std::string> RequestLines;

    std::function<void()> OnPacketRecvd;
    std::function<void()> OnPacketSent;
    std::function<void(int method)> OnSuccess;
    std::function<void(int method)> OnFailure;
    std::function<void(bool& handled)> OnRedirect; // handled: the transaction ends here
    std::function<void()> OnAuthenticationNeeded;
    std::function<void()> OnAboutToSend;

    // Runs one GET transaction to its end (redirects included). An HTTP error status is no exception:
    // OnFailure fires. Failures of the URL, the connection or a wait are raised as NetError.
    void Get(const std::string& url);

  protected:
    void PacketSent() override;

  private:
    bool Transaction(bool lastRound); // true when the transaction is over
    void TakeUrl();
    ResponseHeader ReadHeader();
    void WriteHeaderFile(const std::string& text);
    // The body; false when a write of it, or putting its file in place, failed.
    bool ReadBody(const ResponseHeader& header, int64_t& bytes);
    std::string cookie_;
};
