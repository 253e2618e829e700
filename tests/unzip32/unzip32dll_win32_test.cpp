// The built UnZip32.DLL as the program uses it: loaded at run time, its export found by name, called
// with the program's options and stdcall callbacks.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/unzipdll.h"
#include "unziptest.h"

using namespace unziptest;

namespace {

struct Seen {
    std::string target;
    std::vector<std::string> progress; // what the program would show: target joined with the member name
    int prints = 0;
} seen;

int WINAPI Print(char*, unsigned long) {
    return ++seen.prints, 0;
}
int WINAPI Replace(char*) {
    return 1;
}
int WINAPI Password(char*, int, const char*, const char*) {
    return 1;
}
void WINAPI Message(unsigned long, unsigned long, unsigned, unsigned, unsigned, unsigned, unsigned, unsigned,
                    char, char*, char*, unsigned long, char) {}
int WINAPI Service(const char* name, unsigned long) {
    std::string text = seen.target + "\\" + name;
    for (char& c : text)
        if (c == '/') c = '\\';
    seen.progress.push_back(text);
    return 0;
}

class UnZip32Dll : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* build = std::getenv("SETUP_BUILD");
        ASSERT_NE(build, nullptr);
        std::string path = std::string("Z:") + build + "\\src\\unzip32\\UnZip32.DLL";
        dll_ = LoadLibraryA(path.c_str());
        ASSERT_NE(dll_, nullptr) << path;
        FARPROC entry = GetProcAddress(dll_, "Wiz_SingleEntryUnzip");
        unzip_ = reinterpret_cast<WIZ_SINGLEENTRYUNZIP>(reinterpret_cast<void*>(entry));
        ASSERT_NE(unzip_, nullptr);
    }
    void TearDown() override {
        if (dll_) FreeLibrary(dll_);
    }

    // The program's call: every member, the fixed options, its callbacks, totals at 0.
    int Extract(const std::string& archive, const std::string& target) {
        seen = Seen{};
        seen.target = target;
        std::string a = archive, t = target;
        DCL dcl = {0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, a.data(), t.data()};
        USERFUNCTIONS uf = {Print, nullptr, Replace, Password, Message, Service, 0, 0, 0, 0, 0};
        int result = unzip_(0, nullptr, 0, nullptr, &dcl, &uf);
        members_ = uf.NumMembers;
        return result;
    }

    HMODULE dll_ = nullptr;
    WIZ_SINGLEENTRYUNZIP unzip_ = nullptr;
    unsigned members_ = 0;
};

TEST_F(UnZip32Dll, ResultClassesAndProgressOfTheProgramsCall) {
    TempDir t;
    std::string damaged = ReadAll(Archive("damage.zip"));
    damaged[damaged.size() / 3] ^= 0x55;
    WriteAll(t / "damaged.zip", damaged);
    const struct {
        std::string archive;
        int result;
        size_t members;
        std::map<std::string, std::string> tree; // below the folder that holds the target
    } cases[] = {
        {Archive("sfx.exe"), UZ_WARN, 13, {}},
        {Archive("no-such.zip"), UZ_NOZIP, 0, {}},
        {t / "damaged.zip", UZ_ERR, 2, {{"x/", ""}, {"x/readme.txt", "Read me first.\r\n"}}},
        {Archive("dotdot.zip"), UZ_ERR, 1, {{"x/", ""}, {"x/inside.txt", "inside\n"}}},
    };
    for (const auto& c : cases) {
        TempDir out;
        EXPECT_EQ(Extract(c.archive, out / "x"), c.result) << c.archive;
        EXPECT_EQ(seen.progress.size(), c.members) << c.archive;
        if (c.result != UZ_WARN) {
            EXPECT_EQ(Tree(out.Path()), c.tree) << c.archive;
        }
        if (c.result == UZ_ERR) {
            EXPECT_GT(seen.prints, 0) << "the problem is reported";
        }
    }
    std::string target = t / "Vexa_Dos";
    ASSERT_EQ(Extract(Archive("deflated.zip"), target), UZ_OK);
    EXPECT_EQ(Tree(target), Tree(ArchiveDir() + "tree"));
    EXPECT_EQ(members_, 13u);
    ASSERT_EQ(seen.progress.size(), 13u);
    EXPECT_EQ(seen.progress[4], target + "\\docs\\deep\\er\\most.txt");
    EXPECT_EQ(seen.prints, 0);
}

TEST_F(UnZip32Dll, ReplacesReadOnlyAndHiddenFiles) {
    TempDir t;
    std::string readme = t / "readme.txt";
    WriteAll(readme, "changed");
    ASSERT_TRUE(SetFileAttributesA(readme.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Extract(Archive("deflated.zip"), t.Path().string()), UZ_OK);
    EXPECT_EQ(ReadAll(readme), "Read me first.\r\n");
}

} // namespace
