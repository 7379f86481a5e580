// What every fuzz target shares: taking an input apart, and checks that stop the run the way a
// sanitizer finding does, so the fuzzer keeps the input that broke an invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition)) ::fuzz::CheckFailed(#condition, __FILE__, __LINE__); \
    } while (false)

namespace fuzz {

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

// Reads fixed-size numbers from the front of the input; past its end every number is 0, so any
// input, however short, is a valid one.
class InputReader {
  public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    std::uint16_t U16() { return std::uint16_t(Byte() | (Byte() << 8)); }
    std::int32_t I32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(Byte()) << (8 * i);
        return std::int32_t(v);
    }
    // A number in [0, count).
    std::uint32_t Pick(std::uint32_t count) { return count == 0 ? 0 : Byte() % count; }
    bool empty() const { return rest_.empty(); }
    std::string_view Rest() {
        const std::string_view all = rest_;
        rest_ = {};
        return all;
    }

  private:
    std::string_view rest_;
};

}  // namespace fuzz
