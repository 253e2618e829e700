// Sample binary data files of the measurement program, for tests, the benchmark and the demo medium:
// every kind, both main-header layouts, with or without attachment, either identification numbering,
// any number of records, optionally cut short. Written with its own layout tables and its own
// little-endian writer, so it checks the conversion engine rather than repeating it. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sampledata {

struct SampleSpec {
    char Kind = 'K';           // K, Y, P, T, V, A or Q
    int Version = 20;          // format version (the older numbering knows 8..19)
    bool OldNumbering = false; // identification character 2 "1" with the older version codes
    bool Attachment = false;   // identification characters 26..28 "001" and 1024 attachment bytes
    bool LongHeaderT = false;  // identification character 13 "8" and 144 more header bytes
    bool ZeroHeader = false;   // header fields all zero and empty texts (else a pattern)
    int64_t Records = 10;      // records; kind A: blocks
    int64_t Cut = 0;           // bytes dropped from the end
    uint32_t Seed = 1;
    float XStep = 0.5f; // kind Y's x axis
    int XOffset = 3;
    int XStart = 10;
    std::vector<double> Reals; // data reals taken in turn (none: a pattern)
    std::vector<int> Ints;     // data ints taken in turn (none: a pattern)
};

// Record shape of a kind: reals and ints per record; records per block (kind A, else 0).
struct Shape {
    int Reals;
    int Ints;
    int PerBlock;
};
Shape ShapeOf(char kind, int version);

// The 40-character identification.
std::string Ident(const SampleSpec& spec);
// The whole file in memory (for small files).
std::string Bytes(const SampleSpec& spec);
// Streams the file to path; false when it cannot be written.
bool WriteFile(const SampleSpec& spec, const std::string& path);
// Size of the file before the cut.
int64_t FullSize(const SampleSpec& spec);

// The data values the file holds: real column c (from 0) and int column c of record r (kind A: the
// record's number counted over all blocks).
double DataReal(const SampleSpec& spec, int64_t record, int column);
int DataInt(const SampleSpec& spec, int64_t record, int column);

// What each byte range of a file is, for comparing two files field by field.
enum class Span : char {
    Ident,
    Int,
    Word,
    Text,
    HeaderReal,
    ExtendedReal,
    Attachment,
    Extra,
    DataReal,
    DataInt
};
struct FieldSpan {
    int64_t Offset;
    int Size;
    Span Type;
};
std::vector<FieldSpan> FieldMap(const SampleSpec& spec);

} // namespace sampledata
