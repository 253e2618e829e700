// File tools: the recursive directory walkers behind the explorer's listing and the find-path dialog,
// and the formatter that puts a value in front of a "*" comment column. Portable: they use only the
// library's directory scans, so they build and are tested natively too.
//
// Walkers never sort: entries come in the order the file system gives them, the files of a directory
// before the contents of its subdirectories. They skip subdirectories whose names begin with ".",
// junctions and links (which may lead back up the tree), and subdirectories whose joined path would
// not fit a PathBuf (a cut path names another directory, and the walk might never end).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lib/strnum.h"

// Where the walkers put their lines: the lines of a list box or memo, or a plain list.
class LineTarget {
  public:
    virtual ~LineTarget() = default;
    virtual void Add(std::string_view line) = 0;
    // Asked between directories: true ends the walk early (the window showing the lines is closing).
    // A window's target also processes pending messages here, so a long walk keeps it alive.
    virtual bool Stopped() { return false; }
};

class LineList : public LineTarget {
  public:
    std::vector<std::string> Lines;
    void Add(std::string_view line) override { Lines.emplace_back(line); }
};

// The top-level directory itself in ListDirsWithFiles.
constexpr const char* BaseMarker = "(base)";

// One line per file (plain, read-only and hidden; no system files) matching the mask: Prefix\NAME,
// and with subDirs the files of every subdirectory after them as relative paths (SUB\NAME).
void ListFiles(std::string_view prefix, std::string_view dir, std::string_view mask, LineTarget& lines,
               bool subDirs);
// One line per directory, the top level included ("(base)"), holding at least one matching file.
void ListDirsWithFiles(std::string_view prefix, std::string_view dir, std::string_view mask, LineTarget& lines);
// One line per directory matching the mask, at every level reached; only matching directories are
// descended into.
void ListDirsByMask(std::string_view prefix, std::string_view dir, std::string_view mask, LineTarget& lines);

// Value at column 0 of the template's "*" comment (the first "*" after a blank, else the last "*"):
// value, at least two blanks, then the template from the "*" on. Without a "*" (or with one only at
// column 0) the result is the value alone.
void AlignToStar(std::string_view value, const char* tmpl, int tmplN, TextBuf<127>& out);
template <int N> void AlignToStar(std::string_view value, const TextBuf<N>& tmpl, TextBuf<127>& out) {
    AlignToStar(value, tmpl.c, N, out);
}
