#pragma once
// RecentFiles: the recently used files. It keeps an ordered list of file names (position 0
// the most recent), shows them as numbered items at the end of a menu, reports clicks
// on them, and stores the list in the per-user settings file of <CompanyName> and
// <ApplicationName>, group <ApplicationVersion>/<OwnerName>/<Section>, as
// RecentFileSettings lays it out.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "shell/recentfilesettings.h"

class QAction;
class QMenu;

namespace fw {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    // Raised when an entry's menu item is clicked; set canDelete to have the entry
    // removed instead of moved to the top.
    using TNotifyItemClick =
        std::function<void(RecentFiles* sender, QAction* menuItem, const QString& fileName,
                           const QString& data, bool& canDelete)>;

    struct TMenuEntry {
        QString FileName;
        QString Data;
        qint32 Number = 0;
        QAction* MenuItem = nullptr;
    };

    // OwnerName starts as the owner's object name.
    explicit RecentFiles(QObject* owner = nullptr);
    ~RecentFiles() override;

    // The largest number of entries; negative for no limit. Setting a smaller limit
    // removes entries from the end.
    int MaxItems() const { return maxItems_; }
    void SetMaxItems(int maxItems);
    QString ApplicationName() const { return applicationName_; }
    void SetApplicationName(const QString& name) { applicationName_ = name; }
    QString CompanyName() const { return companyName_; }
    void SetCompanyName(const QString& name) { companyName_ = name; }
    QString OwnerName() const { return ownerName_; }
    void SetOwnerName(const QString& name) { ownerName_ = name; }
    QString Section() const { return section_; }
    void SetSection(const QString& section) { section_ = section; }
    QString ApplicationVersion() const { return applicationVersion_; }
    void SetApplicationVersion(const QString& version) { applicationVersion_ = version; }
    // With SerializeList the list loads itself in Loaded() and saves itself when the
    // component is destroyed.
    bool SerializeList() const { return serializeList_; }
    void SetSerializeList(bool serialize) { serializeList_ = serialize; }
    // A separator in front of the first entry.
    bool Separator() const { return separator_; }
    void SetSeparator(bool separator) { separator_ = separator; }
    // Numbered captions: "&1 name" to "&8 name", then "9 name", "10 name", ...
    bool NumberItems() const { return numberItems_; }
    void SetNumberItems(bool number) { numberItems_ = number; }
    // The menu the entries are appended to.
    QMenu* MenuItem() const { return menuItem_; }
    void SetMenuItem(QMenu* menu) { menuItem_ = menu; }
    void SetOnItemClick(TNotifyItemClick handler) { onItemClick_ = std::move(handler); }

    // Where the list is stored.
    RecentFileSettings Settings() const;
    const QList<TMenuEntry>& Entries() const { return entries_; }
    // The separator's menu item, or null while there is none.
    QAction* SeparatorItem() const { return separatorItem_; }

    // The component has been set up: with SerializeList the list loads.
    void Loaded();
    // Reads the list (appending entries not yet listed) and numbers the captions. A
    // missing group loads nothing; a "Count" of 0 or less loads no entries.
    void LoadFromSettings();
    // Replaces the group's values (all but one named DEFAULT) with the list.
    void SaveToSettings();
    // Adds a file at the top, or moves its entry there when one has the same name in
    // any letter case (an entry of exactly that name then takes the number and data and
    // its item is returned). Does nothing and returns null while OnItemClick runs.
    QAction* AddItem(const QString& fileName, const QString& data, qint32 number, int tag, bool enabled,
                     bool checked);
    // Appends an entry and its menu item, unless the list is full.
    QAction* AddEntry(const QString& fileName, const QString& data, qint32 number, bool moveToTop, int tag,
                      bool enabled, bool checked);
    // Finds the first entry of the name in any letter case and moves it to the top.
    bool FindEntry(const QString& fileName);
    // The entry of the menu item moves to position 0 with its contents; the menu items
    // stay where they are and take the contents of their new positions.
    void MoveToTop(QAction* menuItem);
    void RemoveEntry(QAction* menuItem);
    void Renumber();
    // What a click on an entry's menu item does.
    void ItemClick(QAction* menuItem);

private:
    int IndexOf(const QAction* menuItem) const;
    QString Caption(int index) const;

    int maxItems_ = -1;
    QString applicationName_;
    QString companyName_;
    QString ownerName_;
    QString section_ = QStringLiteral("MRUHistory");
    QString applicationVersion_;
    bool serializeList_ = false;
    bool separator_ = true;
    bool numberItems_ = true;
    QPointer<QMenu> menuItem_;
    TNotifyItemClick onItemClick_;

    QList<TMenuEntry> entries_;
    QAction* separatorItem_ = nullptr;
    bool addingAllowed_ = true;
};

}  // namespace fw
