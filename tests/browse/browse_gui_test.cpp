// The explorer and the path dialogs on real windows and real folders under Wine: tree walks, the
// listing, the returned paths, a network share, refused folder names, and a screenshot of each window.
#include <gtest/gtest.h>

#include <deque>
#include <iterator>
#include <filesystem>
#include <functional>

#include "browse/browexp.h"
#include "browse/pathdialogs.h"
#include "support/screens_win32.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/unix_shell_win32.h"
#include "support/wine_win32.h"

namespace {

using testsupport::TempDir;

// Acts on the modal windows in the order they open; each step names the window class it expects.
class ModalScript : testsupport::HookGuard {
  public:
    ModalScript()
        : HookGuard([this](ui::Form& form) {
              ASSERT_FALSE(steps_.empty()) << "unexpected window " << form.Caption();
              auto step = std::move(steps_.front());
              steps_.pop_front();
              step(form);
          }) {}
    ~ModalScript() { EXPECT_TRUE(steps_.empty()) << "windows that never opened"; }
    template <class F> ModalScript& Then(std::function<void(F&)> step) {
        steps_.push_back([step](ui::Form& form) {
            auto* window = dynamic_cast<F*>(&form);
            ASSERT_NE(window, nullptr) << form.Caption();
            step(*window);
        });
        return *this;
    }

  private:
    std::deque<std::function<void(ui::Form&)>> steps_;
};

class Browse : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetBuiltSlots();
        ResetFormFrame();
        ResetChildWins();
        ResetBrowExp();
        ResetPathDialogs();
        tmp.MakeFiles({"A.DAT", "SUB/B.DAT", "SUB/DEEP/C.DAT", "DATA/RUN1/D.TXT"});
    }
    // Opens the explorer on the start path; the step runs on the shown window.
    bool Explore(PathBuf& path, std::function<void(TDialBrowExp&)> step) {
        ModalScript script;
        script.Then(std::move(step));
        bool accepted = false;
        ExecBrowExp("Source directory", path, accepted);
        return accepted;
    }
    PathBuf Path(const std::string& text) {
        PathBuf path;
        path.Set(text);
        return path;
    }
    // The scratch folder as the share \\SRV\SHARE, the way Wine serves one:
    // $WINEPREFIX/dosdevices/unc/<server>/<share>.
    std::string Share() {
        EXPECT_EQ(testsupport::RunUnixShell("mkdir -p \"$WINEPREFIX/dosdevices/unc/srv\" && ln -sfn '" +
                                            testsupport::UnixPathOf(tmp.Path()) +
                                            "' \"$WINEPREFIX/dosdevices/unc/srv/share\""),
                  0);
        shared_ = true;
        return "\\\\SRV\\SHARE";
    }
    void TearDown() override {
        if (shared_) testsupport::RunUnixShell("rm -rf \"$WINEPREFIX/dosdevices/unc\"");
    }
    TempDir tmp{"browse"};

  private:
    bool shared_ = false;
};

TEST_F(Browse, ExplorerWalksToTheDeepestFolderAndReturnsItsPath) {
    // start path, Panel0 and the returned path
    const std::pair<std::string, std::string> cases[] = {
        {tmp / "SUB\\", tmp / "SUB"},
        {"Q:\\NOWHERE", "C:\\"},              // no such directory: drive C
        {tmp / "SUB\\..\\DATA", tmp / "SUB"}, // exists, but no folder ".." in the tree: the walk stops
    };
    for (const auto& [start, expected] : cases) {
        PathBuf path = Path(start);
        EXPECT_TRUE(Explore(path, [&](TDialBrowExp& d) {
            EXPECT_EQ(d.Panel0.Caption(), expected);
            d.SpeedOkay.OnClick();
        }));
        EXPECT_EQ(path.Str(), expected);
    }
}

TEST_F(Browse, ExplorerListingAndTheRememberedMask) {
    PathBuf path = Path(tmp.Path());
    EXPECT_FALSE(Explore(path, [&](TDialBrowExp& d) {
        EXPECT_EQ(d.Memo1.Lines(), std::vector<std::string>{"A.DAT"});
        d.SpeedSubDir.OnClick();
        EXPECT_EQ(d.Memo1.LineCount(), 4); // A.DAT, then the files of SUB, SUB\DEEP and DATA\RUN1
        EXPECT_FALSE(testsupport::SaveScreenshot(d.Handle(), "browse_explorer").empty());
        // A tool click while a walk pumps messages is ignored, its button state kept, and every part
        // of the window keeps the hourglass when the mouse moves over it.
        d.Busy = true;
        d.SpeedSearch.OnClick();
        d.SpeedNewDir.OnClick(); // would open a dialog
        EXPECT_TRUE(BrowExp().SearchOn);
        EXPECT_TRUE(d.SpeedSearch.Down());
        for (ui::Control* part : std::initializer_list<ui::Control*>{&d.Edit1, &d.ToolBar1, &d.TreeView1,
                                                                     &d.Splitter1, &d.Memo1, &d.Panel0}) {
            SetCursor(nullptr);
            SendMessageA(part->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(part->Handle()), HTCLIENT);
            EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT)) << part->Id();
        }
        d.Busy = false;
        d.Edit1.SetText("*.TXT");
        PostMessageA(d.Handle(), WM_CLOSE, 0, 0);
    }));
    EXPECT_EQ(path.Str(), tmp.Path()); // cancelled: the caller's path stays
    EXPECT_EQ(BrowExp().Mask, "*.TXT");
}

// Lines of the listing picked with the mouse and Shift, or all with Ctrl+A, reach the clipboard with
// Ctrl+C as text, one line each.
TEST_F(Browse, ExplorerListingCopiesSelectedLines) {
    BrowExp().WithSubDirs = true;
    PathBuf path = Path(tmp.Path());
    Explore(path, [&](TDialBrowExp& d) {
        ui::LinesView& list = d.Memo1;
        ASSERT_EQ(list.LineCount(), 4);
        auto click = [&](int row, WPARAM keys) {
            int height = static_cast<int>(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));
            SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(10, height * row + 2));
            SendMessageA(list.Handle(), WM_LBUTTONUP, keys, MAKELPARAM(10, height * row + 2));
        };
        auto copied = [&](BYTE key) { // Ctrl and the key, through the system's input queue
            list.SetFocus();
            for (BYTE down : {BYTE(VK_CONTROL), key}) keybd_event(down, 0, 0, 0);
            for (BYTE up : {key, BYTE(VK_CONTROL)}) keybd_event(up, 0, KEYEVENTF_KEYUP, 0);
            for (int i = 0; i < 10; ++i, Sleep(10))
                ui::ProcessMessages(); // the program's own loop, dialog keys included
            OpenClipboard(nullptr);
            HANDLE data = GetClipboardData(CF_TEXT);
            std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
            if (data) GlobalUnlock(data);
            CloseClipboard();
            return text;
        };
        click(1, 0);
        click(2, MK_SHIFT);
        EXPECT_EQ(copied('C'), list.Line(1) + "\r\n" + list.Line(2));
        EXPECT_FALSE(testsupport::SaveScreenshot(d.Handle(), "browse_explorer_selection").empty());
        copied('A');
        EXPECT_EQ(copied('C'),
                  list.Line(0) + "\r\n" + list.Line(1) + "\r\n" + list.Line(2) + "\r\n" + list.Line(3));
        PostMessageA(d.Handle(), WM_CLOSE, 0, 0);
    });
}

// The explorer moved and resized by the user opens again where it was left.
TEST_F(Browse, ExplorerReopensWhereItWasLeft) {
    PathBuf path = Path(tmp.Path());
    RECT left{}, reopened{};
    Explore(path, [&](TDialBrowExp& d) {
        SetWindowPos(d.Handle(), nullptr, 230, 170, 640, 440, SWP_NOZORDER);
        GetWindowRect(d.Handle(), &left);
        PostMessageA(d.Handle(), WM_CLOSE, 0, 0);
    });
    Explore(path, [&](TDialBrowExp& d) {
        GetWindowRect(d.Handle(), &reopened);
        PostMessageA(d.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(left.left, 230);
    EXPECT_TRUE(EqualRect(&reopened, &left)) << reopened.left << "," << reopened.top;
}

TEST_F(Browse, ExplorerFindsAndCreatesDirectories) {
    PathBuf path = Path(tmp.Path());
    ModalScript script;
    script
        .Then<TDialBrowExp>([&](TDialBrowExp& d) {
            d.SpeedFind.OnClick();
            EXPECT_EQ(d.Panel0.Caption(), tmp / "SUB\\DEEP"); // the tree shows the directory found
            d.SpeedNewDir.OnClick();
            EXPECT_EQ(d.Panel0.Caption(), tmp / "SUB\\DEEP\\FRESH");
            d.SpeedOkay.OnClick();
        })
        .Then<TDialInpiFind>([&](TDialInpiFind& d) {
            SendMessageA(d.RadioBtnP.Handle(), BM_CLICK, 0, 0);
            d.EditP.SetText("*");
            SendMessageA(d.FindBtn.Handle(), BM_CLICK, 0, 0);
            EXPECT_FALSE(testsupport::SaveScreenshot(d.Handle(), "browse_find_path").empty());
            for (int i = 0; i < d.ListBox1.Count(); ++i)
                if (d.ListBox1.Item(i) == "SUB\\DEEP") d.ListBox1.SetItemIndex(i);
            d.ListBox1Click();
            SendMessageA(d.OKBtn.Handle(), BM_CLICK, 0, 0);
        })
        .Then<TDialInpiFold>([&](TDialInpiFold& d) {
            EXPECT_EQ(d.LabelBP.Caption(), tmp / "SUB\\DEEP");
            d.Edit1.SetText("FRESH");
            EXPECT_FALSE(testsupport::SaveScreenshot(d.Handle(), "browse_new_directory").empty());
            SendMessageA(d.OKBtn.Handle(), BM_CLICK, 0, 0);
        });
    bool accepted = false;
    ExecBrowExp("Destination directory", path, accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(path.Str(), tmp / "SUB\\DEEP\\FRESH");
}

// A path on a network share is walked and returned, and the share's root kept.
TEST_F(Browse, ExplorerWalksANetworkShare) {
    std::string sub = Share() + "\\SUB";
    PathBuf path = Path(sub);
    EXPECT_TRUE(Explore(path, [&](TDialBrowExp& d) {
        EXPECT_EQ(d.Panel0.Caption(), sub);
        d.SpeedOkay.OnClick();
    }));
    EXPECT_EQ(path.Str(), sub);
    EXPECT_EQ(BrowExp().NetRoot, "\\\\SRV\\SHARE");
}

// The chooser opens at the start folder, on a drive or on a share, and returns the folder opened in it.
TEST_F(Browse, DirectoryChooserOpensThenAccepts) {
    for (const std::string& start : {tmp.Path(), Share()}) {
        PathBuf path = Path(start);
        bool accepted = false;
        ModalScript script;
        script.Then<TDialBrowPath>([&](TDialBrowPath& d) {
            EXPECT_EQ(d.StrEdit1.Text(), start);
            int sub = 0;
            while (sub < d.DirectoryListBox1.Count() && d.DirectoryListBox1.Item(sub) != "SUB") ++sub;
            d.DirectoryListBox1.SetItemIndex(sub);
            std::string shot = start == tmp.Path() ? "browse_choose_directory" : "browse_choose_share";
            EXPECT_FALSE(testsupport::SaveScreenshot(d.Handle(), shot).empty());
            SendMessageA(d.OKBtn.Handle(), BM_CLICK, 0, 0); // opens SUB
            EXPECT_EQ(d.StrEdit1.Text(), start + "\\SUB");
            EXPECT_EQ(d.ModalResult(), ui::MrNone);
            d.DirectoryListBox1.SetItemIndex(-1);
            SendMessageA(d.OKBtn.Handle(), BM_CLICK, 0, 0); // accepts it
        });
        ExecBrowPath("Source directory", path, accepted);
        EXPECT_TRUE(accepted) << start;
        EXPECT_EQ(path.Str(), start + "\\SUB");
    }
}

// A name that exists, that cannot be made, or that would be cut: a box, and nothing made.
TEST_F(Browse, NewSubDirectoryRefused) {
    testsupport::ScriptedPrompter prompter;
    const std::string tooLong(180, 'L'); // the joined path would be cut: another directory than typed
    const std::pair<std::string, const char*> cases[] = {
        {"SUB", "Dir already exist"}, {"NO\\SUCH", "Create error"}, {tooLong, "Create error"}};
    for (const auto& [name, box] : cases) {
        PathBuf path = Path(tmp.Path());
        bool made = true;
        ModalScript script;
        script.Then<TDialInpiFold>([&](TDialInpiFold& d) {
            d.Edit1.SetText(name);
            SendMessageA(d.OKBtn.Handle(), BM_CLICK, 0, 0);
        });
        prompter.Answer(ui::IdOk);
        ExecInpiFold(path, made);
        EXPECT_FALSE(made) << name;
        EXPECT_EQ(path.Str(), tmp.Path()) << name;
        ASSERT_FALSE(prompter.Boxes.empty());
        EXPECT_EQ(prompter.Boxes.back().Caption, box) << name;
    }
    EXPECT_EQ(prompter.Boxes.size(), 3u);
    // A.DAT, SUB, DATA: nothing cut was made
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.Path()), {}), 3);
}

} // namespace
