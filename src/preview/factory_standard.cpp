// The standard controls: labels, edits, memos, push, bitmap and speed buttons, check
// and radio buttons, list and combo boxes, scroll bars, group boxes and radio groups,
// spin controls, the hot-key box, the file-system boxes and the data-aware look-alikes,
// each drawn as a Windows 10 desktop at 96 DPI shows it at run time.
//
// Captions show without their accelerator marks (Windows 10 hides the underlines until
// Alt is pressed). Data-aware controls show no data: the preview opens no dataset, so
// they look as at run time with nothing connected.
//
// This file holds the factory and its row table; each family draws in a file of its own
// (factory_labels, factory_edits, factory_buttons, factory_lists, factory_boxes).

#include "preview/standard_parts.h"

namespace fw::preview::standard {

namespace {

// ---------------------------------------------------------------------------------
// The factory

using Maker = Realized (*)(rt::Object&, QWidget*);

struct ClassMaker {
    std::string_view Name;  // lower case
    Maker Make;             // nullptr for the labels, which are drawn
};

constexpr ClassMaker Makers[] = {
    {"tlabel", nullptr},
    {"tstatictext", MakeStaticText},
    {"tedit", MakeEdit},
    {"tmaskedit", MakeEdit},
    {"tlabelededit", MakeLabeledEdit},
    {"tmemo", MakeMemo},
    {"tbutton", MakeButton},
    {"tbitbtn", MakeBitBtn},
    {"tspeedbutton", MakeSpeedButton},
    {"tcheckbox", MakeCheckBox},
    {"tradiobutton", MakeRadioButton},
    {"tlistbox", MakeListBox},
    {"tchecklistbox", MakeListBox},
    {"tcombobox", MakeComboBox},
    {"tcomboboxex", MakeComboBoxEx},
    {"tcolorbox", MakeColorBox},
    {"tscrollbar", MakeScrollBar},
    {"tgroupbox", MakeGroupBox},
    {"tradiogroup", MakeRadioGroup},
    {"tspinedit", MakeSpinEdit},
    {"tspinbutton", MakeSpinButton},
    {"thotkey", MakeHotKey},
    {"tfilelistbox", MakeFileListBox},
    {"tdirectorylistbox", MakeDirectoryListBox},
    {"tdrivecombobox", MakeDriveComboBox},
    {"tfiltercombobox", MakeFilterComboBox},
    {"tshellcombobox", MakeShellComboBox},
    {"tdbtext", nullptr},
    {"tdbedit", MakeEdit},
    {"tdbmemo", MakeMemo},
    {"tdblistbox", MakeListBox},
    {"tdbcombobox", MakeComboBox},
    {"tdbcheckbox", MakeCheckBox},
    {"tdbradiogroup", MakeRadioGroup},
    {"tdblookuplistbox", MakeEmptyList},
    {"tdblookupcombobox", MakeLookupCombo},
    {"tdblookuplist", MakeEmptyList},
    {"tdblookupcombo", MakeLookupCombo},
    {"tdbnavigator", MakeNavigator},
    // The library's abstract bases, so that a design package's class that descends
    // from one of them (and from no concrete class above) draws in its family's look.
    {"tcustomlabel", nullptr},
    {"tcustomstatictext", MakeStaticText},
    {"tcustomedit", MakeEdit},
    {"tcustommemo", MakeMemo},
    {"tcustombutton", MakeButton},
    {"tcustomcheckbox", MakeCheckBox},
    {"tcustomlistbox", MakeListBox},
    {"tcustomcombobox", MakeComboBox},
    {"tcustomgroupbox", MakeGroupBox},
    {"tcustomradiogroup", MakeRadioGroup},
};

const ClassMaker* FindMaker(std::string_view className) {
    return RowNamed(Makers, className);
}

// The row that draws a control: its own class's, or its nearest ancestor's.
const ClassMaker* MakerOf(const rt::Object& control, const RealizeContext& context) {
    return NearestRow(&LookClass(control, context), FindMaker);
}

class StandardFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "standard"; }
    bool Handles(const rt::Class& cls) const override { return NearestRow(&cls, FindMaker) != nullptr; }
    bool HasRow(std::string_view className) const override { return FindMaker(className) != nullptr; }
    std::unique_ptr<DrawnControl> Draw(rt::Object& control, RealizeContext& context) const override {
        const ClassMaker* maker = MakerOf(control, context);
        if (!maker || maker->Make) return nullptr;
        return DrawLabel(control);
    }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const ClassMaker* maker = MakerOf(control, context);
        if (!maker || !maker->Make) return {};
        Realized made = maker->Make(control, parent);
        ShowButtonImage(control, made.Widget, context);
        if (made.Widget) Quiet(made.Widget);
        return made;
    }
    void Finish(rt::Object& control, const Realized& self, RealizeContext&) const override {
        if (!self.Widget) return;
        if (auto* arranged = dynamic_cast<Arranged*>(self.Widget)) arranged->Arrange();
        if (rt::EqualsIgnoringCase(control.ClassName(), "TLabeledEdit"))
            AttachBoundLabel(control, self.Widget);
    }
};

}  // namespace

}  // namespace fw::preview::standard

namespace fw::preview {

std::unique_ptr<ControlFactory> MakeStandardFactory() {
    return std::make_unique<standard::StandardFactory>();
}

}  // namespace fw::preview
