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

std::string Kind(int kind) {
    PathBuf out;
    out.Set("stale");
    KindPath(kind, out);
    return out.Str();
}

struct FreshPathState {
    FreshPathState() { ResetPathState(); }
    ~FreshPathState() { ResetPathState(); }
};

} // namespace

// ---- Path kinds -----------------------------------------------------------------------------------

TEST(PathKinds, ResolveAgainstTheBases) {
    FreshPathState state;
    EXPECT_EQ(PathState.DefaultExt.Str() + PathState.BackupExt.Str(), "*~~~");
    const std::pair<int, const char*> start[] = {
        {0, "\\Sys\\"},  {1, "\\Sys\\Base"},           {8, "\\Bin"}, {11, "\\Conf\\Base"}, {16, ""},
        {20, "\\Sys\\"}, {23, "\\Sys\\Install\\Last"}, {27, ""},     {-1, "\\Sys\\"}};
    for (auto [kind, path] : start) EXPECT_EQ(Kind(kind), path) << "kind " << kind;

    PathState.Root.Set("C:\\V\\KORVO");
    PathState.LibBase.Set("D:\\");
    PathState.InitBase.Set("F:\\I");
    const std::pair<int, const char*> based[] = {{1, "C:\\V\\KORVO\\Sys\\Base"},
                                                 {28, "C:\\V\\KORVO\\Sys"},
                                                 {9, "D:\\Lib"},
                                                 {14, "F:\\I\\Init"},
                                                 {16, "F:\\I"}};
    for (auto [kind, path] : based) EXPECT_EQ(Kind(kind), path) << "kind " << kind;
    PathState.SingleRoot = true;
    EXPECT_EQ(Kind(9), "C:\\V\\KORVO");
}

TEST(PathKinds, ConfigurationModesRedirectConfKinds) {
    FreshPathState state;
    PathState.Root.Set("C:\\K");
    PathState.ConfBase.Set("X:\\C");
    // mode, number, option bits, then the paths of kinds 10, 11 and 12
    const std::tuple<int, int, uint32_t, const char*> cases[] = {
        {0, 0, 0, "C:\\K\\Conf C:\\K\\Conf\\Base C:\\K\\Conf\\Init"},
        {0, 0, 0x10, "C:\\K\\Conf C:\\K\\Sys\\Base C:\\K\\Conf\\Init"},
        {1, 0, 0, "C:\\K\\Conf X:\\C C:\\K\\Conf\\Init"},
        {2, 0, 0, "X:\\C X:\\C\\Base X:\\C\\Init"},
        {4, 12, 0, "C:\\K\\Conf X:\\C\\Base_12 C:\\K\\Conf\\Init"},
        {5, 3, 0, "X:\\C\\Conf_3 X:\\C\\Conf_3\\Base X:\\C\\Conf_3\\Init"},
        {5, 0, 0, "C:\\K\\Conf C:\\K\\Conf\\Base C:\\K\\Conf\\Init"},
        {6, 3, 0x10, "C:\\K\\Conf C:\\K\\Conf\\Base C:\\K\\Conf\\Init"}};
    for (auto [mode, number, bits, paths] : cases) {
        PathState.ConfMode = mode;
        PathState.ConfNumber = number;
        PathState.OptionBits = bits;
        EXPECT_EQ(Kind(10) + " " + Kind(11) + " " + Kind(12), paths) << "mode " << mode;
    }
}

// ---- Path texts -----------------------------------------------------------------------------------

TEST(PathText, Joining) {
    // directory, name, then the results of JoinFile and JoinDir
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"", "Sys\\Base", "\\Sys\\Base", "Sys\\Base"}, {"C:\\A", "D:\\B", "D:\\B", "C:\\A\\D:\\B"},
        {"C:\\A\\", "B", "C:\\A\\B", "C:\\A\\B"},      {"C:\\A", "\\B", "\\B", "C:\\A\\B"},
        {"C:\\A\\", "\\B", "\\B", "C:\\A\\\\B"},       {"D:", "", "D:\\", "D:\\"}};
    for (auto [dir, name, file, sub] : cases) {
        EXPECT_EQ(JoinFile(dir, name), file) << dir << " + " << name;
        EXPECT_EQ(JoinDir(dir, name), sub) << dir << " + " << name;
        EXPECT_TRUE(JoinedWhole(dir, name, file) && JoinedWhole(dir, name, sub)) << dir << " + " << name;
    }
    // A join cut by its buffer names another path.
    EXPECT_FALSE(JoinedWhole(std::string(172, 'd'), "name", JoinDir(std::string(172, 'd'), "name")));
    EXPECT_FALSE(JoinedWhole(std::string(175, 'd'), "X", JoinDir(std::string(175, 'd'), "X")));
    EXPECT_TRUE(JoinedWhole(std::string(174, 'd'), "X", JoinFile(std::string(174, 'd'), "X")));
    EXPECT_EQ(JoinDir(std::string(200, 'd'), ""), std::string(176, 'd'));
    EXPECT_EQ(JoinDir(std::string(174, 'd'), "name"), std::string(174, 'd') + "\\n");
    EXPECT_EQ(TrailSlash(0, std::string(180, 'd') + "\\"), std::string(176, 'd'));
    NameBuf self = Name("C:\\A");
    JoinFile(self.View(), "B.TXT", self.c, self.Cap);
    EXPECT_EQ(self.Str(), "C:\\A\\B.TXT");
}

// The matcher is the one the ZIP member lists use: backtracking over stars and anchored ends are the
// member-path test's; here the file masks' own rules.
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
        {[](NameBuf& b) { TrailSlash(0, b); }, "C:\\DIR\\", "C:\\DIR"},
        {[](NameBuf& b) { TrailSlash(2, b); }, "C:\\X", "C:\\X\\"},
        {[](NameBuf& b) { TrimPathPrefix(0, "c:\\korvo", b.c, b.Cap); }, "C:\\KORVO\\Sys", "Sys"},
        {[](NameBuf& b) { TrimPathPrefix(0, "C:\\OTHER", b.c, b.Cap); }, "C:\\KORVO\\Sys", "C:\\KORVO\\Sys"},
        {[](NameBuf& b) { TrimPathPrefix(1, "XXXXXXXX", b.c, b.Cap); }, "C:\\KORVO\\Sys", "Sys"},
        {[](NameBuf& b) { TrimPathPrefix(2, "Base", b.c, b.Cap); }, "C:\\KORVO\\Base", "C:\\KORVO"},
        {[](NameBuf& b) { TrimPathPrefix(2, "LongerThanThePath", b.c, b.Cap); }, "C:\\K", ""},
        {[](NameBuf& b) { TrimPathPrefix(3, "C:\\KORVO", b.c, b.Cap); }, "C:\\KORVO\\Sys\\B\\X",
         "C:\\KORVO\\Sys"},
        {[](NameBuf& b) { TrimPathPrefix(-1, "x", b.c, b.Cap); }, "\\A\\B", "A\\B"},
        {[](NameBuf& b) { ChangeExt(0, "Bak", b); }, "CONFIG.SYS", "CONFIG.Bak"},
        {[](NameBuf& b) { ChangeExt(0, "B??", b); }, "AUTOEXEC.BAT", "AUTOEXEC.BAT"},
        {[](NameBuf& b) { ChangeExt(0, "??K", b); }, "AUTOEXEC.BAT", "AUTOEXEC.BAK"},
        {[](NameBuf& b) { ChangeExt(1, "BAK", b); }, "NAME.DAT.CFA", "NAME.BAK.CFA"},
        {[](NameBuf& b) { ChangeExt(0, "Bak", b); }, "C:\\VEXA.1\\Doc\\README",
         "C:\\VEXA.1\\Doc\\README.Bak"},
        {[](NameBuf& b) { ChangeExt(0, "EXTENSION", b); }, "A.B", "A.EXTENSI"},
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
        {"C:\\A\\B.TXT", "B.TXT", "C:\\A", 'C'},
        {"d:\\X.TXT", "X.TXT", "d:", 'd'},
        {"E:X.TXT", "X.TXT", "E:", 'E'},
        {"\\X", "\\X", "\\", 'C'},
        {"X", "X", "", 'C'}};
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
        {Component::Last, "C:\\B", "B|C:"},
        {Component::Last, "C:\\A\\B\\", "B|C:\\A"},
        {Component::Last, "NAME", "|"},
        {Component::First, "C:\\A\\B", "C:|A\\B"},
        {Component::First, "\\\\SRV\\SHARE\\DIR\\SUB", "\\\\SRV\\SHARE|DIR\\SUB"},
        {Component::First, "\\\\SRV\\SHARE", "\\\\SRV\\SHARE|"}};
    for (auto [which, path, partAndRest] : cases) {
        NameBuf src = Name(path), part = Name("stale");
        SplitComponent(which, src.c, src.Cap, part.c, part.Cap);
        EXPECT_EQ(part.Str() + "|" + src.Str(), partAndRest) << path;
    }
}

// ---- Extensions -----------------------------------------------------------------------------------

TEST(Extensions, DotsInDirectoriesAreNotExtensions) {
    // name, the dot positions of modes 0, 1 and 2, then for mode 1 the extension and the stripped name
    const std::tuple<const char*, int, int, int, const char*, const char*> cases[] = {
        {"A.DAT.CFA", 5, 1, 1, "DAT.CFA", "A"},
        {"A.DATA.CFA", 6, 6, 1, "CFA", "A.DATA"},
        {"NAME", NotFound, NotFound, NotFound, "", "NAME"},
        {"C:\\VEXA.1\\KORVO\\Doc\\README", NotFound, NotFound, NotFound, "",
         "C:\\VEXA.1\\KORVO\\Doc\\README"},
        {"C:\\A.DAT\\B.CFA", 10, 10, 10, "CFA", "C:\\A.DAT\\B"},
        {"C:X.Y", 3, 3, 3, "Y", "C:X"}};
    for (auto [name, mode0, mode1, mode2, ext, stripped] : cases) {
        NameBuf b = Name(name);
        EXPECT_EQ(ExtDotPos(0, b.c, b.Cap), mode0) << name;
        EXPECT_EQ(ExtDotPos(1, b.c, b.Cap), mode1) << name;
        EXPECT_EQ(ExtDotPos(2, b.c, b.Cap), mode2) << name;
        ExtBuf e;
        e.Set("stale");
        ExtOf(1, b.c, b.Cap, e);
        EXPECT_EQ(e.Str(), ext) << name;
        StripExt(1, b);
        EXPECT_EQ(b.Str(), stripped) << name;
    }
    EXPECT_TRUE(HasDoubleExt(Name("NAME.DAT.CFA").c, 239));
    EXPECT_FALSE(HasDoubleExt(Name("C:\\DIR.X\\Y.EXT").c, 239));
    // mode, name, extension, stripped name
    const std::tuple<int, const char*, const char*, const char*> modes[] = {
        {0, "FILE.LONGEXT", "LON", "FILE"}, {2, "A.B.C", "B.C", "A"}, {3, "NAME.DAT.CFA", "DAT", "NAME.DAT"}};
    for (auto [mode, name, ext, stripped] : modes) {
        NameBuf b = Name(name);
        ExtBuf e;
        ExtOf(mode, b.c, b.Cap, e);
        StripExt(mode, b);
        EXPECT_EQ(e.Str() + " " + b.Str(), std::string(ext) + " " + stripped) << mode << " " << name;
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
                BUFFER_OP(TrimPathPrefix(r.Num() % 6, r.Text().substr(0, 9), r.a, r.an)),
                BUFFER_OP(DriveLetterOf(r.a, r.an)), BUFFER_OP(ExtDotPos(r.Num() % 4, r.a, r.an)),
                BUFFER_OP(HasDoubleExt(r.a, r.an)), BUFFER_OP(StripExt(r.Num() % 4, r.a, r.an)),
                BUFFER_OP(ExtBuf out; ExtOf(r.Num() % 5, r.a, r.an, out)),
                BUFFER_OP(ChangeExt(r.Num() % 4, r.Text(), r.a, r.an)),
                BUFFER_OP(EnsureExt(r.Text(), r.a, r.an)),
                BUFFER_OP(FreshPathState state; PathBuf out;
                          for (PathBuf* base
                               : {&PathState.Root, &PathState.ConfBase, &PathState.LibBase})
                              base->Set(std::string(r.rng() % 200, 'x'));
                          PathState.ConfMode = r.Num() % 8; PathState.ConfNumber = r.Num();
                          PathState.OptionBits = static_cast<uint32_t>(r.rng()); KindPath(r.Num() % 32, out)),
        },
        11, 4000);
}
