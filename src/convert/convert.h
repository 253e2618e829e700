// The conversion engine: converts one of the measurement program's binary data files (kinds K, Y, P,
// T, V, A, Q) to Full ASCII text and back, or to Col ASCII text, one file per call. A run is prepared
// once with ConvSetup and then ConvertFile is called for each file. Every field is read from the
// source record file and written to the destination record file, so one routine serves both
// directions. Portable; questions go through the prompter (ui/prompter.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Convert modes.
constexpr int ModeFullToBin = 0; // Full ASCII text back to binary
constexpr int ModeBinToFull = 1; // binary to Full ASCII (every header field and value)
constexpr int ModeBinToCol = 2;  // binary to Col ASCII (the data values in columns)

// LastLine choices: what follows the last record of a text file.
constexpr int LastNothing = 0;
constexpr int LastLineEnd = 1;    // a line end
constexpr int LastLineEndEof = 2; // a line end and the end-of-file character 26

constexpr int MaxColumn = 99;
constexpr int AttachmentBytes = 1024;

// Told now and then how far the source has been read (bytes), so a caller can show progress or keep
// its window alive during a long file.
using ConvProgressFn = void (*)(void* context, int64_t sourceBytes);

struct ConversionStateRecord {
    int Mode = 2;
    int Variant = 2; // ASCII variant written (modes 1, 2): 1 one value per line, 2 a record per
                     // line, 3 a record in a block of lines, 4 and 5 as 2 and 3 numbered
    int LastLine = 1;
    bool OnlySelected = false; // Col ASCII: write only the Selected columns
    std::string Delimiter = " ";
    int XOffset = 0; // main-header values of the file being converted (kind Y's x axis)
    int XStart = 0;
    double XStep = 0;
    bool FirstRecord = true;           // no record line begun yet in this file or block
    bool CheckFolders = true;          // the next file is the run's first: check its folders
    bool OverwriteAll = false;         // the user answered All to the overwrite question
    bool Selected[MaxColumn + 1] = {}; // columns 1..99
    unsigned char AttachmentBuffer[AttachmentBytes] = {}; // kept for the whole program run
    bool SourceCut = false; // the last converted source ended inside a record or block
    ConvProgressFn Progress = nullptr;
    void* ProgressContext = nullptr;
};

extern ConversionStateRecord ConversionState;
// Program-start state (no attachment read yet, no progress hook).
void ResetConversionState();

// Prepares ConversionState for a run: the variant from mode, cols per line (1 one, 2 all, 3 block) and
// numbered; LastLine; the delimiter from TextFormatSettings; the selected columns from their text
// ("1,36": numbers 1..99 separated by blanks, tabs, ",", "/" or ";"; the first other entry ends it).
void ConvSetup(int mode, int colsPerLine, int lastLine, bool numbered, bool onlySelected,
               std::string_view selectedCols);

// Why ConvertFile did or did not convert a file.
enum class ConvOutcome {
    Converted,
    UnknownKind, // the kind letter is not one of KYPTVAQ: passed over without a message
    Unreadable,  // the source cannot be opened
    NotAccepted, // the identification is not one of a data file (or of Full ASCII, mode 0)
    OldVersion,  // format version below 17 (modes 0 and 1; kind A in mode 2)
    HeaderCut,   // the source ends inside its headers
    Uncreatable, // the destination cannot be created
    WriteFailed, // the destination could not be written completely (a full disk)
    SameFile,    // source and destination are the same file
    Declined,    // the user answered No to the overwrite question
    RunAborted,  // a missing source folder, a refused or failed destination folder, or Cancel
};

// Converts source to destination in the mode of the run. With ask, an existing destination is only
// overwritten after the user agrees (Yes, No, Cancel, All). abortRun asks the caller to stop the run;
// converted is true when the headers were converted (the file may still end inside a record).
ConvOutcome ConvertFile(std::string_view source, std::string_view destination, bool ask, bool& abortRun,
                        bool& converted);

// A short English phrase for an outcome ("unknown kind", "not accepted", ...).
const char* OutcomeText(ConvOutcome outcome);

// ---- Identification rules (also used by tools that inspect data files) ---------------------------

constexpr int IdentLength = 40;
// The format version of a 40-character identification, with the older numbering translated.
int IdentVersion(std::string_view ident);
// Exactly 40 characters (no zero byte), "SW" in front, and character 11 "0" for a binary file or
// "1".."5" for a Full ASCII one.
bool IdentAccepted(std::string_view ident, bool binary);
// Characters 26..28 hold a number other than 0.
bool IdentHasAttachment(std::string_view ident);
