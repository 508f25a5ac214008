#pragma once
// The packages most tests load: "widgets" with classes of every kind the loader meets,
// and "gadgets", which requires widgets and derives from one of its classes.

#include <string>

#include "testpackage.h"

namespace fwtest {

// "@$xp$" + the qualified name's length + the name: how a package imports a type.
inline std::string TypeSymbol(const std::string& qualified) {
    return "@$xp$" + std::to_string(qualified.size()) + qualified;
}
inline TestTypeRef VclType(const std::string& qualified) {
    return TestTypeRef::Imported("vcl.bpl", TypeSymbol(qualified));
}
inline TestTypeRef RtlType(const std::string& qualified) {
    return TestTypeRef::Imported("rtl.bpl", TypeSymbol(qualified));
}

// Indexes of the widgets package's types and classes.
namespace widgets {
enum Type { TWidgetMode, TWidgetStyle, TWidgetStyles, TPingEvent, TWidgetText, TShortName, TRatio };
enum Class { TWidgetBase, TWidget, TWidgetOptions, TButton, TWidgetList, TButtonGroup, TWidgetX };
}  // namespace widgets

// Classes (record distance, parent):
//   TWidgetBase     76  TCustomControl of vcl    Align, OnClick
//   TWidget         88  TWidgetBase              a property of each kind, see below
//   TWidgetOptions  64  TPersistent of vcl       Value, Title
//   TButton         76  TCustomControl of vcl    (named like a built-in class)
//   TWidgetList     76  none                     (not a persistent class)
//   TButtonGroup    76  TCustomControl of vcl    (named like a fallback class)
//   TWidgetX        64  TWidget, linked to its class reference directly
// TWidget publishes Count (Integer, default 3), Mode (TWidgetMode, default wmTwo),
// Styles (set of TWidgetStyle), Caption (a Unicode string), ShortName (a short string),
// Ratio (Double), Options (TWidgetOptions), Buddy (TComponent), Link (TWidgetBase),
// OnPing (TPingEvent), Color (TColor), Mystery (an imported type nobody knows).
inline TestPackage WidgetsPackage() {
    using namespace widgets;
    TestPackage p;
    p.ModuleName = "widgets.bpl";
    p.Contains = {"WidgetUnit", "WidgetReg"};
    p.Types = {
        {kind::Enumeration, "TWidgetMode", {"wmOne", "wmTwo", "wmThree"}, {}, 1},
        {kind::Enumeration, "TWidgetStyle", {"wsFlat", "wsRaised", "wsBold"}, {}, 1},
        {kind::Set, "TWidgetStyles", {}, TestTypeRef::Type(TWidgetStyle), 1},
        {kind::Method, "TPingEvent", {}, {}, 1},
        {kind::UString, "TWidgetText", {}, {}, 1},
        {kind::ShortString, "TShortName", {}, {}, 1},
        {kind::Float, "TRatio", {}, {}, 1},
    };
    const TestImportRef customControl = VclClass("Controls", "TCustomControl");
    TestClass base{.Name = "TWidgetBase", .Distance = 76, .ParentImport = customControl};
    base.Unit = "WidgetUnit";
    base.Properties = {{.Name = "Align", .Type = VclType("Controls@TAlign")},
                       {.Name = "OnClick", .Type = RtlType("Classes@TNotifyEvent")}};
    TestClass widget{.Name = "TWidget", .Distance = 88, .ParentLocal = TWidgetBase};
    widget.Unit = "WidgetUnit";
    widget.Properties = {
        {"Count", RtlType("System@Integer"), 3},
        {"Mode", TestTypeRef::Type(TWidgetMode), 1},
        {"Styles", TestTypeRef::Type(TWidgetStyles), 0},
        {.Name = "Caption", .Type = TestTypeRef::Type(TWidgetText)},
        {.Name = "ShortName", .Type = TestTypeRef::Type(TShortName)},
        {.Name = "Ratio", .Type = TestTypeRef::Type(TRatio)},
        {.Name = "Options", .Type = TestTypeRef::Class(TWidgetOptions)},
        {.Name = "Buddy", .Type = RtlType("Classes@TComponent")},
        {.Name = "Link", .Type = TestTypeRef::Class(TWidgetBase)},
        {.Name = "OnPing", .Type = TestTypeRef::Type(TPingEvent)},
        {.Name = "Color", .Type = VclType("Graphics@TColor")},
        {.Name = "Mystery", .Type = RtlType("Secret@TMystery")},
    };
    TestClass options{
        .Name = "TWidgetOptions", .Distance = 64, .ParentImport = VclClass("Classes", "TPersistent")};
    options.Unit = "WidgetUnit";
    options.Properties = {{.Name = "Value", .Type = RtlType("System@Integer")},
                          {.Name = "Title", .Type = TestTypeRef::Type(TWidgetText)}};
    TestClass button{.Name = "TButton", .Distance = 76, .ParentImport = customControl};
    TestClass list{.Name = "TWidgetList", .Distance = 76};
    TestClass group{.Name = "TButtonGroup", .Distance = 76, .ParentImport = customControl};
    TestClass x{.Name = "TWidgetX", .Distance = 64, .ParentLocal = TWidget, .ParentDirect = true};
    p.Classes = {base, widget, options, button, list, group, x};
    return p;
}
// The classes of WidgetsPackage a registry with only the built-in classes takes.
inline constexpr int WidgetsNewClasses = 5;

// Classes: TGadget (76, TWidget of widgets), TWidget (76, TCustomControl), TGadgetPanel
// (88, TPanel of vcl). TGadget publishes Mode, typed by widgets' TWidgetMode.
inline TestPackage GadgetsPackage() {
    TestPackage p;
    p.ModuleName = "gadgets.bpl";
    p.Requires = {"rtl", "vcl", "widgets"};
    p.Contains = {"GadgetUnit"};
    TestClass gadget{
        .Name = "TGadget", .Distance = 76, .ParentImport = {"widgets.bpl", "@WidgetUnit@TWidget@"}};
    gadget.Unit = "GadgetUnit";
    gadget.Properties = {
        {"Mode", TestTypeRef::Imported("widgets.bpl", TypeSymbol("WidgetUnit@TWidgetMode")), 0}};
    TestClass widget{
        .Name = "TWidget", .Distance = 76, .ParentImport = VclClass("Controls", "TCustomControl")};
    widget.Unit = "GadgetUnit";
    TestClass panel{.Name = "TGadgetPanel", .Distance = 88, .ParentImport = VclClass("ExtCtrls", "TPanel")};
    panel.Unit = "GadgetUnit";
    p.Classes = {gadget, widget, panel};
    return p;
}

}  // namespace fwtest
