// Pieces of the conversion engine shared by its source files: the file being converted, the text line
// source of Full ASCII files and the record shapes. Not for callers outside src/convert.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "convert/convert.h"
#include "convert/convlayout.h"
#include "lib/recfile.h"

namespace convdetail {

// Reads the lines of a Full ASCII source, whole (up to LineCap characters, far beyond the longest line
// the engine writes) and without comment cutting, with a look-ahead that can tell whether only empty
// lines remain. Character 26 ends the data wherever it stands.
class LineSource {
  public:
    static constexpr int LineCap = 65535;
    explicit LineSource(RecordFile& file);
    // Takes the next line; false at the end of the file (or after a read error).
    bool Next();
    std::string_view Line() const { return {line_.get(), static_cast<size_t>(lineLen_)}; }
    // True when nothing but empty lines (ends of lines, an end-of-file character) is left.
    bool AtDataEnd();
    // The line AtDataEnd found (valid after it returned false, until the next line is read).
    std::string_view Held() const { return {held_.get(), static_cast<size_t>(heldLen_)}; }
    // The next line that holds a value: false when only empty lines are left, which end the data.
    bool NextValueLine() { return !AtDataEnd() && Next(); }
    int64_t BytesRead() const { return bytes_; }

  private:
    int ReadInto(char* buf); // one line from the file; -1 at the end
    RecordFile& file_;
    std::unique_ptr<char[]> line_;
    std::unique_ptr<char[]> held_;
    int lineLen_ = 0;
    int heldLen_ = 0;
    bool hasHeld_ = false;
    int pendingEmpty_ = 0;
    bool ended_ = false; // a character 26 was met
    int64_t bytes_ = 0;
};

// The file being converted.
struct Job {
    RecordFile Src;
    RecordFile Dst;
    int Mode = 0;
    int Variant = 0; // the variant written (modes 1, 2) or read (mode 0)
    char Kind = 0;
    int Version = 0;
    char Ident[IdentLength + 1] = {};
    std::unique_ptr<LineSource> Lines; // mode 0 only
    int64_t SourceBytes = 0;           // binary bytes read so far (modes 1, 2)
    int64_t NextReport = 0;            // SourceBytes (or line bytes) at which progress is told next

    bool SourceFailed() const { return Src.Failed; }
    void Report(); // tells the progress hook, now and then
};

// Values of one record: Reals reals, then Ints ints, in Lines lines in block variants.
struct RecordShape {
    int Reals;
    int Ints;
    int Lines;
    int PerLine() const { return (10 * Reals + 9 * Lines) / (10 * Lines); } // Reals / Lines + 0.9, cut
    // The ints start a line of their own in block layouts unless they fit beside the last reals.
    bool IntsOnNewLine() const {
        int rest = Reals % PerLine();
        return Lines >= 2 && Ints > (rest == 0 ? 0 : PerLine() - rest);
    }
};

constexpr int MaxReals = 35;
constexpr int MaxInts = 2;

// Header (convheader.cpp). Both return false when the source ends inside the header.
bool CopyHeader(Job& job); // modes 0 and 1
bool SkipHeader(Job& job); // mode 2
// Copies fields as text lines in mode 1 or back to binary in mode 0; lineEndFirst puts a line end
// before the first field written (kind A blocks after records).
bool CopyFields(Job& job, std::span<const convlayout::Field> fields, bool lineEndFirst);

// Data part (convdata.cpp).
void ConvertData(Job& job);

} // namespace convdetail
