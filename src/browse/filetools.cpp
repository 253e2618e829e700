// File tools (the recursive walkers and AlignToStar).
#include "browse/filetools.h"

#include "lib/dirscan.h"
#include "lib/paths.h"

namespace {

constexpr uint32_t FileRequest = AttrReadOnly | AttrHidden | AttrArchive;

// Calls visit(name, path) for each subdirectory of dir matching the mask that a walk may enter.
template <class Visit> void ForSubdirs(std::string_view dir, std::string_view mask, LineTarget& lines,
                                       Visit visit) {
    DirScan scan(dir, mask, AttrDirectory);
    while (!lines.Stopped() && scan.Next()) {
        if (!scan.IsDir() || scan.Name()[0] == '.' || (scan.Attributes() & AttrReparse)) continue;
        std::string path = JoinDir(dir, scan.Name());
        if (JoinedWhole(dir, scan.Name(), path)) visit(std::string_view(scan.Name()), path);
    }
}

} // namespace

void ListFiles(std::string_view prefix, std::string_view dir, std::string_view mask, LineTarget& lines,
               bool subDirs) {
    std::string p(prefix);
    if (!p.empty() && p.back() != '\\') p += '\\';
    DirScan files(dir, mask, FileRequest);
    std::string line;
    while (files.Next()) {
        line.assign(p).append(files.Name());
        lines.Add(line);
    }
    if (!subDirs) return;
    ForSubdirs(dir, "*.*", lines, [&](std::string_view name, const std::string& path) {
        ListFiles(p + std::string(name), path, mask, lines, true);
    });
}

void ListDirsWithFiles(std::string_view prefix, std::string_view dir, std::string_view mask, LineTarget& lines) {
    if (DirScan(dir, mask, FileRequest).Next()) lines.Add(prefix.empty() ? BaseMarker : prefix);
    ForSubdirs(dir, "*.*", lines, [&](std::string_view name, const std::string& path) {
        ListDirsWithFiles(JoinDir(prefix, name), path, mask, lines);
    });
}

void ListDirsByMask(std::string_view prefix, std::string_view dir, std::string_view mask, LineTarget& lines) {
    ForSubdirs(dir, mask, lines, [&](std::string_view name, const std::string& path) {
        std::string rel = JoinDir(prefix, name);
        lines.Add(rel);
        ListDirsByMask(rel, path, mask, lines);
    });
}

void AlignToStar(std::string_view value, const char* tmpl, int tmplN, TextBuf<127>& out) {
    int len = BufLen(tmpl, tmplN);
    int star = -1;
    for (int i = 0; i < len; ++i) {
        if (tmpl[i] != '*') continue;
        star = i;
        if (i > 0 && tmpl[i - 1] == ' ') break;
    }
    if (star <= 0) {
        out.Set(value);
        return;
    }
    BufAssign(BufView(tmpl, tmplN), out.c, out.Cap);
    for (int i = 0; i < star && i <= out.Cap; ++i)
        out.c[i] = ' ';
    // The star moves right until two blanks can separate it from the value.
    int column = star;
    int needed = static_cast<int>(value.size()) + 2;
    if (column < needed) {
        std::string shifted(static_cast<size_t>(needed - column), ' ');
        shifted += out.View();
        out.Set(shifted);
    }
    BufPutAt(out.c, out.Cap, value, 0);
}
