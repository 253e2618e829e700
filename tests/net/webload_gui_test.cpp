// The download dialog against a real server on 127.0.0.1: a kept dialog after a success, the
// "Internet error" box and release after a failure, the reason of a failure in the status line, Break
// in the middle of a request, and the look of the dialog in the middle of a transfer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/application_win32.h"
#include "net/webload_win32.h"
#include "support/http_server_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/temp_dir.h"

using testsupport::HttpTestServer;

namespace {

class WebDownloadTest : public testing::Test {
  protected:
    void SetUp() override { ResetApplication(); }
    void TearDown() override {
        ui::SetModalHook(nullptr);
        WebDownloadClose();
        testsupport::PumpMessages(50);
    }
    // Each time the client fires the event, after the dialog's own handler: action(dialog).
    template <class Client, class... Args>
    void After(std::function<void(Args...)> Client::*event, std::function<void(TDialWebLoad&)> action) {
        ui::SetModalHook([event, action](ui::Form& form) {
            auto& dialog = static_cast<TDialWebLoad&>(form);
            auto inner = dialog.Web.*event;
            dialog.Web.*event = [inner, action, &dialog](Args... args) {
                inner(args...);
                action(dialog);
            };
        });
    }
    std::string Site() const { return server.Base() + "/site"; }

    HttpTestServer server;
    testsupport::TempDir dir{"webload"};
    testsupport::ScriptedPrompter prompter;
    bool loaded = false;
};

TEST_F(WebDownloadTest, KeptAfterSuccessReleasedAfterFailure) {
    server.Route("/site/datefix.txt", testsupport::OkReply("dates\r\n20.05.2001\r\n"));
    WebDownload("datefix.txt", Site(), dir.Path(), 1, true, loaded);
    EXPECT_TRUE(loaded);
    ASSERT_NE(WebLoadDialog(), nullptr);
    EXPECT_EQ(WebLoadDialog()->Caption(), "Download datefix.txt");

    // The kept dialog serves the next download; a 404 releases it.
    prompter.Answer(ui::IdOk);
    WebDownload("BUGFIX.exe", Site(), dir.Path(), 0, true, loaded);
    EXPECT_FALSE(loaded);
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Text, Site() + "/BUGFIX.exe\r\ncould not be loaded!");
    EXPECT_EQ(prompter.Boxes[0].Icon(), ui::IconStop);
    EXPECT_EQ(WebLoadDialog(), nullptr);
}

// A download that fails for a reason of its own (here a body cut short) says so in the status line and
// shows the "Internet error" box.
TEST_F(WebDownloadTest, AFailureSaysWhyAndKeepsTheEarlierFile) {
    testsupport::Reply cut = testsupport::OkReply(std::string(200000, 'c'));
    cut.BodyBytes = 50000;
    server.Route("/site/confix.exe", cut);
    std::string status;
    After(&HttpClient::OnFailure, [&](TDialWebLoad& d) { status = d.StatusBar.SimpleText(); });
    prompter.Answer(ui::IdOk);
    WebDownload("confix.exe", Site(), dir.Path(), 1, true, loaded);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(status, "failure: body cut short");
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Caption, "Internet error");
}

TEST_F(WebDownloadTest, BreakEndsAWaitAndShowsNoInternetErrorBox) {
    testsupport::Reply silent;
    silent.Silent = true;
    server.Route("/site/BUGFIX.exe", silent);
    // Break is pressed with a real click inside the client's wait, once the request is sent to a
    // server that never answers.
    After(&HttpClient::OnPacketSent,
          [](TDialWebLoad& d) { PostMessageA(d.BreakBtn.Handle(), BM_CLICK, 0, 0); });
    prompter.Answer(ui::IdOk);
    WebDownload("BUGFIX.exe", Site(), dir.Path(), 1, true, loaded);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(LoadState, LoadBroken);
    ASSERT_EQ(prompter.Boxes.size(), 1u); // the raised error only
    EXPECT_EQ(prompter.Boxes[0].Caption, "SetUp");
    EXPECT_EQ(prompter.Boxes[0].Text, "Socket readln aborted");
    EXPECT_EQ(WebLoadDialog(), nullptr);
}

TEST_F(WebDownloadTest, ShowsTheByteCountsDuringATransfer) {
    testsupport::Reply slow = testsupport::OkReply(std::string(400000, 'v'));
    slow.PieceDelayMs = 5;
    server.Route("/site/winfix.exe", slow);
    std::string shot, status;
    After(&HttpClient::OnPacketRecvd, [&](TDialWebLoad& d) {
        if (!shot.empty() || d.Web.BytesRecvd < 150000) return;
        status = d.StatusBar.SimpleText();
        shot = testsupport::SaveScreenshot(d.Handle(), "webload_transfer");
    });
    WebDownload("winfix.exe", Site(), dir.Path(), 1, true, loaded);
    EXPECT_TRUE(loaded);
    EXPECT_NE(shot, "");
    EXPECT_EQ(status.rfind("Bytes ", 0), 0u) << status;
    EXPECT_NE(status.find(" / 400000"), std::string::npos) << status;
}

} // namespace
