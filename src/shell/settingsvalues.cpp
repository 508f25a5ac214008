#include "shell/settingsvalues.h"

#include <QList>
#include <QSettings>
#include <QStringList>
#include <utility>

namespace fw {

QString SettingsOrganization() {
    return QStringLiteral("Zentrix");
}

QString SettingsApplication() {
    return QStringLiteral("Formwright");
}

bool GroupHoldsAnything(QSettings& settings) {
    return !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
}

QString SettingsText(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (value.metaType().id() == QMetaType::QByteArray) return QString::fromLatin1(value.toByteArray());
    return value.toString();
}

void RemoveSettingsValue(QSettings& settings, const QString& name) {
    QList<std::pair<QString, QVariant>> subGroup;
    if (settings.childGroups().contains(name)) {
        settings.beginGroup(name);
        for (const QString& key : settings.allKeys())
            subGroup.append({key, settings.value(key)});
        settings.endGroup();
    }
    settings.remove(name);
    for (const auto& [key, value] : subGroup)
        settings.setValue(name + u'/' + key, value);
}

}  // namespace fw
