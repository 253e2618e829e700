// ZIP extraction through the built UnZip32.DLL, with archives the build made with the real zip tool:
// the three result classes and their boxes, a missing archive, a missing DLL. (The DLL beside the
// program is what the end-to-end installation loads.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>

#include "lib/zip_win32.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"
#include "unzip32/unziptest.h"

using testsupport::TempDir;
using unziptest::ReadAll;
using unziptest::Tree;
using unziptest::WriteAll;

namespace {

std::string BuiltDllDir() {
    std::string tests = testsupport::TestProgramDir();
    return tests.substr(0, tests.find_last_of('\\')) + "\\src\\unzip32";
}

std::string Archives() {
    return testsupport::TestProgramDir() + "\\unzip32\\archives";
}

class ExtractZipTest : public testing::Test {
  protected:
    void SetUp() override { SetUnzipDir(BuiltDllDir()); }
    void TearDown() override { SetUnzipDir(""); }

    void Copy(const std::string& from, const std::string& to) {
        ASSERT_TRUE(CopyFileA((Archives() + "\\" + from).c_str(), (dir / to).c_str(), FALSE)) << from;
    }

    TempDir dir{"zip_extract"};
    testsupport::ScriptedPrompter prompter;
};

TEST_F(ExtractZipTest, ResultClassesAndTheirBoxes) {
    Copy("deflated.zip", "pack.zip");
    Copy("sfx.exe", "Mixed.ExE");
    Copy("sfx.exe", "sfx.zip"); // the same program stub in front, under a name that does not expect it
    std::string damaged = ReadAll(Archives() + "\\damage.zip");
    damaged[damaged.size() / 3] ^= 0x55;
    WriteAll(dir / "broken.zip", damaged);

    // archive, caption of the one box expected (none: no box), its icon, the DLL's result as the box's last
    // line (none for "File not exist", whose box names only the archive), error, the whole tree arrived
    const std::tuple<std::string, std::string, unsigned, std::string, bool, bool> cases[] = {
        {"pack.zip", "", 0, "", false, true},
        {"Mixed.ExE", "", 0, "", false, true},
        {"sfx.zip", "Unzip warning", ui::IconWarning, "1", false, true},
        {"broken.zip", "Unzip error", ui::IconStop, "2", true, false},
        {"none.zip", "File not exist", ui::IconStop, "", true, false}};
    auto expected = Tree(Archives() + "\\tree");
    int n = 0;
    for (const auto& [name, caption, icon, result, wantError, extracted] : cases) {
        SCOPED_TRACE(name);
        std::string archive = dir / name, target = dir / ("out" + std::to_string(n++));
        testsupport::MakeDirs(target);
        testsupport::WriteTextLines(target + "\\readme.txt", {"old"}); // replaced without a question
        prompter.Boxes.clear();
        if (!caption.empty()) prompter.Answer(ui::IdOk);
        bool error = !wantError;
        ExtractZip(archive, target, 0, error);
        EXPECT_EQ(error, wantError);
        auto tree = Tree(target);
        if (extracted) {
            EXPECT_EQ(tree, expected);
        } else if (result.empty()) {
            EXPECT_EQ(tree.size(), 1u) << "nothing extracted";
        }
        ASSERT_EQ(prompter.Boxes.size(), caption.empty() ? 0u : 1u);
        if (caption.empty()) continue;
        const testsupport::Box& box = prompter.Boxes[0];
        EXPECT_EQ(box.Caption, caption);
        EXPECT_EQ(box.Flags, ui::BtnOk | icon);
        EXPECT_EQ(box.Text, result.empty() ? archive : archive + "\r\n" + target + "\r\n" + result);
    }
}

TEST_F(ExtractZipTest, MissingDllIsReportedWithItsPath) {
    Copy("deflated.zip", "pack.zip");
    testsupport::MakeDirs(dir / "empty");
    // The built DLL is loaded by SetUp; a new setting must drop it, and the next one find it again.
    int n = 0;
    for (const std::string& dllDir : {dir / "empty", BuiltDllDir()}) {
        SCOPED_TRACE(dllDir);
        bool found = dllDir == BuiltDllDir();
        SetUnzipDir(dllDir);
        prompter.Boxes.clear();
        if (!found) prompter.Answer(ui::IdOk);
        std::string target = dir / ("out" + std::to_string(n++));
        bool error = found;
        ExtractZip(dir / "pack.zip", target, 0, error);
        EXPECT_EQ(error, !found);
        EXPECT_EQ(testsupport::FileExists(target + "\\readme.txt"), found);
        ASSERT_EQ(prompter.Boxes.size(), found ? 0u : 1u);
        if (!found) {
            EXPECT_EQ(prompter.Boxes[0].Caption, "DLL not found");
            EXPECT_EQ(prompter.Boxes[0].Text, dllDir + "\\UnZip32.DLL\r\nnot found!");
        }
    }
}

} // namespace
