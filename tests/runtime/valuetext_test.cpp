// Text forms of colours, cursors, shortcuts, dates and floating-point numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <locale>
#include <string>

#include "runtime/builtin.h"
#include "runtime/valuetext.h"

namespace {

using namespace fw::rt;

constexpr std::int64_t SysColor(int index) {
    return std::int64_t{-0x1000000} + index;
}

TEST(ValueText, ColorToText) {
    const struct {
        std::int64_t Color;
        const char* Text;
    } cases[] = {
        {SysColor(0x0F), "clBtnFace"},
        {0x00FF8000, "$00FF8000"},
        {0x1FFFFFFF, "clNone"},
        {0x20000000, "clDefault"},
        {0, "clBlack"},
        {0xC0C0C0, "clSilver"},
        {0xFFFFFF, "clWhite"},
        {1, "$00000001"},
        // A system colour index without a name still shows as its 32 bits.
        {SysColor(0x19), "$FF000019"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToText(c.Color), c.Text) << c.Color;
}

TEST(ValueText, TextToColorReadsNamesHexAndDecimal) {
    const struct {
        const char* Text;
        std::int64_t Color;
    } cases[] = {
        {"clBtnFace", SysColor(0x0F)},
        {"CLBTNFACE", SysColor(0x0F)},
        {"$00FF8000", 0x00FF8000},
        {"$ff8000", 0x00FF8000},
        // A system colour in hexadecimal is the same negative value as its name.
        {"$FF00000F", SysColor(0x0F)},
        {"255", 255},
        {"-16777201", SysColor(0x0F)},
        {" clRed ", 0x0000FF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToColor(c.Text), c.Color) << c.Text;

    for (const char* bad : {"", "clNonsense", "$", "$123456789", "$12G", "12x", "0x12", "99999999999", "--1"})
        EXPECT_THROW(TextToColor(bad), fw::EConvertError) << bad;
}

TEST(ValueText, EveryNamedColorRoundTrips) {
    for (const IdentEntry& e : ty::TColor.Idents) {
        const std::string text = ColorToText(e.Value);
        EXPECT_EQ(TextToColor(text), e.Value) << e.Name;
        EXPECT_EQ(TextToColor(e.Name), e.Value) << e.Name;
    }
}

TEST(ValueText, CursorText) {
    EXPECT_EQ(CursorToText(-21), "crHandPoint");
    EXPECT_EQ(CursorToText(0), "crDefault");
    // crSize is an older name of the same cursor; the current name is shown.
    EXPECT_EQ(CursorToText(-22), "crSizeAll");
    EXPECT_EQ(CursorToText(5), "5");
    EXPECT_EQ(CursorToText(-42), "-42");

    EXPECT_EQ(TextToCursor("crhandpoint"), -21);
    EXPECT_EQ(TextToCursor("crSize"), -22);
    EXPECT_EQ(TextToCursor("-42"), -42);
    for (const char* bad : {"", "crNonsense", "1.5", "70000"})
        EXPECT_THROW(TextToCursor(bad), fw::EConvertError) << bad;
}

TEST(ValueText, ShortCutsRoundTrip) {
    const struct {
        std::uint16_t ShortCut;
        const char* Text;
    } cases[] = {
        {16467, "Ctrl+S"},
        {scShift | scCtrl | 'A', "Shift+Ctrl+A"},
        {0x70, "F1"},
        {0x7B, "F12"},
        {0x87, "F24"},
        {0x2E, "Del"},
        {0x2D, "Ins"},
        {scAlt | 0x73, "Alt+F4"},
        {scShift | scCtrl | scAlt | 'Z', "Shift+Ctrl+Alt+Z"},
        {scCtrl | '0', "Ctrl+0"},
        {0x0D, "Enter"},
        {0x1B, "Esc"},
        {0x08, "BkSp"},
        {0x09, "Tab"},
        {scShift | 0x20, "Shift+Space"},
        {0x21, "PgUp"},
        {0x22, "PgDn"},
        {0x24, "Home"},
        {0x23, "End"},
        {scCtrl | 0x25, "Ctrl+Left"},
        {0x26, "Up"},
        {0x27, "Right"},
        {0x28, "Down"},
        {0x60, "Num 0"},
        {scCtrl | 0x6B, "Ctrl+Num +"},
        {scCtrl | 0xBD, "Ctrl+-"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortCutToText(c.ShortCut), c.Text) << c.ShortCut;
        EXPECT_EQ(TextToShortCut(c.Text), c.ShortCut) << c.Text;
    }
}

TEST(ValueText, ShortCutEdgeCases) {
    // A key without a name gives no text at all, modifiers included.
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(scCtrl | 0x07), "");
    EXPECT_EQ(ShortCutToText(scCtrl), "");

    const struct {
        const char* Text;
        std::uint16_t ShortCut;
    } cases[] = {
        {"ctrl+s", 16467}, {"Alt+Shift+X", scShift | scAlt | 'X'},
        {"f5", 0x74},      {"", 0},
        {"Ctrl+", 0},      {"Hyper+S", 0},
        {"F0", 0},         {"F25", 0},
        {"F+1", 0},        {"SS", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToShortCut(c.Text), c.ShortCut) << c.Text;
}

TEST(ValueText, DateTimeInIsoFormUnderTheClassicLocale) {
    const std::locale& classic = std::locale::classic();
    const struct {
        double Value;
        const char* DateTime;
        const char* Date;
        const char* Time;
    } cases[] = {
        {45000.5, "2023-03-15 12:00:00", "2023-03-15", "12:00:00"},
        {46366.6041666667, "2026-12-10 14:30:00", "2026-12-10", "14:30:00"},
        // A whole day is a date alone, a day part of 0 a time alone.
        {45000, "2023-03-15", "2023-03-15", "00:00:00"},
        {0.75, "18:00:00", "1899-12-30", "18:00:00"},
        {0, "1899-12-30", "1899-12-30", "00:00:00"},
        {1, "1899-12-31", "1899-12-31", "00:00:00"},
        // Before 1899-12-30 the fraction still counts forward from midnight.
        {-1.25, "1899-12-29 06:00:00", "1899-12-29", "06:00:00"},
        {-0.25, "06:00:00", "1899-12-30", "06:00:00"},
        // A time a hair short of midnight rounds into the next day.
        {45000.999999999, "2023-03-16", "2023-03-16", "00:00:00"},
        {-1.999999999, "1899-12-28", "1899-12-28", "00:00:00"},
        {-693593, "0001-01-01", "0001-01-01", "00:00:00"},
        {2958465.5, "9999-12-31 12:00:00", "9999-12-31", "12:00:00"},
        {36585, "2000-02-29", "2000-02-29", "00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateTimeToText(c.Value, classic), c.DateTime) << c.Value;
        EXPECT_EQ(DateToText(c.Value, classic), c.Date) << c.Value;
        EXPECT_EQ(TimeToText(c.Value, classic), c.Time) << c.Value;
    }

    for (double bad : {2958466.0, -693594.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_THROW(DateTimeToText(bad, classic), fw::EConvertError) << bad;
}

// A time format of its own, so that the test shows the locale's formats being used
// without depending on the locales installed on the machine.
class DottedTimeFormat : public std::time_put<char> {
protected:
    iter_type do_put(iter_type out, std::ios_base&, char_type, const std::tm* tm, char format,
                     char) const override {
        char buffer[64];
        if (format == 'x')
            std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", tm->tm_mday, tm->tm_mon + 1,
                          tm->tm_year + 1900);
        else if (format == 'X')
            std::snprintf(buffer, sizeof buffer, "%d.%02d Uhr (wd %d)", tm->tm_hour, tm->tm_min, tm->tm_wday);
        else
            std::snprintf(buffer, sizeof buffer, "?%c", format);
        for (const char* c = buffer; *c; ++c)
            *out++ = *c;
        return out;
    }
};

TEST(ValueText, DateTimeFollowsTheLocalesFormats) {
    const std::locale dotted(std::locale::classic(), new DottedTimeFormat);
    // 2026-12-10 is a Thursday.
    EXPECT_EQ(DateTimeToText(46366.6041666667, dotted), "10.12.2026 14.30 Uhr (wd 4)");
    EXPECT_EQ(DateTimeToText(46366, dotted), "10.12.2026");
    EXPECT_EQ(DateTimeToText(0.5, dotted), "12.00 Uhr (wd 6)");
    EXPECT_EQ(DateToText(46366.5, dotted), "10.12.2026");
    EXPECT_EQ(TimeToText(46366.5, dotted), "12.00 Uhr (wd 4)");
}

TEST(ValueText, FormatGeneral) {
    const struct {
        long double Value;
        int Precision;
        const char* Text;
    } cases[] = {
        {0.5L, 15, "0.5"},
        {1E20L, 15, "1E20"},
        {0.00001L, 15, "1E-5"},
        {123.456L, 7, "123.456"},
        // A single's 0.1 is 0.100000001490116...; seven digits hide the rest.
        {static_cast<float>(0.1), 7, "0.1"},
        {0.1, 15, "0.1"},
        {0.0L, 15, "0"},
        {-0.0L, 15, "0"},
        {1.5L, 15, "1.5"},
        {-2.5E-7L, 15, "-2.5E-7"},
        // The switch to scientific notation: below 1E-4 and from P+1 integer digits.
        {0.0001L, 15, "0.0001"},
        {0.00012345L, 15, "0.00012345"},
        {1E14L, 15, "100000000000000"},
        {1E15L, 15, "1E15"},
        {100.0L, 2, "1E2"},
        {99.0L, 2, "99"},
        {123456789012345678.0L, 15, "1.23456789012346E17"},
        // Rounding that carries into a new digit.
        {9.99999999L, 7, "10"},
        {0.99999999L, 7, "1"},
        {1.0L / 3.0L, 15, "0.333333333333333"},
        {2.0L / 3.0L, 18, "0.666666666666666667"},
        {-1234.5L, 15, "-1234.5"},
        {1E-300L, 15, "1E-300"},
        {1.5E300L, 15, "1.5E300"},
        // The largest currency, exactly, with its 19 digits.
        {9223372036854775807.0L / 10000, 19, "922337203685477.5807"},
        {std::numeric_limits<long double>::infinity(), 15, "INF"},
        {-std::numeric_limits<long double>::infinity(), 15, "-INF"},
        {std::numeric_limits<long double>::quiet_NaN(), 15, "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatGeneral(c.Value, c.Precision), c.Text) << c.Text;
}

TEST(ValueText, FormatGeneralUsesTheGivenSeparatorOnly) {
    EXPECT_EQ(FormatGeneral(1.5L, 15, ','), "1,5");
    EXPECT_EQ(FormatGeneral(0.001L, 15, ','), "0,001");
    EXPECT_EQ(FormatGeneral(-1.25E-10L, 15, ','), "-1,25E-10");
    EXPECT_EQ(FormatGeneral(1E20L, 15, ','), "1E20");
}

}  // namespace
