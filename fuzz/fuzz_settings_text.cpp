// Fuzzes the loader of remembered window layouts on arbitrary stored lines. Each line of
// the input (split at LF, a CR before it dropped) is stored as one line value of a
// settings section, as the program keeps them; the section is then loaded as at a
// window's showing: the lines are joined as form text, or decoded from hexadecimal
// digits, and the form is checked and applied to a window with a panel and a splitter.
// Loading may reject the lines with an fw::Exception; it must never crash, hang, leak
// or trip a sanitizer.
//
// The window is built once on Qt's offscreen platform and put back to the same layout
// before every input, so that an input does the same whenever it is run.

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "base/errors.h"
#include "shell/settingsvalues.h"
#include "shell/windowstatestore.h"

namespace {

const QString kSection = QStringLiteral("Fuzz");

struct Probe {
    Probe() {
        window = std::make_unique<QWidget>();
        window->setObjectName(QStringLiteral("wnd_Probe"));
        panel = new QWidget(window.get());
        panel->setObjectName(QStringLiteral("Panel"));
        splitter = new QSplitter(Qt::Horizontal, window.get());
        splitter->setObjectName(QStringLiteral("Splitter"));
        left = new QWidget(splitter);
        left->setObjectName(QStringLiteral("Left"));
        right = new QWidget(splitter);
        right->setObjectName(QStringLiteral("Right"));
        manager = new fw::SettingsWindowStateStorage(window.get());
        storage = new fw::WindowStateStore(window.get(), manager, kSection, QStringLiteral("QWidget"));
        storage->SetScreenPixelsPerInch(96);
        storage->AddComponent(QStringLiteral("Panel"), QStringLiteral("TPanel"), panel);
        storage->AddComponent(QStringLiteral("Left"), QStringLiteral("TPanel"), left);
        storage->AddComponent(QStringLiteral("Right"), QStringLiteral("TPanel"), right);
        storage->SetOnReadCustomValue([](const QString& name, const fw::StoredValue& value) {
            // As the main window takes its options: a flag of the wrong kind is an error.
            if (name == QStringLiteral("ShowTypeCol") || name == QStringLiteral("SmallFont")) {
                if (value.kind != fw::StoredValue::Kind::Boolean)
                    throw fw::EReadError("Invalid property value");
                return true;
            }
            return false;
        });
    }

    void Reset() {
        window->setWindowState(Qt::WindowNoState);
        window->setGeometry(10, 20, 300, 200);
        panel->setGeometry(0, 0, 50, 50);
        panel->show();
        splitter->setGeometry(0, 50, 300, 150);
        splitter->setSizes({150, 150});
        left->show();
        right->show();
    }

    std::unique_ptr<QWidget> window;
    QWidget* panel;
    QSplitter* splitter;
    QWidget* left;
    QWidget* right;
    fw::SettingsWindowStateStorage* manager;
    fw::WindowStateStore* storage;
};

Probe* probe = nullptr;
// The section's group, open for the process's life. Other settings objects of the
// process see what it writes at once; as it is never synchronised, no input waits for
// the disk.
QSettings* writer = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the process's life: QApplication holds on to argc and argv.
    static QApplication application(*argc, *argv);
    // Loading a section writes the settings file back (with a sync to disk), so the
    // file is kept in memory where the system offers a folder for that.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/fw-fuzz-settings-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/fw-fuzz-settings-XXXXXX"));
    if (!folder.isValid()) std::abort();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope,
                       folder.filePath(QStringLiteral("system")));
    probe = new Probe;
    writer = new QSettings(QSettings::IniFormat, QSettings::UserScope, fw::SettingsOrganization(),
                           fw::SettingsApplication());
    writer->beginGroup(fw::SettingsWindowStateStorage::Group() + u'/' + kSection);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    probe->Reset();
    {
        writer->remove(QString());
        std::size_t start = 0;
        for (int index = 0; start < input.size(); ++index) {
            std::size_t end = input.find('\n', start);
            if (end == std::string_view::npos) end = input.size();
            std::string_view line = input.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            writer->setValue(fw::SettingsWindowStateStorage::LineName(index),
                             QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
            start = end + 1;
        }
    }
    try {
        probe->manager->LoadSection(kSection,
                                    [](fw::ByteSpan stream) { probe->storage->ApplyStream(stream); });
    } catch (const fw::Exception&) {
    }
    return 0;
}
