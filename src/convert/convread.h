// Reading a data file's records into arrays: where its data part lies and how many whole records
// and blocks it holds, the records' bytes in file order (kind A's block headers passed over and kept
// apart), and their values widened to doubles. Works on the binary file a LookFile found (the scratch
// file of a Full ASCII source) with the C library's file functions and no global state, so several
// files can be read at once from different threads. Portable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/convlook.h"

struct DataPart {
    std::string Path;   // the binary file
    int64_t Offset = 0; // where the data part begins
    int Version = 0;    // selects kind A's block header layout
    int Reals = 0;      // values per record: reals first, then ints
    int Ints = 0;
    int PerBlock = 0;    // kind A: records per block; 0 for the other kinds
    int HeaderBytes = 0; // kind A: bytes of a block header
    int64_t Records = 0; // whole records (kind A: over all blocks)
    int64_t Blocks = 0;  // kind A: blocks whose header is whole

    int RecordBytes() const { return 4 * Reals + 2 * Ints; }
    int64_t BlockBytes() const { return HeaderBytes + static_cast<int64_t>(PerBlock) * RecordBytes(); }
    // Whole records of block b (from 0); for kinds without blocks, all records.
    int64_t RecordsOfBlock(int64_t b) const;
};

// The data part of a file that was opened for a look. A file without readable data (a problem,
// versions below 17) has no records.
DataPart DataPartOf(const LookFile& file);

// Reads the records of a data part in file order.
class RecordReader {
  public:
    explicit RecordReader(const DataPart& part) : part_(part) {}
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Opens the file at the first record of block `block` (from 0; 0 for kinds without blocks);
    // false with the reason when it cannot be opened.
    bool Open(int64_t block, std::string& error);
    // Reads up to count whole records into out (RecordBytes each, packed as in the file), passing
    // over kind A's block headers. Returns the records read: fewer than count only at the end of the
    // file (a partial record is not counted).
    int64_t Read(unsigned char* out, int64_t count);
    // Kind A, at the start of a block: reads its header (HeaderBytes) into out; false at the end of
    // the file.
    bool ReadHeader(unsigned char* out);

  private:
    const DataPart& part_;
    std::FILE* file_ = nullptr;
    int64_t leftInBlock_ = 0; // kind A: records before the next block header
};

// Widens count records' bytes to doubles, row by row: a record's reals, then its ints.
void RecordsToDoubles(const DataPart& part, const unsigned char* bytes, int64_t count, double* out);

// The fields of a kind A block header, named as the main header's fields are ("Text 1", "Int 3",
// "Real 2").
std::vector<LookField> BlockHeaderFields(int version, const unsigned char* bytes);
