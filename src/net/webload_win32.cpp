// The download dialog.
#include "net/webload_win32.h"

#include "lib/application_win32.h"
#include "lib/forms_win32.h"
#include "lib/msg.h"
#include "lib/paths.h"

int LoadState = LoadPrepared;

namespace {
TDialWebLoad* dialog = nullptr;

constexpr int EventPause = 250;   // milliseconds a connection event stays readable before work goes on
constexpr int CountInterval = 50; // milliseconds between two byte counts in the status line
} // namespace

TDialWebLoad* WebLoadDialog() {
    return dialog;
}

TDialWebLoad::TDialWebLoad() {
    // clang-format off
    Create({.caption = "Load bugfix package", .clientWidth = 344, .clientHeight = 184, .border = ui::Border::Dialog,
            .systemMenu = false, .minimize = false, .maximize = false, .position = ui::Position::ScreenCenter});
    Build({
        {.control = &Label1, .left = 16, .top = 10, .width = 312, .height = 40,
         .caption = "File(s) will be loaded from internet. Please wait!", .options = ui::opt::WordWrap | ui::opt::Center,
         .fontHeight = -16},
        {.control = &Animate, .left = 36, .top = 54, .width = 272, .height = 60, .options = ui::opt::Hidden},
        {.control = &BreakBtn, .left = 132, .top = 124, .width = 80, .height = 27, .caption = "Break",
         .options = ui::opt::Cancel},
        {.control = &StatusBar, .align = ui::Align::Bottom},
    });
    // clang-format on
    Animate.SetCommonAvi(ui::CommonAvi::CopyFiles);
    Animate.SetBounds((ClientWidth() - Animate.Width()) / 2, 54, Animate.Width(), Animate.Height());
    BreakBtn.OnClick = [this] { BreakBtnClick(); };

    Web.Port = 0;
    Web.ReportLevel = 0;
    Web.Body = "Default.htm";
    Web.Header = "Head.txt";
    Web.InputFileMode = true;
    Web.OutputFileMode = true;
    Web.OnConnect = [this] { WebConnect(); };
    Web.OnDisconnect = [this] { WebDisconnect(); };
    Web.OnConnectionFailed = [this] { WebConnectionFailed(); };
    Web.OnInvalidHost = [this](bool& handled) { WebInvalidHost(handled); };
    Web.OnPacketRecvd = [this] { WebPacketRecvd(); };
    Web.OnPacketSent = [this] { WebPacketSent(); };
    Web.OnSuccess = [this](int method) { WebSuccess(method); };
    Web.OnFailure = [this](int method) { WebFailure(method); };

    Timer.OnTimer = [this] { TimerTimer(); };
    Timer.SetEnabled(true);
}

void TDialWebLoad::ShowStatus(const std::string& text, bool pause) {
    StatusBar.SetSimpleText(text);
    if (!pause) return;
    UpdateWindow(StatusBar.Handle());
    Sleep(EventPause);
}

void TDialWebLoad::Failed() {
    if (LoadState != LoadBroken) LoadState = LoadFailed;
    SetModalResult(ui::MrAbort);
}

// The request runs inside the first tick after the dialog is shown; every later tick, also those
// that arrive while the transfer pumps messages, finds LoadState past 0 and does nothing.
void TDialWebLoad::TimerTimer() {
    if (LoadState != LoadShown) return;
    LoadState = LoadRunning;
    if (ShowAnimation) {
        Animate.SetVisible(true);
        Animate.Play();
    }
    try {
        Web.Get(URL);
    } catch (const std::exception& error) {
        ShowRaisedError(error.what());
    }
}

void TDialWebLoad::BreakBtnClick() {
    ShowStatus("breaked", true);
    Animate.Stop();
    Web.Disconnect();
    Web.Abort();
    LoadState = LoadBroken;
    SetModalResult(ui::MrAbort);
}

void TDialWebLoad::WebConnect() {
    ShowStatus("connect", true);
}
void TDialWebLoad::WebDisconnect() {
    ShowStatus("disconnect", true);
}
void TDialWebLoad::WebConnectionFailed() {
    ShowStatus("connection failed", true);
}

void TDialWebLoad::WebInvalidHost(bool&) {
    ShowStatus("invalid host", true);
    Failed();
}

// The status bar repaints at once on every new text, which would cost more than the block itself on
// a fast line: the count is shown every 50 ms, and when the last byte has come.
void TDialWebLoad::WebPacketRecvd() {
    if (TicksSince(countShown_) < CountInterval && Web.BytesRecvd != Web.BytesTotal) return;
    countShown_ = TickCount();
    ShowStatus("Bytes " + std::to_string(Web.BytesRecvd) + " / " + std::to_string(Web.BytesTotal), false);
}

void TDialWebLoad::WebPacketSent() {
    ShowStatus("Bytes " + std::to_string(Web.BytesSent) + " / " + std::to_string(Web.BytesTotal), false);
}

void TDialWebLoad::WebSuccess(int) {
    ShowStatus("success", true);
    LoadState = LoadRunning;
    SetModalResult(ui::MrOk);
}

// An error status speaks for itself; any other failure says what went wrong behind "failure".
void TDialWebLoad::WebFailure(int) {
    ShowStatus(Web.FailureText.empty() ? "failure" : "failure: " + Web.FailureText, true);
    Failed();
}

void WebDownload(std::string_view fileName, std::string_view baseUrl, std::string_view targetDir, int options,
                 bool showAnimation, bool& loaded) {
    LoadState = LoadPrepared;
    ui::ProcessMessages();
    if (options & 1) WebDownloadClose();
    if (!dialog) CreateKindForm(KindDialog, dialog);
    dialog->ShowAnimation = showAnimation;
    dialog->Kind = 1;
    dialog->SetCaption("Download " + std::string(fileName));
    dialog->URL = std::string(baseUrl) + "/" + std::string(fileName);
    dialog->Web.Body = JoinFile(targetDir, fileName);
    dialog->Web.InputFileMode = true;
    LoadState = LoadShown;
    int result = dialog->ShowModal();
    dialog->Animate.Stop();
    loaded = result == ui::MrOk;
    if (!loaded && LoadState != LoadBroken) ShowStop("Internet error", {dialog->URL, "could not be loaded!"});
    if (!loaded || (options & 2)) WebDownloadClose();
}

void WebDownloadClose() {
    if (!dialog) return;
    dialog->Web.Disconnect();
    ReleaseForm(dialog);
}

void ShowRaisedError(const std::string& text) {
    ShowStop(Application.Title.View(), {text});
}
