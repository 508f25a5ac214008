#pragma once
// How the values of live objects look on this desktop: colours (system colours as a
// Windows 10 desktop at 96 DPI shows them), fonts (Windows font names mapped to
// installed fonts with the same metrics), pictures, captions, and typed reads of
// property values for the factories that realise controls.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/pictures.h"
#include "runtime/object.h"

class QWidget;

namespace fw::preview {

// The colour a TColor value stands for; system colours (clBtnFace, clWindow, ...) take
// the Windows 10 defaults. clNone and clDefault give an invalid QColor.
QColor ColorOf(std::int64_t color);
// The desktop colour, clBackground.
QColor DesktopColor();

// The installed family that stands in for a Windows font name: a metric-compatible one
// where there is such (Arial → Liberation Sans, Times New Roman → Liberation Serif,
// Courier New → Liberation Mono), a close sans-serif otherwise.
QString MapFontFamily(std::string_view windowsName);
// The average character width (tmAveCharWidth) Windows reports for its user interface
// faces Tahoma, MS Sans Serif and System at a character height in pixels; 0 for other
// faces, whose substitutes are metric-compatible or not measured against them.
double WindowsAverageCharWidth(std::string_view windowsName, int emPixels);
// The horizontal stretch in percent that makes a substitute of the given average
// character width as narrow as the Windows face: 100 when it is not wider, never below
// MinFontStretch.
inline constexpr int MinFontStretch = 70;
int StretchToFit(double windowsAverage, double substituteAverage);
// Of the installed candidates' average widths, the one to use for a Windows face of
// the given average width: the widest that is not wider than it, else the narrowest;
// -1 for none.
int ClosestNotWider(const std::vector<double>& averages, double windowsAverage);
// The QFont of a TFont object (Name, Height, Style, Pitch), sized in pixels as Windows
// sizes it at 96 DPI: a negative Height is the character height, a positive one the
// cell height. A null font gives the default form font (Tahoma, Height -11). For the
// Windows user interface faces the installed substitute closest in width is chosen
// and narrowed where still wider, so that captions that fit on Windows fit here.
QFont FontOf(const rt::Object* font);
// The colour of a TFont object (its Color), clWindowText for a null font.
QColor FontColorOf(const rt::Object* font);

// UTF-8 text of the runtime as a QString.
inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Typed reads of published properties, with a fallback for a property the class does
// not have. For a stand-in (an object of a class the runtime does not know) a name its
// base does not publish is read from what its text stored, when the kind fits.
std::int64_t OrdinalOf(const rt::Object& object, std::string_view name, std::int64_t fallback = 0);
bool BoolOf(const rt::Object& object, std::string_view name, bool fallback = false);
QString TextOf(const rt::Object& object, std::string_view name);
// The value name of an enumeration property ("alClient"), "" when there is none.
std::string EnumOf(const rt::Object& object, std::string_view name);
// Whether an element of a set property is present, by its name ("akRight").
bool HasElement(const rt::Object& object, std::string_view name, std::string_view element);
// The owned sub-object or referenced component a property holds, or nullptr.
rt::Object* ObjectOf(const rt::Object& object, std::string_view name);

// The effective colour and font of a control: its own, or its parent's where
// ParentColor/ParentFont are true, up to the form.
QColor ControlColor(const rt::Object& control);
QFont ControlFont(const rt::Object& control);
QColor ControlFontColor(const rt::Object& control);

// Applies the control's background and text colours to a widget's palette (window,
// base, button and their texts) and its font. fillBackground makes the widget paint
// its background in that colour.
void ApplyColorsAndFont(QWidget& widget, const rt::Object& control, bool fillBackground);

// ---------------------------------------------------------------------------------
// Captions with accelerator marks ('&' before the key letter, "&&" for a literal '&').
// Windows 10 hides the underline of accelerator keys until Alt is pressed, so a caption
// shows without its marks: "&Save" as "Save", "A && B" as "A & B".
QString ShownCaption(const QString& caption);
// The same caption written for a Qt widget that reads '&' as a mnemonic (buttons, group
// boxes, tabs): marks dropped and literal ampersands doubled, so the widget shows the
// caption as Windows does and registers no shortcut in the editor's window.
QString QtCaption(const QString& caption);

}  // namespace fw::preview
