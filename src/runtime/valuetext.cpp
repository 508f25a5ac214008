#include "valuetext.h"

#include "base/asciitext.h"
#include "registry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <limits>
#include <optional>
#include <span>
#include <sstream>

#include "builtin.h"

namespace fw::rt {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// ---------------------------------------------------------------------------------
// Named integers

std::optional<std::string_view> IdentOf(std::span<const IdentEntry> idents, std::int64_t value) {
    // The first name listed for a value is the one written; later ones are aliases.
    for (const IdentEntry& e : idents)
        if (e.Value == value) return e.Name;
    return std::nullopt;
}

std::optional<std::int64_t> ValueOfIdent(std::span<const IdentEntry> idents, std::string_view name) {
    for (const IdentEntry& e : idents)
        if (EqualsIgnoringCase(e.Name, name)) return e.Value;
    return std::nullopt;
}

// A whole decimal number with an optional sign, nothing else.
std::optional<std::int64_t> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (magnitude > (std::uint64_t{1} << 62)) return std::nullopt;
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

// A 32-bit value from a number in [-2^31, 2^32): the bits a TColor holds.
std::optional<std::int64_t> AsInt32Bits(std::optional<std::int64_t> value) {
    if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*value)));
}

std::optional<std::int64_t> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

// ---------------------------------------------------------------------------------
// Shortcuts

struct KeyName {
    std::uint8_t Key;
    std::string_view Name;
};

// The names of the virtual keys that have one, beyond digits, letters and function
// keys. The punctuation keys are named after what they carry on a US keyboard.
constexpr KeyName KeyNames[] = {
    {0x08, "BkSp"},    {0x09, "Tab"},   {0x0D, "Enter"},    {0x13, "Pause"},       {0x14, "Caps Lock"},
    {0x1B, "Esc"},     {0x20, "Space"}, {0x21, "PgUp"},     {0x22, "PgDn"},        {0x23, "End"},
    {0x24, "Home"},    {0x25, "Left"},  {0x26, "Up"},       {0x27, "Right"},       {0x28, "Down"},
    {0x2D, "Ins"},     {0x2E, "Del"},   {0x60, "Num 0"},    {0x61, "Num 1"},       {0x62, "Num 2"},
    {0x63, "Num 3"},   {0x64, "Num 4"}, {0x65, "Num 5"},    {0x66, "Num 6"},       {0x67, "Num 7"},
    {0x68, "Num 8"},   {0x69, "Num 9"}, {0x6A, "Num *"},    {0x6B, "Num +"},       {0x6D, "Num -"},
    {0x6E, "Num Del"}, {0x6F, "Num /"}, {0x90, "Num Lock"}, {0x91, "Scroll Lock"}, {0xBA, ";"},
    {0xBB, "="},       {0xBC, ","},     {0xBD, "-"},        {0xBE, "."},           {0xBF, "/"},
    {0xC0, "`"},       {0xDB, "["},     {0xDC, "\\"},       {0xDD, "]"},           {0xDE, "'"},
};

constexpr std::uint8_t VkF1 = 0x70;
constexpr int FunctionKeyCount = 24;

std::string KeyText(std::uint8_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VkF1 && key < VkF1 + FunctionKeyCount) return "F" + std::to_string(key - VkF1 + 1);
    for (const KeyName& k : KeyNames)
        if (k.Key == key) return std::string(k.Name);
    return {};
}

std::optional<std::uint8_t> KeyOfText(std::string_view text) {
    if (text.size() == 1) {
        const char c = AsciiUpper(text.front());
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<std::uint8_t>(c);
    }
    if (text.size() >= 2 && AsciiUpper(text.front()) == 'F') {
        const auto number = ParseDecimal(text.substr(1));
        if (number && *number >= 1 && *number <= FunctionKeyCount && text[1] != '+' && text[1] != '-')
            return static_cast<std::uint8_t>(VkF1 + *number - 1);
    }
    for (const KeyName& k : KeyNames)
        if (EqualsIgnoringCase(k.Name, text)) return k.Key;
    return std::nullopt;
}

struct Modifier {
    std::uint16_t Bit;
    std::string_view Prefix;
};
constexpr Modifier Modifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

// ---------------------------------------------------------------------------------
// Dates and times

using namespace std::chrono;

constexpr std::int64_t FirstDay = -693593;  // 0001-01-01
constexpr std::int64_t LastDay = 2958465;   // 9999-12-31
constexpr std::int64_t MillisecondsPerDay = 86'400'000;

// A TDateTime taken apart; time in milliseconds since midnight.
struct CivilTime {
    year_month_day Date;
    std::int64_t Millisecond = 0;
    std::int64_t DayNumber = 0;
    bool HasTime() const { return Millisecond != 0; }
};

CivilTime Decode(double value) {
    if (!(value > static_cast<double>(FirstDay - 1) && value < static_cast<double>(LastDay + 1)))
        throw EConvertError("Invalid date-time value " + FormatGeneral(value, 15));
    auto dayNumber = static_cast<std::int64_t>(std::trunc(value));
    // The fraction is the time of day even for days before 1899-12-30.
    const double fraction = std::fabs(value - static_cast<double>(dayNumber));
    std::int64_t ms = std::llround(fraction * static_cast<double>(MillisecondsPerDay));
    if (ms >= MillisecondsPerDay) {
        ms = 0;
        dayNumber += value < 0 ? -1 : 1;
    }
    if (dayNumber < FirstDay || dayNumber > LastDay)
        throw EConvertError("Invalid date-time value " + FormatGeneral(value, 15));
    const sys_days epoch = year{1899} / December / 30;
    return {year_month_day(epoch + days(dayNumber)), ms, dayNumber};
}

std::tm ToTm(const CivilTime& t) {
    std::tm tm{};
    tm.tm_year = static_cast<int>(t.Date.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(t.Date.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(t.Date.day()));
    const sys_days day(t.Date);
    tm.tm_wday = static_cast<int>(weekday(day).c_encoding());
    tm.tm_yday = static_cast<int>((day - sys_days(t.Date.year() / January / 1)).count());
    const std::int64_t seconds = t.Millisecond / 1000;
    tm.tm_hour = static_cast<int>(seconds / 3600);
    tm.tm_min = static_cast<int>(seconds / 60 % 60);
    tm.tm_sec = static_cast<int>(seconds % 60);
    tm.tm_isdst = -1;
    return tm;
}

// The value of the LC_TIME category in a locale's name: "de_DE.UTF-8" for a plain
// name, the LC_TIME= entry of a name listing the categories one by one.
std::string_view TimeCategoryName(std::string_view name) {
    const std::string_view key = "LC_TIME=";
    const std::size_t at = name.find(key);
    if (at == std::string_view::npos) return name;
    const std::string_view rest = name.substr(at + key.size());
    return rest.substr(0, rest.find(';'));
}

// Whether a locale formats times as the C library's default does; such a locale means
// the user chose no format, and ISO 8601 is shown instead.
bool IsClassicTimeLocale(const std::locale& locale) {
    const std::string name = locale.name();
    const std::string_view time = TimeCategoryName(name);
    return time == "C" || time == "POSIX" || time.starts_with("C.");
}

// The user's locale from the environment, or none when it is the classic one or
// cannot be made (a name that is not installed). Looked up once.
const std::locale* UserLocale() {
    static const std::optional<std::locale> user = []() -> std::optional<std::locale> {
        try {
            std::locale locale("");
            if (IsClassicTimeLocale(locale)) return std::nullopt;
            return locale;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }();
    return user ? &*user : nullptr;
}

enum class Parts { Date, Time, Both };

std::string IsoText(const CivilTime& t, Parts parts) {
    std::array<char, 32> buffer{};
    std::string text;
    if (parts != Parts::Time) {
        std::snprintf(buffer.data(), buffer.size(), "%04d-%02u-%02u", static_cast<int>(t.Date.year()),
                      static_cast<unsigned>(t.Date.month()), static_cast<unsigned>(t.Date.day()));
        text = buffer.data();
    }
    if (parts != Parts::Date) {
        const std::int64_t seconds = t.Millisecond / 1000;
        std::snprintf(buffer.data(), buffer.size(), "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
        if (!text.empty()) text += ' ';
        text += buffer.data();
    }
    return text;
}

std::string LocaleText(const CivilTime& t, Parts parts, const std::locale& locale) {
    const std::tm tm = ToTm(t);
    std::ostringstream out;
    out.imbue(locale);
    const char* format = parts == Parts::Date ? "%x" : parts == Parts::Time ? "%X" : "%x %X";
    out << std::put_time(&tm, format);
    return out.str();
}

std::string DateTimeText(double value, Parts parts, const std::locale* locale) {
    const CivilTime t = Decode(value);
    if (parts == Parts::Both) {
        if (!t.HasTime())
            parts = Parts::Date;
        else if (t.DayNumber == 0)
            parts = Parts::Time;
    }
    if (!locale || IsClassicTimeLocale(*locale)) return IsoText(t, parts);
    return LocaleText(t, parts, *locale);
}

}  // namespace

std::string FormatGeneral(long double value, int precision, char decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    precision = std::clamp(precision, 1, 40);

    // to_chars rounds correctly and ignores the locale: "d.ddde+XX".
    std::array<char, 96> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                            std::chars_format::scientific, precision - 1);
    if (error != std::errc()) return "NAN";
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t exponentAt = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, exponentAt))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::string_view exponentText = scientific.substr(exponentAt + 1);
    if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    // The position of the decimal point relative to the first digit: 1 for 1.5.
    const int pointAt = exponent + 1;

    std::string text = value < 0 ? "-" : "";
    if (pointAt > precision || pointAt < -3) {
        text += digits.front();
        if (digits.size() > 1) {
            text += decimalSeparator;
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(exponent);
    } else if (pointAt <= 0) {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-pointAt), '0');
        text += digits;
    } else if (digits.size() <= static_cast<std::size_t>(pointAt)) {
        text += digits;
        text.append(static_cast<std::size_t>(pointAt) - digits.size(), '0');
    } else {
        text.append(digits, 0, static_cast<std::size_t>(pointAt));
        text += decimalSeparator;
        text.append(digits, static_cast<std::size_t>(pointAt));
    }
    return text;
}

std::string ColorToText(std::int64_t color) {
    if (const auto name = IdentOf(ty::TColor.Idents, color)) return std::string(*name);
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "$%08X",
                  static_cast<unsigned>(static_cast<std::uint32_t>(color)));
    return buffer.data();
}

std::int64_t TextToColor(std::string_view text) {
    const std::string_view trimmed = TrimSpaces(text);
    if (const auto named = ValueOfIdent(ty::TColor.Idents, trimmed)) return *named;
    std::optional<std::int64_t> value;
    if (!trimmed.empty() && trimmed.front() == '$')
        value = AsInt32Bits(ParseHex(trimmed.substr(1)));
    else
        value = AsInt32Bits(ParseDecimal(trimmed));
    if (!value) throw EConvertError("'" + std::string(text) + "' is not a valid colour");
    return *value;
}

std::string CursorToText(std::int64_t cursor) {
    if (const auto name = IdentOf(ty::TCursor.Idents, cursor)) return std::string(*name);
    return std::to_string(cursor);
}

std::int64_t TextToCursor(std::string_view text) {
    const std::string_view trimmed = TrimSpaces(text);
    if (const auto named = ValueOfIdent(ty::TCursor.Idents, trimmed)) return *named;
    const auto value = ParseDecimal(trimmed);
    if (!value || *value < std::numeric_limits<std::int16_t>::min() ||
        *value > std::numeric_limits<std::int16_t>::max())
        throw EConvertError("'" + std::string(text) + "' is not a valid cursor");
    return *value;
}

std::string ShortCutToText(std::uint16_t shortCut) {
    const std::string key = KeyText(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (key.empty()) return {};
    std::string text;
    for (const Modifier& m : Modifiers)
        if ((shortCut & m.Bit) != 0) text += m.Prefix;
    return text + key;
}

std::uint16_t TextToShortCut(std::string_view text) {
    std::uint16_t modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& m : Modifiers) {
            // "Ctrl++" would leave "+" as the key; a key name is never empty.
            if (StartsWithIgnoringCase(text, m.Prefix) && text.size() > m.Prefix.size()) {
                modifiers |= m.Bit;
                text.remove_prefix(m.Prefix.size());
                found = true;
            }
        }
    }
    const auto key = KeyOfText(text);
    return key ? static_cast<std::uint16_t>(modifiers | *key) : 0;
}

std::string DateTimeToText(double value) {
    return DateTimeText(value, Parts::Both, UserLocale());
}
std::string DateToText(double value) {
    return DateTimeText(value, Parts::Date, UserLocale());
}
std::string TimeToText(double value) {
    return DateTimeText(value, Parts::Time, UserLocale());
}

std::string DateTimeToText(double value, const std::locale& locale) {
    return DateTimeText(value, Parts::Both, &locale);
}
std::string DateToText(double value, const std::locale& locale) {
    return DateTimeText(value, Parts::Date, &locale);
}
std::string TimeToText(double value, const std::locale& locale) {
    return DateTimeText(value, Parts::Time, &locale);
}

}  // namespace fw::rt
