#include "extended.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace fw {

#if LDBL_MANT_DIG == 64 && (defined(__x86_64__) || defined(__i386__))
// long double is the x87 type itself: the 10 bytes are its memory image.
Extended80 Extended80::FromLongDouble(long double value) {
    Extended80 x;
    std::memcpy(x.Bytes.data(), &value, 10);
    return x;
}

long double Extended80::ToLongDouble() const {
    long double value = 0;
    std::memcpy(&value, Bytes.data(), 10);
    return value;
}
#else
// Elsewhere the layout is taken apart by hand; precision beyond the host type is lost.
Extended80 Extended80::FromLongDouble(long double value) {
    Extended80 x;
    std::uint64_t mantissa = 0;
    std::uint16_t exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        long double m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1)
        int biased = e - 1 + 16383;
        if (biased <= 0) {
            m = std::ldexp(m, biased - 1);
            biased = 0;
        }
        mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
        exponent = static_cast<std::uint16_t>(biased);
    }
    if (negative) exponent |= 0x8000;
    for (int i = 0; i < 8; ++i)
        x.Bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    x.Bytes[8] = static_cast<std::uint8_t>(exponent);
    x.Bytes[9] = static_cast<std::uint8_t>(exponent >> 8);
    return x;
}

long double Extended80::ToLongDouble() const {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | Bytes[static_cast<std::size_t>(i)];
    const int exponent = (Bytes[8] | (Bytes[9] << 8)) & 0x7FFF;
    const bool negative = (Bytes[9] & 0x80) != 0;
    long double value;
    if (exponent == 0x7FFF)
        value = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
    else
        value = std::ldexp(static_cast<long double>(mantissa), (exponent == 0 ? 1 : exponent) - 16383 - 63);
    return negative ? -value : value;
}
#endif

namespace {

// The significant decimal digits of a finite non-zero value, as 0.d1d2... x 10^Exponent.
struct Digits {
    char D[20] = {};
    int Count = 0;
    int Exponent = 0;
    bool Negative = false;
};

Digits FirstDigits(long double value) {
    Digits d;
    d.Negative = std::signbit(value);
    char buf[64];
    // 18 significant digits: one before the point and 17 after.
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.D[d.Count++] = *p;
    int exp10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
    d.Exponent = exp10 + 1;
    return d;
}

// Rounds to q significant digits (half up on the next digit, as the 18 digits stand)
// and drops trailing zeros. Count 0 afterwards means the value is zero.
void RoundTo(Digits& d, int q) {
    if (q < 0) {
        d.Count = 0;
        return;
    }
    if (q < d.Count) {
        const bool up = d.D[q] >= '5';
        d.Count = q;
        if (up) {
            int i = q - 1;
            while (i >= 0 && d.D[i] == '9')
                d.D[i--] = '0';
            if (i >= 0) {
                ++d.D[i];
            } else {
                d.D[0] = '1';
                d.Count = 1;
                ++d.Exponent;
            }
        }
    }
    while (d.Count > 0 && d.D[d.Count - 1] == '0')
        --d.Count;
}

bool NonFinite(long double value, std::string& out) {
    if (std::isnan(value)) {
        out = "NAN";
        return true;
    }
    if (std::isinf(value)) {
        out = value < 0 ? "-INF" : "INF";
        return true;
    }
    return false;
}

std::string Scientific(const Digits& d) {
    std::string out;
    if (d.Negative) out += '-';
    out += d.D[0];
    if (d.Count > 1) {
        out += '.';
        out.append(d.D + 1, static_cast<std::size_t>(d.Count - 1));
    }
    out += 'E';
    out += std::to_string(d.Exponent - 1);
    return out;
}

}  // namespace

std::string FormatFloatFixed(long double value) {
    std::string out;
    if (NonFinite(value, out)) return out;
    if (value == 0) return "0.000000000000000000";
    Digits d = FirstDigits(value);
    RoundTo(d, std::min(d.Exponent + 18, 16));
    if (d.Count == 0) return "0.000000000000000000";
    if (d.Exponent > 16) return Scientific(d);
    if (d.Negative) out += '-';
    int used = 0;
    if (d.Exponent <= 0) {
        out += '0';
    } else {
        for (int i = 0; i < d.Exponent; ++i)
            out += i < d.Count ? d.D[i] : '0';
        used = d.Exponent;
    }
    out += '.';
    int fraction = 0;
    for (int i = d.Exponent; i < 0 && fraction < 18; ++i, ++fraction)
        out += '0';
    for (int i = used; i < d.Count && fraction < 18; ++i, ++fraction)
        out += d.D[i];
    for (; fraction < 18; ++fraction)
        out += '0';
    return out;
}

std::string FormatFloatGeneral(long double value) {
    std::string out;
    if (NonFinite(value, out)) return out;
    if (value == 0) return "0";
    Digits d = FirstDigits(value);
    RoundTo(d, 15);
    if (d.Count == 0) return "0";
    if (d.Exponent > 15 || d.Exponent < -3) return Scientific(d);
    if (d.Negative) out += '-';
    if (d.Exponent <= 0) {
        out += '0';
        out += '.';
        out.append(static_cast<std::size_t>(-d.Exponent), '0');
        out.append(d.D, static_cast<std::size_t>(d.Count));
    } else {
        for (int i = 0; i < d.Exponent; ++i)
            out += i < d.Count ? d.D[i] : '0';
        if (d.Count > d.Exponent) {
            out += '.';
            out.append(d.D + d.Exponent, static_cast<std::size_t>(d.Count - d.Exponent));
        }
    }
    return out;
}

}  // namespace fw
