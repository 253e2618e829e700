// The file tools on real folders: walk order and prefixes, masks, "(base)", the directory mask rule,
// the paths walks must not enter, and AlignToStar's columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>

#include "browse/filetools.h"
#include "lib/paths.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;
using Lines = std::vector<std::string>;

// Files (and folders, given with a trailing "/") below the scratch folder.
void Tree(const TempDir& dir, std::initializer_list<const char*> entries) {
    for (std::string_view entry : entries) {
        std::filesystem::path path = dir / entry;
        if (entry.ends_with('/')) {
            std::filesystem::create_directories(path);
            continue;
        }
        std::filesystem::create_directories(path.parent_path());
        dir.Write(entry, "x");
    }
}

Lines Walk(int which, std::string_view dir, std::string_view mask, std::string_view prefix = "") {
    LineList list;
    if (which == 0) ListFiles(prefix, dir, mask, list, true);
    if (which == 1) ListFiles(prefix, dir, mask, list, false);
    if (which == 2) ListDirsWithFiles(prefix, dir, mask, list);
    if (which == 3) ListDirsByMask(prefix, dir, mask, list);
    return list.Lines;
}

// A walk goes depth first with a directory's own lines first: no line comes after one from below its
// directory. Lines name files (their directory is the part before the last backslash) or directories.
bool DepthFirst(const Lines& lines, bool dirs) {
    auto dirOf = [dirs](const std::string& line) {
        if (dirs) return line == "(base)" ? std::string() : line;
        size_t slash = line.rfind('\\');
        return slash == std::string::npos ? std::string() : line.substr(0, slash);
    };
    auto above = [](const std::string& a, const std::string& b) {
        return a != b && (a.empty() || b.starts_with(a + "\\"));
    };
    for (size_t i = 0; i < lines.size(); ++i)
        for (size_t j = i + 1; j < lines.size(); ++j)
            if (above(dirOf(lines[j]), dirOf(lines[i]))) return false;
    return true;
}

TEST(FileWalkers, OrderPrefixesAndMasks) {
    TempDir tmp("walkers");
    Tree(tmp, {"A.DAT", "B.TXT", "SUB/B.DAT", "SUB/DEEP/C.DAT", "SUB/EMPTY/", ".HIDE/D.DAT", "DATA/RUN1/E.DAT",
               "RUN2/RX/", "RUN2/F.TXT"});
    struct Case {
        int which;
        const char* mask;
        const char* prefix;
        Lines expected;
    };
    const Case cases[] = {
        {0, "*.DAT", "", {"A.DAT", "SUB\\B.DAT", "SUB\\DEEP\\C.DAT", "DATA\\RUN1\\E.DAT"}},
        {0, "*.dat", "TOP", {"TOP\\A.DAT", "TOP\\SUB\\B.DAT", "TOP\\SUB\\DEEP\\C.DAT", "TOP\\DATA\\RUN1\\E.DAT"}},
        {1, "*.DAT", "", {"A.DAT"}},
        {1, "*.X", "", {}},
        {2, "*.DAT", "", {"(base)", "SUB", "SUB\\DEEP", "DATA\\RUN1"}},
        {2, "*.TXT", "", {"(base)", "RUN2"}},
        {3, "R*", "", {"RUN2", "RUN2\\RX"}}, // RUN1 lies below DATA, which does not match
        {3, "*", "", {"SUB", "SUB\\DEEP", "SUB\\EMPTY", "DATA", "DATA\\RUN1", "RUN2", "RUN2\\RX"}},
    };
    for (const Case& c : cases) {
        Lines got = Walk(c.which, tmp.Path(), c.mask, c.prefix);
        EXPECT_TRUE(DepthFirst(got, c.which >= 2)) << c.which << " " << c.mask;
        // The file system decides the order of siblings.
        Lines expected = c.expected;
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << c.which << " " << c.mask;
    }
    EXPECT_EQ(Walk(0, tmp.Path(), "*.*").front(), "A.DAT"); // a directory's files before its subdirectories
    EXPECT_EQ(Walk(0, tmp / "SUB", "*.DAT"), (Lines{"B.DAT", "DEEP\\C.DAT"}));
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
    for (const std::string& line : list.Lines)
        EXPECT_EQ(line.find("TOO_DEEP"), std::string::npos) << line;
}

#ifndef _WIN32
TEST(FileWalkers, LinksAreNotFollowed) {
    TempDir tmp("walklinks");
    Tree(tmp, {"SUB/A.DAT"});
    std::filesystem::create_directory_symlink(tmp.Path(), tmp / "SUB/LOOP");
    EXPECT_EQ(Walk(0, tmp.Path(), "*.DAT"), Lines{"SUB\\A.DAT"});
    EXPECT_EQ(Walk(3, tmp.Path(), "*"), Lines{"SUB"});
}
#endif

TEST(AlignToStar, ValueBeforeTheCommentColumn) {
    const struct {
        const char* value;
        const char* tmpl;
        const char* expected;
    } cases[] = {
        {"12", "5          * comment", "12         * comment"},
        {"123456789", "5    * comment", "123456789  * comment"},
        {"7", "a*b *c", "7   *c"},  // the first star after a blank
        {"7", "x*y*z", "7  *z"},     // none after a blank: the last star
        {"7", "no comment", "7"},
        {"7", "*at zero", "7"},
    };
    for (const auto& c : cases) {
        TextBuf<40> tmpl;
        tmpl.Set(c.tmpl);
        TextBuf<127> out;
        AlignToStar(c.value, tmpl, out);
        EXPECT_EQ(out.View(), c.expected) << c.tmpl;
    }
    TextBuf<127> out;
    AlignToStar(std::string(130, 'v'), "1 * c", 10, out); // cut at the buffer's capacity
    EXPECT_EQ(out.View(), std::string(128, 'v'));
}

} // namespace
