// The standard controls: labels, edits, memos, push, bitmap and speed buttons, check
// and radio buttons, list and combo boxes, scroll bars, group boxes and radio groups,
// spin controls, the hot-key box, the file-system boxes and the data-aware look-alikes,
// each drawn as a Windows 10 desktop at 96 DPI shows it at run time.
//
// Captions show without their accelerator marks (Windows 10 hides the underlines until
// Alt is pressed). Data-aware controls show no data: the preview opens no dataset, so
// they look as at run time with nothing connected.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/classrows.h"
#include "preview/controlvalues.h"
#include "preview/controlfactory.h"
#include "preview/vcllook.h"
#include "runtime/registry.h"

namespace fw::preview {

namespace {

// Lists never get more rows than this, whatever the form holds: a list box of a
// million lines would only stall the preview, and nobody scrolls that far in it.
constexpr std::size_t MaxItems = 10000;
// Radio groups make one widget per item; past this many each would be thinner than a
// pixel anyway.
constexpr std::size_t MaxRadioItems = 1000;

// A widget of the preview takes no keyboard focus from the editor and offers no menu
// of its own (a line edit's would paste into the preview); the right button goes to
// the window that holds the preview.
void Quiet(QWidget* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setContextMenuPolicy(Qt::NoContextMenu);
    for (QWidget* inner : widget->findChildren<QWidget*>()) {
        inner->setFocusPolicy(Qt::NoFocus);
        inner->setContextMenuPolicy(Qt::NoContextMenu);
    }
}

// Text with Windows line breaks as Qt reads them.
QString UnixLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Text broken into lines of at most width pixels as Windows breaks words: at spaces
// only, the space at a break dropped, and a word wider than the line on a line of its
// own (cut off at the edge).
QString WrapWords(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        const QStringList words = paragraph.split(QLatin1Char(' '));
        QString line = words.value(0);
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString candidate = line + QLatin1Char(' ') + words[i];
            if (metrics.horizontalAdvance(candidate) <= width) {
                line = candidate;
            } else {
                lines << line;
                line = words[i];
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

void SortLikeWindows(QStringList& items) {
    // Sorted lists compare ignoring case, as the list and combo boxes of Windows do.
    std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
}

QString ApplyCharCase(const rt::Object& control, const QString& text) {
    const std::string charCase = EnumOf(control, "CharCase");
    if (charCase == "ecUpperCase") return text.toUpper();
    if (charCase == "ecLowerCase") return text.toLower();
    return text;
}

// A list's selection keeps its highlight colour when the preview does not have the
// focus, as a Windows list box keeps it.
void KeepSelectionColors(QWidget& widget) {
    QPalette palette = widget.palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    widget.setPalette(palette);
}

// Check and radio boxes are white whatever colour the control has.
void WhiteIndicators(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, ColorOf(clWindow));
    palette.setColor(QPalette::Text, ColorOf(clWindowText));
    widget.setPalette(palette);
}

// Check boxes, radio buttons and group boxes are drawn over their parent's background
// with themes; one with a colour of its own (and, where the class has the choice, not
// told to show its parent's background, which a stored colour overrides) fills it.
bool OwnBackground(const rt::Object& control) {
    return !BoolOf(control, "ParentColor", true) && !ShowsParentBackground(control);
}

// ---------------------------------------------------------------------------------
// Glyphs

QImage EmptyGlyph(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The cell of a glyph strip: NumGlyphs images side by side, 0 the normal look, 1 the
// disabled one, 2 the pressed one, 3 the down one. A cell the strip does not have is
// null.
QImage GlyphCell(const QImage& strip, std::int64_t numGlyphs, int cell) {
    if (strip.isNull()) return {};
    const int count = static_cast<int>(std::clamp<std::int64_t>(numGlyphs, 1, 4));
    if (cell >= count || strip.width() < count) return cell == 0 ? strip : QImage();
    const int width = strip.width() / count;
    return strip.copy(cell * width, 0, width, strip.height());
}

// The look Windows gives a glyph with no disabled image of its own: its dark pixels
// etched into the button face, a highlight below and right of a shadow.
QImage EtchedGlyph(const QImage& glyph) {
    if (glyph.isNull()) return {};
    const QImage source = glyph.convertToFormat(QImage::Format_ARGB32);
    QImage etched = EmptyGlyph(source.width(), source.height());
    std::vector<QPoint> marks;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            if (qAlpha(pixel) >= 128 && qGray(pixel) < 192) marks.emplace_back(x, y);
        }
    for (const QPoint& p : marks)
        if (p.x() + 1 < etched.width() && p.y() + 1 < etched.height())
            etched.setPixel(p.x() + 1, p.y() + 1, ColorOf(clBtnHighlight).rgba());
    for (const QPoint& p : marks)
        etched.setPixel(p, ColorOf(clBtnShadow).rgba());
    return etched;
}

QPen GlyphPen(const QColor& color, qreal width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawCheckMark(QPainter& p, const QColor& color, QPointF at, qreal scale = 1.0) {
    p.setPen(GlyphPen(color, 2.6 * scale));
    const QPointF points[] = {at + QPointF(0, 5) * scale, at + QPointF(4, 9) * scale,
                              at + QPointF(11, 1) * scale};
    p.drawPolyline(points, 3);
}

void DrawCircularArrow(QPainter& p, const QColor& color, const QRectF& box, qreal width) {
    p.setPen(GlyphPen(color, width));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, 60 * 16, 270 * 16);
    // The arrow head at the arc's start, pointing along it.
    const QPointF c = box.center();
    const qreal r = box.width() / 2;
    const QPointF tip(c.x() + r * 0.5, c.y() - r * 0.87);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const QPointF head[] = {tip + QPointF(-3.5, -2.5), tip + QPointF(2.5, -3), tip + QPointF(0.5, 3)};
    p.drawPolygon(head, 3);
}

// The stock glyph of a bitmap button kind, drawn here: a green check for OK and Yes, a
// red cross for Cancel, and so on, 18 by 18 pixels as the stock bitmaps are.
QImage StockGlyph(std::string_view kind) {
    QImage image = EmptyGlyph(18, 18);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor green(0, 128, 0), red(192, 0, 0), navy(0, 0, 128), olive(128, 128, 0), dark(64, 64, 64);
    if (kind == "bkOK" || kind == "bkYes") {
        DrawCheckMark(p, green, QPointF(3, 3.5));
    } else if (kind == "bkAll") {
        DrawCheckMark(p, green, QPointF(1, 2), 0.8);
        DrawCheckMark(p, green, QPointF(6, 7), 0.8);
    } else if (kind == "bkCancel") {
        p.setPen(GlyphPen(red, 2.6));
        p.drawLine(QPointF(4, 4), QPointF(13, 13));
        p.drawLine(QPointF(13, 4), QPointF(4, 13));
    } else if (kind == "bkNo") {
        p.setPen(GlyphPen(red, 2.2));
        p.drawEllipse(QRectF(2.5, 2.5, 12, 12));
        p.drawLine(QPointF(4.8, 4.8), QPointF(12.2, 12.2));
    } else if (kind == "bkAbort") {
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QRectF(2, 2, 14, 14));
        p.setPen(GlyphPen(Qt::white, 2));
        p.drawLine(QPointF(6, 6), QPointF(12, 12));
        p.drawLine(QPointF(12, 6), QPointF(6, 12));
    } else if (kind == "bkRetry") {
        DrawCircularArrow(p, green, QRectF(3.5, 3.5, 11, 11), 2.2);
    } else if (kind == "bkIgnore") {
        // A figure walking past.
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        p.drawEllipse(QRectF(8, 1, 4, 4));
        p.setPen(GlyphPen(dark, 2));
        p.drawLine(QPointF(10, 6), QPointF(9, 11));
        p.drawLine(QPointF(9, 11), QPointF(6, 16));
        p.drawLine(QPointF(9, 11), QPointF(12, 16));
        p.drawLine(QPointF(10, 7), QPointF(6, 10));
        p.drawLine(QPointF(10, 7), QPointF(14, 9));
    } else if (kind == "bkClose") {
        // An open door in its frame.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(dark);
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 11, 15);
        p.setPen(Qt::NoPen);
        p.setBrush(olive);
        const QPointF door[] = {{4, 2}, {10, 4}, {10, 17}, {4, 16}};
        p.drawPolygon(door, 4);
        p.setBrush(Qt::black);
        p.drawRect(8, 9, 1, 2);
    } else if (kind == "bkHelp") {
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(17);
        font.setBold(true);
        p.setFont(font);
        p.setPen(navy);
        p.drawText(QRect(0, 0, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        return {};
    }
    return image;
}

// The glyphs of a data navigator's buttons, in the order of its button set.
constexpr std::array<std::string_view, 12> NavigatorButtons = {
    "nbFirst", "nbPrior", "nbNext",   "nbLast",    "nbInsert",       "nbDelete",
    "nbEdit",  "nbPost",  "nbCancel", "nbRefresh", "nbApplyUpdates", "nbCancelUpdates"};

QImage NavigatorGlyph(std::size_t button) {
    QImage image = EmptyGlyph(16, 16);
    QPainter p(&image);
    const QColor ink(0, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto triangle = [&](QPointF a, QPointF b, QPointF c) {
        const QPointF points[] = {a, b, c};
        p.drawPolygon(points, 3);
    };
    switch (button) {
        case 0:  // first: a bar and a triangle pointing left
            p.drawRect(4, 4, 2, 8);
            triangle({11, 3.5}, {11, 12.5}, {6.5, 8});
            break;
        case 1:  // prior
            triangle({10, 3.5}, {10, 12.5}, {5.5, 8});
            break;
        case 2:  // next
            triangle({6, 3.5}, {6, 12.5}, {10.5, 8});
            break;
        case 3:  // last
            triangle({5, 3.5}, {5, 12.5}, {9.5, 8});
            p.drawRect(10, 4, 2, 8);
            break;
        case 4:  // insert: a plus
            p.drawRect(7, 3, 2, 10);
            p.drawRect(3, 7, 10, 2);
            break;
        case 5:  // delete: a minus
            p.drawRect(3, 7, 10, 2);
            break;
        case 6:  // edit: a triangle pointing up
            triangle({3.5, 11}, {12.5, 11}, {8, 5});
            break;
        case 7:  // post: a check mark
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setBrush(Qt::NoBrush);
            DrawCheckMark(p, ink, QPointF(3, 3));
            break;
        case 8:  // cancel: a cross
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(GlyphPen(ink, 2));
            p.drawLine(QPointF(4, 4), QPointF(12, 12));
            p.drawLine(QPointF(12, 4), QPointF(4, 12));
            break;
        case 9:  // refresh: a circular arrow
            p.setRenderHint(QPainter::Antialiasing, true);
            DrawCircularArrow(p, ink, QRectF(3.5, 3.5, 9, 9), 1.8);
            break;
        case 10:  // apply updates: a check mark over a bar
            p.drawRect(3, 12, 10, 2);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setBrush(Qt::NoBrush);
            DrawCheckMark(p, ink, QPointF(3, 1), 0.9);
            break;
        case 11:  // cancel updates: a cross over a bar
            p.drawRect(3, 12, 10, 2);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(GlyphPen(ink, 2));
            p.drawLine(QPointF(4, 2), QPointF(11, 9));
            p.drawLine(QPointF(11, 2), QPointF(4, 9));
            break;
        default:
            break;
    }
    return image;
}

// Small pictures of the file-system boxes.
QImage DocumentIcon() {
    QImage image = EmptyGlyph(16, 16);
    QPainter p(&image);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(Qt::white);
    const QPoint page[] = {{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
    p.drawPolygon(page, 5);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
    return image;
}

QImage FolderIcon(bool open) {
    QImage image = EmptyGlyph(16, 16);
    QPainter p(&image);
    const QColor edge(0xB0, 0x8C, 0x2C), fill(0xF8, 0xD7, 0x75);
    p.setPen(edge);
    p.setBrush(fill);
    const QPoint back[] = {{1, 3}, {6, 3}, {7, 4}, {14, 4}, {14, 13}, {1, 13}};
    p.drawPolygon(back, 6);
    if (open) {
        p.setBrush(QColor(0xFC, 0xE9, 0xA8));
        const QPoint front[] = {{1, 13}, {3, 7}, {15, 7}, {13, 13}};
        p.drawPolygon(front, 4);
    }
    return image;
}

QImage DriveIcon() {
    QImage image = EmptyGlyph(16, 16);
    QPainter p(&image);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(QColor(0xD0, 0xD0, 0xD0));
    p.drawRect(1, 5, 13, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0xC0, 0x00));
    p.drawRect(11, 8, 2, 2);
    return image;
}

QImage ColorSwatch(const QColor& color, int size) {
    QImage image = EmptyGlyph(size, size);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(color.isValid() ? color : QColor(Qt::black));
    p.drawRect(0, 0, size - 1, size - 1);
    return image;
}

// ---------------------------------------------------------------------------------
// Painted widgets

// A widget that lays out its own parts from its size: on every resize, and once when
// the realiser has given it its bounds (a widget not yet shown gets its resize event
// only when it is shown).
class Arranged {
public:
    virtual ~Arranged() = default;
    virtual void Arrange() = 0;
};

// How static text looks: a label, a static text control, the label of a labeled edit.
struct TextLook {
    enum class Border { None, Single, Sunken };
    QString Text;
    Qt::Alignment Horizontal = Qt::AlignLeft;
    Qt::Alignment Vertical = Qt::AlignTop;
    bool WordWrap = false;
    bool ShowAccelChar = true;
    bool Transparent = false;
    Qt::TextElideMode Elide = Qt::ElideNone;
    Border Frame = Border::None;

    // The text as the user reads it.
    QString Shown() const { return UnixLines(ShowAccelChar ? ShownCaption(Text) : Text); }
};

// Paints static text into area: its background unless transparent, its border, and
// the text, etched when disabled, with ellipses and word wrap as its look asks.
void PaintStaticText(QPainter& p, QRect area, const TextLook& look, const QString& shown, const QFont& font,
                     const QColor& back, const QColor& text, bool enabled) {
    if (!look.Transparent) p.fillRect(area, back);
    if (look.Frame == TextLook::Border::Single) {
        p.setPen(ColorOf(clWindowFrame));
        p.drawRect(area.adjusted(0, 0, -1, -1));
        area.adjust(1, 1, -1, -1);
    } else if (look.Frame == TextLook::Border::Sunken) {
        p.setPen(ColorOf(clBtnShadow));
        p.drawLine(area.topLeft(), area.topRight());
        p.drawLine(area.topLeft(), area.bottomLeft());
        p.setPen(ColorOf(clBtnHighlight));
        p.drawLine(area.bottomLeft(), area.bottomRight());
        p.drawLine(area.topRight(), area.bottomRight());
        area.adjust(1, 1, -1, -1);
    }
    if (shown.isEmpty()) return;
    QString lines = shown;
    p.setFont(font);
    const QFontMetrics metrics(font);
    if (look.WordWrap) {
        lines = WrapWords(lines, metrics, area.width());
    } else if (look.Elide != Qt::ElideNone) {
        QStringList split = lines.split(QLatin1Char('\n'));
        for (QString& line : split)
            line = metrics.elidedText(line, look.Elide, area.width());
        lines = split.join(QLatin1Char('\n'));
    }
    const int flags = static_cast<int>(look.Horizontal | look.Vertical) | Qt::TextExpandTabs;
    if (enabled) {
        p.setPen(text);
        p.drawText(area, flags, lines);
    } else {
        // Disabled text is etched: a highlight offset below right, the shadow on top.
        p.setPen(ColorOf(clBtnHighlight));
        p.drawText(area.translated(1, 1), flags, lines);
        p.setPen(ColorOf(clBtnShadow));
        p.drawText(area, flags, lines);
    }
}

// Static text with a window of its own: a static text control, the label of a labeled
// edit. The QLabel holds the text as shown (for tests and accessibility); the painting
// is the control's own.
class TextLabel : public QLabel {
public:
    using Border = TextLook::Border;
    using Look = TextLook;

    TextLabel(Look look, QWidget* parent) : QLabel(parent), look_(std::move(look)) {
        setTextFormat(Qt::PlainText);
        setText(look_.Shown());
        setAlignment(look_.Horizontal | look_.Vertical);
        setWordWrap(look_.WordWrap);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        PaintStaticText(p, rect(), look_, text(), font(), palette().window().color(),
                        palette().color(QPalette::Active, QPalette::WindowText), isEnabled());
    }

private:
    Look look_;
};

// A label drawn onto its parent, as the component library's labels are.
class DrawnLabel : public DrawnControl {
public:
    DrawnLabel(TextLook look, const rt::Object& control)
        : look_(std::move(look)),
          shown_(look_.Shown()),
          font_(ControlFont(control)),
          back_(ControlColor(control)),
          text_(ControlFontColor(control)) {}
    void Paint(QPainter& p, const QRect& whole, bool enabled) const override {
        PaintStaticText(p, whole, look_, shown_, font_, back_, text_, enabled);
    }
    QString Text() const override { return shown_; }

private:
    TextLook look_;
    QString shown_;
    QFont font_;
    QColor back_, text_;
};

// An edit box; with Ctl3D off Windows gives it a thin plain border instead of the
// sunken one.
class EditBox : public QLineEdit {
public:
    explicit EditBox(QWidget* parent) : QLineEdit(parent) {}
    void SetFlatBorder() {
        flat_ = true;
        setFrame(false);
        setTextMargins(2, 1, 1, 1);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (!flat_) return;
        QPainter p(this);
        p.setPen(ColorOf(clWindowFrame));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    bool flat_ = false;
};

enum class GlyphLayout { Left, Right, Top, Bottom };

GlyphLayout LayoutOf(const rt::Object& control) {
    const std::string layout = EnumOf(control, "Layout");
    if (layout == "blGlyphRight") return GlyphLayout::Right;
    if (layout == "blGlyphTop") return GlyphLayout::Top;
    if (layout == "blGlyphBottom") return GlyphLayout::Bottom;
    return GlyphLayout::Left;
}

struct GlyphAndText {
    QPoint Glyph;
    QRect Text;
};

// Where a button puts its glyph and caption. Beside each other (glyph left or right)
// both are centred vertically, above each other both horizontally. Margin is the gap
// from the edge to the glyph, -1 to centre the pair; Spacing the gap between them, -1
// to share the free room evenly (with Margin -1: margin, spacing and the far side get a
// third each).
GlyphAndText PlaceGlyphAndText(const QRect& client, QSize glyph, QSize text, GlyphLayout layout, int margin,
                               int spacing) {
    const bool beside = layout == GlyphLayout::Left || layout == GlyphLayout::Right;
    const int width = client.width(), height = client.height();
    QPoint g, t;
    if (beside) {
        g.setY((height - glyph.height() + 1) / 2);
        t.setY((height - text.height() + 1) / 2);
    } else {
        g.setX((width - glyph.width() + 1) / 2);
        t.setX((width - text.width() + 1) / 2);
    }
    if (text.width() == 0 || glyph.width() == 0) spacing = 0;
    if (margin == -1) {
        if (spacing < 0) {
            margin = beside ? (width - glyph.width() - text.width()) / 3
                            : (height - glyph.height() - text.height()) / 3;
            spacing = margin;
        } else {
            margin = beside ? (width - glyph.width() - spacing - text.width() + 1) / 2
                            : (height - glyph.height() - spacing - text.height() + 1) / 2;
        }
    } else if (spacing < 0) {
        spacing = beside ? (width - margin - glyph.width() - text.width()) / 2
                         : (height - margin - glyph.height() - text.height()) / 2;
    }
    switch (layout) {
        case GlyphLayout::Left:
            g.setX(margin);
            t.setX(g.x() + glyph.width() + spacing);
            break;
        case GlyphLayout::Right:
            g.setX(width - margin - glyph.width());
            t.setX(g.x() - spacing - text.width());
            break;
        case GlyphLayout::Top:
            g.setY(margin);
            t.setY(g.y() + glyph.height() + spacing);
            break;
        case GlyphLayout::Bottom:
            g.setY(height - margin - glyph.height());
            t.setY(g.y() - spacing - text.height());
            break;
    }
    return {client.topLeft() + g, QRect(client.topLeft() + t, text)};
}

// A push, bitmap or speed button: the bevel from the style, the glyph and the caption
// placed as the control places them.
class GlyphButton : public QPushButton {
public:
    enum class Face { Push, Speed, FlatSpeed };

    explicit GlyphButton(QWidget* parent) : QPushButton(parent) {}

    void SetCaption(const QString& caption, bool wordWrap) {
        setText(QtCaption(caption));
        shown_ = ShownCaption(caption);
        wordWrap_ = wordWrap;
    }
    void SetGlyphs(QImage normal, QImage disabled, QImage down) {
        glyph_ = std::move(normal);
        disabledGlyph_ = disabled.isNull() ? EtchedGlyph(glyph_) : std::move(disabled);
        downGlyph_ = std::move(down);
        // The icon is not drawn (paintEvent places the glyph); it tells what is shown.
        setIcon(glyph_.isNull() ? QIcon() : QIcon(QPixmap::fromImage(glyph_)));
    }
    void SetPlacement(GlyphLayout layout, int margin, int spacing) {
        // Gaps beyond any screen are cut to keep the arithmetic in range.
        layout_ = layout;
        margin_ = std::clamp(margin, -100000, 100000);
        spacing_ = std::clamp(spacing, -100000, 100000);
    }
    void SetFace(Face face, bool down) {
        face_ = face;
        setCheckable(down);
        setChecked(down);
        setFlat(face == Face::FlatSpeed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        const bool down = isChecked();
        switch (face_) {
            case Face::Push:
                style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
                break;
            case Face::Speed:
                option.state &= ~QStyle::State_Raised;
                option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
                style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, this);
                break;
            case Face::FlatSpeed:
                // A flat speed button shows no frame until it is down.
                if (down) {
                    option.state |= QStyle::State_Sunken | QStyle::State_On;
                    style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &p, this);
                }
                break;
        }
        QImage glyph = glyph_;
        if (!isEnabled())
            glyph = disabledGlyph_;
        else if (down && !downGlyph_.isNull())
            glyph = downGlyph_;

        const QRect client = rect().adjusted(1, 1, -1, -1);
        const QFontMetrics metrics(font());
        QSize textSize(0, 0);
        const int textFlags = Qt::AlignCenter | Qt::TextExpandTabs;
        QString text = UnixLines(shown_);
        if (!text.isEmpty()) {
            if (wordWrap_)
                text = WrapWords(text, metrics,
                                 std::max(1, client.width() - 4 - (glyph.isNull() ? 0 : glyph.width())));
            textSize = metrics.size(Qt::TextExpandTabs, text);
        }
        const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : glyph.size();
        const GlyphAndText place = PlaceGlyphAndText(client, glyphSize, textSize, layout_, margin_, spacing_);
        if (!glyph.isNull()) p.drawImage(place.Glyph, glyph);
        if (!text.isEmpty()) {
            p.setFont(font());
            p.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::ButtonText) : ColorOf(clGrayText));
            p.drawText(place.Text, textFlags, text);
        }
    }

private:
    QString shown_;
    bool wordWrap_ = false;
    QImage glyph_, disabledGlyph_, downGlyph_;
    GlyphLayout layout_ = GlyphLayout::Left;
    int margin_ = -1;
    int spacing_ = 4;
    Face face_ = Face::Push;
};

// Where a check or radio box puts its 13-pixel box and its caption: the box at the left
// and the caption after it, or with the caption left-justified the box at the right.
struct MarkAndText {
    QRect Mark;
    QRect Text;
};

constexpr int MarkSize = 13;
constexpr int MarkGap = 4;

MarkAndText PlaceMark(const QRect& area, bool textLeft) {
    const int y = area.top() + (area.height() - MarkSize) / 2;
    if (textLeft) {
        const QRect mark(area.right() - MarkSize + 1, y, MarkSize, MarkSize);
        return {mark, QRect(area.left(), area.top(), std::max(0, area.width() - MarkSize - MarkGap),
                            area.height())};
    }
    return {QRect(area.left(), y, MarkSize, MarkSize),
            QRect(area.left() + MarkSize + MarkGap, area.top(),
                  std::max(0, area.width() - MarkSize - MarkGap), area.height())};
}

void PaintMarkText(QPainter& p, const QWidget& widget, const QRect& area, const QString& shown,
                   bool wordWrap) {
    if (shown.isEmpty()) return;
    p.setFont(widget.font());
    p.setPen(widget.isEnabled() ? widget.palette().color(QPalette::Active, QPalette::WindowText)
                                : ColorOf(clGrayText));
    const QString text =
        wordWrap ? WrapWords(UnixLines(shown), QFontMetrics(widget.font()), area.width()) : UnixLines(shown);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs, text);
}

// A check box or radio button: the style's box, the caption beside it as Windows
// places it.
template <typename Button, QStyle::PrimitiveElement Indicator>
class MarkButton : public Button {
public:
    explicit MarkButton(QWidget* parent) : Button(parent) {}
    void SetCaption(const QString& caption, bool textLeft, bool wordWrap) {
        this->setText(QtCaption(caption));
        shown_ = ShownCaption(caption);
        textLeft_ = textLeft;
        wordWrap_ = wordWrap;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const MarkAndText place = PlaceMark(this->rect(), textLeft_);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.rect = place.Mark;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        this->style()->drawPrimitive(Indicator, &option, &p, this);
        PaintMarkText(p, *this, place.Text, shown_, wordWrap_);
    }

private:
    QString shown_;
    bool textLeft_ = false;
    bool wordWrap_ = false;
};

using CheckMarkBox = MarkButton<QCheckBox, QStyle::PE_IndicatorCheckBox>;
using RadioMarkButton = MarkButton<QRadioButton, QStyle::PE_IndicatorRadioButton>;

// A group box; without ShowFrame only its caption is drawn. The frame's top runs
// through the middle of the caption's line, where Windows keeps it also when there is
// no caption.
class FrameBox : public QGroupBox {
public:
    explicit FrameBox(QWidget* parent) : QGroupBox(parent) {}
    void SetShowFrame(bool show) { showFrame_ = show; }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (showFrame_ && !title().isEmpty()) {
            QGroupBox::paintEvent(event);
            return;
        }
        QPainter p(this);
        if (showFrame_) {
            QStyleOptionFrame frame;
            frame.initFrom(this);
            frame.rect = rect().adjusted(0, QFontMetrics(font()).height() / 2, 0, 0);
            if (frame.rect.width() < 2 || frame.rect.height() < 2) return;
            frame.lineWidth = 1;
            frame.midLineWidth = 0;
            style()->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &p, this);
            return;
        }
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_GroupBoxLabel;
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, this);
    }

private:
    bool showFrame_ = true;
};

// A radio group: a group box whose items are radio buttons in columns, filled top to
// bottom and then left to right. The buttons share the height under the caption
// evenly and each column the width inside the frame.
class RadioGroupBox : public FrameBox, public Arranged {
public:
    RadioGroupBox(int columns, QFont itemFont, QWidget* parent)
        : FrameBox(parent), columns_(std::clamp(columns, 1, 16)), itemFont_(std::move(itemFont)) {}
    void AddButton(RadioMarkButton* button) { buttons_.push_back(button); }

    void Arrange() override {
        if (buttons_.empty()) return;
        const int count = static_cast<int>(buttons_.size());
        const int perColumn = (count + columns_ - 1) / columns_;
        const int textHeight = QFontMetrics(itemFont_).height();
        const int buttonWidth = (width() - 10) / columns_;
        const int room = height() - textHeight - 5;
        const int buttonHeight = room / perColumn;
        const int topMargin = textHeight + 1 + (room % perColumn) / 2;
        for (int i = 0; i < count; ++i)
            buttons_[static_cast<std::size_t>(i)]->setGeometry(
                (i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                std::max(0, buttonWidth), std::max(0, buttonHeight));
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        FrameBox::resizeEvent(event);
        Arrange();
    }

private:
    int columns_;
    QFont itemFont_;
    std::vector<RadioMarkButton*> buttons_;
};

// The two arrow buttons of a spin button, the upper half and the lower half.
class SpinButtons : public QWidget {
public:
    SpinButtons(QImage up, QImage down, QWidget* parent)
        : QWidget(parent), up_(std::move(up)), down_(std::move(down)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int half = height() / 2;
        PaintHalf(p, QRect(0, 0, width(), half), up_, QStyle::PE_IndicatorArrowUp);
        PaintHalf(p, QRect(0, half, width(), height() - half), down_, QStyle::PE_IndicatorArrowDown);
    }

private:
    void PaintHalf(QPainter& p, const QRect& area, const QImage& glyph, QStyle::PrimitiveElement arrow) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = area;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, this);
        if (!glyph.isNull()) {
            const QImage shown = isEnabled() ? glyph : EtchedGlyph(glyph);
            p.drawImage(area.left() + (area.width() - shown.width()) / 2,
                        area.top() + (area.height() - shown.height()) / 2, shown);
            return;
        }
        QStyleOption arrowOption = option;
        const int side = std::max(1, std::min({area.width() - 4, area.height() - 2, 9}));
        arrowOption.rect = QRect(area.left() + (area.width() - side) / 2,
                                 area.top() + (area.height() - side) / 2, side, side);
        style()->drawPrimitive(arrow, &arrowOption, &p, this);
    }

    QImage up_, down_;
};

// The rows of a list box: one line of text in the control's font, the selected row
// filled with the highlight colour, a check box before the text in a check list box
// and a small picture where the row has one.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(int rowHeight, bool checks, QObject* parent)
        : QStyledItemDelegate(parent), rowHeight_(std::max(1, rowHeight)), checks_(checks) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics metrics(option.font);
        int width = metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 4;
        if (checks_) width += MarkSize + 2;
        return {width, rowHeight_};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        p->save();
        QRect area = option.rect;
        if (checks_) {
            QStyleOptionButton mark;
            mark.rect =
                QRect(area.left() + 1, area.top() + (area.height() - MarkSize) / 2, MarkSize, MarkSize);
            mark.palette = option.palette;
            mark.palette.setColor(QPalette::Base, ColorOf(clWindow));
            mark.palette.setColor(QPalette::Text, ColorOf(clWindowText));
            mark.state = QStyle::State_Enabled;
            const auto state = static_cast<Qt::CheckState>(index.data(Qt::CheckStateRole).toInt());
            mark.state |= state == Qt::Checked            ? QStyle::State_On
                          : state == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                          : QStyle::State_Off;
            if (const QWidget* w = option.widget)
                w->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &mark, p, w);
            area.setLeft(area.left() + MarkSize + 2);
        }
        area.setLeft(area.left() + index.data(Qt::UserRole).toInt());
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        if (selected) p->fillRect(area, option.palette.color(QPalette::Active, QPalette::Highlight));
        const QImage picture = index.data(Qt::DecorationRole).value<QImage>();
        if (!picture.isNull()) {
            p->drawImage(area.left() + 1, area.top() + (area.height() - picture.height()) / 2, picture);
            area.setLeft(area.left() + picture.width() + 3);
        }
        p->setFont(option.font);
        p->setPen(
            option.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(area.adjusted(2, 0, 0, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
        p->restore();
    }

private:
    int rowHeight_;
    bool checks_;
};

// Keeps the label of a labeled edit beside the edit: the label is a control of the
// edit's parent at run time, outside the edit's bounds, so it is a sibling widget that
// follows the edit's place, visibility and enabled state.
class BoundLabelFollower : public QObject {
public:
    BoundLabelFollower(QWidget* edit, QWidget* label, std::string position, int spacing)
        : QObject(edit),
          edit_(edit),
          label_(label),
          position_(std::move(position)),
          spacing_(std::clamp(spacing, -100000, 100000)) {
        edit->installEventFilter(this);
        Follow();
    }
    ~BoundLabelFollower() override {
        if (label_) label_->deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit_) {
            switch (event->type()) {
                case QEvent::Move:
                case QEvent::Resize:
                case QEvent::Show:
                case QEvent::Hide:
                case QEvent::EnabledChange:
                    Follow();
                    break;
                default:
                    break;
            }
        }
        return false;
    }

private:
    void Follow() {
        QWidget* edit = edit_.data();
        QWidget* label = label_.data();
        if (!label || !edit) return;
        const QRect e = edit->geometry();
        const QSize s = label->size();
        QPoint at(e.left(), e.top() - s.height() - spacing_);
        if (position_ == "lpBelow")
            at = QPoint(e.left(), e.bottom() + 1 + spacing_);
        else if (position_ == "lpLeft")
            at = QPoint(e.left() - s.width() - spacing_, e.top() + (e.height() - s.height()) / 2);
        else if (position_ == "lpRight")
            at = QPoint(e.right() + 1 + spacing_, e.top() + (e.height() - s.height()) / 2);
        label->move(at);
        label->setVisible(!edit->isHidden());
        label->setEnabled(edit->isEnabled());
    }

    QPointer<QWidget> edit_;
    QPointer<QWidget> label_;
    std::string position_;
    int spacing_;
};

// ---------------------------------------------------------------------------------
// Labels and edits

TextLabel::Look LabelLook(const rt::Object& control, QString text) {
    TextLabel::Look look;
    look.Text = std::move(text);
    look.Horizontal = HorizontalAlignment(EnumOf(control, "Alignment"));
    const std::string layout = EnumOf(control, "Layout");
    look.Vertical = layout == "tlCenter"   ? Qt::AlignVCenter
                    : layout == "tlBottom" ? Qt::AlignBottom
                                           : Qt::AlignTop;
    look.WordWrap = BoolOf(control, "WordWrap");
    look.ShowAccelChar = BoolOf(control, "ShowAccelChar", true);
    // With themes a label is transparent unless Transparent was set false, and a form
    // stores Transparent only when it was set, which the live object cannot tell from
    // the default. A label in its parent's colour looks the same either way where the
    // parent paints its plain colour, and right (transparent) where it paints more; a
    // label with a colour of its own is drawn opaque when Transparent is false.
    look.Transparent = BoolOf(control, "Transparent") || BoolOf(control, "ParentColor", true);
    const std::string ellipsis = EnumOf(control, "EllipsisPosition");
    if (ellipsis == "epEndEllipsis" || ellipsis == "epWordEllipsis")
        look.Elide = Qt::ElideRight;
    else if (ellipsis == "epPathEllipsis")
        look.Elide = Qt::ElideMiddle;
    return look;
}

std::unique_ptr<DrawnControl> DrawLabel(const rt::Object& control) {
    // A data-aware label shows its field's value, and there is none without data.
    const bool data = rt::EqualsIgnoringCase(control.ClassName(), "TDBText");
    return std::make_unique<DrawnLabel>(LabelLook(control, data ? QString() : TextOf(control, "Caption")), control);
}

Realized MakeStaticText(rt::Object& control, QWidget* parent) {
    TextLabel::Look look = LabelLook(control, TextOf(control, "Caption"));
    // A static text control wraps its words at its width.
    look.WordWrap = true;
    look.Transparent = BoolOf(control, "Transparent", true);
    const std::string border = EnumOf(control, "BorderStyle");
    look.Frame = border == "sbsSingle"   ? TextLabel::Border::Single
                 : border == "sbsSunken" ? TextLabel::Border::Sunken
                                         : TextLabel::Border::None;
    auto* label = new TextLabel(std::move(look), parent);
    ApplyColorsAndFont(*label, control, false);
    return {label, nullptr};
}

struct MaskParts {
    QString Mask;
    bool SaveLiterals = true;
    QChar Blank = QLatin1Char('_');
};

// An edit mask is "mask;save literals;blank": the last two fields are one character
// each and may be left out.
MaskParts SplitEditMask(const QString& editMask) {
    MaskParts parts;
    parts.Mask = editMask;
    const qsizetype n = editMask.size();
    if (n >= 2 && editMask[n - 2] == QLatin1Char(';')) {
        parts.Blank = editMask[n - 1];
        parts.Mask = editMask.left(n - 2);
        const qsizetype m = parts.Mask.size();
        if (m >= 2 && parts.Mask[m - 2] == QLatin1Char(';')) {
            parts.SaveLiterals = parts.Mask[m - 1] != QLatin1Char('0');
            parts.Mask = parts.Mask.left(m - 2);
        }
    }
    return parts;
}

// The text a masked edit shows: the mask's literals in place, the text's characters in
// the places for characters, and the blank character where the text has none. When
// the mask keeps its literals the text is written with them, position by position.
QString MaskedText(const QString& editMask, const QString& text) {
    const MaskParts parts = SplitEditMask(editMask);
    if (parts.Mask.isEmpty()) return text;
    static const QString placeholders = QStringLiteral("LlAaCc09#");
    QString shown;
    qsizetype next = 0;  // the next character of text
    int caseMode = 0;    // 1 upper, -1 lower
    for (qsizetype i = 0; i < parts.Mask.size(); ++i) {
        const QChar m = parts.Mask[i];
        if (m == QLatin1Char('>')) {
            if (i + 1 < parts.Mask.size() && parts.Mask[i + 1] == QLatin1Char('<')) {
                caseMode = 0;
                ++i;
            } else {
                caseMode = 1;
            }
            continue;
        }
        if (m == QLatin1Char('<')) {
            caseMode = -1;
            continue;
        }
        if (m == QLatin1Char('!')) continue;
        if (placeholders.contains(m)) {
            QChar c = next < text.size() ? text[next] : parts.Blank;
            ++next;
            if (c == QLatin1Char(' ') && parts.SaveLiterals) c = parts.Blank;
            if (caseMode > 0)
                c = c.toUpper();
            else if (caseMode < 0)
                c = c.toLower();
            shown += c;
            continue;
        }
        QChar literal = m;
        if (m == QLatin1Char('\\') && i + 1 < parts.Mask.size())
            literal = parts.Mask[++i];
        else if (m == QLatin1Char('_'))
            literal = QLatin1Char(' ');
        shown += literal;
        // A text saved with the literals has them at their places too.
        if (parts.SaveLiterals && next < text.size()) ++next;
    }
    return shown;
}

EditBox* MakeEditBox(rt::Object& control, QWidget* parent, QString text) {
    auto* edit = new EditBox(parent);
    ApplyColorsAndFont(*edit, control, true);
    edit->setAlignment(HorizontalAlignment(EnumOf(control, "Alignment")) | Qt::AlignVCenter);
    if (EnumOf(control, "BorderStyle") == "bsNone")
        edit->setFrame(false);
    else if (!BoolOf(control, "Ctl3D", true))
        edit->SetFlatBorder();
    text = ApplyCharCase(control, text);
    const std::int64_t password = OrdinalOf(control, "PasswordChar");
    if (password > 0 && password <= 0xFFFF)
        text = QString(text.size(), QChar(static_cast<char16_t>(password)));
    edit->setText(text);
    edit->setPlaceholderText(TextOf(control, "TextHint"));
    // An edit without the focus shows the start of its text.
    edit->setCursorPosition(0);
    return edit;
}

Realized MakeEdit(rt::Object& control, QWidget* parent) {
    const std::string_view cls = control.ClassName();
    QString text;
    if (rt::EqualsIgnoringCase(cls, "TMaskEdit"))
        text = MaskedText(TextOf(control, "EditMask"), TextOf(control, "Text"));
    else if (!rt::EqualsIgnoringCase(cls, "TDBEdit"))
        text = UnixLines(TextOf(control, "Text"));
    return {MakeEditBox(control, parent, text), nullptr};
}

// The name a Windows hot-key box gives a virtual key.
QString KeyName(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return QString(QChar(key));
    if (key >= 0x70 && key <= 0x87) return QStringLiteral("F%1").arg(key - 0x6F);
    if (key >= 0x60 && key <= 0x69) return QStringLiteral("Num %1").arg(key - 0x60);
    switch (key) {
        case 0x08:
            return QStringLiteral("Backspace");
        case 0x09:
            return QStringLiteral("Tab");
        case 0x0D:
            return QStringLiteral("Enter");
        case 0x13:
            return QStringLiteral("Pause");
        case 0x14:
            return QStringLiteral("Caps Lock");
        case 0x1B:
            return QStringLiteral("Esc");
        case 0x20:
            return QStringLiteral("Space");
        case 0x21:
            return QStringLiteral("Page Up");
        case 0x22:
            return QStringLiteral("Page Down");
        case 0x23:
            return QStringLiteral("End");
        case 0x24:
            return QStringLiteral("Home");
        case 0x25:
            return QStringLiteral("Left");
        case 0x26:
            return QStringLiteral("Up");
        case 0x27:
            return QStringLiteral("Right");
        case 0x28:
            return QStringLiteral("Down");
        case 0x2C:
            return QStringLiteral("Print Screen");
        case 0x2D:
            return QStringLiteral("Insert");
        case 0x2E:
            return QStringLiteral("Delete");
        case 0x6A:
            return QStringLiteral("Num *");
        case 0x6B:
            return QStringLiteral("Num +");
        case 0x6D:
            return QStringLiteral("Num -");
        case 0x6E:
            return QStringLiteral("Num Del");
        case 0x6F:
            return QStringLiteral("Num /");
        case 0x90:
            return QStringLiteral("Num Lock");
        case 0x91:
            return QStringLiteral("Scroll Lock");
        case 0xBA:
            return QStringLiteral(";");
        case 0xBB:
            return QStringLiteral("=");
        case 0xBC:
            return QStringLiteral(",");
        case 0xBD:
            return QStringLiteral("-");
        case 0xBE:
            return QStringLiteral(".");
        case 0xBF:
            return QStringLiteral("/");
        case 0xC0:
            return QStringLiteral("`");
        case 0xDB:
            return QStringLiteral("[");
        case 0xDC:
            return QStringLiteral("\\");
        case 0xDD:
            return QStringLiteral("]");
        case 0xDE:
            return QStringLiteral("'");
        default:
            return {};
    }
}

// A shortcut as a hot-key box shows it: "Ctrl + Shift + Alt + key", "None" for none.
QString HotKeyText(std::int64_t shortcut) {
    const int key = static_cast<int>(shortcut & 0xFF);
    QStringList parts;
    if (shortcut & 0x4000) parts << QStringLiteral("Ctrl");
    if (shortcut & 0x2000) parts << QStringLiteral("Shift");
    if (shortcut & 0x8000) parts << QStringLiteral("Alt");
    if (parts.isEmpty() && key == 0) return QStringLiteral("None");
    parts << KeyName(key);
    return parts.join(QStringLiteral(" + "));
}

Realized MakeHotKey(rt::Object& control, QWidget* parent) {
    EditBox* edit = MakeEditBox(control, parent, HotKeyText(OrdinalOf(control, "HotKey")));
    // The box has no colour of its own to write: it is a window's colour.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, ColorOf(clWindow));
    edit->setPalette(palette);
    return {edit, nullptr};
}

Realized MakeLabeledEdit(rt::Object& control, QWidget* parent) {
    return {MakeEditBox(control, parent, UnixLines(TextOf(control, "Text"))), nullptr};
}

// The label of a labeled edit, made once the edit has its place.
void AttachBoundLabel(rt::Object& control, QWidget* edit) {
    rt::Object* bound = ObjectOf(control, "EditLabel");
    QWidget* parent = edit->parentWidget();
    if (!bound || !parent) return;
    auto* label = new TextLabel(LabelLook(*bound, TextOf(*bound, "Caption")), parent);
    // The label is a control of the edit's parent and takes that parent's colour and
    // font, unless it has its own.
    const rt::Object* owner = control.Parent();
    QPalette palette = label->palette();
    QFont font = owner ? ControlFont(*owner) : FontOf(nullptr);
    QColor text = owner ? ControlFontColor(*owner) : FontColorOf(nullptr);
    if (!BoolOf(*bound, "ParentFont", true)) {
        font = FontOf(ObjectOf(*bound, "Font"));
        text = FontColorOf(ObjectOf(*bound, "Font"));
    }
    QColor back = owner ? ControlColor(*owner) : ColorOf(clBtnFace);
    if (!BoolOf(*bound, "ParentColor", true)) {
        const QColor own = ColorOf(OrdinalOf(*bound, "Color", clBtnFace));
        if (own.isValid()) back = own;
    }
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    label->setFont(font);
    // The label keeps the size it was given; a label without one is as large as its text.
    QSize size(ClampInt(OrdinalOf(*bound, "Width")), ClampInt(OrdinalOf(*bound, "Height")));
    if (size.width() <= 0 || size.height() <= 0) {
        const QSize measured = QFontMetrics(font).size(Qt::TextExpandTabs, label->text());
        if (size.width() <= 0) size.setWidth(measured.width());
        if (size.height() <= 0) size.setHeight(measured.height());
    }
    label->resize(std::clamp(size.width(), 0, 100000), std::clamp(size.height(), 0, 100000));
    Quiet(label);
    new BoundLabelFollower(edit, label, EnumOf(control, "LabelPosition"),
                           ClampInt(OrdinalOf(control, "LabelSpacing", 3)));
}

Realized MakeMemo(rt::Object& control, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    ApplyColorsAndFont(*memo, control, true);
    if (!rt::EqualsIgnoringCase(control.ClassName(), "TDBMemo")) {
        QStringList lines = LinesOf(control, "Lines");
        memo->setPlainText(ApplyCharCase(control, lines.join(QLatin1Char('\n'))));
    }
    memo->setPlaceholderText(TextOf(control, "TextHint"));
    memo->setLineWrapMode(BoolOf(control, "WordWrap", true) ? QPlainTextEdit::WidgetWidth
                                                            : QPlainTextEdit::NoWrap);
    // A memo's scroll bars are part of its window style: present whether needed or not.
    const std::string bars = EnumOf(control, "ScrollBars");
    const bool vertical = bars == "ssVertical" || bars == "ssBoth";
    const bool horizontal = bars == "ssHorizontal" || bars == "ssBoth";
    memo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (EnumOf(control, "BorderStyle") == "bsNone") {
        memo->setFrameShape(QFrame::NoFrame);
    } else if (!BoolOf(control, "Ctl3D", true)) {
        memo->setFrameStyle(QFrame::Box | QFrame::Plain);
        memo->setLineWidth(1);
    }
    QTextOption option = memo->document()->defaultTextOption();
    option.setAlignment(HorizontalAlignment(EnumOf(control, "Alignment")));
    // Tab stops every eight average characters.
    option.setTabStopDistance(8.0 * QFontMetricsF(memo->font()).averageCharWidth());
    memo->document()->setDefaultTextOption(option);
    memo->document()->setDocumentMargin(1);
    memo->moveCursor(QTextCursor::Start);
    return {memo, nullptr};
}

// ---------------------------------------------------------------------------------
// Buttons

// The caption and glyph a bitmap button of a stock kind shows when it has none of its
// own.
QString StockCaption(std::string_view kind) {
    if (kind == "bkOK") return QStringLiteral("OK");
    if (kind == "bkCancel") return QStringLiteral("Cancel");
    if (kind == "bkHelp") return QStringLiteral("&Help");
    if (kind == "bkYes") return QStringLiteral("&Yes");
    if (kind == "bkNo") return QStringLiteral("&No");
    if (kind == "bkClose") return QStringLiteral("&Close");
    if (kind == "bkAbort") return QStringLiteral("Abort");
    if (kind == "bkRetry") return QStringLiteral("&Retry");
    if (kind == "bkIgnore") return QStringLiteral("&Ignore");
    if (kind == "bkAll") return QStringLiteral("&All");
    return {};
}

Realized MakeButton(rt::Object& control, QWidget* parent) {
    auto* button = new GlyphButton(parent);
    ApplyColorsAndFont(*button, control, false);
    button->SetCaption(TextOf(control, "Caption"), BoolOf(control, "WordWrap"));
    button->setDefault(BoolOf(control, "Default"));
    return {button, nullptr};
}

// A button's glyph strip from its Glyph property, transparent where the bottom-left
// pixel's colour is.
QImage GlyphStrip(const rt::Object& control, std::string_view property) {
    const rt::Object* glyph = ObjectOf(control, property);
    return glyph ? DecodeGraphic(glyph->Graphic(), true) : QImage();
}

Realized MakeBitBtn(rt::Object& control, QWidget* parent) {
    auto* button = new GlyphButton(parent);
    ApplyColorsAndFont(*button, control, false);
    const std::string kind = EnumOf(control, "Kind");
    QString caption = TextOf(control, "Caption");
    if (caption.isEmpty()) caption = StockCaption(kind);
    button->SetCaption(caption, BoolOf(control, "WordWrap"));
    button->setDefault(BoolOf(control, "Default"));
    const QImage strip = GlyphStrip(control, "Glyph");
    const std::int64_t numGlyphs = OrdinalOf(control, "NumGlyphs", 1);
    if (!strip.isNull())
        button->SetGlyphs(GlyphCell(strip, numGlyphs, 0), GlyphCell(strip, numGlyphs, 1), {});
    else
        button->SetGlyphs(StockGlyph(kind), {}, {});
    button->SetPlacement(LayoutOf(control), ClampInt(OrdinalOf(control, "Margin", -1)),
                         ClampInt(OrdinalOf(control, "Spacing", 4)));
    return {button, nullptr};
}

Realized MakeSpeedButton(rt::Object& control, QWidget* parent) {
    auto* button = new GlyphButton(parent);
    ApplyColorsAndFont(*button, control, false);
    button->SetCaption(TextOf(control, "Caption"), false);
    const bool down = BoolOf(control, "Down");
    button->SetFace(BoolOf(control, "Flat") ? GlyphButton::Face::FlatSpeed : GlyphButton::Face::Speed, down);
    const QImage strip = GlyphStrip(control, "Glyph");
    const std::int64_t numGlyphs = OrdinalOf(control, "NumGlyphs", 1);
    // A button held down shows the fourth image, or the third where there is no fourth.
    QImage downGlyph = GlyphCell(strip, numGlyphs, 3);
    if (downGlyph.isNull()) downGlyph = GlyphCell(strip, numGlyphs, 2);
    button->SetGlyphs(GlyphCell(strip, numGlyphs, 0), GlyphCell(strip, numGlyphs, 1), downGlyph);
    button->SetPlacement(LayoutOf(control), ClampInt(OrdinalOf(control, "Margin", -1)),
                         ClampInt(OrdinalOf(control, "Spacing", 4)));
    return {button, nullptr};
}

Realized MakeCheckBox(rt::Object& control, QWidget* parent) {
    auto* box = new CheckMarkBox(parent);
    ApplyColorsAndFont(*box, control, OwnBackground(control));
    WhiteIndicators(*box);
    box->SetCaption(TextOf(control, "Caption"), EnumOf(control, "Alignment") == "taLeftJustify",
                    BoolOf(control, "WordWrap"));
    box->setTristate(true);
    Qt::CheckState state = Qt::Unchecked;
    // A data-aware check box with no data is unchecked.
    if (!rt::EqualsIgnoringCase(control.ClassName(), "TDBCheckBox")) {
        const std::string written = EnumOf(control, "State");
        if (written == "cbChecked" || BoolOf(control, "Checked")) state = Qt::Checked;
        if (written == "cbGrayed") state = Qt::PartiallyChecked;
    }
    box->setCheckState(state);
    return {box, nullptr};
}

Realized MakeRadioButton(rt::Object& control, QWidget* parent) {
    auto* button = new RadioMarkButton(parent);
    ApplyColorsAndFont(*button, control, OwnBackground(control));
    WhiteIndicators(*button);
    button->SetCaption(TextOf(control, "Caption"), EnumOf(control, "Alignment") == "taLeftJustify",
                       BoolOf(control, "WordWrap"));
    // Checking a radio button unchecks the radio buttons beside it, and the form sets
    // them in the order it holds them: of several written as checked, the last one is.
    bool checked = BoolOf(control, "Checked");
    if (checked && control.Parent()) {
        const auto& siblings = control.Parent()->Controls();
        const auto self = std::find(siblings.begin(), siblings.end(), &control);
        if (self != siblings.end())
            for (auto later = self + 1; later != siblings.end(); ++later)
                if ((*later)->InheritsFrom("TRadioButton") && BoolOf(**later, "Checked")) checked = false;
    }
    button->setAutoExclusive(false);
    button->setChecked(checked);
    return {button, nullptr};
}

// ---------------------------------------------------------------------------------
// Lists and combo boxes

int ListRowHeight(const rt::Object& control, const QFont& font) {
    // Owner-drawn rows have the item height written for them; the others are as high as
    // the font's line.
    const std::string style = EnumOf(control, "Style");
    if (style == "lbOwnerDrawFixed" || style == "lbOwnerDrawVariable" || style == "lbVirtualOwnerDraw") {
        const std::int64_t h = OrdinalOf(control, "ItemHeight", 16);
        if (h > 0) return static_cast<int>(std::min<std::int64_t>(h, 1000));
    }
    return QFontMetrics(font).height();
}

QListWidget* MakeListWidget(rt::Object& control, QWidget* parent, bool checks) {
    auto* list = new QListWidget(parent);
    ApplyColorsAndFont(*list, control, true);
    KeepSelectionColors(*list);
    const QFont font = ControlFont(control);
    int rowHeight = ListRowHeight(control, font);
    if (checks) rowHeight = std::max(rowHeight, MarkSize + 2);
    list->setItemDelegate(new RowDelegate(rowHeight, checks, list));
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (EnumOf(control, "BorderStyle") == "bsNone") {
        list->setFrameShape(QFrame::NoFrame);
    } else if (!BoolOf(control, "Ctl3D", true)) {
        list->setFrameStyle(QFrame::Box | QFrame::Plain);
        list->setLineWidth(1);
    }
    return list;
}

void FillList(QListWidget* list, const rt::Object& control, QStringList items, bool sorted, bool checks) {
    if (sorted) SortLikeWindows(items);
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        if (checks) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    // Several columns: the rows run down each column of the list's width shared evenly.
    const std::int64_t columns = OrdinalOf(control, "Columns");
    if (columns > 0) {
        const int width = std::max(1, ClampInt(OrdinalOf(control, "Width")) - 4);
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        const int rowHeight = list->itemDelegate()->sizeHint(QStyleOptionViewItem(), QModelIndex()).height();
        list->setGridSize(
            QSize(std::max(1, width / ClampInt(std::min<std::int64_t>(columns, 1000))), rowHeight));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    // With several rows selectable the item index is only the focused row, which shows
    // no highlight while the list has no focus.
    const std::int64_t index = OrdinalOf(control, "ItemIndex", -1);
    if (!BoolOf(control, "MultiSelect") && index >= 0 && index < list->count())
        list->setCurrentRow(static_cast<int>(index));
}

Realized MakeListBox(rt::Object& control, QWidget* parent) {
    const bool checks = rt::EqualsIgnoringCase(control.ClassName(), "TCheckListBox");
    QListWidget* list = MakeListWidget(control, parent, checks);
    // A virtual list box gets its rows from code, which the preview does not run.
    const std::string style = EnumOf(control, "Style");
    QStringList items;
    if (style != "lbVirtual" && style != "lbVirtualOwnerDraw") items = LinesOf(control, "Items");
    if (rt::EqualsIgnoringCase(control.ClassName(), "TDBListBox")) {
        FillList(list, control, items, BoolOf(control, "Sorted"), false);
        list->setCurrentRow(-1);
    } else {
        FillList(list, control, items, BoolOf(control, "Sorted"), checks);
    }
    return {list, nullptr};
}

Realized MakeEmptyList(rt::Object& control, QWidget* parent) {
    return {MakeListWidget(control, parent, false), nullptr};
}

// Names of files a file list box might show for its mask, for a neutral look.
QStringList SampleFiles(const QString& mask) {
    QString pattern = mask.section(QLatin1Char(';'), 0, 0).trimmed();
    if (pattern.isEmpty() || pattern == QStringLiteral("*.*") || pattern == QStringLiteral("*"))
        pattern = QStringLiteral("*.txt");
    QStringList names;
    for (const QString& base : {QStringLiteral("document"), QStringLiteral("readme")}) {
        QString name = pattern;
        name.replace(QLatin1Char('*'), base);
        name.replace(QLatin1Char('?'), QLatin1Char('1'));
        if (!names.contains(name)) names << name;
    }
    return names;
}

Realized MakeFileListBox(rt::Object& control, QWidget* parent) {
    QListWidget* list = MakeListWidget(control, parent, false);
    const bool glyphs = BoolOf(control, "ShowGlyphs");
    QString mask = TextOf(control, "Mask");
    if (mask.isEmpty()) mask = QStringLiteral("*.*");
    if (HasElement(control, "FileType", "ftDirectory")) {
        auto* up = new QListWidgetItem(QStringLiteral("[..]"), list);
        if (glyphs) up->setData(Qt::DecorationRole, FolderIcon(false));
    }
    for (const QString& name : SampleFiles(mask)) {
        auto* item = new QListWidgetItem(name, list);
        if (glyphs) item->setData(Qt::DecorationRole, DocumentIcon());
    }
    return {list, nullptr};
}

Realized MakeDirectoryListBox(rt::Object& control, QWidget* parent) {
    QListWidget* list = MakeListWidget(control, parent, false);
    // The path from the drive's root down to the directory, each folder open and one
    // step further in.
    QString directory = TextOf(control, "Directory");
    if (directory.isEmpty()) directory = QStringLiteral("c:\\");
    directory.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = directory.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.isEmpty()) parts << QStringLiteral("c:");
    if (parts.size() > 64) parts = parts.mid(0, 64);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString text = i == 0 ? parts[i] + QLatin1Char('\\') : parts[i];
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::DecorationRole, FolderIcon(true));
        item->setData(Qt::UserRole, static_cast<int>(i) * 8);
    }
    list->setCurrentRow(static_cast<int>(parts.size() - 1));
    return {list, nullptr};
}

QComboBox* NewCombo(rt::Object& control, QWidget* parent, bool editable) {
    auto* combo = new QComboBox(parent);
    ApplyColorsAndFont(*combo, control, true);
    KeepSelectionColors(*combo);
    combo->setEditable(editable);
    combo->setIconSize(QSize(16, 16));
    return combo;
}

// A simple combo box: an edit with its list always open below it.
class SimpleCombo : public QWidget, public Arranged {
public:
    SimpleCombo(EditBox* edit, QListWidget* list, QWidget* parent)
        : QWidget(parent), edit_(edit), list_(list) {}
    EditBox* Edit() const { return edit_; }
    QListWidget* List() const { return list_; }

    void Arrange() override {
        const int editHeight = std::min(height(), QFontMetrics(font()).height() + 8);
        edit_->setGeometry(0, 0, width(), editHeight);
        list_->setGeometry(0, editHeight, width(), std::max(0, height() - editHeight));
    }

protected:
    void resizeEvent(QResizeEvent*) override { Arrange(); }

private:
    EditBox* edit_;
    QListWidget* list_;
};

QWidget* MakeSimpleCombo(rt::Object& control, QWidget* parent, const QStringList& items,
                         const QString& text) {
    auto* edit = new EditBox(nullptr);
    ApplyColorsAndFont(*edit, control, true);
    edit->setText(text);
    edit->setCursorPosition(0);
    auto* list = new QListWidget(nullptr);
    ApplyColorsAndFont(*list, control, true);
    KeepSelectionColors(*list);
    list->setItemDelegate(new RowDelegate(QFontMetrics(ControlFont(control)).height(), false, list));
    list->addItems(items);
    auto* box = new SimpleCombo(edit, list, parent);
    ApplyColorsAndFont(*box, control, false);
    edit->setParent(box);
    list->setParent(box);
    return box;
}

// The text a combo box shows: its item at ItemIndex, else (with an edit) its Text; a
// drop-down list shows only an item, the one its Text names if any.
QString ComboText(const rt::Object& control, const QStringList& items, bool editable, int& index) {
    const std::int64_t written = OrdinalOf(control, "ItemIndex", -1);
    index = written >= 0 && written < items.size() ? static_cast<int>(written) : -1;
    const QString text = TextOf(control, "Text");
    if (index >= 0) return items[index];
    if (editable) return text;
    if (!text.isEmpty())
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i].compare(text, Qt::CaseInsensitive) == 0) {
                index = static_cast<int>(i);
                return items[i];
            }
    return {};
}

Realized MakeComboBox(rt::Object& control, QWidget* parent) {
    const bool data = rt::EqualsIgnoringCase(control.ClassName(), "TDBComboBox");
    const std::string style = EnumOf(control, "Style");
    QStringList items = LinesOf(control, "Items");
    if (BoolOf(control, "Sorted")) SortLikeWindows(items);
    const bool editable = style.empty() || style == "csDropDown" || style == "csSimple";
    int index = -1;
    // A data-aware combo box shows its field's value, and there is none without data.
    QString text = data ? QString() : ApplyCharCase(control, ComboText(control, items, editable, index));
    if (style == "csSimple") return {MakeSimpleCombo(control, parent, items, text), nullptr};
    QComboBox* combo = NewCombo(control, parent, editable);
    combo->addItems(items);
    combo->setCurrentIndex(index);
    if (editable) {
        combo->setEditText(text);
        if (QLineEdit* edit = combo->lineEdit()) {
            edit->setPlaceholderText(TextOf(control, "TextHint"));
            edit->setCursorPosition(0);
        }
    }
    return {combo, nullptr};
}

Realized MakeComboBoxEx(rt::Object& control, QWidget* parent) {
    QStringList items;
    if (const rt::Object* itemsEx = ObjectOf(control, "ItemsEx")) {
        const auto& source = itemsEx->Items();
        for (std::size_t i = 0; i < source.size() && i < MaxItems; ++i)
            items << TextOf(*source[i], "Caption");
    }
    const std::string style = EnumOf(control, "Style");
    const QString text = TextOf(control, "Text");
    if (style == "csExSimple") return {MakeSimpleCombo(control, parent, items, text), nullptr};
    const bool editable = style != "csExDropDownList";
    QComboBox* combo = NewCombo(control, parent, editable);
    combo->addItems(items);
    int index = -1;
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i] == text) {
            index = static_cast<int>(i);
            break;
        }
    combo->setCurrentIndex(index);
    if (editable) {
        combo->setEditText(text);
        if (QLineEdit* edit = combo->lineEdit()) edit->setCursorPosition(0);
    }
    return {combo, nullptr};
}

// The colours a colour box lists: value, name, pretty name.
struct NamedColor {
    std::int64_t Value;
    const char* Name;
    const char* Pretty;
};

constexpr NamedColor StandardColors[] = {
    {0x000000, "clBlack", "Black"}, {0x000080, "clMaroon", "Maroon"},   {0x008000, "clGreen", "Green"},
    {0x008080, "clOlive", "Olive"}, {0x800000, "clNavy", "Navy"},       {0x800080, "clPurple", "Purple"},
    {0x808000, "clTeal", "Teal"},   {0x808080, "clGray", "Gray"},       {0xC0C0C0, "clSilver", "Silver"},
    {0x0000FF, "clRed", "Red"},     {0x00FF00, "clLime", "Lime"},       {0x00FFFF, "clYellow", "Yellow"},
    {0xFF0000, "clBlue", "Blue"},   {0xFF00FF, "clFuchsia", "Fuchsia"}, {0xFFFF00, "clAqua", "Aqua"},
    {0xFFFFFF, "clWhite", "White"},
};
constexpr NamedColor ExtendedColors[] = {
    {0xC0DCC0, "clMoneyGreen", "Money Green"},
    {0xF0CAA6, "clSkyBlue", "Sky Blue"},
    {0xF0FBFF, "clCream", "Cream"},
    {0xA4A0A0, "clMedGray", "Medium Gray"},
};
constexpr NamedColor SystemColors[] = {
    {SysColor(10), "clActiveBorder", "Active Border"},
    {SysColor(2), "clActiveCaption", "Active Caption"},
    {SysColor(12), "clAppWorkSpace", "Application Workspace"},
    {SysColor(1), "clBackground", "Background"},
    {SysColor(15), "clBtnFace", "Button Face"},
    {SysColor(20), "clBtnHighlight", "Button Highlight"},
    {SysColor(16), "clBtnShadow", "Button Shadow"},
    {SysColor(18), "clBtnText", "Button Text"},
    {SysColor(9), "clCaptionText", "Caption Text"},
    {SysColor(27), "clGradientActiveCaption", "Gradient Active Caption"},
    {SysColor(28), "clGradientInactiveCaption", "Gradient Inactive Caption"},
    {SysColor(17), "clGrayText", "Gray Text"},
    {SysColor(13), "clHighlight", "Highlight Background"},
    {SysColor(14), "clHighlightText", "Highlight Text"},
    {SysColor(26), "clHotLight", "Hot Light"},
    {SysColor(11), "clInactiveBorder", "Inactive Border"},
    {SysColor(3), "clInactiveCaption", "Inactive Caption"},
    {SysColor(19), "clInactiveCaptionText", "Inactive Caption Text"},
    {SysColor(24), "clInfoBk", "Info Background"},
    {SysColor(23), "clInfoText", "Info Text"},
    {SysColor(4), "clMenu", "Menu Background"},
    {SysColor(30), "clMenuBar", "Menu Bar"},
    {SysColor(29), "clMenuHighlight", "Menu Highlight"},
    {SysColor(7), "clMenuText", "Menu Text"},
    {SysColor(0), "clScrollBar", "Scroll Bar"},
    {SysColor(21), "cl3DDkShadow", "3D Dark Shadow"},
    {SysColor(22), "cl3DLight", "3D Light"},
    {SysColor(5), "clWindow", "Window Background"},
    {SysColor(6), "clWindowFrame", "Window Frame"},
    {SysColor(8), "clWindowText", "Window Text"},
};

Realized MakeColorBox(rt::Object& control, QWidget* parent) {
    QComboBox* combo = NewCombo(control, parent, false);
    const bool pretty = HasElement(control, "Style", "cbPrettyNames");
    const int swatch = std::clamp(ClampInt(OrdinalOf(control, "ItemHeight", 16)) - 2, 4, 64);
    combo->setIconSize(QSize(swatch, swatch));
    const std::int64_t selected = OrdinalOf(control, "Selected", 0);
    int index = -1;
    auto add = [&](std::int64_t value, const QString& name, const QColor& shown) {
        if (index < 0 && value == selected) index = combo->count();
        combo->addItem(QIcon(QPixmap::fromImage(ColorSwatch(shown, swatch))), name);
    };
    auto addAll = [&](const auto& colors) {
        for (const NamedColor& c : colors)
            add(c.Value, QString::fromLatin1(pretty ? c.Pretty : c.Name), ColorOf(c.Value));
    };
    const bool custom = HasElement(control, "Style", "cbCustomColor");
    if (custom)
        combo->addItem(QIcon(QPixmap::fromImage(ColorSwatch(Qt::black, swatch))),
                       QStringLiteral("Custom..."));
    if (HasElement(control, "Style", "cbIncludeNone"))
        add(clNone, QString::fromLatin1(pretty ? "None" : "clNone"),
            ColorOf(OrdinalOf(control, "NoneColorColor", 0)));
    if (HasElement(control, "Style", "cbIncludeDefault"))
        add(clDefault, QString::fromLatin1(pretty ? "Default" : "clDefault"),
            ColorOf(OrdinalOf(control, "DefaultColorColor", 0)));
    if (HasElement(control, "Style", "cbStandardColors")) addAll(StandardColors);
    if (HasElement(control, "Style", "cbExtendedColors")) addAll(ExtendedColors);
    if (HasElement(control, "Style", "cbSystemColors")) addAll(SystemColors);
    // A colour the list does not have is shown on the custom item, where there is one.
    if (index < 0 && custom) {
        combo->setItemIcon(0, QIcon(QPixmap::fromImage(ColorSwatch(ColorOf(selected), swatch))));
        index = 0;
    }
    combo->setCurrentIndex(index);
    return {combo, nullptr};
}

// A combo box showing one neutral line, for the boxes whose content comes from the
// machine they run on.
Realized MakeOneLineCombo(rt::Object& control, QWidget* parent, const QStringList& items,
                          const QImage& icon) {
    QComboBox* combo = NewCombo(control, parent, false);
    for (const QString& item : items) {
        if (icon.isNull())
            combo->addItem(item);
        else
            combo->addItem(QIcon(QPixmap::fromImage(icon)), item);
    }
    combo->setCurrentIndex(items.isEmpty() ? -1 : 0);
    return {combo, nullptr};
}

Realized MakeDriveComboBox(rt::Object& control, QWidget* parent) {
    std::int64_t drive = OrdinalOf(control, "Drive");
    if (!((drive >= 'a' && drive <= 'z') || (drive >= 'A' && drive <= 'Z'))) drive = 'c';
    QString text = QString(QChar(static_cast<char16_t>(drive))) + QLatin1Char(':');
    text = EnumOf(control, "TextCase") == "tcUpperCase" ? text.toUpper() : text.toLower();
    return MakeOneLineCombo(control, parent, {text}, DriveIcon());
}

Realized MakeFilterComboBox(rt::Object& control, QWidget* parent) {
    // The filter is "description|patterns|description|patterns..."; the box lists the
    // descriptions and shows the first.
    QString filter = TextOf(control, "Filter");
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size() && descriptions.size() < static_cast<qsizetype>(MaxItems); i += 2)
        if (!parts[i].isEmpty()) descriptions << parts[i];
    return MakeOneLineCombo(control, parent, descriptions, {});
}

Realized MakeShellComboBox(rt::Object& control, QWidget* parent) {
    const QString root = TextOf(control, "Root");
    QString shown = root;
    struct RootName {
        const char* Root;
        const char* Shown;
    };
    static constexpr RootName Names[] = {
        {"rfDesktop", "Desktop"},
        {"rfMyComputer", "This PC"},
        {"rfNetwork", "Network"},
        {"rfRecycleBin", "Recycle Bin"},
        {"rfPersonal", "Documents"},
        {"rfControlPanel", "Control Panel"},
        {"rfPrinters", "Printers"},
        {"rfAppData", "AppData"},
        {"rfFavorites", "Favorites"},
        {"rfFonts", "Fonts"},
        {"rfTemplates", "Templates"},
        {"rfStartMenu", "Start Menu"},
        {"rfPrograms", "Programs"},
        {"rfStartup", "Startup"},
        {"rfSendTo", "SendTo"},
        {"rfRecent", "Recent"},
        {"rfNetHood", "Network Shortcuts"},
    };
    if (root.isEmpty()) shown = QStringLiteral("Desktop");
    for (const RootName& n : Names)
        if (root.compare(QLatin1String(n.Root), Qt::CaseInsensitive) == 0)
            shown = QString::fromLatin1(n.Shown);
    if (shown == root) {
        // A folder path shows its last folder.
        QString path = root;
        path.replace(QLatin1Char('/'), QLatin1Char('\\'));
        const QString last = path.section(QLatin1Char('\\'), -1, -1, QString::SectionSkipEmpty);
        if (!last.isEmpty()) shown = last;
    }
    return MakeOneLineCombo(control, parent, {shown}, FolderIcon(false));
}

Realized MakeLookupCombo(rt::Object& control, QWidget* parent) {
    return MakeOneLineCombo(control, parent, {}, {});
}

// ---------------------------------------------------------------------------------
// Bars, boxes, spin controls, the navigator

Realized MakeScrollBar(rt::Object& control, QWidget* parent) {
    const bool vertical = EnumOf(control, "Kind") == "sbVertical";
    auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent);
    ApplyColorsAndFont(*bar, control, false);
    std::int64_t min = ClampInt(OrdinalOf(control, "Min"));
    std::int64_t max = std::max<std::int64_t>(min, ClampInt(OrdinalOf(control, "Max", 100)));
    std::int64_t page = std::max(0, ClampInt(OrdinalOf(control, "PageSize")));
    std::int64_t position = std::clamp<std::int64_t>(OrdinalOf(control, "Position"), min, max);
    // The thumb covers a page, so the position goes up to Max - PageSize + 1.
    if (page > 0) max = std::max(min, max - page + 1);
    position = std::min(position, max);
    // Qt's scroll bar computes in int and fails on a span near the int range (Windows
    // takes any): a huge span is scaled down, which keeps the thumb's size and place.
    constexpr std::int64_t Room = 1 << 20;
    const std::int64_t total = max - min + page;
    if (total > Room) {
        const double scale = static_cast<double>(total) / static_cast<double>(Room);
        auto scaled = [&](std::int64_t v) {
            return static_cast<std::int64_t>(static_cast<double>(v) / scale);
        };
        position = scaled(position - min);
        max = scaled(max - min);
        page = scaled(page);
        min = 0;
    }
    bar->setRange(static_cast<int>(min), static_cast<int>(max));
    bar->setPageStep(static_cast<int>(page));
    bar->setValue(static_cast<int>(position));
    return {bar, nullptr};
}

FrameBox* SetUpFrameBox(FrameBox* box, rt::Object& control) {
    ApplyColorsAndFont(*box, control, OwnBackground(control));
    box->setTitle(QtCaption(TextOf(control, "Caption")));
    box->SetShowFrame(BoolOf(control, "ShowFrame", true));
    // The caption may have a font of its own; the children get their fonts themselves.
    if (!BoolOf(control, "DefaultHeaderFont", true)) {
        if (const rt::Object* header = ObjectOf(control, "HeaderFont")) box->setFont(FontOf(header));
    }
    return box;
}

Realized MakeGroupBox(rt::Object& control, QWidget* parent) {
    FrameBox* box = SetUpFrameBox(new FrameBox(parent), control);
    return {box, box};
}

Realized MakeRadioGroup(rt::Object& control, QWidget* parent) {
    const QFont itemFont = ControlFont(control);
    auto* box = new RadioGroupBox(ClampInt(OrdinalOf(control, "Columns", 1)), itemFont, parent);
    SetUpFrameBox(box, control);
    const bool data = rt::EqualsIgnoringCase(control.ClassName(), "TDBRadioGroup");
    // A data-aware radio group checks the item of its field's value, and there is none.
    const std::int64_t index = data ? -1 : OrdinalOf(control, "ItemIndex", -1);
    const bool wordWrap = BoolOf(control, "WordWrap");
    const QStringList items = LinesOf(control, "Items");
    for (qsizetype i = 0; i < items.size() && static_cast<std::size_t>(i) < MaxRadioItems; ++i) {
        auto* button = new RadioMarkButton(box);
        button->setFont(itemFont);
        WhiteIndicators(*button);
        button->SetCaption(items[i], false, wordWrap);
        button->setAutoExclusive(false);
        button->setChecked(i == index);
        box->AddButton(button);
    }
    return {box, box};
}

Realized MakeSpinEdit(rt::Object& control, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    ApplyColorsAndFont(*spin, control, true);
    const std::int64_t min = OrdinalOf(control, "MinValue"), max = OrdinalOf(control, "MaxValue");
    // Equal bounds mean no bounds.
    if (min == max || min > max)
        spin->setRange(INT_MIN, INT_MAX);
    else
        spin->setRange(ClampInt(min), ClampInt(max));
    spin->setSingleStep(std::max(1, ClampInt(OrdinalOf(control, "Increment", 1))));
    spin->setValue(ClampInt(OrdinalOf(control, "Value")));
    if (QLineEdit* edit = spin->findChild<QLineEdit*>()) edit->setCursorPosition(0);
    return {spin, nullptr};
}

Realized MakeSpinButton(rt::Object& control, QWidget* parent) {
    const QImage up = GlyphCell(GlyphStrip(control, "UpGlyph"), OrdinalOf(control, "UpNumGlyphs", 1), 0);
    const QImage down =
        GlyphCell(GlyphStrip(control, "DownGlyph"), OrdinalOf(control, "DownNumGlyphs", 1), 0);
    auto* buttons = new SpinButtons(up, down, parent);
    ApplyColorsAndFont(*buttons, control, false);
    return {buttons, nullptr};
}

// A data navigator: its visible buttons side by side (or stacked), sharing its length.
class NavigatorBar : public QWidget, public Arranged {
public:
    NavigatorBar(bool vertical, QWidget* parent) : QWidget(parent), vertical_(vertical) {}
    void AddButton(GlyphButton* button) { buttons_.push_back(button); }

    void Arrange() override {
        if (buttons_.empty()) return;
        const int count = static_cast<int>(buttons_.size());
        const int length = vertical_ ? height() : width();
        const int each = length / count;
        int extra = length - each * count;
        int at = 0;
        for (GlyphButton* button : buttons_) {
            const int size = each + (extra > 0 ? 1 : 0);
            if (extra > 0) --extra;
            if (vertical_)
                button->setGeometry(0, at, width(), size);
            else
                button->setGeometry(at, 0, size, height());
            at += size;
        }
    }

protected:
    void resizeEvent(QResizeEvent*) override { Arrange(); }

private:
    bool vertical_;
    std::vector<GlyphButton*> buttons_;
};

Realized MakeNavigator(rt::Object& control, QWidget* parent) {
    auto* bar = new NavigatorBar(EnumOf(control, "Kind") == "dbnVertical", parent);
    ApplyColorsAndFont(*bar, control, false);
    // Without an open dataset every button is disabled. An open one starts at its first
    // record: nothing before it, nothing being edited.
    bool open = false;
    if (const rt::Object* source = ObjectOf(control, "DataSource"))
        if (const rt::Object* dataset = ObjectOf(*source, "DataSet")) open = BoolOf(*dataset, "Active");
    const bool flat = BoolOf(control, "Flat");
    for (std::size_t i = 0; i < NavigatorButtons.size(); ++i) {
        if (!HasElement(control, "VisibleButtons", NavigatorButtons[i])) continue;
        auto* button = new GlyphButton(bar);
        button->SetFace(flat ? GlyphButton::Face::FlatSpeed : GlyphButton::Face::Speed, false);
        button->SetGlyphs(NavigatorGlyph(i), {}, {});
        const bool enabled = open && (i == 2 || i == 3 || i == 4 || i == 5 || i == 6 || i == 9);
        button->setEnabled(enabled);
        bar->AddButton(button);
    }
    return {bar, nullptr};
}

// ---------------------------------------------------------------------------------
// The factory

using Maker = Realized (*)(rt::Object&, QWidget*);

struct ClassMaker {
    std::string_view Name;  // lower case
    Maker Make;             // nullptr for the labels, which are drawn
};

constexpr ClassMaker Makers[] = {
    {"tlabel", nullptr},
    {"tstatictext", MakeStaticText},
    {"tedit", MakeEdit},
    {"tmaskedit", MakeEdit},
    {"tlabelededit", MakeLabeledEdit},
    {"tmemo", MakeMemo},
    {"tbutton", MakeButton},
    {"tbitbtn", MakeBitBtn},
    {"tspeedbutton", MakeSpeedButton},
    {"tcheckbox", MakeCheckBox},
    {"tradiobutton", MakeRadioButton},
    {"tlistbox", MakeListBox},
    {"tchecklistbox", MakeListBox},
    {"tcombobox", MakeComboBox},
    {"tcomboboxex", MakeComboBoxEx},
    {"tcolorbox", MakeColorBox},
    {"tscrollbar", MakeScrollBar},
    {"tgroupbox", MakeGroupBox},
    {"tradiogroup", MakeRadioGroup},
    {"tspinedit", MakeSpinEdit},
    {"tspinbutton", MakeSpinButton},
    {"thotkey", MakeHotKey},
    {"tfilelistbox", MakeFileListBox},
    {"tdirectorylistbox", MakeDirectoryListBox},
    {"tdrivecombobox", MakeDriveComboBox},
    {"tfiltercombobox", MakeFilterComboBox},
    {"tshellcombobox", MakeShellComboBox},
    {"tdbtext", nullptr},
    {"tdbedit", MakeEdit},
    {"tdbmemo", MakeMemo},
    {"tdblistbox", MakeListBox},
    {"tdbcombobox", MakeComboBox},
    {"tdbcheckbox", MakeCheckBox},
    {"tdbradiogroup", MakeRadioGroup},
    {"tdblookuplistbox", MakeEmptyList},
    {"tdblookupcombobox", MakeLookupCombo},
    {"tdblookuplist", MakeEmptyList},
    {"tdblookupcombo", MakeLookupCombo},
    {"tdbnavigator", MakeNavigator},
};

const ClassMaker* FindMaker(std::string_view className) {
    for (const ClassMaker& m : Makers)
        if (rt::EqualsIgnoringCase(m.Name, className)) return &m;
    return nullptr;
}

// The row that draws a control: its own class's, or its nearest ancestor's.
const ClassMaker* MakerOf(const rt::Object& control, const RealizeContext& context) {
    return NearestRow(&LookClass(control, context), FindMaker);
}

class StandardFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "standard"; }
    bool Handles(const rt::Class& cls) const override { return NearestRow(&cls, FindMaker) != nullptr; }
    bool HasRow(std::string_view className) const override { return FindMaker(className) != nullptr; }
    std::unique_ptr<DrawnControl> Draw(rt::Object& control, RealizeContext& context) const override {
        const ClassMaker* maker = MakerOf(control, context);
        if (!maker || maker->Make) return nullptr;
        return DrawLabel(control);
    }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const ClassMaker* maker = MakerOf(control, context);
        if (!maker || !maker->Make) return {};
        Realized made = maker->Make(control, parent);
        if (made.Widget) Quiet(made.Widget);
        return made;
    }
    void Finish(rt::Object& control, const Realized& self, RealizeContext&) const override {
        if (!self.Widget) return;
        if (auto* arranged = dynamic_cast<Arranged*>(self.Widget)) arranged->Arrange();
        if (rt::EqualsIgnoringCase(control.ClassName(), "TLabeledEdit")) AttachBoundLabel(control, self.Widget);
    }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeStandardFactory() {
    return std::make_unique<StandardFactory>();
}

}  // namespace fw::preview
