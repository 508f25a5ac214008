#pragma once
// Realising live controls as Qt widgets. Each family of control classes has a factory
// that knows how its controls look at run time; the realiser asks the factories in
// turn, places every widget at the bounds the runtime's layout gave its control, and
// puts the child controls into the container the factory names.
//
// The contract every factory keeps (checked by one test over all of them):
// - Create makes exactly one widget for the control, a child of the given parent, and
//   does not place, show or hide it: the realiser sets its geometry from Left, Top,
//   Width and Height, its visibility from Visible, its enabled state, tooltip and
//   cursor;
// - the widget draws what the control shows at run time from the control's published
//   properties (captions, items, lines, fonts, colours, pictures, borders);
// - Client names the widget that holds the child controls at their own Left/Top, or
//   nullptr for a control that shows no children; when Client is the control's own
//   widget, the realiser moves the children in by the control's border (a bsSingle
//   edge, BevelKind), otherwise Client must already sit at the client area's origin;
// - Finish runs after the children are realised (a page control builds its tabs from
//   its sheets there), and ShowChild brings one child to the front (the active page);
// - nothing from the control is executed and no value makes a factory throw or crash:
//   missing or odd values fall back to the control's defaults.

#include <QWidget>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/object.h"

namespace fw::preview {

// A control's widget and the widget its child controls go into.
struct Realized {
    QWidget* Widget = nullptr;
    QWidget* Client = nullptr;
};

class ControlFactory;

// What a factory may ask of the realiser.
class RealizeContext {
public:
    virtual ~RealizeContext() = default;
    // The realised widget of a control of this build, or an empty Realized.
    virtual Realized WidgetOf(const rt::Object& control) const = 0;
    // The form being realised.
    virtual const rt::Object& Form() const = 0;
};

class ControlFactory {
public:
    virtual ~ControlFactory() = default;
    // The family's name, for tests and messages ("standard", "extra", "common", ...).
    virtual std::string_view Family() const = 0;
    // Whether this factory realises controls of the class. Factories are asked in order
    // and the first that answers yes is used, so a factory may take a whole branch of
    // classes by ancestry.
    virtual bool Handles(const rt::Class& cls) const = 0;
    // Makes the control's widget as a child of parent.
    virtual Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const = 0;
    // Runs once the control's child controls have their widgets.
    virtual void Finish(rt::Object& control, const Realized& self, RealizeContext& context) const {
        (void)control, (void)self, (void)context;
    }
    // Brings a child control to the front: a page control activates the sheet.
    virtual void ShowChild(rt::Object& control, const Realized& self, rt::Object& child,
                           RealizeContext& context) const {
        (void)control, (void)self, (void)child, (void)context;
    }
};

// The factories of each family, defined in one file each.
std::unique_ptr<ControlFactory> MakeStandardFactory();  // StdCtrls, Buttons, Mask, Spin, CheckLst, ExtCtrls' edits and boxes, their DB look-alikes
std::unique_ptr<ControlFactory> MakeContainerFactory();  // panels, boxes, bevels, shapes, images, splitters, pages, bars
std::unique_ptr<ControlFactory> MakeDataViewFactory();   // list and tree views, grids, pickers, calendars, rich edits, gauges
// The factory of last resort: a framed box with the control's name and class.
std::unique_ptr<ControlFactory> MakeFallbackFactory();

// Every factory in the order they are asked, the fallback last.
std::vector<std::unique_ptr<ControlFactory>> MakeAllFactories();

}  // namespace fw::preview
