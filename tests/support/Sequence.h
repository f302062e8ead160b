// A tiny fixed pseudo-random sequence for made-up address books: the same seed gives the same
// texts on every platform and standard library (unlike <random>'s distributions), so a saver
// process and its checker, or the host and the Windows benchmarks, build the same bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

class Sequence {
public:
    explicit Sequence(std::uint32_t seed) : m_state(seed * 2654435761u + 1) {}

    std::uint32_t Next(std::uint32_t bound) {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

    // A decimal number below the bound.
    std::string Number(std::uint32_t bound) { return std::to_string(Next(bound)); }

    std::string Text(const char* alphabet, std::size_t length) {
        const auto size = static_cast<std::uint32_t>(std::strlen(alphabet));
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text += alphabet[Next(size)];
        }
        return text;
    }

    std::string Hex(std::size_t digits) { return Text("0123456789ABCDEF", digits); }

private:
    std::uint32_t m_state;
};
