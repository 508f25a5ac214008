#pragma once
// Remembered window layouts. A settings store (WindowStateStore) belongs to one window and
// keeps the window's geometry, some sizes of its panels and any custom values of the
// window as a small form: the window is the root object, each named panel a child
// object. The form is kept by a storage manager; SettingsWindowStateStorage keeps it in the
// per-user settings as the lines of its text, one value per line.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/stream.h"

class QWidget;

namespace fw {

class UserMessages;

// One value of a settings form, of the kinds the stored properties use.
struct StoredValue {
    enum class Kind { Integer, Boolean, Identifier, String, Other };
    Kind kind = Kind::Other;
    qint64 integer = 0;
    bool boolean = false;
    QString text;  // the identifier or the string

    static StoredValue Int(qint64 value) { return {Kind::Integer, value, false, {}}; }
    static StoredValue Bool(bool value) { return {Kind::Boolean, 0, value, {}}; }
    static StoredValue Ident(const QString& value) { return {Kind::Identifier, 0, false, value}; }
    static StoredValue Str(const QString& value) { return {Kind::String, 0, false, value}; }
};

using StoredValues = std::vector<std::pair<QString, StoredValue>>;

// Where settings stores keep their forms, one section each.
class WindowStateStorage : public QObject {
    Q_OBJECT
public:
    explicit WindowStateStorage(QObject* parent = nullptr) : QObject(parent) {}

    // Hands the section's stored form (the bytes of a text or binary form, as stored) to
    // apply; does nothing when the section holds nothing. Errors of reading and of apply
    // propagate.
    virtual void LoadSection(const QString& section, const std::function<void(ByteSpan stream)>& apply) = 0;
    // Stores the binary form stream of a section, replacing what it held. Throws on
    // failure.
    virtual void SaveSection(const QString& section, ByteSpan binary) = 0;

    // Where errors of saving are shown; none: they are only logged.
    void SetMessages(UserMessages* messages) { messages_ = messages; }
    void ReportError(const QString& message);

private:
    UserMessages* messages_ = nullptr;
};

// Keeps each section in the user's settings file, group "5.x/<section>", as string
// values named "Line" followed by the line's index in ten digits (Line0000000000,
// Line0000000001, ...). The lines are the form's text, or with WriteAsText off its
// binary stream in hexadecimal.
class SettingsWindowStateStorage : public WindowStateStorage {
    Q_OBJECT
public:
    explicit SettingsWindowStateStorage(QObject* parent = nullptr);

    // The group the sections' groups are in.
    static QString Group() { return QStringLiteral("5.x"); }
    bool WriteAsText() const { return writeAsText_; }
    void SetWriteAsText(bool text) { writeAsText_ = text; }

    // An older layout kept the whole form in one value named after the section, directly
    // in Group: that value is applied instead and then deleted, also when it does not
    // apply, so that the lines written since take over. Otherwise the lines are read up
    // to the first missing index: text when the first line starts a form text, else
    // hexadecimal digits, two per byte.
    void LoadSection(const QString& section, const std::function<void(ByteSpan stream)>& apply) override;
    // Writes the lines, then deletes the values numbered from the count of lines on,
    // up to the first one missing.
    void SaveSection(const QString& section, ByteSpan binary) override;

    static QString LineName(int index);

private:
    bool writeAsText_ = true;
};

// The settings store of one window. A top-level window loads each time it is shown and
// saves when it is hidden (closed, or a dialog finished); a window inside another, such
// as a document of the MDI area, loads once its first showing is complete and saves when
// its close is allowed. Loading errors are ignored and leave the layout as it was;
// saving errors are shown by the manager.
class WindowStateStore : public QObject {
    Q_OBJECT
public:
    // Watches the window; the store is a child of the window and goes with it.
    // storedClassName is the class the written form gives the window ("object
    // wnd_dfm_Main: Twnd_dfm_Main"): fixed by the settings files already written, not by
    // what the C++ class is called.
    WindowStateStore(QWidget* window, WindowStateStorage* manager, const QString& section,
                     const QString& storedClassName);

    // The window's Height, Left, PixelsPerInch, Top, Width and WindowState.
    static QStringList WindowProperties();

    QWidget* Window() const { return window_; }
    QString Section() const { return section_; }
    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    // Entries "<P>.Height" for the window itself, "Panel.<P>.Width" or
    // "Panel.Inner.<P>.Visible" for named components, in the order they are written.
    QStringList StoredProperties() const { return storedProperties_; }
    void SetStoredProperties(const QStringList& properties) { storedProperties_ = properties; }
    // Names a component of the window for the property list and for matching the
    // objects read back; the class name is what the written form calls it.
    void AddComponent(const QString& name, const QString& className, QWidget* widget);

    // Adds the window's custom values while the form is built; they follow the stored
    // properties of the window.
    void SetOnSaveCustomValues(std::function<void(StoredValues& values)> handler) {
        onSaveCustomValues_ = std::move(handler);
    }
    // Offered every property of the window read back other than its geometry; returns
    // whether it took the value. It may throw for a value of the wrong kind.
    void SetOnReadCustomValue(std::function<bool(const QString& name, const StoredValue& value)> handler) {
        onReadCustomValue_ = std::move(handler);
    }

    // Runs after every Load, whether or not the section held anything: for what the
    // window's owner decides over the stored layout.
    void SetOnLoaded(std::function<void()> handler) { onLoaded_ = std::move(handler); }
    // Reads the section and applies it; any error leaves the layout as it was.
    void Load();
    // While Load applies the stored layout.
    bool Loading() const { return loading_; }
    // Gives this window's named components the values that `other`'s components of the
    // same names have now, for the stored properties that name a component; the
    // window's own geometry and state stay as they are.
    void TakeComponentValues(const WindowStateStore& other);
    // Builds the form and hands it to the manager; an error is shown.
    void Save();
    // For a window that goes away without being closed: saves when it was loaded and
    // has not been saved since.
    void SaveUnlessSavedSinceLoad();
    bool SavedSinceLoad() const { return savedSinceLoad_; }

    // The binary form stream a save would store now.
    Bytes BuildStream() const;
    // Applies a stored form (text or binary); throws on a malformed one, in which case
    // nothing has been applied.
    void ApplyStream(ByteSpan stream);

    // The screen's pixels per inch the stored geometry is scaled to; 0 (the default)
    // reads it from the window's screen.
    void SetScreenPixelsPerInch(int ppi) { screenPpi_ = ppi; }
    int ScreenPixelsPerInch() const;
    // The window's bounds in the normal state, also while it is maximised or minimised.
    QRect NormalBounds() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Component {
        QString className;
        QPointer<QWidget> widget;
    };

    QWidget* ComponentWidget(const QString& name) const;
    QString ComponentClass(const QString& name) const;

    QPointer<QWidget> window_;
    QString className_;
    QPointer<WindowStateStorage> manager_;
    QString section_;
    bool active_ = true;
    QStringList storedProperties_;
    QHash<QString, Component> components_;
    std::function<void(StoredValues&)> onSaveCustomValues_;
    std::function<bool(const QString&, const StoredValue&)> onReadCustomValue_;
    std::function<void()> onLoaded_;
    bool loaded_ = false;
    bool loading_ = false;
    bool childShown_ = false;
    bool resendingClose_ = false;
    bool savedSinceLoad_ = false;
    int screenPpi_ = 0;
    // The normal bounds of a window inside another, which Qt does not report while it
    // is maximised or minimised.
    QRect normalBounds_;
};

// A store of the window's own six properties under the section, for windows that keep
// nothing else.
WindowStateStore* AttachWindowStorage(QWidget* window, WindowStateStorage* manager, const QString& section,
                                      const QString& storedClassName);

// Gives every window of the class (the name as its meta-object reports it, such as
// "fw::ExtractDialog") that the owner comes to own a window store under the section and
// the stored class name,
// as soon as it is polished, which is before it is first shown. Lets dialogs that are
// made and run in one call keep their layout without knowing the store.
void AttachStorageToOwnedWindows(QWidget* owner, WindowStateStorage* manager, const char* className,
                                 const QString& section, const QString& storedClassName);

}  // namespace fw
