// Conversion settings: the options of the conversion window (ConvSettings, with two fields of
// TextFormatSettings) and the small text file VexaAsc.CFA that keeps them between runs. The file has
// an identification line, a date line, the window's placement and one value per line; one routine
// reads and writes it, because every transfer goes in the direction the settings file was opened in.
// Portable: the window takes part through a PlacementTarget, native callers pass none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/forms.h"
#include "lib/paths.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

struct ConvSettingsRecord {
    int Mode;        // 0 Full ASCII to binary, 1 binary to Full ASCII, 2 binary to Col ASCII
    int ColsPerLine; // 1 "one", 2 "all", 3 "block"
    int LastLine;    // 0 "nothing", 1 "cr+lf", 2 "cr+lf+eof"
    int ExtChoice;   // 0 "only data ext.", 1 "TXT", 2 "input"
    bool Numbered;
    bool OnlySelected;
    bool NotAsSource; // the destination folder is DestDir rather than SourceDir
    PathBuf SourceDir;
    PathBuf DestDir;
    NameBuf SourceMask;
    TextBuf<2> Extension;
    TextBuf<79> SelectedCols;
};

extern ConvSettingsRecord ConvSettings;

// The defaults, with SourceDir (and DestDir) from the program's folder; also DelimiterCode 32 and
// Decimals -4 of TextFormatSettings.
void ResetConvSettings();
void ResetConvSettings(std::string_view programDir);
// The folder named DATA beside the program's folder, or the program's folder when there is none.
std::string DefaultSourceDir(std::string_view programDir);

// A window whose placement travels with the settings file (line 3).
class PlacementTarget {
  public:
    virtual ~PlacementTarget() = default;
    // Takes the window's placement into the record (the saved copy is the normal placement).
    virtual void SavePlacement(FormGeometry& geometry) = 0;
    // Places the window from the record (an empty record centres it).
    virtual void PlaceFrom(const FormGeometry& geometry) = 0;
    // True for a single or dialog border: only the position is restored.
    virtual bool FixedBorder() const = 0;
};

// The settings file: one at a time, opened for reading or for writing.
enum class SettingsOpenMode { Closed, Reading, Writing };
extern RecordFile SettingsFile;
extern SettingsOpenMode SettingsMode;

// Where a program in programDir keeps its settings: Sys\Install\Last beside a program folder named
// BIN (any case) when that folder exists, otherwise the program's folder.
std::string SettingsFolder(std::string_view programDir);

// Opens folder\name.CFA (an empty folder: SettingsFolder of the running program) for reading or
// creates it for writing, and transfers the identification, the date and, with a target, the
// placement. Reading a file that is missing or not a settings file fails (a target is then centred).
void OpenSettings(std::string_view folder, std::string_view name, bool reading, PlacementTarget* target,
                  bool& failed);
// The same for a file named in full.
void OpenSettingsPath(std::string_view path, bool reading, PlacementTarget* target, bool& failed);

// One value line in the direction of the open file. Reading: integers and booleans lose a "*" comment
// (unless the line begins with "**"), an integer that is not a number is 0; texts are taken whole,
// without trailing blanks. A file that has ended gives 0, false and empty text.
void SettingsInt(int& value);
void SettingsBool(bool& flag);
void SettingsText(char* buf, int n);
template <int N> void SettingsText(TextBuf<N>& buf) {
    SettingsText(buf.c, N);
}

void CloseSettings(bool& failed);

// Each option at the nearest value the window can show (a hand-edited file may hold others): the
// choices clamped to their ranges, the decimals to 1..12 in exponent form.
void NormaliseConvSettings();

// The 14 value lines of ConvSettings and TextFormatSettings, in file order.
void TransferConvSettings();
// Reads or writes VexaAsc.CFA at its usual place; a file that cannot be read or created leaves the
// defaults in force. False when the file could not be read, or not be written whole (the old file
// then stays); SettingsFile's Name and ErrorCode say which file and why.
bool LoadSaveConvSettings(bool reading, PlacementTarget* target);
