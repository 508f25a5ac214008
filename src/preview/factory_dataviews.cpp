// Data views: list and tree views, grids, date pickers and calendars, rich edits,
// outlines, gauges, colour grids, charts and the small arrow controls, drawn as their
// Windows controls look when the program runs.
//
// Item data that list and tree views keep in their own binary layouts is decoded here
// with a bound on every read: a block that is cut short, claims impossible counts or
// sizes, or follows a layout this code does not know shows what could be read before
// the fault, never more. Every control makes at most MaxEntries rows, items, nodes or
// grid lines of cells, whatever the form claims.
//
// This file holds the factory and its row table; each family draws in a file of its own
// (factory_trees, factory_grids, factory_pickers, factory_richedit, factory_gauges,
// factory_charts).

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

namespace {

// ---------------------------------------------------------------------------------
// The factory

using Builder = QWidget* (*)(const rt::Object&, QWidget*);

struct ClassEntry {
    std::string_view Name;
    Builder Build;
    bool HoldsControls;
};

QWidget* MakeUpDown(const rt::Object& control, QWidget* parent) {
    return MakeArrowPair(control, parent, EnumOf(control, "Orientation") != "udHorizontal");
}

QWidget* MakeScroller(const rt::Object& control, QWidget* parent) {
    return MakeArrowPair(control, parent, false);
}

constexpr ClassEntry Classes[] = {
    {"TListView", MakeListView, false},
    {"TShellListView", MakeListView, false},
    {"TTreeView", MakeTreeView, false},
    {"TShellTreeView", MakeTreeView, false},
    {"TStringGrid", MakeStringGrid, false},
    {"TDrawGrid", MakeStringGrid, false},
    {"TDBGrid", MakeDBGrid, false},
    {"TValueListEditor", MakeValueListEditor, false},
    {"TTrackBar", MakeTrackBar, false},
    {"TProgressBar", MakeProgressBar, false},
    {"TUpDown", MakeUpDown, false},
    {"TDateTimePicker", MakeDateTimePicker, false},
    {"TMonthCalendar", MakeMonthCalendar, false},
    {"TCalendar", MakeCalendarGrid, false},
    {"TRichEdit", MakeRichEdit, false},
    {"TDBRichEdit", MakeRichEdit, false},
    {"TOutline", MakeOutline, false},
    {"TDirectoryOutline", MakeOutline, false},
    {"TGauge", MakeGauge, false},
    {"TColorGrid", MakeColorGrid, false},
    {"TChart", MakeChart, true},
    {"TDBChart", MakeChart, true},
    {"TScroller", MakeScroller, false},
};

const ClassEntry* EntryOf(std::string_view className) {
    return RowNamed(Classes, className);
}

class DataViewFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "dataviews"; }
    bool Handles(const rt::Class& cls) const override { return NearestRow(&cls, EntryOf) != nullptr; }
    bool HasRow(std::string_view className) const override { return EntryOf(className) != nullptr; }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const ClassEntry* entry = NearestRow(&LookClass(control, context), EntryOf);
        if (!entry) return {};
        QWidget* widget = entry->Build(control, parent);
        if (!widget) return {};
        NoFocusAll(widget);
        ShowItemImages(control, widget, context);
        return {widget, entry->HoldsControls ? widget : nullptr};
    }
};

}  // namespace

}  // namespace fw::preview::dataviews

namespace fw::preview {

std::unique_ptr<ControlFactory> MakeDataViewFactory() {
    return std::make_unique<dataviews::DataViewFactory>();
}

}  // namespace fw::preview
