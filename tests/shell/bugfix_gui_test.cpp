// The update packages from a real local site: which packages the dates and answers fetch (Cancel, a
// failed winfix download that cancels the confix offer, no date list), the questions and their texts,
// and where the update site comes from.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/application_win32.h"
#include "lib/zip_win32.h"
#include "net/webload_win32.h"
#include "setup/setupstate.h"
#include "shell/bugfix.h"
#include "support/http_server_win32.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"

using testsupport::FileExists;
using testsupport::OkReply;
using testsupport::WriteTextLines;

namespace {

class BugfixTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetSetupState();
        ResetApplication();
        SetupState.InstallDir.Set(dir.Path());
        testsupport::MakeDirs(korvo + "\\InitDat");
        testsupport::MakeDirs(korvo + "\\Install\\Win");
        WriteTextLines(korvo + "\\InitDat\\Version.DAT", {"VEXA 5.2", "15.03.2001 * program date"});
        WriteTextLines(korvo + "\\InitDat\\ConFix.DAT", {"confix", "01.06.2001"});
        SetUnzipDir(testsupport::UnzipDllDir());
        ServePackages();
    }
    // The three packages, as ZIP files made by the zip tool.
    void ServePackages() {
        std::string archives = testsupport::TestProgramDir() + "\\unzip32\\archives\\";
        server.Route("/support/vexa_dos/BUGFIX.exe", testsupport::FileReply(archives + "sfx.exe"));
        server.Route("/support/vexa_dos/winfix.exe", testsupport::FileReply(archives + "comment.zip"));
        server.Route("/support/vexa_dos/confix.exe", testsupport::FileReply(archives + "stored.zip"));
    }
    void TearDown() override {
        SetUnzipDir("");
        WebDownloadClose();
    }
    // datefix.txt with the bug-fix, confix and winfix dates.
    void SiteDates(const std::string& confix, const std::string& winfix) {
        server.Route("/support/vexa_dos/datefix.txt",
                     OkReply("VEXA update dates\r\n20.05.2001 * the newest program fix\r\n" + confix +
                             "\r\n" + winfix + "\r\n"));
    }
    // The files the site was asked for, in order.
    std::vector<std::string> Fetched(size_t from = 0) const {
        std::vector<std::string> names;
        std::vector<std::string> requests = server.Requests();
        for (size_t i = from; i < requests.size(); ++i) {
            const std::string& request = requests[i];
            size_t start = request.find("/support/vexa_dos/") + 18;
            names.push_back(request.substr(start, request.find(' ', start) - start));
        }
        return names;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const auto& box : prompter.Boxes) captions.push_back(box.Caption);
        return captions;
    }

    testsupport::TempDir dir{"bugfix"};
    std::string korvo = dir / "Korvo";
    testsupport::HttpTestServer server;
    testsupport::ScopedEnv site{"SETUP_UPDATE_SITE", server.Base()};
    testsupport::ScriptedPrompter prompter;
    using Names = std::vector<std::string>;
};

TEST_F(BugfixTest, DatesAndAnswersDecideWhatIsFetched) {
    struct Case {
        const char *confix, *winfix; // the site's dates; installed: confix 01.06.2001, no Winfix.DAT
        std::vector<int> answers;
        const char* missing; // a file the site answers with 404, or ""
        Names fetched, captions;
    };
    const std::string bugfix = "Install bugfix package", confix = "Install confix package",
                      error = "Internet error";
    const Case cases[] = {
        // A newer winfix follows the bug-fix package; an equal confix date is never offered.
        {"01.06.2001", "12.05.2001", {ui::IdOk}, "", {"datefix.txt", "BUGFIX.exe", "winfix.exe"}, {bugfix}},
        {"01.06.2001", "12.05.2001", {ui::IdCancel}, "", {"datefix.txt"}, {bugfix}},
        {"02.06.2001",
         "31.12.1989",
         {ui::IdOk, ui::IdOk},
         "",
         {"datefix.txt", "BUGFIX.exe", "confix.exe"},
         {bugfix, confix}},
        // A failed winfix download cancels the confix offer.
        {"02.06.2001",
         "12.05.2001",
         {ui::IdOk, ui::IdOk},
         "winfix.exe",
         {"datefix.txt", "BUGFIX.exe", "winfix.exe"},
         {bugfix, error}},
        // No date list on the site: the command ends without a question.
        {"01.06.2001", "01.01.1990", {ui::IdOk}, "datefix.txt", {"datefix.txt"}, {error}},
    };
    for (const Case& c : cases) {
        ServePackages();
        SiteDates(c.confix, c.winfix);
        if (*c.missing)
            server.Route(std::string("/support/vexa_dos/") + c.missing,
                         testsupport::StatusReply(404, "gone"));
        prompter.Boxes.clear();
        for (int answer : c.answers) prompter.Answer(answer);
        size_t before = server.Requests().size();
        LoadBugfix();
        EXPECT_EQ(Fetched(before), c.fetched) << c.confix << " " << c.winfix << " " << c.missing;
        EXPECT_EQ(Captions(), c.captions) << c.confix << " " << c.winfix << " " << c.missing;
        EXPECT_FALSE(FileExists(korvo + "\\datefix.txt"));
        EXPECT_EQ(WebLoadDialog(), nullptr);
    }
}

TEST_F(BugfixTest, TheQuestionsNameBothDates) {
    SiteDates("02.06.2001", "12.05.2001");
    prompter.Answer(ui::IdOk).Answer(ui::IdCancel);
    LoadBugfix();
    ASSERT_EQ(Captions(), (Names{"Install bugfix package", "Install confix package"}));
    EXPECT_EQ(prompter.Boxes[0].Text, "Program date: 15.03.2001\r\nBugfix date: 20.05.2001\r\n"
                                      "Load bugfix package (1.5MB) from internet?");
    // The confix package may overwrite the hardware configuration: Enter must not load it.
    EXPECT_EQ(prompter.Boxes[1].DefaultButton(), ui::DefButton2);
    EXPECT_EQ(prompter.Boxes[1].Text.rfind("Installed date: 01.06.2001\r\nConfix date: 02.06.2001\r\n", 0),
              0u);
}

TEST_F(BugfixTest, SiteFromEnvironmentElseUpdSiteCfgElseNoAttempt) {
    // The file beside the program is the administrator's setting; the environment variable wins over
    // it, and with neither the user is told so before anything goes out to the network.
    const std::string cfg = testsupport::TestProgramDir() + "\\UpdSite.CFG";
    const std::string local = server.Base(), dead = "http://127.0.0.1:1";
    struct Case {
        std::string env, file; // "" for unset or no file
        Names fetched, captions;
    };
    const Case cases[] = {
        {local, dead, {"datefix.txt"}, {"Install bugfix package"}},
        {"", local + "/ * the site of the lab", {"datefix.txt"}, {"Install bugfix package"}},
        {"", "", {}, {"Update site"}},
    };
    SiteDates("01.06.2001", "01.01.1990");
    for (const Case& c : cases) {
        testsupport::ScopedEnv env{"SETUP_UPDATE_SITE", c.env};
        DeleteFileA(cfg.c_str());
        if (!c.file.empty()) WriteTextLines(cfg, {c.file});
        prompter.Boxes.clear();
        prompter.Answer(c.fetched.empty() ? ui::IdOk : ui::IdCancel);
        size_t before = server.Requests().size();
        LoadBugfix();
        EXPECT_EQ(Fetched(before), c.fetched) << c.env << " " << c.file;
        EXPECT_EQ(Captions(), c.captions) << c.env << " " << c.file;
    }
    DeleteFileA(cfg.c_str());
    EXPECT_EQ(prompter.Boxes[0].Text.rfind("No update site is configured.", 0), 0u);
}

} // namespace
