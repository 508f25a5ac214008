#include "shell/session.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>
#include <string_view>
#include <utility>

#include "packages/designpackages.h"
#include "preview/previewcontext.h"
#include "shell/settingsvalues.h"
#include "shell/singleinstance.h"
#include "shell/windowstatestore.h"

namespace fw {

Session::Session(const QString& packageListFile)
    : preview_(std::make_unique<preview::PreviewContext>()),
      packages_(std::make_unique<pkg::DesignPackages>(preview_->Registry(), packageListFile.toStdString())),
      windowStates_(std::make_unique<SettingsWindowStateStorage>()) {}

// The instances go first: their messages reach windows, the packages' classes last.
Session::~Session() {
    instances_.reset();
    packages_.reset();
}

QString Session::UserPackageListFile() {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsOrganization(),
                             SettingsApplication());
    const std::string_view name = pkg::PackageListFileName;
    return QFileInfo(settings.fileName())
        .absoluteDir()
        .filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void Session::LoadPackages() {
    packages_->ReadPackageList();
    packages_->LoadAllPackages();
}

void Session::SetInstances(std::unique_ptr<SingleInstance> instances) {
    instances_ = std::move(instances);
}

}  // namespace fw
