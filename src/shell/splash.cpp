#include "shell/splash.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "shell/drawnicons.h"
#include "shell/productinfo.h"

namespace fw {

namespace {

constexpr int kWidth = 387;
constexpr int kHeight = 282;

QLabel* MakeLabel(const QString& text, int pointSize, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

}  // namespace

SplashScreen::SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("wnd_dfm_Splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the splash must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(kWidth, kHeight);
    setCursor(Qt::PointingHandCursor);

    imgLogo_ = new QLabel(this);
    imgLogo_->setPixmap(DrawnPixmap(DrawnImage::FormDocument, 64));
    lTitle_ = MakeLabel(ProductName(), 22, true, this);
    lVersion = MakeLabel(QStringLiteral("%1.%2").arg(VersionMajor()).arg(VersionMinor()), 40, true, this);
    lVersion->setObjectName(QStringLiteral("lVersion"));
    lCopy = MakeLabel(LegalNotice(), 8, false, this);
    lCopy->setObjectName(QStringLiteral("lCopy"));
    lStatus = MakeLabel(QStringLiteral("Loading packages..."), 9, false, this);
    lStatus->setObjectName(QStringLiteral("lStatus"));

    // Two lines chosen by hand: automatic wrapping would break "C++Builder" after a "+".
    auto* description = MakeLabel(
        QStringLiteral("Editor and converter for\nDelphi and C++Builder form files"), 9, false, this);

    auto* top = new QHBoxLayout;
    top->addWidget(imgLogo_, 0, Qt::AlignTop);
    top->addSpacing(12);
    auto* titles = new QVBoxLayout;
    titles->addWidget(lTitle_);
    titles->addWidget(description);
    titles->addStretch(1);
    top->addLayout(titles, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    layout->addStretch(1);
    layout->addWidget(lVersion, 0, Qt::AlignRight);
    layout->addStretch(1);
    layout->addWidget(lCopy);
    layout->addWidget(lStatus);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

void SplashScreen::SetStatus(const QString& text) {
    lStatus->setText(text);
    // Loading runs without returning to the event loop; paint now so the text shows.
    if (isVisible()) lStatus->repaint();
}

QString SplashScreen::Status() const {
    return lStatus->text();
}

void SplashScreen::cmClose() {
    close();
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

// The labels leave clicks to their parent, so this covers body, picture and labels.
void SplashScreen::mousePressEvent(QMouseEvent*) {
    cmClose();
}

}  // namespace fw
