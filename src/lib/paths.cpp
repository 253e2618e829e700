// Install-tree path kinds and path text. Inputs given as text are first taken into buffers of the
// path sizes, so an input may be a view of the very buffer the result goes to.
#include "lib/paths.h"

#include <algorithm>
#include <cstring>

#include "lib/strnum_detail.h"
#include "lib/textfold.h"

using namespace textdetail;

PathStateRecord PathState = {false, 0, 0, 0, {}, {}, {}, {}, {}, {}, {"*"}, {"~~~"}};

void ResetPathState() {
    PathState = {false, 0, 0, 0, {}, {}, {}, {}, {}, {}, {"*"}, {"~~~"}};
}

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == ':';
}

struct KindEntry {
    int Kind;
    const char* Name;
};

constexpr KindEntry KindNames[] = {
    {1, "Base"},           {2, "Init"},          {3, "InitDat"},
    {4, "Cryo"},           {5, "Meas"},          {6, "Doc"},
    {7, "InitDat"},        {8, "Bin"},           {9, "Lib"},
    {10, "Conf"},          {11, "Conf\\Base"},   {12, "Conf\\Init"},
    {13, "Data\\Init"},    {14, "Init"},         {15, "Data"},
    {17, "Buffer"},        {18, "Install"},      {19, "Install\\Bde_Ocx"},
    {21, "Install\\Ieee"}, {22, "Install\\Zip"}, {23, "Install\\Last"},
    {24, "Install\\Work"}, {25, "Install\\Tmp"}, {26, "Tmp"},
    {28, "Sys"},           {29, "Diag"},
};

template <int N> void Assign(TextBuf<N>& out, std::string_view s) {
    Store(s, out.c, N);
}

} // namespace

// ---- Path kinds -----------------------------------------------------------------------------------

void KindName(int kind, PathBuf& out) {
    for (const KindEntry& e : KindNames)
        if (e.Kind == kind) return Assign(out, e.Name);
    out.Clear();
}

void KindPath(int kind, PathBuf& out) {
    const PathStateRecord& s = PathState;
    if (s.SingleRoot) return Assign(out, s.Root.View());
    PathBuf name;
    KindName(kind, name);
    switch (kind) {
    case 8:
    case 28:
    case 29:
        return JoinFile(s.Root.View(), name.View(), out.c, out.Cap);
    case 9:
        return JoinFile(s.LibBase.View(), name.View(), out.c, out.Cap);
    case 13:
    case 15:
        return JoinFile(s.DataBase.View(), name.View(), out.c, out.Cap);
    case 14:
        return JoinFile(s.InitBase.View(), name.View(), out.c, out.Cap);
    case 16:
        return Assign(out, s.InitBase.View());
    case 17:
        return JoinFile(s.BufferBase.View(), name.View(), out.c, out.Cap);
    case 27:
        return Assign(out, s.Root.View());
    case 10:
    case 11:
    case 12:
        JoinFile(s.Root.View(), name.View(), out.c, out.Cap);
        return ConfOverride(kind, out);
    default: {
        PathBuf sys;
        BufConcat2("Sys\\", name.View(), sys.c, sys.Cap);
        return JoinFile(s.Root.View(), sys.View(), out.c, out.Cap);
    }
    }
}

void ConfOverride(int kind, PathBuf& path) {
    const PathStateRecord& s = PathState;
    TextBuf<15> number;
    IntToPlainText(s.ConfNumber, number.c, number.Cap);
    PathBuf sub;
    switch (s.ConfMode) {
    case 0:
        if (kind == 11 && TestBit(s.OptionBits, 4)) JoinDir(s.Root.View(), "Sys\\Base", path.c, path.Cap);
        break;
    case 1:
        if (kind == 11) Assign(path, s.ConfBase.View());
        break;
    case 2:
        if (kind == 10) Assign(path, s.ConfBase.View());
        if (kind == 11) JoinDir(s.ConfBase.View(), "Base", path.c, path.Cap);
        if (kind == 12) JoinDir(s.ConfBase.View(), "Init", path.c, path.Cap);
        break;
    case 4:
        if (kind != 11 || s.ConfNumber < 1) break;
        BufConcat2("Base_", number.View(), sub.c, sub.Cap);
        JoinDir(s.ConfBase.View(), sub.View(), path.c, path.Cap);
        break;
    case 5:
        if (kind < 10 || kind > 12 || s.ConfNumber < 1) break;
        BufConcat2("Conf_", number.View(), sub.c, sub.Cap);
        JoinDir(s.ConfBase.View(), sub.View(), path.c, path.Cap);
        if (kind == 11) JoinDir(path.View(), "Base", path.c, path.Cap);
        if (kind == 12) JoinDir(path.View(), "Init", path.c, path.Cap);
        break;
    default:
        break;
    }
}

// ---- Joining --------------------------------------------------------------------------------------

void JoinDir(std::string_view dir, std::string_view name, char* out, int n) {
    PathBuf d;
    PathBuf f;
    Assign(d, dir);
    Assign(f, name);
    std::string_view dv = d.View();
    std::string_view fv = f.View();
    if (dv.empty()) return Store(fv, out, n);
    if (fv.empty()) {
        bool bareDrive = dv.size() == 2 && dv[1] == ':';
        return BufConcat2(dv, bareDrive ? "\\" : "", out, n);
    }
    if (dv.back() == '\\' || fv.front() == '\\') return BufConcat2(dv, fv, out, n);
    BufConcat3(dv, "\\", fv, out, n);
}

std::string JoinDir(std::string_view dir, std::string_view name) {
    PathBuf out;
    JoinDir(dir, name, out.c, out.Cap);
    return out.Str();
}

void JoinFile(std::string_view dir, std::string_view rel, char* out, int n) {
    PathBuf d;
    NameBuf r;
    Assign(d, dir);
    Assign(r, rel);
    std::string_view dv = d.View();
    std::string_view rv = r.View();
    if (!rv.empty() && (rv[0] == '\\' || (rv.size() >= 2 && rv[1] == ':'))) return Store(rv, out, n);
    if (!dv.empty() && dv.back() == '\\') return BufConcat2(dv, rv, out, n);
    BufConcat3(dv, "\\", rv, out, n);
}

std::string JoinFile(std::string_view dir, std::string_view rel) {
    NameBuf out;
    JoinFile(dir, rel, out.c, out.Cap);
    return out.Str();
}

// A cut join lost text at its end, so it cannot hold all of dir followed by all of rel; the one whole
// join without dir is rel itself (an absolute rel, or no dir).
bool JoinedWhole(std::string_view dir, std::string_view rel, std::string_view joined) {
    bool absolute = !rel.empty() && (rel[0] == '\\' || (rel.size() >= 2 && rel[1] == ':'));
    if (joined == rel && (dir.empty() || absolute)) return true;
    return joined.size() >= dir.size() + rel.size() && joined.starts_with(dir) && joined.ends_with(rel);
}

bool WildMatch(std::string_view mask, std::string_view name) {
    if (WildcardMatch(mask, name, true)) return true;
    return mask.ends_with(".*") && name.find('.') == std::string_view::npos &&
           WildcardMatch(mask.substr(0, mask.size() - 2), name, true);
}

void TrailSlash(int mode, char* buf, int n) {
    int len = BufLen(buf, n);
    if (len == 0) return;
    if (mode != 1 && mode != 2) mode = (len == 2 && buf[1] == ':') ? 2 : 1;
    if (mode == 1 && buf[len - 1] == '\\') buf[len - 1] = 0;
    if (mode == 2 && buf[len - 1] != '\\') {
        int pos = len;
        BufAppend("\\", buf, pos, n);
    }
}

std::string TrailSlash(int mode, std::string_view path) {
    PathBuf out;
    Assign(out, path);
    TrailSlash(mode, out.c, out.Cap);
    return out.Str();
}

// ---- Splitting ------------------------------------------------------------------------------------

void NamePart(char* buf, int n) {
    int len = BufLen(buf, n);
    for (int p = len - 1; p >= 1; --p)
        if (IsSeparator(buf[p])) return BufDelete(buf, n, 0, p + 1);
}

void DirPart(const char* src, int srcN, char* out, int n) {
    int len = BufLen(src, srcN);
    for (int p = len - 1; p >= 0; --p) {
        if (src[p] == '\\') return p == 0 ? Store("\\", out, n) : BufSub(src, srcN, 0, p, out, n);
        if (src[p] == ':') return p >= 1 ? BufSub(src, srcN, 0, p + 1, out, n) : Store({}, out, n);
    }
    Store({}, out, n);
}

void SplitComponent(Component which, char* src, int srcN, char* out, int outN) {
    int len = BufLen(src, srcN);
    if (len == 0) return Store({}, out, outN);
    int e = src[len - 1] == '\\' ? len - 2 : len - 1; // one trailing backslash is not scanned
    auto findForward = [&](int from) {
        for (int i = std::max(from, 0); i <= e; ++i)
            if (src[i] == '\\') return i;
        return -1;
    };
    if (which == Component::First) {
        int start = src[0] != '\\' ? 0 : (len > 1 && src[1] == '\\' ? 2 : 1);
        int k = findForward(start);
        if (start == 2 && k >= 0) k = findForward(k + 1); // \\server\share is one component
        if (k < 0) {
            BufSub(src, srcN, 0, e + 1, out, outN);
            Store({}, src, srcN);
            return;
        }
        BufSub(src, srcN, 0, k, out, outN);
        BufDelete(src, srcN, 0, k + 1);
        return;
    }
    int k = e;
    while (k >= 0 && src[k] != '\\') --k;
    if (k < 1) {
        Store({}, out, outN);
        Store({}, src, srcN);
        return;
    }
    BufSub(src, srcN, k + 1, e - k, out, outN);
    src[k] = 0;
}

// A prefix matches without regard to case, as paths are compared throughout.
void TrimPathPrefix(int mode, std::string_view prefix, char* buf, int n) {
    if (prefix.empty()) return;
    long long prefixLen = static_cast<long long>(prefix.size());
    int len = BufLen(buf, n);
    auto dropLeadingBackslash = [&] {
        if (BufLen(buf, n) > 0 && buf[0] == '\\') BufDelete(buf, n, 0, 1);
    };
    if (mode < 0) return dropLeadingBackslash();
    if (mode == 0) {
        if (prefixLen > len || BufCompareText(prefix, buf, static_cast<int>(prefixLen) - 1) != 0) return;
        BufDelete(buf, n, 0, static_cast<int>(prefixLen));
        return dropLeadingBackslash();
    }
    if (mode == 1) {
        BufDelete(buf, n, 0, static_cast<int>(std::min<long long>(prefixLen, len)));
        return dropLeadingBackslash();
    }
    if (mode == 2) {
        long long cut = len - prefixLen - 1;
        return BufCut(true, cut < 0 ? -1 : static_cast<int>(cut), buf, n);
    }
    if (mode == 3 && prefixLen + 1 < len) {
        int k = BufFindChar(static_cast<int>(prefixLen) + 1, false, '\\', buf, n);
        if (k >= 0) buf[k] = 0;
    }
}

char DriveLetterOf(const char* buf, int n) {
    if (BufLen(buf, n) < 2 || buf[1] != ':') return 'C';
    char u = UpperAscii(buf[0]);
    return (u >= 'A' && u <= 'Z') ? buf[0] : 'C';
}

std::string DriveRoot(char letter) {
    return std::string(1, letter) + ":\\";
}

// ---- Extensions -----------------------------------------------------------------------------------

// Only dots in the last component count: the scan stops at a backslash or a drive colon, so the
// dot of a directory such as C:\VEXA.1\README is never taken for an extension.
int ExtDotPos(int mode, const char* buf, int n) {
    int len = BufLen(buf, n);
    auto dotBefore = [&](int from) {
        for (int i = from; i >= 0 && !IsSeparator(buf[i]); --i)
            if (buf[i] == '.') return i;
        return NotFound;
    };
    int last = dotBefore(len - 1);
    if (last == NotFound || (mode != 1 && mode != 2)) return last;
    int earlier = dotBefore(last - 1);
    if (earlier == NotFound) return last;
    if (mode == 2 || last - earlier == 4) return earlier;
    return last;
}

bool HasDoubleExt(const char* buf, int n) {
    int len = BufLen(buf, n);
    if (len <= 8 || buf[len - 4] != '.' || buf[len - 8] != '.') return false;
    for (int i = len - 7; i < len - 4; ++i)
        if (IsSeparator(buf[i])) return false;
    return true;
}

void StripExt(int mode, char* buf, int n) {
    int pos = ExtDotPos(mode, buf, n);
    if (pos >= 0) buf[pos] = 0;
}

void ExtOf(int mode, const char* src, int srcN, ExtBuf& out) {
    int pos = ExtDotPos(mode == 3 ? 1 : mode, src, srcN);
    int most = (mode == 1 || mode == 2) ? 7 : 3;
    if (pos < 0) return Store({}, out.c, out.Cap);
    BufSub(src, srcN, pos + 1, most, out.c, out.Cap);
}

void ChangeExt(int mode, std::string_view ext, char* buf, int n) {
    ExtBuf fresh;
    ExtBuf old;
    Assign(fresh, ext);
    ExtOf(mode, buf, n, old);
    int oldLen = old.Len();
    if (mode > 0 && fresh.Len() <= 3 && oldLen == 7) {
        ExtBuf kept = old; // a double extension keeps its second part
        BufPutAt(kept.c, kept.Cap, fresh.View(), 0);
        fresh = kept;
    }
    StripExt(mode, buf, n);
    for (int i = oldLen; i <= old.Cap; ++i) old.c[i] = 'A';
    int freshLen = fresh.Len();
    for (int i = 0; i < freshLen; ++i)
        if (fresh.c[i] == '?' && old.c[i] != '.') fresh.c[i] = old.c[i];
    int pos = BufLen(buf, n);
    BufAppend(".", buf, pos, n);
    BufAppend(fresh.View(), buf, pos, n);
}

// Only a three-letter extension of the last component counts as present.
void EnsureExt(std::string_view ext, char* buf, int n) {
    int len = BufLen(buf, n);
    bool present = len >= 4 && buf[len - 4] == '.' && !IsSeparator(buf[len - 3]) &&
                   !IsSeparator(buf[len - 2]) && !IsSeparator(buf[len - 1]);
    if (present) return;
    int pos = len;
    BufAppend(".", buf, pos, n);
    BufAppend(ext, buf, pos, n);
}
