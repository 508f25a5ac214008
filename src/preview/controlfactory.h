#pragma once
// Realising live controls as Qt widgets. Each family of control classes has a factory
// that knows how its controls look at run time; the realiser asks the factories in
// turn, places every widget at the bounds the runtime's layout gave its control, and
// puts the child controls into the container the factory names.
//
// The contract every factory keeps (checked by one test over all of them):
// - a control is either drawn or given a widget. Draw answers for the plain
//   non-windowed controls (labels, shapes, bevels, images, ...): the realiser paints
//   them onto their parent's client area in z-order below the parent's windowed
//   children, as the component library paints its graphic controls, so that a parent
//   of thousands of labels stays one widget with one paint. For every other control
//   Create makes exactly one widget, a child of the given parent, and does not place,
//   show or hide it;
// - either way the realiser places the control from Left, Top, Width and Height, shows
//   it by Visible and gives it its enabled state and tooltip (a drawn control's tooltip
//   and picking come from the widget it is drawn on);
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

#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/object.h"

class QImage;
class QPainter;

namespace fw::preview {

// A control's widget and the widget its child controls go into.
struct Realized {
    QWidget* Widget = nullptr;
    QWidget* Client = nullptr;
};

// Where a realised control sits: its rectangle in the widget that holds its parent's
// child controls (the parent's Client), whether it has a widget or is drawn.
struct Placement {
    QWidget* Parent = nullptr;  // nullptr for a control that was not realised
    QRect Bounds;
    bool Drawn = false;
    bool Visible = false;  // shown, as far as its own Visible goes
};

// A control drawn onto its parent instead of a widget of its own.
class DrawnControl {
public:
    virtual ~DrawnControl() = default;
    // Paints the control. The painter's origin is the control's top-left corner and it
    // is clipped to whole, the control's rectangle from (0, 0); enabled is the state the
    // realiser gave the control. Paint is called only while the control is on screen,
    // so costly parts (decoding a picture) may wait for the first call.
    virtual void Paint(QPainter& painter, const QRect& whole, bool enabled) const = 0;
    // The text the control shows, as the user reads it; empty for one without text.
    virtual QString Text() const { return {}; }
};

class ControlFactory;
class PictureBudget;
class PictureCache;

// What a factory may ask of the realiser.
class RealizeContext {
public:
    virtual ~RealizeContext() = default;
    // The realised widget of a control of this build, or an empty Realized.
    virtual Realized WidgetOf(const rt::Object& control) const = 0;
    // Where a control of this build sits, widget or drawn; Parent is nullptr for none.
    virtual Placement PlaceOf(const rt::Object& control) const = 0;
    // What the pictures of this build may still take once decoded.
    virtual PictureBudget& Pictures() = 0;
    // The preview's decoded pictures, kept from one showing to the next; nullptr for none.
    virtual PictureCache* DecodedPictures() { return nullptr; }
    // Adds a line to the preview's messages, as "KIND=text".
    virtual void Report(std::string message) = 0;
    // The form being realised.
    virtual const rt::Object& Form() const = 0;
    // The BorderStyle the form's text gives it ("bsSizeable" when it gives none): the
    // preview shows every form in a sizeable window, but what the form looks like
    // (a status bar's size grip) follows its own.
    virtual std::string FormBorderStyle() const { return "bsSizeable"; }
    // For a stand-in of a class the runtime does not know: the built-in class whose look
    // it borrows, or nullptr to draw it by its own class (as the framed box).
    virtual const rt::Class* LookClassOf(const rt::Object& control) const {
        (void)control;
        return nullptr;
    }
    // The image at index of an image list of this build (a control's Images), decoded
    // once per build; nullptr for no list, no image there or one that could not be read.
    // The factories copy what they keep.
    virtual const QImage* ImageOf(const rt::Object* imageList, int index) {
        (void)imageList, (void)index;
        return nullptr;
    }
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
    // Whether the family has a row of its own for exactly this class name (ignoring
    // case). The realiser walks a control's class ancestry across every family and uses
    // the family with the nearest row, so a class is drawn by the maker of its nearest
    // ancestor that has one; a factory without rows is asked by Handles after that walk,
    // before the fallback.
    virtual bool HasRow(std::string_view className) const {
        (void)className;
        return false;
    }
    // What draws the control onto its parent, or nullptr when it gets a widget from
    // Create. Asked before Create.
    virtual std::unique_ptr<DrawnControl> Draw(rt::Object& control, RealizeContext& context) const {
        (void)control, (void)context;
        return nullptr;
    }
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

// The factories of each family. Each factory's file (factory_standard.cpp, ...) holds its
// row table; the controls it draws are made in a file per kind of control
// (factory_labels.cpp, factory_lists.cpp, factory_pages.cpp, factory_trees.cpp, ...).
std::unique_ptr<ControlFactory> MakeStandardFactory();  // StdCtrls, Buttons, Mask, Spin, CheckLst, ExtCtrls'
                                                        // edits and boxes, their DB look-alikes
std::unique_ptr<ControlFactory>
MakeContainerFactory();  // panels, boxes, bevels, shapes, images, splitters, pages, bars
std::unique_ptr<ControlFactory>
MakeDataViewFactory();  // list and tree views, grids, pickers, calendars, rich edits, gauges
std::unique_ptr<ControlFactory> MakeWebFactory();  // the link label and the web browser
std::unique_ptr<ControlFactory>
MakeActionBarFactory();  // action menu and tool bars filled from their action manager
// The factory of last resort: a framed box with the control's name and class.
std::unique_ptr<ControlFactory> MakeFallbackFactory();

// Every factory in the order they are asked, the fallback last.
std::vector<std::unique_ptr<ControlFactory>> MakeAllFactories();

}  // namespace fw::preview
