// The values classes write themselves, one row per value. A row names the class that
// writes the value; its descendants write it too. Rows are consulted only for names
// the object's class does not publish, so a value that newer classes publish (such as
// a form's PixelsPerInch) may still have a row for the classes that do not.

#include "storedvalues.h"

#include <algorithm>

namespace fw::rt {

namespace {

using S = StoredShape;

constexpr StoredValueRule Rules[] = {
    // Forms and data modules: the screen resolution and font height the form was
    // designed at, and the creation order of old forms.
    {"TCustomForm", "PixelsPerInch", S::Integer},
    {"TCustomForm", "TextHeight", S::Integer},
    {"TCustomForm", "OldCreateOrder", S::Boolean},
    {"TCustomFrame", "PixelsPerInch", S::Integer},
    {"TDataModule", "PixelsPerInch", S::Integer},
    {"TDataModule", "OldCreateOrder", S::Boolean},
    {"TDataModule", "Height", S::Integer},
    {"TDataModule", "Width", S::Integer},
    {"TDataModule", "HorizontalOffset", S::Integer},
    {"TDataModule", "VerticalOffset", S::Integer},

    // Controls: the bounds a control had before its alignment moved it, the size of
    // its client area when it was designed (anchors keep their distances to it), and
    // the mark of a control dropped on a form as a control.
    {"TControl", "ExplicitLeft", S::Integer},
    {"TControl", "ExplicitTop", S::Integer},
    {"TControl", "ExplicitWidth", S::Integer},
    {"TControl", "ExplicitHeight", S::Integer},
    {"TControl", "IsControl", S::Boolean},
    {"TWinControl", "DesignSize", S::IntegerList, {}, 2},

    // Any component: its place in the form designer. Controls publish Left and Top,
    // so these rows serve the non-visual components only.
    {"TComponent", "Left", S::Integer},
    {"TComponent", "Top", S::Integer},

    // String lists write their lines, pictures and graphics their data.
    {"TStrings", "Strings", S::Lines},
    {"TPicture", "Data", S::Picture},
    {"TGraphic", "Data", S::Graphic},

    // Image lists: all images in one block.
    {"TCustomImageList", "Bitmap", S::Binary},

    // Tree and list view items, in the controls' own binary layouts.
    {"TTreeNodes", "Data", S::Binary},
    {"TTreeNodes", "NodeData", S::Binary},
    {"TListItems", "Data", S::Binary},
    {"TListItems", "ItemData", S::Binary},
    // A column's width kind, written as a list of one number (-1 for the text's
    // width, -2 for the header's).
    {"TListColumn", "WidthType", S::IntegerList, {}, 1},

    // Grids: the widths and heights that differ from the defaults.
    {"TCustomGrid", "ColWidths", S::IntegerList},
    {"TCustomGrid", "RowHeights", S::IntegerList},

    // Datasets write their parameters as ParamData, read into Params.
    {"TQuery", "ParamData", S::Collection, "Params"},
    {"TStoredProc", "ParamData", S::Collection, "Params"},
    // A client dataset's rows, in its own binary packet.
    {"TCustomClientDataSet", "Data", S::Binary},

    // An OLE container's object, a DDE conversation's service and topic.
    {"TOleContainer", "Data", S::Binary},
    // An OLE control's object state (a web browser's, for one).
    {"TOleControl", "ControlData", S::Binary},
    {"TDdeClientConv", "LinkInfo", S::StringList},

    // The action manager's style, by name, where the class does not publish it.
    {"TActionManager", "StyleName", S::String},
    // Charts: the class name of the canvas they draw on, the print margins in percent
    // of the page (left, top, right, bottom) and the index of their series palette.
    {"TCustomTeePanel", "DefaultCanvas", S::String},
    {"TCustomTeePanel", "PrintMargins", S::IntegerList, {}, 4},
    {"TCustomAxisPanel", "ColorPaletteIndex", S::Integer},
};

}  // namespace

const StoredValueRule* FindStoredValue(const Class& cls, std::string_view name) {
    for (const StoredValueRule& rule : Rules)
        if (EqualsIgnoringCase(rule.Name, name) && cls.InheritsFrom(rule.ClassName)) return &rule;
    return nullptr;
}

std::span<const StoredValueRule> StoredValueRules() {
    return Rules;
}

}  // namespace fw::rt
