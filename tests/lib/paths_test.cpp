#include "lib/paths.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/guarded_buffer.h"

using testsupport::GuardedBuffer;

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

struct PathStateGuard {
    PathStateGuard() { ResetPathState(); }
    ~PathStateGuard() { ResetPathState(); }
};

} // namespace

// ---- Path kinds -----------------------------------------------------------------------------------

TEST(PathKinds, StartStateResolvesAgainstEmptyBases) {
    PathStateGuard state;
    EXPECT_EQ(PathState.DefaultExt.Str(), "*");
    EXPECT_EQ(PathState.BackupExt.Str(), "~~~");
    const struct {
        int kind;
        const char* path;
    } cases[] = {
        {0, "\\Sys\\"},
        {1, "\\Sys\\Base"},
        {7, "\\Sys\\InitDat"},
        {8, "\\Bin"},
        {9, "\\Lib"},
        {11, "\\Conf\\Base"},
        {13, "\\Data\\Init"},
        {16, ""},
        {17, "\\Buffer"},
        {19, "\\Sys\\Install\\Bde_Ocx"},
        {20, "\\Sys\\"},
        {23, "\\Sys\\Install\\Last"},
        {27, ""},
        {28, "\\Sys"},
        {29, "\\Diag"},
        {-1, "\\Sys\\"},
        {1000, "\\Sys\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(Kind(c.kind), c.path) << "kind " << c.kind;
}

TEST(PathKinds, BasesAndSingleRoot) {
    PathStateGuard state;
    PathState.Root.Set("C:\\V\\KORVO");
    PathState.LibBase.Set("D:\\");
    PathState.DataBase.Set("E:\\M");
    PathState.InitBase.Set("F:\\I");
    PathState.BufferBase.Set("G:");
    const struct {
        int kind;
        const char* path;
    } cases[] = {
        {1, "C:\\V\\KORVO\\Sys\\Base"},
        {8, "C:\\V\\KORVO\\Bin"},
        {9, "D:\\Lib"},
        {15, "E:\\M\\Data"},
        {14, "F:\\I\\Init"},
        {16, "F:\\I"},
        {17, "G:\\Buffer"},
        {27, "C:\\V\\KORVO"},
    };
    for (const auto& c : cases) EXPECT_EQ(Kind(c.kind), c.path) << "kind " << c.kind;
    PathState.SingleRoot = true;
    EXPECT_EQ(Kind(9), "C:\\V\\KORVO");
    EXPECT_EQ(Kind(23), "C:\\V\\KORVO");
}

TEST(PathKinds, ConfigurationModesRedirectConfKinds) {
    PathStateGuard state;
    PathState.Root.Set("C:\\K");
    PathState.ConfBase.Set("X:\\C");
    const struct {
        int mode;
        int number;
        uint32_t bits;
        const char* conf; // kinds 10, 11, 12
        const char* base;
        const char* init;
    } cases[] = {
        {0, 0, 0, "C:\\K\\Conf", "C:\\K\\Conf\\Base", "C:\\K\\Conf\\Init"},
        {0, 0, 0x10, "C:\\K\\Conf", "C:\\K\\Sys\\Base", "C:\\K\\Conf\\Init"},
        {1, 0, 0, "C:\\K\\Conf", "X:\\C", "C:\\K\\Conf\\Init"},
        {2, 0, 0, "X:\\C", "X:\\C\\Base", "X:\\C\\Init"},
        {3, 0, 0x10, "C:\\K\\Conf", "C:\\K\\Conf\\Base", "C:\\K\\Conf\\Init"},
        {4, 0, 0, "C:\\K\\Conf", "C:\\K\\Conf\\Base", "C:\\K\\Conf\\Init"},
        {4, 12, 0, "C:\\K\\Conf", "X:\\C\\Base_12", "C:\\K\\Conf\\Init"},
        {5, 3, 0, "X:\\C\\Conf_3", "X:\\C\\Conf_3\\Base", "X:\\C\\Conf_3\\Init"},
        {5, 0, 0, "C:\\K\\Conf", "C:\\K\\Conf\\Base", "C:\\K\\Conf\\Init"},
        {6, 3, 0x10, "C:\\K\\Conf", "C:\\K\\Conf\\Base", "C:\\K\\Conf\\Init"},
    };
    for (const auto& c : cases) {
        PathState.ConfMode = c.mode;
        PathState.ConfNumber = c.number;
        PathState.OptionBits = c.bits;
        EXPECT_EQ(Kind(10), c.conf) << "mode " << c.mode;
        EXPECT_EQ(Kind(11), c.base) << "mode " << c.mode;
        EXPECT_EQ(Kind(12), c.init) << "mode " << c.mode;
        EXPECT_EQ(Kind(1), "C:\\K\\Sys\\Base") << "mode " << c.mode;
    }
}

// ---- Joining and splitting ------------------------------------------------------------------------

TEST(PathText, Joining) {
    const struct {
        const char* dir;
        const char* name;
        const char* file; // JoinFile
        const char* sub;  // JoinDir
    } cases[] = {
        {"", "Sys\\Base", "\\Sys\\Base", "Sys\\Base"},
        {"C:\\A", "D:\\B", "D:\\B", "C:\\A\\D:\\B"},
        {"C:\\A\\", "B", "C:\\A\\B", "C:\\A\\B"},
        {"C:\\A", "\\B", "\\B", "C:\\A\\B"},
        {"C:\\A\\", "\\B", "\\B", "C:\\A\\\\B"},
        {"D:", "", "D:\\", "D:\\"},
        {"C:\\A", "", "C:\\A\\", "C:\\A"},
        {"", "", "\\", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JoinFile(c.dir, c.name), c.file) << c.dir << " + " << c.name;
        EXPECT_EQ(JoinDir(c.dir, c.name), c.sub) << c.dir << " + " << c.name;
    }
    PathBuf b;
    b.Set(std::string(200, 'd'));
    EXPECT_EQ(b.Str(), std::string(176, 'd'));
    EXPECT_EQ(JoinDir(std::string(170, 'd'), "name"), std::string(170, 'd') + "\\name");
    EXPECT_EQ(JoinDir(std::string(174, 'd'), "name"), std::string(174, 'd') + "\\n");
    NameBuf self = Name("C:\\A");
    JoinFile(self.View(), "B.TXT", self.c, self.Cap);
    EXPECT_EQ(self.Str(), "C:\\A\\B.TXT");
}

TEST(PathText, TrailingBackslash) {
    const struct {
        int mode;
        const char* path;
        const char* want;
    } cases[] = {
        {0, "D:", "D:\\"},           {0, "D:\\", "D:"},
        {0, "C:\\DIR\\", "C:\\DIR"}, {0, "C:\\DIR", "C:\\DIR"},
        {1, "C:\\X\\", "C:\\X"},     {2, "C:\\X", "C:\\X\\"},
        {2, "C:\\X\\", "C:\\X\\"},   {7, "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TrailSlash(c.mode, c.path), c.want) << c.mode << " " << c.path;
    TextBuf<3> full;
    full.Set("ABCD");
    TrailSlash(2, full);
    EXPECT_EQ(full.Str(), "ABCD");
}

TEST(PathText, NameAndDirectoryParts) {
    const struct {
        const char* path;
        const char* name;
        const char* dir;
    } cases[] = {
        {"C:\\A\\B.TXT", "B.TXT", "C:\\A"},
        {"C:\\X.TXT", "X.TXT", "C:"},
        {"C:X.TXT", "X.TXT", "C:"},
        {"\\X", "\\X", "\\"},
        {"X", "X", ""},
        {"", "", ""},
        {"C:\\A\\", "", "C:\\A"},
    };
    for (const auto& c : cases) {
        NameBuf b = Name(c.path);
        NamePart(b);
        EXPECT_EQ(b.Str(), c.name) << c.path;
        NameBuf dir = Name("stale");
        NameBuf src = Name(c.path);
        DirPart(src.c, src.Cap, dir.c, dir.Cap);
        EXPECT_EQ(dir.Str(), c.dir) << c.path;
    }
}

TEST(PathText, SplittingComponents) {
    const struct {
        Component which;
        const char* path;
        const char* part;
        const char* rest;
    } cases[] = {
        {Component::Last, "C:\\A\\B", "B", "C:\\A"},
        {Component::Last, "C:\\B", "B", "C:"},
        {Component::Last, "C:\\A\\B\\", "B", "C:\\A"},
        {Component::Last, "NAME", "", ""},
        {Component::Last, "\\NAME", "", ""},
        {Component::First, "C:\\A\\B", "C:", "A\\B"},
        {Component::First, "\\\\SRV\\SHARE\\DIR\\SUB", "\\\\SRV\\SHARE", "DIR\\SUB"},
        {Component::First, "\\\\SRV\\SHARE", "\\\\SRV\\SHARE", ""},
        {Component::First, "\\A\\B", "\\A", "B"},
        {Component::First, "NAME\\", "NAME", ""},
        {Component::First, "\\", "", ""},
    };
    for (const auto& c : cases) {
        NameBuf src = Name(c.path);
        NameBuf part = Name("stale");
        SplitComponent(c.which, src.c, src.Cap, part.c, part.Cap);
        EXPECT_EQ(part.Str(), c.part) << c.path;
        EXPECT_EQ(src.Str(), c.rest) << c.path;
    }
    NameBuf setupDir = Name("C:\\VEXA_DOS\\KORVO\\INSTALL\\WIN");
    PathBuf part;
    for (int i = 0; i < 3; ++i) SplitComponent(Component::Last, setupDir.c, setupDir.Cap, part.c, part.Cap);
    EXPECT_EQ(setupDir.Str(), "C:\\VEXA_DOS");
}

TEST(PathText, TrimmingPrefixes) {
    const struct {
        int mode;
        const char* prefix;
        const char* path;
        const char* want;
    } cases[] = {
        {0, "C:\\KORVO", "C:\\KORVO\\Sys\\Base", "Sys\\Base"},
        {0, "c:\\korvo", "C:\\KORVO\\Sys", "Sys"},
        {0, "C:\\OTHER", "C:\\KORVO\\Sys", "C:\\KORVO\\Sys"},
        {0, "C:\\KORVO\\Sys\\Base\\More", "C:\\KORVO", "C:\\KORVO"},
        {1, "XXXXXXXX", "C:\\KORVO\\Sys", "Sys"},
        {2, "Base", "C:\\KORVO\\Base", "C:\\KORVO"},
        {2, "LongerThanPath", "C:\\K", ""},
        {3, "C:\\KORVO", "C:\\KORVO\\Sys\\Base\\X", "C:\\KORVO\\Sys"},
        {3, "C:\\KORVO", "C:\\KORVO\\Sys", "C:\\KORVO\\Sys"},
        {-1, "x", "\\A\\B", "A\\B"},
        {4, "C:", "C:\\A", "C:\\A"},
        {0, "", "\\A", "\\A"},
    };
    for (const auto& c : cases) {
        NameBuf b = Name(c.path);
        TrimPathPrefix(c.mode, c.prefix, b.c, b.Cap);
        EXPECT_EQ(b.Str(), c.want) << c.mode << " " << c.prefix << " " << c.path;
    }
}

TEST(PathText, Drives) {
    const struct {
        const char* path;
        char letter;
    } cases[] = {{"d:\\x", 'd'}, {"E:", 'E'}, {"\\x", 'C'}, {"1:\\", 'C'}, {"", 'C'}, {"D", 'C'}};
    for (const auto& c : cases) EXPECT_EQ(DriveLetterOf(Name(c.path).c, 239), c.letter) << c.path;
    EXPECT_EQ(DriveRoot('F'), "F:\\");
}

// ---- Extensions -----------------------------------------------------------------------------------

TEST(Extensions, DotPositions) {
    const struct {
        const char* name;
        int mode0;
        int mode1;
        int mode2;
    } cases[] = {
        {"A.DAT.CFA", 5, 1, 1},
        {"A.DATA.CFA", 6, 6, 1},
        {"NAME", NotFound, NotFound, NotFound},
        {"C:\\VEXA.1\\KORVO\\Doc\\README", NotFound, NotFound, NotFound},
        {"C:\\VEXA.1\\README.TXT", 16, 16, 16},
        {"C:\\A.DAT\\B.CFA", 10, 10, 10},
        {"C:X.Y", 3, 3, 3},
        {"D:.\\X", NotFound, NotFound, NotFound},
        {".CFG", 0, 0, 0},
    };
    for (const auto& c : cases) {
        NameBuf b = Name(c.name);
        EXPECT_EQ(ExtDotPos(0, b.c, b.Cap), c.mode0) << c.name;
        EXPECT_EQ(ExtDotPos(1, b.c, b.Cap), c.mode1) << c.name;
        EXPECT_EQ(ExtDotPos(2, b.c, b.Cap), c.mode2) << c.name;
    }
    EXPECT_TRUE(HasDoubleExt(Name("NAME.DAT.CFA").c, 239));
    EXPECT_FALSE(HasDoubleExt(Name("A.B.CFA").c, 239));
    EXPECT_FALSE(HasDoubleExt(Name("C:\\DIR.X\\Y.EXT").c, 239));
}

TEST(Extensions, StripAndTake) {
    const struct {
        int mode;
        const char* name;
        const char* stripped;
        const char* ext;
    } cases[] = {
        {0, "CONFIG.SYS", "CONFIG", "SYS"},
        {0, "FILE.LONGEXT", "FILE", "LON"},
        {1, "NAME.DAT.CFA", "NAME", "DAT.CFA"},
        {2, "A.B.C", "A", "B.C"},
        {3, "NAME.DAT.CFA", "NAME.DAT", "DAT"},
        {0, "C:\\VEXA.1\\KORVO\\Doc\\README", "C:\\VEXA.1\\KORVO\\Doc\\README", ""},
    };
    for (const auto& c : cases) {
        NameBuf b = Name(c.name);
        ExtBuf ext;
        ext.Set("stale");
        ExtOf(c.mode, b.c, b.Cap, ext);
        EXPECT_EQ(ext.Str(), c.ext) << c.name;
        StripExt(c.mode == 3 ? 0 : c.mode, b);
        EXPECT_EQ(b.Str(), c.stripped) << c.name;
    }
}

TEST(Extensions, ChangeAndEnsure) {
    const struct {
        int mode;
        const char* ext;
        const char* name;
        const char* want;
    } cases[] = {
        {0, "Bak", "CONFIG.SYS", "CONFIG.Bak"},
        {0, "Bak", "C:\\WINNT\\SYSTEM32\\AUTOEXEC.NT", "C:\\WINNT\\SYSTEM32\\AUTOEXEC.Bak"},
        {0, "B??", "AUTOEXEC.BAT", "AUTOEXEC.BAT"},
        {0, "??K", "AUTOEXEC.BAT", "AUTOEXEC.BAK"},
        {1, "BAK", "NAME.DAT.CFA", "NAME.BAK.CFA"},
        {0, "Bak", "C:\\VEXA.1\\KORVO\\Doc\\README", "C:\\VEXA.1\\KORVO\\Doc\\README.Bak"},
        {0, "~~~", "C:\\K.2\\Sys\\Prog", "C:\\K.2\\Sys\\Prog.~~~"},
        {0, "EXTENSION", "A.B", "A.EXTENSI"},
        {0, "??", "README", "README.AA"},
    };
    for (const auto& c : cases) {
        NameBuf b = Name(c.name);
        ChangeExt(c.mode, c.ext, b);
        EXPECT_EQ(b.Str(), c.want) << c.name << " to " << c.ext;
    }
    const struct {
        const char* name;
        const char* want;
    } ensure[] = {
        {"PROG.COM", "PROG.COM"},         {"PROG", "PROG.EXE"}, {"P.C", "P.C.EXE"},
        {"C:\\A.B\\C", "C:\\A.B\\C.EXE"}, {"", ".EXE"},
    };
    for (const auto& e : ensure) {
        NameBuf b = Name(e.name);
        EnsureExt("EXE", b);
        EXPECT_EQ(b.Str(), e.want) << e.name;
    }
    TextBuf<7> tight;
    tight.Set("ABCDEFG");
    ChangeExt(0, "TXT", tight);
    EXPECT_EQ(tight.Str(), "ABCDEFG."); // cut at the buffer, never past it
}

// ---- Any arguments --------------------------------------------------------------------------------

TEST(PathTextSafety, EveryOperationStaysInsideItsBuffers) {
    using testsupport::RandomArgs;
    using Buffer = std::unique_ptr<GuardedBuffer>;
    using Op = std::function<void(RandomArgs&, Buffer&, Buffer&)>;
    const std::pair<const char*, Op> ops[] = {
        {"JoinDir",
         [](RandomArgs& r, Buffer& a, Buffer&) { JoinDir(r.Text(), r.Text(), a->data(), a->n()); }},
        {"JoinFile",
         [](RandomArgs& r, Buffer& a, Buffer&) { JoinFile(r.Text(), r.Text(), a->data(), a->n()); }},
        {"JoinFile self", [](RandomArgs& r, Buffer& a,
                             Buffer&) { JoinFile(BufView(a->data(), a->n()), r.Text(), a->data(), a->n()); }},
        {"TrailSlash", [](RandomArgs& r, Buffer& a, Buffer&) { TrailSlash(r.Num(), a->data(), a->n()); }},
        {"NamePart", [](RandomArgs&, Buffer& a, Buffer&) { NamePart(a->data(), a->n()); }},
        {"DirPart", [](RandomArgs&, Buffer& a, Buffer& b) { DirPart(a->data(), a->n(), b->data(), b->n()); }},
        {"DirPart self",
         [](RandomArgs&, Buffer& a, Buffer&) { DirPart(a->data(), a->n(), a->data(), a->n()); }},
        {"SplitComponent",
         [](RandomArgs& r, Buffer& a, Buffer& b) {
             SplitComponent(r.Flag() ? Component::First : Component::Last, a->data(), a->n(), b->data(),
                            b->n());
         }},
        {"TrimPathPrefix",
         [](RandomArgs& r, Buffer& a, Buffer&) {
             TrimPathPrefix(static_cast<int>(r.rng() % 7) - 1, r.Text().substr(0, r.rng() % 12), a->data(),
                            a->n());
         }},
        {"DriveLetterOf", [](RandomArgs&, Buffer& a, Buffer&) { DriveLetterOf(a->data(), a->n()); }},
        {"ExtDotPos", [](RandomArgs& r, Buffer& a, Buffer&) { ExtDotPos(r.Num() % 4, a->data(), a->n()); }},
        {"HasDoubleExt", [](RandomArgs&, Buffer& a, Buffer&) { HasDoubleExt(a->data(), a->n()); }},
        {"StripExt", [](RandomArgs& r, Buffer& a, Buffer&) { StripExt(r.Num() % 4, a->data(), a->n()); }},
        {"ExtOf",
         [](RandomArgs& r, Buffer& a, Buffer&) {
             ExtBuf out;
             ExtOf(r.Num() % 5, a->data(), a->n(), out);
         }},
        {"ChangeExt",
         [](RandomArgs& r, Buffer& a, Buffer&) { ChangeExt(r.Num() % 4, r.Text(), a->data(), a->n()); }},
        {"EnsureExt", [](RandomArgs& r, Buffer& a, Buffer&) { EnsureExt(r.Text(), a->data(), a->n()); }},
    };
    RandomArgs args(11);
    const int rounds = 4000;
    for (const auto& [name, op] : ops) {
        for (int i = 0; i < rounds; ++i) {
            Buffer a = args.Buffer(), b = args.Buffer();
            op(args, a, b);
            ASSERT_TRUE(a->Intact() && b->Intact()) << name << " round " << i;
        }
    }
    PathStateGuard state;
    for (int i = 0; i < rounds; ++i) {
        for (PathBuf* base : {&PathState.Root, &PathState.ConfBase, &PathState.LibBase, &PathState.InitBase})
            base->Set(std::string(args.rng() % 200, 'x'));
        PathState.ConfMode = args.Num() % 8;
        PathState.ConfNumber = args.Num();
        PathState.OptionBits = static_cast<uint32_t>(args.rng());
        PathBuf out;
        KindPath(args.Num() % 32, out);
        EXPECT_LE(out.Len(), 176);
    }
}
