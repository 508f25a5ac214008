#pragma once
// Case of ASCII letters, as names in forms, resources, section tables, packages and
// class registries compare: 'a'..'z' and 'A'..'Z' are folded, every other byte (including
// the bytes of UTF-8 and of the 8-bit code pages) stays as it is. Independent of the
// C locale on purpose.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The same for a byte of a raw buffer.
constexpr std::uint8_t AsciiUpper(std::uint8_t c) {
    return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

constexpr std::uint8_t AsciiLower(std::uint8_t c) {
    return c >= 'A' && c <= 'Z' ? static_cast<std::uint8_t>(c - 'A' + 'a') : c;
}

// A copy of text with its ASCII letters in upper (lower) case.
inline std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = AsciiUpper(c);
    return upper;
}

inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

// Whether a and b are equal, ignoring the case of ASCII letters.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

constexpr bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Order of a and b by their upper-cased bytes (so '_' sorts after the letters).
constexpr bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
}

// A hash (FNV-1a over the upper-cased bytes) under which names that EqualsIgnoringCase
// finds equal hash alike.
constexpr std::size_t HashIgnoringCase(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(AsciiUpper(c));
        hash *= 0x100000001b3ULL;
    }
    return static_cast<std::size_t>(hash);
}

// Function objects of the above for the standard containers, transparent so that
// lookups by string_view need no copy.
struct IgnoringCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return HashIgnoringCase(name); }
};

struct IgnoringCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoringCase(a, b); }
};

struct IgnoringCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return LessIgnoringCase(a, b); }
};

}  // namespace fw
