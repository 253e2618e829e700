// The DLL's front over archives the real zip tool made: what lands in the target folder, the result
// codes the program relies on, the callbacks, existing files replaced whole or not at all whatever file
// operation fails; and which member names may be written below the target folder. Runs natively and
// under Wine, there on both families.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <map>
#include <string>
#include <vector>

#include "lib/unzipdll.h"
#ifdef _WIN32
#include "support/emulated_win32.h"
#endif
#include "support/fault_loop.h"
#include "support/temp_dir.h"
#include "unzip32/singleentry.h"
#include "unzip32/zippath.h"
#include "unziptest.h"

using namespace unziptest;
using testsupport::TempDir;
using unzip::MemberPath;
using unzip::NameKind;
using Names = std::vector<std::string>;

namespace {

// What the callbacks saw; plain functions, so they report here.
struct Seen {
    Names members, replaced;
} seen;

int UNZIP_API Print(char*, unsigned long length) {
    return static_cast<int>(length);
}
int UNZIP_API Replace(char* name) {
    seen.replaced.push_back(name);
    return 1;
}
int UNZIP_API Service(const char* name, unsigned long) {
    seen.members.push_back(name);
    return 0;
}

// One call with the options and answers the program gives (ask before replacing and always replace,
// re-create folders, no name lists). No password callback: calling it would crash.
int Unzip(std::string archive, std::string target) {
    seen = Seen{};
    DCL dcl{};
    dcl.PromptToOverwrite = 1;
    dcl.ndflag = 1;
    dcl.lpszZipFN = archive.data();
    dcl.lpszExtractDir = target.data();
    USERFUNCTIONS uf{};
    uf.print = Print;
    uf.replace = Replace;
    uf.ServCallBk = Service;
    return unzip::SingleEntryUnzip(0, nullptr, 0, nullptr, &dcl, &uf);
}

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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        TempDir t("unzip");
        EXPECT_EQ(Unzip(Archive(c.archive), t / "new/target"), c.result);
        auto want = tree;
        if (!c.folderEntries) want.erase("hollow/"); // an empty folder needs its own entry
        EXPECT_EQ(Tree(t / "new/target"), want);
        if (c.folderEntries) {
            EXPECT_EQ(seen.members, kMembers) << "the service callback sees every member";
        }
    }
}

// A damaged archive is an error, never a warning, leaves no trace of a damaged member and keeps the
// file the damaged member was to replace.
TEST(SingleEntryUnzip, DamageIsAnErrorAndKeepsTheOldFile) {
    auto flip = [](std::string& z) {
        for (size_t i = z.size() / 3; i < z.size() / 3 + 16; ++i) z[i] = static_cast<char>(z[i] ^ 0x55);
    };
    const struct {
        const char* what;
        const char* archive;
        void (*change)(std::string&);
        int result;
        bool readmeKept; // the big member comes first, then readme.txt
    } cases[] = {
        {"deflated data flipped", "damage.zip", +flip, UZ_ERR, true},
        {"stored data flipped", "damage0.zip", +flip, UZ_ERR, true},
        {"cut in half", "damage.zip", [](std::string& z) { z.resize(z.size() / 2); }, UZ_BADERR, false},
        {"local header gone", "damage.zip", [](std::string& z) { z[0] = 'X'; }, UZ_ERR, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir t("unzip");
        std::string z = testsupport::ReadBytes(Archive(c.archive));
        c.change(z);
        t.Write("damaged.zip", z);
        testsupport::MakeDirs(t / "out");
        t.Write("out/big.txt", "the installed big.txt\r\n");
        t.Write("out/big.bin", "the installed big.bin\r\n");
        EXPECT_EQ(Unzip(t / "damaged.zip", t / "out"), c.result);
        auto want = std::map<std::string, std::string>{{"big.txt", "the installed big.txt\r\n"},
                                                       {"big.bin", "the installed big.bin\r\n"}};
        if (c.readmeKept) want["readme.txt"] = "Read me first.\r\n";
        EXPECT_EQ(Tree(t / "out"), want);
    }
}

// Extraction over older versions of the members replaces each whole or not at all, whatever file
// operation fails: a member holds its old bytes or its new ones (a new member is missing or whole), no
// temporary file is left, and the run reports a failure exactly when a member was not replaced. Each
// existing file is asked about. On Windows the readme is read-only and hidden, is replaced all the same
// and keeps those attributes when it is not.
TEST(SingleEntryUnzip, ReplacesMembersWholeOrNotAtAll) {
    TempDir t("unzip");
    const std::string target = t / "korvo";
    const Names members = {"readme.txt", "docs/manual.txt", "data/empty.dat", "big.bin",
                           "docs/deep/er/most.txt"};
    std::map<std::string, std::string> old, fresh;
    for (const std::string& m : members) {
        fresh[m] = testsupport::ReadBytes(ArchiveDir() + "tree/" + m);
        if (m != members.back()) old[m] = "installed " + m + "\r\n";
    }
    const std::string readme = t / "korvo/readme.txt";
    int result = UZ_OK;
    auto run = [&] {
        testsupport::RemoveTree(target);
        for (const char* folder : {"korvo/docs", "korvo/data"}) testsupport::MakeDirs(t / folder);
        for (const auto& [name, bytes] : old) testsupport::WriteBytes(t / ("korvo/" + name), bytes);
#ifdef _WIN32
        SetFileAttributesA(readme.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
#endif
        result = Unzip(Archive("update.zip"), target);
    };
    int positions = testsupport::ForEachFault(run, [&](int position, FsError) {
        auto now = Tree(target);
#ifdef _WIN32
        bool hidden = (GetFileAttributesA(readme.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
        EXPECT_EQ(hidden, now["readme.txt"] == old["readme.txt"]);
#endif
        bool allNew = true;
        for (const std::string& m : members) {
            std::string bytes = now.count(m) ? now[m] : "<missing>";
            std::string before = old.count(m) ? old[m] : "<missing>";
            EXPECT_TRUE(bytes == fresh[m] || bytes == before) << m << " is cut";
            allNew = allNew && bytes == fresh[m];
            now.erase(m);
        }
        for (const auto& [name, bytes] : now)
            EXPECT_EQ(name.back(), '/') << name << " left behind"; // only the members' folders stay
        EXPECT_EQ(result != UZ_OK, !allNew) << "result " << result;
        EXPECT_TRUE(position > 0 || (allNew && seen.replaced == Names(members.begin(), members.end() - 1)));
    });
    EXPECT_GE(positions, 20); // per member: create, its writes, close, move
    run();
    EXPECT_EQ(result, UZ_OK) << "a clean run after the faults";
}

#ifdef _WIN32
// The 95 family has no replacing move: the old file is set aside until the new one is in place.
TEST(SingleEntryUnzip, The95FamilyReplacesWholeOrNotAtAllToo) {
    if (!testsupport::EmulatedVersion().empty()) GTEST_SKIP() << "the emulated child runs the file tests";
    EXPECT_EQ(
        testsupport::RunTestsEmulated("win95", "SingleEntryUnzip.ReplacesMembers*:SingleEntryUnzip.Damage*"),
        0);
}
#endif

TEST(SingleEntryUnzip, RefusesMembersOutsideTheTargetAndWritesNothingThere) {
    // The real zip tool's own "../" member (""), then a name rewritten into the DOS form of it.
    const std::string names[] = {"", "..\\ppppppppp\\evil.txt"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TempDir t("unzip");
        std::string z = testsupport::ReadBytes(Archive(name.empty() ? "dotdot.zip" : "patchme.zip"));
        int patched = name.empty() ? 2 : Patch(z, "pppppppppppp/evil.txt", name);
        ASSERT_EQ(patched, 2) << "local and central name";
        t.Write("unsafe.zip", z);
        EXPECT_EQ(Unzip(t / "unsafe.zip", t / "a/b/out"), UZ_ERR);
        std::string kept = name.empty() ? "a/b/out/inside.txt" : "a/b/out/safe.txt";
        EXPECT_EQ(Files(t.Path()), (Names{"a/", "a/b/", "a/b/out/", kept, "unsafe.zip"}));
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
    };
    for (const auto& c : cases) {
        TempDir t("unzip");
        EXPECT_EQ(Unzip(Archive(c.archive), t.Path()), c.result) << c.archive;
        EXPECT_EQ(Files(t.Path()), c.files) << c.archive;
    }
}

TEST(SingleEntryUnzip, ReadsCommentsAndReportsBlockedFiles) {
    TempDir t("unzip");
    // An end-record signature inside the comment.
    EXPECT_EQ(Unzip(Archive("comment.zip"), t / "comment"), UZ_OK);
    EXPECT_EQ(t.Read("comment/readme.txt"), "Read me first.\r\n");

    // A folder where a file should go: that member fails, the others do not.
    fs::create_directories(t / "blocked/readme.txt");
    EXPECT_EQ(Unzip(Archive("deflated.zip"), t / "blocked"), UZ_ERR);
    EXPECT_EQ(t.Read("blocked/big.txt"), testsupport::ReadBytes(ArchiveDir() + "tree/big.txt"));
}

TEST(MemberPath, KeepsSafeNamesBelowTheTarget) {
    const struct {
        std::string name;
        NameKind kind;
        std::string path;
    } cases[] = {
        {"docs/deep/most.txt", NameKind::File, "docs/deep/most.txt"},
        {"docs\\dos\\made.txt", NameKind::File, "docs/dos/made.txt"},
        {"docs/", NameKind::Folder, "docs"},
        {"./a//b/./c.txt", NameKind::File, "a/b/c.txt"},
        {"a..b/..c/d..", NameKind::File, "a..b/..c/d.."},
    };
    for (const auto& c : cases) {
        std::string path = "stale";
        EXPECT_EQ(MemberPath(c.name, false, false, path), c.kind) << c.name;
        EXPECT_EQ(path, c.path) << c.name;
    }
}

TEST(MemberPath, RefusesNamesThatLeaveTheTargetOrAreDevices) {
    const char* refused[] = {"",    "\\windows\\win.ini", "C:autoexec.bat", "a/b:stream", "a/.. /b.txt", "..",
                             "CON", "docs/nul.txt"};
    std::string path;
    for (const char* name : refused)
        EXPECT_EQ(MemberPath(name, false, false, path), NameKind::Refused) << name;
}

} // namespace
