// Record files: the program's one way of reading and writing data, settings, version and report
// files. A RecordFile is a file with a sticky error code and an end flag, and a small set of typed
// transfers: binary (2-byte integers, 4-byte single reals, fixed texts) and text (one value per line,
// or several values in one ";"-separated line). The mode-dependent transfers let one routine copy a
// file in either direction by choosing each file's Mode.
//
// Error rule: once ErrorCode is positive every later read or write does nothing until the file is
// closed; a read that fails leaves the caller's variable as it was and delivers empty text. Callers
// test Failed after each item they care about.
//
// Reads are buffered ahead and writes behind, invisibly: every transfer, ErrorCode and Failed behave
// as if each went straight to the system, except that a write failure (a full disk) may surface at a
// later write, and at the latest at Close, which then reports it. Portable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "lib/fs.h"
#include "lib/strnum.h"

namespace recfile_detail {
constexpr int BufferSize = 64 * 1024;
// The read-ahead / write-behind buffer of one file (not for callers).
struct Buffer {
    std::unique_ptr<char[]> Data; // BufferSize bytes, allocated on first open
    int Pos = 0;                  // reading: next unread byte; writing: bytes pending
    int End = 0;                  // reading: bytes held
};
} // namespace recfile_detail

struct RecordFile {
    FileHandle Handle = NoFile;
    int32_t ErrorCode = 0; // 0; a system error; 13 a short read (end of file); 1 a short write
    int Mode = 0;          // 0 binary; 1 text, one value per line; 3 reading / 4 writing FieldLine fields
    bool Failed = false;   // set whenever ErrorCode becomes positive: the end flag
    bool Writing = false;  // false when opened for reading, true when created for writing
    TextBuf<259> Name;     // the file name as opened
    std::string Temp;      // written: the temporary file beside Name that Close puts in its place
    int EndedBy = 0;       // what ended the last line read: 10, 13, 26, or 0 (the end of the file)

    recfile_detail::Buffer Io;

    RecordFile() = default;
    ~RecordFile(); // an open file is closed; one being written is discarded (see Discard)
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
};

constexpr int32_t RecShortWrite = 1;
constexpr int32_t RecShortRead = 13;

// The ";"-separated line of Modes 3 and 4, shared by all record files: one file at a time may use it.
extern TextBuf<127> FieldLine;
void ResetFieldLine();

// ---- Opening and state ----------------------------------------------------------------------------

// Opens an existing file for reading, shared for reading; Mode 0. failed = ErrorCode > 0.
void OpenRead(RecordFile& f, std::string_view name, bool& failed);
// Starts writing the file, shared for reading; Mode 0. The file is replaced whole or not at all: what
// is written goes into a temporary file beside it (CreateTempBeside), which Close puts in its place.
void CreateWrite(RecordFile& f, std::string_view name, bool& failed);
// Writes what is pending and closes. ErrorCode is the system's result, except that a write failure
// of the file (pending data that did not fit included) is kept and reported. A file being written
// takes its name only when every write and the close succeeded; otherwise the temporary file goes and
// an earlier file of that name stays as it was.
void Close(RecordFile& f, bool& failed);
// Closes a file being written without keeping what was written: an earlier file of its name stays.
void Discard(RecordFile& f);
inline bool Failed(const RecordFile& f) {
    return f.Failed;
}

// Raw transfers; a short transfer sets ErrorCode 13 (reading) or 1 (writing).
void ReadBytes(RecordFile& f, void* buffer, int n);
void WriteBytes(RecordFile& f, const void* buffer, int n);
void SkipBytes(RecordFile& f, int n);
// True when no byte is left to read (or the file has failed); reads ahead, takes nothing.
bool AtEndOfFile(RecordFile& f);
void SkipLines(RecordFile& f, int n);

// ---- Binary transfers (little-endian) -------------------------------------------------------------

void ReadInt(RecordFile& f, int& value);                    // 2 bytes, sign-extended
void ReadWord(RecordFile& f, int& value);                   // 2 bytes, unsigned
void ReadBool(RecordFile& f, bool& value);                  // 2 bytes, true only for 1
void ReadReal(RecordFile& f, double& value);                // 4-byte single, widened
void ReadFixedText(RecordFile& f, char* buf, int n);        // n+1 bytes as the buffer; empty when failed
void WriteInt(RecordFile& f, int value);                    // the low 16 bits
void WriteBool(RecordFile& f, bool value);                  // integer 1 or 0
void WriteReal(RecordFile& f, double value);                // ClampToSingle, then 4 bytes
void WriteFixedText(RecordFile& f, const char* buf, int n); // the characters, zeros up to n+1 bytes

// ---- Text transfers -------------------------------------------------------------------------------

// Reads one line into a buffer of capacity n. LF ends a line; CR ends it, and an LF right behind the
// CR is its partner and read with it; character 26 ends it. EndedBy tells which of them it was. Characters
// beyond the capacity are read and dropped. The end of the file after a character of the line is not an
// error, so a last line without line end reads normally; at the start of a line it sets Failed. With
// cutComments a "*" comment is cut (BufCutComment). Returns the length of the text left in the buffer
// (BufLen).
int ReadLine(RecordFile& f, char* buf, int n, bool cutComments);
std::string ReadLineStr(RecordFile& f, bool cutComments); // up to 1023 characters
int ReadIntLine(RecordFile& f, bool cutComments);         // TextToInt of the line (capacity 127)
double ReadRealLine(RecordFile& f, bool cutComments);     // TextToReal of the line (capacity 127)
// Two numbers from one line (capacity 79), the first token dropped when skipFirst.
void ReadRealPair(RecordFile& f, bool skipFirst, double& a, double& b);

void WriteLine(RecordFile& f, const char* buf, int n); // the characters, then LineEnd
void WriteText(RecordFile& f, const char* buf, int n); // the characters only
void WriteStrLine(RecordFile& f, std::string_view s);  // at most 1023 characters, then LineEnd
void WriteStr(RecordFile& f, std::string_view s);      // at most 1023 characters
void WriteIntLine(RecordFile& f, int value);           // IntToText width 6
void WriteRealLine(RecordFile& f, double value);       // RealToText width 11, decimals -4
void WriteBoolLine(RecordFile& f, bool value);         // "Y" or "N"

template <int N> int ReadLine(RecordFile& f, TextBuf<N>& buf, bool cutComments) {
    return ReadLine(f, buf.c, N, cutComments);
}
template <int N> void WriteLine(RecordFile& f, const TextBuf<N>& buf) {
    WriteLine(f, buf.c, N);
}
template <int N> void WriteText(RecordFile& f, const TextBuf<N>& buf) {
    WriteText(f, buf.c, N);
}

// ---- Mode-dependent transfers ---------------------------------------------------------------------

// For a file whose Mode is not 0. Writing: on -> Mode 4 with FieldLine emptied; off -> Mode 1 and
// FieldLine written as one line. Reading: on -> Mode 3 with the next line (comments cut) in
// FieldLine; off -> Mode 1.
void SetFieldMode(RecordFile& f, bool on);
// Mode 0 binary, 1 one line, 3 the next ";" field of FieldLine, 4 appended to FieldLine.
void TransferInt(RecordFile& f, int& value);
void TransferReal(RecordFile& f, double& value);
// The binary field is 12 bytes for lengthSpec -1 (a file name without directory, a double extension
// shortened), n+1 for 0, and |lengthSpec| otherwise; a negative spec keeps the text's last characters.
void TransferText(RecordFile& f, char* buf, int n, int lengthSpec);
template <int N> void TransferText(RecordFile& f, TextBuf<N>& buf, int lengthSpec) {
    TransferText(f, buf.c, N, lengthSpec);
}
