#include "lib/paths.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/guarded_buffer.h"

using testsupport::RandomArgs;

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

TEST(PathKinds, StartStateResolvesAgainstEmptyBases) {
    FreshPathState state;
    EXPECT_EQ(PathState.DefaultExt.Str() + PathState.BackupExt.Str(), "*~~~");
    const std::pair<int, const char*> cases[] = {
        {0, "\\Sys\\"},  {1, "\\Sys\\Base"},           {8, "\\Bin"}, {11, "\\Conf\\Base"}, {16, ""},
        {20, "\\Sys\\"}, {23, "\\Sys\\Install\\Last"}, {27, ""},     {-1, "\\Sys\\"}};
    for (auto [kind, path] : cases) EXPECT_EQ(Kind(kind), path) << "kind " << kind;
}

TEST(PathKinds, BasesAndSingleRoot) {
    FreshPathState state;
    PathState.Root.Set("C:\\V\\KORVO");
    PathState.LibBase.Set("D:\\");
    PathState.InitBase.Set("F:\\I");
    const std::pair<int, const char*> cases[] = {{1, "C:\\V\\KORVO\\Sys\\Base"},
                                                 {28, "C:\\V\\KORVO\\Sys"},
                                                 {9, "D:\\Lib"},
                                                 {14, "F:\\I\\Init"},
                                                 {16, "F:\\I"}};
    for (auto [kind, path] : cases) EXPECT_EQ(Kind(kind), path) << "kind " << kind;
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

// ---- Joining and splitting ------------------------------------------------------------------------

TEST(PathText, Joining) {
    // directory, name, then the results of JoinFile and JoinDir
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"", "Sys\\Base", "\\Sys\\Base", "Sys\\Base"}, {"C:\\A", "D:\\B", "D:\\B", "C:\\A\\D:\\B"},
        {"C:\\A\\", "B", "C:\\A\\B", "C:\\A\\B"},      {"C:\\A", "\\B", "\\B", "C:\\A\\B"},
        {"C:\\A\\", "\\B", "\\B", "C:\\A\\\\B"},       {"D:", "", "D:\\", "D:\\"}};
    for (auto [dir, name, file, sub] : cases) {
        EXPECT_EQ(JoinFile(dir, name), file) << dir << " + " << name;
        EXPECT_EQ(JoinDir(dir, name), sub) << dir << " + " << name;
    }
    EXPECT_EQ(JoinDir(std::string(200, 'd'), ""), std::string(176, 'd'));
    EXPECT_EQ(JoinDir(std::string(174, 'd'), "name"), std::string(174, 'd') + "\\n");
    NameBuf self = Name("C:\\A");
    JoinFile(self.View(), "B.TXT", self.c, self.Cap);
    EXPECT_EQ(self.Str(), "C:\\A\\B.TXT");
}

TEST(PathText, TrailingBackslash) {
    const std::tuple<int, const char*, const char*> cases[] = {{0, "D:", "D:\\"},
                                                               {0, "D:\\", "D:"},
                                                               {0, "C:\\DIR\\", "C:\\DIR"},
                                                               {2, "C:\\X", "C:\\X\\"},
                                                               {7, "", ""}};
    for (auto [mode, path, want] : cases) EXPECT_EQ(TrailSlash(mode, path), want) << mode << " " << path;
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

TEST(PathText, TrimmingPrefixes) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, "c:\\korvo", "C:\\KORVO\\Sys", "Sys"},
        {0, "C:\\OTHER", "C:\\KORVO\\Sys", "C:\\KORVO\\Sys"},
        {1, "XXXXXXXX", "C:\\KORVO\\Sys", "Sys"},
        {2, "Base", "C:\\KORVO\\Base", "C:\\KORVO"},
        {2, "LongerThanThePath", "C:\\K", ""},
        {3, "C:\\KORVO", "C:\\KORVO\\Sys\\Base\\X", "C:\\KORVO\\Sys"},
        {-1, "x", "\\A\\B", "A\\B"}};
    for (auto [mode, prefix, path, want] : cases) {
        NameBuf b = Name(path);
        TrimPathPrefix(mode, prefix, b.c, b.Cap);
        EXPECT_EQ(b.Str(), want) << mode << " " << prefix << " " << path;
    }
}

// ---- Extensions -----------------------------------------------------------------------------------

TEST(Extensions, DotsInDirectoriesAreNotExtensions) {
    // name, then the dot positions of modes 0, 1 and 2
    const std::tuple<const char*, int, int, int> cases[] = {
        {"A.DAT.CFA", 5, 1, 1},
        {"A.DATA.CFA", 6, 6, 1},
        {"NAME", NotFound, NotFound, NotFound},
        {"C:\\VEXA.1\\KORVO\\Doc\\README", NotFound, NotFound, NotFound},
        {"C:\\A.DAT\\B.CFA", 10, 10, 10},
        {"C:X.Y", 3, 3, 3}};
    for (auto [name, mode0, mode1, mode2] : cases) {
        NameBuf b = Name(name);
        EXPECT_EQ(ExtDotPos(0, b.c, b.Cap), mode0) << name;
        EXPECT_EQ(ExtDotPos(1, b.c, b.Cap), mode1) << name;
        EXPECT_EQ(ExtDotPos(2, b.c, b.Cap), mode2) << name;
    }
    EXPECT_TRUE(HasDoubleExt(Name("NAME.DAT.CFA").c, 239));
    EXPECT_FALSE(HasDoubleExt(Name("C:\\DIR.X\\Y.EXT").c, 239));
}

TEST(Extensions, StripAndTake) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, "FILE.LONGEXT", "FILE", "LON"},
        {1, "NAME.DAT.CFA", "NAME", "DAT.CFA"},
        {2, "A.B.C", "A", "B.C"},
        {3, "NAME.DAT.CFA", "NAME.DAT", "DAT"},
        {0, "C:\\VEXA.1\\README", "C:\\VEXA.1\\README", ""}};
    for (auto [mode, name, stripped, want] : cases) {
        NameBuf b = Name(name);
        ExtBuf ext;
        ext.Set("stale");
        ExtOf(mode, b.c, b.Cap, ext);
        EXPECT_EQ(ext.Str(), want) << name;
        StripExt(mode, b);
        EXPECT_EQ(b.Str(), stripped) << name;
    }
}

TEST(Extensions, ChangeAndEnsure) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, "Bak", "CONFIG.SYS", "CONFIG.Bak"},
        {0, "B??", "AUTOEXEC.BAT", "AUTOEXEC.BAT"},
        {0, "??K", "AUTOEXEC.BAT", "AUTOEXEC.BAK"},
        {1, "BAK", "NAME.DAT.CFA", "NAME.BAK.CFA"},
        {0, "Bak", "C:\\VEXA.1\\KORVO\\Doc\\README", "C:\\VEXA.1\\KORVO\\Doc\\README.Bak"},
        {0, "EXTENSION", "A.B", "A.EXTENSI"}};
    for (auto [mode, ext, name, want] : cases) {
        NameBuf b = Name(name);
        ChangeExt(mode, ext, b);
        EXPECT_EQ(b.Str(), want) << name << " to " << ext;
    }
    const std::pair<const char*, const char*> ensure[] = {
        {"PROG.COM", "PROG.COM"}, {"PROG", "PROG.EXE"}, {"C:\\A.B\\C", "C:\\A.B\\C.EXE"}};
    for (auto [name, want] : ensure) {
        NameBuf b = Name(name);
        EnsureExt("EXE", b);
        EXPECT_EQ(b.Str(), want) << name;
    }
    TextBuf<7> tight;
    tight.Set("ABCDEFG");
    ChangeExt(0, "TXT", tight);
    EXPECT_EQ(tight.Str(), "ABCDEFG.");
}

// ---- Any arguments --------------------------------------------------------------------------------

TEST(PathTextSafety, EveryOperationStaysInsideItsBuffers) {
    testsupport::ThrowRandomArguments(
        {
            {"JoinDir", [](RandomArgs& r) { JoinDir(r.Text(), r.Text(), r.a, r.an); }},
            {"JoinFile", [](RandomArgs& r) { JoinFile(r.Text(), r.Text(), r.a, r.an); }},
            {"JoinFile in place", [](RandomArgs& r) { JoinFile(BufView(r.a, r.an), r.Text(), r.a, r.an); }},
            {"TrailSlash", [](RandomArgs& r) { TrailSlash(r.Num(), r.a, r.an); }},
            {"NamePart", [](RandomArgs& r) { NamePart(r.a, r.an); }},
            {"DirPart", [](RandomArgs& r) { DirPart(r.a, r.an, r.b, r.bn); }},
            {"DirPart in place", [](RandomArgs& r) { DirPart(r.a, r.an, r.a, r.an); }},
            {"SplitComponent",
             [](RandomArgs& r) {
                 SplitComponent(r.Flag() ? Component::First : Component::Last, r.a, r.an, r.b, r.bn);
             }},
            {"TrimPathPrefix",
             [](RandomArgs& r) { TrimPathPrefix(r.Num() % 6, r.Text().substr(0, 9), r.a, r.an); }},
            {"DriveLetterOf", [](RandomArgs& r) { DriveLetterOf(r.a, r.an); }},
            {"ExtDotPos", [](RandomArgs& r) { ExtDotPos(r.Num() % 4, r.a, r.an); }},
            {"HasDoubleExt", [](RandomArgs& r) { HasDoubleExt(r.a, r.an); }},
            {"StripExt", [](RandomArgs& r) { StripExt(r.Num() % 4, r.a, r.an); }},
            {"ExtOf",
             [](RandomArgs& r) {
                 ExtBuf out;
                 ExtOf(r.Num() % 5, r.a, r.an, out);
             }},
            {"ChangeExt", [](RandomArgs& r) { ChangeExt(r.Num() % 4, r.Text(), r.a, r.an); }},
            {"EnsureExt", [](RandomArgs& r) { EnsureExt(r.Text(), r.a, r.an); }},
            {"KindPath",
             [](RandomArgs& r) {
                 FreshPathState state;
                 for (PathBuf* base : {&PathState.Root, &PathState.ConfBase, &PathState.LibBase})
                     base->Set(std::string(r.rng() % 200, 'x'));
                 PathState.ConfMode = r.Num() % 8;
                 PathState.ConfNumber = r.Num();
                 PathState.OptionBits = static_cast<uint32_t>(r.rng());
                 PathBuf out;
                 KindPath(r.Num() % 32, out);
             }},
        },
        11, 4000);
}
