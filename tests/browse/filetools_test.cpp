// The file walkers on real folders: what they list with prefixes, masks, "(base)", the directory mask rule
// and the paths walks must not enter.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "browse/filetools.h"
#include "lib/paths.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;
using Lines = std::vector<std::string>;

Lines Walk(int which, std::string_view dir, std::string_view mask, std::string_view prefix = "") {
    LineList list;
    if (which == 0) ListFiles(prefix, dir, mask, list, true);
    if (which == 1) ListFiles(prefix, dir, mask, list, false);
    if (which == 2) ListDirsWithFiles(prefix, dir, mask, list);
    if (which == 3) ListDirsByMask(prefix, dir, mask, list);
    return list.Lines;
}

TEST(FileWalkers, OrderPrefixesAndMasks) {
    TempDir tmp("walkers");
    tmp.MakeFiles({"A.DAT", "B.TXT", "SUB/B.DAT", "SUB/DEEP/C.DAT", "SUB/EMPTY/", ".HIDE/D.DAT",
                   "DATA/RUN1/E.DAT", "RUN2/RX/", "RUN2/F.TXT"});
    struct Case {
        int which;
        const char* mask;
        const char* prefix;
        Lines expected;
    };
    const Case cases[] = {
        {0,
         "*.dat",
         "TOP",
         {"TOP\\A.DAT", "TOP\\SUB\\B.DAT", "TOP\\SUB\\DEEP\\C.DAT", "TOP\\DATA\\RUN1\\E.DAT"}},
        {1, "*.DAT", "", {"A.DAT"}},
        {2, "*.DAT", "", {"(base)", "SUB", "SUB\\DEEP", "DATA\\RUN1"}},
        {3, "R*", "", {"RUN2", "RUN2\\RX"}}, // RUN1 lies below DATA, which does not match
    };
    for (const Case& c : cases) {
        // The file system decides the order of siblings.
        Lines got = Walk(c.which, tmp.Path(), c.mask, c.prefix), expected = c.expected;
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << c.which << " " << c.mask;
    }
    EXPECT_EQ(Walk(0, tmp / "MISSING", "*.*"), Lines{});
    EXPECT_EQ(Walk(2, tmp / "MISSING", "*.*"), Lines{});
}

// A sub-directory whose path would not fit a PathBuf (176 characters) is left out: cut, its path would
// name its parent again and the walk would never end.
TEST(FileWalkers, NeverEnterPathsThatDoNotFit) {
    TempDir tmp("walkfit");
    std::string dir = tmp.Path();
    while (dir.size() < 176) {
        size_t room = 176 - dir.size() - 1;
        dir += TempDir::Sep + std::string(room > 16 ? 8 : room, 'D');
    }
    std::string deep = dir + TempDir::Sep + "TOO_DEEP";
    std::filesystem::create_directories(deep);
    std::ofstream(deep + TempDir::Sep + "X.DAT") << "x";
    LineList list;
    ListFiles("", tmp.Path(), "*.*", list, true);
    ListDirsWithFiles("", tmp.Path(), "*.*", list);
    ListDirsByMask("", tmp.Path(), "*", list);
    EXPECT_FALSE(list.Lines.empty());
    for (const std::string& line : list.Lines) EXPECT_EQ(line.find("TOO_DEEP"), std::string::npos) << line;
}

#ifndef _WIN32
TEST(FileWalkers, LinksAreNotFollowed) {
    TempDir tmp("walklinks");
    tmp.MakeFiles({"SUB/A.DAT"});
    std::filesystem::create_directory_symlink(tmp.Path(), tmp / "SUB/LOOP");
    EXPECT_EQ(Walk(0, tmp.Path(), "*.DAT"), Lines{"SUB\\A.DAT"});
    EXPECT_EQ(Walk(3, tmp.Path(), "*"), Lines{"SUB"});
}
#endif

} // namespace
