#include "shell/application.h"

#include <QIcon>
#include <QTimer>
#include <exception>
#include <iostream>
#include <memory>

#include "document/documentwindow.h"
#include "preview/render.h"
#include "shell/appinstances.h"
#include "shell/drawnicons.h"
#include "shell/mainwindow.h"
#include "shell/productinfo.h"
#include "shell/splash.h"

namespace fw {

FwApplication::FwApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool FwApplication::notify(QObject* receiver, QEvent* event) {
    UserMessages& messages = errorMessages_ != nullptr ? *errorMessages_ : messages_;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        messages.Error(QString::fromUtf8(error.what()));
    } catch (...) {
        messages.Error(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

namespace {

// Exit codes of the picture-and-quit run.
constexpr int kGrabNoText = 3;
constexpr int kGrabNeverSettled = 4;
constexpr int kGrabNotSaved = 5;

void GrabAndQuitWhenSettled(Twnd_dfm_Main& main, const QString& path) {
    QObject::connect(&main, &Twnd_dfm_Main::StartupFilesOpened, &main, [&main, path] {
        // Let layout, painting and the editor's own queued work finish first.
        QTimer::singleShot(500, &main, [&main, path] {
            if (!main.grab().save(path, "PNG")) {
                QCoreApplication::exit(kGrabNotSaved);
                return;
            }
            const Tmdi_dfm_Editor* document = main.ActiveDocument();
            QCoreApplication::exit(document != nullptr && !document->TextBytes().isEmpty() ? 0 : kGrabNoText);
        });
    });
    // A message box waiting for an answer would hold start-up forever.
    QTimer::singleShot(60000, &main, [] { QCoreApplication::exit(kGrabNeverSettled); });
}

}  // namespace

int RunFormwright(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (preview::IsRenderCommand(arguments)) {
        // Rendering needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return preview::RenderFormFile(arguments, std::cout, std::cerr);
    }
    FwApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Zentrix"));
    app.setApplicationName(ProductName());
    app.setApplicationDisplayName(ProductName());
    app.setApplicationVersion(VersionText());
    // The installed icon when the desktop has it, else the same picture drawn in code;
    // the desktop entry's name lets the desktop match windows to the entry.
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("formwright"), DrawnIcon(DrawnImage::FormDocument)));
    QGuiApplication::setDesktopFileName(QStringLiteral("formwright"));

    // One instance per program file and user: a later start hands its arguments to the
    // running one and ends here, before it shows anything. A picture run is about this
    // very process, so it runs on its own.
    const QString grabPath = qEnvironmentVariable("FW_GRAB_AND_QUIT");
    auto instances = std::make_unique<TAppInstances>();
    if (grabPath.isEmpty() && !instances->Check(QCoreApplication::arguments().mid(1))) return 0;

    // The splash shows while the main window is built; it deletes itself when closed.
    auto* splash = new Twnd_dfm_Splash;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    app.Messages().SetSplash(splash);

    Twnd_dfm_Main main(app.Messages());
    app.Messages().SetDialogParent(&main);
    main.SetSplash(splash);
    main.SetCommandLine(QCoreApplication::arguments().mid(1));
    main.SetAppInstances(instances.release());

    if (!grabPath.isEmpty()) GrabAndQuitWhenSettled(main, grabPath);

    main.show();
    return QApplication::exec();
}

}  // namespace fw
