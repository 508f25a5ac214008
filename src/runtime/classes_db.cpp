// The DB unit: datasets, fields, parameters, field and index definitions and the data
// source. The published properties and initial values are those of the 10.x generation of the component
// library and 11; older forms use a subset of them (Lookup and Calculated in place of FieldKind, for one) and
// read the same.
//
// Fields stand in forms as children of their dataset (object Table1Name: TStringField),
// so the field classes are components whose properties the reader sets like any
// other.

#include <cstddef>
#include <span>
#include <string_view>

#include "builtin.h"
#include "family_core.h"
#include "family_db.h"
#include "metadata.h"

namespace fw::rt {

namespace {

using def::EnumType;
using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;
using def::SetType;
using def::StringType;
using Group = std::span<const PropInfo>;

// The data types of fields and parameters, in ordinal order.
constexpr std::string_view FieldTypeNames[] = {
    "ftUnknown",      "ftString",      "ftSmallint", "ftInteger",       "ftWord",
    "ftBoolean",      "ftFloat",       "ftCurrency", "ftBCD",           "ftDate",
    "ftTime",         "ftDateTime",    "ftBytes",    "ftVarBytes",      "ftAutoInc",
    "ftBlob",         "ftMemo",        "ftGraphic",  "ftFmtMemo",       "ftParadoxOle",
    "ftDBaseOle",     "ftTypedBinary", "ftCursor",   "ftFixedChar",     "ftWideString",
    "ftLargeint",     "ftADT",         "ftArray",    "ftReference",     "ftDataSet",
    "ftOraBlob",      "ftOraClob",     "ftVariant",  "ftInterface",     "ftIDispatch",
    "ftGuid",         "ftTimeStamp",   "ftFMTBcd",   "ftFixedWideChar", "ftWideMemo",
    "ftOraTimeStamp", "ftOraInterval", "ftLongWord", "ftShortint",      "ftByte",
    "ftExtended",     "ftConnection",  "ftParams",   "ftStream",        "ftTimeStampOffset",
    "ftObject",       "ftSingle",
};
constexpr int FtBlob = 15;
static_assert(FieldTypeNames[FtBlob] == "ftBlob");

constexpr std::string_view FieldKindNames[] = {"fkData", "fkCalculated", "fkLookup", "fkInternalCalc",
                                               "fkAggregate"};
constexpr std::string_view AutoRefreshFlagNames[] = {"arNone", "arAutoInc", "arDefault"};
constexpr std::string_view ProviderFlagNames[] = {"pfInUpdate", "pfInWhere",         "pfInKey",
                                                  "pfHidden",   "pfRefreshOnInsert", "pfRefreshOnUpdate"};
constexpr std::string_view ParamTypeNames[] = {"ptUnknown", "ptInput", "ptOutput", "ptInputOutput",
                                               "ptResult"};
constexpr std::string_view FieldAttributeNames[] = {"faHiddenCol", "faReadonly", "faRequired",
                                                    "faLink",      "faUnNamed",  "faFixed"};
constexpr std::string_view IndexOptionNames[] = {"ixPrimary",         "ixUnique",     "ixDescending",
                                                 "ixCaseInsensitive", "ixExpression", "ixNonMaintained"};
constexpr std::string_view FilterOptionNames[] = {"foCaseInsensitive", "foNoPartialCompare"};
constexpr std::string_view UpdateModeNames[] = {"upWhereAll", "upWhereChanged", "upWhereKeyOnly"};

constexpr TypeInfo FieldKind = EnumType("TFieldKind", FieldKindNames);
constexpr TypeInfo AutoRefreshFlag = EnumType("TAutoRefreshFlag", AutoRefreshFlagNames);
constexpr TypeInfo ProviderFlag = EnumType("TProviderFlag", ProviderFlagNames);
constexpr TypeInfo ProviderFlags = SetType("TProviderFlags", ProviderFlag);
constexpr TypeInfo ParamType = EnumType("TParamType", ParamTypeNames);
constexpr TypeInfo FieldAttribute = EnumType("TFieldAttribute", FieldAttributeNames);
constexpr TypeInfo FieldAttributes = SetType("TFieldAttributes", FieldAttribute);
constexpr TypeInfo IndexOption = EnumType("TIndexOption", IndexOptionNames);
constexpr TypeInfo IndexOptions = SetType("TIndexOptions", IndexOption);
// A blob field's type is a subrange of the field types, ftBlob and up; it keeps their
// ordinals, so it shares their names and values below ftBlob simply never occur.
constexpr TypeInfo BlobType = EnumType("TBlobType", FieldTypeNames);
// The edit mask of a field, a string of its own type.
constexpr TypeInfo EditMask = StringType("TEditMask");

// Events of fields and of the data source.
constexpr TypeInfo FieldNotifyEvent = MethodType("TFieldNotifyEvent");
constexpr TypeInfo FieldGetTextEvent = MethodType("TFieldGetTextEvent");
constexpr TypeInfo FieldSetTextEvent = MethodType("TFieldSetTextEvent");
constexpr TypeInfo DataChangeEvent = MethodType("TDataChangeEvent");

}  // namespace

namespace ty {
const TypeInfo TDataSet = def::ClassType("TDataSet", cls::TDataSet);
const TypeInfo TDataSource = def::ClassType("TDataSource", cls::TDataSource);
const TypeInfo TDataSetField = def::ClassType("TDataSetField", cls::TDataSetField);
const TypeInfo TParams = def::ClassType("TParams", cls::TParams);
const TypeInfo TFieldDefs = def::ClassType("TFieldDefs", cls::TFieldDefs);
const TypeInfo TIndexDefs = def::ClassType("TIndexDefs", cls::TIndexDefs);
const TypeInfo TCheckConstraints = def::ClassType("TCheckConstraints", cls::TCheckConstraints);

const TypeInfo TUpdateMode = EnumType("TUpdateMode", UpdateModeNames);
const TypeInfo TFieldType = EnumType("TFieldType", FieldTypeNames);
const TypeInfo TFilterOption = EnumType("TFilterOption", FilterOptionNames);
const TypeInfo TFilterOptions = SetType("TFilterOptions", TFilterOption);

const TypeInfo TDataSetNotifyEvent = MethodType("TDataSetNotifyEvent");
const TypeInfo TDataSetErrorEvent = MethodType("TDataSetErrorEvent");
const TypeInfo TFilterRecordEvent = MethodType("TFilterRecordEvent");
const TypeInfo TUpdateErrorEvent = MethodType("TUpdateErrorEvent");
const TypeInfo TUpdateRecordEvent = MethodType("TUpdateRecordEvent");
}  // namespace ty

namespace grp {
constexpr PropInfo DataSetProps[5] = {
    {"Active", &ty::Boolean, dv::Bool(false)},
    {"AutoCalcFields", &ty::Boolean, dv::Bool(true)},
    {"Filter", &ty::String, dv::Str("")},
    {"Filtered", &ty::Boolean, dv::Bool(false)},
    {"FilterOptions", &ty::TFilterOptions, dv::Set({})},
};

constexpr PropInfo DataSetEvents[24] = {
    EventProp("BeforeOpen", ty::TDataSetNotifyEvent),    EventProp("AfterOpen", ty::TDataSetNotifyEvent),
    EventProp("BeforeClose", ty::TDataSetNotifyEvent),   EventProp("AfterClose", ty::TDataSetNotifyEvent),
    EventProp("BeforeInsert", ty::TDataSetNotifyEvent),  EventProp("AfterInsert", ty::TDataSetNotifyEvent),
    EventProp("BeforeEdit", ty::TDataSetNotifyEvent),    EventProp("AfterEdit", ty::TDataSetNotifyEvent),
    EventProp("BeforePost", ty::TDataSetNotifyEvent),    EventProp("AfterPost", ty::TDataSetNotifyEvent),
    EventProp("BeforeCancel", ty::TDataSetNotifyEvent),  EventProp("AfterCancel", ty::TDataSetNotifyEvent),
    EventProp("BeforeDelete", ty::TDataSetNotifyEvent),  EventProp("AfterDelete", ty::TDataSetNotifyEvent),
    EventProp("BeforeScroll", ty::TDataSetNotifyEvent),  EventProp("AfterScroll", ty::TDataSetNotifyEvent),
    EventProp("BeforeRefresh", ty::TDataSetNotifyEvent), EventProp("AfterRefresh", ty::TDataSetNotifyEvent),
    EventProp("OnCalcFields", ty::TDataSetNotifyEvent),  EventProp("OnDeleteError", ty::TDataSetErrorEvent),
    EventProp("OnEditError", ty::TDataSetErrorEvent),    EventProp("OnFilterRecord", ty::TFilterRecordEvent),
    EventProp("OnNewRecord", ty::TDataSetNotifyEvent),   EventProp("OnPostError", ty::TDataSetErrorEvent),
};

static_assert(AllRowsFilled(DataSetProps) && AllRowsFilled(DataSetEvents));
}  // namespace grp

namespace {

// TField. DisplayLabel and DisplayWidth are written when they differ from what the
// field works out from its name and size, so they have no fixed initial value; Index
// is never written (the order of the children gives it).
constexpr PropInfo FieldProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"AutoGenerateValue", &AutoRefreshFlag, dv::Int(0)},
    {"Calculated", &ty::Boolean, dv::Bool(false)},
    {"ConstraintErrorMessage", &ty::String, dv::Str("")},
    {"CustomConstraint", &ty::String, dv::Str("")},
    {"DefaultExpression", &ty::String, dv::Str("")},
    {"DisplayLabel", &ty::String},
    {"DisplayWidth", &ty::Integer},
    {"FieldKind", &FieldKind, dv::Int(0)},
    {"FieldName", &ty::String, dv::Str("")},
    {"HasConstraints", &ty::Boolean},
    {"ImportedConstraint", &ty::String, dv::Str("")},
    {"Index", &ty::Integer},
    {"KeyFields", &ty::String, dv::Str("")},
    {"Lookup", &ty::Boolean, dv::Bool(false)},
    {"LookupCache", &ty::Boolean, dv::Bool(false)},
    RefProp("LookupDataSet", ty::TDataSet),
    {"LookupKeyFields", &ty::String, dv::Str("")},
    {"LookupResultField", &ty::String, dv::Str("")},
    {"Origin", &ty::String, dv::Str("")},
    {"ProviderFlags", &ProviderFlags, dv::Set({0, 1})},  // pfInUpdate, pfInWhere
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"Required", &ty::Boolean, dv::Bool(false)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", FieldNotifyEvent),
    EventProp("OnGetText", FieldGetTextEvent),
    EventProp("OnSetText", FieldSetTextEvent),
    EventProp("OnValidate", FieldNotifyEvent),
};
constexpr Group FieldGroups[] = {FieldProps};

// Size is public in TField; each kind of field publishes it with its own initial value.
constexpr PropInfo StringFieldProps[] = {
    {"EditMask", &EditMask, dv::Str("")},
    {"FixedChar", &ty::Boolean, dv::Bool(false)},
    {"Size", &ty::Integer, dv::Int(20)},
    {"Transliterate", &ty::Boolean, dv::Bool(true)},
};
constexpr Group StringFieldGroups[] = {StringFieldProps};

constexpr PropInfo NumericFieldProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(1)},  // taRightJustify
    {"DisplayFormat", &ty::String, dv::Str("")},
    {"EditFormat", &ty::String, dv::Str("")},
};
constexpr Group NumericFieldGroups[] = {NumericFieldProps};

constexpr PropInfo IntegerFieldProps[] = {
    {"MaxValue", &ty::Integer, dv::Int(0)},
    {"MinValue", &ty::Integer, dv::Int(0)},
};
constexpr Group IntegerFieldGroups[] = {IntegerFieldProps};

// The float field's flag is spelt in lower case, the BCD field's in mixed case; names
// compare without regard to case, so both are the same property to a form.
constexpr PropInfo FloatFieldProps[] = {
    {"currency", &ty::Boolean, dv::Bool(false)},
    {"MaxValue", &ty::Double, dv::Real(0)},
    {"MinValue", &ty::Double, dv::Real(0)},
    {"Precision", &ty::Integer, dv::Int(15)},
};
constexpr Group FloatFieldGroups[] = {FloatFieldProps};

constexpr PropInfo CurrencyFieldProps[] = {
    {"Currency", &ty::Boolean, dv::Bool(true)},
};
constexpr Group CurrencyFieldGroups[] = {CurrencyFieldProps};

constexpr PropInfo BCDFieldProps[] = {
    {"Currency", &ty::Boolean, dv::Bool(false)}, {"MaxValue", &ty::Currency, dv::Real(0)},
    {"MinValue", &ty::Currency, dv::Real(0)},    {"Precision", &ty::Integer, dv::Int(0)},
    {"Size", &ty::Integer, dv::Int(4)},
};
constexpr Group BCDFieldGroups[] = {BCDFieldProps};

constexpr PropInfo BooleanFieldProps[] = {
    {"DisplayValues", &ty::String, dv::Str("")},
};
constexpr Group BooleanFieldGroups[] = {BooleanFieldProps};

constexpr PropInfo DateTimeFieldProps[] = {
    {"DisplayFormat", &ty::String, dv::Str("")},
    {"EditMask", &EditMask, dv::Str("")},
};
constexpr Group DateTimeFieldGroups[] = {DateTimeFieldProps};

constexpr PropInfo BinaryFieldProps[] = {
    {"Size", &ty::Integer, dv::Int(16)},
};
constexpr Group BinaryFieldGroups[] = {BinaryFieldProps};

// BlobType is written even for the blob kind a field class starts with (a memo field
// writes ftMemo), so it has no initial value to leave out.
constexpr PropInfo BlobFieldProps[] = {
    {"BlobType", &BlobType},
    {"Size", &ty::Integer, dv::Int(0)},
};
constexpr Group BlobFieldGroups[] = {BlobFieldProps};

constexpr PropInfo MemoFieldProps[] = {
    {"Transliterate", &ty::Boolean, dv::Bool(true)},
};
constexpr Group MemoFieldGroups[] = {MemoFieldProps};

constexpr PropInfo DataSetFieldProps[] = {
    {"IncludeObjectField", &ty::Boolean, dv::Bool(false)},
};
constexpr Group DataSetFieldGroups[] = {DataSetFieldProps};

// Parameters of queries and stored procedures. Queries write theirs as ParamData, a
// collection of these items.
constexpr PropInfo ParamProps[] = {
    {"DataType", &ty::TFieldType},
    {"Name", &ty::String, dv::Str("")},
    {"NumericScale", &ty::Integer, dv::Int(0)},
    {"ParamType", &ParamType},
    {"Precision", &ty::Integer, dv::Int(0)},
    {"Size", &ty::Integer, dv::Int(0)},
    {"Value", &ty::Variant},
};
constexpr Group ParamGroups[] = {ParamProps};

constexpr PropInfo NamedItemProps[] = {
    {"Name", &ty::String, dv::Str("")},
};
constexpr Group NamedItemGroups[] = {NamedItemProps};

// A field definition's DataType starts as ftUnknown. Required stands for the faRequired
// element of Attributes; older forms write it on its own.
constexpr PropInfo FieldDefProps[] = {
    {"Attributes", &FieldAttributes, dv::Set({})}, OwnedProp("ChildDefs", ty::TFieldDefs),
    {"DataType", &ty::TFieldType, dv::Int(0)},     {"Precision", &ty::Integer, dv::Int(0)},
    {"Required", &ty::Boolean, dv::Bool(false)},   {"Size", &ty::Integer, dv::Int(0)},
};
constexpr Group FieldDefGroups[] = {FieldDefProps};

constexpr PropInfo IndexDefProps[] = {
    {"CaseInsFields", &ty::String, dv::Str("")}, {"DescFields", &ty::String, dv::Str("")},
    {"Expression", &ty::String, dv::Str("")},    {"Fields", &ty::String, dv::Str("")},
    {"GroupingLevel", &ty::Integer, dv::Int(0)}, {"Options", &IndexOptions, dv::Set({})},
    {"Source", &ty::String, dv::Str("")},
};
constexpr Group IndexDefGroups[] = {IndexDefProps};

constexpr PropInfo CheckConstraintProps[] = {
    {"CustomConstraint", &ty::String, dv::Str("")},
    {"ErrorMessage", &ty::String, dv::Str("")},
    {"FromDictionary", &ty::Boolean, dv::Bool(true)},
    {"ImportedConstraint", &ty::String, dv::Str("")},
};
constexpr Group CheckConstraintGroups[] = {CheckConstraintProps};

constexpr PropInfo DataSourceProps[] = {
    {"AutoEdit", &ty::Boolean, dv::Bool(true)},   RefProp("DataSet", ty::TDataSet),
    {"Enabled", &ty::Boolean, dv::Bool(true)},    EventProp("OnDataChange", DataChangeEvent),
    EventProp("OnStateChange", ty::TNotifyEvent), EventProp("OnUpdateData", ty::TNotifyEvent),
};
constexpr Group DataSourceGroups[] = {DataSourceProps};

}  // namespace

namespace cls {
// Datasets and connections publish nothing themselves: each concrete class publishes
// its own selection (see grp::DataSetProps).
const ClassInfo TDataSet = {"TDataSet", &TComponent, "DB"};
const ClassInfo TCustomConnection = {"TCustomConnection", &TComponent, "DB"};
const ClassInfo TDataSource = {"TDataSource", &TComponent, "DB", DataSourceGroups};

// Fields.
const ClassInfo TField = {"TField", &TComponent, "DB", FieldGroups};
const ClassInfo TStringField = {"TStringField", &TField, "DB", StringFieldGroups};
const ClassInfo TNumericField = {"TNumericField", &TField, "DB", NumericFieldGroups};
const ClassInfo TIntegerField = {"TIntegerField", &TNumericField, "DB", IntegerFieldGroups};
const ClassInfo TSmallintField = {"TSmallintField", &TIntegerField, "DB"};
const ClassInfo TWordField = {"TWordField", &TIntegerField, "DB"};
const ClassInfo TAutoIncField = {"TAutoIncField", &TIntegerField, "DB"};
const ClassInfo TFloatField = {"TFloatField", &TNumericField, "DB", FloatFieldGroups};
const ClassInfo TCurrencyField = {"TCurrencyField", &TFloatField, "DB", CurrencyFieldGroups};
const ClassInfo TBCDField = {"TBCDField", &TNumericField, "DB", BCDFieldGroups};
const ClassInfo TBooleanField = {"TBooleanField", &TField, "DB", BooleanFieldGroups};
const ClassInfo TDateTimeField = {"TDateTimeField", &TField, "DB", DateTimeFieldGroups};
const ClassInfo TDateField = {"TDateField", &TDateTimeField, "DB"};
const ClassInfo TTimeField = {"TTimeField", &TDateTimeField, "DB"};
const ClassInfo TBinaryField = {"TBinaryField", &TField, "DB", BinaryFieldGroups};
const ClassInfo TBytesField = {"TBytesField", &TBinaryField, "DB"};
const ClassInfo TVarBytesField = {"TVarBytesField", &TBytesField, "DB"};
const ClassInfo TBlobField = {"TBlobField", &TField, "DB", BlobFieldGroups};
const ClassInfo TMemoField = {"TMemoField", &TBlobField, "DB", MemoFieldGroups};
const ClassInfo TGraphicField = {"TGraphicField", &TBlobField, "DB"};
const ClassInfo TObjectField = {"TObjectField", &TField, "DB"};
const ClassInfo TDataSetField = {"TDataSetField", &TObjectField, "DB", DataSetFieldGroups};

// Parameters.
const ClassInfo TParam = {"TParam", &TCollectionItem, "DB", ParamGroups};
const ClassInfo TParams = {"TParams", &TCollection, "DB", {}, 0, &TParam};

// Field and index definitions, and check constraints.
const ClassInfo TNamedItem = {"TNamedItem", &TCollectionItem, "DB", NamedItemGroups};
const ClassInfo TDefCollection = {"TDefCollection", &TOwnedCollection, "DB", {}, 0, &TNamedItem};
const ClassInfo TFieldDef = {"TFieldDef", &TNamedItem, "DB", FieldDefGroups};
const ClassInfo TFieldDefs = {"TFieldDefs", &TDefCollection, "DB", {}, 0, &TFieldDef};
const ClassInfo TIndexDef = {"TIndexDef", &TNamedItem, "DB", IndexDefGroups};
const ClassInfo TIndexDefs = {"TIndexDefs", &TDefCollection, "DB", {}, 0, &TIndexDef};
const ClassInfo TCheckConstraint = {"TCheckConstraint", &TCollectionItem, "DB", CheckConstraintGroups};
const ClassInfo TCheckConstraints = {"TCheckConstraints", &TCollection, "DB", {}, 0, &TCheckConstraint};
}  // namespace cls

}  // namespace fw::rt
