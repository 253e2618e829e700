#include "lib/paths.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/guarded_buffer.h"

namespace {

NameBuf Name(std::string_view s) {
    NameBuf b;
    b.Set(s);
    return b;
}

struct FreshPathState {
    FreshPathState() { ResetPathState(); }
    ~FreshPathState() { ResetPathState(); }
};

} // namespace

// ---- Path texts -----------------------------------------------------------------------------------

TEST(PathText, Joining) {
    // directory, name, then the results of JoinFile and JoinDir
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"", "Sys\\Base", "\\Sys\\Base", "Sys\\Base"},
        {"C:\\A", "D:\\B", "D:\\B", "C:\\A\\D:\\B"},
        {"C:\\A\\", "B", "C:\\A\\B", "C:\\A\\B"},
        {"C:\\A", "\\B", "\\B", "C:\\A\\B"},
        {"D:", "", "D:\\", "D:\\"}};
    for (auto [dir, name, file, sub] : cases) {
        EXPECT_EQ(JoinFile(dir, name), file) << dir << " + " << name;
        EXPECT_EQ(JoinDir(dir, name), sub) << dir << " + " << name;
        EXPECT_TRUE(JoinedWhole(dir, name, file) && JoinedWhole(dir, name, sub)) << dir << " + " << name;
    }
    // A join cut by its buffer names another path.
    EXPECT_FALSE(JoinedWhole(std::string(172, 'd'), "name", JoinDir(std::string(172, 'd'), "name")));
    EXPECT_TRUE(JoinedWhole(std::string(174, 'd'), "X", JoinFile(std::string(174, 'd'), "X")));
    EXPECT_EQ(JoinDir(std::string(200, 'd'), ""), std::string(176, 'd'));
    NameBuf self = Name("C:\\A");
    JoinFile(self.View(), "B.TXT", self.c, self.Cap);
    EXPECT_EQ(self.Str(), "C:\\A\\B.TXT");
}

// File masks as the Windows file search reads them: case ignored, "*.*" takes a name without a point,
// "?" needs a character.
TEST(PathText, WildcardsMatchAsWindowsDoes) {
    // clang-format off
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"*.*", "README", true},  {"*.K*", "meas.k01", true}, {"*.K*", "MEAS.P01", false},
        {"M?AS.*", "MEAS", true}, {"*", "", true},            {"?", "", false}};
    // clang-format on
    for (const auto& [mask, name, match] : cases)
        EXPECT_EQ(WildMatch(mask, name), match) << mask << " " << name;
    // Many stars against a long name that almost matches: answered at once, not after endless retries.
    EXPECT_FALSE(WildMatch(std::string(30, '*') + "b", std::string(5000, 'a')));
}

TEST(PathText, InPlaceOperations) {
    using Op = void (*)(NameBuf&);
    const std::tuple<Op, const char*, const char*> cases[] = {
        {[](NameBuf& b) { TrailSlash(0, b); }, "D:", "D:\\"},
        {[](NameBuf& b) { TrailSlash(0, b); }, "D:\\", "D:"},
        {[](NameBuf& b) { ChangeExt(0, "Bak", b); }, "CONFIG.SYS", "CONFIG.Bak"},
        {[](NameBuf& b) { ChangeExt(0, "Bak", b); }, "C:\\VEXA.1\\Doc\\README",
         "C:\\VEXA.1\\Doc\\README.Bak"},
        {[](NameBuf& b) { EnsureExt("EXE", b); }, "PROG.COM", "PROG.COM"},
        {[](NameBuf& b) { EnsureExt("EXE", b); }, "C:\\A.B\\C", "C:\\A.B\\C.EXE"},
    };
    for (auto [op, path, want] : cases) {
        NameBuf b = Name(path);
        op(b);
        EXPECT_EQ(b.Str(), want) << path;
    }
    TextBuf<7> tight;
    tight.Set("ABCDEFG");
    ChangeExt(0, "TXT", tight);
    EXPECT_EQ(tight.Str(), "ABCDEFG.");
}

TEST(PathText, NameDirectoryAndDrive) {
    const std::tuple<const char*, const char*, const char*, char> cases[] = {
        {"C:\\A\\B.TXT", "B.TXT", "C:\\A", 'C'}, {"E:X.TXT", "X.TXT", "E:", 'E'}, {"\\X", "\\X", "\\", 'C'}};
    for (auto [path, name, dir, drive] : cases) {
        NameBuf b = Name(path);
        NamePart(b);
        EXPECT_EQ(b.Str(), name) << path;
        NameBuf out = Name("stale"), src = Name(path);
        DirPart(src.c, src.Cap, out.c, out.Cap);
        EXPECT_EQ(out.Str(), dir) << path;
        EXPECT_EQ(DriveLetterOf(src.c, src.Cap), drive) << path;
    }
}

TEST(PathText, SplittingComponents) {
    const std::tuple<Component, const char*, const char*> cases[] = {
        {Component::Last, "C:\\A\\B", "B|C:\\A"},
        {Component::Last, "C:\\A\\B\\", "B|C:\\A"},
        {Component::Last, "NAME", "|"},
        {Component::First, "C:\\A\\B", "C:|A\\B"},
        {Component::First, "\\\\SRV\\SHARE\\DIR\\SUB", "\\\\SRV\\SHARE|DIR\\SUB"}};
    for (auto [which, path, partAndRest] : cases) {
        NameBuf src = Name(path), part = Name("stale");
        SplitComponent(which, src.c, src.Cap, part.c, part.Cap);
        EXPECT_EQ(part.Str() + "|" + src.Str(), partAndRest) << path;
    }
}

// ---- Extensions -----------------------------------------------------------------------------------

TEST(Extensions, DotsInDirectoriesAreNotExtensions) {
    // name, the dot positions of modes 0 (the last extension) and 1 (a double extension)
    const std::tuple<const char*, int, int> cases[] = {{"A.DAT.CFA", 5, 1},
                                                       {"A.DATA.CFA", 6, 6},
                                                       {"C:\\VEXA.1\\KORVO\\Doc\\README", NotFound, NotFound},
                                                       {"C:\\A.DAT\\B.CFA", 10, 10}};
    for (auto [name, mode0, mode1] : cases) {
        NameBuf b = Name(name);
        EXPECT_EQ(ExtDotPos(0, b.c, b.Cap), mode0) << name;
        EXPECT_EQ(ExtDotPos(1, b.c, b.Cap), mode1) << name;
    }
}

// ---- Any arguments --------------------------------------------------------------------------------

TEST(PathTextSafety, EveryOperationStaysInsideItsBuffers) {
    testsupport::ThrowRandomArguments(
        {
            BUFFER_OP(JoinDir(r.Text(), r.Text(), r.a, r.an)),
                BUFFER_OP(JoinFile(r.Text(), r.Text(), r.a, r.an)),
                BUFFER_OP(JoinFile(BufView(r.a, r.an), r.Text(), r.a, r.an)),
                BUFFER_OP(TrailSlash(r.Num(), r.a, r.an)), BUFFER_OP(NamePart(r.a, r.an)),
                BUFFER_OP(DirPart(r.a, r.an, r.b, r.bn)), BUFFER_OP(DirPart(r.a, r.an, r.a, r.an)),
                BUFFER_OP(
                    SplitComponent(r.Flag() ? Component::First : Component::Last, r.a, r.an, r.b, r.bn)),
                BUFFER_OP(DriveLetterOf(r.a, r.an)), BUFFER_OP(ExtDotPos(r.Num() % 4, r.a, r.an)),
                BUFFER_OP(StripExt(r.Num() % 4, r.a, r.an)),
                BUFFER_OP(ExtBuf out; ExtOf(r.Num() % 5, r.a, r.an, out)),
                BUFFER_OP(ChangeExt(r.Num() % 4, r.Text(), r.a, r.an)),
                BUFFER_OP(EnsureExt(r.Text(), r.a, r.an)),
                BUFFER_OP(FreshPathState state; PathBuf out;
                          PathState.Root.Set(std::string(r.rng() % 200, 'x')); KindPath(r.Num() % 32, out)),
        },
        11, 4000);
}
