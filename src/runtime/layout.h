#pragma once
// Layout of a loaded form as the component library does it at run time on Windows 10
// at 96 DPI, worked out without a screen: the form's outer size from its client size
// and frame, client areas of containers, alignment with margins and padding, anchors,
// and the sizes controls give themselves (AutoSize) with a pluggable text measurer.
// The preview then only places widgets at the bounds this leaves in the objects.
//
// Every value is a whole number of pixels. Hostile values are tamed: sizes are never
// negative, sums saturate at the 32-bit range, and nesting is bounded.

#include <string_view>

#include "object.h"

namespace fw::rt {

// A rectangle, Right and Bottom exclusive.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Thickness on each side.
struct Insets {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const Insets&, const Insets&) = default;
};

// The system metrics of window frames: Windows 10 at 96 DPI with the default theme.
// The preview draws its own title bar and menu bar with these sizes.
struct WindowMetrics {
    // A title bar (SM_CYCAPTION: the caption height 22 plus its 1-pixel border line).
    int CaptionHeight = 23;
    // A tool window's title bar (SM_CYSMCAPTION). Windows 10 keeps small captions as
    // tall as normal ones; only older themes made them shorter.
    int SmallCaptionHeight = 23;
    // The frame of a resizable window on each side (SM_CXSIZEFRAME 4 plus the padded
    // border SM_CXPADDEDBORDER 4). Most of it is the invisible resize border, but it
    // belongs to the window's bounds.
    int SizingFrame = 8;
    // The frame of a fixed-size window with a caption on each side (SM_CXFIXEDFRAME);
    // the padded border is added to resizable frames only.
    int FixedFrame = 3;
    // A single-row menu bar (SM_CYMENU: the menu height 19 plus its 1-pixel line).
    int MenuBarHeight = 20;
    // A sunken client edge (WS_EX_CLIENTEDGE, SM_CXEDGE), as bsSingle borders of 3D
    // controls draw; a flat single border (WS_BORDER, SM_CXBORDER) is 1.
    int ClientEdge = 2;
    int FlatBorder = 1;
};
inline constexpr WindowMetrics Windows10Metrics{};

// The non-client parts of a form's window, from its BorderStyle, Menu and BorderWidth.
struct FormFrame {
    int Frame = 0;              // each side; 0 for bsNone
    int Caption = 0;            // the title bar's height; 0 for none
    bool SmallCaption = false;  // a tool window's title bar
    int MenuBar = 0;            // the menu bar's height; 0 without a menu bar
    int BorderWidth = 0;        // the form's own border inside the frame, each side
    // The whole non-client thickness around the client area.
    Insets Total() const;
};
FormFrame FrameOf(const Object& form);

// The size of a text drawn in a font.
struct TextSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TextSize&, const TextSize&) = default;
};

// Measures text for the sizes controls give themselves. The font is a control's Font
// object (Name, Height or Size, Style), or nullptr for the default font (Tahoma,
// Height -11).
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // The text on one line per line break (LF or CR LF), tabs expanded: the widest
    // line's width, the lines' total height.
    virtual TextSize Measure(std::string_view text, const Object* font) const = 0;
    // The text broken into lines at spaces so that each fits maxWidth where it can, as
    // word-wrapping labels are drawn; a word wider than maxWidth keeps a line of its
    // own and widens the result. The default breaks greedily with Measure.
    virtual TextSize MeasureWrapped(std::string_view text, const Object* font, int maxWidth) const;
    // The height of one line of text (the font's cell height).
    virtual int LineHeight(const Object* font) const;
};

// The estimate used when there is no screen to measure with. For a font of em height
// h pixels (FontPixelHeight: -Height for the usual negative Height, Height - 2 for a
// positive cell height, at least 1): every character is h/2 wide (a line of n
// characters is (n*h + 1)/2, a tab counts 8 characters), a line is h + 2 high. Styles
// and faces are ignored. Tahoma 8 (Height -11) gives 13-pixel lines, as it really has.
class EstimatingTextMeasurer : public TextMeasurer {
public:
    TextSize Measure(std::string_view text, const Object* font) const override;
};
const TextMeasurer& DefaultTextMeasurer();

// A font's height in pixels as the font object says it: Height, which forms write
// (negative: the character height; positive: the cell height including leading); when
// Height is still the initial -11 but Size was set to something else than 8, Size in
// points at 96 DPI, negated. -11 for nullptr.
int FontPixelHeight(const Object* font);

// The font a control draws with: its own Font when ParentFont is False or its own
// font differs from the initial one (setting a font makes it the control's own), else
// its parent's, up the chain. nullptr when no control on the way has a Font.
const Object* EffectiveFont(const Object& control);

// The thickness of a control's non-client area, around the window client area in
// which its children's Left and Top count: a form's frame, title bar, menu bar and
// BorderWidth; a windowed control's BorderWidth (not a panel's, which is inside), a
// bsSingle border (sunken client edge with Ctl3D, else flat), BevelKind edges, and the
// EdgeBorders lines of tool bars, cool bars and action bars (1 pixel a side for each of
// EdgeInner and EdgeOuter that is not esNone).
Insets NonClientInsets(const Object& control);

// The area a control aligns its children in, in its client coordinates, before its
// Padding: a form's client size; a panel's client area inside its BorderWidth and
// bevels; a group box's or radio group's below the caption band (the font's line
// height) and inside its frame; a page or tab control's display area beside its rows
// of tabs (one row, or as many as the tabs need when MultiLine or on a side; a tabbed
// notebook TabsPerRow tabs a row); a tab sheet, scroll box or frame its client area;
// any other control (0, 0, Width, Height) less its non-client parts. Never of negative
// size.
Rect ClientRect(const Object& control, const TextMeasurer& measure = DefaultTextMeasurer());

// Lays out a whole loaded form (or frame) in place, setting Left, Top, Width and
// Height of every control, and a form's Width, Height, ClientWidth and ClientHeight:
// - a form's outer size from its client size and frame (or its client size from its
//   outer size when it stores none: a ClientWidth or ClientHeight of 0 or less counts
//   as not stored, as the component library reads it), then AutoSize and Constraints;
// - per container, top-down: anchored children follow the change of the container's
//   client size from its design size (its DesignSize, else the client size of its
//   bounds as loaded); children size themselves (AutoSize of labels, edits, combo
//   boxes, images, and of panels, frames and scroll boxes that fit their visible
//   children, moving unaligned ones to the start of their client area);
//   aligned children take their places in ClientRect less Padding, in the order
//   alTop, alBottom, alLeft, alRight, alClient, with their Margins when
//   AlignWithMargins; tab sheets and notebook pages fill their control's display area;
// - a flow panel puts its unaligned children along wrapping lines in its FlowStyle's
//   order; a stack panel stacks them Spacing apart with its items' positioning across;
//   a grid panel puts the controls its ControlCollection names into their cells, with
//   column and row sizes absolute, automatic or by percent;
// - a tool bar puts its unaligned children in rows of buttons (and takes the rows'
//   height with AutoSize); a control bar keeps each child in a band of its own, with
//   room for the band's grabber, whatever the child's Align;
// - Constraints bound every size set. Hidden controls take no place but keep their
//   bounds; alCustom controls stay where they are; the children of a container that
//   fits its children are not anchored to it.
// Anchors are worked out from the bounds as loaded, so a form is laid out once, after
// it was read; laying it out again would move anchored controls a second time.
void LayoutForm(Object& root, const TextMeasurer& measure = DefaultTextMeasurer());

}  // namespace fw::rt
