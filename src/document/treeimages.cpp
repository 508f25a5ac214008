#include "document/treeimages.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include "document/objectscan.h"

namespace fw {

namespace {

using Painter = void (*)(QPainter&);

// A non-visual component: a raised grey tile with a dark square in its middle.
void DrawComponent(QPainter& p) {
    p.setPen(QColor(90, 90, 90));
    p.setBrush(QColor(214, 214, 214));
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(2.5, 12.5), QPointF(2.5, 2.5));
    p.drawLine(QPointF(2.5, 2.5), QPointF(12.5, 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 90, 140));
    p.drawRect(QRectF(5, 5, 6, 6));
}

// The root object: a small window with a blue title bar.
void DrawRoot(QPainter& p) {
    p.setPen(QColor(40, 40, 60));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 1.5, 14, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 80, 190));
    p.drawRect(QRectF(1, 2, 13.5, 3));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(3, 7, 5, 2));
    p.drawRect(QRectF(3, 10, 9, 2));
}

// A control: a push button with a caption line.
void DrawControl(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(236, 236, 236));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.drawLine(QPointF(4, 8), QPointF(12, 8));
}

// A collection: three list rows, each with a bullet.
void DrawCollection(QPainter& p) {
    for (int row = 0; row < 3; ++row) {
        const qreal y = 2.5 + row * 4.5;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 130, 60));
        p.drawEllipse(QRectF(1, y - 0.5, 3, 3));
        p.setPen(QColor(50, 50, 50));
        p.setBrush(QColor(250, 250, 220));
        p.drawRect(QRectF(5.5, y - 0.5, 9, 3));
    }
}

void DrawError(QPainter& p) {
    p.setPen(QColor(130, 0, 0));
    p.setBrush(QColor(215, 30, 30));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

void DrawWarning(QPainter& p) {
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(250, 200, 20));
    p.drawPolygon(QPolygonF({QPointF(8, 0.5), QPointF(15.5, 15), QPointF(0.5, 15)}));
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 5.5), QPointF(8, 10));
    p.drawPoint(QPointF(8, 13));
}

void DrawInformation(QPainter& p) {
    p.setPen(QColor(10, 50, 130));
    p.setBrush(QColor(40, 110, 220));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(QPointF(8, 4.5));
    p.drawLine(QPointF(8, 7.5), QPointF(8, 12));
}

QIcon Draw(Painter painter) {
    QImage image(TreeImageSize, TreeImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        painter(p);
    }
    const QPixmap pixmap = QPixmap::fromImage(image);
    QIcon icon;
    // The same picture when the row is selected: the style must not tint it.
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

std::array<QIcon, TreeImageCount> DrawAll() {
    std::array<QIcon, TreeImageCount> images;
    images[ImageComponent] = Draw(DrawComponent);
    images[ImageRoot] = Draw(DrawRoot);
    images[ImageControl] = Draw(DrawControl);
    images[ImageCollection] = Draw(DrawCollection);
    images[ImageError] = Draw(DrawError);
    images[ImageWarning] = Draw(DrawWarning);
    images[ImageInfo] = Draw(DrawInformation);
    return images;
}

}  // namespace

const std::array<QIcon, TreeImageCount>& TreeImages() {
    // Kept for the life of the process and never destroyed: pixmaps must not outlive
    // the application object in static destruction.
    static const auto* const images = new std::array<QIcon, TreeImageCount>(DrawAll());
    return *images;
}

}  // namespace fw
