#include "convert/convlayout.h"

namespace convlayout {

namespace {

using T = FieldType;

constexpr Field I(int count) {
    return {T::Int, static_cast<short>(count), 0, Role::None};
}
constexpr Field W(int count) {
    return {T::Word, static_cast<short>(count), 0, Role::None};
}
constexpr Field R(int count) {
    return {T::Real, static_cast<short>(count), 0, Role::None};
}
constexpr Field S(int capacity) {
    return {T::Text, 1, static_cast<short>(capacity), Role::None};
}
constexpr Field Tagged(Field f, Role role) {
    return {f.Type, f.Count, f.Size, role};
}

// Main header of format versions below 20.
constexpr Field HeaderOld[] = {
    // first part, 292 bytes
    I(2), S(59), S(9), S(1), S(7), W(2), R(4), S(19), R(9), W(2), S(1), S(9), S(7), S(7), S(19), S(11), S(23),
    S(23), S(19),
    // second part, 180 bytes
    S(19), W(4), R(9), W(3), R(10), R(1), Tagged(I(1), Role::XOffset), Tagged(I(1), Role::XStart),
    Tagged(R(1), Role::XStep), R(1), W(1), R(13)};

// Main header of format version 20 and later.
constexpr Field HeaderNew[] = {
    // first part, 288 bytes
    S(9), S(59), S(7), W(1), I(1), S(9), S(3), S(1), S(7), I(2), R(4), S(19), R(9), W(2), S(1), S(19), S(7),
    S(23), S(23), S(23),
    // second part, 184 bytes
    S(23), R(1), W(4), R(20), I(2), R(13), Tagged(R(1), Role::XStep), Tagged(I(1), Role::XOffset),
    Tagged(I(1), Role::XStart), I(2)};

constexpr Field ExtGroup1[] = {I(2), R(7)};
constexpr Field ExtGroup2[] = {R(2), S(7)};
constexpr Field ExtInts[] = {I(8)};
constexpr Field ExtReals[] = {R(4)};
constexpr Field ExtText[] = {S(47)};
constexpr FieldGroup Extended[] = {
    {10, ExtGroup1}, {3, ExtGroup2}, {1, ExtInts}, {5, ExtReals}, {1, ExtText}};

constexpr Field BlockNew[] = {S(63), I(4), R(3), I(6), R(12), I(4)};
constexpr Field BlockOld[] = {S(11), I(10), R(12)};

constexpr int Size(std::span<const Field> fields) {
    int bytes = 0;
    for (const Field& f : fields)
        bytes += f.Count * (f.Type == T::Real ? 4 : f.Type == T::Text ? f.Size + 1 : 2);
    return bytes;
}

constexpr int Size(std::span<const FieldGroup> groups) {
    int bytes = 0;
    for (const FieldGroup& g : groups) bytes += g.Repeat * Size(g.Fields);
    return bytes;
}

static_assert(Size(HeaderOld) == MainHeaderSize && Size(HeaderNew) == MainHeaderSize);
static_assert(Size(Extended) == ExtendedSize);
static_assert(Size(BlockNew) == 152 && Size(BlockOld) == 80);

} // namespace

std::span<const Field> MainHeader(int version) {
    if (version >= 20) return HeaderNew;
    return HeaderOld;
}

std::span<const FieldGroup> ExtendedBlock() {
    return Extended;
}

std::span<const Field> BlockHeaderA(int version) {
    if (version >= 20) return BlockNew;
    return BlockOld;
}

int BinarySize(std::span<const Field> fields) {
    return Size(fields);
}

} // namespace convlayout
