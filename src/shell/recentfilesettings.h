#pragma once
// RecentFileSettings: where the recent-file list lives in the per-user settings: the
// INI file of the organisation and application, group "<version>/<owner>/<section>".
// The values are "Count", "MaxFiles" and one text per entry, H0 the most recent,
// holding the file name, the character 08 and the entry's data, then "|" and its
// number when that is not 0.

#include <QList>
#include <QString>
#include <optional>

namespace fw {

class RecentFileSettings {
public:
    struct Value {
        QString Name;
        QString Text;
    };
    struct Entry {
        QString FileName;
        QString Data;
        qint32 Number = 0;
    };

    // Empty parts of the group are left out.
    RecentFileSettings(QString organization, QString application, const QStringList& groupParts);

    QString Group() const { return group_; }
    // The group's values in the order they were written (the file sorts them by name,
    // so names that differ in their trailing number are put back in number order),
    // as text; nothing when the group holds neither values nor sub-groups.
    std::optional<QList<Value>> Read() const;
    // Replaces the group's values, all but one named DEFAULT in any letter case, with
    // the list; sub-groups stay.
    void Write(const QList<Entry>& entries, int maxFiles) const;

    // A stored number, 0 when the text is none.
    static int StoredNumber(const QString& text);
    // An entry's stored text, and back.
    static QString EntryText(const Entry& entry);
    static Entry ParseEntry(QString text);

private:
    QString organization_;
    QString application_;
    QString group_;
};

}  // namespace fw
