#include "preview/vcllook.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>

#include "base/asciitext.h"
#include "runtime/builtin.h"
#include "runtime/registry.h"

namespace fw::preview {

namespace {

constexpr std::int64_t SysColorBase = -0x1000000;
constexpr std::int64_t clNone = 0x1FFFFFFF;
constexpr std::int64_t clDefault = 0x20000000;

// The system colours of a Windows 10 desktop with its default theme, by index
// (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30), as 0xRRGGBB.
constexpr std::array<std::uint32_t, 31> SystemColors = {
    0xC8C8C8,  // scroll bar
    0x000000,  // background (the desktop)
    0x99B4D1,  // active caption
    0xBFCDDB,  // inactive caption
    0xF0F0F0,  // menu
    0xFFFFFF,  // window
    0x646464,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0x000000,  // caption text
    0xB4B4B4,  // active border
    0xF4F7FC,  // inactive border
    0xABABAB,  // application workspace
    0x0078D7,  // highlight
    0xFFFFFF,  // highlight text
    0xF0F0F0,  // button face
    0xA0A0A0,  // button shadow
    0x6D6D6D,  // grey text
    0x000000,  // button text
    0x000000,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x696969,  // 3D dark shadow
    0xE3E3E3,  // 3D light
    0x000000,  // info text
    0xFFFFE1,  // info background
    0x000000,  // (unused)
    0x0066CC,  // hot light
    0xB9D1EA,  // gradient active caption
    0xD7E4F2,  // gradient inactive caption
    0x3399FF,  // menu highlight
    0xF0F0F0,  // menu bar
};

const rt::Property* Find(const rt::Object& object, std::string_view name) {
    return object.FindProperty(name);
}

// A stand-in's value kept as its text stored it, for a name its base does not publish
// (a stand-in drawn with a borrowed look reads its Caption, Color or Items from there).
const rt::RawValue* Raw(const rt::Object& object, std::string_view name) {
    return object.GetClass().Has(rt::CfStandIn) ? object.FindUnpublished(name) : nullptr;
}

// The ordinal a raw value stands for: an integer, True/False, or a named colour or
// cursor; nullopt for anything else (an enumeration's name means nothing without its
// type).
std::optional<std::int64_t> RawOrdinal(const rt::RawValue& value) {
    if (value.Type == rt::RawValue::Kind::Integer) return value.Integer;
    if (value.Type != rt::RawValue::Kind::Identifier) return std::nullopt;
    if (rt::EqualsIgnoringCase(value.Text, "True")) return 1;
    if (rt::EqualsIgnoringCase(value.Text, "False")) return 0;
    for (const rt::TypeInfo* type : {&rt::ty::TColor, &rt::ty::TCursor})
        for (const rt::IdentEntry& e : type->Idents)
            if (rt::EqualsIgnoringCase(e.Name, value.Text)) return e.Value;
    return std::nullopt;
}

}  // namespace

QColor ColorOf(std::int64_t color) {
    if (color == clNone || color == clDefault) return {};
    if (color < 0) {
        const std::int64_t index = color - SysColorBase;
        if (index < 0 || index >= static_cast<std::int64_t>(SystemColors.size())) return QColor(0, 0, 0);
        return QColor::fromRgb(SystemColors[static_cast<std::size_t>(index)]);
    }
    // $00BBGGRR; the high byte (palette-relative or index forms) is ignored.
    const auto value = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QColor DesktopColor() {
    return ColorOf(SysColorBase + 1);
}

QString MapFontFamily(std::string_view windowsName) {
    const std::string name = AsciiLower(windowsName);
    struct Mapping {
        std::string_view Windows;
        const char* Installed;
    };
    // Metric-compatible stand-ins first; the rest keep the look of a sans-serif UI font.
    static constexpr Mapping Map[] = {
        {"arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"},
        {"microsoft sans serif", "Liberation Sans"},
        {"tahoma", "DejaVu Sans Condensed"},
        {"segoe ui", "Liberation Sans"},
        {"verdana", "DejaVu Sans"},
        {"arial narrow", "Liberation Sans Narrow"},
        {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},
        {"ms serif", "Liberation Serif"},
        {"georgia", "DejaVu Serif"},
        {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
        {"consolas", "DejaVu Sans Mono"},
        {"lucida console", "DejaVu Sans Mono"},
        {"fixedsys", "DejaVu Sans Mono"},
        {"terminal", "DejaVu Sans Mono"},
    };
    for (const Mapping& m : Map)
        if (name == m.Windows) return QString::fromLatin1(m.Installed);
    if (name.find("mono") != std::string::npos || name.find("courier") != std::string::npos)
        return QStringLiteral("Liberation Mono");
    if (name.find("serif") != std::string::npos && name.find("sans") == std::string::npos)
        return QStringLiteral("Liberation Serif");
    return QStringLiteral("Liberation Sans");
}

double WindowsAverageCharWidth(std::string_view windowsName, int emPixels) {
    struct Face {
        std::string_view Name;
        double AveragePerEm;  // tmAveCharWidth over the character height
    };
    // Tahoma: 1000 of 2048 units (5 pixels at 8 points, 11 pixels high); MS Sans
    // Serif: 5 pixels at 8 points; System: 7 pixels at its 16.
    static constexpr Face Faces[] = {
        {"tahoma", 1000.0 / 2048.0},
        {"ms sans serif", 5.0 / 11.0},
        {"system", 7.0 / 16.0},
    };
    const std::string name = AsciiLower(windowsName);
    for (const Face& f : Faces)
        if (name == f.Name) return f.AveragePerEm * std::max(emPixels, 0);
    return 0;
}

int StretchToFit(double windowsAverage, double substituteAverage) {
    if (windowsAverage <= 0 || substituteAverage <= windowsAverage) return 100;
    return std::max(MinFontStretch, static_cast<int>(std::floor(100.0 * windowsAverage / substituteAverage)));
}

int ClosestNotWider(const std::vector<double>& averages, double windowsAverage) {
    int best = -1;
    for (std::size_t i = 0; i < averages.size(); ++i) {
        const double a = averages[i];
        if (best < 0) {
            best = static_cast<int>(i);
            continue;
        }
        const double b = averages[static_cast<std::size_t>(best)];
        const bool fits = a <= windowsAverage, bestFits = b <= windowsAverage;
        if ((fits && !bestFits) || (fits && bestFits && a > b) || (!fits && !bestFits && a < b))
            best = static_cast<int>(i);
    }
    return best;
}

namespace {

// The average advance of the lowercase letters, as the weighted average of Windows
// counts the lowercase.
double AverageCharWidth(const QFont& font) {
    static constexpr char16_t Letters[] = u"abcdefghijklmnopqrstuvwxyz";
    return QFontMetricsF(font).horizontalAdvance(QString::fromUtf16(Letters, 26)) / 26.0;
}

// For a Windows user interface face: the installed face closest in width, narrowed
// where it is still wider.
void FitToWindowsWidth(QFont& font, std::string_view windowsName, int emPixels) {
    const double windows = WindowsAverageCharWidth(windowsName, emPixels);
    if (windows <= 0) return;
    static constexpr const char* Candidates[] = {"Liberation Sans", "DejaVu Sans Condensed",
                                                 "Liberation Sans Narrow"};
    std::vector<QFont> fonts;
    std::vector<double> averages;
    for (const char* family : Candidates) {
        QFont candidate = font;
        candidate.setFamily(QString::fromLatin1(family));
        // Only installed faces: an absent one would be measured as a fallback face.
        if (QFontInfo(candidate).family() != candidate.family()) continue;
        averages.push_back(AverageCharWidth(candidate));
        fonts.push_back(candidate);
    }
    const int chosen = ClosestNotWider(averages, windows);
    if (chosen < 0) return;
    font = fonts[static_cast<std::size_t>(chosen)];
    const int stretch = StretchToFit(windows, averages[static_cast<std::size_t>(chosen)]);
    if (stretch < 100) font.setStretch(stretch);
}

}  // namespace

QFont FontOf(const rt::Object* font) {
    std::string name = "Tahoma";
    std::int64_t height = -11;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    if (font) {
        const QString written = TextOf(*font, "Name");
        if (!written.isEmpty()) name = written.toStdString();
        height = OrdinalOf(*font, "Height", -11);
        bold = HasElement(*font, "Style", "fsBold");
        italic = HasElement(*font, "Style", "fsItalic");
        underline = HasElement(*font, "Style", "fsUnderline");
        strikeOut = HasElement(*font, "Style", "fsStrikeOut");
    }
    QFont result(MapFontFamily(name));
    // Windows: a negative height is the character (em) height in pixels, a positive one
    // the cell height, of which the em takes about four fifths.
    std::int64_t pixels =
        height < 0 ? -height : static_cast<std::int64_t>(std::lround(static_cast<double>(height) * 0.8));
    if (height == 0) pixels = 11;
    result.setPixelSize(static_cast<int>(std::clamp<std::int64_t>(pixels, 1, 1000)));
    result.setBold(bold);
    result.setItalic(italic);
    result.setUnderline(underline);
    result.setStrikeOut(strikeOut);
    result.setStyleStrategy(QFont::PreferAntialias);
    FitToWindowsWidth(result, name, result.pixelSize());
    return result;
}

QColor FontColorOf(const rt::Object* font) {
    if (!font) return QColor(0, 0, 0);
    const QColor c = ColorOf(OrdinalOf(*font, "Color", SysColorBase + 8));
    return c.isValid() ? c : QColor(0, 0, 0);
}

std::int64_t OrdinalOf(const rt::Object& object, std::string_view name, std::int64_t fallback) {
    const rt::Property* p = Find(object, name);
    if (!p) {
        const rt::RawValue* raw = Raw(object, name);
        return raw ? RawOrdinal(*raw).value_or(fallback) : fallback;
    }
    switch (p->Kind()) {
        case rt::TypeKind::tkInteger:
        case rt::TypeKind::tkChar:
        case rt::TypeKind::tkWChar:
        case rt::TypeKind::tkEnumeration:
        case rt::TypeKind::tkSet:
        case rt::TypeKind::tkInt64:
            return object.Ordinal(*p);
        default:
            return fallback;
    }
}

bool BoolOf(const rt::Object& object, std::string_view name, bool fallback) {
    const rt::Property* p = Find(object, name);
    if (!p) {
        const rt::RawValue* raw = Raw(object, name);
        if (!raw || raw->Type != rt::RawValue::Kind::Identifier) return fallback;
        if (rt::EqualsIgnoringCase(raw->Text, "True")) return true;
        if (rt::EqualsIgnoringCase(raw->Text, "False")) return false;
        return fallback;
    }
    if (p->Kind() != rt::TypeKind::tkEnumeration) return fallback;
    return object.Ordinal(*p) != 0;
}

QString TextOf(const rt::Object& object, std::string_view name) {
    const rt::Property* p = Find(object, name);
    if (!p) {
        const rt::RawValue* raw = Raw(object, name);
        return raw && raw->Type == rt::RawValue::Kind::String ? Q(raw->Text) : QString();
    }
    switch (p->Kind()) {
        case rt::TypeKind::tkString:
        case rt::TypeKind::tkLString:
        case rt::TypeKind::tkWString:
        case rt::TypeKind::tkVariant:
            return Q(object.String(*p));
        default:
            return {};
    }
}

std::string EnumOf(const rt::Object& object, std::string_view name) {
    const rt::Property* p = Find(object, name);
    if (!p) {
        const rt::RawValue* raw = Raw(object, name);
        return raw && raw->Type == rt::RawValue::Kind::Identifier ? raw->Text : std::string();
    }
    if (p->Kind() != rt::TypeKind::tkEnumeration) return {};
    const std::int64_t ordinal = object.Ordinal(*p);
    const auto& names = p->Type().EnumNames;
    if (ordinal < 0 || static_cast<std::uint64_t>(ordinal) >= names.size()) return {};
    return std::string(names[static_cast<std::size_t>(ordinal)]);
}

bool HasElement(const rt::Object& object, std::string_view name, std::string_view element) {
    const rt::Property* p = Find(object, name);
    if (!p) {
        const rt::RawValue* raw = Raw(object, name);
        if (!raw || raw->Type != rt::RawValue::Kind::Set) return false;
        return std::any_of(raw->Names.begin(), raw->Names.end(),
                           [&](const std::string& n) { return rt::EqualsIgnoringCase(n, element); });
    }
    if (p->Kind() != rt::TypeKind::tkSet || !p->Type().ElementType) return false;
    const auto& names = p->Type().ElementType->EnumNames;
    for (std::size_t i = 0; i < names.size() && i < 64; ++i)
        if (names[i] == element) return (object.Ordinal(*p) >> i) & 1;
    return false;
}

rt::Object* ObjectOf(const rt::Object& object, std::string_view name) {
    const rt::Property* p = Find(object, name);
    if (!p) {
        // A stand-in's reference is the name it stored: a component of its owner (a
        // stand-in page control's ActivePage), or of an owner further out.
        const rt::RawValue* raw = Raw(object, name);
        if (!raw || raw->Type != rt::RawValue::Kind::Identifier) return nullptr;
        for (const rt::Object* owner = object.Owner(); owner; owner = owner->Owner())
            if (rt::Object* found = owner->FindOwnedComponent(raw->Text)) return found;
        return nullptr;
    }
    if (p->Kind() != rt::TypeKind::tkClass) return nullptr;
    return object.ObjectValue(*p);
}

QColor ControlColor(const rt::Object& control) {
    const rt::Object* c = &control;
    // A chain of ParentColor ends at the form; the bound guards against a cycle.
    for (int depth = 0; depth < 1000 && c; ++depth) {
        // A root frame that takes its parent's colour takes that of the form it is
        // put on: clBtnFace.
        if (BoolOf(*c, "ParentColor", false) && !c->Parent()) return ColorOf(SysColorBase + 15);
        if (!BoolOf(*c, "ParentColor", false)) {
            const QColor color = ColorOf(OrdinalOf(*c, "Color", SysColorBase + 15));
            return color.isValid() ? color : ColorOf(SysColorBase + 15);
        }
        c = c->Parent();
    }
    return ColorOf(SysColorBase + 15);
}

QFont ControlFont(const rt::Object& control) {
    const rt::Object* c = &control;
    for (int depth = 0; depth < 1000 && c; ++depth) {
        if (!BoolOf(*c, "ParentFont", false) || !c->Parent()) return FontOf(ObjectOf(*c, "Font"));
        c = c->Parent();
    }
    return FontOf(nullptr);
}

QColor ControlFontColor(const rt::Object& control) {
    const rt::Object* c = &control;
    for (int depth = 0; depth < 1000 && c; ++depth) {
        if (!BoolOf(*c, "ParentFont", false) || !c->Parent()) return FontColorOf(ObjectOf(*c, "Font"));
        c = c->Parent();
    }
    return FontColorOf(nullptr);
}

void ApplyColorsAndFont(QWidget& widget, const rt::Object& control, bool fillBackground) {
    QPalette palette = widget.palette();
    const QColor back = ControlColor(control);
    const QColor text = ControlFontColor(control);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, back);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, text);
    widget.setPalette(palette);
    widget.setFont(ControlFont(control));
    widget.setAutoFillBackground(fillBackground);
}

// ---------------------------------------------------------------------------------
// Captions with accelerator marks.

namespace {

// The caption without its marks; each literal '&' is written as literal.
QString StripAccelerators(const QString& caption, const QString& literal) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            shown += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            shown += literal;
            ++i;
        }
    }
    return shown;
}

}  // namespace

QString ShownCaption(const QString& caption) {
    return StripAccelerators(caption, QStringLiteral("&"));
}

QString QtCaption(const QString& caption) {
    return StripAccelerators(caption, QStringLiteral("&&"));
}

}  // namespace fw::preview
