// Labels and static text, drawn as a Windows 10 desktop at 96 DPI shows them at run
// time. A label has no window: it is painted onto its parent.

#include "preview/standard_parts.h"

namespace fw::preview::standard {

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

namespace {

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

}  // namespace

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
    return std::make_unique<DrawnLabel>(LabelLook(control, data ? QString() : TextOf(control, "Caption")),
                                        control);
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

}  // namespace fw::preview::standard
