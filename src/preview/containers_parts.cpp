// Reading values, drawing edges and lines, the non-client area of a windowed control,
// and the widgets the container families draw on.

#include "preview/containers_parts.h"

namespace fw::preview::containers {

// ---------------------------------------------------------------------------------
// Reading values

int IntOf(const rt::Object& object, std::string_view name, int fallback, int low, int high) {
    return ClampInt(OrdinalOf(object, name, fallback), low, high);
}

std::vector<const rt::Object*> ItemsOf(const rt::Object& object, std::string_view name) {
    std::vector<const rt::Object*> items;
    if (const rt::Object* collection = ObjectOf(object, name))
        for (const auto& item : collection->Items()) {
            if (items.size() >= MaxParts) break;
            if (item) items.push_back(item.get());
        }
    return items;
}

std::vector<rt::Object*> ChildrenOf(const rt::Object& control, std::string_view className) {
    std::vector<rt::Object*> children;
    for (rt::Object* child : control.Controls()) {
        if (children.size() >= MaxParts) break;
        if (child && child->InheritsFrom(className)) children.push_back(child);
    }
    return children;
}

QFont SystemUiFont() {
    QFont font(MapFontFamily("Segoe UI"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// ---------------------------------------------------------------------------------
// Drawing

void HLine(QPainter& p, int x1, int x2, int y, const QColor& color) {
    if (x2 < x1) std::swap(x1, x2);
    p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), color);
}

void VLine(QPainter& p, int x, int y1, int y2, const QColor& color) {
    if (y2 < y1) std::swap(y1, y2);
    p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), color);
}

void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        VLine(p, r.left(), r.top(), r.bottom(), topLeft);
        HLine(p, r.left(), r.right(), r.top(), topLeft);
        VLine(p, r.right(), r.top(), r.bottom(), bottomRight);
        HLine(p, r.left(), r.right(), r.bottom(), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

void RaisedEdge(QPainter& p, QRect r) {
    Frame3D(p, r, ColorOf(clBtnHighlight), ColorOf(cl3DDkShadow), 1);
    Frame3D(p, r, ColorOf(cl3DLight), ColorOf(clBtnShadow), 1);
}

void SunkenEdge(QPainter& p, QRect r) {
    Frame3D(p, r, ColorOf(clBtnShadow), ColorOf(clBtnHighlight), 1);
    Frame3D(p, r, ColorOf(cl3DDkShadow), ColorOf(cl3DLight), 1);
}

void LatchedFace(QPainter& p, const QRect& r) {
    p.fillRect(r, ColorOf(clBtnFace));
    p.fillRect(r, QBrush(ColorOf(clBtnHighlight), Qt::Dense4Pattern));
}

void EtchedHLine(QPainter& p, int x1, int x2, int y) {
    HLine(p, x1, x2, y, ColorOf(clBtnShadow));
    HLine(p, x1, x2, y + 1, ColorOf(clBtnHighlight));
}

void EtchedVLine(QPainter& p, int x, int y1, int y2) {
    VLine(p, x, y1, y2, ColorOf(clBtnShadow));
    VLine(p, x + 1, y1, y2, ColorOf(clBtnHighlight));
}

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

void DottedGrip(QPainter& p, int x, int top, int bottom) {
    for (int y = top; y + 1 <= bottom; y += 4) {
        p.fillRect(QRect(x + 1, y + 1, 2, 2), ColorOf(clBtnHighlight));
        p.fillRect(QRect(x, y, 2, 2), ThemeGripDot);
    }
}

// ---------------------------------------------------------------------------------
// The non-client area of a windowed control

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

Surface::PaintFn PlainBoxPaint(const NonClient& nc, QColor color, bool fill) {
    return [nc, color, fill](QPainter& p, const QRect& whole, const QRect&) {
        if (fill) p.fillRect(whole, color);
        nc.Paint(p, whole, color);
    };
}

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

}  // namespace fw::preview::containers
