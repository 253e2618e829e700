// The DLL's front over archives the real zip tool made: what lands in the target folder, the result
// codes the program relies on, and the callbacks. Runs natively and under Wine. (The built DLL itself is
// loaded by the program's ZIP extraction tests; check-dll.sh looks at its imports and export.)
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <string>
#include <vector>

#include "lib/unzipdll.h"
#include "support/temp_dir.h"
#include "unzip32/singleentry.h"
#include "unziptest.h"

using namespace unziptest;
using testsupport::TempDir;
using Names = std::vector<std::string>;

namespace {

// What the callbacks saw; plain functions, so they report here.
struct Seen {
    Names members, replaced;
    int replaceAnswer = 1;
    size_t stopAt = 0; // the service callback answers "stop" at this member (1-based); 0: never
} seen;

int UNZIP_API Print(char*, unsigned long length) {
    return static_cast<int>(length);
}
int UNZIP_API Replace(char* name) {
    seen.replaced.push_back(name);
    return seen.replaceAnswer;
}
int UNZIP_API Service(const char* name, unsigned long) {
    seen.members.push_back(name);
    return seen.members.size() == seen.stopAt ? 1 : 0;
}

// One call with the options the program passes (ask before replacing, re-create folders); a test may
// change them. No password callback: calling it would crash.
struct Call {
    DCL dcl{};
    USERFUNCTIONS uf{};
    std::string archive, target;
    Names include, exclude;

    Call(const std::string& arc, const std::string& dir) : archive(arc), target(dir) {
        seen = Seen{};
        dcl.PromptToOverwrite = 1;
        dcl.ndflag = 1;
        uf.print = Print;
        uf.replace = Replace;
        uf.ServCallBk = Service;
    }
    int Run() {
        dcl.lpszZipFN = archive.data();
        dcl.lpszExtractDir = target.data();
        std::vector<char*> in, ex;
        for (auto& s : include) in.push_back(s.data());
        for (auto& s : exclude) ex.push_back(s.data());
        return unzip::SingleEntryUnzip(static_cast<int>(in.size()), in.data(), static_cast<int>(ex.size()),
                                       ex.data(), &dcl, &uf);
    }
};

// The files and folders below root (folders with a trailing '/').
Names Files(const std::string& root) {
    Names names;
    for (const auto& entry : Tree(root)) names.push_back(entry.first);
    return names;
}

const Names kMembers = {
    "readme.txt",      "docs/",   "docs/deep/",     "docs/deep/er/",   "docs/deep/er/most.txt",
    "docs/manual.txt", "data/",   "data/empty.dat", "data/random.bin", "hollow/",
    "with blank.txt",  "big.txt", "big.bin"};

TEST(SingleEntryUnzip, ExtractsWhatZipStored) {
    const struct {
        const char* archive;
        int result;
        bool folderEntries;
    } cases[] = {
        {"deflated.zip", UZ_OK, true}, {"stored.zip", UZ_OK, true},    {"nofolders.zip", UZ_OK, false},
        {"sfx.exe", UZ_WARN, true},    {"sfx_raw.exe", UZ_WARN, true},
    };
    auto tree = Tree(ArchiveDir() + "tree");
    ASSERT_EQ(tree.size(), kMembers.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        TempDir t("unzip");
        Call call(Archive(c.archive), t / "new/target");
        EXPECT_EQ(call.Run(), c.result);
        auto want = tree;
        if (!c.folderEntries) want.erase("hollow/"); // an empty folder needs its own entry
        EXPECT_EQ(Tree(t / "new/target"), want);
        EXPECT_EQ(call.uf.NumMembers, c.folderEntries ? kMembers.size() : kMembers.size() - 5);
        if (c.folderEntries) {
            EXPECT_EQ(seen.members, kMembers) << "the service callback sees every member";
        }
    }
}

TEST(SingleEntryUnzip, OverwritesAsTheOptionsSay) {
    const struct {
        int prompt, answer;
        bool replaced, asked;
    } cases[] = {
        {1, 1, true, true},   // the program's way: ask, and the answer is "replace"
        {1, 0, false, true},  // asked and refused
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.prompt << c.answer);
        TempDir t("unzip");
        t.Write("readme.txt", "an older, longer readme that must go when replaced\n");
#ifdef _WIN32 // the DLL replaces read-only and hidden files as well
        SetFileAttributesA((t / "readme.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
#endif
        Call call(Archive("deflated.zip"), t.Path());
        call.dcl.PromptToOverwrite = c.prompt;
        seen.replaceAnswer = c.answer;
        EXPECT_EQ(call.Run(), UZ_OK);
        EXPECT_EQ(t.Read("readme.txt") == "Read me first.\r\n", c.replaced);
        EXPECT_EQ(seen.replaced, c.asked ? Names{"readme.txt"} : Names{});
        EXPECT_EQ(t.Read("docs/manual.txt"), ReadAll(ArchiveDir() + "tree/docs/manual.txt"));
    }
}

// A damaged archive is an error, never a warning, and leaves no trace of a damaged member.
TEST(SingleEntryUnzip, DamageIsAnErrorAndLeavesNoPartialFile) {
    auto flip = [](std::string& z) {
        for (size_t i = z.size() / 3; i < z.size() / 3 + 16; ++i) z[i] = static_cast<char>(z[i] ^ 0x55);
    };
    const struct {
        const char* what;
        const char* archive;
        void (*change)(std::string&);
        int result;
        size_t kept; // members extracted: the big one first, then readme.txt
    } cases[] = {
        {"deflated data flipped", "damage.zip", +flip, UZ_ERR, 1},
        {"stored data flipped", "damage0.zip", +flip, UZ_ERR, 1},
        {"cut in half", "damage.zip", [](std::string& z) { z.resize(z.size() / 2); }, UZ_BADERR, 0},
        {"directory lists one more", "damage.zip",
         [](std::string& z) { z[z.size() - 12]++, z[z.size() - 14]++; }, UZ_BADERR, 2},
        {"local header gone", "damage.zip", [](std::string& z) { z[0] = 'X'; }, UZ_ERR, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir t("unzip");
        std::string z = ReadAll(Archive(c.archive));
        c.change(z);
        t.Write("damaged.zip", z);
        Call call(t / "damaged.zip", t / "out");
        EXPECT_EQ(call.Run(), c.result);
        auto files = Tree(t / "out");
        EXPECT_EQ(files.size(), c.kept);
        EXPECT_EQ(files.count("readme.txt"), c.kept ? 1u : 0u);
    }
}

TEST(SingleEntryUnzip, RefusesMembersOutsideTheTargetAndWritesNothingThere) {
    // The real zip tool's own "../" member (""), then a name rewritten into other unsafe forms.
    const std::string names[] = {"", "..\\ppppppppp\\evil.txt", "/ppppppppppp/evil.txt",
                                 "C:/ppppppppp/evil.txt"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TempDir t("unzip");
        std::string z = ReadAll(Archive(name.empty() ? "dotdot.zip" : "patchme.zip"));
        int patched = name.empty() ? 2 : Patch(z, "pppppppppppp/evil.txt", name);
        ASSERT_EQ(patched, 2) << "local and central name";
        t.Write("unsafe.zip", z);
        Call call(t / "unsafe.zip", t / "a/b/out");
        EXPECT_EQ(call.Run(), UZ_ERR);
        std::string kept = name.empty() ? "a/b/out/inside.txt" : "a/b/out/safe.txt";
        EXPECT_EQ(Files(t.Path()), (Names{"a/", "a/b/", "a/b/out/", kept, "unsafe.zip"}));
        EXPECT_FALSE(fs::exists("/ppppppppppp"));
    }
}

TEST(SingleEntryUnzip, ResultCodesForWhatItCannotDo) {
    const struct {
        const char* archive;
        int result;
        Names files; // what the target holds afterwards
    } cases[] = {
        {"crypt.zip", UZ_UNSUP, {"docs/", "docs/manual.txt"}},
        {"empty.zip", UZ_WARN, {}},
        {"stub.bin", UZ_BADERR, {}},
        {"no-such.zip", UZ_NOZIP, {}},
    };
    for (const auto& c : cases) {
        TempDir t("unzip");
        EXPECT_EQ(Call(Archive(c.archive), t.Path()).Run(), c.result) << c.archive;
        EXPECT_EQ(Files(t.Path()), c.files) << c.archive;
    }
}

TEST(SingleEntryUnzip, NameListsAndStopping) {
    TempDir t("unzip");
    Call lists(Archive("deflated.zip"), t / "lists");
    lists.include = {"docs/deep/*", "*.txt"};
    lists.exclude = {"docs/*", "big*"}; // leaving out wins
    EXPECT_EQ(lists.Run(), UZ_OK);
    EXPECT_EQ(Files(t / "lists"), (Names{"readme.txt", "with blank.txt"}));

    Call stopped(Archive("deflated.zip"), t / "stopped");
    seen.stopAt = 2;
    EXPECT_EQ(stopped.Run(), UZ_ABORT);
    EXPECT_EQ(Files(t / "stopped"), Names{"readme.txt"});
}

TEST(SingleEntryUnzip, ReadsCommentsAndReportsBlockedFiles) {
    TempDir t("unzip");
    Call comment(Archive("comment.zip"), t / "comment"); // an end-record signature inside the comment
    EXPECT_EQ(comment.Run(), UZ_OK);
    EXPECT_EQ(t.Read("comment/readme.txt"), "Read me first.\r\n");
    EXPECT_GT(comment.uf.cchComment, 20u);

    // A folder where a file should go: that member fails, the others do not.
    fs::create_directories(t / "blocked/readme.txt");
    EXPECT_EQ(Call(Archive("deflated.zip"), t / "blocked").Run(), UZ_ERR);
    EXPECT_EQ(t.Read("blocked/big.txt"), ReadAll(ArchiveDir() + "tree/big.txt"));
}

} // namespace
