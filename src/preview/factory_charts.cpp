// Charts: the panel, walls, legend and title a chart shows without its series data.

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

namespace {

// Edges of a bevel of the given cut (bvLowered, bvRaised; anything else none), width
// pixels deep, drawn inside rect; returns the rect inside them.
QRect DrawBevel(QPainter& p, QRect rect, const std::string& cut, int width) {
    if (cut != "bvLowered" && cut != "bvRaised") return rect;
    const QColor light = ColorOf(clBtnHighlight);
    const QColor dark = ColorOf(clBtnShadow);
    const bool raised = cut == "bvRaised";
    for (int i = 0; i < width && rect.width() > 1 && rect.height() > 1; ++i) {
        p.setPen(raised ? light : dark);
        p.drawLine(rect.topLeft(), rect.topRight());
        p.drawLine(rect.topLeft(), rect.bottomLeft());
        p.setPen(raised ? dark : light);
        p.drawLine(rect.bottomLeft(), rect.bottomRight());
        p.drawLine(rect.topRight(), rect.bottomRight());
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

// A chart panel without series: its background or gradient and bevels, the title and
// foot, the walls with empty axes and a few grid lines (drawn with depth in 3D), and
// the legend's box.
struct ChartLook {
    QColor Back;
    bool Gradient = false;
    QColor GradientStart, GradientEnd;
    std::string GradientDirection;
    std::string BevelOuter, BevelInner;
    int BevelWidth = 1;
    int BorderWidth = 0;
    QStringList Title, Foot;
    QFont TitleFont, FootFont;
    QColor TitleColor, FootColor;
    Qt::Alignment TitleAlign = Qt::AlignHCenter, FootAlign = Qt::AlignHCenter;
    bool Legend = true;
    std::string LegendAlign = "laRight";
    QColor LegendColor = Qt::white;
    int LegendShadow = 3;
    QColor LegendShadowColor = Qt::black;
    int LegendTop = 10;
    bool View3D = true;
    int Percent3D = 15;
    bool WallFilled = true;
    QColor WallColor = Qt::white;
    bool SideFilled = true;
    QColor SideWallColor = Qt::white;
    bool DarkSides = true;
    bool LeftAxis = true, BottomAxis = true, Grid = true;
    int MarginLeft = 3, MarginRight = 3, MarginTop = 4, MarginBottom = 4;
};

class ChartView : public QWidget {
public:
    ChartView(ChartLook look, QWidget* parent) : QWidget(parent), look_(std::move(look)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const ChartLook& c = look_;
        QRect r = rect();
        if (c.Gradient) {
            QLinearGradient g;
            const QRectF f(r);
            if (c.GradientDirection == "gdBottomTop")
                g = QLinearGradient(f.bottomLeft(), f.topLeft());
            else if (c.GradientDirection == "gdLeftRight")
                g = QLinearGradient(f.topLeft(), f.topRight());
            else if (c.GradientDirection == "gdRightLeft")
                g = QLinearGradient(f.topRight(), f.topLeft());
            else
                g = QLinearGradient(f.topLeft(), f.bottomLeft());
            g.setColorAt(0, c.GradientStart);
            g.setColorAt(1, c.GradientEnd);
            p.fillRect(r, g);
        } else {
            p.fillRect(r, c.Back);
        }
        r = DrawBevel(p, r, c.BevelOuter, c.BevelWidth);
        r.adjust(c.BorderWidth, c.BorderWidth, -c.BorderWidth, -c.BorderWidth);
        r = DrawBevel(p, r, c.BevelInner, c.BevelWidth);
        r.adjust(r.width() * c.MarginLeft / 100, r.height() * c.MarginTop / 100,
                 -r.width() * c.MarginRight / 100, -r.height() * c.MarginBottom / 100);
        if (r.width() < 4 || r.height() < 4) return;
        // Title above, foot below.
        const auto lines = [&](const QStringList& text, const QFont& font, const QColor& color,
                               Qt::Alignment align, bool top) {
            if (text.isEmpty()) return;
            const QFontMetrics fm(font);
            const int h = fm.height() * static_cast<int>(text.size()) + 4;
            const QRect band = top ? QRect(r.left(), r.top(), r.width(), h)
                                   : QRect(r.left(), r.bottom() - h + 1, r.width(), h);
            p.setFont(font);
            p.setPen(color);
            p.drawText(band, static_cast<int>(align | Qt::AlignVCenter), text.join(QLatin1Char('\n')));
            if (top)
                r.setTop(band.bottom() + 1);
            else
                r.setBottom(band.top() - 1);
        };
        lines(c.Title, c.TitleFont, c.TitleColor, c.TitleAlign, true);
        lines(c.Foot, c.FootFont, c.FootColor, c.FootAlign, false);
        if (c.Legend) DrawLegend(p, r);
        // Room for the axis labels the chart shows once it has values.
        r.adjust(8, 4, -4, -8);
        if (r.width() < 8 || r.height() < 8) return;
        DrawWalls(p, r);
    }

private:
    void DrawLegend(QPainter& p, QRect& r) const {
        const ChartLook& c = look_;
        const QFontMetrics fm(font());
        const bool side = c.LegendAlign != "laTop" && c.LegendAlign != "laBottom";
        const int w = side ? std::clamp(r.width() / 6, 30, 120) : std::clamp(r.width() / 3, 40, 200);
        const int h = fm.height() + 8;
        QRect box;
        if (c.LegendAlign == "laLeft") {
            box = QRect(r.left() + 4, r.top() + r.height() * std::clamp(c.LegendTop, 0, 90) / 100, w, h);
            r.setLeft(box.right() + 8);
        } else if (c.LegendAlign == "laTop") {
            box = QRect(r.left() + (r.width() - w) / 2, r.top() + 2, w, h);
            r.setTop(box.bottom() + 6);
        } else if (c.LegendAlign == "laBottom") {
            box = QRect(r.left() + (r.width() - w) / 2, r.bottom() - h - 2, w, h);
            r.setBottom(box.top() - 6);
        } else {
            box = QRect(r.right() - w - 4 - c.LegendShadow,
                        r.top() + r.height() * std::clamp(c.LegendTop, 0, 90) / 100, w, h);
            r.setRight(box.left() - 8);
        }
        const int shadow = std::clamp(c.LegendShadow, 0, 20);
        if (shadow > 0) p.fillRect(box.translated(shadow, shadow), c.LegendShadowColor);
        p.fillRect(box, c.LegendColor);
        p.setPen(Qt::black);
        p.drawRect(box.adjusted(0, 0, -1, -1));
    }

    void DrawWalls(QPainter& p, const QRect& area) const {
        const ChartLook& c = look_;
        const int depth =
            c.View3D ? std::min(std::min(area.width(), area.height()) * std::clamp(c.Percent3D, 0, 100) / 100,
                                std::min(area.width(), area.height()) / 3)
                     : 0;
        // The front plane, and the back wall behind it up and to the right.
        const QRect front(area.left(), area.top() + depth, area.width() - depth, area.height() - depth);
        const QRect back = front.translated(depth, -depth);
        const QColor frame(Qt::black);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (depth > 0) {
            const QColor side = c.DarkSides ? c.SideWallColor.darker(115) : c.SideWallColor;
            const QPolygon left({front.bottomLeft(), front.topLeft(), back.topLeft(), back.bottomLeft()});
            const QPolygon bottom(
                {front.bottomLeft(), back.bottomLeft(), back.bottomRight(), front.bottomRight()});
            p.setPen(frame);
            p.setBrush(c.SideFilled ? QBrush(side) : QBrush(Qt::NoBrush));
            p.drawPolygon(left);
            p.drawPolygon(bottom);
        }
        if (c.WallFilled) p.fillRect(back, c.WallColor);
        if (c.Grid) {
            QPen grid(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine);
            p.setPen(grid);
            for (int i = 1; i < 5; ++i) {
                const int y = back.top() + back.height() * i / 5;
                p.drawLine(back.left(), y, back.right(), y);
                if (depth > 0) p.drawLine(front.left(), y + depth, back.left(), y);
                const int x = back.left() + back.width() * i / 5;
                p.drawLine(x, back.top(), x, back.bottom());
                if (depth > 0) p.drawLine(x - depth, back.bottom() + depth, x, back.bottom());
            }
        }
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(back);
        if (c.LeftAxis) p.drawLine(front.topLeft(), front.bottomLeft());
        if (c.BottomAxis) p.drawLine(front.bottomLeft(), front.bottomRight());
    }

    ChartLook look_;
};

QStringList LinesText(const rt::Object* title) {
    QStringList text;
    if (!title || !BoolOf(*title, "Visible", true)) return text;
    if (const auto* lines = StoredLinesOf(*title, "Text"))
        for (const std::string& line : *lines) {
            if (text.size() >= 100) break;
            text << Q(line);
        }
    // A title of empty lines takes no room.
    bool blank = true;
    for (const QString& line : text)
        blank = blank && line.trimmed().isEmpty();
    return blank ? QStringList() : text;
}

}  // namespace

QWidget* MakeChart(const rt::Object& control, QWidget* parent) {
    ChartLook look;
    look.Back = ControlColor(control);
    if (const rt::Object* g = ObjectOf(control, "Gradient"); g && BoolOf(*g, "Visible", false)) {
        look.Gradient = true;
        look.GradientStart = ColorProperty(*g, "StartColor", ColorOf(0xFFFFFF));
        look.GradientEnd = ColorProperty(*g, "EndColor", ColorOf(0x00FFFF));
        look.GradientDirection = EnumOf(*g, "Direction");
    }
    look.BevelOuter = EnumOf(control, "BevelOuter");
    look.BevelInner = EnumOf(control, "BevelInner");
    look.BevelWidth = ClampInt(OrdinalOf(control, "BevelWidth", 1), 0, 50);
    look.BorderWidth = ClampInt(OrdinalOf(control, "BorderWidth", 0), 0, 50);
    const auto titleLook = [](const rt::Object* title, QFont& font, QColor& color, Qt::Alignment& align) {
        const rt::Object* f = title ? ObjectOf(*title, "Font") : nullptr;
        font = FontOf(f);
        // The chart's titles are blue unless the form gives them another colour.
        const std::int64_t written = f ? OrdinalOf(*f, "Color", clWindowText) : clWindowText;
        color = written == clWindowText ? QColor(Qt::blue) : FontColorOf(f);
        const std::string writtenAlign = title ? EnumOf(*title, "Alignment") : std::string();
        align = writtenAlign.empty() ? Qt::AlignHCenter : HorizontalAlignment(writtenAlign);
    };
    const rt::Object* title = ObjectOf(control, "Title");
    const rt::Object* foot = ObjectOf(control, "Foot");
    look.Title = LinesText(title);
    look.Foot = LinesText(foot);
    titleLook(title, look.TitleFont, look.TitleColor, look.TitleAlign);
    titleLook(foot, look.FootFont, look.FootColor, look.FootAlign);
    if (const rt::Object* legend = ObjectOf(control, "Legend")) {
        look.Legend = BoolOf(*legend, "Visible", true);
        look.LegendAlign = EnumOf(*legend, "Alignment");
        look.LegendColor = ColorProperty(*legend, "Color", ColorOf(0xFFFFFF));
        look.LegendShadow = ClampInt(OrdinalOf(*legend, "ShadowSize", 3), 0, 20);
        look.LegendShadowColor = ColorProperty(*legend, "ShadowColor", ColorOf(0x000000));
        look.LegendTop = ClampInt(OrdinalOf(*legend, "TopPos", 10), 0, 90);
    }
    look.View3D = BoolOf(control, "View3D", true);
    look.Percent3D = ClampInt(OrdinalOf(control, "Chart3DPercent", 15), 0, 100);
    const auto wallFill = [](const rt::Object* wall, bool& filled, QColor& color) {
        if (!wall) return;
        const rt::Object* brush = ObjectOf(*wall, "Brush");
        filled = !BoolOf(*wall, "Transparent", false) && !(brush && EnumOf(*brush, "Style") == "bsClear");
        const QColor own = ColorOf(OrdinalOf(*wall, "Color", clNone));
        color = own.isValid() ? own
                : brush       ? ColorProperty(*brush, "Color", ColorOf(0xFFFFFF))
                              : QColor(Qt::white);
    };
    wallFill(ObjectOf(control, "BackWall"), look.WallFilled, look.WallColor);
    wallFill(ObjectOf(control, "LeftWall"), look.SideFilled, look.SideWallColor);
    if (const rt::Object* left = ObjectOf(control, "LeftWall"))
        look.DarkSides = BoolOf(*left, "Dark3D", true);
    if (!BoolOf(control, "View3DWalls", true)) look.SideWallColor = look.Back;
    const auto axisShown = [&](std::string_view name, bool& shown) {
        if (const rt::Object* axis = ObjectOf(control, name)) shown = BoolOf(*axis, "Visible", true);
    };
    axisShown("LeftAxis", look.LeftAxis);
    axisShown("BottomAxis", look.BottomAxis);
    if (const rt::Object* axis = ObjectOf(control, "LeftAxis"))
        if (const rt::Object* grid = ObjectOf(*axis, "Grid")) look.Grid = BoolOf(*grid, "Visible", true);
    look.MarginLeft = ClampInt(OrdinalOf(control, "MarginLeft", 3), 0, 40);
    look.MarginRight = ClampInt(OrdinalOf(control, "MarginRight", 3), 0, 40);
    look.MarginTop = ClampInt(OrdinalOf(control, "MarginTop", 4), 0, 40);
    look.MarginBottom = ClampInt(OrdinalOf(control, "MarginBottom", 4), 0, 40);
    auto* chart = new ChartView(std::move(look), parent);
    ApplyColorsAndFont(*chart, control, false);
    return chart;
}

}  // namespace fw::preview::dataviews
