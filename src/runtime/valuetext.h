#pragma once
// Text forms of property values that are numbers underneath: colours, cursors,
// shortcuts, dates and times, and the general format of floating-point numbers. None of
// these read the process locale; dates and times use the user's locale explicitly.

#include <cstdint>
#include <locale>
#include <string>
#include <string_view>

#include "base/errors.h"

namespace fw::rt {

// The shortest text of value that shows precision significant digits: rounded to
// precision digits (at least 1), trailing zeros dropped, in scientific notation
// ("1.5E-7", "1E20") when the decimal exponent is above precision or below -3, plain
// otherwise ("0.001", "123.456"). Zero is "0"; infinities and not-a-number are "INF",
// "-INF" and "NAN". decimalSeparator separates the fraction.
std::string FormatGeneral(long double value, int precision, char decimalSeparator = '.');

// A colour's identifier ("clBtnFace", "clNone") when it has one, else "$" and eight
// upper-case hexadecimal digits of its 32 bits ("$00FF8000"; system colours are
// negative and show as "$FF0000xx").
std::string ColorToText(std::int64_t color);
// The colour a text names: an identifier (ignoring case), "$" and hexadecimal digits,
// or a decimal number, each within 32 bits. Throws EConvertError for anything else.
std::int64_t TextToColor(std::string_view text);

// A cursor's identifier ("crHandPoint"), else its number in decimal ("-42").
std::string CursorToText(std::int64_t cursor);
// The cursor an identifier (ignoring case) or a decimal number names. Throws
// EConvertError for anything else.
std::int64_t TextToCursor(std::string_view text);

// Shortcut words: the key's virtual key code in the low byte, with modifier bits.
inline constexpr std::uint16_t scShift = 0x2000;
inline constexpr std::uint16_t scCtrl = 0x4000;
inline constexpr std::uint16_t scAlt = 0x8000;

// The key text of a shortcut, modifiers first in the order Shift, Ctrl, Alt: "Ctrl+S",
// "Shift+Ctrl+A", "Alt+F4", "Del". "" when the key has no name (including no key).
std::string ShortCutToText(std::uint16_t shortCut);
// The shortcut a key text names, modifiers in any order, names ignoring case; 0 when
// the text names no key.
std::uint16_t TextToShortCut(std::string_view text);

// Dates and times are TDateTime values: days since 1899-12-30, the fraction the time
// of day (for a negative value the fraction still counts forward from midnight).
//
// The text follows the user's locale: its date and time formats (%x and %X) taken from
// the environment (LC_ALL, LC_TIME, LANG) through std::locale(""), never from the
// process's global locale, which a GUI toolkit may have changed. When the environment
// sets no locale, or the "C"/"POSIX" one, or names one that is not installed, the text
// is ISO 8601 instead: "2026-12-10 14:30:00", "2026-12-10", "14:30:00". Seconds are
// rounded to the nearest millisecond and shown whole.
//
// DateTimeToText gives the date alone for a whole day (midnight) and the time alone
// for a value whose day part is 0, i.e. strictly between -1 and 1 and not 0;
// DateToText and TimeToText give one part. Each throws EConvertError for a value
// outside the years 1 to 9999 or not a number.
std::string DateTimeToText(double value);
std::string DateToText(double value);
std::string TimeToText(double value);
// The same, in a given locale (ISO 8601 for the classic one); for callers that keep
// their own locale, and for tests.
std::string DateTimeToText(double value, const std::locale& locale);
std::string DateToText(double value, const std::locale& locale);
std::string TimeToText(double value, const std::locale& locale);

}  // namespace fw::rt
