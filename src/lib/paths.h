// Install-tree paths: the numbered directory kinds of the measurement program's tree, the process-wide
// base directories they resolve against, and the path-text operations every other module uses to
// join, split and change paths and file names. Portable; nothing here touches the disk.
//
// Separators are the backslash and the colon after a drive letter; "/" is an ordinary character.
// Buffer forms take (buffer, capacity n); "text forms" take and return strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/strnum.h"

using PathBuf = TextBuf<175>; // directory paths
using NameBuf = TextBuf<239>; // file paths and names
using ExtBuf = TextBuf<6>;    // extension texts (7 characters)

struct PathStateRecord {
    bool SingleRoot;     // every kind resolves to the root itself
    uint32_t OptionBits; // bit 4: system base configuration (ConfOverride mode 0)
    int ConfMode;        // 0..5, how the Conf kinds are redirected
    int ConfNumber;      // N of "Base_N" / "Conf_N", used when 1 or more
    PathBuf Root;
    PathBuf LibBase;
    PathBuf DataBase;
    PathBuf BufferBase;
    PathBuf InitBase;
    PathBuf ConfBase;
    TextBuf<3> DefaultExt; // "*": the explorer's default mask shows "*." and this
    TextBuf<3> BackupExt;  // "~~~": given to a file set aside before it is replaced
};

extern PathStateRecord PathState;
void ResetPathState();

void KindName(int kind, PathBuf& out);
void KindPath(int kind, PathBuf& out);
void ConfOverride(int kind, PathBuf& path);

void JoinDir(std::string_view dir, std::string_view name, char* out, int n);
std::string JoinDir(std::string_view dir, std::string_view name); // up to 176 characters
void JoinFile(std::string_view dir, std::string_view rel, char* out, int n);
std::string JoinFile(std::string_view dir, std::string_view rel); // up to 240 characters
// True when joined (a JoinDir or JoinFile of dir and rel) is the whole join, not cut by a buffer on the
// way: a cut join names another path.
bool JoinedWhole(std::string_view dir, std::string_view rel, std::string_view joined);
// A file name against a mask as Windows matches them: case-blind, "*" any run, "?" one character, and a
// mask ending in ".*" also takes a name without a dot ("*.*" takes every name).
bool WildMatch(std::string_view mask, std::string_view name);

// mode 1 removes a trailing backslash, 2 adds one, any other decides (D: -> D:\, D:\ -> D:, C:\X\ -> C:\X).
void TrailSlash(int mode, char* buf, int n);
std::string TrailSlash(int mode, std::string_view path); // up to 176 characters

void NamePart(char* buf, int n);
void DirPart(const char* src, int srcN, char* out, int n);

enum class Component { First, Last };
void SplitComponent(Component which, char* src, int srcN, char* out, int outN);

void TrimPathPrefix(int mode, std::string_view prefix, char* buf, int n);
char DriveLetterOf(const char* buf, int n);
std::string DriveRoot(char letter);

int ExtDotPos(int mode, const char* buf, int n);
bool HasDoubleExt(const char* buf, int n);
void StripExt(int mode, char* buf, int n);
void ExtOf(int mode, const char* src, int srcN, ExtBuf& out);
void ChangeExt(int mode, std::string_view ext, char* buf, int n);
void EnsureExt(std::string_view ext, char* buf, int n);

// Convenience forms over TextBuf, so callers write NamePart(buf) rather than NamePart(buf.c, buf.Cap).
template <int N> void NamePart(TextBuf<N>& b) { NamePart(b.c, N); }
template <int N> void StripExt(int mode, TextBuf<N>& b) { StripExt(mode, b.c, N); }
template <int N> void ChangeExt(int mode, std::string_view ext, TextBuf<N>& b) { ChangeExt(mode, ext, b.c, N); }
template <int N> void EnsureExt(std::string_view ext, TextBuf<N>& b) { EnsureExt(ext, b.c, N); }
template <int N> void TrailSlash(int mode, TextBuf<N>& b) { TrailSlash(mode, b.c, N); }
