// A text buffer of any capacity (negative ones included) fenced by guard bytes, for tests that throw
// random arguments at buffer functions. A write outside 0..n changes a guard and Intact() says so;
// in sanitizer builds the guards are also poisoned, so reads outside are caught as they happen.
#pragma once

#include <memory>
#include <random>
#include <string>

namespace testsupport {

class GuardedBuffer {
  public:
    // Capacity n (highest index); random bytes, with a NUL somewhere when terminated is set.
    GuardedBuffer(int n, std::mt19937& rng, bool terminated);
    // Capacity n holding text (cut to fit; NUL after it when shorter).
    GuardedBuffer(int n, const std::string& text);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    char* data() { return raw_.get() + Guard; }
    int n() const { return n_; }
    int size() const { return n_ < 0 ? 0 : n_ + 1; }
    bool Intact() const;

  private:
    static constexpr int Guard = 32;
    static constexpr char Fence = '\xA5';
    void Fill();
    void Poison(bool on) const;

    int n_;
    std::unique_ptr<char[]> raw_;
};

// Random text biased towards the characters that path, token and number code treats specially.
std::string RandomText(std::mt19937& rng, int maxLen);

// Random arguments for buffer functions: capacities from negative to a few dozen, positions and
// counts that include the extremes, texts of RandomText, buffers with and without a terminator.
class RandomArgs {
  public:
    explicit RandomArgs(unsigned seed) : rng(seed) {}
    int Cap();
    int Num();
    bool Flag() { return (rng() & 1) != 0; }
    std::string Text() { return RandomText(rng, 60); }
    std::unique_ptr<GuardedBuffer> Buffer();

    std::mt19937 rng;
};

} // namespace testsupport
