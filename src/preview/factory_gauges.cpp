// Painted range controls: progress bars, gauges, track bars, colour grids and the
// small arrow pairs of up-down controls and page scrollers.

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

// ---------------------------------------------------------------------------------
// Painted controls

namespace {

// The progress bar of the classic Windows look: a sunken frame, blocks in the bar colour
// or one smooth bar, filling from the left (from the bottom when vertical).
class ProgressView : public QProgressBar {
public:
    ProgressView(bool smooth, QColor bar, QColor back, QWidget* parent)
        : QProgressBar(parent), smooth_(smooth), bar_(std::move(bar)), back_(std::move(back)) {
        setTextVisible(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, back_);
        qDrawShadePanel(&p, r, palette(), true, 1);
        const QRect inner = r.adjusted(2, 2, -2, -2);
        const qint64 range = static_cast<qint64>(maximum()) - minimum();
        if (range <= 0 || inner.isEmpty()) return;
        const double part = std::clamp(
            static_cast<double>(static_cast<qint64>(value()) - minimum()) / static_cast<double>(range), 0.0,
            1.0);
        const bool vertical = orientation() == Qt::Vertical;
        const int length = vertical ? inner.height() : inner.width();
        const int filled = static_cast<int>(std::lround(part * length));
        if (filled <= 0) return;
        if (smooth_) {
            p.fillRect(vertical ? QRect(inner.left(), inner.bottom() - filled + 1, inner.width(), filled)
                                : QRect(inner.left(), inner.top(), filled, inner.height()),
                       bar_);
            return;
        }
        // Blocks two thirds as long as the bar is thick, two pixels apart.
        const int thickness = vertical ? inner.width() : inner.height();
        const int block = std::max(2, thickness * 2 / 3);
        for (int at = 0; at < filled; at += block + 2) {
            const int size = std::min(block, length - at);
            if (size <= 0) break;
            p.fillRect(vertical ? QRect(inner.left(), inner.bottom() - at - size + 1, inner.width(), size)
                                : QRect(inner.left() + at, inner.top(), size, inner.height()),
                       bar_);
        }
    }

private:
    bool smooth_;
    QColor bar_, back_;
};

// The Gauges unit's gauge: bars, a pie, a needle or the text alone, with the
// percentage as text.
class GaugeView : public QProgressBar {
public:
    enum class Kind { Text, HorizontalBar, VerticalBar, Pie, Needle };
    GaugeView(Kind kind, QColor fore, QColor back, QColor color, bool border, QWidget* parent)
        : QProgressBar(parent),
          kind_(kind),
          fore_(std::move(fore)),
          back_(std::move(back)),
          color_(std::move(color)),
          border_(border) {
        setFormat(QStringLiteral("%p%"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QRect r = rect();
        p.fillRect(r, color_);
        if (border_) {
            p.setPen(Qt::black);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            r.adjust(1, 1, -1, -1);
        }
        if (r.isEmpty()) return;
        const qint64 range = static_cast<qint64>(maximum()) - minimum();
        const double part = range <= 0
                                ? 0.0
                                : std::clamp(static_cast<double>(static_cast<qint64>(value()) - minimum()) /
                                                 static_cast<double>(range),
                                             0.0, 1.0);
        QRegion filledArea;
        switch (kind_) {
            case Kind::Text:
                p.fillRect(r, back_);
                break;
            case Kind::HorizontalBar: {
                p.fillRect(r, back_);
                const QRect bar(r.left(), r.top(), static_cast<int>(std::lround(part * r.width())),
                                r.height());
                p.fillRect(bar, fore_);
                filledArea = QRegion(bar);
                break;
            }
            case Kind::VerticalBar: {
                p.fillRect(r, back_);
                const int h = static_cast<int>(std::lround(part * r.height()));
                const QRect bar(r.left(), r.bottom() - h + 1, r.width(), h);
                p.fillRect(bar, fore_);
                filledArea = QRegion(bar);
                break;
            }
            case Kind::Pie: {
                p.setRenderHint(QPainter::Antialiasing);
                const QRectF e = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
                p.setPen(Qt::black);
                p.setBrush(back_);
                p.drawEllipse(e);
                if (part > 0) {
                    p.setBrush(fore_);
                    p.drawPie(e, 90 * 16, -static_cast<int>(std::lround(part * 360 * 16)));
                }
                break;
            }
            case Kind::Needle: {
                p.setRenderHint(QPainter::Antialiasing);
                // The top half of an ellipse as high as the control, the needle turning
                // from left (0%) to right (100%) about the middle of its base.
                const QRectF e(r.left() + 0.5, r.top() + 0.5, r.width() - 1.0, 2.0 * r.height() - 2.0);
                p.setPen(Qt::black);
                p.setBrush(back_);
                p.drawPie(e, 0, 180 * 16);
                const QPointF centre(e.center().x(), r.bottom());
                const double angle = std::numbers::pi * (1.0 - part);
                p.setPen(QPen(fore_, 2));
                p.drawLine(centre, QPointF(centre.x() + std::cos(angle) * e.width() / 2.0,
                                           centre.y() - std::sin(angle) * (e.height() / 2.0 - 1.0)));
                break;
            }
        }
        if (!isTextVisible()) return;
        // The percentage in the font's colour; over the filled part of a bar in the
        // background colour, so that it stays readable.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(font());
        const QString t = text();
        p.setClipRegion(QRegion(r).subtracted(filledArea));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r, Qt::AlignCenter, t);
        if (!filledArea.isEmpty()) {
            p.setClipRegion(filledArea.intersected(r));
            p.setPen(back_);
            p.drawText(r, Qt::AlignCenter, t);
        }
    }

private:
    Kind kind_;
    QColor fore_, back_, color_;
    bool border_;
};

// The ColorGrd unit's grid of the sixteen standard colours, with FG, BG or FB on the
// cells that hold the foreground and background indexes.
class ColorGridView : public QWidget {
public:
    ColorGridView(int columns, int rows, int foreground, int background, int selection, QWidget* parent)
        : QWidget(parent),
          columns_(columns),
          rows_(rows),
          foreground_(foreground),
          background_(background),
          selection_(selection) {}

    static QColor Standard(int index) {
        static constexpr std::uint32_t colors[16] = {
            0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        return QColor::fromRgb(colors[static_cast<std::size_t>(std::clamp(index, 0, 15))]);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (columns_ <= 0 || rows_ <= 0) return;
        const int w = width() / columns_;
        const int h = height() / rows_;
        if (w <= 0 || h <= 0) return;
        for (int i = 0; i < 16; ++i) {
            const QRect cell((i % columns_) * w, (i / columns_) * h, w, h);
            const QColor color = Standard(i);
            p.fillRect(cell.adjusted(1, 1, -1, -1), color);
            qDrawShadeRect(&p, cell, palette(), true, 1);
            if (i == selection_) {
                p.setPen(QPen(Qt::black, 1));
                p.drawRect(cell.adjusted(1, 1, -2, -2));
                p.setPen(QPen(Qt::white, 1));
                p.drawRect(cell.adjusted(2, 2, -3, -3));
            }
            QString mark;
            if (i == foreground_ && i == background_)
                mark = QStringLiteral("FB");
            else if (i == foreground_)
                mark = QStringLiteral("FG");
            else if (i == background_)
                mark = QStringLiteral("BG");
            if (!mark.isEmpty()) {
                p.setPen(color.lightness() > 128 ? Qt::black : Qt::white);
                p.setFont(font());
                p.drawText(cell, Qt::AlignCenter, mark);
            }
        }
    }

private:
    int columns_, rows_, foreground_, background_, selection_;
};

}  // namespace

// Two arrow buttons side by side or one above the other: the up-down control, and
// the scroller of a tab set.
QWidget* MakeArrowPair(const rt::Object& control, QWidget* parent, bool vertical) {
    auto* box = new QWidget(parent);
    ApplyColorsAndFont(*box, control, false);
    auto* layout = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const std::array<Qt::ArrowType, 2> arrows =
        vertical ? std::array{Qt::UpArrow, Qt::DownArrow} : std::array{Qt::LeftArrow, Qt::RightArrow};
    for (Qt::ArrowType arrow : arrows) {
        auto* button = new QToolButton(box);
        button->setArrowType(arrow);
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        button->setMinimumSize(0, 0);
        layout->addWidget(button);
    }
    return box;
}

namespace {

// A track bar keeps its thumb ThumbLength pixels long near its top (its left when
// vertical), with the ticks beside it, whatever room the control has; the slider the
// style draws would grow its thumb to fill the room instead.
class TrackBox : public QWidget {
public:
    TrackBox(int thumb, QWidget* parent) : QWidget(parent), thumb_(thumb) {}
    QSlider* Slider = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (!Slider) return;
        const QSlider::TickPosition ticks = Slider->tickPosition();
        const int sides = ticks == QSlider::NoTicks ? 0 : ticks == QSlider::TicksBothSides ? 2 : 1;
        const int extra = sides == 0 ? 0 : sides == 1 ? 6 : 14;
        const bool vertical = Slider->orientation() == Qt::Vertical;
        const int room = vertical ? width() : height();
        const int thickness = std::min(room, thumb_ + extra + 4);
        const int at = std::min(4, room - thickness);
        if (vertical)
            Slider->setGeometry(at, 0, thickness, height());
        else
            Slider->setGeometry(0, at, width(), thickness);
    }

private:
    int thumb_;
};

}  // namespace

QWidget* MakeTrackBar(const rt::Object& control, QWidget* parent) {
    const bool vertical = EnumOf(control, "Orientation") == "trVertical";
    auto* box = new TrackBox(ClampInt(OrdinalOf(control, "ThumbLength", 20), 8, 200), parent);
    ApplyColorsAndFont(*box, control, false);
    auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, box);
    box->Slider = slider;
    const int min = ClampInt(OrdinalOf(control, "Min", 0), -1000000000, 1000000000);
    const int max = std::max(min, ClampInt(OrdinalOf(control, "Max", 10), -1000000000, 1000000000));
    slider->setRange(min, max);
    slider->setValue(
        std::clamp(ClampInt(OrdinalOf(control, "Position", 0), -1000000000, 1000000000), min, max));
    slider->setPageStep(std::max(1, ClampInt(OrdinalOf(control, "PageSize", 2), 1, 1000000000)));
    // A vertical track bar has its minimum at the top.
    slider->setInvertedAppearance(vertical);
    const std::string ticks = EnumOf(control, "TickStyle");
    const std::string marks = EnumOf(control, "TickMarks");
    if (ticks == "tsNone") {
        slider->setTickPosition(QSlider::NoTicks);
    } else {
        if (marks == "tmBoth")
            slider->setTickPosition(QSlider::TicksBothSides);
        else if (marks == "tmTopLeft")
            slider->setTickPosition(QSlider::TicksAbove);
        else
            slider->setTickPosition(QSlider::TicksBelow);
        // Manual ticks show only at the ends until the program adds its own. A
        // thousand ticks fill any track bar; more would only cost time to draw.
        const std::int64_t range = static_cast<std::int64_t>(max) - min;
        const std::int64_t frequency =
            std::clamp<std::int64_t>(OrdinalOf(control, "Frequency", 1), 1, 2000000000);
        const std::int64_t interval = ticks == "tsManual" ? range : std::max(frequency, range / 1000);
        slider->setTickInterval(ClampInt(interval, 1, 2000000000));
    }
    return box;
}

QWidget* MakeProgressBar(const rt::Object& control, QWidget* parent) {
    const bool vertical = EnumOf(control, "Orientation") == "pbVertical";
    const QColor barSet = ColorOf(OrdinalOf(control, "BarColor", clDefault));
    const QColor backSet = ColorOf(OrdinalOf(control, "BackgroundColor", clDefault));
    auto* bar =
        new ProgressView(BoolOf(control, "Smooth", false), barSet.isValid() ? barSet : ColorOf(clHighlight),
                         backSet.isValid() ? backSet : ColorOf(clBtnFace), parent);
    ApplyColorsAndFont(*bar, control, false);
    bar->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    const int min = ClampInt(OrdinalOf(control, "Min", 0), -1000000000, 1000000000);
    const int max = std::max(min, ClampInt(OrdinalOf(control, "Max", 100), -1000000000, 1000000000));
    bar->setRange(min, max);
    // A marquee bar runs only while the program does.
    const bool marquee = EnumOf(control, "Style") == "pbstMarquee";
    bar->setValue(
        marquee ? min
                : std::clamp(ClampInt(OrdinalOf(control, "Position", 0), -1000000000, 1000000000), min, max));
    return bar;
}

QWidget* MakeGauge(const rt::Object& control, QWidget* parent) {
    const std::string kind = EnumOf(control, "Kind");
    GaugeView::Kind k = GaugeView::Kind::HorizontalBar;
    if (kind == "gkText")
        k = GaugeView::Kind::Text;
    else if (kind == "gkVerticalBar")
        k = GaugeView::Kind::VerticalBar;
    else if (kind == "gkPie")
        k = GaugeView::Kind::Pie;
    else if (kind == "gkNeedle")
        k = GaugeView::Kind::Needle;
    auto* gauge = new GaugeView(k, ColorProperty(control, "ForeColor", ColorOf(0x000000)),
                                ColorProperty(control, "BackColor", ColorOf(0xFFFFFF)), ControlColor(control),
                                EnumOf(control, "BorderStyle") != "bsNone", parent);
    ApplyColorsAndFont(*gauge, control, false);
    const int min = ClampInt(OrdinalOf(control, "MinValue", 0), -1000000000, 1000000000);
    const int max = ClampInt(OrdinalOf(control, "MaxValue", 100), -1000000000, 1000000000);
    gauge->setRange(min, std::max(min, max));
    gauge->setValue(std::clamp(ClampInt(OrdinalOf(control, "Progress", 0), -1000000000, 1000000000), min,
                               std::max(min, max)));
    gauge->setTextVisible(BoolOf(control, "ShowText", true));
    // With no range the gauge counts nothing done.
    if (max <= min) gauge->setFormat(QStringLiteral("0%"));
    return gauge;
}

QWidget* MakeColorGrid(const rt::Object& control, QWidget* parent) {
    const std::string ordering = EnumOf(control, "GridOrdering");
    int columns = 4, rows = 4;
    if (ordering == "go16x1")
        columns = 16, rows = 1;
    else if (ordering == "go8x2")
        columns = 8, rows = 2;
    else if (ordering == "go2x8")
        columns = 2, rows = 8;
    else if (ordering == "go1x16")
        columns = 1, rows = 16;
    const int foreground = BoolOf(control, "ForegroundEnabled", true)
                               ? ClampInt(OrdinalOf(control, "ForegroundIndex", 0), -1, 16)
                               : -1;
    const int background = BoolOf(control, "BackgroundEnabled", true)
                               ? ClampInt(OrdinalOf(control, "BackgroundIndex", 0), -1, 16)
                               : -1;
    auto* grid = new ColorGridView(columns, rows, foreground, background,
                                   ClampInt(OrdinalOf(control, "Selection", 0), -1, 16), parent);
    ApplyColorsAndFont(*grid, control, false);
    return grid;
}

}  // namespace fw::preview::dataviews
