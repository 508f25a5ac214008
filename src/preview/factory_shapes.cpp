// The graphic controls the container factory draws onto their parent: bevels, shapes,
// splitters and images.

#include "preview/containers_parts.h"

namespace fw::preview::containers {

// ---------------------------------------------------------------------------------
// Bevels, shapes, splitters, images

std::unique_ptr<DrawnControl> DrawBevel(const rt::Object& control) {
    const std::string shape = EnumOf(control, "Shape");
    const bool raised = EnumOf(control, "Style") == "bsRaised";
    return std::make_unique<PaintedControl>([shape, raised](QPainter& p, const QRect& whole, const QRect&) {
        const QColor first = raised ? ColorOf(clBtnHighlight) : ColorOf(clBtnShadow);
        const QColor second = raised ? ColorOf(clBtnShadow) : ColorOf(clBtnHighlight);
        const int w = whole.width(), h = whole.height();
        if (w <= 0 || h <= 0) return;
        if (shape == "bsBox") {
            QRect r = whole;
            Frame3D(p, r, first, second, 1);
        } else if (shape == "bsFrame") {
            // Two rings a pixel apart: the inner one in the second colour, the outer
            // one drawn over it in the first.
            QRect inner(1, 1, w - 1, h - 1), outer(0, 0, w - 1, h - 1);
            Frame3D(p, inner, second, second, 1);
            Frame3D(p, outer, first, first, 1);
        } else if (shape == "bsTopLine") {
            HLine(p, 0, w - 1, 0, first);
            HLine(p, 0, w - 1, 1, second);
        } else if (shape == "bsBottomLine") {
            HLine(p, 0, w - 1, h - 2, first);
            HLine(p, 0, w - 1, h - 1, second);
        } else if (shape == "bsLeftLine") {
            VLine(p, 0, 0, h - 1, first);
            VLine(p, 1, 0, h - 1, second);
        } else if (shape == "bsRightLine") {
            VLine(p, w - 2, 0, h - 1, first);
            VLine(p, w - 1, 0, h - 1, second);
        }
        // bsSpacer draws nothing.
    });
}

namespace {

Qt::BrushStyle HatchOf(const std::string& style) {
    if (style == "bsHorizontal") return Qt::HorPattern;
    if (style == "bsVertical") return Qt::VerPattern;
    if (style == "bsFDiagonal") return Qt::BDiagPattern;  // lines rising to the right
    if (style == "bsBDiagonal") return Qt::FDiagPattern;
    if (style == "bsCross") return Qt::CrossPattern;
    if (style == "bsDiagCross") return Qt::DiagCrossPattern;
    if (style == "bsClear") return Qt::NoBrush;
    return Qt::SolidPattern;
}

}  // namespace

std::unique_ptr<DrawnControl> DrawShape(const rt::Object& control) {
    const std::string kind = EnumOf(control, "Shape");
    QBrush brush(Qt::NoBrush);
    if (const rt::Object* b = ObjectOf(control, "Brush")) {
        const QColor color = ColorProperty(*b, "Color", QColor(Qt::white));
        brush = QBrush(color, HatchOf(EnumOf(*b, "Style")));
    } else {
        brush = QBrush(Qt::white);
    }
    int penWidth = 1;
    QColor penColor(Qt::black);
    std::string penStyle = "psSolid";
    if (const rt::Object* pen = ObjectOf(control, "Pen")) {
        penWidth = IntOf(*pen, "Width", 1, 0, 1000);
        penStyle = EnumOf(*pen, "Style");
        penColor = ColorOf(OrdinalOf(*pen, "Color", 0));
    }
    return std::make_unique<PaintedControl>([=](QPainter& p, const QRect& whole, const QRect&) {
        // The shape's box as the control works it out: inset by half the pen, the pen
        // width taken off the size, squares and circles centred on the shorter side.
        int x = penWidth / 2, y = x;
        int w = whole.width() - penWidth + 1, h = whole.height() - penWidth + 1;
        if (penWidth == 0) {
            --w;
            --h;
        }
        const int s = std::min(w, h);
        if (kind == "stSquare" || kind == "stRoundSquare" || kind == "stCircle") {
            x += (w - s) / 2;
            y += (h - s) / 2;
            w = h = s;
        }
        if (w <= 0 || h <= 0) return;
        const bool noPen = penStyle == "psClear" || !penColor.isValid() || penWidth == 0;
        QPen pen(noPen ? Qt::NoPen : Qt::SolidLine);
        if (!noPen) {
            pen.setColor(penColor);
            pen.setWidth(std::max(1, penWidth));
            // Dashed styles exist only for one-pixel pens; wider pens draw solid.
            if (penWidth <= 1) {
                if (penStyle == "psDash")
                    pen.setStyle(Qt::DashLine);
                else if (penStyle == "psDot" || penStyle == "psAlternate")
                    pen.setStyle(Qt::DotLine);
                else if (penStyle == "psDashDot")
                    pen.setStyle(Qt::DashDotLine);
                else if (penStyle == "psDashDotDot")
                    pen.setStyle(Qt::DashDotDotLine);
            }
            pen.setJoinStyle(Qt::MiterJoin);
        }
        // Windows excludes the right and bottom edges of the box; the outline runs along
        // the centre of the pen.
        const QRectF box = noPen ? QRectF(x, y, w - 1, h - 1)
                                 : QRectF(x + (pen.width() % 2 ? 0.5 : 0.0),
                                          y + (pen.width() % 2 ? 0.5 : 0.0), w - 1, h - 1);
        p.setPen(pen);
        p.setBrush(brush);
        if (kind == "stEllipse" || kind == "stCircle") {
            p.drawEllipse(noPen ? QRectF(x, y, w, h) : box);
        } else if (kind == "stRoundRect" || kind == "stRoundSquare") {
            const qreal radius = s / 8.0;
            p.drawRoundedRect(noPen ? QRectF(x, y, w, h) : box, radius, radius);
        } else if (noPen) {
            p.fillRect(QRect(x, y, w - 1, h - 1), brush);
        } else {
            p.drawRect(box);
        }
    });
}

std::unique_ptr<DrawnControl> DrawSplitter(const rt::Object& control) {
    const QColor color = ControlColor(control);
    const bool beveled = BoolOf(control, "Beveled", false);
    const std::string align = EnumOf(control, "Align");
    return std::make_unique<PaintedControl>([=](QPainter& p, const QRect& whole, const QRect&) {
        p.fillRect(whole, color);
        if (!beveled) return;
        QRect r = whole;
        if (align == "alLeft" || align == "alRight")
            r.adjust(1, -2, -1, 2);
        else
            r.adjust(-2, 1, 2, -1);
        r.translate(1, 1);
        p.setPen(ColorOf(clBtnHighlight));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.translate(-2, -2);
        p.setPen(ColorOf(clBtnShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    });
}

namespace {

// Where a picture of size (w, h) goes in a client area of size (cw, ch): at the top
// left, stretched, shrunk or grown keeping its proportions, and centred, as an image
// control places it.
QRect PictureRect(int w, int h, int cw, int ch, bool stretch, bool proportional, bool center) {
    if (stretch || (proportional && (w > cw || h > ch))) {
        if (proportional && w > 0 && h > 0) {
            const double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    QRect r(0, 0, w, h);
    if (center) r.translate((cw - w) / 2, (ch - h) / 2);
    return r;
}

// An image control. Its picture is decoded when the image first comes on screen, and
// only when the preview's picture budget took its size at build time.
class DrawnImage : public DrawnControl {
public:
    DrawnImage(const rt::GraphicData* graphic, QSize size, const rt::Object& control, PictureCache* cache)
        : graphic_(graphic),
          cache_(cache),
          size_(size),
          transparent_(BoolOf(control, "Transparent", false)),
          stretch_(BoolOf(control, "Stretch", false)),
          proportional_(BoolOf(control, "Proportional", false)),
          center_(BoolOf(control, "Center", false)) {}

    void Paint(QPainter& p, const QRect& whole, bool) const override {
        if (graphic_) {
            const long long pixels = static_cast<long long>(size_.width()) * size_.height();
            picture_ = cache_ ? cache_->Decoded(*graphic_, transparent_, pixels)
                              : DecodeGraphic(*graphic_, transparent_, pixels);
            graphic_ = nullptr;
        }
        if (picture_.isNull()) return;
        const QRect target = PictureRect(picture_.width(), picture_.height(), whole.width(), whole.height(),
                                         stretch_, proportional_, center_);
        if (target.isEmpty()) return;
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(target, picture_);
    }

private:
    // The picture's data until it is decoded; the live object outlives the preview's
    // drawings.
    mutable const rt::GraphicData* graphic_;
    PictureCache* cache_;
    mutable QImage picture_;
    QSize size_;
    bool transparent_, stretch_, proportional_, center_;
};

}  // namespace

std::unique_ptr<DrawnControl> DrawImage(const rt::Object& control, RealizeContext& context) {
    const rt::Object* picture = ObjectOf(control, "Picture");
    const rt::GraphicData* graphic = picture ? &picture->Graphic() : nullptr;
    QSize size;
    if (graphic) {
        size = PictureSize(*graphic);
        if (!size.isValid() || size.isEmpty()) {
            graphic = nullptr;
        } else if (!context.Pictures().Claim(size)) {
            context.Report("WARN=Preview: the picture of " + control.Name() + " (" +
                           std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                           " pixels) is not shown: it is larger than the preview decodes");
            graphic = nullptr;
        }
    }
    return std::make_unique<DrawnImage>(graphic, size, control, context.DecodedPictures());
}

}  // namespace fw::preview::containers
