#pragma once
// Small operations on the per-user settings file that the typed settings classes share.

#include <QString>
#include <QVariant>

class QSettings;

namespace fw {

// The settings file of the program's own settings: organisation and application.
QString SettingsOrganization();
QString SettingsApplication();

// Whether the current group holds values or sub-groups.
bool GroupHoldsAnything(QSettings& settings);
// A value as text: a list of strings (which a hand-edited line with commas turns into)
// is joined again, bytes are read as Latin-1.
QString SettingsText(const QVariant& value);
// Removes a value of the current group. QSettings would take a sub-group of the same
// name with it; that is put back.
void RemoveSettingsValue(QSettings& settings, const QString& name);

}  // namespace fw
