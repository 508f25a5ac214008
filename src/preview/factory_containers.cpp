// The containers and decorations: panels, scroll boxes, frames, bevels, shapes, images,
// paint boxes, splitters, notebooks and page controls, tab controls and tab sets,
// headers, tool, cool and control bars, status bars, page scrollers, action bars, the
// data-aware control grid and image, the media player, the animation box and the OLE
// container, each drawn as a Windows 10 desktop at 96 DPI shows it at run time.
//
// Each widget copies what it draws out of its control when it is made: painting never
// reaches back into the live objects, which may go before a widget is repainted.
// Containers give the realiser a client widget inset by what Windows keeps outside a
// control's client area (borders, bevel edges, a tool window's edges), so that child
// controls sit at their own Left and Top inside it.

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPolygon>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "preview/classrows.h"
#include "preview/controlvalues.h"
#include "preview/controlfactory.h"
#include "preview/vcllook.h"

namespace fw::preview {

namespace {

// ---------------------------------------------------------------------------------
// Reading values

// Lists a control shows (tabs, panels, sections, pages, bands, grid cells) are cut at
// this many entries: more cannot be told apart on a screen, and a hostile count must
// not make the preview build millions of parts.
constexpr std::size_t MaxParts = 10000;
// Tabs, status panels and header sections are cut at this many: a strip of more could
// not show them, and each costs a label or a layout step.
constexpr std::size_t MaxStripParts = 1000;
// Pixel values are kept within this range so that sums cannot overflow.
constexpr int MaxPixels = 100000;
// A horizontal scroll bar's height and a vertical one's width (SM_CYHSCROLL).
constexpr int ScrollBarSize = 17;

// What a Windows 10 theme draws tabs, tab panes, headers and status bars with.
const QColor ThemeBorder(0xD9, 0xD9, 0xD9);
const QColor ThemeTabFace(0xF0, 0xF0, 0xF0);
const QColor ThemePane(0xFF, 0xFF, 0xFF);
const QColor ThemeEditBorder(0x82, 0x87, 0x90);
const QColor ThemeDivider(0xE5, 0xE5, 0xE5);
const QColor ThemeCheckedFace(0xCC, 0xE8, 0xFF);
const QColor ThemeCheckedBorder(0x99, 0xD1, 0xFF);
const QColor ThemeGripDot(0xB8, 0xB8, 0xB8);

int IntOf(const rt::Object& object, std::string_view name, int fallback, int low = -MaxPixels,
          int high = MaxPixels) {
    return ClampInt(OrdinalOf(object, name, fallback), low, high);
}

// The items of a collection property, at most MaxParts of them.
std::vector<const rt::Object*> ItemsOf(const rt::Object& object, std::string_view name) {
    std::vector<const rt::Object*> items;
    if (const rt::Object* collection = ObjectOf(object, name))
        for (const auto& item : collection->Items()) {
            if (items.size() >= MaxParts) break;
            if (item) items.push_back(item.get());
        }
    return items;
}

// The child controls of a class, in z-order, at most MaxParts of them.
std::vector<rt::Object*> ChildrenOf(const rt::Object& control, std::string_view className) {
    std::vector<rt::Object*> children;
    for (rt::Object* child : control.Controls()) {
        if (children.size() >= MaxParts) break;
        if (child && child->InheritsFrom(className)) children.push_back(child);
    }
    return children;
}

// A Windows font as the shell uses it for status bars with UseSystemFont (Segoe UI 9).
QFont SystemUiFont() {
    QFont font(MapFontFamily("Segoe UI"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// ---------------------------------------------------------------------------------
// Drawing

// Lines of single pixels, both ends included.
void HLine(QPainter& p, int x1, int x2, int y, const QColor& color) {
    if (x2 < x1) std::swap(x1, x2);
    p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), color);
}

void VLine(QPainter& p, int x, int y1, int y2, const QColor& color) {
    if (y2 < y1) std::swap(y1, y2);
    p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), color);
}

// Rings of width pixels: the left and top sides in topLeft, the right and bottom sides
// (and so the top-right and bottom-left corners) in bottomRight. r shrinks by the rings
// drawn, as Windows' 3D frames leave the inside for what follows.
void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        VLine(p, r.left(), r.top(), r.bottom(), topLeft);
        HLine(p, r.left(), r.right(), r.top(), topLeft);
        VLine(p, r.right(), r.top(), r.bottom(), bottomRight);
        HLine(p, r.left(), r.right(), r.bottom(), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

// A push button's raised edge and a pressed one's sunken edge, two pixels each.
void RaisedEdge(QPainter& p, QRect r) {
    Frame3D(p, r, ColorOf(clBtnHighlight), ColorOf(cl3DDkShadow), 1);
    Frame3D(p, r, ColorOf(cl3DLight), ColorOf(clBtnShadow), 1);
}

void SunkenEdge(QPainter& p, QRect r) {
    Frame3D(p, r, ColorOf(clBtnShadow), ColorOf(clBtnHighlight), 1);
    Frame3D(p, r, ColorOf(cl3DDkShadow), ColorOf(cl3DLight), 1);
}

// The face of a latched button: the button face dotted with the highlight colour.
void LatchedFace(QPainter& p, const QRect& r) {
    p.fillRect(r, ColorOf(clBtnFace));
    p.fillRect(r, QBrush(ColorOf(clBtnHighlight), Qt::Dense4Pattern));
}

// An etched line across (horizontal) or down (vertical): shadow, then highlight.
void EtchedHLine(QPainter& p, int x1, int x2, int y) {
    HLine(p, x1, x2, y, ColorOf(clBtnShadow));
    HLine(p, x1, x2, y + 1, ColorOf(clBtnHighlight));
}

void EtchedVLine(QPainter& p, int x, int y1, int y2) {
    VLine(p, x, y1, y2, ColorOf(clBtnShadow));
    VLine(p, x + 1, y1, y2, ColorOf(clBtnHighlight));
}

// A small filled triangle pointing in a direction, centred on c.
void Arrow(QPainter& p, QPoint c, Qt::ArrowType direction, int size, const QColor& color) {
    for (int i = 0; i < size; ++i) {
        const int half = size - 1 - i;
        switch (direction) {
            case Qt::DownArrow:
                HLine(p, c.x() - half, c.x() + half, c.y() - size / 2 + i, color);
                break;
            case Qt::UpArrow:
                HLine(p, c.x() - half, c.x() + half, c.y() + size / 2 - i, color);
                break;
            case Qt::RightArrow:
                VLine(p, c.x() - size / 2 + i, c.y() - half, c.y() + half, color);
                break;
            default:
                VLine(p, c.x() + size / 2 - i, c.y() - half, c.y() + half, color);
                break;
        }
    }
}

// A pair of small scroll buttons, as tab rows and tab sets show when their tabs do not
// fit.
void ScrollButtons(QPainter& p, const QRect& r, bool horizontal) {
    QRect first = r, second = r;
    if (horizontal) {
        first.setWidth(r.width() / 2);
        second.setLeft(first.right() + 1);
    } else {
        first.setHeight(r.height() / 2);
        second.setTop(first.bottom() + 1);
    }
    for (const QRect& b : {first, second}) {
        p.fillRect(b, ColorOf(clBtnFace));
        RaisedEdge(p, b);
    }
    Arrow(p, first.center(), horizontal ? Qt::LeftArrow : Qt::UpArrow, 4, ColorOf(clWindowText));
    Arrow(p, second.center(), horizontal ? Qt::RightArrow : Qt::DownArrow, 4, ColorOf(clWindowText));
}

// The dotted grip of a Windows 10 rebar band, down a column from top to bottom.
void DottedGrip(QPainter& p, int x, int top, int bottom) {
    for (int y = top; y + 1 <= bottom; y += 4) {
        p.fillRect(QRect(x + 1, y + 1, 2, 2), ColorOf(clBtnHighlight));
        p.fillRect(QRect(x, y, 2, 2), ThemeGripDot);
    }
}

// ---------------------------------------------------------------------------------
// The non-client area of a windowed control

// A window's border from BorderStyle and Ctl3D.
enum class WindowBorder { None, Flat, Sunken, Themed };

struct NonClient {
    WindowBorder Border = WindowBorder::None;
    // BevelKind edges inside the border.
    std::string BevelKind;
    std::string BevelInner, BevelOuter;
    int BevelWidth = 1;
    std::array<bool, 4> BevelEdges{true, true, true, true};  // left, top, right, bottom
    // A tool window's edges (tool bars, cool bars, action bars).
    std::string EdgeInner, EdgeOuter;
    std::array<bool, 4> EdgeBorders{false, false, false, false};
    // The space inside all edges kept in the control's colour.
    int BorderWidth = 0;

    int BorderThickness() const {
        switch (Border) {
            case WindowBorder::Flat:
                return 1;
            case WindowBorder::Sunken:
            case WindowBorder::Themed:
                return 2;
            default:
                return 0;
        }
    }
    int BevelThickness() const {
        if (BevelKind.empty() || BevelKind == "bkNone") return 0;
        return (BevelInner != "bvNone" ? BevelWidth : 0) + (BevelOuter != "bvNone" ? BevelWidth : 0);
    }
    int EdgeThickness() const { return (EdgeInner != "esNone" ? 1 : 0) + (EdgeOuter != "esNone" ? 1 : 0); }

    QMargins Margins() const {
        const int around = BorderThickness() + BorderWidth;
        const int bevel = BevelThickness(), edge = EdgeThickness();
        auto side = [&](int i) {
            return around + (BevelEdges[static_cast<std::size_t>(i)] ? bevel : 0) +
                   (EdgeBorders[static_cast<std::size_t>(i)] ? edge : 0);
        };
        return QMargins(side(0), side(1), side(2), side(3));
    }

    // Draws the edges around whole; the BorderWidth band keeps what is under it.
    void Paint(QPainter& p, QRect r, const QColor& back) const {
        switch (Border) {
            case WindowBorder::Flat: {
                Frame3D(p, r, ColorOf(clWindowFrame), ColorOf(clWindowFrame), 1);
                break;
            }
            case WindowBorder::Sunken:
                SunkenEdge(p, r);
                r.adjust(2, 2, -2, -2);
                break;
            case WindowBorder::Themed:
                Frame3D(p, r, ThemeEditBorder, ThemeEditBorder, 1);
                Frame3D(p, r, back, back, 1);
                break;
            default:
                break;
        }
        if (BevelThickness() > 0) PaintCuts(p, r, BevelOuter, BevelInner, BevelEdges, BevelKind == "bkFlat");
        if (EdgeThickness() > 0) {
            auto cut = [](const std::string& edge) {
                return edge == "esRaised"    ? std::string("bvRaised")
                       : edge == "esLowered" ? "bvLowered"
                                             : "bvNone";
            };
            PaintCuts(p, r, cut(EdgeOuter), cut(EdgeInner), EdgeBorders, false);
        }
    }

private:
    // A one-pixel line per cut that is not bvNone, outer first, on the sides present;
    // the rest of a wider bevel is plain. A flat bevel draws its lines in the shadow
    // colour.
    static void PaintCuts(QPainter& p, QRect& r, const std::string& outer, const std::string& inner,
                          const std::array<bool, 4>& sides, bool flat) {
        for (const std::string* cut : {&outer, &inner}) {
            if (*cut == "bvNone" || cut->empty() || r.width() <= 0 || r.height() <= 0) continue;
            const bool lowered = *cut == "bvLowered";
            const QColor topLeft = flat || lowered ? ColorOf(clBtnShadow) : ColorOf(clBtnHighlight);
            const QColor bottomRight = flat      ? ColorOf(clBtnShadow)
                                       : lowered ? ColorOf(clBtnHighlight)
                                                 : ColorOf(clBtnShadow);
            if (sides[0]) VLine(p, r.left(), r.top(), r.bottom(), topLeft);
            if (sides[1]) HLine(p, r.left(), r.right(), r.top(), topLeft);
            if (sides[2]) VLine(p, r.right(), r.top(), r.bottom(), bottomRight);
            if (sides[3]) HLine(p, r.left(), r.right(), r.bottom(), bottomRight);
            r.adjust(sides[0] ? 1 : 0, sides[1] ? 1 : 0, sides[2] ? -1 : 0, sides[3] ? -1 : 0);
        }
    }
};

// The non-client area of a control. themed: a bsSingle border with Ctl3D draws as a
// themed control's thin frame rather than the classic sunken edge. A panel keeps its
// BorderWidth inside its client area and draws it itself.
NonClient NonClientOf(const rt::Object& control, bool themed) {
    NonClient nc;
    const rt::Property* border = control.FindProperty("BorderStyle");
    if (border && border->Type().Name == "TBorderStyle" && EnumOf(control, "BorderStyle") == "bsSingle") {
        if (!BoolOf(control, "Ctl3D", true))
            nc.Border = WindowBorder::Flat;
        else
            nc.Border = themed ? WindowBorder::Themed : WindowBorder::Sunken;
    }
    if (control.FindProperty("BevelKind")) {
        nc.BevelKind = EnumOf(control, "BevelKind");
        nc.BevelInner = EnumOf(control, "BevelInner");
        nc.BevelOuter = EnumOf(control, "BevelOuter");
        nc.BevelWidth = IntOf(control, "BevelWidth", 1, 0, 1000);
        nc.BevelEdges = {
            HasElement(control, "BevelEdges", "beLeft"), HasElement(control, "BevelEdges", "beTop"),
            HasElement(control, "BevelEdges", "beRight"), HasElement(control, "BevelEdges", "beBottom")};
    }
    if (control.FindProperty("EdgeBorders")) {
        nc.EdgeInner = EnumOf(control, "EdgeInner");
        nc.EdgeOuter = EnumOf(control, "EdgeOuter");
        nc.EdgeBorders = {
            HasElement(control, "EdgeBorders", "ebLeft"), HasElement(control, "EdgeBorders", "ebTop"),
            HasElement(control, "EdgeBorders", "ebRight"), HasElement(control, "EdgeBorders", "ebBottom")};
    }
    if (!control.InheritsFrom("TCustomPanel")) nc.BorderWidth = IntOf(control, "BorderWidth", 0, 0, 1000);
    return nc;
}


// ---------------------------------------------------------------------------------
// Widgets

// A widget drawn by a paint function, with an optional client widget for the child
// controls inside its non-client margins and scroll bars.
class Surface : public QWidget {
public:
    // whole: the widget's rectangle; client: the client area inside the margins and
    // scroll bars, in the widget's coordinates.
    using PaintFn = std::function<void(QPainter&, const QRect& whole, const QRect& client)>;
    // Where the client widget goes within the client area, when not all of it.
    using PlaceFn = std::function<QRect(const QRect& client)>;

    explicit Surface(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

    void SetPaint(PaintFn paint) { paint_ = std::move(paint); }
    // Sets the non-client margins; a client widget is made when there are margins or
    // ownClient asks for one (a box that may show scroll bars later).
    void SetNonClient(QMargins margins, bool ownClient = false) {
        margins_ = margins;
        if ((ownClient || !margins.isNull()) && !client_) {
            client_ = new QWidget(this);
            client_->setFocusPolicy(Qt::NoFocus);
        }
        Relayout();
    }
    void SetPlace(PlaceFn place) {
        place_ = std::move(place);
        if (!client_) {
            client_ = new QWidget(this);
            client_->setFocusPolicy(Qt::NoFocus);
        }
        Relayout();
    }
    QWidget* Client() { return client_ ? client_ : this; }
    QRect ClientRect() const {
        QRect r = rect().marginsRemoved(margins_);
        if (vertical_) r.setRight(r.right() - ScrollBarSize);
        if (horizontal_) r.setBottom(r.bottom() - ScrollBarSize);
        return r;
    }
    // Shows scroll bars in the non-client area, each with a range over the content
    // beyond the client area.
    void SetScrollBars(bool horizontal, int horizontalRange, bool vertical, int verticalRange) {
        auto make = [this](QScrollBar*& bar, bool wanted, Qt::Orientation orientation, int range) {
            if (wanted && !bar) {
                bar = new QScrollBar(orientation, this);
                bar->setFocusPolicy(Qt::NoFocus);
            }
            if (bar) {
                bar->setVisible(wanted);
                bar->setRange(0, std::max(0, range));
            }
        };
        make(horizontalBar_, horizontal, Qt::Horizontal, horizontalRange);
        make(verticalBar_, vertical, Qt::Vertical, verticalRange);
        horizontal_ = horizontal;
        vertical_ = vertical;
        Relayout();
    }
    bool HasHorizontalScrollBar() const { return horizontal_; }
    bool HasVerticalScrollBar() const { return vertical_; }
    // Runs after each change of size, for parts placed by the widget itself.
    std::function<void(Surface&)> OnLayout;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (paint_) {
            painter.save();
            paint_(painter, rect(), ClientRect());
            painter.restore();
        }
        if (horizontal_ && vertical_) {
            const QRect inner = rect().marginsRemoved(margins_);
            painter.fillRect(QRect(inner.right() - ScrollBarSize + 1, inner.bottom() - ScrollBarSize + 1,
                                   ScrollBarSize, ScrollBarSize),
                             ColorOf(clBtnFace));
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        Relayout();
    }

public:
    // Places the client, the scroll bars and the parts OnLayout places for the current
    // size; a widget not yet shown gets its resize event only when it is.
    void Relayout() {
        const QRect inner = rect().marginsRemoved(margins_);
        const QRect client = ClientRect();
        if (client_) client_->setGeometry(place_ ? place_(client) : client);
        if (horizontalBar_ && horizontal_)
            horizontalBar_->setGeometry(inner.left(), inner.bottom() - ScrollBarSize + 1,
                                        std::max(0, inner.width() - (vertical_ ? ScrollBarSize : 0)),
                                        ScrollBarSize);
        if (verticalBar_ && vertical_)
            verticalBar_->setGeometry(inner.right() - ScrollBarSize + 1, inner.top(), ScrollBarSize,
                                      std::max(0, inner.height() - (horizontal_ ? ScrollBarSize : 0)));
        if (OnLayout) OnLayout(*this);
    }

private:
    PaintFn paint_;
    PlaceFn place_;
    QMargins margins_;
    QWidget* client_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    bool horizontal_ = false;
    bool vertical_ = false;
};

// A graphic control drawn onto its parent by a paint function of its rectangle.
class PaintedControl : public DrawnControl {
public:
    explicit PaintedControl(Surface::PaintFn paint) : paint_(std::move(paint)) {}
    void Paint(QPainter& p, const QRect& whole, bool) const override { paint_(p, whole, whole); }

private:
    Surface::PaintFn paint_;
};

// A label drawn over a custom-drawn control (status bar panels, header sections):
// plain text, never rich text, no background of its own.
QLabel* TextLabel(QWidget* parent, const QString& text, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAutoFillBackground(false);
    label->setContentsMargins(0, 0, 0, 0);
    return label;
}

// Fills the client area with the control's colour unless it shows its parent's
// background, then draws the non-client edges.
Surface::PaintFn PlainBoxPaint(const NonClient& nc, QColor color, bool fill) {
    return [nc, color, fill](QPainter& p, const QRect& whole, const QRect&) {
        if (fill) p.fillRect(whole, color);
        nc.Paint(p, whole, color);
    };
}

// Shows scroll bars on a scrolling box whose children reach beyond its client area, as
// AutoScroll does, or whose scroll bars were given a range.
void ShowNeededScrollBars(Surface& box, rt::Object& control, RealizeContext& context) {
    const rt::Object* horzBar = ObjectOf(control, "HorzScrollBar");
    const rt::Object* vertBar = ObjectOf(control, "VertScrollBar");
    const bool autoScroll = BoolOf(control, "AutoScroll", true);
    int right = 0, bottom = 0;
    if (autoScroll) {
        std::size_t counted = 0;
        for (rt::Object* child : control.Controls()) {
            if (++counted > MaxParts) break;
            if (!child || !BoolOf(*child, "Visible", true)) continue;
            const Placement place = context.PlaceOf(*child);
            if (!place.Parent) continue;
            right = std::max(right, place.Bounds.right() + 1);
            bottom = std::max(bottom, place.Bounds.bottom() + 1);
        }
    }
    if (horzBar) right = std::max(right, IntOf(*horzBar, "Range", 0, 0, MaxPixels));
    if (vertBar) bottom = std::max(bottom, IntOf(*vertBar, "Range", 0, 0, MaxPixels));
    const bool horzAllowed = !horzBar || BoolOf(*horzBar, "Visible", true);
    const bool vertAllowed = !vertBar || BoolOf(*vertBar, "Visible", true);
    box.SetScrollBars(false, 0, false, 0);
    const QRect full = box.ClientRect();
    bool horizontal = horzAllowed && right > full.width();
    bool vertical = vertAllowed && bottom > full.height();
    // Each bar takes room from the other direction and may make the other needed.
    if (horizontal && !vertical) vertical = vertAllowed && bottom > full.height() - ScrollBarSize;
    if (vertical && !horizontal) horizontal = horzAllowed && right > full.width() - ScrollBarSize;
    const int clientWidth = full.width() - (vertical ? ScrollBarSize : 0);
    const int clientHeight = full.height() - (horizontal ? ScrollBarSize : 0);
    box.SetScrollBars(horizontal, right - clientWidth, vertical, bottom - clientHeight);
}

// ---------------------------------------------------------------------------------
// Panels, boxes and frames

QColor BevelTopLeft(const std::string& cut) {
    return cut == "bvLowered" ? ColorOf(clBtnShadow) : ColorOf(clBtnHighlight);
}
QColor BevelBottomRight(const std::string& cut) {
    return cut == "bvLowered" ? ColorOf(clBtnHighlight) : ColorOf(clBtnShadow);
}

Qt::Alignment VerticalAlignment(const std::string& alignment) {
    if (alignment == "taAlignTop") return Qt::AlignTop;
    if (alignment == "taAlignBottom") return Qt::AlignBottom;
    return Qt::AlignVCenter;
}

Realized MakePanel(rt::Object& control, QWidget* parent) {
    auto* panel = new Surface(parent);
    ApplyColorsAndFont(*panel, control, false);
    const NonClient nc = NonClientOf(control, false);
    const QColor color = ControlColor(control);
    const bool fill = !ShowsParentBackground(control);
    const std::string outer = EnumOf(control, "BevelOuter"), inner = EnumOf(control, "BevelInner");
    const int bevelWidth = IntOf(control, "BevelWidth", 1, 0, 1000);
    const int borderWidth = IntOf(control, "BorderWidth", 0, 0, 1000);
    const QString caption = BoolOf(control, "ShowCaption", true) ? TextOf(control, "Caption") : QString();
    const Qt::Alignment alignment = HorizontalAlignment(EnumOf(control, "Alignment"), Qt::AlignHCenter) |
                                    VerticalAlignment(EnumOf(control, "VerticalAlignment"));
    const QFont font = ControlFont(control);
    const QColor textColor = ControlFontColor(control);
    panel->SetPaint([=](QPainter& p, const QRect& whole, const QRect& client) {
        if (fill) p.fillRect(whole, color);
        nc.Paint(p, whole, color);
        QRect r = client;
        if (outer != "bvNone" && !outer.empty())
            Frame3D(p, r, BevelTopLeft(outer), BevelBottomRight(outer), bevelWidth);
        r.adjust(borderWidth, borderWidth, -borderWidth, -borderWidth);
        if (inner != "bvNone" && !inner.empty())
            Frame3D(p, r, BevelTopLeft(inner), BevelBottomRight(inner), bevelWidth);
        if (caption.isEmpty() || r.width() <= 0 || r.height() <= 0) return;
        p.setClipRect(r);
        p.setFont(font);
        p.setPen(textColor);
        p.drawText(r,
                   static_cast<int>(alignment.toInt()) | Qt::TextSingleLine | Qt::TextExpandTabs |
                       Qt::TextHideMnemonic,
                   caption);
    });
    panel->SetNonClient(nc.Margins());
    return {panel, panel->Client()};
}

Realized MakeScrollingBox(rt::Object& control, QWidget* parent, bool themedBorder) {
    auto* box = new Surface(parent);
    ApplyColorsAndFont(*box, control, false);
    const NonClient nc = NonClientOf(control, themedBorder);
    box->SetPaint(PlainBoxPaint(nc, ControlColor(control), !ShowsParentBackground(control)));
    box->SetNonClient(nc.Margins(), true);
    return {box, box->Client()};
}

// A plain bar or box in its colour, holding child controls: page scrollers, control
// bars' plain cousins, action bars without their action manager's items.
Realized MakePlainBox(rt::Object& control, QWidget* parent) {
    auto* box = new Surface(parent);
    ApplyColorsAndFont(*box, control, false);
    const NonClient nc = NonClientOf(control, false);
    box->SetPaint(PlainBoxPaint(nc, ControlColor(control), !ShowsParentBackground(control)));
    box->SetNonClient(nc.Margins());
    return {box, box->Client()};
}

// A framed box that shows nothing at run time without its content: the data-aware
// image without data, the OLE container without an object.
Realized MakeFramedBox(rt::Object& control, QWidget* parent) {
    auto* box = new Surface(parent);
    ApplyColorsAndFont(*box, control, false);
    const NonClient nc = NonClientOf(control, false);
    box->SetPaint(PlainBoxPaint(nc, ControlColor(control), true));
    return {box, nullptr};
}

// A control that draws nothing at run time (an animation that is not playing): its
// parent shows through.
Realized MakeEmpty(rt::Object& control, QWidget* parent) {
    auto* box = new Surface(parent);
    ApplyColorsAndFont(*box, control, false);
    return {box, nullptr};
}

// ---------------------------------------------------------------------------------
// Bevels, shapes, splitters, images

std::unique_ptr<DrawnControl> DrawBevel(const rt::Object& control) {
    const std::string shape = EnumOf(control, "Shape");
    const bool raised = EnumOf(control, "Style") == "bsRaised";
    return std::make_unique<PaintedControl>([shape, raised](QPainter& p, const QRect& whole, const QRect&) {
        const QColor first = raised ? ColorOf(clBtnHighlight) : ColorOf(clBtnShadow);
        const QColor second = raised ? ColorOf(clBtnShadow) : ColorOf(clBtnHighlight);
        const int w = whole.width(), h = whole.height();
        if (w <= 0 || h <= 0) return;
        if (shape == "bsBox") {
            QRect r = whole;
            Frame3D(p, r, first, second, 1);
        } else if (shape == "bsFrame") {
            // Two rings a pixel apart: the inner one in the second colour, the outer
            // one drawn over it in the first.
            QRect inner(1, 1, w - 1, h - 1), outer(0, 0, w - 1, h - 1);
            Frame3D(p, inner, second, second, 1);
            Frame3D(p, outer, first, first, 1);
        } else if (shape == "bsTopLine") {
            HLine(p, 0, w - 1, 0, first);
            HLine(p, 0, w - 1, 1, second);
        } else if (shape == "bsBottomLine") {
            HLine(p, 0, w - 1, h - 2, first);
            HLine(p, 0, w - 1, h - 1, second);
        } else if (shape == "bsLeftLine") {
            VLine(p, 0, 0, h - 1, first);
            VLine(p, 1, 0, h - 1, second);
        } else if (shape == "bsRightLine") {
            VLine(p, w - 2, 0, h - 1, first);
            VLine(p, w - 1, 0, h - 1, second);
        }
        // bsSpacer draws nothing.
    });
}

Qt::BrushStyle HatchOf(const std::string& style) {
    if (style == "bsHorizontal") return Qt::HorPattern;
    if (style == "bsVertical") return Qt::VerPattern;
    if (style == "bsFDiagonal") return Qt::BDiagPattern;  // lines rising to the right
    if (style == "bsBDiagonal") return Qt::FDiagPattern;
    if (style == "bsCross") return Qt::CrossPattern;
    if (style == "bsDiagCross") return Qt::DiagCrossPattern;
    if (style == "bsClear") return Qt::NoBrush;
    return Qt::SolidPattern;
}

std::unique_ptr<DrawnControl> DrawShape(const rt::Object& control) {
    const std::string kind = EnumOf(control, "Shape");
    QBrush brush(Qt::NoBrush);
    if (const rt::Object* b = ObjectOf(control, "Brush")) {
        const QColor color = ColorProperty(*b, "Color", QColor(Qt::white));
        brush = QBrush(color, HatchOf(EnumOf(*b, "Style")));
    } else {
        brush = QBrush(Qt::white);
    }
    int penWidth = 1;
    QColor penColor(Qt::black);
    std::string penStyle = "psSolid";
    if (const rt::Object* pen = ObjectOf(control, "Pen")) {
        penWidth = IntOf(*pen, "Width", 1, 0, 1000);
        penStyle = EnumOf(*pen, "Style");
        penColor = ColorOf(OrdinalOf(*pen, "Color", 0));
    }
    return std::make_unique<PaintedControl>([=](QPainter& p, const QRect& whole, const QRect&) {
        // The shape's box as the control works it out: inset by half the pen, the pen
        // width taken off the size, squares and circles centred on the shorter side.
        int x = penWidth / 2, y = x;
        int w = whole.width() - penWidth + 1, h = whole.height() - penWidth + 1;
        if (penWidth == 0) {
            --w;
            --h;
        }
        const int s = std::min(w, h);
        if (kind == "stSquare" || kind == "stRoundSquare" || kind == "stCircle") {
            x += (w - s) / 2;
            y += (h - s) / 2;
            w = h = s;
        }
        if (w <= 0 || h <= 0) return;
        const bool noPen = penStyle == "psClear" || !penColor.isValid() || penWidth == 0;
        QPen pen(noPen ? Qt::NoPen : Qt::SolidLine);
        if (!noPen) {
            pen.setColor(penColor);
            pen.setWidth(std::max(1, penWidth));
            // Dashed styles exist only for one-pixel pens; wider pens draw solid.
            if (penWidth <= 1) {
                if (penStyle == "psDash")
                    pen.setStyle(Qt::DashLine);
                else if (penStyle == "psDot" || penStyle == "psAlternate")
                    pen.setStyle(Qt::DotLine);
                else if (penStyle == "psDashDot")
                    pen.setStyle(Qt::DashDotLine);
                else if (penStyle == "psDashDotDot")
                    pen.setStyle(Qt::DashDotDotLine);
            }
            pen.setJoinStyle(Qt::MiterJoin);
        }
        // Windows excludes the right and bottom edges of the box; the outline runs along
        // the centre of the pen.
        const QRectF box = noPen ? QRectF(x, y, w - 1, h - 1)
                                 : QRectF(x + (pen.width() % 2 ? 0.5 : 0.0),
                                          y + (pen.width() % 2 ? 0.5 : 0.0), w - 1, h - 1);
        p.setPen(pen);
        p.setBrush(brush);
        if (kind == "stEllipse" || kind == "stCircle") {
            p.drawEllipse(noPen ? QRectF(x, y, w, h) : box);
        } else if (kind == "stRoundRect" || kind == "stRoundSquare") {
            const qreal radius = s / 8.0;
            p.drawRoundedRect(noPen ? QRectF(x, y, w, h) : box, radius, radius);
        } else if (noPen) {
            p.fillRect(QRect(x, y, w - 1, h - 1), brush);
        } else {
            p.drawRect(box);
        }
    });
}

std::unique_ptr<DrawnControl> DrawSplitter(const rt::Object& control) {
    const QColor color = ControlColor(control);
    const bool beveled = BoolOf(control, "Beveled", false);
    const std::string align = EnumOf(control, "Align");
    return std::make_unique<PaintedControl>([=](QPainter& p, const QRect& whole, const QRect&) {
        p.fillRect(whole, color);
        if (!beveled) return;
        QRect r = whole;
        if (align == "alLeft" || align == "alRight")
            r.adjust(1, -2, -1, 2);
        else
            r.adjust(-2, 1, 2, -1);
        r.translate(1, 1);
        p.setPen(ColorOf(clBtnHighlight));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.translate(-2, -2);
        p.setPen(ColorOf(clBtnShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    });
}

// Where a picture of size (w, h) goes in a client area of size (cw, ch): at the top
// left, stretched, shrunk or grown keeping its proportions, and centred, as an image
// control places it.
QRect PictureRect(int w, int h, int cw, int ch, bool stretch, bool proportional, bool center) {
    if (stretch || (proportional && (w > cw || h > ch))) {
        if (proportional && w > 0 && h > 0) {
            const double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    QRect r(0, 0, w, h);
    if (center) r.translate((cw - w) / 2, (ch - h) / 2);
    return r;
}

// An image control. Its picture is decoded when the image first comes on screen, and
// only when the preview's picture budget took its size at build time.
class DrawnImage : public DrawnControl {
public:
    DrawnImage(const rt::GraphicData* graphic, QSize size, const rt::Object& control)
        : graphic_(graphic),
          size_(size),
          transparent_(BoolOf(control, "Transparent", false)),
          stretch_(BoolOf(control, "Stretch", false)),
          proportional_(BoolOf(control, "Proportional", false)),
          center_(BoolOf(control, "Center", false)) {}

    void Paint(QPainter& p, const QRect& whole, bool) const override {
        if (graphic_) {
            picture_ = DecodeGraphic(*graphic_, transparent_,
                                     static_cast<long long>(size_.width()) * size_.height());
            graphic_ = nullptr;
        }
        if (picture_.isNull()) return;
        const QRect target = PictureRect(picture_.width(), picture_.height(), whole.width(), whole.height(),
                                         stretch_, proportional_, center_);
        if (target.isEmpty()) return;
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(target, picture_);
    }

private:
    // The picture's data until it is decoded; the live object outlives the preview's
    // drawings.
    mutable const rt::GraphicData* graphic_;
    mutable QImage picture_;
    QSize size_;
    bool transparent_, stretch_, proportional_, center_;
};

std::unique_ptr<DrawnControl> DrawImage(const rt::Object& control, RealizeContext& context) {
    const rt::Object* picture = ObjectOf(control, "Picture");
    const rt::GraphicData* graphic = picture ? &picture->Graphic() : nullptr;
    QSize size;
    if (graphic) {
        size = PictureSize(*graphic);
        if (!size.isValid() || size.isEmpty()) {
            graphic = nullptr;
        } else if (!context.Pictures().Claim(size)) {
            context.Report("WARN=Preview: the picture of " + control.Name() + " (" +
                           std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                           " pixels) is not shown: it is larger than the preview decodes");
            graphic = nullptr;
        }
    }
    return std::make_unique<DrawnImage>(graphic, size, control);
}

// ---------------------------------------------------------------------------------
// Tabs

enum class TabSide { Top, Bottom, Left, Right };
enum class TabLook { Tabs, Buttons, FlatButtons };

struct TabOptions {
    TabSide Side = TabSide::Top;
    TabLook Look = TabLook::Tabs;
    bool MultiLine = false;
    bool RaggedRight = false;
    int FixedWidth = 0;
    int FixedHeight = 0;
    int PerRow = 0;  // a fixed number of equal tabs in each row, as tabbed notebooks have
    QFont Font;
    QColor Text;
    // Owner-drawn tabs show no text without their drawing handler.
    bool OwnerDraw = false;
};

// A tab control: the row or rows of tabs (or buttons) and the pane below them, with
// pages (child controls) shown one at a time when it is a page control or notebook.
class TabFrame : public QWidget {
public:
    TabFrame(QWidget* parent, TabOptions options) : QWidget(parent), options_(std::move(options)) {
        setFocusPolicy(Qt::NoFocus);
    }

    void SetTabs(QStringList texts) {
        if (static_cast<std::size_t>(texts.size()) > MaxStripParts)
            texts = texts.mid(0, static_cast<qsizetype>(MaxStripParts));
        texts_ = std::move(texts);
        if (current_ >= static_cast<int>(texts_.size())) current_ = -1;
        offset_ = 0;
        Layout();
    }
    int Count() const { return static_cast<int>(texts_.size()); }
    int Current() const { return current_; }
    void SetCurrent(int index) {
        current_ = index >= 0 && index < Count() ? index : -1;
        Layout();
        update();
    }
    QRect DisplayRect() const { return display_; }
    // Lays the tabs out for the current size.
    void Relayout() { Layout(); }

    // The pages of a page control: the page of each tab, and every page, tabbed or not.
    void SetPages(std::vector<QPointer<QWidget>> tabPages, std::vector<QPointer<QWidget>> allPages) {
        tabPages_ = std::move(tabPages);
        allPages_ = std::move(allPages);
    }
    // Shows one page and hides the others; its tab, when it has one, is selected.
    void ShowPage(QWidget* page) {
        int tab = -1;
        for (std::size_t i = 0; i < tabPages_.size(); ++i)
            if (page && tabPages_[i] == page) tab = static_cast<int>(i);
        for (const QPointer<QWidget>& p : allPages_)
            if (QWidget* w = p.data()) w->setVisible(w == page);
        if (page) page->raise();
        SetCurrent(tab);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        Layout();
    }
    void paintEvent(QPaintEvent*) override;

private:
    struct Tab {
        QRect Canonical;   // along the row (x) and away from the outer edge (y)
        int Position = 0;  // row position: 0 is the row next to the pane
        bool Shown = true;
    };

    bool IsVertical() const { return options_.Side == TabSide::Left || options_.Side == TabSide::Right; }
    bool IsButtons() const { return options_.Look != TabLook::Tabs; }
    int Length() const { return IsVertical() ? height() : width(); }
    int Depth() const { return IsVertical() ? width() : height(); }

    // A rectangle given along the tab row and in depth from the outer edge, in widget
    // coordinates.
    QRect Map(const QRect& c) const {
        switch (options_.Side) {
            case TabSide::Bottom:
                return QRect(c.x(), height() - c.y() - c.height(), c.width(), c.height());
            case TabSide::Left:
                return QRect(c.y(), c.x(), c.height(), c.width());
            case TabSide::Right:
                return QRect(width() - c.y() - c.height(), c.x(), c.height(), c.width());
            default:
                return c;
        }
    }

    // The selected tab stands out two pixels on each side and reaches into the pane.
    QRect SelectedRect(const QRect& c) const {
        if (IsButtons()) return c;
        return QRect(c.x() - 2, c.y() - 2, c.width() + 4, strip_ - c.y() + 3);
    }

    int TextWidth(const QString& text, const QFontMetrics& fm) const {
        return fm.size(Qt::TextSingleLine | Qt::TextHideMnemonic, text).width();
    }

    void Layout();
    void PaintTab(QPainter& p, int index);

    TabOptions options_;
    QStringList texts_;
    int current_ = -1;
    int offset_ = 0;  // the first tab shown in a single row that does not fit
    std::vector<Tab> tabs_;
    int strip_ = 0;  // depth of the tab rows
    QRect pane_;     // widget coordinates
    QRect display_;  // widget coordinates
    QRect arrows_;   // widget coordinates; empty when the row fits
    int arrowsAlong_ = 0;
    std::vector<QPointer<QWidget>> tabPages_;
    std::vector<QPointer<QWidget>> allPages_;
};

void TabFrame::Layout() {
    const int n = Count();
    const QFontMetrics fm(options_.Font);
    const int len = Length(), depth = Depth();
    const bool buttons = IsButtons();
    const int rowHeight =
        std::clamp(options_.FixedHeight > 0 ? options_.FixedHeight : fm.height() + 7, 1, 1000);
    const int gap = buttons ? 3 : 0;
    const int start = buttons ? 0 : 2;
    const int avail = std::max(1, len - 2 * start);
    const bool wrap = options_.MultiLine || IsVertical() || options_.PerRow > 0;

    std::vector<int> widths(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        int w;
        if (options_.PerRow > 0)
            w = (avail - gap * (options_.PerRow - 1)) / options_.PerRow;
        else if (options_.FixedWidth > 0)
            w = options_.FixedWidth;
        else
            w = TextWidth(texts_[i], fm) + (buttons ? 16 : 12);
        widths[static_cast<std::size_t>(i)] = std::clamp(w, 1, MaxPixels);
    }

    // Rows of tab indexes.
    std::vector<std::vector<int>> rows;
    if (n > 0) rows.emplace_back();
    int x = 0;
    for (int i = 0; i < n; ++i) {
        const int w = widths[static_cast<std::size_t>(i)];
        bool newRow = false;
        if (options_.PerRow > 0)
            newRow = static_cast<int>(rows.back().size()) >= options_.PerRow;
        else if (wrap)
            newRow = !rows.back().empty() && x + w > avail;
        if (newRow) {
            rows.emplace_back();
            x = 0;
        }
        rows.back().push_back(i);
        x += w + gap;
    }
    // Several rows fill the width, unless ragged.
    if (rows.size() > 1 && !options_.RaggedRight && options_.PerRow == 0) {
        for (const auto& row : rows) {
            int sum = gap * (static_cast<int>(row.size()) - 1);
            for (int i : row)
                sum += widths[static_cast<std::size_t>(i)];
            const int extra = avail - sum;
            if (extra <= 0) continue;
            const int each = extra / static_cast<int>(row.size());
            int rest = extra % static_cast<int>(row.size());
            for (int i : row) {
                widths[static_cast<std::size_t>(i)] += each + (rest > 0 ? 1 : 0);
                if (rest > 0) --rest;
            }
        }
    }

    // A single row that does not fit shows scroll buttons at its end, and starts late
    // enough for the selected tab to show.
    arrows_ = QRect();
    arrowsAlong_ = len;
    if (!wrap && n > 0) {
        long long total = start;
        for (int w : widths)
            total += w + gap;
        if (total > len) {
            const int size = std::min(rowHeight, 17);
            arrowsAlong_ = len - 2 * size - 1;
            arrows_ = QRect(arrowsAlong_, 0, 2 * size, size);  // its depth follows the rows
            offset_ = std::clamp(offset_, 0, std::max(0, current_));
            long long reach = start;
            for (int i = offset_; i <= current_; ++i)
                reach += widths[static_cast<std::size_t>(i)] + gap;
            for (; offset_ < current_ && reach - gap > arrowsAlong_; ++offset_)
                reach -= widths[static_cast<std::size_t>(offset_)] + gap;
        } else {
            offset_ = 0;
        }
    }

    // The row of the selected tab comes next to the pane; the others follow it
    // outwards in turn.
    const int rowCount = static_cast<int>(rows.size());
    int selectedRow = 0;
    for (int r = 0; r < rowCount; ++r)
        for (int i : rows[static_cast<std::size_t>(r)])
            if (i == current_) selectedRow = r;
    const int rowStep = rowHeight + gap;
    strip_ = n == 0 ? 0 : buttons ? rowCount * rowStep : 2 + rowCount * rowHeight;

    tabs_.assign(static_cast<std::size_t>(n), Tab{});
    for (int r = 0; r < rowCount; ++r) {
        const int position = (r - selectedRow + rowCount) % rowCount;
        const int rowTop =
            buttons ? (rowCount - 1 - position) * rowStep : 2 + (rowCount - 1 - position) * rowHeight;
        int along = start;
        for (int i : rows[static_cast<std::size_t>(r)]) {
            Tab& t = tabs_[static_cast<std::size_t>(i)];
            const int w = widths[static_cast<std::size_t>(i)];
            t.Position = position;
            t.Shown = wrap || i >= offset_;
            if (t.Shown) {
                t.Canonical = QRect(along, rowTop, w, rowHeight);
                along += w + gap;
            }
        }
    }

    if (!arrows_.isEmpty())
        arrows_ = Map(QRect(arrows_.x(), strip_ - arrows_.height() - (buttons ? gap : 0), arrows_.width(),
                            arrows_.height()));

    if (buttons) {
        pane_ = Map(QRect(0, strip_, len, std::max(0, depth - strip_)));
        display_ = pane_;
    } else {
        pane_ = Map(QRect(0, strip_, len, std::max(0, depth - strip_)));
        const int top = n == 0 ? 4 : strip_ + 2;
        display_ = Map(QRect(4, top, std::max(0, len - 8), std::max(0, depth - top - 4)));
    }
}

void TabFrame::PaintTab(QPainter& p, int index) {
    const Tab& t = tabs_[static_cast<std::size_t>(index)];
    const bool selected = index == current_;
    const QRect c = selected ? SelectedRect(t.Canonical) : t.Canonical;
    const QRect r = Map(c);
    switch (options_.Look) {
        case TabLook::Tabs: {
            p.fillRect(r, selected ? ThemePane : ThemeTabFace);
            // The outer side and both ends; the side towards the pane stays open for the
            // selected tab and lies on the pane's border for the others.
            p.fillRect(Map(QRect(c.x(), c.y(), c.width(), 1)), ThemeBorder);
            p.fillRect(Map(QRect(c.x(), c.y(), 1, c.height())), ThemeBorder);
            p.fillRect(Map(QRect(c.right(), c.y(), 1, c.height())), ThemeBorder);
            if (!selected && t.Position > 0)
                p.fillRect(Map(QRect(c.x(), c.bottom(), c.width(), 1)), ThemeBorder);
            break;
        }
        case TabLook::Buttons:
            if (selected) {
                LatchedFace(p, r);
                SunkenEdge(p, r);
            } else {
                p.fillRect(r, ColorOf(clBtnFace));
                RaisedEdge(p, r);
            }
            break;
        case TabLook::FlatButtons: {
            if (selected) {
                LatchedFace(p, r);
                QRect frame = r;
                Frame3D(p, frame, ColorOf(clBtnShadow), ColorOf(clBtnHighlight), 1);
            }
            // A divider in the gap after each button.
            const QRect divider = Map(QRect(c.right() + 2, c.y() + 2, 2, std::max(0, c.height() - 4)));
            if (IsVertical())
                EtchedHLine(p, divider.left(), divider.right(), divider.top());
            else
                EtchedVLine(p, divider.left(), divider.top(), divider.bottom());
            break;
        }
    }
    if (options_.OwnerDraw) return;
    p.save();
    p.setFont(options_.Font);
    p.setPen(isEnabled() ? options_.Text : ColorOf(clGrayText));
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextHideMnemonic;
    QRect textRect = r;
    if (selected && options_.Look == TabLook::Buttons) textRect.translate(1, 1);
    p.setClipRect(r, Qt::IntersectClip);
    if (IsVertical()) {
        // Text reads upwards on the left side, downwards on the right.
        p.translate(textRect.center());
        p.rotate(options_.Side == TabSide::Left ? -90 : 90);
        const QRect turned(-textRect.height() / 2, -textRect.width() / 2, textRect.height(),
                           textRect.width());
        p.drawText(turned, flags, texts_[index]);
    } else {
        p.drawText(textRect, flags, texts_[index]);
    }
    p.restore();
}

void TabFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!IsButtons()) {
        p.fillRect(pane_, ThemePane);
        QRect border = pane_;
        Frame3D(p, border, ThemeBorder, ThemeBorder, 1);
    }
    p.save();
    if (!arrows_.isEmpty()) {
        // Tabs end where the scroll buttons begin.
        p.setClipRect(Map(QRect(0, 0, arrowsAlong_, strip_ + 1)));
    }
    for (int i = 0; i < Count(); ++i)
        if (i != current_ && tabs_[static_cast<std::size_t>(i)].Shown) PaintTab(p, i);
    if (current_ >= 0 && tabs_[static_cast<std::size_t>(current_)].Shown) PaintTab(p, current_);
    p.restore();
    if (!arrows_.isEmpty()) ScrollButtons(p, arrows_, !IsVertical());
}

TabOptions TabOptionsOf(const rt::Object& control) {
    TabOptions o;
    const std::string position = EnumOf(control, "TabPosition");
    o.Side = position == "tpBottom"  ? TabSide::Bottom
             : position == "tpLeft"  ? TabSide::Left
             : position == "tpRight" ? TabSide::Right
                                     : TabSide::Top;
    const std::string style = EnumOf(control, "Style");
    o.Look = style == "tsButtons"       ? TabLook::Buttons
             : style == "tsFlatButtons" ? TabLook::FlatButtons
                                        : TabLook::Tabs;
    o.MultiLine = BoolOf(control, "MultiLine", false);
    o.RaggedRight = BoolOf(control, "RaggedRight", false);
    o.FixedWidth = IntOf(control, "TabWidth", 0, 0, MaxPixels);
    o.FixedHeight = IntOf(control, "TabHeight", 0, 0, 1000);
    o.Font = ControlFont(control);
    o.Text = ControlFontColor(control);
    o.OwnerDraw = BoolOf(control, "OwnerDraw", false);
    return o;
}

TabFrame* MakeTabFrame(rt::Object& control, QWidget* parent, TabOptions options) {
    auto* frame = new TabFrame(parent, std::move(options));
    ApplyColorsAndFont(*frame, control, false);
    return frame;
}

// Gives pages the control's display area when nothing placed them.
void FillEmptyPages(const std::vector<QPointer<QWidget>>& pages, const QRect& area) {
    for (const QPointer<QWidget>& page : pages)
        if (QWidget* w = page.data(); w && w->geometry().isEmpty()) w->setGeometry(area);
}

// A page control: a tab for each sheet whose TabVisible is set, the active sheet shown.
void FinishPageControl(rt::Object& control, const Realized& self, RealizeContext& context) {
    auto* frame = dynamic_cast<TabFrame*>(self.Widget);
    if (!frame) return;
    QStringList texts;
    std::vector<QPointer<QWidget>> tabPages, allPages;
    // The sheets come in the order they were read: a sheet's PageIndex is not stored.
    const std::vector<rt::Object*> sheets = ChildrenOf(control, "TTabSheet");
    rt::Object* firstTabbed = nullptr;
    for (rt::Object* sheet : sheets) {
        QWidget* widget = context.WidgetOf(*sheet).Widget;
        allPages.emplace_back(widget);
        if (!BoolOf(*sheet, "TabVisible", true)) continue;
        if (!firstTabbed) firstTabbed = sheet;
        texts.push_back(TextOf(*sheet, "Caption"));
        tabPages.emplace_back(widget);
    }
    frame->SetTabs(texts);
    frame->SetPages(tabPages, allPages);
    FillEmptyPages(allPages, frame->DisplayRect());
    // The active page, or the first with a tab when the form names none.
    rt::Object* active = ObjectOf(control, "ActivePage");
    if (std::find(sheets.begin(), sheets.end(), active) == sheets.end()) active = firstTabbed;
    frame->ShowPage(active ? context.WidgetOf(*active).Widget : nullptr);
}

// Notebooks: pages without tabs (TNotebook) or with a row of tabs per TabsPerRow pages
// (TTabbedNotebook). The active page is named by ActivePage (a page's caption) or
// given by PageIndex; with neither naming a page, none shows.
void FinishNotebook(rt::Object& control, const Realized& self, RealizeContext& context,
                    std::string_view pageClass) {
    std::vector<QPointer<QWidget>> pages;
    const std::vector<rt::Object*> children = ChildrenOf(control, pageClass);
    QStringList captions;
    for (rt::Object* page : children) {
        pages.emplace_back(context.WidgetOf(*page).Widget);
        captions.push_back(TextOf(*page, "Caption"));
    }
    int active = -1;
    const QString named = TextOf(control, "ActivePage");
    if (!named.isEmpty())
        for (int i = 0; i < static_cast<int>(captions.size()); ++i)
            if (captions[i].compare(named, Qt::CaseInsensitive) == 0) {
                active = i;
                break;
            }
    if (active < 0) {
        const std::int64_t index = OrdinalOf(control, "PageIndex", 0);
        if (index >= 0 && index < static_cast<std::int64_t>(children.size()))
            active = static_cast<int>(index);
    }
    QWidget* shown = active >= 0 ? pages[static_cast<std::size_t>(active)].data() : nullptr;
    if (auto* frame = dynamic_cast<TabFrame*>(self.Widget)) {
        if (children.empty()) captions = LinesOf(control, "Pages");
        frame->SetTabs(captions);
        frame->SetPages(pages, pages);
        FillEmptyPages(pages, frame->DisplayRect());
        frame->ShowPage(shown);
        // Tabs without page objects still show which one PageIndex selects.
        if (children.empty()) frame->SetCurrent(ClampInt(OrdinalOf(control, "PageIndex", 0), -1, MaxPixels));
    } else {
        FillEmptyPages(pages, QRect(QPoint(0, 0), self.Widget->size()));
        for (const QPointer<QWidget>& page : pages)
            if (QWidget* w = page.data()) w->setVisible(w == shown);
        if (shown) shown->raise();
    }
}

// ---------------------------------------------------------------------------------
// Tab sets

Realized MakeTabSet(rt::Object& control, QWidget* parent) {
    auto* set = new Surface(parent);
    ApplyColorsAndFont(*set, control, false);
    const QStringList tabs = LinesOf(control, "Tabs");
    const int selected = IntOf(control, "TabIndex", -1, -1, MaxPixels);
    const QColor background = ColorProperty(control, "BackgroundColor", ColorOf(clBtnFace));
    const QColor selectedColor = ColorProperty(control, "SelectedColor", ColorOf(clBtnFace));
    const QColor unselectedColor = ColorProperty(control, "UnselectedColor", ColorOf(clWindow));
    const bool dither = BoolOf(control, "DitherBackground", true);
    const int edge = IntOf(control, "EdgeWidth", 9, 0, 100);
    const int startMargin = IntOf(control, "StartMargin", 5, 0, MaxPixels);
    const int tabHeight = IntOf(control, "TabHeight", 20, 1, 1000);
    const bool ownerDraw = EnumOf(control, "Style") == "tsOwnerDraw";
    const QFont font = ControlFont(control);
    const QColor text = ControlFontColor(control);
    set->SetPaint([=](QPainter& p, const QRect& whole, const QRect&) {
        p.fillRect(whole, background);
        if (dither) p.fillRect(whole, QBrush(ColorOf(clBtnHighlight), Qt::Dense4Pattern));
        const QFontMetrics fm(font);
        struct Placed {
            QPolygon Outline;
            QRect TextRect;
            int Index;
        };
        std::vector<Placed> placed;
        int x = startMargin;
        const int bottom = std::min(tabHeight, whole.height()) - 1;
        const int limit = whole.width() - 2 * 15;  // room for the scroll buttons
        bool overflow = false;
        for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
            const int w = fm.horizontalAdvance(tabs[i]) + 6;
            const int right = x + 2 * edge + w;
            if (right > whole.width()) {
                overflow = true;
                break;
            }
            QPolygon outline;
            outline << QPoint(x, 0) << QPoint(x + edge, bottom) << QPoint(x + edge + w, bottom)
                    << QPoint(right, 0);
            placed.push_back({outline, QRect(x + edge, 0, w, bottom + 1), i});
            x += edge + w;
        }
        if (overflow) {
            while (!placed.empty() && placed.back().Outline.boundingRect().right() > limit)
                placed.pop_back();
        }
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(font);
        auto draw = [&](const Placed& t) {
            const bool isSelected = t.Index == selected;
            p.setPen(ColorOf(clWindowFrame).darker(300));
            p.setBrush(isSelected ? selectedColor : unselectedColor);
            p.drawPolygon(t.Outline);
            if (isSelected)
                HLine(p, t.Outline.point(0).x() + 1, t.Outline.point(3).x() - 1, 0, selectedColor);
            if (!ownerDraw) {
                p.setPen(text);
                p.drawText(t.TextRect, Qt::AlignCenter | Qt::TextSingleLine, tabs[t.Index]);
            }
        };
        // The line the tabs hang from, then the tabs from last to first so that each
        // overlaps the next, the selected one on top.
        HLine(p, 0, whole.width() - 1, 0, ColorOf(clWindowFrame).darker(300));
        for (auto it = placed.rbegin(); it != placed.rend(); ++it)
            if (it->Index != selected) draw(*it);
        for (const Placed& t : placed)
            if (t.Index == selected) draw(t);
        if (overflow)
            ScrollButtons(p, QRect(whole.width() - 30, 1, 30, std::min(15, whole.height() - 1)), true);
    });
    return {set, nullptr};
}

// ---------------------------------------------------------------------------------
// Headers

// THeader, the old header: raised sections from its Sections lines, the last one
// reaching the right edge.
Realized MakeOldHeader(rt::Object& control, QWidget* parent) {
    auto* header = new Surface(parent);
    ApplyColorsAndFont(*header, control, false);
    const NonClient nc = NonClientOf(control, false);
    const QStringList sections = LinesOf(control, "Sections");
    const QFont font = ControlFont(control);
    const QColor text = ControlFontColor(control);
    header->SetPaint([=](QPainter& p, const QRect& whole, const QRect& client) {
        p.fillRect(whole, ColorOf(clBtnFace));
        NonClient flat = nc;
        if (flat.Border != WindowBorder::None) flat.Border = WindowBorder::Flat;
        flat.Paint(p, whole, ColorOf(clBtnFace));
        const QFontMetrics fm(font);
        p.setFont(font);
        int x = client.left();
        for (int i = 0; i < static_cast<int>(sections.size()) && x <= client.right(); ++i) {
            const bool last = i + 1 == static_cast<int>(sections.size());
            const int w = last ? client.right() - x + 1 : fm.horizontalAdvance(sections[i]) + 10;
            QRect r(x, client.top(), w, client.height());
            Frame3D(p, r, ColorOf(clBtnHighlight), ColorOf(clBtnShadow), 1);
            p.setPen(text);
            p.drawText(r.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       sections[i]);
            x += w;
        }
    });
    return {header, nullptr};
}

// THeaderControl: a themed header with its Sections' Text and Width.
Realized MakeHeaderControl(rt::Object& control, QWidget* parent) {
    auto* header = new Surface(parent);
    ApplyColorsAndFont(*header, control, false);
    const NonClient nc = NonClientOf(control, false);
    header->SetNonClient(nc.Margins());
    QWidget* inside = header->Client();
    std::vector<int> rights;
    int x = 0;
    for (const rt::Object* section : ItemsOf(control, "Sections")) {
        if (rights.size() >= MaxStripParts) break;
        const int w = IntOf(*section, "Width", 50, 0, MaxPixels);
        const QString textValue =
            EnumOf(*section, "Style") == "hsOwnerDraw" ? QString() : TextOf(*section, "Text");
        QLabel* label =
            TextLabel(inside, textValue, HorizontalAlignment(EnumOf(*section, "Alignment"), Qt::AlignLeft));
        label->setGeometry(x + 6, 0, std::max(0, w - 12), 0);
        x = std::min(MaxPixels, x + w);
        rights.push_back(x);
    }
    header->OnLayout = [](Surface& s) {
        for (QLabel* label : s.Client()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            QRect g = label->geometry();
            g.setTop(0);
            g.setHeight(s.ClientRect().height());
            label->setGeometry(g);
        }
    };
    header->OnLayout(*header);
    header->SetPaint([nc, rights](QPainter& p, const QRect& whole, const QRect& client) {
        p.fillRect(whole, ThemePane);
        nc.Paint(p, whole, ThemePane);
        for (int right : rights)
            VLine(p, client.left() + right - 1, client.top(), client.bottom(), ThemeDivider);
    });
    return {header, nullptr};
}

// ---------------------------------------------------------------------------------
// Tool bars and their buttons

Realized MakeToolBar(rt::Object& control, QWidget* parent) {
    auto* bar = new Surface(parent);
    ApplyColorsAndFont(*bar, control, false);
    const NonClient nc = NonClientOf(control, false);
    const bool fill = !BoolOf(control, "Transparent", false) && !ShowsParentBackground(control);
    bar->SetPaint(PlainBoxPaint(nc, ControlColor(control), fill));
    bar->SetNonClient(nc.Margins(), true);
    return {bar, bar->Client()};
}

struct ToolButtonLook {
    std::string Style;
    QString Caption;
    bool ShowCaption = false;
    bool List = false;
    QSize Image;  // the image list's cell, empty without an image list
    bool Down = false;
    bool Flat = true;
    QFont Font;
    QColor Text;
};

void PaintToolButton(QPainter& p, const QRect& whole, const ToolButtonLook& look, bool enabled) {
    if (look.Style == "tbsSeparator") return;
    if (look.Style == "tbsDivider") {
        const int x = whole.center().x() - 1;
        EtchedVLine(p, x, whole.top() + 2, whole.bottom() - 2);
        return;
    }
    const bool dropDown = look.Style == "tbsDropDown";
    const int arrowWidth = dropDown ? std::min(13, whole.width()) : 0;
    const QRect button = whole.adjusted(0, 0, -arrowWidth, 0);
    if (look.Down) {
        if (look.Flat) {
            p.fillRect(whole, ThemeCheckedFace);
            QRect frame = whole;
            Frame3D(p, frame, ThemeCheckedBorder, ThemeCheckedBorder, 1);
        } else {
            LatchedFace(p, button);
            SunkenEdge(p, button);
        }
    } else if (!look.Flat) {
        RaisedEdge(p, button);
        if (dropDown) RaisedEdge(p, QRect(button.right() + 1, whole.top(), arrowWidth, whole.height()));
    }
    if (dropDown) {
        const QRect arrow(button.right() + 1, whole.top(), arrowWidth, whole.height());
        Arrow(p, arrow.center() + QPoint(look.Down && !look.Flat ? 1 : 0, 0), Qt::DownArrow, 3,
              enabled ? ColorOf(clWindowText) : ColorOf(clGrayText));
    }
    // The image cell stays empty (images are not drawn); the caption goes under it, or
    // beside it in a list tool bar.
    QRect content = button.adjusted(3, 3, -3, -3);
    if (look.Down && !look.Flat) content.translate(1, 1);
    if (!look.ShowCaption || look.Caption.isEmpty()) return;
    QRect textRect = content;
    if (!look.Image.isEmpty()) {
        if (look.List)
            textRect.setLeft(content.left() + look.Image.width() + 4);
        else
            textRect.setTop(content.top() + look.Image.height() + 1);
    }
    p.setFont(look.Font);
    p.setPen(enabled ? look.Text : ColorOf(clGrayText));
    const Qt::Alignment alignment = (look.List ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
    p.drawText(textRect, static_cast<int>(alignment.toInt()) | Qt::TextSingleLine | Qt::TextHideMnemonic,
               look.Caption);
}

Realized MakeToolButton(rt::Object& control, QWidget* parent) {
    auto* button = new Surface(parent);
    const rt::Object* bar = control.Parent();
    const bool onToolBar = bar && bar->InheritsFrom("TToolBar");
    ToolButtonLook look;
    look.Style = EnumOf(control, "Style");
    look.Caption = TextOf(control, "Caption");
    look.ShowCaption = onToolBar && BoolOf(*bar, "ShowCaptions", false);
    look.List = onToolBar && BoolOf(*bar, "List", false);
    look.Flat = !onToolBar || BoolOf(*bar, "Flat", true);
    if (onToolBar)
        if (const rt::Object* images = ObjectOf(*bar, "Images"))
            look.Image = QSize(IntOf(*images, "Width", 16, 0, 1000), IntOf(*images, "Height", 16, 0, 1000));
    look.Down = BoolOf(control, "Down", false) && look.Style != "tbsSeparator" && look.Style != "tbsDivider";
    look.Font = bar ? ControlFont(*bar) : FontOf(nullptr);
    look.Text = bar ? ControlFontColor(*bar) : FontColorOf(nullptr);
    button->setFont(look.Font);
    button->setAccessibleName(TextOf(control, "Caption"));
    button->SetPaint([look, button](QPainter& p, const QRect& whole, const QRect&) {
        PaintToolButton(p, whole, look, button->isEnabled());
    });
    return {button, nullptr};
}

// ---------------------------------------------------------------------------------
// Cool bars and control bars

Realized MakeCoolBar(rt::Object& control, QWidget* parent) {
    auto* bar = new Surface(parent);
    ApplyColorsAndFont(*bar, control, false);
    const NonClient nc = NonClientOf(control, false);
    const QColor color = ControlColor(control);
    const bool separators = EnumOf(control, "BandBorderStyle") != "bsNone";
    const bool showText = BoolOf(control, "ShowText", true);
    const QFont font = ControlFont(control);
    const QColor text = ControlFontColor(control);
    struct Band {
        QString Text;
        int Width = 0;  // 0: as wide as its text and grip need
        int Height = 25;
        bool Break = true;
    };
    std::vector<Band> bands;
    for (const rt::Object* item : ItemsOf(control, "Bands")) {
        if (!BoolOf(*item, "Visible", true)) continue;
        Band band;
        band.Text = showText ? TextOf(*item, "Text") : QString();
        band.Width = IntOf(*item, "Width", 0, 0, MaxPixels);
        int height = IntOf(*item, "MinHeight", 25, 0, MaxPixels);
        if (const rt::Object* child = ObjectOf(*item, "Control"))
            height = std::max(height, IntOf(*child, "Height", 0, 0, MaxPixels));
        band.Height = height + 4;
        band.Break = BoolOf(*item, "Break", true);
        bands.push_back(band);
    }
    // A bitmap, when there is one, is tiled over the whole bar.
    QImage bitmap;
    if (const rt::Object* picture = ObjectOf(control, "Bitmap")) bitmap = DecodeGraphic(picture->Graphic());
    bar->SetPaint([=](QPainter& p, const QRect& whole, const QRect& client) {
        p.fillRect(whole, color);
        if (!bitmap.isNull()) p.fillRect(client, QBrush(bitmap));
        nc.Paint(p, whole, color);
        const QFontMetrics fm(font);
        p.setFont(font);
        // Rows start at each band that breaks; each row is as high as its highest band,
        // and its last band reaches the right edge.
        std::size_t i = 0;
        int y = client.top();
        while (i < bands.size() && y <= client.bottom()) {
            std::size_t end = i + 1;
            while (end < bands.size() && !bands[end].Break)
                ++end;
            int rowHeight = 0;
            for (std::size_t k = i; k < end; ++k)
                rowHeight = std::max(rowHeight, bands[k].Height);
            int x = client.left();
            for (std::size_t k = i; k < end; ++k) {
                const Band& band = bands[k];
                const bool last = k + 1 == end;
                const int natural = fm.horizontalAdvance(band.Text) + 40;
                const int w = last ? client.right() - x + 1 : (band.Width > 0 ? band.Width : natural);
                DottedGrip(p, x + 3, y + 3, y + rowHeight - 4);
                if (!band.Text.isEmpty()) {
                    p.setPen(text);
                    p.drawText(QRect(x + 10, y, std::max(0, w - 10), rowHeight),
                               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, band.Text);
                }
                if (separators && !last) EtchedVLine(p, x + w - 2, y + 1, y + rowHeight - 2);
                x += w;
            }
            y += rowHeight;
            if (separators && end < bands.size()) {
                EtchedHLine(p, client.left(), client.right(), y);
                y += 2;
            }
            i = end;
        }
    });
    bar->SetNonClient(nc.Margins(), true);
    return {bar, bar->Client()};
}

// A control bar draws a band with a grip around each child control it holds.
Surface::PaintFn ControlBarPaint(const NonClient& nc, QColor color, bool fill,
                                 std::vector<QPointer<QWidget>> children) {
    return [nc, color, fill, children](QPainter& p, const QRect& whole, const QRect& client) {
        if (fill) p.fillRect(whole, color);
        nc.Paint(p, whole, color);
        for (const QPointer<QWidget>& child : children) {
            const QWidget* w = child.data();
            if (!w || w->isHidden()) continue;
            QRect band = w->geometry().translated(client.topLeft()).adjusted(-11, -2, 2, 2);
            Frame3D(p, band, ColorOf(clBtnHighlight), ColorOf(clBtnShadow), 1);
            DottedGrip(p, band.left() + 2, band.top() + 1, band.bottom() - 1);
        }
    };
}

Realized MakeControlBar(rt::Object& control, QWidget* parent) {
    auto* bar = new Surface(parent);
    ApplyColorsAndFont(*bar, control, false);
    const NonClient nc = NonClientOf(control, false);
    bar->SetPaint(ControlBarPaint(nc, ControlColor(control), !ShowsParentBackground(control), {}));
    bar->SetNonClient(nc.Margins(), true);
    return {bar, bar->Client()};
}

// Once the child controls have their widgets, the bands follow them.
void FinishControlBar(rt::Object& control, Surface& bar, RealizeContext& context) {
    std::vector<QPointer<QWidget>> children;
    for (rt::Object* child : control.Controls()) {
        if (children.size() >= MaxParts) break;
        if (QWidget* w = child ? context.WidgetOf(*child).Widget : nullptr) children.emplace_back(w);
    }
    bar.SetPaint(ControlBarPaint(NonClientOf(control, false), ControlColor(control),
                                 !ShowsParentBackground(control), std::move(children)));
    bar.update();
}

// ---------------------------------------------------------------------------------
// Status bars

struct StatusPart {
    QRect Rect;
    bool Separator = true;
};

Realized MakeStatusBar(rt::Object& control, QWidget* parent, RealizeContext& context) {
    auto* bar = new Surface(parent);
    ApplyColorsAndFont(*bar, control, false);
    const QFont font = BoolOf(control, "UseSystemFont", true) ? SystemUiFont() : ControlFont(control);
    bar->setFont(font);
    const QColor color = ControlColor(control);
    const NonClient nc = NonClientOf(control, false);
    // The size grip shows on a status bar whose parent is a sizeable form.
    bool grip = false;
    if (BoolOf(control, "SizeGrip", true))
        if (const rt::Object* form = control.Parent(); form && form->GetClass().Has(rt::CfForm)) {
            const std::string style = form == &context.Form() ? "bsSizeable" : EnumOf(*form, "BorderStyle");
            grip = style == "bsSizeable" || style == "bsSizeToolWin" || style.empty();
        }

    // Each panel's text: the alignment puts one or two tabs before it, and the text's
    // tabs then split it into a left, a centred and a right part.
    struct Panel {
        int Width = 0;
        QString Text;
        bool Separator = true;
    };
    std::vector<Panel> panels;
    const bool simple = BoolOf(control, "SimplePanel", false);
    if (simple) {
        panels.push_back({MaxPixels, TextOf(control, "SimpleText"), false});
    } else {
        for (const rt::Object* item : ItemsOf(control, "Panels")) {
            if (panels.size() >= MaxStripParts) break;
            Panel panel;
            panel.Width = IntOf(*item, "Width", 50, 0, MaxPixels);
            const std::string alignment = EnumOf(*item, "Alignment");
            const QString prefix = alignment == "taCenter"         ? QStringLiteral("\t")
                                   : alignment == "taRightJustify" ? QStringLiteral("\t\t")
                                                                   : QString();
            panel.Text = EnumOf(*item, "Style") == "psOwnerDraw" ? QString() : prefix + TextOf(*item, "Text");
            panel.Separator = EnumOf(*item, "Bevel") != "pbNone";
            panels.push_back(panel);
        }
    }
    struct Label {
        QLabel* Widget;
        std::size_t Panel;
    };
    auto labels = std::make_shared<std::vector<Label>>();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        QStringList parts = panels[i].Text.split(QLatin1Char('\t'));
        while (parts.size() > 3)
            parts[2] += QLatin1Char(' ') + parts.takeAt(3);
        const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        for (qsizetype k = 0; k < parts.size(); ++k) {
            if (parts[k].isEmpty()) continue;
            QLabel* label = TextLabel(bar, parts[k], alignments[k]);
            label->setFont(font);
            labels->push_back({label, i});
        }
    }
    auto parts = std::make_shared<std::vector<StatusPart>>(panels.size());
    const int gripWidth = grip ? 16 : 0;
    bar->OnLayout = [panels, labels, parts, gripWidth](Surface& s) {
        const QRect client = s.ClientRect();
        int x = client.left();
        for (std::size_t i = 0; i < panels.size(); ++i) {
            const bool last = i + 1 == panels.size();
            const int right = last ? client.right() + 1 : std::min(MaxPixels, x + panels[i].Width);
            (*parts)[i] = {QRect(x, client.top(), std::max(0, right - x), client.height()),
                           panels[i].Separator && !last};
            x = right;
        }
        for (const Label& label : *labels) {
            QRect r = (*parts)[label.Panel].Rect.adjusted(4, 0, -4, 0);
            r.setRight(std::min(r.right(), client.right() - gripWidth));
            label.Widget->setGeometry(r);
        }
    };
    bar->SetPaint([nc, color, parts, grip](QPainter& p, const QRect& whole, const QRect& client) {
        p.fillRect(whole, color);
        nc.Paint(p, whole, color);
        for (const StatusPart& part : *parts)
            if (part.Separator)
                VLine(p, part.Rect.right() - 1, part.Rect.top() + 3, part.Rect.bottom() - 3, ThemeBorder);
        if (grip) {
            // Six dots in a triangle at the bottom-right corner.
            const QPoint corner(client.right() - 2, client.bottom() - 2);
            for (int a = 0; a < 3; ++a)
                for (int b = 0; a + b < 3; ++b) {
                    const QPoint dot = corner - QPoint(4 * a, 4 * b);
                    p.fillRect(QRect(dot.x() - 1, dot.y() - 1, 2, 2), ColorOf(clBtnHighlight));
                    p.fillRect(QRect(dot.x() - 2, dot.y() - 2, 2, 2), ThemeGripDot);
                }
        }
    });
    bar->SetNonClient(nc.Margins());
    bar->OnLayout(*bar);
    return {bar, bar->Client()};
}

// ---------------------------------------------------------------------------------
// The data-aware control grid

Realized MakeCtrlGrid(rt::Object& control, QWidget* parent) {
    auto* grid = new Surface(parent);
    ApplyColorsAndFont(*grid, control, false);
    // At most 100 by 100 panels: 10,000 cells.
    const int cols = IntOf(control, "ColCount", 1, 1, 100);
    const int rows = IntOf(control, "RowCount", 3, 1, 100);
    const bool vertical = EnumOf(control, "Orientation") != "goHorizontal";
    // Panel sizes of 0 (not written) share out the grid's area.
    const int panelWidth = IntOf(control, "PanelWidth", 0, 0, MaxPixels);
    const int panelHeight = IntOf(control, "PanelHeight", 0, 0, MaxPixels);
    const QColor color = ControlColor(control);
    // The current record's panel takes SelectedColor once it was set; unset, it holds 0
    // (black), which stands for the grid's own colour.
    const std::int64_t selectedValue = OrdinalOf(control, "SelectedColor", 0);
    const QColor selected =
        selectedValue != 0 && ColorOf(selectedValue).isValid() ? ColorOf(selectedValue) : color;
    const bool raised = EnumOf(control, "PanelBorder") != "gbNone";
    // The size of a panel in a grid of the given size: as written, else the grid's area
    // beside its scroll bar shared out.
    auto panelSize = [=](QSize area) {
        const int w =
            panelWidth > 0 ? panelWidth : std::max(1, (area.width() - (vertical ? ScrollBarSize : 0)) / cols);
        const int h = panelHeight > 0 ? panelHeight
                                      : std::max(1, (area.height() - (vertical ? 0 : ScrollBarSize)) / rows);
        return QSize(w, h);
    };
    grid->SetPaint([=](QPainter& p, const QRect& whole, const QRect&) {
        const QSize size = panelSize(whole.size());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                QRect panel(c * size.width(), r * size.height(), size.width(), size.height());
                if (panel.left() > whole.right() || panel.top() > whole.bottom()) continue;
                p.fillRect(panel, r == 0 && c == 0 ? selected : color);
                if (raised) Frame3D(p, panel, ColorOf(clBtnHighlight), ColorOf(clBtnShadow), 1);
            }
    });
    // The first panel holds the child controls; the others repeat it with other records.
    grid->SetPlace([panelSize, grid](const QRect&) { return QRect(QPoint(0, 0), panelSize(grid->size())); });
    auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, grid);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setEnabled(false);
    grid->OnLayout = [bar, vertical, panelSize, cols, rows](Surface& s) {
        const QSize size = panelSize(s.size());
        if (vertical) {
            const int x = std::min(s.width() - ScrollBarSize, cols * size.width());
            bar->setGeometry(std::max(0, x), 0, ScrollBarSize, s.height());
        } else {
            const int y = std::min(s.height() - ScrollBarSize, rows * size.height());
            bar->setGeometry(0, std::max(0, y), s.width(), ScrollBarSize);
        }
    };
    grid->OnLayout(*grid);
    return {grid, grid->Client()};
}

// ---------------------------------------------------------------------------------
// The media player

// The glyph of a media player button, drawn in a 16 by 16 cell.
void PaintMediaGlyph(QPainter& p, const QRect& cell, const std::string& button, const QColor& color) {
    const int x = cell.left(), y = cell.top();
    auto triangle = [&](int left, bool right) {
        for (int i = 0; i < 6; ++i) {
            const int col = right ? left + i : left + 5 - i;
            VLine(p, col, y + 2 + i, y + 12 - i, color);
        }
    };
    if (button == "btPlay") {
        triangle(x + 6, true);
    } else if (button == "btPause") {
        p.fillRect(QRect(x + 5, y + 3, 2, 9), color);
        p.fillRect(QRect(x + 9, y + 3, 2, 9), color);
    } else if (button == "btStop") {
        p.fillRect(QRect(x + 4, y + 4, 8, 8), color);
    } else if (button == "btNext") {
        triangle(x + 4, true);
        p.fillRect(QRect(x + 10, y + 3, 2, 9), color);
    } else if (button == "btPrev") {
        p.fillRect(QRect(x + 4, y + 3, 2, 9), color);
        triangle(x + 7, false);
    } else if (button == "btStep") {
        triangle(x + 3, true);
        triangle(x + 8, true);
    } else if (button == "btBack") {
        triangle(x + 3, false);
        triangle(x + 8, false);
    } else if (button == "btRecord") {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRectF(x + 4, y + 4, 8, 8));
        p.setRenderHint(QPainter::Antialiasing, false);
    } else if (button == "btEject") {
        for (int i = 0; i < 5; ++i)
            HLine(p, x + 4 + i, x + 12 - i, y + 8 - i, color);
        p.fillRect(QRect(x + 4, y + 10, 9, 2), color);
    }
}

Realized MakeMediaPlayer(rt::Object& control, QWidget* parent) {
    auto* player = new Surface(parent);
    static const std::array<const char*, 9> Buttons = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                       "btStep", "btBack",  "btRecord", "btEject"};
    struct Button {
        std::string Name;
        bool Enabled;
        bool Colored;
    };
    std::vector<Button> buttons;
    // With AutoEnable the buttons follow the device, which is closed in a form that
    // has just been shown: they are all disabled.
    const bool autoEnable = BoolOf(control, "AutoEnable", true);
    for (const char* name : Buttons)
        if (HasElement(control, "VisibleButtons", name))
            buttons.push_back({name, !autoEnable && HasElement(control, "EnabledButtons", name),
                               HasElement(control, "ColoredButtons", name)});
    player->SetPaint([buttons](QPainter& p, const QRect& whole, const QRect&) {
        if (buttons.empty()) return;
        const int count = static_cast<int>(buttons.size());
        const int w = (whole.width() - 1) / count;
        for (int i = 0; i < count; ++i) {
            const Button& b = buttons[static_cast<std::size_t>(i)];
            const QRect r(i * w, 0, w + 1, whole.height());
            p.fillRect(r, ColorOf(clBtnFace));
            RaisedEdge(p, r);
            const QRect cell(r.center().x() - 7, r.center().y() - 7, 16, 16);
            if (!b.Enabled) {
                // Disabled glyphs are embossed: highlight under grey.
                PaintMediaGlyph(p, cell.translated(1, 1), b.Name, ColorOf(clBtnHighlight));
                PaintMediaGlyph(p, cell, b.Name, ColorOf(clBtnShadow));
                continue;
            }
            QColor color(Qt::black);
            if (b.Colored) {
                if (b.Name == "btPlay")
                    color = QColor(0x00, 0x80, 0x00);
                else if (b.Name == "btRecord")
                    color = QColor(0xFF, 0x00, 0x00);
                else if (b.Name == "btPause" || b.Name == "btStop")
                    color = QColor(0x80, 0x80, 0x00);
                else
                    color = QColor(0x00, 0x00, 0x80);
            }
            PaintMediaGlyph(p, cell, b.Name, color);
        }
    });
    return {player, nullptr};
}

// ---------------------------------------------------------------------------------
// The factory

enum class Kind {
    Panel,
    ScrollBox,
    Frame,
    Bevel,
    Shape,
    Splitter,
    Image,
    PaintBox,
    Notebook,
    Page,
    TabbedNotebook,
    TabPage,
    PageControl,
    TabSheet,
    TabControl,
    TabSet,
    Header,
    HeaderControl,
    ToolBar,
    ToolButton,
    CoolBar,
    ControlBar,
    StatusBar,
    PageScroller,
    ActionBar,
    CtrlGrid,
    DBImage,
    MediaPlayer,
    Animate,
    OleContainer,
};

std::optional<Kind> KindOf(std::string_view className) {
    static const std::vector<std::pair<std::string, Kind>> Kinds = {
        {"TPANEL", Kind::Panel},
        {"TSCROLLBOX", Kind::ScrollBox},
        {"TFRAME", Kind::Frame},
        {"TBEVEL", Kind::Bevel},
        {"TSHAPE", Kind::Shape},
        {"TSPLITTER", Kind::Splitter},
        {"TIMAGE", Kind::Image},
        {"TPAINTBOX", Kind::PaintBox},
        {"TNOTEBOOK", Kind::Notebook},
        {"TPAGE", Kind::Page},
        {"TTABBEDNOTEBOOK", Kind::TabbedNotebook},
        {"TTABPAGE", Kind::TabPage},
        {"TPAGECONTROL", Kind::PageControl},
        {"TTABSHEET", Kind::TabSheet},
        {"TTABCONTROL", Kind::TabControl},
        {"TTABSET", Kind::TabSet},
        {"THEADER", Kind::Header},
        {"THEADERCONTROL", Kind::HeaderControl},
        {"TTOOLBAR", Kind::ToolBar},
        {"TTOOLBUTTON", Kind::ToolButton},
        {"TCOOLBAR", Kind::CoolBar},
        {"TCONTROLBAR", Kind::ControlBar},
        {"TSTATUSBAR", Kind::StatusBar},
        {"TPAGESCROLLER", Kind::PageScroller},
        {"TACTIONTOOLBAR", Kind::ActionBar},
        {"TACTIONMAINMENUBAR", Kind::ActionBar},
        {"TDBCTRLGRID", Kind::CtrlGrid},
        {"TDBIMAGE", Kind::DBImage},
        {"TMEDIAPLAYER", Kind::MediaPlayer},
        {"TANIMATE", Kind::Animate},
        {"TOLECONTAINER", Kind::OleContainer},
    };
    for (const auto& [name, kind] : Kinds)
        if (rt::EqualsIgnoringCase(name, className)) return kind;
    return std::nullopt;
}

// The row that draws a control: its own class's, or its nearest ancestor's.
std::optional<Kind> KindOf(const rt::Object& control, const RealizeContext& context) {
    return NearestRow(&LookClass(control, context), [](std::string_view name) { return KindOf(name); });
}

class ContainerFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "containers"; }

    bool Handles(const rt::Class& cls) const override {
        return NearestRow(&cls, [](std::string_view name) { return KindOf(name); }).has_value();
    }
    bool HasRow(std::string_view className) const override { return KindOf(className).has_value(); }

    std::unique_ptr<DrawnControl> Draw(rt::Object& control, RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind) return nullptr;
        switch (*kind) {
            case Kind::Bevel:
                return DrawBevel(control);
            case Kind::Shape:
                return DrawShape(control);
            case Kind::Splitter:
                return DrawSplitter(control);
            case Kind::Image:
                return DrawImage(control, context);
            case Kind::PaintBox:
                // A paint box draws nothing without its handler: its parent shows through.
                return std::make_unique<PaintedControl>([](QPainter&, const QRect&, const QRect&) {});
            default:
                return nullptr;
        }
    }

    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind) return {};
        switch (*kind) {
            case Kind::Panel:
                return MakePanel(control, parent);
            case Kind::ScrollBox:
                return MakeScrollingBox(control, parent, true);
            case Kind::Frame:
                return MakeScrollingBox(control, parent, false);
            case Kind::Bevel:
            case Kind::Shape:
            case Kind::Splitter:
            case Kind::Image:
            case Kind::PaintBox:
                return {};  // drawn
            case Kind::Animate:
                return MakeEmpty(control, parent);
            case Kind::Notebook: {
                auto* notebook = new Surface(parent);
                ApplyColorsAndFont(*notebook, control, false);
                const QColor color = ControlColor(control);
                notebook->SetPaint(
                    [color](QPainter& p, const QRect& whole, const QRect&) { p.fillRect(whole, color); });
                return {notebook, notebook};
            }
            case Kind::Page:
            case Kind::TabPage: {
                // Pages are transparent over their notebook; the notebook shows one.
                auto* page = new Surface(parent);
                ApplyColorsAndFont(*page, control, false);
                return {page, page};
            }
            case Kind::TabSheet: {
                auto* sheet = new Surface(parent);
                ApplyColorsAndFont(*sheet, control, false);
                const int border = IntOf(control, "BorderWidth", 0, 0, 1000);
                sheet->SetNonClient(QMargins(border, border, border, border));
                return {sheet, sheet->Client()};
            }
            case Kind::TabbedNotebook: {
                TabOptions options = TabOptionsOf(control);
                options.PerRow = IntOf(control, "TabsPerRow", 3, 1, 100);
                if (const rt::Object* tabFont = ObjectOf(control, "TabFont")) {
                    options.Font = FontOf(tabFont);
                    options.Text = FontColorOf(tabFont);
                }
                TabFrame* frame = MakeTabFrame(control, parent, options);
                return {frame, frame};
            }
            case Kind::PageControl: {
                TabFrame* frame = MakeTabFrame(control, parent, TabOptionsOf(control));
                return {frame, frame};
            }
            case Kind::TabControl: {
                TabFrame* frame = MakeTabFrame(control, parent, TabOptionsOf(control));
                const QStringList tabs = LinesOf(control, "Tabs");
                frame->SetTabs(tabs);
                // A tab control selects its first tab when tabs are added; TabIndex
                // selects another one when it names one.
                const std::int64_t index = OrdinalOf(control, "TabIndex", -1);
                frame->SetCurrent(index >= 0 && index < tabs.size() ? static_cast<int>(index) : 0);
                return {frame, frame};
            }
            case Kind::TabSet:
                return MakeTabSet(control, parent);
            case Kind::Header:
                return MakeOldHeader(control, parent);
            case Kind::HeaderControl:
                return MakeHeaderControl(control, parent);
            case Kind::ToolBar:
                return MakeToolBar(control, parent);
            case Kind::ToolButton:
                return MakeToolButton(control, parent);
            case Kind::CoolBar:
                return MakeCoolBar(control, parent);
            case Kind::ControlBar:
                return MakeControlBar(control, parent);
            case Kind::StatusBar:
                return MakeStatusBar(control, parent, context);
            case Kind::PageScroller:
            case Kind::ActionBar:
                return MakePlainBox(control, parent);
            case Kind::CtrlGrid:
                return MakeCtrlGrid(control, parent);
            case Kind::DBImage:
            case Kind::OleContainer:
                return MakeFramedBox(control, parent);
            case Kind::MediaPlayer:
                return MakeMediaPlayer(control, parent);
        }
        return {};
    }

    void Finish(rt::Object& control, const Realized& self, RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind || !self.Widget) return;
        // The realiser has given the widget its size by now.
        if (auto* surface = dynamic_cast<Surface*>(self.Widget)) surface->Relayout();
        if (auto* frame = dynamic_cast<TabFrame*>(self.Widget)) frame->Relayout();
        switch (*kind) {
            case Kind::PageControl:
                FinishPageControl(control, self, context);
                break;
            case Kind::Notebook:
                FinishNotebook(control, self, context, "TPage");
                break;
            case Kind::TabbedNotebook:
                FinishNotebook(control, self, context, "TTabPage");
                break;
            case Kind::ScrollBox:
            case Kind::Frame:
                if (auto* box = dynamic_cast<Surface*>(self.Widget))
                    ShowNeededScrollBars(*box, control, context);
                break;
            case Kind::ControlBar:
                if (auto* bar = dynamic_cast<Surface*>(self.Widget)) FinishControlBar(control, *bar, context);
                break;
            default:
                break;
        }
    }

    void ShowChild(rt::Object& control, const Realized& self, rt::Object& child,
                   RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind || !self.Widget) return;
        QWidget* page = context.WidgetOf(child).Widget;
        if (!page) return;
        switch (*kind) {
            case Kind::PageControl:
            case Kind::TabbedNotebook:
                if (!child.InheritsFrom(*kind == Kind::PageControl ? "TTabSheet" : "TTabPage")) return;
                if (auto* frame = dynamic_cast<TabFrame*>(self.Widget)) frame->ShowPage(page);
                break;
            case Kind::Notebook:
                if (!child.InheritsFrom("TPage")) return;
                for (rt::Object* other : ChildrenOf(control, "TPage"))
                    if (QWidget* w = context.WidgetOf(*other).Widget) w->setVisible(w == page);
                page->raise();
                break;
            default:
                break;
        }
    }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeContainerFactory() {
    return std::make_unique<ContainerFactory>();
}

}  // namespace fw::preview
