// The HTTP/1.0 GET transaction.
#include "net/http_win32.h"

#include <memory>

#include "lib/fs.h"
#include "lib/msg.h"
#include "ui/form.h"

namespace {

constexpr uint32_t PumpInterval = 10; // milliseconds between message pumps while a body streams in

// A file the response goes to, written as it arrives; remembers whether every write succeeded.
class OutputFile {
  public:
    explicit OutputFile(const std::string& name) {
        FsError error = FsOk;
        handle_ = OpenFile(name, FileAccess::Write, ShareRead, error);
        ok_ = handle_ != NoFile;
    }
    ~OutputFile() { Close(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const char* data, int count) {
        if (!ok_) return;
        FsError error = FsOk;
        ok_ = WriteBlock(handle_, data, count, error) == count && error == FsOk;
    }
    bool Close() {
        if (handle_ != NoFile) {
            ok_ = CloseFile(handle_) == FsOk && ok_;
            handle_ = NoFile;
        }
        return ok_;
    }
    bool Ok() const { return ok_; }

  private:
    FileHandle handle_ = NoFile;
    bool ok_ = false;
};

} // namespace

void HttpClient::Get(const std::string& url) {
    Url = url;
    MethodCode = 0;
    Canceled = false;
    TimedOut = false;
    try {
        for (int round = 0; !Transaction(round == MaxRepeats); ++round) {
        }
    } catch (...) {
        ResetSocket(); // the next transaction starts on a fresh socket
        throw;
    }
}

void HttpClient::TakeUrl() {
    UrlParts parts = ParseUrl(Url, Port);
    if (!parts.Error.empty()) throw NetError(parts.Error);
    Url = parts.Url;
    Path = parts.Path;
    Port = parts.Port;
    if (!parts.Host.empty()) Host = parts.Host;
}

bool HttpClient::Transaction(bool lastRound) {
    TakeUrl();
    RequestLines = GetRequestLines(Path, Host);
    if (OnAboutToSend) OnAboutToSend();
    BytesRecvd = 0;
    BytesSent = 0;
    FailureText.clear();
    Connect();
    std::string request;
    for (const std::string& line : RequestLines) request += line + "\r\n";
    SendBytes(request + "\r\n");
    Status = 0;
    ResponseHeader header = ReadHeader();
    int64_t bodyBytes = 0;
    bool writesOk = !header.Ended || ReadBody(header, bodyBytes); // no body without a whole header

    // A redirect or repeat status goes round once more, up to MaxRepeats times; then it is a failure.
    bool repeat = header.Ended && IsRedirectStatus(Status) && !lastRound;
    if (TransactionSucceeded(header, writesOk, bodyBytes)) {
        if (OnSuccess) OnSuccess(MethodCode);
        Report("Transaction Completed", 1);
    } else if (!repeat) {
        FailureText = FailureReason(header, writesOk, bodyBytes);
        if (OnFailure) OnFailure(MethodCode);
    }
    bool newUrl = repeat && FollowsLocation(Status) && !Location.empty();
    if (newUrl) Url = Location;
    Disconnect();
    if (!repeat) {
        if (Status == 401 && OnAuthenticationNeeded) OnAuthenticationNeeded();
        return true;
    }
    if (Status >= 300 && Status <= 398) {
        if (!cookie_.empty()) HeaderInfo.Cookie = cookie_;
        if (OnRedirect) {
            bool handled = false;
            OnRedirect(handled);
            if (handled) return true;
        } else if (newUrl) {
            Url = RedirectTarget(Url, Host, Port);
        }
    }
    return false;
}

ResponseHeader HttpClient::ReadHeader() {
    std::unique_ptr<OutputFile> file;
    if (OutputFileMode)
        file = std::make_unique<OutputFile>(Header); // the header is for the record: a failure is no error
    else
        Header.clear();
    auto output = [&](const std::string& line) {
        if (file)
            file->Write(line.data(), static_cast<int>(line.size()));
        else
            Header += line;
    };
    BytesTotal = 0;
    cookie_.clear();
    ResponseHeader header;
    std::string line = ReadLn(MaxHeaderBytes + 1);
    size_t bytes = line.size();
    header.Status = StatusOfLine(line);
    output(line);
    for (;;) {
        header.TooLong = bytes > MaxHeaderBytes;
        if (line.empty() || header.TooLong) break; // the end of data, or more than a header may hold
        line = ReadLn(MaxHeaderBytes + 1 - bytes);
        if (IsHeaderEnd(line)) {
            header.Ended = !line.empty();
            break;
        }
        bytes += line.size();
        output(line);
        TakeHeaderLine(line, header);
    }
    Status = header.Status;
    Location = header.Location;
    cookie_ = header.Cookie;
    BytesTotal = header.ContentLength;
    return header;
}

bool HttpClient::ReadBody(const ResponseHeader& header, int64_t& bytes) {
    Report("CaptureFile", 3);
    std::unique_ptr<OutputFile> file;
    if (InputFileMode) {
        file = std::make_unique<OutputFile>(Body);
        if (!file->Ok()) return false; // nowhere to put it: the transaction fails
    } else {
        Body.clear();
    }
    StartWait();
    uint32_t pumped = TickCount();
    for (int got = ReceiveBlock(); got > 0; got = ReceiveBlock()) {
        if (file) {
            file->Write(Buffer(), got);
            if (!file->Ok()) return false;
        } else {
            Body.append(Buffer(), static_cast<size_t>(got));
        }
        BytesRecvd += got;
        bytes = BytesRecvd;
        if (OnPacketRecvd) OnPacketRecvd();
        StartWait();
        // More than the header said is a failure however much more would come.
        if (header.HasContentLength && bytes > header.ContentLength) break;
        // Window messages every 10 ms rather than after each block: under Wine a pump costs about as
        // much as a block, and Break is still answered at once.
        if (TicksSince(pumped) >= PumpInterval) {
            ui::ProcessMessages();
            pumped = TickCount();
        }
    }
    StopWait();
    return !file || file->Close();
}

void HttpClient::PacketSent() {
    if (OnPacketSent) OnPacketSent();
}
