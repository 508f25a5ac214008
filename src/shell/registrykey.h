#pragma once
// RegistryKey: the per-user key-value store the program keeps its settings in. A key
// path in registry form ("Software\Company\Application\rest\of\path") names a QSettings
// INI file in the user's config folder (organisation Company, application Application)
// and, inside it, the group "rest/of/path". Value names are kept as they are given.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSettings;

namespace fw {

// The registry hives a key may live under. HKeyCurrentUser is the user's config folder,
// HKeyLocalMachine the system-wide one; the others are kept apart in the user's folder
// under a group named after the hive.
enum class TRootKey {
    HKeyClassesRoot,
    HKeyCurrentUser,
    HKeyLocalMachine,
    HKeyUsers,
    HKeyPerformanceData,
    HKeyCurrentConfig,
    HKeyDynData,
};

class RegistryKey {
public:
    // Opens the key at the path under the hive. A key exists while it holds a value or
    // a sub-key; without create, a key that does not exist is not opened (null).
    // Leading and trailing backslashes of the path are ignored.
    static std::unique_ptr<RegistryKey> Open(TRootKey root, const QString& path, bool create);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Whether the key at the path exists, without opening it.
    static bool Exists(TRootKey root, const QString& path);

    // The names of the key's values (not of its sub-keys), in the store's order.
    QStringList ValueNames() const;
    bool ValueExists(const QString& name) const;
    // A value as stored: a string, or bytes for binary data; invalid when missing.
    QVariant Value(const QString& name) const;
    // A value as text: a list of strings (which a hand-edited INI line with commas turns
    // into) is joined again.
    QString StringValue(const QString& name) const;
    void WriteString(const QString& name, const QString& value);
    // Deletes the value; a sub-key of the same name stays.
    void DeleteValue(const QString& name);
    // Writes pending changes to disk now; throws Exception when the file cannot be
    // written.
    void Flush();
    // As Flush, ignoring failure.
    void Sync();
    // The settings file that holds the key.
    QString FileName() const;
    // The underlying settings object, positioned in the key's group.
    QSettings& Settings() { return *settings_; }

private:
    RegistryKey(std::unique_ptr<QSettings> settings, QString group);

    std::unique_ptr<QSettings> settings_;
    QString group_;
};

}  // namespace fw
