#pragma once
// Realises a live form's controls as Qt widgets with the family factories, and keeps the
// two-way map between controls and widgets that picking, hovering and showing use.

#include <QObject>
#include <QPoint>
#include <map>
#include <memory>
#include <vector>

#include "preview/controlfactory.h"

class QStyle;

namespace fw::preview {

// The style every preview widget is drawn with: Qt's "Windows" style, which draws
// controls as Windows draws them. Made once for the process.
QStyle* PreviewStyle();

class FormRealizer : public QObject, public RealizeContext {
    Q_OBJECT
public:
    FormRealizer();
    ~FormRealizer() override;

    // Realises every control the form holds (its child controls, recursively, in
    // z-order) into client, the widget that stands for the form's client area. Each
    // widget gets its control's bounds, visibility, enabled state, tooltip (Hint when
    // ShowHint) and the preview style. A factory that throws leaves that control out.
    void Realize(rt::Object& form, QWidget* client);

    Realized WidgetOf(const rt::Object& control) const override;
    const rt::Object& Form() const override { return *form_; }
    // The control a widget (or any widget inside it) stands for; nullptr for none.
    rt::Object* ControlAt(const QWidget* widget) const;
    // Makes a control visible and brings it to the front through its parents: a tab
    // sheet becomes its page control's active page.
    void ShowControl(rt::Object& control);
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
    void Watch(QWidget* widget, rt::Object& control);

    std::vector<std::unique_ptr<ControlFactory>> factories_;
    rt::Object* form_ = nullptr;
    struct Entry {
        Realized Widgets;
        const ControlFactory* Factory = nullptr;
    };
    std::map<const rt::Object*, Entry> controls_;
    std::map<const QObject*, rt::Object*> owners_;  // every watched widget, to its control
    rt::Object* pressed_ = nullptr;
};

}  // namespace fw::preview
