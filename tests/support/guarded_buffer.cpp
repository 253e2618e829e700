#include "support/guarded_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define GUARD_POISON(p, n, on) ((on) ? ASAN_POISON_MEMORY_REGION(p, n) : ASAN_UNPOISON_MEMORY_REGION(p, n))
#else
#define GUARD_POISON(p, n, on) ((void)(p), (void)(n), (void)(on))
#endif

namespace testsupport {

// Only the guards are poisoned, so the random bytes go into the buffer after the text constructor.
GuardedBuffer::GuardedBuffer(int n, std::mt19937& rng, bool terminated) : GuardedBuffer(n, std::string()) {
    std::uniform_int_distribution<int> byte(1, 255);
    for (int i = 0; i < size(); ++i) data()[i] = static_cast<char>(byte(rng));
    if (terminated && size() > 0) data()[std::uniform_int_distribution<int>(0, size() - 1)(rng)] = 0;
}

GuardedBuffer::GuardedBuffer(int n, const std::string& text)
    : n_(n), raw_(new char[static_cast<size_t>(2 * Guard + size())]) {
    std::memset(raw_.get(), Fence, static_cast<size_t>(Guard));
    std::memset(data() + size(), Fence, static_cast<size_t>(Guard));
    std::memset(data(), 0, static_cast<size_t>(size()));
    std::memcpy(data(), text.data(), std::min(text.size(), static_cast<size_t>(size())));
    Poison(true);
}

// The buffer starts at an aligned offset, so the left guard is poisoned whole; the right one may
// start inside an 8-byte granule, which the sanitizer's shadow encoding handles.
void GuardedBuffer::Poison(bool on) const {
    for (char* guard : {raw_.get(), raw_.get() + Guard + size()}) GUARD_POISON(guard, Guard, on);
}

bool GuardedBuffer::Intact() const {
    Poison(false);
    bool ok = true;
    const char* right = raw_.get() + Guard + size();
    for (int i = 0; i < Guard; ++i) ok = ok && raw_[static_cast<size_t>(i)] == Fence && right[i] == Fence;
    Poison(true);
    return ok;
}

void RandomArgs::Next() {
    static const int caps[] = {-7, -1, 0, 0, 1, 2, 3, 4, 5, 6, 8, 11, 13, 29, 40, 64};
    for (auto [buffer, data, n] : {std::tie(A, a, an), std::tie(B, b, bn), std::tie(C, c, cn)}) {
        buffer = std::make_unique<GuardedBuffer>(caps[rng() % std::size(caps)], rng, Flag());
        data = buffer->data();
        n = buffer->n();
    }
}

int RandomArgs::Num() {
    static const int extremes[] = {INT_MIN, INT_MIN + 1, -1000, -4, -3, -2, -1, INT_MAX - 1, INT_MAX};
    if (rng() % 4 == 0) return extremes[rng() % std::size(extremes)];
    return static_cast<int>(rng() % 70);
}

std::string RandomArgs::Text() {
    static const char special[] = "\\:.* ;,/$-+Ee09\t\r\n?~";
    std::string s(rng() % 61, ' ');
    for (char& ch : s) ch = rng() % 4 == 0 ? static_cast<char>(rng()) : special[rng() % (sizeof special - 1)];
    return s;
}

void ThrowRandomArguments(const std::vector<BufferOp>& ops, unsigned seed, int rounds) {
    RandomArgs args(seed);
    for (const auto& [name, op] : ops) {
        for (int i = 0; i < rounds; ++i) {
            args.Next();
            op(args);
            if (!args.Intact()) {
                ADD_FAILURE() << name << " wrote outside its buffer in round " << i;
                break;
            }
        }
    }
}

} // namespace testsupport
