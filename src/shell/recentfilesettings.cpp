#include "shell/recentfilesettings.h"

#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "shell/settingsvalues.h"

namespace fw {

namespace {

constexpr QChar kDataSeparator = QChar(0x08);

// The order the value names were written in. The settings file lists them sorted by
// name, which would put H10 before H2, so names that differ only in their trailing
// number are ordered by that number.
QStringList EnumerationOrder(QStringList names) {
    const auto split = [](const QString& name) {
        qsizetype digits = name.size();
        while (digits > 0 && name[digits - 1].isDigit())
            --digits;
        const QString number = name.mid(digits);
        return std::pair{name.left(digits).toUpper(), number.isEmpty() ? -1LL : number.toLongLong()};
    };
    std::stable_sort(names.begin(), names.end(),
                     [&split](const QString& a, const QString& b) { return split(a) < split(b); });
    return names;
}

}  // namespace

RecentFileSettings::RecentFileSettings(QString organization, QString application,
                                       const QStringList& groupParts)
    : organization_(std::move(organization)), application_(std::move(application)) {
    QStringList parts;
    for (const QString& part : groupParts) {
        if (!part.isEmpty()) parts << part;
    }
    group_ = parts.join(u'/');
}

std::optional<QList<RecentFileSettings::Value>> RecentFileSettings::Read() const {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, organization_, application_);
    settings.beginGroup(group_);
    if (!GroupHoldsAnything(settings)) return std::nullopt;
    QList<Value> values;
    for (const QString& name : EnumerationOrder(settings.childKeys()))
        values.append({name, SettingsText(settings.value(name))});
    return values;
}

void RecentFileSettings::Write(const QList<Entry>& entries, int maxFiles) const {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, organization_, application_);
    settings.beginGroup(group_);
    for (const QString& name : settings.childKeys()) {
        if (name.toUpper() != QLatin1String("DEFAULT")) RemoveSettingsValue(settings, name);
    }
    settings.setValue(QStringLiteral("Count"), QString::number(entries.size()));
    settings.setValue(QStringLiteral("MaxFiles"), QString::number(maxFiles));
    for (int i = 0; i < entries.size(); ++i)
        settings.setValue(QStringLiteral("H%1").arg(i), EntryText(entries[i]));
}

int RecentFileSettings::StoredNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString RecentFileSettings::EntryText(const Entry& entry) {
    QString text = entry.FileName + kDataSeparator + entry.Data;
    if (entry.Number != 0) text += u'|' + QString::number(entry.Number);
    return text;
}

RecentFileSettings::Entry RecentFileSettings::ParseEntry(QString text) {
    Entry entry;
    if (const qsizetype bar = text.lastIndexOf(u'|'); bar >= 0) {
        entry.Number = StoredNumber(text.mid(bar + 1));
        text.truncate(bar);
    }
    const qsizetype mark = text.indexOf(kDataSeparator);
    entry.FileName = mark >= 0 ? text.left(mark) : text;
    entry.Data = mark >= 0 ? text.mid(mark + 1) : QString();
    return entry;
}

}  // namespace fw
