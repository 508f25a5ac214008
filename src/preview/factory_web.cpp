// The link label and the web browser. A link label shows its Caption with the parts
// inside <a ...>...</a> tags as links: underlined, in the system's link colour; the
// tags themselves are not shown. A web browser has no page in a preview: it shows as
// its empty document area, white inside a sunken edge.

#include <QPainter>
#include <QWidget>
#include <vector>

#include "preview/classrows.h"
#include "preview/controlfactory.h"
#include "preview/vcllook.h"

namespace fw::preview {

namespace {

// The colour Windows draws links in (COLOR_HOTLIGHT).
const QColor LinkColor(0x00, 0x66, 0xCC);

struct LinkPart {
    QString Text;
    bool Link = false;
};

// Splits a link label's caption into plain and link parts. An opening tag is "<a" up
// to the next '>', closed by "</a>" (either in any case); a tag left open runs to the
// end. Any other text, '<' included, is shown as written.
std::vector<LinkPart> SplitLinks(const QString& caption) {
    std::vector<LinkPart> parts;
    auto add = [&parts](QString text, bool link) {
        if (!text.isEmpty()) parts.push_back({std::move(text), link});
    };
    qsizetype at = 0;
    while (at < caption.size()) {
        qsizetype open = at;
        for (;;) {
            open = caption.indexOf(QLatin1Char('<'), open);
            if (open < 0) break;
            const QStringView rest = QStringView(caption).mid(open + 1);
            if (rest.startsWith(QLatin1Char('a'), Qt::CaseInsensitive) &&
                (rest.size() == 1 || rest[1] == QLatin1Char('>') || rest[1].isSpace()))
                break;
            ++open;
        }
        const qsizetype tagEnd = open < 0 ? -1 : caption.indexOf(QLatin1Char('>'), open);
        if (tagEnd < 0) {
            add(caption.mid(at), false);
            break;
        }
        add(caption.mid(at, open - at), false);
        const qsizetype close = caption.indexOf(QStringLiteral("</a>"), tagEnd + 1, Qt::CaseInsensitive);
        if (close < 0) {
            add(caption.mid(tagEnd + 1), true);
            break;
        }
        add(caption.mid(tagEnd + 1, close - tagEnd - 1), true);
        at = close + 4;
    }
    return parts;
}

class LinkLabelWidget : public QWidget {
public:
    LinkLabelWidget(std::vector<LinkPart> parts, QWidget* parent)
        : QWidget(parent), parts_(std::move(parts)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics plainMetrics(font());
        int x = 0;
        const int baseline = plainMetrics.ascent();
        for (const LinkPart& part : parts_) {
            QFont f = font();
            f.setUnderline(part.Link);
            painter.setFont(f);
            painter.setPen(part.Link ? LinkColor : palette().windowText().color());
            painter.drawText(x, baseline, part.Text);
            x += QFontMetrics(f).horizontalAdvance(part.Text);
        }
    }

private:
    std::vector<LinkPart> parts_;
};

class BrowserArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect r = rect();
        painter.fillRect(r, Qt::white);
        // The sunken client edge: shadow and dark shadow outside, highlight and face
        // inside, as Windows draws WS_EX_CLIENTEDGE.
        auto edge = [&painter](QRect box, QColor topLeft, QColor bottomRight) {
            painter.setPen(topLeft);
            painter.drawLine(box.topLeft(), box.topRight());
            painter.drawLine(box.topLeft(), box.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            painter.drawLine(box.topRight(), box.bottomRight());
        };
        edge(r.adjusted(0, 0, -1, -1), QColor(0xA0, 0xA0, 0xA0), QColor(0xFF, 0xFF, 0xFF));
        edge(r.adjusted(1, 1, -2, -2), QColor(0x69, 0x69, 0x69), QColor(0xE3, 0xE3, 0xE3));
    }
};

class WebFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "web"; }
    bool Handles(const rt::Class& cls) const override {
        return cls.InheritsFrom("TCustomLinkLabel") || cls.InheritsFrom("TWebBrowser");
    }
    bool HasRow(std::string_view className) const override {
        for (std::string_view row : {"TCustomLinkLabel", "TLinkLabel", "TWebBrowser"})
            if (rt::EqualsIgnoringCase(row, className)) return true;
        return false;
    }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        if (LookClass(control, context).InheritsFrom("TCustomLinkLabel")) {
            auto* label = new LinkLabelWidget(SplitLinks(TextOf(control, "Caption")), parent);
            ApplyColorsAndFont(*label, control, !BoolOf(control, "ParentColor", true));
            return {label, nullptr};
        }
        return {new BrowserArea(parent), nullptr};
    }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeWebFactory() {
    return std::make_unique<WebFactory>();
}

}  // namespace fw::preview
