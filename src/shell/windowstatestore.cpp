#include "shell/windowstatestore.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QEvent>
#include <QGuiApplication>
#include <QIODevice>
#include <QMetaObject>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/formreader.h"
#include "codec/formwriter.h"
#include "document/usermessages.h"
#include "shell/settingsvalues.h"

namespace fw {

namespace {

// ---- the settings form ----

// One object of a settings form: the window or one of its components.
struct FormObject {
    QString className;
    QString name;
    StoredValues properties;
    std::vector<FormObject> children;
};

// Settings forms are small and flat; anything nested deeper is damaged.
constexpr int kMaxObjectDepth = 64;

std::string Latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

void PutValue(FormWriter& writer, const StoredValue& value) {
    switch (value.kind) {
        case StoredValue::Kind::Integer:
            if (value.integer >= std::numeric_limits<std::int32_t>::min() &&
                value.integer <= std::numeric_limits<std::int32_t>::max()) {
                writer.PutInt32(static_cast<std::int32_t>(value.integer));
            } else {
                writer.PutInt64(value.integer);
            }
            break;
        case StoredValue::Kind::Boolean:
            writer.PutBoolean(value.boolean);
            break;
        case StoredValue::Kind::Identifier:
            writer.PutIdentifier(Latin1(value.text));
            break;
        case StoredValue::Kind::String:
            writer.PutString(value.text.toStdU16String());
            break;
        case StoredValue::Kind::Other:
            writer.PutTag(TagNil);
            break;
    }
}

void PutObject(FormWriter& writer, const FormObject& object) {
    writer.PutName(Latin1(object.className));
    writer.PutName(Latin1(object.name));
    for (const auto& [name, value] : object.properties) {
        writer.PutName(Latin1(name));
        PutValue(writer, value);
    }
    writer.PutTag(TagNull);
    for (const FormObject& child : object.children)
        PutObject(writer, child);
    writer.PutTag(TagNull);
}

StoredValue TakeValue(FormReader& reader) {
    switch (reader.PeekTag()) {
        case TagInt8:
        case TagInt16:
        case TagInt32:
        case TagInt64:
            return StoredValue::Int(reader.TakeInt64());
        case TagTrue:
        case TagFalse:
            return StoredValue::Bool(reader.TakeTag() == TagTrue);
        case TagIdent:
            return StoredValue::Ident(QString::fromLatin1(reader.TakeIdentifier()));
        case TagShortString:
        case TagLongString:
        case TagWideString:
        case TagUtf8String:
            return StoredValue::Str(QString::fromStdU16String(reader.TakeStringW()));
        default:
            reader.SkipOneValue();
            return {};
    }
}

FormObject TakeObject(FormReader& reader, int depth) {
    if (depth > kMaxObjectDepth) throw EReadError("Invalid stream format");
    FormObject object;
    reader.TakePrefix();
    object.className = QString::fromLatin1(reader.TakeName());
    object.name = QString::fromLatin1(reader.TakeName());
    while (!reader.AtListEnd()) {
        QString name = QString::fromLatin1(reader.TakeName());
        object.properties.emplace_back(std::move(name), TakeValue(reader));
    }
    reader.TakeTag();
    while (!reader.AtListEnd())
        object.children.push_back(TakeObject(reader, depth + 1));
    reader.TakeTag();
    return object;
}

// ---- property entries ----

// "A.B.<P>.Height" is the component path A, B and the property Height; "<P>.Height"
// is the window's own.
struct PropertyEntry {
    QStringList path;
    QString property;
};

PropertyEntry SplitEntry(const QString& entry) {
    QStringList parts = entry.split(u'.');
    PropertyEntry result;
    result.property = parts.takeLast();
    for (const QString& part : parts) {
        if (part != QLatin1String("<P>")) result.path << part;
    }
    return result;
}

bool Is(const QString& name, const char* wanted) {
    return name.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

[[noreturn]] void InvalidValue() {
    throw EReadError("Invalid property value");
}

// ---- window state ----

const char* StateIdentifier(Qt::WindowStates state) {
    if (state & Qt::WindowMinimized) return "wsMinimized";
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) return "wsMaximized";
    return "wsNormal";
}

Qt::WindowState ParseState(const StoredValue& value) {
    if (value.kind != StoredValue::Kind::Identifier) InvalidValue();
    if (Is(value.text, "wsNormal")) return Qt::WindowNoState;
    if (Is(value.text, "wsMinimized")) return Qt::WindowMinimized;
    if (Is(value.text, "wsMaximized")) return Qt::WindowMaximized;
    InvalidValue();
}

// ---- panel sizes ----

// The sizes a splitter keeps for its widgets: the laid-out size of a shown one, and for
// a hidden one the size it is given when shown again (which the splitter reports only
// in its saved state).
QList<int> SplitterSizes(const QSplitter* splitter) {
    QList<int> sizes = splitter->sizes();
    QByteArray state = splitter->saveState();
    QDataStream stream(&state, QIODevice::ReadOnly);
    stream.setVersion(QDataStream::Qt_5_0);
    qint32 marker = 0;
    qint32 version = 0;
    QList<int> kept;
    stream >> marker >> version >> kept;
    if (stream.status() != QDataStream::Ok || kept.size() != sizes.size()) return sizes;
    for (int i = 0; i < sizes.size(); ++i) {
        if (splitter->widget(i)->isHidden()) sizes[i] = kept[i];
    }
    return sizes;
}

QSplitter* SplitterAlong(const QWidget* widget, Qt::Orientation orientation) {
    auto* splitter = qobject_cast<QSplitter*>(widget->parentWidget());
    return splitter != nullptr && splitter->orientation() == orientation ? splitter : nullptr;
}

int Stretch(const QWidget* widget, Qt::Orientation orientation) {
    const QSizePolicy policy = widget->sizePolicy();
    return orientation == Qt::Horizontal ? policy.horizontalStretch() : policy.verticalStretch();
}

int Extent(const QWidget* widget, Qt::Orientation orientation) {
    if (const QSplitter* splitter = SplitterAlong(widget, orientation))
        return SplitterSizes(splitter).value(splitter->indexOf(const_cast<QWidget*>(widget)));
    return orientation == Qt::Horizontal ? widget->width() : widget->height();
}

// Gives a panel its width or height. Inside a splitter the difference is taken from the
// shown sibling that stretches most, so the other panels keep their sizes.
void SetExtent(QWidget* widget, Qt::Orientation orientation, int extent) {
    extent = std::max(extent, 0);
    QSplitter* splitter = SplitterAlong(widget, orientation);
    if (splitter == nullptr) {
        if (orientation == Qt::Horizontal)
            widget->resize(extent, widget->height());
        else
            widget->resize(widget->width(), extent);
        return;
    }
    QList<int> sizes = SplitterSizes(splitter);
    const int index = splitter->indexOf(widget);
    if (!widget->isHidden()) {
        int donor = -1;
        for (int i = 0; i < splitter->count(); ++i) {
            if (i == index || splitter->widget(i)->isHidden()) continue;
            if (donor < 0 ||
                Stretch(splitter->widget(i), orientation) > Stretch(splitter->widget(donor), orientation))
                donor = i;
        }
        if (donor >= 0) sizes[donor] = std::max(0, sizes[donor] - (extent - sizes[index]));
    }
    sizes[index] = extent;
    splitter->setSizes(sizes);
}

std::optional<StoredValue> ComponentValue(const QWidget* widget, const QString& property) {
    if (Is(property, "Height")) return StoredValue::Int(Extent(widget, Qt::Vertical));
    if (Is(property, "Width")) return StoredValue::Int(Extent(widget, Qt::Horizontal));
    if (Is(property, "Left")) return StoredValue::Int(widget->x());
    if (Is(property, "Top")) return StoredValue::Int(widget->y());
    if (Is(property, "Visible")) return StoredValue::Bool(!widget->isHidden());
    return std::nullopt;
}

void CheckComponentValue(const QString& property, const StoredValue& value) {
    if (Is(property, "Visible")) {
        if (value.kind != StoredValue::Kind::Boolean) InvalidValue();
    } else if (Is(property, "Height") || Is(property, "Width") || Is(property, "Left") ||
               Is(property, "Top")) {
        if (value.kind != StoredValue::Kind::Integer) InvalidValue();
    }
}

int ClampToInt(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, -1000000, 1000000));
}

void SetComponentValue(QWidget* widget, const QString& property, const StoredValue& value) {
    const int number = ClampToInt(value.integer);
    if (Is(property, "Height"))
        SetExtent(widget, Qt::Vertical, number);
    else if (Is(property, "Width"))
        SetExtent(widget, Qt::Horizontal, number);
    else if (Is(property, "Left"))
        widget->move(number, widget->y());
    else if (Is(property, "Top"))
        widget->move(widget->x(), number);
    else if (Is(property, "Visible"))
        widget->setVisible(value.boolean);
    // Anything else is not kept by the program and is skipped.
}

QString ClassNameOf(const QObject* object) {
    QString name = QString::fromLatin1(object->metaObject()->className());
    const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
    return colons >= 0 ? name.mid(colons + 2) : name;
}

// Neither minimised nor maximised; an active window is normal too.
bool IsNormal(const QWidget* window) {
    return (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0;
}

bool IsWindowGeometry(const QString& name) {
    return Is(name, "Left") || Is(name, "Top") || Is(name, "Width") || Is(name, "Height") ||
           Is(name, "PixelsPerInch") || Is(name, "WindowState");
}

}  // namespace

// ---- managers ----

void WindowStateStorage::ReportError(const QString& message) {
    if (messages_ != nullptr)
        messages_->Error(message);
    else
        qWarning("%s", qPrintable(message));
}

SettingsWindowStateStorage::SettingsWindowStateStorage(QObject* parent) : WindowStateStorage(parent) {
    setObjectName(QStringLiteral("StorageMan"));
}

QString SettingsWindowStateStorage::LineName(int index) {
    return QStringLiteral("Line%1").arg(index, 10, 10, QLatin1Char('0'));
}

void SettingsWindowStateStorage::LoadSection(const QString& section,
                                             const std::function<void(ByteSpan)>& apply) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsOrganization(),
                       SettingsApplication());
    settings.beginGroup(Group());
    if (settings.contains(section)) {
        const QVariant value = settings.value(section);
        const QByteArray bytes = value.metaType().id() == QMetaType::QByteArray
                                     ? value.toByteArray()
                                     : SettingsText(value).toLatin1();
        // Deleted before it is applied: a value that does not apply would otherwise be
        // read instead of the lines at every start, and no layout would ever come back.
        RemoveSettingsValue(settings, section);
        settings.sync();
        apply(ByteSpan(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size())));
        return;
    }
    settings.beginGroup(section);
    QList<QByteArray> lines;
    for (int i = 0; settings.contains(LineName(i)); ++i)
        lines << SettingsText(settings.value(LineName(i))).toLatin1();
    if (lines.isEmpty()) return;

    ByteViewStream first(ByteSpan(reinterpret_cast<const std::uint8_t*>(lines.front().constData()),
                                  static_cast<std::size_t>(lines.front().size())));
    QByteArray stream;
    if (DetectStreamFormat(first) == StreamFormat::Text) {
        for (const QByteArray& line : lines)
            stream += line + "\r\n";
    } else {
        const QByteArray digits = lines.join();
        const auto isHex = [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        };
        if (digits.size() % 2 != 0 || !std::all_of(digits.begin(), digits.end(), isHex))
            throw EReadError("Invalid stream format.");
        stream = QByteArray::fromHex(digits);
    }
    apply(ByteSpan(reinterpret_cast<const std::uint8_t*>(stream.constData()),
                   static_cast<std::size_t>(stream.size())));
}

void SettingsWindowStateStorage::SaveSection(const QString& section, ByteSpan binary) {
    QStringList lines;
    if (writeAsText_) {
        ByteViewStream in(binary);
        MemoryStream out;
        BinaryFormToText(in, out);
        const Bytes& text = out.Data();
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\n') continue;
            std::size_t end = i;
            if (end > start && text[end - 1] == '\r') --end;
            lines << QString::fromLatin1(reinterpret_cast<const char*>(text.data() + start),
                                         static_cast<qsizetype>(end - start));
            start = i + 1;
        }
        if (start < text.size()) {
            lines << QString::fromLatin1(reinterpret_cast<const char*>(text.data() + start),
                                         static_cast<qsizetype>(text.size() - start));
        }
    } else {
        constexpr qsizetype kBytesPerLine = 32;
        const QByteArray hex =
            QByteArray(reinterpret_cast<const char*>(binary.data()), static_cast<qsizetype>(binary.size()))
                .toHex()
                .toUpper();
        for (qsizetype i = 0; i < hex.size(); i += 2 * kBytesPerLine)
            lines << QString::fromLatin1(hex.mid(i, 2 * kBytesPerLine));
    }

    QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsOrganization(),
                       SettingsApplication());
    settings.beginGroup(Group() + u'/' + section);
    for (int i = 0; i < lines.size(); ++i)
        settings.setValue(LineName(i), lines[i]);
    // Lines of a longer text saved before; they were numbered without gaps.
    for (int i = static_cast<int>(lines.size()); settings.contains(LineName(i)); ++i)
        RemoveSettingsValue(settings, LineName(i));
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw Exception(
            QStringLiteral("Cannot write the settings file %1.").arg(settings.fileName()).toStdString());
    }
}

// ---- the store ----

WindowStateStore::WindowStateStore(QWidget* window, WindowStateStorage* manager, const QString& section,
                                   const QString& storedClassName)
    : QObject(window), window_(window), className_(storedClassName), manager_(manager), section_(section) {
    setObjectName(QStringLiteral("Storage"));
    if (!window->isWindow() && IsNormal(window)) normalBounds_ = window->geometry();
    window->installEventFilter(this);
}

QStringList WindowStateStore::WindowProperties() {
    return {QStringLiteral("<P>.Height"), QStringLiteral("<P>.Left"),  QStringLiteral("<P>.PixelsPerInch"),
            QStringLiteral("<P>.Top"),    QStringLiteral("<P>.Width"), QStringLiteral("<P>.WindowState")};
}

void WindowStateStore::AddComponent(const QString& name, const QString& className, QWidget* widget) {
    components_.insert(name, {className, widget});
}

QWidget* WindowStateStore::ComponentWidget(const QString& name) const {
    const auto it = components_.constFind(name);
    if (it != components_.constEnd()) return it->widget;
    const QWidget* window = window_.data();
    return window != nullptr ? window->findChild<QWidget*>(name) : nullptr;
}

QString WindowStateStore::ComponentClass(const QString& name) const {
    const auto it = components_.constFind(name);
    if (it != components_.constEnd() && !it->className.isEmpty()) return it->className;
    const QWidget* widget = ComponentWidget(name);
    return widget != nullptr ? ClassNameOf(widget) : QStringLiteral("TComponent");
}

int WindowStateStore::ScreenPixelsPerInch() const {
    if (screenPpi_ > 0) return screenPpi_;
    const QWidget* window = window_.data();
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

QRect WindowStateStore::NormalBounds() const {
    const QWidget* window = window_.data();
    if (window == nullptr) return {};
    if (window->isWindow()) {
        const QRect normal = window->normalGeometry();
        return normal.isEmpty() ? window->geometry() : normal;
    }
    if (IsNormal(window) || !normalBounds_.isValid()) return window->geometry();
    return normalBounds_;
}

Bytes WindowStateStore::BuildStream() const {
    FormObject root;
    root.className = className_;
    const QWidget* window = window_.data();
    if (window == nullptr) return {};
    root.name = window->objectName();
    if (root.name.isEmpty()) root.name = className_.startsWith(u'T') ? className_.mid(1) : className_;

    const QRect bounds = NormalBounds();
    for (const QString& entry : storedProperties_) {
        const PropertyEntry property = SplitEntry(entry);
        FormObject* object = &root;
        for (const QString& name : property.path) {
            auto it = std::find_if(object->children.begin(), object->children.end(),
                                   [&name](const FormObject& child) { return child.name == name; });
            if (it == object->children.end()) {
                object->children.push_back({ComponentClass(name), name, {}, {}});
                it = std::prev(object->children.end());
            }
            object = &*it;
        }
        std::optional<StoredValue> value;
        if (property.path.isEmpty()) {
            const QString& p = property.property;
            if (Is(p, "Height"))
                value = StoredValue::Int(bounds.height());
            else if (Is(p, "Left"))
                value = StoredValue::Int(bounds.x());
            else if (Is(p, "Top"))
                value = StoredValue::Int(bounds.y());
            else if (Is(p, "Width"))
                value = StoredValue::Int(bounds.width());
            else if (Is(p, "PixelsPerInch"))
                value = StoredValue::Int(ScreenPixelsPerInch());
            else if (Is(p, "WindowState"))
                value = StoredValue::Ident(QString::fromLatin1(StateIdentifier(window->windowState())));
            else
                value = ComponentValue(window, p);
        } else if (const QWidget* widget = ComponentWidget(property.path.back())) {
            value = ComponentValue(widget, property.property);
        }
        if (value) object->properties.emplace_back(property.property, *value);
    }
    if (onSaveCustomValues_) onSaveCustomValues_(root.properties);

    MemoryStream out;
    {
        FormWriter writer(out);
        writer.PutSignature();
        PutObject(writer, root);
        writer.Flush();
    }
    return out.Take();
}

void WindowStateStore::ApplyStream(ByteSpan stream) {
    QWidget* window = window_.data();
    if (window == nullptr) return;
    ByteViewStream in(stream);
    MemoryStream converted;
    ByteSpan binary = stream;
    switch (DetectStreamFormat(in)) {
        case StreamFormat::Unknown:
            throw EReadError("Invalid stream format.");
        case StreamFormat::Text:
            TextToBinaryForm(in, converted);
            binary = converted.Data();
            break;
        case StreamFormat::Binary:
            break;
    }
    ByteViewStream binaryIn(binary);
    if (!binary.empty() && binary[0] == 0xFF) SkipResourceHeader(binaryIn);
    FormObject root;
    {
        FormReader reader(binaryIn);
        reader.CheckSignature();
        root = TakeObject(reader, 0);
    }

    // Everything is checked before anything is applied, so a bad value leaves the
    // layout as it was.
    std::optional<qint64> left, top, width, height, ppi;
    std::optional<Qt::WindowState> state;
    for (const auto& [name, value] : root.properties) {
        if (!IsWindowGeometry(name)) continue;
        if (Is(name, "WindowState")) {
            state = ParseState(value);
            continue;
        }
        if (value.kind != StoredValue::Kind::Integer) InvalidValue();
        if (Is(name, "Left")) left = value.integer;
        if (Is(name, "Top")) top = value.integer;
        if (Is(name, "Width")) width = value.integer;
        if (Is(name, "Height")) height = value.integer;
        if (Is(name, "PixelsPerInch")) ppi = value.integer;
    }
    const std::function<void(const FormObject&)> check = [&](const FormObject& object) {
        for (const FormObject& child : object.children) {
            if (ComponentWidget(child.name) != nullptr) {
                for (const auto& [name, value] : child.properties)
                    CheckComponentValue(name, value);
            }
            check(child);
        }
    };
    check(root);

    for (const auto& [name, value] : root.properties) {
        if (IsWindowGeometry(name)) continue;
        // The window's other properties are offered to the handler; the program keeps
        // no other property of a window, so what the handler leaves is skipped.
        if (onReadCustomValue_) onReadCustomValue_(name, value);
    }

    if (left || top || width || height || state) {
        const int screenPpi = ScreenPixelsPerInch();
        const qint64 storedPpi = ppi.value_or(screenPpi);
        const auto scale = [&](qint64 value) {
            if (storedPpi <= 0 || storedPpi == screenPpi) return ClampToInt(value);
            return ClampToInt(
                std::llround(static_cast<double>(value) * screenPpi / static_cast<double>(storedPpi)));
        };
        QRect bounds = NormalBounds();
        if (left) bounds.moveLeft(scale(*left));
        if (top) bounds.moveTop(scale(*top));
        if (width) bounds.setWidth(scale(*width));
        if (height) bounds.setHeight(scale(*height));
        const Qt::WindowStates current = window->windowState();
        const Qt::WindowState wanted =
            state.value_or(current & Qt::WindowMinimized                            ? Qt::WindowMinimized
                           : current & (Qt::WindowMaximized | Qt::WindowFullScreen) ? Qt::WindowMaximized
                                                                                    : Qt::WindowNoState);
        // The bounds are the normal ones: they are set in the normal state, and a
        // maximised or minimised window returns to them when restored. Other state
        // flags (an MDI child's being active) stay.
        constexpr Qt::WindowStates sizeStates =
            Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
        if (!IsNormal(window)) window->setWindowState(current & ~sizeStates);
        window->setGeometry(bounds);
        if (!window->isWindow()) normalBounds_ = window->geometry();
        if (wanted != Qt::WindowNoState)
            window->setWindowState((window->windowState() & ~sizeStates) | wanted);
    }

    const std::function<void(const FormObject&)> apply = [&](const FormObject& object) {
        for (const FormObject& child : object.children) {
            // A component the window does not have is read and ignored.
            if (QWidget* widget = ComponentWidget(child.name)) {
                for (const auto& [name, value] : child.properties)
                    SetComponentValue(widget, name, value);
            }
            apply(child);
        }
    };
    apply(root);
}

void WindowStateStore::Load() {
    if (!active_ || window_ == nullptr || manager_ == nullptr) return;
    loaded_ = true;
    savedSinceLoad_ = false;
    // Changing an MDI child's state shows it again; that is no new showing to load for.
    loading_ = true;
    try {
        manager_->LoadSection(section_, [this](ByteSpan stream) { ApplyStream(stream); });
    } catch (...) {
        // Damaged or hand-edited settings: the window keeps its layout.
    }
    loading_ = false;
    if (onLoaded_) onLoaded_();
}

void WindowStateStore::TakeComponentValues(const WindowStateStore& other) {
    for (const QString& entry : storedProperties_) {
        const PropertyEntry property = SplitEntry(entry);
        if (property.path.isEmpty()) continue;
        const QWidget* from = other.ComponentWidget(property.path.back());
        QWidget* to = ComponentWidget(property.path.back());
        if (from == nullptr || to == nullptr || from == to) continue;
        if (const std::optional<StoredValue> value = ComponentValue(from, property.property))
            SetComponentValue(to, property.property, *value);
    }
}

void WindowStateStore::Save() {
    if (!active_ || window_ == nullptr || manager_ == nullptr) return;
    savedSinceLoad_ = true;
    try {
        manager_->SaveSection(section_, BuildStream());
    } catch (const std::exception& error) {
        manager_->ReportError(QString::fromUtf8(error.what()));
    }
}

void WindowStateStore::SaveUnlessSavedSinceLoad() {
    if (loaded_ && !savedSinceLoad_) Save();
}

bool WindowStateStore::eventFilter(QObject* watched, QEvent* event) {
    QWidget* window = window_.data();
    if (window == nullptr || watched != window || event->spontaneous()) return false;
    // A top-level window is shown and hidden when it opens and closes (a dialog also
    // when it is finished). A document of the MDI area hides and shows itself at every
    // change of its state, so it loads at its first showing and saves when a close is
    // allowed.
    switch (event->type()) {
        case QEvent::Show:
            if (loading_) break;
            if (window->isWindow()) {
                Load();
            } else if (!childShown_) {
                childShown_ = true;
                // It is shown from inside the change to its first state; the stored
                // state applies once that change is complete.
                QMetaObject::invokeMethod(this, &WindowStateStore::Load, Qt::QueuedConnection);
            }
            break;
        case QEvent::Hide:
            if (window->isWindow()) Save();
            break;
        case QEvent::Close:
            if (window->isWindow() || resendingClose_) break;
            {
                // The window's own handling decides; the event is passed on to it here
                // so that the outcome is known.
                resendingClose_ = true;
                QCoreApplication::sendEvent(window, event);
                resendingClose_ = false;
                if (event->isAccepted()) Save();
            }
            return true;
        case QEvent::Move:
        case QEvent::Resize:
            if (!window->isWindow() && IsNormal(window)) normalBounds_ = window->geometry();
            break;
        default:
            break;
    }
    return false;
}

WindowStateStore* AttachWindowStorage(QWidget* window, WindowStateStorage* manager, const QString& section,
                                      const QString& storedClassName) {
    auto* storage = new WindowStateStore(window, manager, section, storedClassName);
    storage->SetStoredProperties(WindowStateStore::WindowProperties());
    return storage;
}

namespace {

// Watches an owner for windows of one class being polished and gives each a store.
class OwnedWindowStorage : public QObject {
public:
    OwnedWindowStorage(QWidget* owner, WindowStateStorage* manager, const char* className, QString section,
                       QString storedClassName)
        : QObject(owner),
          manager_(manager),
          className_(className),
          section_(std::move(section)),
          storedClassName_(std::move(storedClassName)) {
        owner->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::ChildPolished) {
            auto* window = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
            if (manager_ != nullptr && window != nullptr && window->isWindow() &&
                window->inherits(className_) &&
                window->findChild<WindowStateStore*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
                AttachWindowStorage(window, manager_, section_, storedClassName_);
            }
        }
        return false;
    }

private:
    QPointer<WindowStateStorage> manager_;
    const char* className_;
    QString section_;
    QString storedClassName_;
};

}  // namespace

void AttachStorageToOwnedWindows(QWidget* owner, WindowStateStorage* manager, const char* className,
                                 const QString& section, const QString& storedClassName) {
    new OwnedWindowStorage(owner, manager, className, section, storedClassName);
}

}  // namespace fw
