// The DLL's front over archives the real zip tool made: what lands in the target folder, the result
// codes the program relies on, and the callbacks. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/unzipdll.h"
#include "unzip32/singleentry.h"
#include "unziptest.h"

using namespace unziptest;

namespace {

// What the callbacks saw; plain functions, so they report here.
struct Seen {
    std::vector<std::string> members, replaced;
    int replaceAnswer = 1;
    size_t stopAt = 0; // the service callback answers "stop" at this member (1-based); 0: never
    int passwords = 0;
} seen;

int UNZIP_API Print(char*, unsigned long length) {
    return static_cast<int>(length);
}
int UNZIP_API Replace(char* name) {
    seen.replaced.push_back(name);
    return seen.replaceAnswer;
}
int UNZIP_API Password(char*, int, const char*, const char*) {
    return ++seen.passwords, 1;
}
int UNZIP_API Service(const char* name, unsigned long) {
    seen.members.push_back(name);
    return seen.members.size() == seen.stopAt ? 1 : 0;
}

// One call with the options the program passes, adjusted by the test.
struct Call {
    DCL dcl{};
    USERFUNCTIONS uf{};
    std::string archive, target;
    std::vector<std::string> include, exclude;

    Call(const std::string& arc, const std::string& dir) : archive(arc), target(dir) {
        seen = Seen{};
        dcl.PromptToOverwrite = 1;
        dcl.ndflag = 1;
        uf.print = Print;
        uf.replace = Replace;
        uf.password = Password;
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

const std::vector<std::string> kMembers = {
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
        TempDir t;
        Call call(Archive(c.archive), t / "new/target");
        EXPECT_EQ(call.Run(), c.result) << c.archive;
        auto want = tree;
        if (!c.folderEntries) want.erase("hollow/"); // an empty folder needs its own entry
        EXPECT_EQ(Tree(t / "new/target"), want) << c.archive;
        EXPECT_EQ(call.uf.NumMembers, c.folderEntries ? kMembers.size() : kMembers.size() - 5) << c.archive;
        if (c.folderEntries) {
            EXPECT_EQ(seen.members, kMembers) << "the service callback sees every member";
        }
    }
}

TEST(SingleEntryUnzip, OverwritesAsTheOptionsSay) {
    const struct {
        int prompt, noflag, answer;
        bool replaced, asked;
    } cases[] = {
        {1, 0, 1, true, true},   // the program's way: ask, and the answer is "replace"
        {1, 0, 0, false, true},  // asked and refused
        {0, 1, 0, true, false},  // overwrite without asking
        {1, 1, 0, true, false},  // noflag wins
        {0, 0, 1, false, false}, // neither: existing files stay
    };
    for (const auto& c : cases) {
        TempDir t;
        WriteAll(t / "readme.txt", "an older, longer readme that must go when replaced\n");
        Call call(Archive("deflated.zip"), t.Path().string());
        call.dcl.PromptToOverwrite = c.prompt;
        call.dcl.noflag = c.noflag;
        seen.replaceAnswer = c.answer;
        EXPECT_EQ(call.Run(), UZ_OK);
        EXPECT_EQ(ReadAll(t / "readme.txt") == "Read me first.\r\n", c.replaced)
            << c.prompt << c.noflag << c.answer;
        EXPECT_EQ(seen.replaced,
                  c.asked ? std::vector<std::string>{"readme.txt"} : std::vector<std::string>{});
        EXPECT_EQ(ReadAll(t / "docs/manual.txt"), ReadAll(ArchiveDir() + "tree/docs/manual.txt"));
    }
}

// Copies an archive with a change applied and extracts it: an error, never a warning, and no trace of a
// damaged member.
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
        {"end record cut", "damage.zip", [](std::string& z) { z.resize(z.size() - 10); }, UZ_BADERR, 0},
        {"bytes missing inside", "damage.zip", [](std::string& z) { z.erase(z.size() / 3, 1000); }, UZ_BADERR,
         0},
        {"directory lists one more", "damage.zip",
         [](std::string& z) { z[z.size() - 12]++, z[z.size() - 14]++; }, UZ_BADERR, 2},
        {"local header gone", "damage.zip", [](std::string& z) { z[0] = 'X'; }, UZ_ERR, 1},
    };
    for (const auto& c : cases) {
        TempDir t;
        std::string z = ReadAll(Archive(c.archive));
        c.change(z);
        WriteAll(t / "damaged.zip", z);
        Call call(t / "damaged.zip", t / "out");
        EXPECT_EQ(call.Run(), c.result) << c.what;
        auto files = Tree(t / "out");
        EXPECT_EQ(files.size(), c.kept) << c.what;
        EXPECT_EQ(files.count("readme.txt"), c.kept ? 1u : 0u) << c.what;
    }
}

TEST(SingleEntryUnzip, RefusesMembersOutsideTheTargetAndWritesNothingThere) {
    const char* original = "pppppppppppp/evil.txt";
    const std::string unsafe[] = {
        "../ppppppppp/evil.txt",  "..\\ppppppppp\\evil.txt", "pp/../../ppp/evil.txt", "/ppppppppppp/evil.txt",
        "\\ppppppppppp/evil.txt", "C:/ppppppppp/evil.txt",   "C:pppppppppp/evil.txt", "pppppppp/.../evil.txt",
        "ppppppp/..  /evil.txt",  "ppppppppppp/aux.a.txt",
    };
    for (const auto& name : unsafe) {
        TempDir t;
        std::string z = ReadAll(Archive("patchme.zip"));
        ASSERT_EQ(Patch(z, original, name), 2) << "local and central name";
        WriteAll(t / "unsafe.zip", z);
        Call call(t / "unsafe.zip", t / "a/b/out");
        EXPECT_EQ(call.Run(), UZ_ERR) << name;
        EXPECT_EQ(Tree(t.Path()), (std::map<std::string, std::string>{{"a/", ""},
                                                                      {"a/b/", ""},
                                                                      {"a/b/out/", ""},
                                                                      {"a/b/out/safe.txt", "safe\n"},
                                                                      {"unsafe.zip", z}}))
            << name;
        EXPECT_EQ(seen.members, std::vector<std::string>{"safe.txt"}) << name;
        EXPECT_FALSE(fs::exists("/ppppppppppp")) << name;
    }
    TempDir t; // the real zip tool's own "../" member
    Call call(Archive("dotdot.zip"), t / "a/b/out");
    EXPECT_EQ(call.Run(), UZ_ERR);
    EXPECT_EQ(Tree(t.Path()),
              (std::map<std::string, std::string>{
                  {"a/", ""}, {"a/b/", ""}, {"a/b/out/", ""}, {"a/b/out/inside.txt", "inside\n"}}));
}

TEST(SingleEntryUnzip, ResultCodesForWhatItCannotDo) {
    const struct {
        const char* archive;
        int result;
        std::vector<std::string> files; // what the target holds afterwards
    } cases[] = {
        {"crypt.zip", UZ_UNSUP, {"docs/", "docs/manual.txt"}},
        {"bzip2.zip", UZ_UNSUP, {"readme.txt"}},
        {"empty.zip", UZ_WARN, {}},
        {"stub.bin", UZ_BADERR, {}},
        {"no-such.zip", UZ_NOZIP, {}},
    };
    for (const auto& c : cases) {
        TempDir t;
        Call call(Archive(c.archive), t.Path().string());
        EXPECT_EQ(call.Run(), c.result) << c.archive;
        std::vector<std::string> files;
        for (const auto& [name, bytes] : Tree(t.Path())) files.push_back(name);
        EXPECT_EQ(files, c.files) << c.archive;
    }
    EXPECT_EQ(seen.passwords, 0);
}

TEST(SingleEntryUnzip, OptionsNameListsAndStopping) {
    const struct {
        const char* what;
        void (*set)(Call&);
        int result;
        std::vector<std::string> files;
    } cases[] = {
        {"include",
         [](Call& c) {
             c.include = {"docs/deep/*", "*.dat"};
         },
         UZ_OK,
         {"data/", "data/empty.dat", "docs/", "docs/deep/", "docs/deep/er/", "docs/deep/er/most.txt"}},
        {"exclude",
         [](Call& c) {
             c.include = {"*.txt"}, c.exclude = {"*/*", "big*"};
         },
         UZ_OK,
         {"readme.txt", "with blank.txt"}},
        {"case", [](Call& c) { c.include = {"README.TXT"}, c.dcl.C_flag = 1; }, UZ_OK, {"readme.txt"}},
        {"no match", [](Call& c) { c.include = {"README.TXT"}; }, UZ_FIND, {}},
        {"junk folders",
         [](Call& c) { c.include = {"docs/*"}, c.dcl.ndflag = 0; },
         UZ_OK,
         {"manual.txt", "most.txt"}},
        {"blanks",
         [](Call& c) { c.include = {"with*"}, c.dcl.SpaceToUnderscore = 1; },
         UZ_OK,
         {"with_blank.txt"}},
        {"test only", [](Call& c) { c.dcl.ntflag = 1; }, UZ_OK, {}},
        {"unsupported", [](Call& c) { c.dcl.ExtractOnlyNewer = 1; }, UZ_PARAM, {}},
        {"stopped", [](Call&) { seen.stopAt = 2; }, UZ_ABORT, {"readme.txt"}},
    };
    for (const auto& c : cases) {
        TempDir t;
        Call call(Archive("deflated.zip"), t / "out");
        c.set(call);
        EXPECT_EQ(call.Run(), c.result) << c.what;
        std::vector<std::string> files;
        for (const auto& [name, bytes] : Tree(t / "out")) files.push_back(name);
        EXPECT_EQ(files, c.files) << c.what;
    }
    TempDir t;
    std::string damaged = ReadAll(Archive("damage.zip"));
    damaged[damaged.size() / 3] ^= 0x55;
    WriteAll(t / "damaged.zip", damaged);
    Call test(t / "damaged.zip", t / "out");
    test.dcl.ntflag = 1;
    EXPECT_EQ(test.Run(), UZ_ERR) << "testing finds the damage";
    EXPECT_FALSE(fs::exists(t / "out"));
}

TEST(SingleEntryUnzip, ReadsZip64RecordsCommentsAndBlockedFiles) {
    TempDir t;
    Call stream(Archive("stream.zip"), t / "stream");
    EXPECT_EQ(stream.Run(), UZ_OK);
    std::string numbers;
    for (int i = 1; i <= 1000; ++i) numbers += std::to_string(i) + "\n";
    EXPECT_EQ(ReadAll(t / "stream/-"), numbers);

    // The plain end record saturated: only the zip64 one tells where the directory is.
    std::string z = ReadAll(Archive("stream.zip"));
    for (size_t i = z.size() - 14; i < z.size() - 2; ++i) z[i] = '\xff';
    WriteAll(t / "zip64.zip", z);
    Call zip64(t / "zip64.zip", t / "zip64");
    EXPECT_EQ(zip64.Run(), UZ_OK);
    EXPECT_EQ(ReadAll(t / "zip64/-"), numbers);

    Call comment(Archive("comment.zip"), t / "comment");
    EXPECT_EQ(comment.Run(), UZ_OK);
    EXPECT_EQ(ReadAll(t / "comment/readme.txt"), "Read me first.\r\n");
    EXPECT_GT(comment.uf.cchComment, 20u);

    // A folder where a file should go: that member fails, the others do not.
    fs::create_directories(t / "blocked/readme.txt");
    Call blocked(Archive("deflated.zip"), t / "blocked");
    EXPECT_EQ(blocked.Run(), UZ_ERR);
    EXPECT_EQ(ReadAll(t / "blocked/big.txt"), ReadAll(ArchiveDir() + "tree/big.txt"));
}

} // namespace
