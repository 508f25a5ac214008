#include "shell/recentfiles.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

namespace fw {

namespace {

constexpr QChar kDataSeparator = QChar(0x08);

// A menu caption shows "&" as a mnemonic marker; a file name shows it as it is.
QString MenuText(const QString& text) {
    QString escaped = text;
    return escaped.replace(u'&', QStringLiteral("&&"));
}

int NumberOrZero(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

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

// The registry access object: the hive, the write mode and the key open now.
struct RecentFiles::Registry {
    TRootKey root = TRootKey::HKeyCurrentUser;
    bool lazyWrite = true;
    QString path;
    std::unique_ptr<RegistryKey> key;
};

RecentFiles::RecentFiles(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("MRUMan"));
    if (owner != nullptr) ownerName_ = owner->objectName();
}

RecentFiles::~RecentFiles() {
    if (serializeList_) SaveToRegistry();
    registry_.reset();
    // The menu items are children of the component and go with it.
}

void RecentFiles::SetMaxItems(int maxItems) {
    maxItems_ = maxItems;
    if (maxItems_ < 0) return;
    while (entries_.size() > maxItems_)
        RemoveEntry(entries_.back().MenuItem);
}

void RecentFiles::SetLazyWrite(bool lazyWrite) {
    lazyWrite_ = lazyWrite;
    if (registry_) registry_->lazyWrite = lazyWrite;
}

void RecentFiles::SetRootKey(TRootKey root) {
    rootKey_ = root;
    if (registry_) registry_->root = root;
}

void RecentFiles::SetActiveRegistry(bool active) {
    if (active == ActiveRegistry()) return;
    if (active) {
        registry_ = std::make_unique<Registry>();
        registry_->root = rootKey_;
        registry_->lazyWrite = lazyWrite_;
    } else {
        CloseKey();
        registry_.reset();
    }
}

QString RecentFiles::CurrentPath() const {
    return registry_ && registry_->key ? registry_->path : QString();
}

RegistryKey* RecentFiles::CurrentKey() const {
    return registry_ ? registry_->key.get() : nullptr;
}

QString RecentFiles::KeyPath() const {
    return QStringLiteral("\\Software\\") + companyName_ + u'\\' + applicationName_ + u'\\' +
           applicationVersion_ + u'\\' + ownerName_ + u'\\' + section_;
}

bool RecentFiles::AcquireRegistry() {
    if (registry_) return false;
    SetActiveRegistry(true);
    return true;
}

void RecentFiles::ReleaseRegistry(bool acquired) {
    if (acquired) SetActiveRegistry(false);
}

RegistryKey* RecentFiles::OpenKey(const QString& path, bool create) {
    CloseKey();
    registry_->key = RegistryKey::Open(registry_->root, path, create);
    if (registry_->key) registry_->path = path;
    return registry_->key.get();
}

void RecentFiles::CloseKey() {
    if (!registry_ || !registry_->key) return;
    if (!registry_->lazyWrite) registry_->key->Sync();
    registry_->key.reset();
    registry_->path.clear();
}

void RecentFiles::ClearKey() {
    RegistryKey* key = OpenKey(KeyPath(), false);
    if (key == nullptr) return;
    for (const QString& name : key->ValueNames()) {
        if (name.toUpper() != QLatin1String("DEFAULT")) key->DeleteValue(name);
    }
    CloseKey();
}

void RecentFiles::Loaded() {
    if (serializeList_) LoadFromRegistry();
}

void RecentFiles::LoadFromRegistry() {
    const bool acquired = AcquireRegistry();
    if (RegistryKey* key = OpenKey(KeyPath(), false)) {
        const QStringList names = EnumerationOrder(key->ValueNames());
        int storedCount = 0;
        bool countSeen = false;
        bool maxSeen = false;
        for (const QString& name : names) {
            const QString upper = name.toUpper();
            if (upper == QLatin1String("COUNT")) {
                storedCount = NumberOrZero(key->StringValue(name));
                countSeen = true;
            } else if (upper == QLatin1String("MAXFILES")) {
                SetMaxItems(NumberOrZero(key->StringValue(name)));
                maxSeen = true;
            }
            if (countSeen && maxSeen) break;
        }
        if (storedCount > 0) {
            for (int i = 0; i < names.size(); ++i) {
                const QString upper = names[i].toUpper();
                if (upper == QLatin1String("COUNT") || upper == QLatin1String("DEFAULT") ||
                    upper == QLatin1String("MAXFILES")) {
                    continue;
                }
                QString text = key->StringValue(names[i]);
                qint32 number = 0;
                if (const qsizetype bar = text.lastIndexOf(u'|'); bar >= 0) {
                    number = NumberOrZero(text.mid(bar + 1));
                    text.truncate(bar);
                }
                const qsizetype mark = text.indexOf(kDataSeparator);
                const QString fileName = mark >= 0 ? text.left(mark) : text;
                const QString data = mark >= 0 ? text.mid(mark + 1) : QString();
                if (!FindEntry(fileName)) AddEntry(fileName, data, number, false, i, true, false);
            }
        }
        CloseKey();
    }
    ReleaseRegistry(acquired);
    Renumber();
}

void RecentFiles::SaveToRegistry() {
    const bool acquired = AcquireRegistry();
    ClearKey();
    // A key that cannot be written is skipped; its values were cleared already.
    if (RegistryKey* key = OpenKey(KeyPath(), true)) {
        key->WriteString(QStringLiteral("Count"), QString::number(entries_.size()));
        key->WriteString(QStringLiteral("MaxFiles"), QString::number(maxItems_));
        for (int i = 0; i < entries_.size(); ++i) {
            const TMenuEntry& entry = entries_[i];
            QString value = entry.FileName + kDataSeparator + entry.Data;
            if (entry.Number != 0) value += u'|' + QString::number(entry.Number);
            key->WriteString(QStringLiteral("H%1").arg(i), value);
        }
        CloseKey();
    }
    ReleaseRegistry(acquired);
}

QAction* RecentFiles::AddItem(const QString& fileName, const QString& data, qint32 number, int tag, bool enabled,
                          bool checked) {
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
