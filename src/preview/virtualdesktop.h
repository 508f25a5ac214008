#pragma once
// VirtualDesktop: the scroll area of a document's "Form Preview" page, in the desktop
// colour, on which the previewed form sits as a window. It builds the preview from the
// document's text (BuildPreview), keeps the live form and the messages of the last
// build, and reports picking and pointer movement over the form and its controls.

#include <QImage>
#include <QList>
#include <QPoint>
#include <QScrollArea>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "preview/designgeometry.h"
#include "preview/formwindow.h"
#include "preview/pictures.h"
#include "preview/previewcontext.h"
#include "runtime/formbuild.h"
#include "runtime/formsearch.h"
#include "runtime/lookalike.h"
#include "runtime/object.h"
#include "runtime/reader.h"
#include "runtime/registry.h"

namespace fw::preview {

class FormRealizer;
class DesignOverlay;
struct DesignMove;

// A control's new place on the preview, for the edit of the form text: the path that
// names it there (see EditPathOf), its new Left, Top, Width and Height, and which of
// them change (DesignField bits).
struct ObjectPlacement {
    QString Path;
    DesignBounds Bounds;
    unsigned Changed = 0;
};

// A value the form text now stores for a property of an object, or no longer stores.
struct PropertyUpdate {
    std::string ObjectPath;  // the object's path in the text (see EditPathOf): "Button1", "Form1.Panel1.#2"
    std::string Property;    // "Caption", "Font.Style"
    std::optional<std::string> Value;  // in form-text syntax as the text writes it; nullopt: removed
};

// Where a preview looks for the files of the form's ancestors and frames: the form's
// own folder and its parents up to the project's top, then the user's folders. With
// neither a path nor folders nothing is looked for, and the preview shows what the
// text holds.
struct FormSearch {
    std::string FormPath;              // the document's file; empty for an unsaved one
    std::vector<std::string> Folders;  // the user's extra folders, in order
};

class VirtualDesktop : public QScrollArea {
    Q_OBJECT
public:
    // The context holds the registry, the form names, the look-alike rules and the
    // folder index the previews share; it must outlive the desktop.
    explicit VirtualDesktop(PreviewContext& context, QWidget* parent = nullptr);
    ~VirtualDesktop() override;

    // Rebuilds the preview from form text (the bytes a text file holds): the old form is
    // destroyed, the text is read into a new plain form, which is made a normal,
    // sizeable window with the preview's hooks, the controls are instrumented and the
    // form is shown at (10, 10) in its normal state. Never throws: every
    // complaint is a line of PreviewMessages ("ERROR=…", "ERROR=Reader: …",
    // "ERROR=FormShow: …").
    // The ancestors and frames are read from the files search finds, through the
    // context's index of form folders.
    void BuildPreview(std::string_view text, const CodePage& codePage, const FormSearch& search = {});
    // Brings the live form up to date with values just written to its text without
    // reading the text again: each value is read into the live object the path names (as
    // the form reader reads it), a removed one goes back to its class's initial value,
    // and the form is laid out and shown again from the live objects. The selection is
    // kept by paths, the objects (and the pointers to them) stay, and PreviewBuilt is
    // emitted as after a build. Returns false when it cannot: no preview, an object or
    // property it cannot find, a collection item's property, a value the reader refuses,
    // a value of the root the preview sets itself (BorderStyle, FormStyle,
    // ActiveControl) or a Name; values read before then may have been taken, and the
    // caller rebuilds from the text (BuildPreview).
    bool ApplyPropertyUpdates(const std::vector<PropertyUpdate>& updates, const CodePage& codePage);
    // Notes that the live form now shows this text (after ApplyPropertyUpdates has
    // brought it up to date with it), for BuiltFrom.
    void NoteShownText(std::string_view text);
    // Destroys the preview form and its window, if any.
    void DisposePreview();

    const std::vector<std::string>& PreviewMessages() const { return messages_; }
    // Where each message of PreviewMessages arose, as far as the build knows it: one
    // place per message, in the same order.
    const std::vector<rt::MessagePlace>& MessagePlaces() const { return places_; }
    // The object records of the last build's read (see rt::ReadSummary::Objects); their
    // live objects belong to PreviewForm and go with it.
    const std::vector<rt::ReadObject>& ReadObjects() const { return records_; }
    // Which file each object and value of the last build came from: the text (file 0),
    // an ancestor's or a frame's file. Its objects belong to PreviewForm.
    const rt::BuildOrigins& Origins() const { return origins_; }
    // The live form of the last build, or nullptr before the first one.
    rt::Object* PreviewForm() const { return form_.get(); }
    FormWindow* Window() const { return window_; }
    // What the last build's root is: a form, a frame or a data module.
    RootKind Root() const { return rootKind_; }
    FormRealizer* Realizer() const { return realizer_.get(); }
    // The pictures decoded for the form, kept for the next showing or build.
    const PictureCache& DecodedPictures() const { return pictures_; }
    // Shows a control of the preview: visible, and its tab sheet brought to the front.
    void ShowControl(rt::Object& control);
    // The live control a widget of the preview stands for, or nullptr.
    rt::Object* ControlAt(const QWidget* widget) const;
    // The form's client area as the form paints it; null before a build.
    QImage FormClientImage() const;
    // The form's window, title bar and frame included; null before a build.
    QImage FormWindowImage() const;

    // The designer surface over the form's client area (selection, handles, moving and
    // resizing), or nullptr before a build or for a build that showed no form.
    DesignOverlay* Overlay() const { return overlay_; }
    // The paths (see EditPathOf) of the selected objects, the current one first. A
    // rebuild selects the objects of the same paths again.
    QStringList SelectedPaths() const;
    // Selects the objects of those paths that the last build has; the form for none.
    void SelectPaths(const QStringList& paths);
    // Follows a selection made elsewhere (the object tree): an object that is not
    // selected becomes the only selected one; a selected one stays with the others.
    void FollowSelection(rt::Object* object);
    // Whether the last build was made from this text: the designer's places are those
    // of the live form, which a text changed since no longer matches.
    bool BuiltFrom(std::string_view text) const;
    // The path that names an object of the last build in its text; empty for one the
    // text does not write (an ancestor's or a frame's own object).
    QString PathOf(const rt::Object& object) const;

signals:
    // The picking handler: a click (or double-click, by the control's hook) on a live
    // control or on the form, and a double-click on the desktop itself, whose name is
    // "VirtualDesktop".
    void ObjectEnter(const QString& senderName);
    // The pointer-tracking handler: the sender's name and class and the pointer's
    // position in the sender's client area.
    void ObjectMouseMove(const QString& senderName, const QString& className, int x, int y);
    // Emitted at the end of every build, after the messages are final.
    void PreviewBuilt();
    // A drag or an arrow key on the designer surface that moves or resizes controls:
    // each one's new place, once, when the drag ends (posted, after the input event).
    void ObjectsPlaced(const QList<fw::preview::ObjectPlacement>& placements);
    // Delete pressed on the designer surface: the paths of the selected controls (the
    // form never among them); posted as ObjectsPlaced is.
    void DeleteRequested(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Present();
    // Shows the live form (a failure to show it becomes a message), selects the objects
    // of those paths again and says the preview is built.
    void ShowForm(const QStringList& selected);
    void DisposeWidgets();
    rt::Object* ObjectOfPath(std::string_view path) const;
    void FitDesk();
    void AddMessage(std::string text, rt::MessagePlace place = {});
    void AddOverlay();
    void ReportMoves(const std::vector<DesignMove>& moves);
    void PostReport(std::function<void()> report);

    PreviewContext& context_;
    QWidget* desk_ = nullptr;
    rt::ObjectPtr form_;
    FormWindow* window_ = nullptr;
    std::unique_ptr<FormRealizer> realizer_;
    PictureCache pictures_;             // decoded pictures, from one showing to the next
    DesignOverlay* overlay_ = nullptr;  // a child of the window's client area
    std::vector<std::string> messages_;
    std::vector<rt::MessagePlace> places_;
    std::size_t builtMessages_ = 0;  // how many of messages_ the read gave, before Present's
    std::size_t builtPlaces_ = 0;
    std::vector<rt::ReadObject> records_;
    rt::BuildOrigins origins_;
    std::string borderStyle_;  // the BorderStyle the form's text stores
    RootKind rootKind_ = RootKind::Form;
    std::size_t builtHash_ = 0;  // of the text of the last build
    std::size_t builtSize_ = 0;
};

}  // namespace fw::preview
