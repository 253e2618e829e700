// Reading a data file for a look: its identification, its main header's fields by name, its record
// count and its values by column, decimated for a chart (convert/decimate.h). Binary files of every
// kind and version are read with the conversion engine's layout tables and record files; a Full
// ASCII file is first taken back to binary by the engine itself (ConvertFile), into a scratch file
// that lives as long as the LookFile. Cut or damaged files say so instead of failing. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/decimate.h"

// One named value: a header field, or a line of a file's summary.
struct LookField {
    std::string Name;
    std::string Value;
    bool Number = false; // Value is a number (JSON writes it bare)
};

struct DataLook {
    std::string Path;
    char Kind = 0;                 // kind letter from the name (KYPTVAQ), 0 when the name has none
    bool FullAscii = false;        // a Full ASCII text file
    std::string Ident;             // the identification as it stands in the file (up to 40 characters)
    int Version = 0;               // format version, older numbering translated
    int Variant = 0;               // ASCII variant of a Full ASCII file (1..5); 0 for binary
    bool Attachment = false;       // a 1024-byte attachment follows the headers
    std::string Problem;           // why the file cannot be looked at; empty when it can
    std::string Note;              // something the look leaves out (the data of versions below 17)
    std::vector<LookField> Header; // the main header's fields in file order (those read, when cut)
    int64_t Records = 0;           // whole records; for kind A blocks begun
    int PerBlock = 0;              // kind A: records per block
    bool Cut = false;              // the file ends inside its headers, a record or a block
    int XOffset = 0, XStart = 0;
    double XStep = 0;        // kind Y's x axis: x = (XStart + i) * XStep
    int Reals = 0, Ints = 0; // values per record: reals first, then ints (the columns)

    bool Readable() const { return Problem.empty(); }
    int Columns() const { return Reals + Ints; }
    bool HasData() const { return Readable() && Note.empty() && Records > 0; }
};

// The lines a look shows above its header list: kind, form, identification, version, attachment,
// records and whether the file is cut (or why it cannot be read).
std::vector<LookField> LookSummary(const DataLook& look);
// Column names, 1-based: kind Y "y"; others "Value n" for reals and "Int n" for ints.
std::string ColumnName(const DataLook& look, int column);
// The columns a chart shows unless others are chosen: K both, Q all six, Y its one, others the first.
std::vector<int> DefaultColumns(const DataLook& look);

// A chart's data: decimated series over an x axis x = X0 + index * DX.
struct ChartSeries {
    int Column;
    std::string Name;
    std::vector<ChartPoint> Points;
};
struct ChartData {
    std::string XTitle; // "record", "x" or "record of block n"
    double X0 = 1, DX = 1;
    int64_t Count = 0; // indexes 0..Count-1
    std::vector<ChartSeries> Series;
    bool Cut = false; // the values ended before Count (a damaged file)
    double XAt(double index) const { return X0 + index * DX; }
    // Smallest and largest value over all series; false when there is none.
    bool ValueRange(double& low, double& high) const;
};

class LookFile {
  public:
    LookFile() = default;
    ~LookFile(); // removes the scratch file of a Full ASCII source
    LookFile(const LookFile&) = delete;
    LookFile& operator=(const LookFile&) = delete;

    // Reads identification and headers; false when the file cannot be looked at (Look().Problem).
    bool Open(std::string_view path);
    const DataLook& Look() const { return look_; }
    // Reads the values of the chosen columns (1-based; kind A: of block `block`, from 1) in one pass
    // and decimates them for a chart `pixels` wide. Columns outside the record are left out.
    ChartData Chart(const std::vector<int>& columns, int block, int pixels) const;
    // The binary file the values are read from (the scratch file of a Full ASCII source) and the
    // offset of its data part.
    const std::string& BinaryPath() const { return binary_; }
    int64_t DataOffset() const { return dataOffset_; }

  private:
    DataLook look_;
    std::string binary_;  // the binary file the values are read from
    std::string scratch_; // the scratch file made from a Full ASCII source
    int64_t dataOffset_ = 0;
};
