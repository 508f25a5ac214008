#include "layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fw::rt {

namespace {

using i64 = std::int64_t;

constexpr i64 IntMax = std::numeric_limits<int>::max();
constexpr i64 IntMin = std::numeric_limits<int>::min();
// Deeper than the reader ever nests objects; a guard against loops, not a limit forms meet.
constexpr int MaxDepth = 1100;

// The ordinals of the enumerations the layout reads.
enum Align : i64 { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum AnchorBit : i64 { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
enum FormBorder : i64 { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

i64 Clamp32(i64 v) {
    return std::clamp(v, IntMin, IntMax);
}
int ToInt(i64 v) {
    return static_cast<int>(Clamp32(v));
}
// Sizes: never negative, never beyond the 32-bit range.
i64 ClampSize(i64 v) {
    return std::clamp<i64>(v, 0, IntMax);
}

// Windows' MulDiv: a * b / c rounded to the nearest, halves away from zero. a may be
// a sum of two 32-bit values; bounded so, the product fits.
i64 MulDiv(i64 a, i64 b, i64 c) {
    if (c == 0) return -1;
    constexpr i64 wide = (i64{1} << 32) - 1;
    i64 p = std::clamp(a, -wide, wide) * Clamp32(b);
    c = Clamp32(c);
    const bool negative = (p < 0) != (c < 0);
    p = p < 0 ? -p : p;
    c = c < 0 ? -c : c;
    const i64 q = (p + c / 2) / c;
    return negative ? -q : q;
}

// ---------------------------------------------------------------------------------
// Property access

i64 IntProp(const Object& o, std::string_view name, i64 fallback) {
    const Property* p = o.FindProperty(name);
    if (!p) return fallback;
    if (const auto* i = std::get_if<std::int64_t>(&o.Get(*p))) return Clamp32(*i);
    return fallback;
}

bool BoolProp(const Object& o, std::string_view name, bool fallback) {
    return IntProp(o, name, fallback ? 1 : 0) != 0;
}

void SetIntProp(Object& o, std::string_view name, i64 value) {
    const Property* p = o.FindProperty(name);
    if (!p || !std::holds_alternative<std::int64_t>(o.Get(*p))) return;
    o.Set(*p, Value(static_cast<std::int64_t>(Clamp32(value))));
}

// Whether the object has the property with a type of that name.
bool HasTypedProp(const Object& o, std::string_view name, std::string_view typeName) {
    const Property* p = o.FindProperty(name);
    return p && p->Type().Name == typeName;
}

struct Edges {
    i64 Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A margin set (Margins, Padding): each side 0 or more.
Edges EdgesOf(const Object* set) {
    if (!set) return {};
    return {ClampSize(IntProp(*set, "Left", 0)), ClampSize(IntProp(*set, "Top", 0)),
            ClampSize(IntProp(*set, "Right", 0)), ClampSize(IntProp(*set, "Bottom", 0))};
}

Edges EdgesOf(const Insets& i) {
    return {i.Left, i.Top, i.Right, i.Bottom};
}

Edges Sum(const Edges& a, const Edges& b) {
    return {a.Left + b.Left, a.Top + b.Top, a.Right + b.Right, a.Bottom + b.Bottom};
}

Insets ToInsets(const Edges& e) {
    return {ToInt(e.Left), ToInt(e.Top), ToInt(e.Right), ToInt(e.Bottom)};
}

struct Box {
    i64 L = 0, T = 0, W = 0, H = 0;
};

Box BoxOf(const Object& o) {
    return {IntProp(o, "Left", 0), IntProp(o, "Top", 0), ClampSize(IntProp(o, "Width", 0)),
            ClampSize(IntProp(o, "Height", 0))};
}

struct Size2 {
    i64 W = 0, H = 0;
};

i64 AlignOf(const Object& o) {
    const i64 a = IntProp(o, "Align", alNone);
    return a >= alNone && a <= alCustom ? a : alNone;
}

bool IsVisible(const Object& o) {
    return BoolProp(o, "Visible", true);
}

bool IsForm(const Object& o) {
    return o.GetClass().Has(CfForm);
}
bool IsPanel(const Object& o) {
    return o.InheritsFrom("TCustomPanel");
}
bool IsGroupBox(const Object& o) {
    return o.InheritsFrom("TCustomGroupBox");
}
bool IsTabControl(const Object& o) {
    return o.InheritsFrom("TCustomTabControl");
}

// Constraints bound a size: a minimum wins over a maximum, 0 means none.
void Constrain(const Object& o, i64& w, i64& h) {
    const Object* c = o.SubObject("Constraints");
    if (!c) return;
    const i64 minW = ClampSize(IntProp(*c, "MinWidth", 0)), maxW = ClampSize(IntProp(*c, "MaxWidth", 0));
    const i64 minH = ClampSize(IntProp(*c, "MinHeight", 0)), maxH = ClampSize(IntProp(*c, "MaxHeight", 0));
    if (minW > 0 && w < minW)
        w = minW;
    else if (maxW > 0 && w > maxW)
        w = maxW;
    if (minH > 0 && h < minH)
        h = minH;
    else if (maxH > 0 && h > maxH)
        h = maxH;
}

// Sets a control's bounds as SetBounds does: sizes not negative, within its
// constraints. Returns the bounds it took.
Box Put(Object& o, Box b) {
    b.W = ClampSize(b.W);
    b.H = ClampSize(b.H);
    Constrain(o, b.W, b.H);
    b = {Clamp32(b.L), Clamp32(b.T), ClampSize(b.W), ClampSize(b.H)};
    SetIntProp(o, "Left", b.L);
    SetIntProp(o, "Top", b.T);
    SetIntProp(o, "Width", b.W);
    SetIntProp(o, "Height", b.H);
    if (o.GetClass().Has(CfForm)) {
        // A form's client size follows its bounds.
        const Insets nc = NonClientInsets(o);
        SetIntProp(o, "ClientWidth", ClampSize(b.W - nc.Left - nc.Right));
        SetIntProp(o, "ClientHeight", ClampSize(b.H - nc.Top - nc.Bottom));
    }
    return b;
}

// Whether every published value of a font is still its initial one.
bool IsInitialFont(const Object& font) {
    for (const Property& p : font.GetClass().Slots()) {
        const DefaultValue& d = p.Info->Default;
        const Value& v = font.Get(p);
        if (d.Which == DefaultValue::Kind::Ordinal) {
            const auto* i = std::get_if<std::int64_t>(&v);
            if (i && *i != d.Ordinal) return false;
        } else if (d.Which == DefaultValue::Kind::Text) {
            const auto* s = std::get_if<std::string>(&v);
            if (s && *s != d.Text) return false;
        }
    }
    return true;
}

// The number of characters of a line of UTF-8 text, a tab counting as 8.
i64 CharCount(std::string_view line) {
    i64 n = 0;
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\t')
            n += 8;
        else if ((b & 0xC0) != 0x80)
            ++n;
    }
    return n;
}

// The lines of a text: LF or CR LF end a line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return lines;
}

// A caption as drawn with accelerator prefixes: "&&" is an ampersand, any other "&"
// marks the next character and is not drawn.
std::string StripAccelerators(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            out += '&';
            ++i;
        }
    }
    return out;
}

// The extra height of a single-line edit over its font's line height: the sunken
// 3D edge and the space inside it (4 borders a side), 3 a side when flat.
constexpr i64 EditChromeCtl3D = 8;
constexpr i64 EditChromeFlat = 6;
// An owner-drawn combo box's selection field is its ItemHeight plus this.
constexpr i64 OwnerDrawComboChrome = 6;
// A tab row is the line height plus this when TabHeight does not set it.
constexpr i64 TabRowPadding = 7;
// The frame of a tab control around its display area, and the gap between buttons
// and the display area of a button-style one.
constexpr i64 TabFrame = 4;
constexpr i64 TabButtonGap = 3;

Size2 WindowClientSize(const Object& c);

// A tab's width beyond its caption: the padding on both sides of a tab, more on a button.
constexpr i64 TabTextPadding = 12;
constexpr i64 ButtonTextPadding = 16;
// How far the first tab of a row starts in from either end of the row (tabs only).
constexpr i64 TabRowIndent = 2;

std::string TextProp(const Object& o, std::string_view name) {
    const Property* p = o.FindProperty(name);
    return p ? o.String(*p) : std::string();
}

// The captions of a tab control's tabs: the visible sheets of a page control, the pages
// of a tabbed notebook (its Pages list when it has no page objects), the Tabs of a tab
// control.
std::vector<std::string> TabCaptions(const Object& c) {
    std::vector<std::string> captions;
    if (c.InheritsFrom("TPageControl")) {
        for (const Object* child : c.Controls())
            if (child->InheritsFrom("TTabSheet") && BoolProp(*child, "TabVisible", true))
                captions.push_back(TextProp(*child, "Caption"));
    } else if (c.InheritsFrom("TTabbedNotebook")) {
        for (const Object* child : c.Controls())
            if (child->InheritsFrom("TTabPage")) captions.push_back(TextProp(*child, "Caption"));
        if (captions.empty())
            if (const Object* pages = c.SubObject("Pages")) captions = pages->Lines();
    } else if (const Object* tabs = c.SubObject("Tabs")) {
        captions = tabs->Lines();
    }
    return captions;
}

// The number of rows a tab control's tabs take. A tabbed notebook puts TabsPerRow tabs
// in each row. The others keep one row unless MultiLine is set or the tabs stand on a
// side (side tabs always wrap); then the tabs fill rows greedily along the control's
// length, each the width of its caption plus padding or TabWidth when that is set, a
// tab that does not fit starting the next row. Buttons have a gap between them.
i64 TabRowCount(const Object& c, const std::vector<std::string>& captions, const Object* font, bool buttons,
                bool side, const TextMeasurer& measure) {
    if (captions.empty()) return 0;
    const auto count = static_cast<i64>(captions.size());
    if (c.InheritsFrom("TTabbedNotebook")) {
        const i64 perRow = std::max<i64>(1, IntProp(c, "TabsPerRow", 3));
        return (count + perRow - 1) / perRow;
    }
    if (!BoolProp(c, "MultiLine", false) && !side) return 1;
    const Size2 client = WindowClientSize(c);
    const i64 length = side ? client.H : client.W;
    const i64 room = std::max<i64>(1, length - (buttons ? 0 : 2 * TabRowIndent));
    const i64 gap = buttons ? TabButtonGap : 0;
    const i64 fixedWidth = IntProp(c, "TabWidth", 0);
    i64 rows = 1, along = 0;
    bool rowUsed = false;
    for (const std::string& caption : captions) {
        const i64 width = fixedWidth > 0 ? fixedWidth
                                         : i64{measure.Measure(StripAccelerators(caption), font).Width} +
                                               (buttons ? ButtonTextPadding : TabTextPadding);
        if (rowUsed && along + width > room) {
            ++rows;
            along = 0;
        }
        along = std::min(along + width + gap, IntMax);
        rowUsed = true;
    }
    return rows;
}

// What a tab control keeps for its rows of tabs and frame around the display area.
Edges TabDisplayInsets(const Object& c, const TextMeasurer& measure) {
    const Object* font = EffectiveFont(c);
    if (c.InheritsFrom("TTabbedNotebook"))
        if (const Object* tabFont = c.SubObject("TabFont")) font = tabFont;
    const bool tabs = IntProp(c, "Style", 0) == 0;  // tsTabs; the others are buttons
    const i64 position = IntProp(c, "TabPosition", 0);
    const bool side = position == 2 || position == 3;  // tpLeft, tpRight
    const i64 rows = TabRowCount(c, TabCaptions(c), font, !tabs, side, measure);
    i64 row = 0;
    if (rows > 0) {
        const i64 tabHeight = IntProp(c, "TabHeight", 0);
        row = tabHeight > 0 ? tabHeight : measure.LineHeight(font) + TabRowPadding;
        if (!tabs) row += TabButtonGap;
    }
    const i64 depth = ClampSize(rows * row);
    Edges e;
    if (tabs) e = {TabFrame, TabFrame, TabFrame, TabFrame};
    switch (position) {
        case 1:  // tpBottom
            e.Bottom += depth;
            break;
        case 2:  // tpLeft
            e.Left += depth;
            break;
        case 3:  // tpRight
            e.Right += depth;
            break;
        default:  // tpTop
            e.Top += depth;
            break;
    }
    return e;
}

// The insets inside a control's window client area before its Padding: what panels,
// group boxes and tab controls draw there.
Edges ClientAdjust(const Object& c, const TextMeasurer& measure) {
    if (IsPanel(c)) {
        const i64 bevelWidth = ClampSize(IntProp(c, "BevelWidth", 1));
        i64 inset = ClampSize(IntProp(c, "BorderWidth", 0));
        if (IntProp(c, "BevelOuter", 0) != 0) inset += bevelWidth;  // not bvNone
        if (IntProp(c, "BevelInner", 0) != 0) inset += bevelWidth;
        return {inset, inset, inset, inset};
    }
    if (IsGroupBox(c)) {
        const Object* font = EffectiveFont(c);
        if (!BoolProp(c, "DefaultHeaderFont", true))
            if (const Object* header = c.SubObject("HeaderFont")) font = header;
        const i64 frame = BoolProp(c, "Ctl3D", true) ? 2 : 1;
        return {frame, frame + measure.LineHeight(font), frame, frame};
    }
    if (IsTabControl(c)) return TabDisplayInsets(c, measure);
    return {};
}

Edges PaddingOf(const Object& c) {
    return EdgesOf(c.SubObject("Padding"));
}

// The size of a control's window client area.
Size2 WindowClientSize(const Object& c) {
    const Edges nc = EdgesOf(NonClientInsets(c));
    const Box b = BoxOf(c);
    Size2 s{ClampSize(b.W - nc.Left - nc.Right), ClampSize(b.H - nc.Top - nc.Bottom)};
    if (IsForm(c)) {
        // A form's stored client size, when it has one, is what it keeps.
        const i64 cw = IntProp(c, "ClientWidth", 0), ch = IntProp(c, "ClientHeight", 0);
        if (cw > 0) s.W = cw;
        if (ch > 0) s.H = ch;
    }
    return s;
}

// The design-time client size a control's anchored children keep their distances to.
Size2 DesignClientSize(const Object& c) {
    // The reader keeps a stored value under the name as written, which may differ in case.
    for (const auto& [name, block] : c.StoredBlocks()) {
        if (EqualsIgnoringCase(name, "DesignSize") && block.Integers.size() >= 2)
            return {Clamp32(block.Integers[0]), Clamp32(block.Integers[1])};
    }
    return WindowClientSize(c);
}

bool AnyVisibleMenuItem(const Object& menu) {
    for (const Object* item : menu.ChildComponents())
        if (BoolProp(*item, "Visible", true)) return true;
    return false;
}

// ---------------------------------------------------------------------------------
// The layout pass

class Engine {
public:
    explicit Engine(const TextMeasurer& measure) : measure_(measure) {}

    void Run(Object& root) {
        if (!root.GetClass().Has(CfControl)) return;
        Snapshot(root);
        if (IsForm(root)) {
            const Edges nc = EdgesOf(NonClientInsets(root));
            const Size2 client = WindowClientSize(root);
            const Box b = BoxOf(root);
            Put(root, {b.L, b.T, client.W + nc.Left + nc.Right, client.H + nc.Top + nc.Bottom});
        }
        if (FitsChildren(root)) SizeToContent(root, 0);
        Layout(root, 0);
    }

private:
    const TextMeasurer& measure_;
    std::unordered_map<const Object*, Box> original_;        // bounds as loaded
    std::unordered_map<const Object*, Size2> designClient_;  // for anchors
    std::unordered_set<const Object*> active_;               // on the current path

    // Records every control's bounds as loaded (tamed), and its design client size.
    void Snapshot(Object& root) {
        std::vector<Object*> pending{&root};
        std::unordered_set<const Object*> seen{&root};
        while (!pending.empty()) {
            Object* o = pending.back();
            pending.pop_back();
            const Box b = BoxOf(*o);
            SetIntProp(*o, "Left", b.L);
            SetIntProp(*o, "Top", b.T);
            SetIntProp(*o, "Width", b.W);
            SetIntProp(*o, "Height", b.H);
            original_[o] = b;
            designClient_[o] = DesignClientSize(*o);
            for (Object* child : o->Controls())
                if (seen.insert(child).second) pending.push_back(child);
        }
    }

    // A container that sizes itself to its children.
    static bool FitsChildren(const Object& c) {
        if (!c.GetClass().Has(CfWinControl) || !BoolProp(c, "AutoSize", false)) return false;
        if (c.InheritsFrom("TCustomFlowPanel") || c.InheritsFrom("TCustomGridPanel")) return false;
        return IsForm(c) || IsPanel(c) || c.InheritsFrom("TCustomFrame") || c.InheritsFrom("TScrollBox");
    }

    // The rectangle children are aligned in, as the alignment works on it: it may be
    // inverted when the insets exceed the size.
    struct Area {
        i64 L = 0, T = 0, R = 0, B = 0;
    };
    Area AlignArea(const Object& c) const {
        const Size2 client = WindowClientSize(c);
        const Edges in = Sum(ClientAdjust(c, measure_), PaddingOf(c));
        return {in.Left, in.Top, client.W - in.Right, client.H - in.Bottom};
    }

    void Layout(Object& c, int depth) {
        if (depth > MaxDepth || !active_.insert(&c).second) return;
        PlaceChildren(c, depth);
        for (Object* child : c.Controls())
            if (!child->Controls().empty()) Layout(*child, depth + 1);
        active_.erase(&c);
    }

    void PlaceChildren(Object& c, int depth) {
        // A container that fits its children moves them itself; anchoring them to its
        // changing size would chase its own tail.
        if (!FitsChildren(c) && !PlacesChildrenItself(c)) {
            const auto found = designClient_.find(&c);
            const Size2 design = found != designClient_.end() ? found->second : DesignClientSize(c);
            const Size2 now = WindowClientSize(c);
            for (Object* child : c.Controls())
                if (AlignOf(*child) == alNone) Anchor(*child, design, now);
        }
        for (Object* child : c.Controls())
            SizeToContent(*child, depth + 1);
        if (IsControlBar(c)) {
            ArrangeBands(c);  // its children's Align does not apply
            return;
        }
        if (IsToolBar(c))
            ArrangeToolBar(c);
        else if (IsFlowPanel(c))
            ArrangeFlow(c);
        else if (IsGridPanel(c)) {
            ArrangeGrid(c);  // its children align within their cells
            return;
        } else if (IsStackPanel(c))
            ArrangeStack(c);
        AlignChildren(c);
        FillPages(c);
    }

    static bool IsToolBar(const Object& c) { return c.InheritsFrom("TToolBar"); }
    static bool IsControlBar(const Object& c) { return c.InheritsFrom("TCustomControlBar"); }
    // Bars that place their unaligned children themselves, so anchors do not move them.
    static bool IsFlowPanel(const Object& c) { return c.InheritsFrom("TCustomFlowPanel"); }
    static bool IsGridPanel(const Object& c) { return c.InheritsFrom("TCustomGridPanel"); }
    static bool IsStackPanel(const Object& c) { return c.InheritsFrom("TCustomStackPanel"); }
    // Containers that place their unaligned children themselves, so anchors do not
    // move them.
    static bool PlacesChildrenItself(const Object& c) {
        return IsToolBar(c) || IsControlBar(c) || IsFlowPanel(c) || IsGridPanel(c) || IsStackPanel(c);
    }

    // Moves or stretches a control as its anchors keep it to its parent's edges.
    void Anchor(Object& o, Size2 design, Size2 now) {
        const i64 anchors = IntProp(o, "Anchors", akLeft | akTop) & 0xF;
        if (anchors == (akLeft | akTop) || design.W <= 0 || design.H <= 0) return;
        const auto found = original_.find(&o);
        const Box orig = found != original_.end() ? found->second : BoxOf(o);
        Box b = BoxOf(o);
        if (anchors & akRight) {
            if (anchors & akLeft)
                b.W = now.W - (design.W - orig.W);
            else
                b.L = now.W - (design.W - orig.L);
        } else if (!(anchors & akLeft)) {
            b.L = MulDiv(orig.L + orig.W / 2, now.W, design.W) - b.W / 2;
        }
        if (anchors & akBottom) {
            if (anchors & akTop)
                b.H = now.H - (design.H - orig.H);
            else
                b.T = now.H - (design.H - orig.T);
        } else if (!(anchors & akTop)) {
            b.T = MulDiv(orig.T + orig.H / 2, now.H, design.H) - b.H / 2;
        }
        Put(o, b);
    }

    // The size a control gives itself from what it shows.
    void SizeToContent(Object& o, int depth) {
        if (depth > MaxDepth || active_.count(&o)) return;
        if (o.InheritsFrom("TCustomLabel")) {
            AutoSizeLabel(o);
        } else if (o.InheritsFrom("TCustomEdit") && !o.InheritsFrom("TCustomMemo")) {
            // Single-line edits take their height from the font while AutoSize is on
            // and they have a border.
            if (BoolProp(o, "AutoSize", false) && HasTypedProp(o, "BorderStyle", "TBorderStyle") &&
                IntProp(o, "BorderStyle", 0) == 1)
                SetHeight(o, measure_.LineHeight(EffectiveFont(o)) +
                                 (BoolProp(o, "Ctl3D", true) ? EditChromeCtl3D : EditChromeFlat));
        } else if (o.InheritsFrom("TCustomComboBox") && HasTypedProp(o, "Style", "TComboBoxStyle")) {
            // The system gives a drop-down combo box the height of its selection
            // field: from the font, or from ItemHeight when owner-drawn.
            switch (IntProp(o, "Style", 0)) {
                case 0:  // csDropDown
                case 2:  // csDropDownList
                    SetHeight(o, measure_.LineHeight(EffectiveFont(o)) + EditChromeCtl3D);
                    break;
                case 3:  // csOwnerDrawFixed
                case 4:  // csOwnerDrawVariable
                    SetHeight(o, ClampSize(IntProp(o, "ItemHeight", 16)) + OwnerDrawComboChrome);
                    break;
                default:  // csSimple keeps its height
                    break;
            }
        } else if (o.InheritsFrom("TImage")) {
            if (!BoolProp(o, "AutoSize", false)) return;
            const Object* picture = o.SubObject("Picture");
            if (!picture || picture->Graphic().Width <= 0 || picture->Graphic().Height <= 0) return;
            const Box b = BoxOf(o);
            Put(o, {b.L, b.T, picture->Graphic().Width, picture->Graphic().Height});
        } else if (IsToolBar(o)) {
            // Its rows are as high as the controls in them once they sized themselves.
            active_.insert(&o);
            for (Object* child : o.Controls())
                SizeToContent(*child, depth + 1);
            FitToolBar(o);
            active_.erase(&o);
        } else if (FitsChildren(o)) {
            active_.insert(&o);
            for (Object* child : o.Controls())
                SizeToContent(*child, depth + 1);
            FitToChildren(o);
            active_.erase(&o);
        }
    }

    void SetHeight(Object& o, i64 height) {
        const Box b = BoxOf(o);
        Put(o, {b.L, b.T, b.W, height});
    }

    // A label with AutoSize takes its caption's size; a word-wrapping one wraps at its
    // width. A right-justified one keeps its right edge.
    void AutoSizeLabel(Object& o) {
        if (!BoolProp(o, "AutoSize", false)) return;
        const Property* captionProp = o.FindProperty("Caption");
        const std::string caption = captionProp ? o.String(*captionProp) : std::string();
        std::string text = BoolProp(o, "ShowAccelChar", true) ? StripAccelerators(caption) : caption;
        if (text.empty()) text = " ";  // an empty label keeps a line's height
        const Object* font = EffectiveFont(o);
        const Box b = BoxOf(o);
        const TextSize size = BoolProp(o, "WordWrap", false) ? measure_.MeasureWrapped(text, font, ToInt(b.W))
                                                             : measure_.Measure(text, font);
        i64 left = b.L;
        if (IntProp(o, "Alignment", 0) == 1) left += b.W - ClampSize(size.Width);  // taRightJustify
        Put(o, {left, b.T, size.Width, size.Height});
    }

    static bool WrapsToWidth(const Object& o) {
        return o.InheritsFrom("TCustomLabel") && BoolProp(o, "AutoSize", false) &&
               BoolProp(o, "WordWrap", false);
    }

    // Whether a control's height depends on the width it is given: a word-wrapping
    // label, a tool bar that takes the height of its rows.
    static bool HeightFollowsWidth(const Object& o) {
        return WrapsToWidth(o) || (IsToolBar(o) && BoolProp(o, "AutoSize", false));
    }

    // ---------------------------------------------------------------------------------
    // Tool bars

    // The bar's buttons and other unaligned controls in rows (see ArrangeToolBar); with
    // AutoSize the bar takes the rows' height when its alignment leaves the height free.
    void FitToolBar(Object& bar) {
        const i64 rows = ArrangeToolBar(bar);
        if (rows < 0 || !BoolProp(bar, "AutoSize", false)) return;
        const i64 align = AlignOf(bar);
        if (align == alLeft || align == alRight || align == alClient) return;
        const Edges nc = EdgesOf(NonClientInsets(bar));
        SetHeight(bar, rows + nc.Top + nc.Bottom);
    }

    // A tool bar places its visible unaligned children itself, in z-order, left to right
    // from its client origin (the first one Indent further in), each row on top of the
    // next. A new row starts after a button with Wrap set, and, when Wrapable, before a
    // control that would cross the client area's right edge (unless it is the first of
    // its row). Buttons take ButtonWidth x ButtonHeight: wider to fit their caption when
    // the bar shows captions below the images (ShowCaptions without List), plus the
    // drop-down arrow for the drop-down styles. Separators and dividers keep their own
    // width and take ButtonHeight. Other controls keep their size. A row is as high as
    // its tallest control, and everything in a row sits at its top.
    // Returns the rows' total height, or -1 when the bar places nothing.
    i64 ArrangeToolBar(Object& bar) {
        // A separator written without a width, still at a button's initial width, is
        // as narrow as a new separator.
        constexpr i64 initialButtonWidth = 23, separatorWidth = 8;
        // The arrow part of a drop-down button.
        constexpr i64 dropDownArrowWidth = 15;
        // Room around a caption shown below the image.
        constexpr i64 captionPadding = 8;
        enum Style : i64 {
            tbsButton,
            tbsCheck,
            tbsDropDown,
            tbsSeparator,
            tbsDivider,
            tbsTextButton,
            tbsWholeDropDown
        };

        const i64 buttonWidth = ClampSize(IntProp(bar, "ButtonWidth", 23));
        const i64 buttonHeight = ClampSize(IntProp(bar, "ButtonHeight", 22));
        const bool wrapable = BoolProp(bar, "Wrapable", true);
        const bool captionsWiden = BoolProp(bar, "ShowCaptions", false) && !BoolProp(bar, "List", false);
        const i64 right = WindowClientSize(bar).W;
        const Object* font = EffectiveFont(bar);

        i64 x = ClampSize(IntProp(bar, "Indent", 0)), y = 0, rowHeight = 0;
        bool rowUsed = false, wrapAfter = false, any = false;
        for (Object* child : bar.Controls()) {
            if (!IsVisible(*child) || AlignOf(*child) != alNone) continue;
            const bool isButton = child->InheritsFrom("TToolButton");
            const Box own = BoxOf(*child);
            i64 w = own.W, h = own.H;
            if (isButton) {
                h = buttonHeight;
                const i64 style = IntProp(*child, "Style", tbsButton);
                if (style == tbsSeparator || style == tbsDivider) {
                    if (w == initialButtonWidth) w = separatorWidth;
                } else {
                    w = buttonWidth;
                    if (captionsWiden) {
                        const std::string caption = StripAccelerators(TextProp(*child, "Caption"));
                        w = std::max(w, i64{measure_.Measure(caption, font).Width} + captionPadding);
                    }
                    if (style == tbsDropDown || style == tbsWholeDropDown) w += dropDownArrowWidth;
                }
            }
            if (rowUsed && (wrapAfter || (wrapable && x + w > right))) {
                y = ClampSize(y + rowHeight);
                x = 0;
                rowHeight = 0;
            }
            const Box got = Put(*child, {x, y, w, h});
            x = ClampSize(x + got.W);
            rowHeight = std::max(rowHeight, got.H);
            rowUsed = any = true;
            wrapAfter = isButton && BoolProp(*child, "Wrap", false);
        }
        return any ? ClampSize(y + rowHeight) : -1;
    }

    // ---------------------------------------------------------------------------------
    // Arranging panels

    static Edges MarginsOf(const Object& o) {
        return BoolProp(o, "AlignWithMargins", false) ? EdgesOf(o.SubObject("Margins")) : Edges{};
    }
    // Places a control at an outer box that includes its margins.
    static Box PutOuter(Object& o, const Edges& m, Box outer) {
        return Put(
            o, {outer.L + m.Left, outer.T + m.Top, outer.W - m.Left - m.Right, outer.H - m.Top - m.Bottom});
    }
    static bool Arranged(const Object& child) { return IsVisible(child) && AlignOf(child) == alNone; }

    // The item of a panel's ControlCollection that names the control, or nullptr.
    static const Object* ControlItemOf(const Object& panel, const Object& control) {
        const Object* items = panel.SubObject("ControlCollection");
        if (!items) return nullptr;
        for (const ObjectPtr& item : items->Items()) {
            const Property* p = item->FindProperty("Control");
            if (p && item->ObjectValue(*p) == &control) return item.get();
        }
        return nullptr;
    }

    // A flow panel puts its visible unaligned children one after another along lines,
    // in the order of its FlowStyle (left to right or right to left in rows from the top
    // or the bottom, or top to bottom or bottom to top in columns from the left or the
    // right), each with its margins; with AutoWrap a control that would pass the end of
    // the line starts the next one. A line is as thick as its thickest control, and the
    // controls sit at the line's start edge.
    void ArrangeFlow(Object& panel) {
        const Area a = AlignArea(panel);
        const i64 style = IntProp(panel, "FlowStyle", 0);
        const bool columns = style >= 4 && style <= 7;
        const bool reverseMain = style == 1 || style == 3 || style == 5 || style == 7;
        const bool reverseCross = style == 2 || style == 3 || style == 6 || style == 7;
        const bool wrap = BoolProp(panel, "AutoWrap", true);
        const i64 mainLength = columns ? a.B - a.T : a.R - a.L;
        i64 pos = 0, line = 0, thickness = 0;
        for (Object* child : panel.Controls()) {
            if (!Arranged(*child)) continue;
            const Edges m = MarginsOf(*child);
            const Box b = BoxOf(*child);
            const i64 outerW = ClampSize(b.W + m.Left + m.Right), outerH = ClampSize(b.H + m.Top + m.Bottom);
            const i64 along = columns ? outerH : outerW, across = columns ? outerW : outerH;
            if (wrap && pos > 0 && pos + along > mainLength) {
                line = ClampSize(line + thickness);
                pos = 0;
                thickness = 0;
            }
            const i64 mainAt = columns ? (reverseMain ? a.B - pos - along : a.T + pos)
                                       : (reverseMain ? a.R - pos - along : a.L + pos);
            const i64 crossAt = columns ? (reverseCross ? a.R - line - across : a.L + line)
                                        : (reverseCross ? a.B - line - across : a.T + line);
            PutOuter(*child, m,
                     columns ? Box{crossAt, mainAt, outerW, outerH} : Box{mainAt, crossAt, outerW, outerH});
            pos = ClampSize(pos + along);
            thickness = std::max(thickness, across);
        }
    }

    // A stack panel stacks its visible unaligned children from the top (spoVertical) or
    // from the left (spoHorizontal), Spacing pixels apart, each with its margins. Across
    // the stack a control sits at the start, the centre or the end, or fills it, by its
    // ControlCollection item's positioning, or the panel's where the item says
    // sphpDefault / spvpDefault.
    void ArrangeStack(Object& panel) {
        enum Positioning : i64 { Start, Centre, End, Fill, Default };
        const Area a = AlignArea(panel);
        const bool horizontal = IntProp(panel, "Orientation", 0) == 1;
        const i64 spacing = ClampSize(IntProp(panel, "Spacing", 0));
        const char* across = horizontal ? "VerticalPositioning" : "HorizontalPositioning";
        const i64 panelAcross = IntProp(panel, across, Start);
        const i64 room = horizontal ? a.B - a.T : a.R - a.L;
        i64 pos = horizontal ? a.L : a.T;
        for (Object* child : panel.Controls()) {
            if (!Arranged(*child)) continue;
            const Object* item = ControlItemOf(panel, *child);
            i64 how = item ? IntProp(*item, across, Default) : Default;
            if (how < Start || how >= Default) how = panelAcross;
            const Edges m = MarginsOf(*child);
            const Box b = BoxOf(*child);
            const i64 outerW = ClampSize(b.W + m.Left + m.Right), outerH = ClampSize(b.H + m.Top + m.Bottom);
            i64 size = horizontal ? outerH : outerW;
            if (how == Fill) size = ClampSize(room);
            const i64 start = horizontal ? a.T : a.L;
            const i64 at = how == Centre ? start + (room - size) / 2
                           : how == End  ? start + room - size
                                         : start;
            const Box got = horizontal ? PutOuter(*child, m, {pos, at, outerW, size})
                                       : PutOuter(*child, m, {at, pos, size, outerH});
            pos =
                ClampSize(pos + (horizontal ? got.W + m.Left + m.Right : got.H + m.Top + m.Bottom) + spacing);
        }
    }

    // The sizes of a grid panel's columns or rows in a length: absolute ones take their
    // Value in pixels, automatic ones the widest (tallest) control placed in them alone,
    // percent ones share what is left by their Values; the last percent one takes the
    // rounding rest.
    std::vector<i64> CellSizes(const Object& panel, const Object* collection, bool columns, i64 length) {
        enum SizeStyle : i64 { Absolute, Percent, Auto };
        std::vector<i64> sizes;
        if (!collection) return sizes;
        const auto& items = collection->Items();
        sizes.assign(items.size(), 0);
        long double percentSum = 0;
        i64 fixed = 0, lastPercent = -1;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Object& item = *items[i];
            const i64 style = IntProp(item, "SizeStyle", Percent);
            const Property* vp = item.FindProperty("Value");
            const long double value = vp ? std::max<long double>(0, item.Float(*vp)) : 0;
            if (style == Absolute) {
                sizes[i] = ClampSize(static_cast<i64>(std::min<long double>(value, 1e9L)));
            } else if (style == Auto) {
                for (Object* child : panel.Controls()) {
                    const Object* ci = ControlItemOf(panel, *child);
                    if (!ci || !IsVisible(*child) || IntProp(*ci, columns ? "Column" : "Row", -1) != i64(i) ||
                        IntProp(*ci, columns ? "ColumnSpan" : "RowSpan", 1) != 1)
                        continue;
                    const Edges m = MarginsOf(*child);
                    const Box b = BoxOf(*child);
                    sizes[i] = std::max(sizes[i], columns ? b.W + m.Left + m.Right : b.H + m.Top + m.Bottom);
                }
            } else {
                percentSum += value;
                lastPercent = static_cast<i64>(i);
                continue;
            }
            fixed = ClampSize(fixed + sizes[i]);
        }
        const i64 rest = ClampSize(length - fixed);
        i64 given = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (IntProp(*items[i], "SizeStyle", Percent) != Percent) continue;
            if (static_cast<i64>(i) == lastPercent) {
                sizes[i] = ClampSize(rest - given);
                break;
            }
            const Property* vp = items[i]->FindProperty("Value");
            const long double value = vp ? std::max<long double>(0, items[i]->Float(*vp)) : 0;
            sizes[i] = percentSum > 0 ? ClampSize(static_cast<i64>(rest * value / percentSum)) : 0;
            given = ClampSize(given + sizes[i]);
        }
        return sizes;
    }

    // A grid panel puts each control its ControlCollection names in the cells of its
    // Column and Row, spanning ColumnSpan columns and RowSpan rows. In its cells a
    // control keeps its size and sits by its Anchors: at the left with akLeft, the right
    // with akRight, stretched with both, centred with neither (and likewise for top and
    // bottom); alClient fills the cells. Controls no item names stay where they are.
    void ArrangeGrid(Object& panel) {
        const Area a = AlignArea(panel);
        const std::vector<i64> cols = CellSizes(panel, panel.SubObject("ColumnCollection"), true, a.R - a.L);
        const std::vector<i64> rows = CellSizes(panel, panel.SubObject("RowCollection"), false, a.B - a.T);
        auto span = [](const std::vector<i64>& sizes, i64 first, i64 count, i64 origin) {
            i64 at = origin, size = 0;
            for (i64 i = 0; i < static_cast<i64>(sizes.size()) && i < first + count; ++i) {
                if (i < first)
                    at = ClampSize(at + sizes[static_cast<std::size_t>(i)]);
                else
                    size = ClampSize(size + sizes[static_cast<std::size_t>(i)]);
            }
            return std::pair{at, size};
        };
        for (Object* child : panel.Controls()) {
            if (!IsVisible(*child)) continue;
            const Object* item = ControlItemOf(panel, *child);
            if (!item) continue;
            const i64 col = IntProp(*item, "Column", -1), row = IntProp(*item, "Row", -1);
            if (col < 0 || row < 0 || col >= static_cast<i64>(cols.size()) ||
                row >= static_cast<i64>(rows.size()))
                continue;
            const auto [x, w] = span(cols, col, std::max<i64>(1, IntProp(*item, "ColumnSpan", 1)), a.L);
            const auto [y, h] = span(rows, row, std::max<i64>(1, IntProp(*item, "RowSpan", 1)), a.T);
            const Edges m = MarginsOf(*child);
            const Box b = BoxOf(*child);
            const i64 outerW = ClampSize(b.W + m.Left + m.Right), outerH = ClampSize(b.H + m.Top + m.Bottom);
            if (AlignOf(*child) == alClient) {
                PutOuter(*child, m, {x, y, w, h});
                continue;
            }
            const i64 anchors = IntProp(*child, "Anchors", akLeft | akTop);
            auto place = [](bool start, bool end, i64 at, i64 room, i64 size) {
                if (start && end) return std::pair{at, room};
                if (start) return std::pair{at, size};
                if (end) return std::pair{at + room - size, size};
                return std::pair{at + (room - size) / 2, size};
            };
            const auto [px, pw] = place(anchors & akLeft, anchors & akRight, x, w, outerW);
            const auto [py, ph] = place(anchors & akTop, anchors & akBottom, y, h, outerH);
            PutOuter(*child, m, {px, py, pw, ph});
        }
    }

    // ---------------------------------------------------------------------------------
    // Control bars

    // A control bar shows each visible child in a band of its own: a grabber 11 pixels
    // wide to its left, 2 pixels of band above it and 2 to its right and below it.
    // Children whose vertical ranges (as loaded) overlap share a row of bands; rows go
    // top to bottom, and the bands of a row left to right by Left (ties in z-order).
    // A child keeps its Left and Top unless that would put its grabber inside the band
    // before it (or left of the client area) or it above its own row's bands; then it
    // moves right or down just enough. A row's bands start below the previous row's.
    // The children's Align and Anchors do not apply.
    void ArrangeBands(Object& bar) {
        constexpr i64 grabber = 11, bandTop = 2, bandRight = 2, bandBottom = 2;
        struct Item {
            Object* Control;
            Box Bounds;
            std::size_t Z;
        };
        std::vector<Item> items;
        for (Object* child : bar.Controls())
            if (IsVisible(*child)) items.push_back({child, BoxOf(*child), items.size()});
        std::stable_sort(items.begin(), items.end(),
                         [](const Item& a, const Item& b) { return a.Bounds.T < b.Bounds.T; });
        // A child of no height still counts as one pixel high when grouping.
        const auto bottomOf = [](const Box& b) { return b.T + std::max<i64>(b.H, 1); };
        i64 rowTop = 0;
        for (std::size_t first = 0; first < items.size();) {
            std::size_t end = first + 1;
            i64 reach = bottomOf(items[first].Bounds);
            while (end < items.size() && items[end].Bounds.T < reach)
                reach = std::max(reach, bottomOf(items[end++].Bounds));
            const auto rowBegin = items.begin() + static_cast<std::ptrdiff_t>(first);
            const auto rowEnd = items.begin() + static_cast<std::ptrdiff_t>(end);
            std::sort(rowBegin, rowEnd, [](const Item& a, const Item& b) {
                return a.Bounds.L != b.Bounds.L ? a.Bounds.L < b.Bounds.L : a.Z < b.Z;
            });
            i64 bandLeft = 0, nextRowTop = rowTop;
            for (auto it = rowBegin; it != rowEnd; ++it) {
                const Box& b = it->Bounds;
                const Box got = Put(*it->Control, {std::max(b.L, bandLeft + grabber),
                                                   std::max(b.T, rowTop + bandTop), b.W, b.H});
                bandLeft = got.L + got.W + bandRight;
                nextRowTop = std::max(nextRowTop, got.T + got.H + bandBottom);
            }
            rowTop = nextRowTop;
            first = end;
        }
    }

    // Fits an AutoSize container around its visible children, in the dimensions its
    // own alignment leaves free. Unaligned children are moved to the start of the
    // client area when no aligned child holds that side.
    void FitToChildren(Object& c) {
        const Area area = AlignArea(c);
        bool any = false, anyUnaligned = false;
        bool horizontalAligned = false, verticalAligned = false;
        i64 minL = IntMax, minT = IntMax, maxR = IntMin, maxB = IntMin;
        i64 stackW = 0, stackH = 0, clientW = 0, clientH = 0;
        for (const Object* child : c.Controls()) {
            if (!IsVisible(*child)) continue;
            any = true;
            const Box b = BoxOf(*child);
            const Edges m =
                BoolProp(*child, "AlignWithMargins", false) ? EdgesOf(child->SubObject("Margins")) : Edges{};
            const i64 outerW = b.W + m.Left + m.Right, outerH = b.H + m.Top + m.Bottom;
            switch (AlignOf(*child)) {
                case alTop:
                case alBottom:
                    stackH += outerH;
                    verticalAligned = true;
                    break;
                case alLeft:
                case alRight:
                    stackW += outerW;
                    horizontalAligned = true;
                    break;
                case alClient:
                    clientW = std::max(clientW, outerW);
                    clientH = std::max(clientH, outerH);
                    horizontalAligned = verticalAligned = true;
                    break;
                default:
                    anyUnaligned = true;
                    minL = std::min(minL, b.L - m.Left);
                    minT = std::min(minT, b.T - m.Top);
                    maxR = std::max(maxR, b.L + b.W + m.Right);
                    maxB = std::max(maxB, b.T + b.H + m.Bottom);
                    break;
            }
        }
        if (!any) return;
        i64 dx = 0, dy = 0;
        if (anyUnaligned) {
            if (horizontalAligned)
                minL = std::min(minL, area.L);
            else
                dx = area.L - minL;
            if (verticalAligned)
                minT = std::min(minT, area.T);
            else
                dy = area.T - minT;
        }
        const i64 contentW = std::max(anyUnaligned ? maxR - minL : 0, stackW + clientW);
        const i64 contentH = std::max(anyUnaligned ? maxB - minT : 0, stackH + clientH);

        const Edges chrome = Sum(Sum(EdgesOf(NonClientInsets(c)), ClientAdjust(c, measure_)), PaddingOf(c));
        Box b = BoxOf(c);
        const i64 align = AlignOf(c);
        const bool widthFree = align != alTop && align != alBottom && align != alClient;
        const bool heightFree = align != alLeft && align != alRight && align != alClient;
        if (widthFree && (anyUnaligned || stackW > 0 || clientW > 0))
            b.W = contentW + chrome.Left + chrome.Right;
        if (heightFree && (anyUnaligned || stackH > 0 || clientH > 0))
            b.H = contentH + chrome.Top + chrome.Bottom;
        Put(c, b);
        if (dx != 0 || dy != 0) {
            for (Object* child : c.Controls()) {
                const i64 a = AlignOf(*child);
                if (a != alNone && a != alCustom) continue;
                const Box cb = BoxOf(*child);
                Put(*child, {cb.L + dx, cb.T + dy, cb.W, cb.H});
            }
        }
    }

    // Aligned controls in the order they take their places: by their position towards
    // their side (top ones by Top, bottom ones by bottom edge from the bottom up, ...),
    // ties in z-order, for the bottom and right sides in reverse z-order; client ones
    // in z-order.
    void AlignChildren(Object& c) {
        Area r = AlignArea(c);
        for (const i64 align : {alTop, alBottom, alLeft, alRight, alClient}) {
            std::vector<std::pair<Object*, i64>> list;
            for (Object* child : c.Controls()) {
                if (AlignOf(*child) != align || !IsVisible(*child)) continue;
                const Box b = BoxOf(*child);
                const i64 key = align == alTop      ? b.T
                                : align == alBottom ? b.T + b.H
                                : align == alLeft   ? b.L
                                : align == alRight  ? b.L + b.W
                                                    : 0;
                list.emplace_back(child, key);
            }
            if (align == alBottom || align == alRight) {
                std::reverse(list.begin(), list.end());
                std::stable_sort(list.begin(), list.end(),
                                 [](const auto& a, const auto& b) { return a.second > b.second; });
            } else if (align != alClient) {
                std::stable_sort(list.begin(), list.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
            }
            for (const auto& entry : list)
                Position(*entry.first, align, r);
        }
    }

    // Places one aligned control at its side of the remaining area and takes its
    // place from the area.
    void Position(Object& o, i64 align, Area& r) {
        const Edges m = BoolProp(o, "AlignWithMargins", false) ? EdgesOf(o.SubObject("Margins")) : Edges{};
        if ((align == alTop || align == alBottom) && HeightFollowsWidth(o)) {
            // The height depends on the width it is given.
            const Box b = BoxOf(o);
            Put(o, {b.L, b.T, r.R - r.L - m.Left - m.Right, b.H});
            if (IsToolBar(o))
                FitToolBar(o);
            else
                AutoSizeLabel(o);
        }
        const Box b = BoxOf(o);
        i64 w = r.R - r.L;
        if (w < 0 || align == alLeft || align == alRight) w = b.W + m.Left + m.Right;
        i64 h = r.B - r.T;
        if (h < 0 || align == alTop || align == alBottom) h = b.H + m.Top + m.Bottom;
        i64 left = r.L, top = r.T;
        switch (align) {
            case alTop:
                r.T += h;
                break;
            case alBottom:
                r.B -= h;
                top = r.B;
                break;
            case alLeft:
                r.L += w;
                break;
            case alRight:
                r.R -= w;
                left = r.R;
                break;
            default:
                break;
        }
        const Box got = Put(o, {left + m.Left, top + m.Top, w - m.Left - m.Right, h - m.Top - m.Bottom});
        // A control that did not take the size offered (constraints, no room) gives
        // back or takes the difference.
        const i64 dw = w - (got.W + m.Left + m.Right), dh = h - (got.H + m.Top + m.Bottom);
        switch (align) {
            case alTop:
                r.T -= dh;
                break;
            case alBottom:
                r.B += dh;
                break;
            case alLeft:
                r.L -= dw;
                break;
            case alRight:
                r.R += dw;
                break;
            case alClient:
                r.R += dw;
                r.B += dh;
                break;
            default:
                break;
        }
    }

    // Tab sheets fill their page control's display area, the pages of a tabbed notebook
    // its display area, notebook pages their notebook.
    void FillPages(Object& c) {
        const char* pageClass = c.InheritsFrom("TPageControl")      ? "TTabSheet"
                                : c.InheritsFrom("TTabbedNotebook") ? "TTabPage"
                                : c.InheritsFrom("TNotebook")       ? "TPage"
                                                                    : nullptr;
        if (!pageClass) return;
        const Rect r = ClientRect(c, measure_);
        for (Object* child : c.Controls())
            if (child->InheritsFrom(pageClass)) Put(*child, {r.Left, r.Top, r.Width(), r.Height()});
    }
};

}  // namespace

// ---------------------------------------------------------------------------------
// Public functions

Insets FormFrame::Total() const {
    const i64 border = ClampSize(i64{Frame} + BorderWidth);
    return ToInsets({border, ClampSize(border + Caption + MenuBar), border, border});
}

FormFrame FrameOf(const Object& form) {
    const WindowMetrics& m = Windows10Metrics;
    FormFrame f;
    switch (IntProp(form, "BorderStyle", bsSizeable)) {
        case bsNone:
            break;
        case bsSingle:
        case bsDialog:
            f.Frame = m.FixedFrame;
            f.Caption = m.CaptionHeight;
            break;
        case bsToolWindow:
            f.Frame = m.FixedFrame;
            f.Caption = m.SmallCaptionHeight;
            f.SmallCaption = true;
            break;
        case bsSizeToolWin:
            f.Frame = m.SizingFrame;
            f.Caption = m.SmallCaptionHeight;
            f.SmallCaption = true;
            break;
        default:  // bsSizeable, and values out of range as the default
            f.Frame = m.SizingFrame;
            f.Caption = m.CaptionHeight;
            break;
    }
    if (const Object* menu = form.SubObject("Menu"); menu && AnyVisibleMenuItem(*menu))
        f.MenuBar = m.MenuBarHeight;
    f.BorderWidth = ToInt(ClampSize(IntProp(form, "BorderWidth", 0)));
    return f;
}

TextSize TextMeasurer::MeasureWrapped(std::string_view text, const Object* font, int maxWidth) const {
    // Words are added while the line's width, summed word by word, fits; the lines are
    // then measured whole.
    const i64 spaceWidth = Measure(" ", font).Width;
    const i64 lineHeight = LineHeight(font);
    i64 width = 0, height = 0;
    const auto emit = [&](i64 lineWidth) {
        width = std::max(width, lineWidth);
        height = ClampSize(height + lineHeight);
    };
    for (const std::string_view paragraph : SplitLines(text)) {
        const i64 whole = Measure(paragraph, font).Width;
        if (whole <= maxWidth) {
            emit(whole);
            continue;
        }
        // Words are added while the line's width, summed word by word, fits. The sums
        // are also the widths reported, so that wrapping again at the result's width
        // breaks the same lines.
        i64 lineWidth = -1;  // no word on the line yet
        for (std::size_t start = 0;;) {
            const std::size_t space = paragraph.find(' ', start);
            const std::string_view word =
                paragraph.substr(start, space == std::string_view::npos ? space : space - start);
            const i64 wordWidth = Measure(word, font).Width;
            if (lineWidth < 0) {
                lineWidth = wordWidth;
            } else if (lineWidth + spaceWidth + wordWidth <= maxWidth) {
                lineWidth += spaceWidth + wordWidth;
            } else {
                emit(lineWidth);
                lineWidth = wordWidth;
            }
            if (space == std::string_view::npos) break;
            start = space + 1;
        }
        emit(lineWidth);
    }
    return {ToInt(width), ToInt(height)};
}

int TextMeasurer::LineHeight(const Object* font) const {
    return Measure("0", font).Height;
}

TextSize EstimatingTextMeasurer::Measure(std::string_view text, const Object* font) const {
    const i64 pixelHeight = FontPixelHeight(font);
    const i64 em = std::clamp<i64>(pixelHeight < 0 ? -pixelHeight : pixelHeight - 2, 1, IntMax);
    const i64 lineHeight = em + 2;
    i64 width = 0, lines = 0;
    for (const std::string_view line : SplitLines(text)) {
        const i64 chars = std::min(CharCount(line), IntMax);
        width = std::max(width, (chars * em + 1) / 2);
        lines = std::min(lines + 1, IntMax);
    }
    return {ToInt(width), ToInt(lines * lineHeight)};
}

const TextMeasurer& DefaultTextMeasurer() {
    static const EstimatingTextMeasurer measurer;
    return measurer;
}

int FontPixelHeight(const Object* font) {
    constexpr i64 initialHeight = -11, initialSize = 8;
    if (!font) return static_cast<int>(initialHeight);
    const i64 height = IntProp(*font, "Height", initialHeight);
    const i64 size = IntProp(*font, "Size", initialSize);
    if ((height == initialHeight && size != initialSize && size > 0) || (height == 0 && size > 0))
        return ToInt(-MulDiv(size, 96, 72));
    return height == 0 ? static_cast<int>(initialHeight) : ToInt(height);
}

const Object* EffectiveFont(const Object& control) {
    const Object* o = &control;
    const Object* fallback = nullptr;
    for (int depth = 0; o && depth <= MaxDepth; ++depth) {
        const Object* font = o->SubObject("Font");
        if (font && !fallback) fallback = font;
        const bool parentFont = BoolProp(*o, "ParentFont", false);
        if (font && (!parentFont || !IsInitialFont(*font))) return font;
        if (!o->Parent()) return font ? font : fallback;
        o = o->Parent();
    }
    return fallback;
}

Insets NonClientInsets(const Object& control) {
    if (IsForm(control)) return FrameOf(control).Total();
    const WindowMetrics& m = Windows10Metrics;
    i64 around = 0;
    // A panel draws its BorderWidth inside its client area; other windowed controls
    // keep theirs outside it.
    if (!IsPanel(control)) around += ClampSize(IntProp(control, "BorderWidth", 0));
    if (HasTypedProp(control, "BorderStyle", "TBorderStyle") && IntProp(control, "BorderStyle", 0) == 1)
        around += BoolProp(control, "Ctl3D", true) ? m.ClientEdge : m.FlatBorder;
    Edges e{around, around, around, around};
    if (HasTypedProp(control, "BevelKind", "TBevelKind") && IntProp(control, "BevelKind", 0) != 0) {
        const i64 bevelWidth = ClampSize(IntProp(control, "BevelWidth", 1));
        i64 edge = 0;
        if (IntProp(control, "BevelInner", 0) != 0) edge += bevelWidth;
        if (IntProp(control, "BevelOuter", 0) != 0) edge += bevelWidth;
        const i64 edges = IntProp(control, "BevelEdges", 0xF);
        if (edges & 1) e.Left += edge;
        if (edges & 2) e.Top += edge;
        if (edges & 4) e.Right += edge;
        if (edges & 8) e.Bottom += edge;
    }
    if (control.InheritsFrom("TToolWindow")) {
        // Tool bars, cool bars and action bars draw a 1-pixel line for each of EdgeInner
        // and EdgeOuter that is not esNone on the sides EdgeBorders lists, outside
        // their BorderWidth.
        const i64 edge =
            (IntProp(control, "EdgeInner", 0) != 0 ? 1 : 0) + (IntProp(control, "EdgeOuter", 0) != 0 ? 1 : 0);
        const i64 sides = IntProp(control, "EdgeBorders", 0);
        if (sides & 1) e.Left += edge;  // ebLeft
        if (sides & 2) e.Top += edge;   // ebTop
        if (sides & 4) e.Right += edge;
        if (sides & 8) e.Bottom += edge;
    }
    return ToInsets({ClampSize(e.Left), ClampSize(e.Top), ClampSize(e.Right), ClampSize(e.Bottom)});
}

Rect ClientRect(const Object& control, const TextMeasurer& measure) {
    const Size2 client = WindowClientSize(control);
    const Edges in = ClientAdjust(control, measure);
    const i64 left = std::min(in.Left, client.W), top = std::min(in.Top, client.H);
    const i64 right = std::max(left, client.W - in.Right), bottom = std::max(top, client.H - in.Bottom);
    return {ToInt(left), ToInt(top), ToInt(right), ToInt(bottom)};
}

void LayoutForm(Object& root, const TextMeasurer& measure) {
    Engine(measure).Run(root);
}

}  // namespace fw::rt
