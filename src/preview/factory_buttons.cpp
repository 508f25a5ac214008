// Push, bitmap and speed buttons, check boxes and radio buttons, with their
// data-aware look-alikes, as a Windows 10 desktop shows them at run time.

#include "preview/standard_parts.h"

namespace fw::preview::standard {

namespace {

GlyphLayout LayoutOf(const rt::Object& control) {
    const std::string layout = EnumOf(control, "Layout");
    if (layout == "blGlyphRight") return GlyphLayout::Right;
    if (layout == "blGlyphTop") return GlyphLayout::Top;
    if (layout == "blGlyphBottom") return GlyphLayout::Bottom;
    return GlyphLayout::Left;
}

}  // namespace

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

namespace {

constexpr int MarkGap = 4;

}  // namespace

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

namespace {

using CheckMarkBox = MarkButton<QCheckBox, QStyle::PE_IndicatorCheckBox>;

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

}  // namespace

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

void ShowButtonImage(const rt::Object& control, QWidget* widget, RealizeContext& context) {
    auto* button = dynamic_cast<GlyphButton*>(widget);
    const rt::Object* images = ObjectOf(control, "Images");
    if (!button || !images) return;
    auto imageOf = [&](std::string_view property) {
        const QImage* image =
            context.ImageOf(images, ClampInt(OrdinalOf(control, property, -1), -1, MaxListImages));
        return image ? *image : QImage();
    };
    const QImage normal = imageOf("ImageIndex");
    if (normal.isNull()) return;
    button->SetGlyphs(normal, imageOf("DisabledImageIndex"), imageOf("PressedImageIndex"));
    if (!control.FindProperty("ImageAlignment")) return;
    const std::string alignment = EnumOf(control, "ImageAlignment");
    const GlyphLayout layout = alignment == "iaRight"    ? GlyphLayout::Right
                               : alignment == "iaTop"    ? GlyphLayout::Top
                               : alignment == "iaBottom" ? GlyphLayout::Bottom
                                                         : GlyphLayout::Left;
    button->SetPlacement(layout, -1, 4);
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

}  // namespace fw::preview::standard
