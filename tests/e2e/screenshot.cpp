// Saves a picture of the whole X screen as PNG, for the end-to-end session: what the
// user saw at each step, kept in the build folder for a person to look at.
//
//   fw_e2e_screenshot FILE.png
//
// Talks to the display in DISPLAY through Qt's X11 platform, so the session needs no
// image tool of its own.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fw_e2e_screenshot FILE.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "fw_e2e_screenshot: no screen\n");
        return 1;
    }
    const QPixmap picture = screen->grabWindow(0);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "fw_e2e_screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
