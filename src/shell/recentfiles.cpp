#include "shell/recentfiles.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

namespace fw {

namespace {

// A menu caption shows "&" as a mnemonic marker; a file name shows it as it is.
QString MenuText(const QString& text) {
    QString escaped = text;
    return escaped.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

RecentFiles::RecentFiles(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("MRUMan"));
    if (owner != nullptr) ownerName_ = owner->objectName();
}

RecentFiles::~RecentFiles() {
    if (serializeList_) SaveToSettings();
    // The menu items are children of the component and go with it.
}

void RecentFiles::SetMaxItems(int maxItems) {
    maxItems_ = maxItems;
    if (maxItems_ < 0) return;
    while (entries_.size() > maxItems_)
        RemoveEntry(entries_.back().MenuItem);
}

RecentFileSettings RecentFiles::Settings() const {
    return RecentFileSettings(companyName_, applicationName_, {applicationVersion_, ownerName_, section_});
}

void RecentFiles::Loaded() {
    if (serializeList_) LoadFromSettings();
}

void RecentFiles::LoadFromSettings() {
    if (const std::optional<QList<RecentFileSettings::Value>> values = Settings().Read()) {
        int storedCount = 0;
        bool countSeen = false;
        bool maxSeen = false;
        for (const RecentFileSettings::Value& value : *values) {
            const QString upper = value.Name.toUpper();
            if (upper == QLatin1String("COUNT")) {
                storedCount = RecentFileSettings::StoredNumber(value.Text);
                countSeen = true;
            } else if (upper == QLatin1String("MAXFILES")) {
                SetMaxItems(RecentFileSettings::StoredNumber(value.Text));
                maxSeen = true;
            }
            if (countSeen && maxSeen) break;
        }
        if (storedCount > 0) {
            for (int i = 0; i < values->size(); ++i) {
                const QString upper = (*values)[i].Name.toUpper();
                if (upper == QLatin1String("COUNT") || upper == QLatin1String("DEFAULT") ||
                    upper == QLatin1String("MAXFILES")) {
                    continue;
                }
                const RecentFileSettings::Entry entry = RecentFileSettings::ParseEntry((*values)[i].Text);
                if (!FindEntry(entry.FileName))
                    AddEntry(entry.FileName, entry.Data, entry.Number, false, i, true, false);
            }
        }
    }
    Renumber();
}

void RecentFiles::SaveToSettings() {
    QList<RecentFileSettings::Entry> stored;
    for (const TMenuEntry& entry : entries_)
        stored.append({entry.FileName, entry.Data, entry.Number});
    Settings().Write(stored, maxItems_);
}

QAction* RecentFiles::AddItem(const QString& fileName, const QString& data, qint32 number, int tag,
                              bool enabled, bool checked) {
    if (!addingAllowed_) return nullptr;
    if (FindEntry(fileName)) {
        // The entry is at the top now. One of another letter case keeps its own name.
        for (TMenuEntry& entry : entries_) {
            if (entry.FileName == fileName) {
                entry.Number = number;
                entry.Data = data;
                return entry.MenuItem;
            }
        }
        return nullptr;
    }
    if (maxItems_ >= 0 && entries_.size() >= maxItems_) {
        while (entries_.size() > std::max(maxItems_ - 1, 0))
            RemoveEntry(entries_.back().MenuItem);
    }
    return AddEntry(fileName, data, number, true, tag, enabled, checked);
}

QAction* RecentFiles::AddEntry(const QString& fileName, const QString& data, qint32 number, bool moveToTop,
                               int tag, bool enabled, bool checked) {
    if (maxItems_ >= 0 && entries_.size() >= maxItems_) return nullptr;
    if (separator_ && separatorItem_ == nullptr) {
        separatorItem_ = new QAction(this);
        separatorItem_->setSeparator(true);
        if (menuItem_) menuItem_->addAction(separatorItem_);
    }
    // The whole name is kept. Names used to be cut to 255 characters, but paths here
    // may be longer, and a cut path cannot be opened again from the menu.
    TMenuEntry entry{fileName, data, number, new QAction(MenuText(fileName), this)};
    QAction* item = entry.MenuItem;
    item->setCheckable(checked);
    item->setChecked(checked);
    item->setEnabled(enabled);
    item->setData(tag);
    connect(item, &QAction::triggered, this, [this, item] { ItemClick(item); });
    entries_.append(entry);
    if (menuItem_) menuItem_->addAction(item);
    if (moveToTop) MoveToTop(item);
    return item;
}

bool RecentFiles::FindEntry(const QString& fileName) {
    const QString wanted = fileName.toUpper();
    for (const TMenuEntry& entry : entries_) {
        if (entry.FileName.toUpper() == wanted) {
            MoveToTop(entry.MenuItem);
            return true;
        }
    }
    return false;
}

int RecentFiles::IndexOf(const QAction* menuItem) const {
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_[i].MenuItem == menuItem) return i;
    }
    return -1;
}

void RecentFiles::MoveToTop(QAction* menuItem) {
    const int index = IndexOf(menuItem);
    if (index < 0) return;
    struct Contents {
        QString fileName;
        QString data;
        qint32 number;
        bool checked;
        bool enabled;
        QVariant tag;
    };
    QList<Contents> contents;
    for (const TMenuEntry& entry : entries_) {
        contents.append({entry.FileName, entry.Data, entry.Number, entry.MenuItem->isChecked(),
                         entry.MenuItem->isEnabled(), entry.MenuItem->data()});
    }
    contents.move(index, 0);
    for (int i = 0; i < entries_.size(); ++i) {
        TMenuEntry& entry = entries_[i];
        const Contents& c = contents[i];
        entry.FileName = c.fileName;
        entry.Data = c.data;
        entry.Number = c.number;
        entry.MenuItem->setCheckable(c.checked);
        entry.MenuItem->setChecked(c.checked);
        entry.MenuItem->setEnabled(c.enabled);
        entry.MenuItem->setData(c.tag);
        entry.MenuItem->setText(MenuText(c.fileName));
    }
    Renumber();
}

void RecentFiles::RemoveEntry(QAction* menuItem) {
    const int index = IndexOf(menuItem);
    if (index < 0) return;
    entries_.removeAt(index);
    if (menuItem_) menuItem_->removeAction(menuItem);
    // The item may be the one whose click is being handled.
    menuItem->deleteLater();
    Renumber();
    if (entries_.isEmpty() && separatorItem_ != nullptr) {
        if (menuItem_) menuItem_->removeAction(separatorItem_);
        separatorItem_->deleteLater();
        separatorItem_ = nullptr;
    }
}

QString RecentFiles::Caption(int index) const {
    const QString name = MenuText(entries_[index].FileName);
    // Only the first eight get the digit keys 1 to 8 as accelerators.
    if (index < 8) return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
    return QStringLiteral("%1 %2").arg(index + 1).arg(name);
}

void RecentFiles::Renumber() {
    if (!numberItems_) return;
    for (int i = 0; i < entries_.size(); ++i)
        entries_[i].MenuItem->setText(Caption(i));
}

void RecentFiles::ItemClick(QAction* menuItem) {
    const int index = IndexOf(menuItem);
    if (index < 0) return;
    bool canDelete = false;
    if (onItemClick_) {
        // Opening the file from its entry must not add it again: the entry moves to
        // the top once the handler is done.
        struct BlockAdding {
            bool& allowed;
            explicit BlockAdding(bool& flag) : allowed(flag) { allowed = false; }
            ~BlockAdding() { allowed = true; }
        } block(addingAllowed_);
        const TMenuEntry entry = entries_[index];
        onItemClick_(this, menuItem, entry.FileName, entry.Data, canDelete);
    }
    if (canDelete)
        RemoveEntry(menuItem);
    else
        MoveToTop(menuItem);
}

}  // namespace fw
