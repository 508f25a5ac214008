#include "shell/application.h"

#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <exception>
#include <iostream>
#include <memory>
#include <utility>

#include "document/documentwindow.h"
#include "preview/render.h"
#include "shell/drawnicons.h"
#include "shell/mainwindow.h"
#include "shell/productinfo.h"
#include "shell/session.h"
#include "shell/singleinstance.h"
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

void GrabAndQuitWhenSettled(MainWindow& main, const QString& path) {
    QObject::connect(&main, &MainWindow::StartupFilesOpened, &main, [&main, path] {
        // Let layout, painting and the editor's own queued work finish first.
        QTimer::singleShot(500, &main, [&main, path] {
            if (!main.grab().save(path, "PNG")) {
                QCoreApplication::exit(kGrabNotSaved);
                return;
            }
            const DocumentWindow* document = main.ActiveDocument();
            QCoreApplication::exit(
                document != nullptr && !document->Document().TextBytes().isEmpty() ? 0 : kGrabNoText);
        });
    });
    // A message box waiting for an answer would hold start-up forever.
    QTimer::singleShot(60000, &main, [] { QCoreApplication::exit(kGrabNeverSettled); });
}

// "--help" or "--version" as the only argument, unless a file of that name exists:
// answered on standard output without a display or a running instance.
bool AnswerInformationRequest(const QStringList& arguments) {
    if (arguments.size() != 1 || QFileInfo::exists(arguments.first())) return false;
    const QString& request = arguments.first();
    if (request == QLatin1String("--version")) {
        std::cout << ProductName().toStdString() << ' ' << VersionText().toStdString() << '\n';
        return true;
    }
    if (request != QLatin1String("--help") && request != QLatin1String("-h")) return false;
    std::cout << "Usage: formwright [FILE...]\n"
                 "       formwright --render FORM [--codepage N] [--package BPL]... [--installed-packages]\n"
                 "                  -o IMAGE.png [--layout LAYOUT.json] [--search-path DIR]...\n"
                 "       formwright --help | --version\n"
                 "\n"
                 "Opens each form file (.dfm, in text, binary or resource-wrapped encoding) in the\n"
                 "editor. When Formwright already runs for this user, the files open in its window.\n"
                 "A path with blanks may be given unquoted.\n"
                 "\n"
                 "  --render FORM -o IMAGE.png  save a picture of the form's preview, without a\n"
                 "                              display; exit status 0 without messages, 1 with\n"
                 "                              any (printed as FORM: ERROR=text), 2 when the form\n"
                 "                              cannot be read or the picture written\n"
                 "  --codepage N                with --render: the code page of 8-bit form text\n"
                 "                              (default 1252)\n"
                 "  --package BPL               with --render: load the design package BPL, as the\n"
                 "                              editor does, without running it; repeatable\n"
                 "  --installed-packages        with --render: load the editor's package list too\n"
                 "                              (not read otherwise)\n"
                 "  --layout LAYOUT.json        with --render: also save where each object of the\n"
                 "                              form was drawn, and how, as JSON\n"
                 "  --search-path DIR           with --render: look for the files of the form's\n"
                 "                              ancestors and frames in DIR too, after the form's\n"
                 "                              folder and its parents; repeatable\n"
                 "  --help                      show this text and exit\n"
                 "  --version                   show the version and exit\n"
                 "\n"
                 "Settings are kept in $XDG_CONFIG_HOME/Zentrix/Formwright.ini (by default under\n"
                 "~/.config). See formwright(1) and formwright-cli(1).\n";
    return true;
}

}  // namespace

int RunFormwright(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (AnswerInformationRequest(arguments)) return 0;
    if (preview::IsRenderCommand(arguments)) {
        // Rendering needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return preview::RenderFormFile(arguments, std::cout, std::cerr);
    }
    FwApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Zentrix"));
    // No display name: the desktop would append it to every title, and the main
    // window's title already starts with the product name.
    app.setApplicationName(ProductName());
    app.setApplicationVersion(VersionText());
    // The installed icon when the desktop has it, else the same picture drawn in code;
    // the desktop entry's name lets the desktop match windows to the entry.
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("formwright"), DrawnIcon(DrawnImage::FormDocument)));
    QGuiApplication::setDesktopFileName(QStringLiteral("formwright"));

    // One instance per program file and user: a later start hands its arguments to the
    // running one and ends here, before it shows anything. A picture run is about this
    // very process, so it runs on its own.
    const QString grabPath = qEnvironmentVariable("FW_GRAB_AND_QUIT");
    auto instances = std::make_unique<SingleInstance>();
    if (grabPath.isEmpty() && !instances->Check(QCoreApplication::arguments().mid(1))) return 0;

    // The splash shows while the main window is built; it deletes itself when closed.
    auto* splash = new SplashScreen;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    app.Messages().SetSplash(splash);

    // What the windows share: the class registry, the design packages, the form
    // folders and the link to later starts.
    Session session;
    session.SetInstances(std::move(instances));
    MainWindow main(session, app.Messages());
    app.Messages().SetDialogParent(&main);
    main.SetSplash(splash);
    main.SetCommandLine(QCoreApplication::arguments().mid(1));
    main.ListenToInstances(*session.Instances());

    if (!grabPath.isEmpty()) GrabAndQuitWhenSettled(main, grabPath);

    main.show();
    return QApplication::exec();
}

}  // namespace fw
