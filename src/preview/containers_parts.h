#pragma once
// What the container factory's files share: limits, theme colours, the drawing of
// edges and lines, a windowed control's non-client area, the painted Surface widget, the
// tab frame, and the makers the factory's row table calls. Private to the container files.

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
#include "preview/controlfactory.h"
#include "preview/controlvalues.h"
#include "preview/imagelists.h"
#include "preview/vcllook.h"

namespace fw::preview::containers {

// Lists a control shows (tabs, panels, sections, pages, bands, grid cells) are cut at
// this many entries: more cannot be told apart on a screen, and a hostile count must
// not make the preview build millions of parts.
inline constexpr std::size_t MaxParts = 10000;

// Tabs, status panels and header sections are cut at this many: a strip of more could
// not show them, and each costs a label or a layout step.
inline constexpr std::size_t MaxStripParts = 1000;

// Pixel values are kept within this range so that sums cannot overflow.
inline constexpr int MaxPixels = 100000;

// A horizontal scroll bar's height and a vertical one's width (SM_CYHSCROLL).
inline constexpr int ScrollBarSize = 17;

// What a Windows 10 theme draws tabs, tab panes, headers and status bars with.
inline const QColor ThemeBorder(0xD9, 0xD9, 0xD9);
inline const QColor ThemeTabFace(0xF0, 0xF0, 0xF0);
inline const QColor ThemePane(0xFF, 0xFF, 0xFF);
inline const QColor ThemeEditBorder(0x82, 0x87, 0x90);
inline const QColor ThemeDivider(0xE5, 0xE5, 0xE5);
inline const QColor ThemeCheckedFace(0xCC, 0xE8, 0xFF);
inline const QColor ThemeCheckedBorder(0x99, 0xD1, 0xFF);
inline const QColor ThemeGripDot(0xB8, 0xB8, 0xB8);

// An ordinal property as int within [low, high], pixels by default.
int IntOf(const rt::Object& object, std::string_view name, int fallback, int low = -MaxPixels,
          int high = MaxPixels);

// The items of a collection property, at most MaxParts of them.
std::vector<const rt::Object*> ItemsOf(const rt::Object& object, std::string_view name);

// The child controls of a class, in z-order, at most MaxParts of them.
std::vector<rt::Object*> ChildrenOf(const rt::Object& control, std::string_view className);

// A Windows font as the shell uses it for status bars with UseSystemFont (Segoe UI 9).
QFont SystemUiFont();

// Lines of single pixels, both ends included.
void HLine(QPainter& p, int x1, int x2, int y, const QColor& color);
void VLine(QPainter& p, int x, int y1, int y2, const QColor& color);

// Rings of width pixels: the left and top sides in topLeft, the right and bottom sides
// (and so the top-right and bottom-left corners) in bottomRight. r shrinks by the rings
// drawn, as Windows' 3D frames leave the inside for what follows.
void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width);

// A push button's raised edge and a pressed one's sunken edge, two pixels each.
void RaisedEdge(QPainter& p, QRect r);
void SunkenEdge(QPainter& p, QRect r);

// The face of a latched button: the button face dotted with the highlight colour.
void LatchedFace(QPainter& p, const QRect& r);

// An etched line across (horizontal) or down (vertical): shadow, then highlight.
void EtchedHLine(QPainter& p, int x1, int x2, int y);
void EtchedVLine(QPainter& p, int x, int y1, int y2);

// A small filled triangle pointing in a direction, centred on c.
void Arrow(QPainter& p, QPoint c, Qt::ArrowType direction, int size, const QColor& color);

// A pair of small scroll buttons, as tab rows and tab sets show when their tabs do not
// fit.
void ScrollButtons(QPainter& p, const QRect& r, bool horizontal);

// The dotted grip of a Windows 10 rebar band, down a column from top to bottom.
void DottedGrip(QPainter& p, int x, int top, int bottom);

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
NonClient NonClientOf(const rt::Object& control, bool themed);

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
QLabel* TextLabel(QWidget* parent, const QString& text, Qt::Alignment alignment);

// Fills the client area with the control's colour unless it shows its parent's
// background, then draws the non-client edges.
Surface::PaintFn PlainBoxPaint(const NonClient& nc, QColor color, bool fill);

// Shows scroll bars on a scrolling box whose children reach beyond its client area, as
// AutoScroll does, or whose scroll bars were given a range.
void ShowNeededScrollBars(Surface& box, rt::Object& control, RealizeContext& context);
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
    // The image of each tab (a null image for a tab without one), shown before its
    // text. Set before SetTabs.
    void SetImages(std::vector<QImage> images) { images_ = std::move(images); }
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
    // The image of a tab, a null image for none; the gap between it and the text.
    const QImage& ImageAt(int index) const {
        return index >= 0 && index < static_cast<int>(images_.size())
                   ? images_[static_cast<std::size_t>(index)]
                   : noImage_;
    }
    static constexpr int ImageGap = 3;

    void Layout();
    void PaintTab(QPainter& p, int index);

    TabOptions options_;
    QStringList texts_;
    std::vector<QImage> images_;
    QImage noImage_;
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

// Panels, boxes, frames and the control grid (factory_panels.cpp).
Realized MakePanel(rt::Object& control, QWidget* parent);
Realized MakeScrollingBox(rt::Object& control, QWidget* parent, bool themedBorder);
Realized MakePlainBox(rt::Object& control, QWidget* parent);
Realized MakeFramedBox(rt::Object& control, QWidget* parent);
Realized MakeEmpty(rt::Object& control, QWidget* parent);
Realized MakeCtrlGrid(rt::Object& control, QWidget* parent);

// Bevels, shapes, splitters and images, drawn onto their parent (factory_shapes.cpp).
std::unique_ptr<DrawnControl> DrawBevel(const rt::Object& control);
std::unique_ptr<DrawnControl> DrawShape(const rt::Object& control);
std::unique_ptr<DrawnControl> DrawSplitter(const rt::Object& control);
std::unique_ptr<DrawnControl> DrawImage(const rt::Object& control, RealizeContext& context);

// Page controls, tab controls, notebooks and tab sets (factory_pages.cpp).
TabOptions TabOptionsOf(const rt::Object& control);
TabFrame* MakeTabFrame(rt::Object& control, QWidget* parent, TabOptions options);
void FinishPageControl(rt::Object& control, const Realized& self, RealizeContext& context);
void FinishNotebook(rt::Object& control, const Realized& self, RealizeContext& context,
                    std::string_view pageClass);
Realized MakeTabSet(rt::Object& control, QWidget* parent);

// Headers, tool, cool, control and status bars (factory_bars.cpp).
Realized MakeOldHeader(rt::Object& control, QWidget* parent);
Realized MakeHeaderControl(rt::Object& control, QWidget* parent);
Realized MakeToolBar(rt::Object& control, QWidget* parent);
Realized MakeToolButton(rt::Object& control, QWidget* parent, RealizeContext& context);
Realized MakeCoolBar(rt::Object& control, QWidget* parent);
Realized MakeControlBar(rt::Object& control, QWidget* parent);
void FinishControlBar(rt::Object& control, Surface& bar, RealizeContext& context);
Realized MakeStatusBar(rt::Object& control, QWidget* parent, RealizeContext& context);

// The media player (factory_media.cpp).
Realized MakeMediaPlayer(rt::Object& control, QWidget* parent);

}  // namespace fw::preview::containers
