// The field layouts of the binary data files: the two main headers, the extended block and the block
// headers of kind A, as tables of typed fields in file order. Internal to the conversion engine.
#pragma once

#include <span>

namespace convlayout {

enum class FieldType : char {
    Int,  // 2 bytes, signed
    Word, // 2 bytes, read unsigned
    Real, // 4-byte single
    Text, // capacity Size, stored in Size + 1 bytes
};

// What the engine remembers of a field while copying it.
enum class Role : char { None, XOffset, XStart, XStep };

// Count fields of one type in a row.
struct Field {
    FieldType Type;
    short Count;
    short Size; // text capacity; 0 otherwise
    Role Tag;
};

// One ";" line of the extended block: its fields, repeated Repeat times as separate lines.
struct FieldGroup {
    short Repeat;
    std::span<const Field> Fields;
};

std::span<const Field> MainHeader(int version);   // 472 bytes either way
std::span<const FieldGroup> ExtendedBlock();      // 512 bytes
std::span<const Field> BlockHeaderA(int version); // 152 bytes from version 20 on, 80 below

// Bytes a field list takes in a binary file.
int BinarySize(std::span<const Field> fields);

constexpr int IdentSize = 40;
constexpr int MainHeaderSize = 472;
constexpr int ExtendedSize = 512;
constexpr int AttachmentSize = 1024;
constexpr int LongHeaderT = 616; // kind T with identification character 13 "8", Col ASCII only

} // namespace convlayout
