// Names around a conversion: the kind letter of a data file, the destination name a run gives it,
// and the little path text the engine and the batch command need (folder of a path, joining a folder
// and a name). Portable: the Windows build separates path components with "\" (and accepts "/" and a
// drive colon), native builds with "/", so the same code serves C:\DATA\MEAS.K01 and /data/MEAS.K01.
#pragma once

#include <string>
#include <string_view>

#include "lib/textfold.h"

// The kinds of data file the engine converts.
constexpr std::string_view DataKinds = "KYPTVAQ";

// The separator JoinPath puts between a folder and a name.
#ifdef _WIN32
constexpr char PathSep = '\\';
#else
constexpr char PathSep = '/';
#endif

bool IsPathSep(char c);

// The file-name part of a path (everything after the last separator).
std::string_view NameOf(std::string_view path);
// The folder part of a path, without a trailing separator except for a root ("C:\", "/"); empty for a
// bare name.
std::string FolderOf(std::string_view path);
// The folder that holds the given folder ("C:\KORVO\BIN" gives "C:\KORVO"); empty when there is none.
std::string ParentFolder(std::string_view folder);
// folder + separator + name; no separator is doubled, and an empty folder gives the name alone.
std::string JoinPath(std::string_view folder, std::string_view name);

// Upper-cased first letter of the file's extension, where MEAS.K01.TXT counts as MEAS.K01 (an earlier
// extension of exactly three characters wins); 0 when the name has no extension.
char KindLetter(std::string_view path);
// True when the kind letter is one of DataKinds.
bool IsDataKind(char kind);

// Destination name choices of a run (binary to ASCII modes only).
constexpr int ExtKeep = 0;  // "only data ext.": the name stays
constexpr int ExtTxt = 1;   // ".TXT" appended
constexpr int ExtInput = 2; // "." and the chosen extension appended

// The destination name of a source name: mode 0 drops the last extension (MEAS.K01.TXT gives
// MEAS.K01); modes 1 and 2 keep the name, append ".TXT" or append "." and extension, by choice.
std::string DestinationName(int mode, int extChoice, std::string_view extension, std::string_view name);
// True when a run's destination names open its source files themselves wherever the destination
// folder is the source folder: modes 1 and 2 with "only data ext.", and on Windows also with an input
// extension that is empty or nothing but dots and blanks, which Windows drops from the end of a name
// (MEAS.K01. opens MEAS.K01).
bool KeepsSourceName(int mode, int extChoice, std::string_view extension);
