// Strips along a form's edge: headers, tool bars and their buttons, cool bars,
// control bars and status bars.

#include "preview/containers_parts.h"

namespace fw::preview::containers {

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

namespace {

struct ToolButtonLook {
    std::string Style;
    QString Caption;
    bool ShowCaption = false;
    bool List = false;
    QSize Image;     // the image list's cell, empty without an image list
    QImage Picture;  // the button's image from the list, null for none
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
    // The image sits in its cell at the top centre, or at the left of a list tool bar,
    // or in the middle when no caption shows; the caption goes under it, or beside it.
    QRect content = button.adjusted(3, 3, -3, -3);
    if (look.Down && !look.Flat) content.translate(1, 1);
    const bool caption = look.ShowCaption && !look.Caption.isEmpty();
    if (!look.Picture.isNull()) {
        QRect cell(QPoint(), look.Image);
        if (!caption)
            cell.moveCenter(content.center());
        else if (look.List)
            cell.moveTopLeft(QPoint(content.left(), content.center().y() - look.Image.height() / 2));
        else
            cell.moveTopLeft(QPoint(content.center().x() - look.Image.width() / 2, content.top()));
        DrawListImage(p, cell.topLeft(), look.Picture, enabled);
    }
    if (!caption) return;
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

}  // namespace

Realized MakeToolButton(rt::Object& control, QWidget* parent, RealizeContext& context) {
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
        if (const rt::Object* images = ObjectOf(*bar, "Images")) {
            look.Image = QSize(IntOf(*images, "Width", 16, 0, 1000), IntOf(*images, "Height", 16, 0, 1000));
            const int index = IntOf(control, "ImageIndex", -1, -1, MaxListImages);
            if (const QImage* image = context.ImageOf(images, index)) look.Picture = *image;
        }
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

namespace {

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

}  // namespace

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

namespace {

struct StatusPart {
    QRect Rect;
    bool Separator = true;
};

}  // namespace

Realized MakeStatusBar(rt::Object& control, QWidget* parent, RealizeContext& context) {
    auto* bar = new Surface(parent);
    ApplyColorsAndFont(*bar, control, false);
    const QFont font = BoolOf(control, "UseSystemFont", true) ? SystemUiFont() : ControlFont(control);
    bar->setFont(font);
    const QColor color = ControlColor(control);
    const NonClient nc = NonClientOf(control, false);
    // The size grip shows on a status bar whose parent is a sizeable form: the one
    // previewed by the BorderStyle its text gives it.
    bool grip = false;
    if (BoolOf(control, "SizeGrip", true))
        if (const rt::Object* form = control.Parent(); form && form->GetClass().Has(rt::CfForm)) {
            const std::string style =
                form == &context.Form() ? context.FormBorderStyle() : EnumOf(*form, "BorderStyle");
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

}  // namespace fw::preview::containers
