// The HTTP/1.0 GET transaction.
#include "net/http_win32.h"

#include "lib/msg.h"
#include "lib/recfile.h"
#include "ui/form.h"

namespace {

constexpr uint32_t PumpInterval = 10; // milliseconds between message pumps while a body streams in

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

// The header is read up to MaxHeaderBytes and kept in memory, so its file is written whole when the
// header is: an earlier header file stays when the header is cut short or too long.
ResponseHeader HttpClient::ReadHeader() {
    BytesTotal = 0;
    cookie_.clear();
    ResponseHeader header;
    std::string line = ReadLn(MaxHeaderBytes + 1);
    std::string text = line;
    header.Status = StatusOfLine(line);
    for (;;) {
        header.TooLong = text.size() > MaxHeaderBytes;
        if (line.empty() || header.TooLong) break; // the end of data, or more than a header may hold
        line = ReadLn(MaxHeaderBytes + 1 - text.size());
        if (IsHeaderEnd(line)) {
            header.Ended = !line.empty();
            break;
        }
        text += line;
        TakeHeaderLine(line, header);
    }
    if (!OutputFileMode)
        Header = text;
    else if (header.Ended)
        WriteHeaderFile(text);
    Status = header.Status;
    Location = header.Location;
    cookie_ = header.Cookie;
    BytesTotal = header.ContentLength;
    return header;
}

// The header file is for the record: a failure to write it is no failure of the transaction.
void HttpClient::WriteHeaderFile(const std::string& text) {
    RecordFile file;
    bool failed = false;
    CreateWrite(file, Header, failed);
    WriteBytes(file, text.data(), static_cast<int>(text.size()));
    Close(file, failed);
}

// The body goes into a record file, which writes beside the file named Body and takes its name only
// when the transaction succeeded: a failed, cut or broken-off download leaves an earlier file as it
// was (a raised error discards it with the record file).
bool HttpClient::ReadBody(const ResponseHeader& header, int64_t& bytes) {
    Report("CaptureFile", 3);
    RecordFile file;
    bool failed = false;
    if (InputFileMode) {
        CreateWrite(file, Body, failed);
        if (failed) return false; // nowhere to put it: the transaction fails
    } else {
        Body.clear();
    }
    StartWait();
    uint32_t pumped = TickCount();
    for (int got = ReceiveBlock(); got > 0; got = ReceiveBlock()) {
        if (InputFileMode) {
            WriteBytes(file, Buffer(), got);
            if (Failed(file)) return false;
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
    if (!InputFileMode || !TransactionSucceeded(header, true, bytes)) return true; // the file goes unused
    Close(file, failed);
    return !failed;
}

void HttpClient::PacketSent() {
    if (OnPacketSent) OnPacketSent();
}
