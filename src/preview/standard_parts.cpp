// Text and palette helpers and the stock glyphs the standard controls draw with.

#include "preview/standard_parts.h"

namespace fw::preview::standard {

void Quiet(QWidget* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setContextMenuPolicy(Qt::NoContextMenu);
    for (QWidget* inner : widget->findChildren<QWidget*>()) {
        inner->setFocusPolicy(Qt::NoFocus);
        inner->setContextMenuPolicy(Qt::NoContextMenu);
    }
}

QString UnixLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

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

void KeepSelectionColors(QWidget& widget) {
    QPalette palette = widget.palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    widget.setPalette(palette);
}

void WhiteIndicators(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, ColorOf(clWindow));
    palette.setColor(QPalette::Text, ColorOf(clWindowText));
    widget.setPalette(palette);
}

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

QImage GlyphCell(const QImage& strip, std::int64_t numGlyphs, int cell) {
    if (strip.isNull()) return {};
    const int count = static_cast<int>(std::clamp<std::int64_t>(numGlyphs, 1, 4));
    if (cell >= count || strip.width() < count) return cell == 0 ? strip : QImage();
    const int width = strip.width() / count;
    return strip.copy(cell * width, 0, width, strip.height());
}

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

void DrawCheckMark(QPainter& p, const QColor& color, QPointF at, qreal scale) {
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

}  // namespace fw::preview::standard
