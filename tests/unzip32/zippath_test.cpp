// Member names as paths: what may be written below the target folder and what is refused.
#include <gtest/gtest.h>

#include <string>

#include "unzip32/zippath.h"

using unzip::MemberPath;
using unzip::NameKind;

namespace {

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
        {"console/COM10.txt", NameKind::File, "console/COM10.txt"},
        {"with blank.txt", NameKind::File, "with blank.txt"},
    };
    for (const auto& c : cases) {
        std::string path = "stale";
        EXPECT_EQ(MemberPath(c.name, false, false, path), c.kind) << c.name;
        EXPECT_EQ(path, c.path) << c.name;
    }
}

TEST(MemberPath, RefusesNamesThatLeaveTheTargetOrAreDevices) {
    // "a/../b.txt" is harmless in effect, but no ".." is ever followed.
    // clang-format off
    const char* refused[] = {"",           "/etc/passwd",  "\\windows\\win.ini", "C:/autoexec.bat",
                             "C:autoexec.bat", "a/b:stream", "a\\..\\..\\outside.txt", "a/../b.txt",
                             "a/.. /b.txt", "..",           "CON",          "docs/nul.txt",
                             "aux .txt",    "tab\there.txt"};
    // clang-format on
    std::string path;
    for (const char* name : refused)
        EXPECT_EQ(MemberPath(name, false, false, path), NameKind::Refused) << name;
    EXPECT_EQ(MemberPath(std::string("a\0b", 3), false, false, path), NameKind::Refused) << "a NUL inside";
}

TEST(WildMatch, BacktracksOverStars) {
    const struct {
        const char* pattern;
        const char* name;
        bool ignoreCase, match;
    } cases[] = {
        {"docs/*", "docs/deep/most.txt", false, true}, {"*.txt", "docs/deep/most.txt.bak", false, false},
        {"?EADME.TXT", "readme.txt", true, true},      {"*a*b*c", "xxaxxbxxbxxc", false, true},
        {"*a*b*c", "xxaxxbxxbxxd", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unzip::WildMatch(c.pattern, c.name, c.ignoreCase), c.match) << c.pattern << " ~ " << c.name;
}

} // namespace
