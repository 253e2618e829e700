// A text buffer of any capacity (negative ones included) fenced by guard bytes, for tests that throw
// random arguments at buffer functions. A write outside 0..n changes a guard and Intact() says so;
// in sanitizer builds the guards are also poisoned, so reads outside are caught as they happen.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

class GuardedBuffer {
  public:
    // Capacity n (highest index); random bytes, with a NUL somewhere when terminated is set.
    GuardedBuffer(int n, std::mt19937& rng, bool terminated);
    // Capacity n holding text (cut to fit; NUL after it when shorter).
    GuardedBuffer(int n, const std::string& text);
    ~GuardedBuffer() { Poison(false); }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    char* data() { return raw_.get() + Guard; }
    int n() const { return n_; }
    int size() const { return n_ < 0 ? 0 : n_ + 1; }
    bool Intact() const;

  private:
    static constexpr int Guard = 32;
    static constexpr char Fence = '\xA5';
    void Poison(bool on) const;

    int n_;
    std::unique_ptr<char[]> raw_;
};

// Random arguments for one call of a buffer function: three guarded buffers a, b, c of random
// capacity (negative to a few dozen) and content (with or without terminator), numbers that include
// the extremes, and texts biased towards the characters that path, token and number code treats
// specially.
class RandomArgs {
  public:
    explicit RandomArgs(unsigned seed) : rng(seed) {}
    void Next(); // fresh buffers
    bool Intact() const { return A->Intact() && B->Intact() && C->Intact(); }
    int Num();
    bool Flag() { return (rng() & 1) != 0; }
    std::string Text();

    std::mt19937 rng;
    char *a = nullptr, *b = nullptr, *c = nullptr;
    int an = 0, bn = 0, cn = 0;

  private:
    std::unique_ptr<GuardedBuffer> A, B, C;
};

using BufferOp = std::pair<const char*, void (*)(RandomArgs&)>;
// One operation of a table for ThrowRandomArguments, named by its own call text: the arguments may
// use r (the RandomArgs), e.g. BUFFER_OP(BufCut(r.Flag(), r.Num(), r.a, r.an)).
#define BUFFER_OP(...)                                                                                       \
    testsupport::BufferOp {                                                                                  \
#__VA_ARGS__, [](testsupport::RandomArgs & r) { __VA_ARGS__; }                                       \
    }

// Calls every operation `rounds` times with fresh random arguments; a guard that changed fails the
// test with the operation's name.
void ThrowRandomArguments(const std::vector<BufferOp>& ops, unsigned seed, int rounds);

} // namespace testsupport
