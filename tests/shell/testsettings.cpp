#include "testsettings.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace fw::test {

namespace {

std::unique_ptr<QTemporaryDir>& Folder() {
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

void UseFreshFolder() {
    Folder() = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Folder()->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope,
                       Folder()->filePath(QStringLiteral("system")));
}

class FreshSettingsFolder : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override { UseFreshFolder(); }
};

// Registered before the tests run; the folder of the process start covers code that
// runs outside a test.
[[maybe_unused]] const bool registered = [] {
    UseFreshFolder();
    testing::UnitTest::GetInstance()->listeners().Append(new FreshSettingsFolder);
    return true;
}();

}  // namespace

QString SettingsFolder() {
    return Folder()->path();
}

}  // namespace fw::test
