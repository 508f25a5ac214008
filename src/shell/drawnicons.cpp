#include "shell/drawnicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace fw {

namespace {

// Coordinates are in a 16 x 16 grid; 1-unit lines lie on half units so that they
// fall on whole pixels at 16 px and on pixel pairs at 32 px.
const QColor kOutline(64, 64, 64);
const QColor kPaper(255, 255, 255);
const QColor kText(150, 150, 150);
const QColor kBlue(42, 98, 184);
const QColor kLightBlue(170, 205, 245);
const QColor kFolder(232, 192, 74);
const QColor kFolderDark(196, 150, 40);
const QColor kBoard(176, 122, 58);
const QColor kRed(200, 50, 40);
const QColor kGreen(40, 150, 60);
const QColor kFace(216, 216, 216);

void Outline(QPainter& p, qreal width = 1.0) {
    p.setPen(QPen(kOutline, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

void Page(QPainter& p, const QRectF& r) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawRect(r);
}

void TextLines(QPainter& p, qreal x1, qreal x2, qreal top, qreal bottom, qreal step = 2.0) {
    p.setPen(QPen(kText, 1.0));
    for (qreal y = top; y <= bottom; y += step)
        p.drawLine(QPointF(x1, y), QPointF(x2, y));
}

// A window with a blue title bar.
void Window(QPainter& p, const QRectF& r, const QColor& body = kPaper) {
    Outline(p);
    p.setBrush(body);
    p.drawRect(r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width(), 2.0), kBlue);
}

void ArrowHead(QPainter& p, const QColor& color, const QPolygonF& points) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(points);
}

void DrawNew(QPainter& p) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{10.5, 1.5}, {10.5, 4.5}, {13.5, 4.5}}));
}

void DrawOpen(QPainter& p) {
    Outline(p);
    p.setBrush(kFolderDark);
    p.drawPolygon(QPolygonF({{1.5, 2.5}, {5.5, 2.5}, {6.5, 3.5}, {12.5, 3.5}, {12.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(kFolder);
    p.drawPolygon(QPolygonF({{4.5, 6.5}, {15.5, 6.5}, {12.5, 13.5}, {1.5, 13.5}}));
}

void DrawSave(QPainter& p) {
    Outline(p);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 1.5, 8, 5));
    p.setBrush(kFace);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.fillRect(QRectF(9, 10, 1.5, 3.5), kOutline);
}

void DrawUndo(QPainter& p) {
    QPainterPath path;
    path.moveTo(13.5, 13.5);
    path.cubicTo(14.5, 6.0, 9.0, 4.0, 5.0, 6.5);
    p.setPen(QPen(kBlue, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    ArrowHead(p, kBlue, QPolygonF({{1.0, 8.5}, {5.5, 2.5}, {7.5, 9.5}}));
}

void DrawCopy(QPainter& p) {
    Page(p, QRectF(1.5, 1.5, 8, 10));
    TextLines(p, 3.5, 7.5, 4.5, 9.5);
    Page(p, QRectF(6.5, 4.5, 8, 10));
    TextLines(p, 8.5, 12.5, 7.5, 12.5);
}

void DrawCut(QPainter& p) {
    p.setPen(QPen(kOutline, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.0, 10.0), QPointF(11.5, 1.0));
    p.drawLine(QPointF(10.0, 10.0), QPointF(4.5, 1.0));
    p.setPen(QPen(kRed, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
    p.drawEllipse(QPointF(11.5, 12.5), 2.3, 2.3);
}

void DrawPaste(QPainter& p) {
    Outline(p);
    p.setBrush(kBoard);
    p.drawRect(QRectF(1.5, 2.5, 10, 12));
    p.setBrush(kFace);
    p.drawRect(QRectF(4.5, 1.5, 4, 3));
    Page(p, QRectF(6.5, 6.5, 8, 8));
    TextLines(p, 8.5, 12.5, 9.0, 12.5);
}

void DrawFind(QPainter& p) {
    p.setPen(QPen(kOutline, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.0, 10.0), QPointF(14.0, 14.0));
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
}

void DrawGoto(QPainter& p) {
    TextLines(p, 8.0, 14.5, 3.5, 3.5);
    TextLines(p, 8.0, 14.5, 11.5, 11.5);
    p.setPen(QPen(kOutline, 2.0));
    p.drawLine(QPointF(8.0, 7.5), QPointF(14.5, 7.5));
    p.setPen(QPen(kGreen, 2.0));
    p.drawLine(QPointF(1.0, 7.5), QPointF(4.0, 7.5));
    ArrowHead(p, kGreen, QPolygonF({{3.5, 3.5}, {7.5, 7.5}, {3.5, 11.5}}));
}

void DrawPreview(QPainter& p) {
    Window(p, QRectF(1.5, 2.5, 13, 11), kFace);
    Outline(p);
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 6.5, 6, 2));
    p.setBrush(kFace);
    p.drawRect(QRectF(8.5, 10.0, 4, 2));
}

void DrawRescan(QPainter& p) {
    p.setPen(QPen(kOutline, 1.0));
    p.drawLine(QPointF(3.5, 4.0), QPointF(3.5, 12.5));
    p.drawLine(QPointF(3.5, 8.5), QPointF(6.0, 8.5));
    p.drawLine(QPointF(3.5, 12.5), QPointF(6.0, 12.5));
    Outline(p);
    p.setBrush(kBlue);
    p.drawRect(QRectF(1.5, 1.5, 4, 3));
    p.setBrush(kFolder);
    p.drawRect(QRectF(6.5, 7.0, 4, 3));
    p.drawRect(QRectF(6.5, 11.0, 4, 3));
    // A turning arrow: the hierarchy is built again.
    QPainterPath arc;
    arc.arcMoveTo(QRectF(9.0, 1.0, 6.0, 6.0), 200);
    arc.arcTo(QRectF(9.0, 1.0, 6.0, 6.0), 200, -250);
    p.setPen(QPen(kGreen, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    ArrowHead(p, kGreen, QPolygonF({{7.5, 3.0}, {11.0, 4.5}, {8.5, 7.0}}));
}

void DrawProperties(QPainter& p) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.fillRect(QRectF(2.0, 2.0, 5.0, 12.5), kFace);
    p.setPen(QPen(kOutline, 1.0));
    for (qreal y : {4.5, 7.5, 10.5})
        p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    p.drawLine(QPointF(6.5, 1.5), QPointF(6.5, 14.5));
    p.fillRect(QRectF(2.0, 5.0, 12.5, 2.5), kLightBlue);
}

void DrawCascade(QPainter& p) {
    Window(p, QRectF(1.5, 1.5, 9, 7));
    Window(p, QRectF(3.5, 4.5, 9, 7));
    Window(p, QRectF(5.5, 7.5, 9, 7));
}

void DrawTileHorizontal(QPainter& p) {
    Window(p, QRectF(1.5, 1.5, 13, 6));
    Window(p, QRectF(1.5, 8.5, 13, 6));
}

void DrawTileVertical(QPainter& p) {
    Window(p, QRectF(1.5, 1.5, 6, 13));
    Window(p, QRectF(8.5, 1.5, 6, 13));
}

void DrawExit(QPainter& p) {
    Outline(p);
    p.setBrush(kFace);
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    p.setBrush(kBoard);
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {6.5, 3.5}, {6.5, 15.5}, {1.5, 14.5}}));
    p.setPen(QPen(kRed, 2.0));
    p.drawLine(QPointF(9.0, 8.5), QPointF(12.0, 8.5));
    ArrowHead(p, kRed, QPolygonF({{11.5, 5.0}, {15.5, 8.5}, {11.5, 12.0}}));
}

void DrawFormDocument(QPainter& p) {
    Window(p, QRectF(1.5, 1.5, 13, 13), kFace);
    // The design grid of a form being edited.
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    for (qreal y = 6.0; y < 14.0; y += 3.0) {
        for (qreal x = 4.0; x < 14.0; x += 3.0)
            p.drawRect(QRectF(x, y, 0.8, 0.8));
    }
}

void Draw(DrawnImage image, QPainter& p) {
    switch (image) {
        case DrawnImage::New:
            return DrawNew(p);
        case DrawnImage::Open:
            return DrawOpen(p);
        case DrawnImage::Save:
            return DrawSave(p);
        case DrawnImage::Undo:
            return DrawUndo(p);
        case DrawnImage::Copy:
            return DrawCopy(p);
        case DrawnImage::Cut:
            return DrawCut(p);
        case DrawnImage::Paste:
            return DrawPaste(p);
        case DrawnImage::Find:
            return DrawFind(p);
        case DrawnImage::Goto:
            return DrawGoto(p);
        case DrawnImage::Preview:
            return DrawPreview(p);
        case DrawnImage::Rescan:
            return DrawRescan(p);
        case DrawnImage::Properties:
            return DrawProperties(p);
        case DrawnImage::Cascade:
            return DrawCascade(p);
        case DrawnImage::TileHorizontal:
            return DrawTileHorizontal(p);
        case DrawnImage::TileVertical:
            return DrawTileVertical(p);
        case DrawnImage::Exit:
            return DrawExit(p);
        case DrawnImage::FormDocument:
            return DrawFormDocument(p);
    }
}

}  // namespace

QPixmap DrawnPixmap(DrawnImage image, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    Draw(image, p);
    return pixmap;
}

QIcon DrawnIcon(DrawnImage image) {
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(DrawnPixmap(image, size));
    return icon;
}

}  // namespace fw
