// The preferences as stored values: what a save writes, and what a load takes back.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "shell/preferencesettings.h"

namespace {

using fw::StoredValue;

TEST(PreferenceSettings, SavedValuesReadBackToTheSamePreferences) {
    fw::Preferences saved;
    saved.Options.ShowCNCol = true;
    saved.Options.SmallFont = true;
    saved.CodePage = 1251;
    saved.SearchFolders = {QStringLiteral("/p/forms"), QStringLiteral("/p/frames")};
    const fw::StoredValues values = fw::PreferenceValues(saved);
    QStringList names;
    for (const auto& [name, value] : values)
        names << name;
    EXPECT_EQ(names, (QStringList{"ShowTypeCol", "ShowCNCol", "SmallFont", "ShowHTree", "CodePage",
                                  "FormSearchPaths"}));
    EXPECT_EQ(values.back().second.text, QStringLiteral("/p/forms\n/p/frames"));

    fw::Preferences read;
    for (const auto& [name, value] : values)
        EXPECT_TRUE(fw::ReadPreferenceValue(read, name, value)) << name.toStdString();
    EXPECT_EQ(read.Options.ShowTypeCol, saved.Options.ShowTypeCol);
    EXPECT_EQ(read.Options.ShowCNCol, saved.Options.ShowCNCol);
    EXPECT_EQ(read.Options.SmallFont, saved.Options.SmallFont);
    EXPECT_EQ(read.Options.ShowHTree, saved.Options.ShowHTree);
    EXPECT_EQ(read.CodePage, 1251);
    EXPECT_EQ(read.SearchFolders, saved.SearchFolders);

    // Without folders nothing is written for them.
    EXPECT_EQ(fw::PreferenceValues(fw::Preferences{}).size(), 5u);
}

TEST(PreferenceSettings, NamesIgnoreCaseAndOddValuesAreRefusedOrIgnored) {
    fw::Preferences p;
    EXPECT_TRUE(fw::ReadPreferenceValue(p, QStringLiteral("showhtree"), StoredValue::Bool(true)));
    EXPECT_TRUE(p.Options.ShowHTree);
    EXPECT_FALSE(fw::ReadPreferenceValue(p, QStringLiteral("Left"), StoredValue::Int(4)));
    // A code page number out of range changes nothing, but is the preference's.
    EXPECT_TRUE(fw::ReadPreferenceValue(p, QStringLiteral("CodePage"), StoredValue::Int(70000)));
    EXPECT_EQ(p.CodePage, 1252);
    EXPECT_THROW(fw::ReadPreferenceValue(p, QStringLiteral("SmallFont"), StoredValue::Int(1)),
                 fw::EReadError);
    EXPECT_THROW(
        fw::ReadPreferenceValue(p, QStringLiteral("CodePage"), StoredValue::Str(QStringLiteral("1250"))),
        fw::EReadError);
    EXPECT_THROW(fw::ReadPreferenceValue(p, QStringLiteral("FormSearchPaths"), StoredValue::Bool(true)),
                 fw::EReadError);
}

}  // namespace
