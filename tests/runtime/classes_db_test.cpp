// The data-access class tables: datasets and fields, the BDE classes, the data-aware
// controls. Spot checks of the properties forms lean on, the true ancestry of the
// classes, and a sweep over the properties real forms set on these classes.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/registry.h"
#include "runtime_test_support.h"

namespace {

using namespace fw::rt;
namespace fs = std::filesystem;

const ClassRegistry& Registry() {
    static const auto registry = MakeBuiltinRegistry();
    return *registry;
}

std::int64_t Bits(std::initializer_list<int> ordinals) {
    std::int64_t mask = 0;
    for (int o : ordinals)
        mask |= std::int64_t{1} << o;
    return mask;
}

// An initial value as a test row states it.
struct Expected {
    DefaultValue::Kind Which;
    std::int64_t Ordinal = 0;
    double Float = 0;
    std::string Text = {};
};
Expected NoDefault() {
    return {DefaultValue::Kind::None};
}
Expected Ord(std::int64_t v) {
    return {DefaultValue::Kind::Ordinal, v};
}
Expected Flt(double v) {
    return {DefaultValue::Kind::Float, 0, v};
}
Expected Txt(std::string v) {
    return {DefaultValue::Kind::Text, 0, 0, std::move(v)};
}

struct PropCase {
    const char* ClassName;
    const char* Property;
    const char* TypeName;
    TypeKind Kind;
    Expected Default;
    PropHolding Holding = PropHolding::Value;
};

const PropCase PropCases[] = {
    // Fields: the values a new field starts with, inherited ones included.
    {"TStringField", "Size", "Integer", TypeKind::tkInteger, Ord(20)},
    {"TStringField", "Transliterate", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TStringField", "FieldName", "string", TypeKind::tkLString, Txt("")},
    {"TStringField", "Alignment", "TAlignment", TypeKind::tkEnumeration, Ord(0)},
    {"TStringField", "ProviderFlags", "TProviderFlags", TypeKind::tkSet, Ord(Bits({0, 1}))},
    {"TStringField", "FieldKind", "TFieldKind", TypeKind::tkEnumeration, Ord(0)},
    {"TStringField", "Visible", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TStringField", "LookupDataSet", "TDataSet", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TStringField", "OnGetText", "TFieldGetTextEvent", TypeKind::tkMethod, NoDefault()},
    {"TStringField", "OnValidate", "TFieldNotifyEvent", TypeKind::tkMethod, NoDefault()},
    // Numbers are right-aligned from TNumericField down.
    {"TIntegerField", "Alignment", "TAlignment", TypeKind::tkEnumeration, Ord(1)},
    {"TAutoIncField", "Alignment", "TAlignment", TypeKind::tkEnumeration, Ord(1)},
    {"TSmallintField", "MaxValue", "Integer", TypeKind::tkInteger, Ord(0)},
    {"TFloatField", "Precision", "Integer", TypeKind::tkInteger, Ord(15)},
    {"TFloatField", "currency", "Boolean", TypeKind::tkEnumeration, Ord(0)},
    {"TFloatField", "MaxValue", "Double", TypeKind::tkFloat, Flt(0)},
    {"TCurrencyField", "Currency", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TBCDField", "Size", "Integer", TypeKind::tkInteger, Ord(4)},
    {"TBCDField", "MinValue", "Currency", TypeKind::tkFloat, Flt(0)},
    {"TBytesField", "Size", "Integer", TypeKind::tkInteger, Ord(16)},
    {"TVarBytesField", "Size", "Integer", TypeKind::tkInteger, Ord(16)},
    {"TDateTimeField", "DisplayFormat", "string", TypeKind::tkLString, Txt("")},
    {"TDateField", "EditMask", "TEditMask", TypeKind::tkLString, Txt("")},
    {"TBooleanField", "DisplayValues", "string", TypeKind::tkLString, Txt("")},
    // A memo field writes BlobType = ftMemo although it starts as one: no initial
    // value may hide it.
    {"TMemoField", "BlobType", "TBlobType", TypeKind::tkEnumeration, NoDefault()},
    {"TMemoField", "Transliterate", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TGraphicField", "Size", "Integer", TypeKind::tkInteger, Ord(0)},
    // The data source.
    {"TDataSource", "AutoEdit", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDataSource", "Enabled", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDataSource", "DataSet", "TDataSet", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TDataSource", "OnDataChange", "TDataChangeEvent", TypeKind::tkMethod, NoDefault()},
    // The BDE datasets.
    {"TQuery", "SQL", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TQuery", "Params", "TParams", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TQuery", "ParamCheck", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TQuery", "DataSource", "TDataSource", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TQuery", "Active", "Boolean", TypeKind::tkEnumeration, Ord(0)},
    {"TQuery", "AutoCalcFields", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TQuery", "FilterOptions", "TFilterOptions", TypeKind::tkSet, Ord(0)},
    {"TQuery", "BeforeOpen", "TDataSetNotifyEvent", TypeKind::tkMethod, NoDefault()},
    {"TQuery", "OnPostError", "TDataSetErrorEvent", TypeKind::tkMethod, NoDefault()},
    {"TQuery", "UpdateObject", "TDataSetUpdateObject", TypeKind::tkClass, NoDefault(),
     PropHolding::Reference},
    {"TTable", "TableName", "TFileName", TypeKind::tkLString, Txt("")},
    {"TTable", "TableType", "TTableType", TypeKind::tkEnumeration, Ord(0)},
    {"TTable", "FieldDefs", "TFieldDefs", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TTable", "IndexDefs", "TIndexDefs", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TTable", "MasterSource", "TDataSource", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TTable", "DefaultIndex", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TStoredProc", "StoredProcName", "string", TypeKind::tkLString, Txt("")},
    {"TNestedTable", "DataSetField", "TDataSetField", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TDatabase", "LoginPrompt", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDatabase", "TransIsolation", "TTransIsolation", TypeKind::tkEnumeration, Ord(1)},
    {"TDatabase", "Params", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TSession", "KeepConnections", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TBatchMove", "Destination", "TTable", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TBatchMove", "Mappings", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TUpdateSQL", "ModifySQL", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TUpdateSQL", "InsertSQL", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    // The grid: default options dgEditing, dgTitles, dgIndicator, dgColumnResize,
    // dgColLines, dgRowLines, dgTabs, dgConfirmDelete, dgCancelOnExit, dgTitleClick,
    // dgTitleHotTrack.
    {"TDBGrid", "Options", "TDBGridOptions", TypeKind::tkSet,
     Ord(Bits({0, 2, 3, 4, 5, 6, 7, 10, 11, 13, 14}))},
    {"TDBGrid", "DataSource", "TDataSource", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TDBGrid", "Columns", "TDBGridColumns", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TDBGrid", "TitleFont", "TFont", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TDBGrid", "TabStop", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDBGrid", "OnDrawColumnCell", "TDrawColumnCellEvent", TypeKind::tkMethod, NoDefault()},
    {"TDBGrid", "OnTitleClick", "TDBGridClickEvent", TypeKind::tkMethod, NoDefault()},
    {"TDBGrid", "Margins", "TMargins", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TColumn", "Expanded", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TColumn", "Title", "TColumnTitle", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TColumn", "PickList", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TColumn", "ButtonStyle", "TColumnButtonStyle", TypeKind::tkEnumeration, Ord(0)},
    // A new column is shown and 64 pixels wide until its field says otherwise; forms
    // may still write Visible = True (with Expanded = False), which reads the same.
    {"TColumn", "Visible", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TColumn", "Width", "Integer", TypeKind::tkInteger, Ord(64)},
    {"TColumnTitle", "Caption", "string", TypeKind::tkLString, NoDefault()},
    // The single-field controls.
    {"TDBEdit", "DataField", "string", TypeKind::tkLString, Txt("")},
    {"TDBEdit", "DataSource", "TDataSource", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TDBEdit", "TabStop", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDBEdit", "CharCase", "TEditCharCase", TypeKind::tkEnumeration, Ord(0)},
    {"TDBEdit", "Color", "TColor", TypeKind::tkInteger, Ord(-0x1000000 + 5)},  // clWindow
    {"TDBText", "AutoSize", "Boolean", TypeKind::tkEnumeration, Ord(0)},
    {"TDBText", "ParentColor", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDBMemo", "ScrollBars", "TScrollStyle", TypeKind::tkEnumeration, Ord(0)},
    {"TDBMemo", "AutoDisplay", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDBCheckBox", "ValueChecked", "string", TypeKind::tkLString, Txt("True")},
    {"TDBCheckBox", "ValueUnchecked", "string", TypeKind::tkLString, Txt("False")},
    {"TDBCheckBox", "Alignment", "TLeftRight", TypeKind::tkEnumeration, Ord(1)},
    {"TDBRadioGroup", "Values", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TDBRadioGroup", "Items", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TDBComboBox", "Items", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TDBComboBox", "Style", "TComboBoxStyle", TypeKind::tkEnumeration, Ord(0)},
    {"TDBImage", "Stretch", "Boolean", TypeKind::tkEnumeration, Ord(0)},
    {"TDBImage", "Center", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDBNavigator", "VisibleButtons", "TNavButtonSet", TypeKind::tkSet,
     Ord(Bits({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}))},
    {"TDBNavigator", "OnClick", "ENavClick", TypeKind::tkMethod, NoDefault()},
    {"TDBNavigator", "ConfirmDelete", "Boolean", TypeKind::tkEnumeration, Ord(1)},
    {"TDBNavigator", "Hints", "TStrings", TypeKind::tkClass, NoDefault(), PropHolding::Owned},
    {"TDBLookupComboBox", "ListSource", "TDataSource", TypeKind::tkClass, NoDefault(),
     PropHolding::Reference},
    {"TDBLookupComboBox", "KeyField", "string", TypeKind::tkLString, Txt("")},
    {"TDBLookupComboBox", "DropDownRows", "Integer", TypeKind::tkInteger, Ord(7)},
    {"TDBLookupListBox", "ListField", "string", TypeKind::tkLString, Txt("")},
    {"TDBRichEdit", "PlainText", "Boolean", TypeKind::tkEnumeration, Ord(0)},
    {"TDBCtrlGrid", "RowCount", "Integer", TypeKind::tkInteger, Ord(3)},
    {"TDBCtrlGrid", "PanelBorder", "TDBCtrlGridBorder", TypeKind::tkEnumeration, Ord(1)},
    {"TDBLookupCombo", "LookupSource", "TDataSource", TypeKind::tkClass, NoDefault(), PropHolding::Reference},
    {"TDBLookupList", "Options", "TDBLookupListOptions", TypeKind::tkSet, Ord(0)},
    {"TDBChart", "AutoRefresh", "Boolean", TypeKind::tkEnumeration, Ord(1)},
};

TEST(DataClasses, PropertiesHaveTheirTypesAndInitialValues) {
    for (const PropCase& c : PropCases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Class* cls = Registry().FindClassByName(c.ClassName);
        ASSERT_NE(cls, nullptr);
        const Property* p = cls->FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Type().Name, c.TypeName);
        EXPECT_EQ(p->Kind(), c.Kind);
        EXPECT_EQ(p->Info->Holding, c.Holding);
        const DefaultValue& d = p->Info->Default;
        EXPECT_EQ(d.Which, c.Default.Which);
        if (d.Which != c.Default.Which) continue;
        switch (d.Which) {
            case DefaultValue::Kind::Ordinal:
                EXPECT_EQ(d.Ordinal, c.Default.Ordinal);
                break;
            case DefaultValue::Kind::Float:
                EXPECT_EQ(d.Float, c.Default.Float);
                break;
            case DefaultValue::Kind::Text:
                EXPECT_EQ(std::string(d.Text), c.Default.Text);
                break;
            case DefaultValue::Kind::None:
                break;
        }
    }
}

// Each class with its ancestors, nearest first, as far as the ancestry is the data
// family's own concern.
struct AncestryCase {
    const char* ClassName;
    std::vector<const char*> Ancestors;
};

const AncestryCase AncestryCases[] = {
    {"TAutoIncField", {"TIntegerField", "TNumericField", "TField", "TComponent", "TPersistent", "TObject"}},
    {"TSmallintField", {"TIntegerField", "TNumericField", "TField"}},
    {"TWordField", {"TIntegerField", "TNumericField", "TField"}},
    {"TCurrencyField", {"TFloatField", "TNumericField", "TField"}},
    {"TBCDField", {"TNumericField", "TField"}},
    {"TDateField", {"TDateTimeField", "TField"}},
    {"TTimeField", {"TDateTimeField", "TField"}},
    {"TVarBytesField", {"TBytesField", "TBinaryField", "TField"}},
    {"TMemoField", {"TBlobField", "TField"}},
    {"TGraphicField", {"TBlobField", "TField"}},
    {"TStringField", {"TField", "TComponent"}},
    {"TBooleanField", {"TField"}},
    {"TParams", {"TCollection", "TPersistent"}},
    {"TDataSource", {"TComponent"}},
    {"TTable", {"TDBDataSet", "TBDEDataSet", "TDataSet", "TComponent"}},
    {"TQuery", {"TDBDataSet", "TBDEDataSet", "TDataSet", "TComponent"}},
    {"TStoredProc", {"TDBDataSet", "TBDEDataSet", "TDataSet"}},
    {"TNestedTable", {"TBDEDataSet", "TDataSet"}},
    {"TDatabase", {"TCustomConnection", "TComponent"}},
    {"TSession", {"TComponent"}},
    {"TBatchMove", {"TComponent"}},
    {"TUpdateSQL", {"TDataSetUpdateObject", "TComponent"}},
    {"TColumn", {"TCollectionItem", "TPersistent"}},
    {"TColumnTitle", {"TPersistent", "TObject"}},
    {"TDBGrid", {"TCustomDBGrid", "TCustomGrid", "TCustomControl", "TWinControl", "TControl"}},
    {"TDBEdit", {"TCustomMaskEdit", "TCustomEdit", "TWinControl", "TControl"}},
    {"TDBText", {"TCustomLabel", "TGraphicControl", "TControl"}},
    {"TDBMemo", {"TCustomMemo", "TCustomEdit", "TWinControl"}},
    {"TDBImage", {"TCustomControl", "TWinControl"}},
    {"TDBListBox", {"TCustomListBox"}},
    {"TDBComboBox", {"TCustomComboBox"}},
    {"TDBCheckBox", {"TCustomCheckBox", "TButtonControl", "TWinControl"}},
    {"TDBRadioGroup", {"TCustomRadioGroup", "TCustomGroupBox", "TCustomControl"}},
    {"TDBNavigator", {"TCustomPanel", "TCustomControl", "TWinControl"}},
    {"TDBLookupListBox", {"TDBLookupControl", "TCustomControl", "TWinControl"}},
    {"TDBLookupComboBox", {"TDBLookupControl", "TCustomControl", "TWinControl"}},
    {"TDBRichEdit", {"TCustomRichEdit", "TCustomMemo", "TCustomEdit"}},
    {"TDBCtrlGrid", {"TWinControl", "TControl"}},
    {"TDBLookupCombo", {"TCustomEdit", "TWinControl"}},
    {"TDBLookupList", {"TCustomDBGrid", "TCustomGrid"}},
    {"TDBChart", {"TCustomDBChart", "TCustomChart"}},
};

TEST(DataClasses, HaveTheirTrueAncestry) {
    for (const AncestryCase& c : AncestryCases) {
        SCOPED_TRACE(c.ClassName);
        const Class* cls = Registry().FindClassByName(c.ClassName);
        ASSERT_NE(cls, nullptr);
        const Class* ancestor = cls->Parent();
        for (const char* expected : c.Ancestors) {
            ASSERT_NE(ancestor, nullptr) << "chain ends before " << expected;
            EXPECT_EQ(ancestor->Name(), expected);
            ancestor = ancestor->Parent();
        }
    }
}

TEST(DataClasses, CollectionsHaveTheirItemClasses) {
    struct Case {
        const char* Owner;
        const char* Property;
        const char* ItemClass;
    };
    const Case cases[] = {
        {"TQuery", "Params", "TParam"},
        {"TStoredProc", "Params", "TParam"},
        {"TDBGrid", "Columns", "TColumn"},
        {"TTable", "FieldDefs", "TFieldDef"},
        {"TTable", "IndexDefs", "TIndexDef"},
        {"TTable", "Constraints", "TCheckConstraint"},
        {"TADOQuery", "Parameters", "TParameter"},
        {"TADOStoredProc", "Parameters", "TParameter"},
        {"TADODataSet", "Parameters", "TParameter"},
        {"TADOCommand", "Parameters", "TParameter"},
        {"TClientDataSet", "Aggregates", "TAggregate"},
        {"TClientDataSet", "Params", "TParam"},
    };
    ClassRegistry registry;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Owner) + "." + c.Property);
        const Class* owner = Registry().FindClassByName(c.Owner);
        ASSERT_NE(owner, nullptr);
        const Property* p = owner->FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        ASSERT_NE(p->Type().ClassType, nullptr);
        const Class& collection = registry.Of(*p->Type().ClassType);
        EXPECT_TRUE(collection.Has(CfCollection));
        ASSERT_NE(collection.ItemClass(), nullptr);
        EXPECT_EQ(collection.ItemClass()->Name(), c.ItemClass);
        EXPECT_TRUE(collection.ItemClass()->Has(CfCollectionItem));
    }
}

// Forms write enumeration values by name, so a name at the wrong ordinal reads as the
// wrong value.
TEST(DataClasses, EnumerationsKeepTheirOrdinals) {
    struct Case {
        const char* ClassName;
        const char* Property;
        int Ordinal;
        const char* Name;
    };
    const Case cases[] = {
        {"TStringField", "FieldKind", 2, "fkLookup"},
        {"TMemoField", "BlobType", 15, "ftBlob"},
        {"TMemoField", "BlobType", 16, "ftMemo"},
        {"TGraphicField", "BlobType", 17, "ftGraphic"},
        {"TMemoField", "BlobType", 24, "ftWideString"},
        {"TMemoField", "BlobType", 39, "ftWideMemo"},
        {"TMemoField", "BlobType", 51, "ftSingle"},
        {"TDBGrid", "Options", 8, "dgRowSelect"},
        {"TDBGrid", "Options", 12, "dgMultiSelect"},
        {"TDBGrid", "Options", 14, "dgTitleHotTrack"},
        {"TDBNavigator", "VisibleButtons", 9, "nbRefresh"},
        {"TDBNavigator", "VisibleButtons", 11, "nbCancelUpdates"},
        {"TTable", "TableType", 4, "ttASCII"},
        {"TTable", "UpdateMode", 2, "upWhereKeyOnly"},
        {"TBatchMove", "Mode", 4, "batCopy"},
        {"TDatabase", "TransIsolation", 2, "tiRepeatableRead"},
        {"TStringField", "ProviderFlags", 5, "pfRefreshOnUpdate"},
        {"TStringField", "AutoGenerateValue", 1, "arAutoInc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Class* cls = Registry().FindClassByName(c.ClassName);
        ASSERT_NE(cls, nullptr);
        const Property* p = cls->FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        const TypeInfo* e = p->Kind() == TypeKind::tkSet ? p->Type().ElementType : &p->Type();
        ASSERT_NE(e, nullptr);
        ASSERT_LT(c.Ordinal, static_cast<int>(e->EnumNames.size()));
        EXPECT_EQ(e->EnumNames[static_cast<std::size_t>(c.Ordinal)], c.Name);
    }
}

TEST(DataClasses, ParamsAndFieldDefsShareTheFieldTypes) {
    ClassRegistry registry;
    const Class* params = Registry().FindClassByName("TParams");
    ASSERT_NE(params, nullptr);
    ASSERT_NE(params->ItemClass(), nullptr);
    const Property* paramType = params->ItemClass()->FindProperty("DataType");
    const Class* table = Registry().FindClassByName("TTable");
    ASSERT_NE(table, nullptr);
    const Class& fieldDefs = registry.Of(*table->FindProperty("FieldDefs")->Type().ClassType);
    ASSERT_NE(fieldDefs.ItemClass(), nullptr);
    const Property* defType = fieldDefs.ItemClass()->FindProperty("DataType");
    ASSERT_NE(paramType, nullptr);
    ASSERT_NE(defType, nullptr);
    EXPECT_EQ(&paramType->Type(), &defType->Type());
    EXPECT_EQ(paramType->Type().EnumNames.size(), 52u);
    EXPECT_EQ(paramType->Type().EnumNames.front(), "ftUnknown");
}

// Fields, datasets and data sources are components that sit on a form without being
// controls; the data-aware controls are controls, windowed except the text label.
TEST(DataClasses, KindOfObject) {
    struct Case {
        const char* ClassName;
        bool Control;
        bool Windowed;
    };
    const Case cases[] = {
        {"TStringField", false, false}, {"TDataSource", false, false}, {"TQuery", false, false},
        {"TDatabase", false, false},    {"TDBText", true, false},      {"TDBEdit", true, true},
        {"TDBGrid", true, true},        {"TDBNavigator", true, true},  {"TDBCtrlGrid", true, true},
        {"TDBChart", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ClassName);
        const Class* cls = Registry().FindClassByName(c.ClassName);
        ASSERT_NE(cls, nullptr);
        EXPECT_TRUE(cls->Has(CfComponent));
        EXPECT_EQ(cls->Has(CfControl), c.Control);
        EXPECT_EQ(cls->Has(CfWinControl), c.Windowed);
    }
}

// Fields do not show in PROPERTIES.tsv; these are the properties the corpus forms set
// on them (object Table1Name: TStringField ... end inside a dataset).
TEST(DataClasses, FieldsKnowWhatRealFormsSet) {
    struct Case {
        const char* ClassName;
        std::vector<const char*> Properties;
    };
    const Case cases[] = {
        {"TStringField",
         {"FieldName", "Origin", "Size", "DisplayWidth", "FieldKind", "Calculated", "Required",
          "DisplayLabel", "Visible", "ReadOnly", "Lookup", "LookupDataSet", "LookupKeyFields",
          "LookupResultField", "KeyFields", "FixedChar", "ProviderFlags", "Tag"}},
        {"TFloatField",
         {"FieldName", "Origin", "Alignment", "Calculated", "DisplayLabel", "DisplayWidth", "FieldKind",
          "OnValidate", "ProviderFlags", "Required", "Visible", "DisplayFormat"}},
        {"TCurrencyField",
         {"FieldName", "Calculated", "DisplayLabel", "DisplayWidth", "FieldKind", "KeyFields", "Lookup",
          "LookupDataSet", "LookupKeyFields", "LookupResultField", "Origin", "Required", "Visible"}},
        {"TIntegerField", {"FieldName", "Origin", "ProviderFlags", "Required", "Visible"}},
        {"TSmallintField", {"FieldName", "Origin", "DisplayLabel", "Required"}},
        {"TDateTimeField",
         {"FieldName", "DisplayFormat", "DisplayLabel", "DisplayWidth", "OnValidate", "Origin"}},
        {"TBooleanField", {"FieldName", "Calculated", "DisplayValues", "DisplayWidth", "FieldKind"}},
        {"TMemoField", {"FieldName", "BlobType", "DisplayWidth", "Origin", "ReadOnly", "Size"}},
        {"TGraphicField", {"FieldName", "BlobType", "DisplayWidth", "ReadOnly"}},
        {"TBlobField", {"FieldName", "Origin", "ReadOnly", "Size"}},
    };
    for (const Case& c : cases) {
        const Class* cls = Registry().FindClassByName(c.ClassName);
        ASSERT_NE(cls, nullptr) << c.ClassName;
        for (const char* name : c.Properties)
            EXPECT_NE(cls->FindProperty(name), nullptr) << c.ClassName << "." << name;
    }
}

// What real forms set on the data classes must be found on them. PROPERTIES.tsv in the
// corpus lists, per class, the property paths forms set; the first part of a path
// (Font of Font.Height) must be a published property, except for the values a class
// writes itself and the properties only .lfm forms carry.
TEST(DataClasses, KnowWhatRealFormsSet) {
    const fs::path forms = fs::path(FW_CORPUS_DIR) / "forms";
    if (fwtest::CorpusMissing(forms)) return;
    const std::set<std::string> classes = {
        "TParams",        "TAutoIncField",    "TBCDField",
        "TField",         "TBlobField",       "TBooleanField",
        "TBytesField",    "TFloatField",      "TGraphicField",
        "TCurrencyField", "TDateField",       "TDateTimeField",
        "TSmallintField", "TIntegerField",    "TStringField",
        "TMemoField",     "TTimeField",       "TVarBytesField",
        "TWordField",     "TDataSource",      "TTable",
        "TQuery",         "TStoredProc",      "TDatabase",
        "TSession",       "TBatchMove",       "TUpdateSQL",
        "TNestedTable",   "TColumn",          "TColumnTitle",
        "TDBGrid",        "TDBNavigator",     "TDBText",
        "TDBEdit",        "TDBMemo",          "TDBImage",
        "TDBListBox",     "TDBComboBox",      "TDBCheckBox",
        "TDBRadioGroup",  "TDBLookupListBox", "TDBLookupComboBox",
        "TDBRichEdit",    "TDBCtrlGrid",      "TDBLookupList",
        "TDBLookupCombo", "TDBChart",         "TADOConnection",
        "TADOQuery",      "TADOTable",        "TADOStoredProc",
        "TADODataSet",    "TADOCommand",      "TClientDataSet",
    };
    // Written by the class itself, not published: a query's parameters, and a
    // non-visual component's place on the design surface (Left, Top).
    const std::set<std::string> writtenByClass = {"ParamData"};
    // .lfm forms only: the layout helpers of its controls, and what its navigator,
    // radio group and grid publish beyond ours.
    const std::set<std::string> lfmOnly = {"AnchorSideLeft",   "AnchorSideRight", "AnchorSideTop",
                                           "AnchorSideBottom", "BorderSpacing",   "ChildSizing",
                                           "ClientHeight",     "ClientWidth"};
    const std::set<std::pair<std::string, std::string>> lfmOnlyOn = {
        {"TDBNavigator", "BevelOuter"}, {"TDBNavigator", "Options"}, {"TDBNavigator", "Font"},
        {"TDBNavigator", "ParentFont"}, {"TDBGrid", "FixedCols"},    {"TDBRadioGroup", "AutoFill"},
    };

    const auto rows = fwtest::PropertyRows(forms);
    ASSERT_FALSE(rows.empty()) << "PROPERTIES.tsv is missing";
    int checked = 0;
    for (const auto& [className, path] : rows) {
        if (!classes.count(className)) continue;
        const std::string first = path.substr(0, path.find('.'));
        if (writtenByClass.count(first) || lfmOnly.count(first) || lfmOnlyOn.count({className, first}))
            continue;
        const Class* cls = Registry().FindClassByName(className);
        ASSERT_NE(cls, nullptr) << className;
        if (!cls->Has(CfControl) && (first == "Left" || first == "Top")) continue;
        EXPECT_NE(cls->FindProperty(first), nullptr) << className << "." << path;
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no row of PROPERTIES.tsv names a data class";
}

}  // namespace
