#include "shell/registrykey.h"

#include <QSettings>

#include "base/errors.h"

namespace fw {

namespace {

struct KeyLocation {
    QSettings::Scope scope = QSettings::UserScope;
    QString organization;
    QString application;
    QString group;  // "a/b/c", empty for the file's top level
};

QString HiveGroup(TRootKey root) {
    switch (root) {
        case TRootKey::HKeyClassesRoot:
            return QStringLiteral("HKEY_CLASSES_ROOT");
        case TRootKey::HKeyUsers:
            return QStringLiteral("HKEY_USERS");
        case TRootKey::HKeyPerformanceData:
            return QStringLiteral("HKEY_PERFORMANCE_DATA");
        case TRootKey::HKeyCurrentConfig:
            return QStringLiteral("HKEY_CURRENT_CONFIG");
        case TRootKey::HKeyDynData:
            return QStringLiteral("HKEY_DYN_DATA");
        case TRootKey::HKeyCurrentUser:
        case TRootKey::HKeyLocalMachine:
            break;
    }
    return {};
}

KeyLocation Locate(TRootKey root, const QString& path) {
    QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    KeyLocation location;
    location.scope = root == TRootKey::HKeyLocalMachine ? QSettings::SystemScope : QSettings::UserScope;
    // "Software\Company\Application\..." names the file; a shorter or other path lives
    // in a file without an application name.
    if (!parts.isEmpty() && parts.front().compare(QStringLiteral("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (!parts.isEmpty()) location.organization = parts.takeFirst();
    if (!parts.isEmpty()) location.application = parts.takeFirst();
    const QString hive = HiveGroup(root);
    if (!hive.isEmpty()) parts.prepend(hive);
    location.group = parts.join(u'/');
    return location;
}

std::unique_ptr<QSettings> OpenSettings(const KeyLocation& location) {
    return std::make_unique<QSettings>(QSettings::IniFormat, location.scope, location.organization,
                                       location.application);
}

bool GroupExists(QSettings& settings, const QString& group) {
    if (group.isEmpty()) return !settings.allKeys().isEmpty();
    settings.beginGroup(group);
    const bool exists = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
    settings.endGroup();
    return exists;
}

}  // namespace

RegistryKey::RegistryKey(std::unique_ptr<QSettings> settings, QString group)
    : settings_(std::move(settings)), group_(std::move(group)) {
    if (!group_.isEmpty()) settings_->beginGroup(group_);
}

RegistryKey::~RegistryKey() = default;

std::unique_ptr<RegistryKey> RegistryKey::Open(TRootKey root, const QString& path, bool create) {
    const KeyLocation location = Locate(root, path);
    std::unique_ptr<QSettings> settings = OpenSettings(location);
    if (!create && !GroupExists(*settings, location.group)) return nullptr;
    return std::unique_ptr<RegistryKey>(new RegistryKey(std::move(settings), location.group));
}

bool RegistryKey::Exists(TRootKey root, const QString& path) {
    const KeyLocation location = Locate(root, path);
    std::unique_ptr<QSettings> settings = OpenSettings(location);
    return GroupExists(*settings, location.group);
}

QStringList RegistryKey::ValueNames() const {
    return settings_->childKeys();
}

bool RegistryKey::ValueExists(const QString& name) const {
    return settings_->contains(name);
}

QVariant RegistryKey::Value(const QString& name) const {
    return settings_->value(name);
}

QString RegistryKey::StringValue(const QString& name) const {
    const QVariant value = settings_->value(name);
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (value.metaType().id() == QMetaType::QByteArray) return QString::fromLatin1(value.toByteArray());
    return value.toString();
}

void RegistryKey::WriteString(const QString& name, const QString& value) {
    settings_->setValue(name, value);
}

void RegistryKey::DeleteValue(const QString& name) {
    // QSettings removes a key together with everything under the group of the same
    // name; a registry value and a sub-key of one name are independent, so the sub-key
    // is put back.
    QList<std::pair<QString, QVariant>> subKey;
    if (settings_->childGroups().contains(name)) {
        settings_->beginGroup(name);
        for (const QString& key : settings_->allKeys())
            subKey.append({key, settings_->value(key)});
        settings_->endGroup();
    }
    settings_->remove(name);
    for (const auto& [key, value] : subKey)
        settings_->setValue(name + u'/' + key, value);
}

void RegistryKey::Flush() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError) {
        throw Exception(
            QStringLiteral("Cannot write the settings file %1.").arg(settings_->fileName()).toStdString());
    }
}

void RegistryKey::Sync() {
    settings_->sync();
}

QString RegistryKey::FileName() const {
    return settings_->fileName();
}

}  // namespace fw
