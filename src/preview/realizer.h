#pragma once
// Realises a live form's controls as Qt widgets with the family factories, and keeps the
// two-way map between controls and widgets that picking, hovering and showing use.

#include <QObject>
#include <QPoint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "preview/controlfactory.h"
#include "preview/drawnlook.h"
#include "preview/imagelists.h"
#include "preview/pictures.h"

class QStyle;

namespace fw::preview {

// The style every preview widget is drawn with: Qt's "Windows" style, which draws
// controls as Windows draws them. Made once for the process.
QStyle* PreviewStyle();

class DrawnLayer;

// How much of a form the preview builds. Past these the rest is left out with a
// message: Qt paints a widget's children and nested widgets recursively, and a form
// of tens of thousands of windowed controls, or of controls nested hundreds deep,
// would overflow the stack and take the editor with it. The largest real forms hold
// about a thousand controls nested less than twenty deep.
inline constexpr int MaxPreviewControls = 10000;
inline constexpr int MaxPreviewNesting = 64;

class FormRealizer : public QObject, public RealizeContext {
    Q_OBJECT
public:
    FormRealizer();
    ~FormRealizer() override;

    // Realises the controls the form holds (its child controls, recursively, in
    // z-order) into client, the widget that stands for the form's client area: each
    // windowed control as a widget, each plain graphic control drawn onto its parent.
    // Each gets its control's bounds, visibility, enabled state, tooltip (Hint when
    // ShowHint) and the preview style. A factory that throws leaves that control out;
    // controls past MaxPreviewControls or nested deeper than MaxPreviewNesting are
    // left out, each limit with one line in Messages.
    void Realize(rt::Object& form, QWidget* client);
    // What the last Realize left out or cut down, as preview messages ("WARN=…").
    const std::vector<std::string>& Messages() const { return messages_; }

    Realized WidgetOf(const rt::Object& control) const override;
    Placement PlaceOf(const rt::Object& control) const override;
    const rt::Object& Form() const override { return *form_; }
    std::string FormBorderStyle() const override { return formBorderStyle_; }
    // The BorderStyle the form's text stores, for FormBorderStyle; set before Realize.
    void SetFormBorderStyle(std::string style) {
        formBorderStyle_ = style.empty() ? "bsSizeable" : std::move(style);
    }
    PictureBudget& Pictures() override { return pictures_; }
    PictureCache* DecodedPictures() override { return decoded_; }
    // The cache the pictures are decoded through; set before Realize, outlives the realiser.
    void SetDecodedPictures(PictureCache* cache) { decoded_ = cache; }
    const QImage* ImageOf(const rt::Object* imageList, int index) override {
        return imageLists_.ImageOf(imageList, index, pictures_);
    }
    void Report(std::string message) override { messages_.push_back(std::move(message)); }
    // What draws a drawn control, or nullptr for one with a widget or none.
    const DrawnControl* DrawingOf(const rt::Object& control) const;
    // The control a widget (or any widget inside it) stands for; nullptr for none. A
    // widget that controls are drawn on stands for its parent control.
    rt::Object* ControlAt(const QWidget* widget) const;
    // The control at a point of a widget: a control drawn there, or the widget's own.
    rt::Object* ControlAt(const QWidget* widget, QPoint at) const;
    // Makes a control visible and brings it to the front through its parents: a tab
    // sheet becomes its page control's active page.
    void ShowControl(rt::Object& control);
    // How a control of the form is drawn (whether or not it was realised).
    DrawnLook LookOf(const rt::Object& control) const;
    // What picks the built-in class whose look a stand-in (a control of a class the
    // runtime does not know) borrows; it answers nullptr for none. Without a resolver or
    // an answer a stand-in is drawn as the framed box. Set before Realize.
    using LookResolver = std::function<const rt::Class*(const rt::Object&)>;
    void SetLookResolver(LookResolver resolver) { resolver_ = std::move(resolver); }
    const rt::Class* LookClassOf(const rt::Object& control) const override;
    // The factory that realised a control, or nullptr.
    const ControlFactory* FactoryOf(const rt::Object& control) const;
    const std::vector<std::unique_ptr<ControlFactory>>& Factories() const { return factories_; }

signals:
    // Mouse input over a realised control, or over the form's client area (the form is
    // the sender then). Clicked fires for a press and release on the same control,
    // DoubleClicked for a double-click; positions are relative to the control.
    void Clicked(rt::Object* control);
    void DoubleClicked(rt::Object* control);
    void MouseMoved(rt::Object* control, QPoint position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RealizeChildren(rt::Object& parent, const Realized& parentWidgets, int depth);
    // The factory that realises a control and the class whose row it uses (nullptr when
    // the factory took the control by Handles, without a row).
    struct Pick {
        const ControlFactory* Factory = nullptr;
        const rt::Class* Row = nullptr;
    };
    Pick PickFor(const rt::Object& control) const;
    void Watch(QWidget* widget, rt::Object& control);
    DrawnLayer* LayerFor(rt::Object& parent, const Realized& parentWidgets, QPoint origin);
    // The control under a point of a watched widget, and the point in its coordinates.
    rt::Object* Resolve(QObject* watched, rt::Object* owner, QPoint& at) const;

    std::vector<std::unique_ptr<ControlFactory>> factories_;
    LookResolver resolver_;
    std::string formBorderStyle_ = "bsSizeable";
    rt::Object* form_ = nullptr;
    struct Entry {
        Realized Widgets;
        const ControlFactory* Factory = nullptr;
        DrawnLayer* Layer = nullptr;  // for a drawn control, what it is drawn on
        int Index = -1;               // and its place there
    };
    std::map<const rt::Object*, Entry> controls_;
    std::map<const QObject*, rt::Object*> owners_;  // every watched widget, to its control
    std::map<const QWidget*, DrawnLayer*> layers_;  // a parent's client widget, to its drawn controls
    std::vector<std::string> messages_;
    PictureBudget pictures_;
    PictureCache* decoded_ = nullptr;
    ImageListCache imageLists_;
    int realized_ = 0;
    long long leftOut_ = 0, tooDeep_ = 0;
    rt::Object* pressed_ = nullptr;
};

}  // namespace fw::preview
