// Searches and trims with the 1-based positions the marking engine counts in. Every search is
// exact and case-sensitive; 0 means "not found".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keystride::marking {

using Text = std::u16string;
using TextView = std::u16string_view;

// First occurrence of `what` at or after 1-based `start`; 0 when none or when `what` is empty.
inline int findFrom(TextView text, TextView what, int start = 1) {
    if (what.empty() || start < 1 || static_cast<std::size_t>(start) > text.size())
        return 0;
    std::size_t p = text.find(what, static_cast<std::size_t>(start - 1));
    return p == TextView::npos ? 0 : static_cast<int>(p) + 1;
}

inline bool contains(TextView text, TextView what) { return findFrom(text, what) != 0; }

// Highest 1-based position of `what` in the whole text; 0 when none or `what` is empty.
inline int findLast(TextView text, TextView what) {
    if (what.empty() || what.size() > text.size())
        return 0;
    std::size_t p = text.rfind(what);
    return p == TextView::npos ? 0 : static_cast<int>(p) + 1;
}

// Highest 1-based position p of `what` with p + length - 1 <= n.
inline int findLastWithin(TextView text, TextView what, int n) {
    if (what.empty() || n < static_cast<int>(what.size()))
        return 0;
    if (static_cast<std::size_t>(n) > text.size())
        n = static_cast<int>(text.size());
    return findLast(text.substr(0, static_cast<std::size_t>(n)), what);
}

// Up to `length` characters from 1-based `start`.
inline Text mid(TextView text, int start, int length) {
    if (start < 1 || length <= 0 || static_cast<std::size_t>(start) > text.size())
        return {};
    return Text(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

inline Text left(TextView text, int length) {
    if (length <= 0)
        return {};
    return Text(text.substr(0, static_cast<std::size_t>(length)));
}

inline Text right(TextView text, int length) {
    if (length <= 0)
        return {};
    if (static_cast<std::size_t>(length) >= text.size())
        return Text(text);
    return Text(text.substr(text.size() - static_cast<std::size_t>(length)));
}

// Only the space counts as a blank for trimming, as in every comparison of the marking rules.
inline Text trimLeft(TextView text) {
    std::size_t b = 0;
    while (b < text.size() && text[b] == u' ')
        ++b;
    return Text(text.substr(b));
}

inline Text trimRight(TextView text) {
    std::size_t e = text.size();
    while (e > 0 && text[e - 1] == u' ')
        --e;
    return Text(text.substr(0, e));
}

inline Text trim(TextView text) { return trimLeft(trimRight(text)); }

inline bool endsWith(TextView text, TextView tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

inline int length(TextView text) { return static_cast<int>(text.size()); }

} // namespace keystride::marking

namespace keystride::marking {

// A text searched many times in one run (the source document): a filter of the character
// triples it holds answers most failing searches without scanning the text.
class IndexedText {
public:
    explicit IndexedText(TextView text) : m_text(text), m_triples(TableBits / 64, 0) {
        for (std::size_t i = 0; i + 3 <= text.size(); ++i)
            set(hash(text.data() + i));
    }
    TextView text() const { return m_text; }
    operator TextView() const { return m_text; }

    bool contains(TextView what) const {
        if (what.empty() || what.size() > m_text.size())
            return false;
        for (std::size_t i = 0; i + 3 <= what.size(); ++i) {
            if (!isSet(hash(what.data() + i)))
                return false;
        }
        return m_text.find(what) != TextView::npos;
    }

private:
    static constexpr std::size_t TableBits = 1u << 16;
    static std::size_t hash(const char16_t* p) {
        const std::uint64_t v = (std::uint64_t(p[0]) << 32) ^ (std::uint64_t(p[1]) << 16) ^ p[2];
        return static_cast<std::size_t>((v * 0x9E3779B97F4A7C15ull) >> 48) & (TableBits - 1);
    }
    void set(std::size_t bit) { m_triples[bit / 64] |= (std::uint64_t(1) << (bit % 64)); }
    bool isSet(std::size_t bit) const { return m_triples[bit / 64] >> (bit % 64) & 1u; }

    TextView m_text;
    std::vector<std::uint64_t> m_triples;
};

} // namespace keystride::marking
