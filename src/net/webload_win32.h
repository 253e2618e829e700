// The download dialog: a small modal window that fetches one file over HTTP into a
// directory while it shows what happens: a fixed text, the copy animation, a status line with the
// client's events and byte counts, and a Break button. The update command calls WebDownload once per
// file; the dialog is kept between calls and released by WebDownloadClose.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/http_win32.h"
#include "ui/animate.h"
#include "ui/controls.h"

// LoadState: where the current download is.
constexpr int LoadPrepared = -1;
constexpr int LoadShown = 0;   // waiting for the first timer tick
constexpr int LoadRunning = 1; // the request runs, or it succeeded
constexpr int LoadFailed = 2;
constexpr int LoadBroken = 3; // Break was pressed
extern int LoadState;

class TDialWebLoad : public ui::Form {
  public:
    ui::Label Label1;
    ui::Animate Animate;
    ui::GlyphButton BreakBtn{ui::ButtonKind::Abort};
    ui::StatusBar StatusBar;
    HttpClient Web;
    ui::Timer Timer{500};

    int Kind = 0; // 1 download
    bool ShowAnimation = false;
    std::string URL;

    TDialWebLoad();
    void TimerTimer();
    void BreakBtnClick();
    void WebConnect();
    void WebDisconnect();
    void WebConnectionFailed();
    void WebInvalidHost(bool& handled);
    void WebPacketRecvd();
    void WebPacketSent();
    void WebSuccess(int method);
    void WebFailure(int method);

  private:
    void ShowStatus(const std::string& text, bool pause);
    void Failed();            // LoadState 2 unless Break came first; the dialog ends with Abort
    uint32_t countShown_ = 0; // when the status line last showed the byte count
};

// The dialog kept from the last download, or nullptr.
TDialWebLoad* WebLoadDialog();

// Fetches baseUrl + "/" + fileName into JoinFile(targetDir, fileName); the file takes that name only
// when the download succeeded, so a failure leaves an earlier file of the name as it was. Options bit
// 0 (1): release a kept dialog first; bit 1 (2): release the dialog after a success too. loaded is
// true when the client reported success; after a failure (not after Break) the "Internet error" box
// names the address.
void WebDownload(std::string_view fileName, std::string_view baseUrl, std::string_view targetDir, int options,
                 bool showAnimation, bool& loaded);
// Disconnects and releases the kept dialog, if any.
void WebDownloadClose();

// The application's box for an error raised by the client: its text, OK and the stop icon.
void ShowRaisedError(const std::string& text);
