#include "preview/virtualdesktop.h"

#include <QEvent>
#include <QMouseEvent>
#include <exception>
#include <functional>
#include <new>
#include <optional>

#include "base/asciitext.h"
#include "preview/designoverlay.h"
#include "preview/formwindow.h"
#include "preview/instrument.h"
#include "preview/qtmeasurer.h"
#include "preview/realizer.h"
#include "preview/vcllook.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/layout.h"
#include "runtime/propertyaccess.h"

namespace fw::preview {

namespace {

// Where the form sits on the desktop, whatever its Position says.
constexpr int FormOrigin = 10;

}  // namespace

VirtualDesktop::VirtualDesktop(PreviewContext& context, QWidget* parent)
    : QScrollArea(parent), context_(context) {
    setObjectName(QStringLiteral("VirtualDesktop"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    desk_ = new QWidget;
    desk_->setObjectName(QStringLiteral("Desk"));
    QPalette p = desk_->palette();
    p.setColor(QPalette::Window, DesktopColor());
    desk_->setPalette(p);
    desk_->setAutoFillBackground(true);
    desk_->setMouseTracking(true);
    desk_->installEventFilter(this);
    setWidget(desk_);
    QPalette vp = viewport()->palette();
    vp.setColor(QPalette::Window, DesktopColor());
    viewport()->setPalette(vp);
    viewport()->setAutoFillBackground(true);
    FitDesk();
}

VirtualDesktop::~VirtualDesktop() {
    DisposePreview();
}

void VirtualDesktop::DisposeWidgets() {
    if (realizer_) realizer_->disconnect(this);
    // The overlay is the client area's child and goes with the window.
    overlay_ = nullptr;
    delete window_;
    window_ = nullptr;
    realizer_.reset();
}

void VirtualDesktop::DisposePreview() {
    // Widgets first: they point at the objects they show.
    DisposeWidgets();
    records_.clear();
    origins_ = {};
    if (form_) {
        context_.FormNames().Remove(form_.get());
        form_.reset();
    }
}

void VirtualDesktop::BuildPreview(std::string_view text, const CodePage& codePage, const FormSearch& search) {
    // The objects selected on the designer surface are selected again in the new build.
    const QStringList selected = SelectedPaths();
    DisposePreview();
    builtHash_ = std::hash<std::string_view>{}(text);
    builtSize_ = text.size();
    messages_.clear();
    places_.clear();
    rt::ClassRegistry& registry = context_.Registry();
    std::optional<rt::FolderFormSource> folders;
    try {
        if (!search.FormPath.empty() || !search.Folders.empty()) {
            folders.emplace(search.FormPath, search.Folders, context_.FolderIndex());
        }
    } catch (const std::exception& e) {
        // A folder that cannot be looked at: the preview shows what the text holds.
        AddMessage("WARN=Preview: the form's folders cannot be searched: " + std::string(e.what()));
    }
    rt::FormFileSource* source = folders ? &*folders : nullptr;
    try {
        // A frame or a data module is read into one of its kind, so that what its
        // class publishes is taken: by the class's ancestry, the declared ancestors
        // and the ancestors' files, else by what the text stores.
        rootKind_ = RootKindOfBase(rt::RootBaseOf(text, registry, source));
        const rt::ClassInfo& rootClass = rootKind_ == RootKind::Frame        ? rt::cls::TFrame
                                         : rootKind_ == RootKind::DataModule ? rt::cls::TDataModule
                                                                             : rt::cls::TForm;
        form_ = rt::CreateObject(registry.Of(rootClass), registry);
    } catch (const std::exception& e) {
        AddMessage("ERROR=Reader: " + std::string(e.what()));
        emit PreviewBuilt();
        return;
    }
    std::vector<rt::BuildMessage> built;
    rt::BuildFormFromText(*form_, text, registry, codePage, built, &context_.FormNames(), &records_, source,
                          &origins_);
    // The preview lays the form out as a sizeable window and draws the frame it asks for.
    borderStyle_ = rt::MakeNormalWindow(*form_);
    for (rt::BuildMessage& message : built)
        AddMessage(std::move(message.Text), std::move(message.Place));
    for (const std::string& message : context_.LookalikeMessages())
        AddMessage(message);
    builtMessages_ = messages_.size();
    builtPlaces_ = places_.size();
    ShowForm(selected);
}

namespace {

// Whether a property of the root is one the preview sets itself for a window among
// others (see rt::MakeNormalWindow): its value is not what the preview shows.
bool IsWindowSetting(std::string_view property) {
    for (const std::string_view setting : {"BorderStyle", "FormStyle", "ActiveControl"})
        if (EqualsIgnoringCase(property, setting)) return true;
    return false;
}

// Gives a property, nested ones by their dotted path ("Font.Style"), back its class's
// initial value. False when the path names nothing that can be reset.
bool ResetPath(rt::Object& object, std::string_view path) {
    rt::Object* holder = &object;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
        const rt::Property* p = holder->FindProperty(path.substr(0, dot));
        holder = p ? holder->ObjectValue(*p) : nullptr;
        if (!holder) return false;
        path.remove_prefix(dot + 1);
    }
    return rt::ResetProperty(*holder, path);
}

}  // namespace

bool VirtualDesktop::ApplyPropertyUpdates(const std::vector<PropertyUpdate>& updates,
                                          const CodePage& codePage) {
    if (!form_ || !window_) return false;
    // Every object and property is checked before anything changes.
    std::vector<rt::Object*> objects;
    objects.reserve(updates.size());
    for (const PropertyUpdate& update : updates) {
        rt::Object* object = ObjectOfPath(update.ObjectPath);
        const std::string_view property = update.Property;
        if (!object || property.empty() || property.find_first_of("[]()<> ") != std::string_view::npos ||
            EqualsIgnoringCase(property, "Name") || (object == form_.get() && IsWindowSetting(property)))
            return false;
        objects.push_back(object);
    }
    const QStringList selected = SelectedPaths();
    for (std::size_t i = 0; i < updates.size(); ++i) {
        const PropertyUpdate& update = updates[i];
        rt::Object& object = *objects[i];
        if (!update.Value) {
            if (!ResetPath(object, update.Property)) return false;
            continue;
        }
        // One record holding the value, read as the reader reads the form's own record
        // of the object; its class and name are not taken.
        std::string record = "object X: ";
        record += object.ClassName();
        record += "\n  ";
        record += update.Property;
        record += " = ";
        record += *update.Value;
        record += "\nend\n";
        std::string error;
        if (!rt::ReadPropertiesInto(object, *form_, record, context_.Registry(), codePage, error,
                                    &context_.FormNames()))
            return false;
    }
    // Laid out and shown again from the live objects; the read's messages stay, those of
    // the showing are made anew.
    DisposeWidgets();
    messages_.resize(builtMessages_);
    places_.resize(builtPlaces_);
    ShowForm(selected);
    return true;
}

void VirtualDesktop::ShowForm(const QStringList& selected) {
    try {
        Present();
    } catch (const std::bad_alloc&) {
        AddMessage("ERROR=FormShow: Out of memory");
    } catch (const std::exception& e) {
        AddMessage("ERROR=FormShow: " + std::string(e.what()));
    }
    if (overlay_) SelectPaths(selected);
    emit PreviewBuilt();
}

void VirtualDesktop::NoteShownText(std::string_view text) {
    builtHash_ = std::hash<std::string_view>{}(text);
    builtSize_ = text.size();
}

void VirtualDesktop::AddMessage(std::string text, rt::MessagePlace place) {
    messages_.push_back(std::move(text));
    places_.push_back(std::move(place));
}

void VirtualDesktop::Present() {
    rt::Object& form = *form_;
    // A frame or a data module has no window frame: its Width and Height are all its
    // area.
    if (rootKind_ != RootKind::Form) borderStyle_ = "bsNone";
    // The bounds the form's controls take at run time; the hints and the widgets show
    // them.
    rt::LayoutForm(form, QtTextMeasurer());
    InstrumentControls(form);
    rt::SetOrdinal(form, "ShowHint", 1);
    rt::SetString(form, "Hint", FormHint(form));
    rt::SetMethod(form, "OnClick", rt::MethodValue{1, 1, std::string(ObjectEnterHook)});
    rt::SetMethod(form, "OnMouseMove", rt::MethodValue{1, 1, std::string(ObjectMouseMoveHook)});
    rt::SetEnum(form, "Position", "poDesigned");
    rt::SetOrdinal(form, "Left", FormOrigin);
    rt::SetOrdinal(form, "Top", FormOrigin);
    rt::SetEnum(form, "WindowState", "wsNormal");

    window_ = new FormWindow(form, desk_, borderStyle_);
    window_->move(FormOrigin, FormOrigin);
    realizer_ = std::make_unique<FormRealizer>();
    pictures_.NextShowing();
    realizer_->SetDecodedPictures(&pictures_);
    // A control of a class nobody registered borrows the look the look-alike table
    // gives it (the user's rules first, then the shipped ones).
    realizer_->SetLookResolver([this](const rt::Object& standIn) { return context_.StandInLook(standIn); });
    realizer_->SetFormBorderStyle(rootKind_ == RootKind::Form ? borderStyle_ : std::string("bsNone"));
    connect(realizer_.get(), &FormRealizer::Clicked, this, [this](rt::Object* c) {
        if (c == form_.get() || HasHook(*c, "OnClick", ObjectEnterHook)) emit ObjectEnter(Q(c->Name()));
    });
    connect(realizer_.get(), &FormRealizer::DoubleClicked, this, [this](rt::Object* c) {
        if (c != form_.get() && HasHook(*c, "OnDblClick", ObjectEnterHook)) emit ObjectEnter(Q(c->Name()));
    });
    connect(realizer_.get(), &FormRealizer::MouseMoved, this, [this](rt::Object* c, QPoint pos) {
        if (c == form_.get() || HasHook(*c, "OnMouseMove", ObjectMouseMoveHook)) {
            // The status line names the class as the inspector does: "(drawn as TPanel)".
            const DrawnLook look = realizer_->LookOf(*c);
            emit ObjectMouseMove(Q(c->Name()), Q(ClassLineText(*c, c == form_.get() ? nullptr : &look)),
                                 pos.x(), pos.y());
        }
    });
    realizer_->Realize(form, window_->ClientArea());
    if (rootKind_ == RootKind::DataModule) AddComponentIcons(form, window_->ClientArea());
    AddOverlay();
    const QSize asked = window_->AskedSize();
    if (asked != window_->size())
        messages_.push_back("WARN=Preview: the form is " + std::to_string(asked.width()) + " x " +
                            std::to_string(asked.height()) + " pixels; the preview shows " +
                            std::to_string(window_->width()) + " x " + std::to_string(window_->height()) +
                            " of it");
    messages_.insert(messages_.end(), realizer_->Messages().begin(), realizer_->Messages().end());
    QString hint = TextOf(form, "Hint");
    hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    window_->ClientArea()->setToolTip(hint);
    window_->show();
    FitDesk();
}

void VirtualDesktop::FitDesk() {
    QSize size(0, 0);
    if (window_)
        size = QSize(window_->x() + window_->width() + FormOrigin,
                     window_->y() + window_->height() + FormOrigin);
    desk_->resize(size.expandedTo(viewport()->size()));
}

void VirtualDesktop::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    FitDesk();
}

void VirtualDesktop::ShowControl(rt::Object& control) {
    if (!realizer_) return;
    realizer_->ShowControl(control);
    const Realized r = realizer_->WidgetOf(control);
    if (r.Widget) {
        if (r.Widget->isVisible()) ensureWidgetVisible(r.Widget);
        return;
    }
    // A drawn control: its rectangle on the widget it is drawn on.
    const Placement place = realizer_->PlaceOf(control);
    if (place.Parent && place.Parent->isVisible()) {
        const QPoint centre = place.Parent->mapTo(desk_, place.Bounds.center());
        ensureVisible(centre.x(), centre.y(), place.Bounds.width() / 2 + 50, place.Bounds.height() / 2 + 50);
    }
}

rt::Object* VirtualDesktop::ControlAt(const QWidget* widget) const {
    return realizer_ ? realizer_->ControlAt(widget) : nullptr;
}

namespace {

// Keeps the designer's handles out of a picture of the form while it is taken.
class OverlayHidden {
public:
    explicit OverlayHidden(QWidget* overlay) : overlay_(overlay && !overlay->isHidden() ? overlay : nullptr) {
        if (overlay_) overlay_->hide();
    }
    ~OverlayHidden() {
        if (overlay_) overlay_->show();
    }
    OverlayHidden(const OverlayHidden&) = delete;
    OverlayHidden& operator=(const OverlayHidden&) = delete;

private:
    QWidget* overlay_;
};

}  // namespace

QImage VirtualDesktop::FormClientImage() const {
    const OverlayHidden hidden(overlay_);
    return window_ ? window_->GrabClient() : QImage();
}

QImage VirtualDesktop::FormWindowImage() const {
    const OverlayHidden hidden(overlay_);
    return window_ ? window_->GrabWindow() : QImage();
}

void VirtualDesktop::AddOverlay() {
    overlay_ = new DesignOverlay(*realizer_, *form_, window_->ClientArea());
    connect(overlay_, &DesignOverlay::SelectionClicked, this,
            [this](rt::Object* object) { emit ObjectEnter(Q(object->Name())); });
    connect(overlay_, &DesignOverlay::Hovered, this, [this](rt::Object* object, QPoint at) {
        const DrawnLook look = realizer_->LookOf(*object);
        emit ObjectMouseMove(Q(object->Name()),
                             Q(ClassLineText(*object, object == form_.get() ? nullptr : &look)), at.x(),
                             at.y());
    });
    connect(overlay_, &DesignOverlay::Moved, this, &VirtualDesktop::ReportMoves);
    connect(overlay_, &DesignOverlay::DeletePressed, this, [this] {
        QStringList paths;
        for (const rt::Object* object : overlay_->Selection()) {
            if (object == form_.get()) continue;
            const QString path = PathOf(*object);
            if (!path.isEmpty()) paths << path;
        }
        if (!paths.isEmpty()) PostReport([this, paths] { emit DeleteRequested(paths); });
    });
    overlay_->show();
}

void VirtualDesktop::ReportMoves(const std::vector<DesignMove>& moves) {
    QList<ObjectPlacement> placements;
    for (const DesignMove& move : moves) {
        // An object only an ancestor's or a frame's file writes has no lines here to edit.
        const QString path = PathOf(*move.Control);
        if (!path.isEmpty()) placements.append({path, move.To, move.Changed});
    }
    if (!placements.isEmpty()) PostReport([this, placements] { emit ObjectsPlaced(placements); });
}

void VirtualDesktop::PostReport(std::function<void()> report) {
    // Once the overlay's event is done: the edit a report leads to rebuilds the preview,
    // and the overlay with it, which must not happen inside the overlay's own handler.
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

bool VirtualDesktop::BuiltFrom(std::string_view text) const {
    return text.size() == builtSize_ && std::hash<std::string_view>{}(text) == builtHash_;
}

QString VirtualDesktop::PathOf(const rt::Object& object) const {
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i].Live == &object) return Q(EditPathOf(records_, static_cast<int>(i)));
    return {};
}

QStringList VirtualDesktop::SelectedPaths() const {
    QStringList paths;
    if (!overlay_) return paths;
    for (const rt::Object* object : overlay_->Selection()) {
        const QString path = PathOf(*object);
        if (!path.isEmpty()) paths << path;
    }
    return paths;
}

void VirtualDesktop::SelectPaths(const QStringList& paths) {
    if (!overlay_) return;
    std::vector<rt::Object*> objects;
    for (const QString& path : paths)
        if (rt::Object* object = ObjectOfPath(path.toStdString())) objects.push_back(object);
    overlay_->Select(objects);
}

rt::Object* VirtualDesktop::ObjectOfPath(std::string_view path) const {
    const std::size_t dot = path.rfind('.');
    const std::string_view last = dot == std::string_view::npos ? path : path.substr(dot + 1);
    // Only the records whose name ends the path can be named by it.
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const rt::ReadObject& record = records_[i];
        if (!record.Live || (!last.starts_with('#') && !EqualsIgnoringCase(record.Name, last))) continue;
        if (EditPathOf(records_, static_cast<int>(i)) == path) return record.Live;
    }
    return nullptr;
}

void VirtualDesktop::FollowSelection(rt::Object* object) {
    if (!overlay_ || !object || overlay_->IsSelected(object)) return;
    overlay_->Select({object});
}

bool VirtualDesktop::eventFilter(QObject* watched, QEvent* event) {
    if (watched == desk_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            emit ObjectEnter(objectName());
        } else if (event->type() == QEvent::MouseMove) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            emit ObjectMouseMove(objectName(), QStringLiteral("TScrollBox"), pos.x(), pos.y());
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace fw::preview
