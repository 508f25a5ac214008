// Panels, scroll boxes, frames, plain and framed boxes, and the data-aware control
// grid, each drawn as a Windows 10 desktop at 96 DPI shows it at run time.

#include "preview/containers_parts.h"

namespace fw::preview::containers {

// ---------------------------------------------------------------------------------
// Panels, boxes and frames

namespace {

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

}  // namespace

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

}  // namespace fw::preview::containers
