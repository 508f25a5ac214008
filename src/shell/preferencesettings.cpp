#include "shell/preferencesettings.h"

#include <array>
#include <utility>

#include "base/errors.h"

namespace fw {

namespace {

constexpr std::array<std::pair<const char*, bool InterfaceOptions::*>, 4> OptionNames{{
    {"ShowTypeCol", &InterfaceOptions::ShowTypeCol},
    {"ShowCNCol", &InterfaceOptions::ShowCNCol},
    {"SmallFont", &InterfaceOptions::SmallFont},
    {"ShowHTree", &InterfaceOptions::ShowHTree},
}};

bool Named(const QString& name, const char* expected) {
    return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

void Expect(const StoredValue& value, StoredValue::Kind kind) {
    if (value.kind != kind) throw EReadError("Invalid property value");
}

}  // namespace

StoredValues PreferenceValues(const Preferences& preferences) {
    StoredValues values;
    for (const auto& [name, field] : OptionNames)
        values.emplace_back(QString::fromLatin1(name), StoredValue::Bool(preferences.Options.*field));
    values.emplace_back(QStringLiteral("CodePage"), StoredValue::Int(preferences.CodePage));
    if (!preferences.SearchFolders.isEmpty())
        values.emplace_back(QStringLiteral("FormSearchPaths"),
                            StoredValue::Str(preferences.SearchFolders.join(u'\n')));
    return values;
}

bool ReadPreferenceValue(Preferences& preferences, const QString& name, const StoredValue& value) {
    for (const auto& [optionName, field] : OptionNames) {
        if (!Named(name, optionName)) continue;
        Expect(value, StoredValue::Kind::Boolean);
        preferences.Options.*field = value.boolean;
        return true;
    }
    if (Named(name, "CodePage")) {
        Expect(value, StoredValue::Kind::Integer);
        if (value.integer >= 0 && value.integer <= 65535)
            preferences.CodePage = static_cast<int>(value.integer);
        return true;
    }
    if (Named(name, "FormSearchPaths")) {
        Expect(value, StoredValue::Kind::String);
        preferences.SearchFolders = value.text.split(u'\n', Qt::SkipEmptyParts);
        return true;
    }
    return false;
}

}  // namespace fw
