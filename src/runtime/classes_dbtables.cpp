// The DBTables unit: the BDE session, database, the table, query and stored
// procedure datasets, batch moves, update objects and nested tables. Published
// properties and initial values as in the 10.x and 11 generations of the component library.
//
// A query or stored procedure does not write its Params collection under that name:
// it writes it as ParamData, a collection of TParam items, which the reader handles.

#include <span>
#include <string_view>

#include "builtin.h"
#include "family_core.h"
#include "family_db.h"
#include "metadata.h"

namespace fw::rt {

namespace cls {
extern const ClassInfo TBDEDataSet, TDBDataSet, TDataSetUpdateObject;
}  // namespace cls

namespace {

using def::EnumType;
using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;
using def::StringType;
using Group = std::span<const PropInfo>;

constexpr std::string_view TableTypeNames[] = {"ttDefault", "ttParadox", "ttDBase", "ttFoxPro", "ttASCII"};
constexpr std::string_view BatchModeNames[] = {"batAppend", "batUpdate", "batAppendUpdate", "batDelete",
                                               "batCopy"};
constexpr std::string_view TransIsolationNames[] = {"tiDirtyRead", "tiReadCommitted", "tiRepeatableRead"};
constexpr std::string_view ParamBindModeNames[] = {"pbByName", "pbByNumber"};

constexpr TypeInfo TableType = EnumType("TTableType", TableTypeNames);
constexpr TypeInfo BatchMode = EnumType("TBatchMode", BatchModeNames);
constexpr TypeInfo TransIsolation = EnumType("TTransIsolation", TransIsolationNames);
constexpr TypeInfo ParamBindMode = EnumType("TParamBindMode", ParamBindModeNames);
// Table and file names are strings of a type of their own.
constexpr TypeInfo FileName = StringType("TFileName");

constexpr TypeInfo TableRef = def::ClassType("TTable", cls::TTable);
constexpr TypeInfo BDEDataSetRef = def::ClassType("TBDEDataSet", cls::TBDEDataSet);
constexpr TypeInfo UpdateObjectRef = def::ClassType("TDataSetUpdateObject", cls::TDataSetUpdateObject);

constexpr TypeInfo DatabaseLoginEvent = MethodType("TDatabaseLoginEvent");
constexpr TypeInfo PasswordEvent = MethodType("TPasswordEvent");
constexpr TypeInfo DatabaseNotifyEvent = MethodType("TDatabaseNotifyEvent");

// What the BDE datasets add to every dataset: cached updates and their events.
constexpr PropInfo BDEDataSetProps[] = {
    {"AutoRefresh", &ty::Boolean, dv::Bool(false)},    {"CachedUpdates", &ty::Boolean, dv::Bool(false)},
    {"ObjectView", &ty::Boolean, dv::Bool(false)},     RefProp("UpdateObject", UpdateObjectRef),
    EventProp("OnUpdateError", ty::TUpdateErrorEvent), EventProp("OnUpdateRecord", ty::TUpdateRecordEvent),
};

// The datasets that reach their data through a named database.
constexpr PropInfo DBDataSetProps[] = {
    {"DatabaseName", &ty::String, dv::Str("")},
    {"SessionName", &ty::String, dv::Str("")},
};
constexpr Group DBDataSetGroups[] = {grp::DataSetProps, grp::DataSetEvents, BDEDataSetProps, DBDataSetProps};

constexpr PropInfo TableProps[] = {
    OwnedProp("Constraints", ty::TCheckConstraints), {"DefaultIndex", &ty::Boolean, dv::Bool(true)},
    {"Exclusive", &ty::Boolean, dv::Bool(false)},    OwnedProp("FieldDefs", ty::TFieldDefs),
    OwnedProp("IndexDefs", ty::TIndexDefs),          {"IndexFieldNames", &ty::String, dv::Str("")},
    OwnedProp("IndexFiles", ty::TStrings),           {"IndexName", &ty::String, dv::Str("")},
    {"MasterFields", &ty::String, dv::Str("")},      RefProp("MasterSource", ty::TDataSource),
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},     {"StoreDefs", &ty::Boolean, dv::Bool(false)},
    {"TableLevel", &ty::Integer, dv::Int(0)},        {"TableName", &FileName, dv::Str("")},
    {"TableType", &TableType, dv::Int(0)},           {"UpdateMode", &ty::TUpdateMode, dv::Int(0)},
};
constexpr Group TableGroups[] = {TableProps};

// Params is not written under its own name (see the top of the file).
constexpr PropInfo QueryProps[] = {
    {"Constrained", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Constraints", ty::TCheckConstraints),
    RefProp("DataSource", ty::TDataSource),
    {"ParamCheck", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Params", ty::TParams),
    {"RequestLive", &ty::Boolean, dv::Bool(false)},
    OwnedProp("SQL", ty::TStrings),
    {"UniDirectional", &ty::Boolean, dv::Bool(false)},
    {"UpdateMode", &ty::TUpdateMode, dv::Int(0)},
};
constexpr Group QueryGroups[] = {QueryProps};

constexpr PropInfo StoredProcProps[] = {
    {"Overload", &ty::Word, dv::Int(0)},
    {"ParamBindMode", &ParamBindMode, dv::Int(0)},
    OwnedProp("Params", ty::TParams),
    {"StoredProcName", &ty::String, dv::Str("")},
};
constexpr Group StoredProcGroups[] = {StoredProcProps};

constexpr PropInfo NestedTableProps[] = {
    RefProp("DataSetField", ty::TDataSetField),
};
constexpr Group NestedTableGroups[] = {grp::DataSetProps, grp::DataSetEvents, BDEDataSetProps,
                                       NestedTableProps};

// TCustomConnection's Connected, LoginPrompt and connect events are published here.
constexpr PropInfo DatabaseProps[] = {
    {"AliasName", &ty::String, dv::Str("")},
    {"Connected", &ty::Boolean, dv::Bool(false)},
    {"DatabaseName", &ty::String, dv::Str("")},
    {"DriverName", &ty::String, dv::Str("")},
    {"Exclusive", &ty::Boolean, dv::Bool(false)},
    {"HandleShared", &ty::Boolean, dv::Bool(false)},
    {"KeepConnection", &ty::Boolean, dv::Bool(true)},
    {"LoginPrompt", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Params", ty::TStrings),
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"SessionName", &ty::String, dv::Str("")},
    {"TransIsolation", &TransIsolation, dv::Int(1)},  // tiReadCommitted
    EventProp("AfterConnect", ty::TNotifyEvent),
    EventProp("AfterDisconnect", ty::TNotifyEvent),
    EventProp("BeforeConnect", ty::TNotifyEvent),
    EventProp("BeforeDisconnect", ty::TNotifyEvent),
    EventProp("OnLogin", DatabaseLoginEvent),
};
constexpr Group DatabaseGroups[] = {DatabaseProps};

constexpr PropInfo SessionProps[] = {
    {"Active", &ty::Boolean, dv::Bool(false)},
    {"AutoSessionName", &ty::Boolean, dv::Bool(false)},
    {"KeepConnections", &ty::Boolean, dv::Bool(true)},
    {"NetFileDir", &ty::String, dv::Str("")},
    {"PrivateDir", &ty::String, dv::Str("")},
    {"SessionName", &ty::String, dv::Str("")},
    {"SQLHourGlass", &ty::Boolean, dv::Bool(true)},
    EventProp("OnDBNotify", DatabaseNotifyEvent),
    EventProp("OnPassword", PasswordEvent),
    EventProp("OnStartup", ty::TNotifyEvent),
};
constexpr Group SessionGroups[] = {SessionProps};

constexpr PropInfo BatchMoveProps[] = {
    {"AbortOnKeyViol", &ty::Boolean, dv::Bool(true)},
    {"AbortOnProblem", &ty::Boolean, dv::Bool(true)},
    {"ChangedTableName", &FileName, dv::Str("")},
    {"CommitCount", &ty::Integer, dv::Int(0)},
    RefProp("Destination", TableRef),
    {"KeyViolTableName", &FileName, dv::Str("")},
    OwnedProp("Mappings", ty::TStrings),
    {"Mode", &BatchMode, dv::Int(0)},
    {"ProblemTableName", &FileName, dv::Str("")},
    {"RecordCount", &ty::Integer, dv::Int(0)},
    RefProp("Source", BDEDataSetRef),
    {"Transliterate", &ty::Boolean, dv::Bool(true)},
};
constexpr Group BatchMoveGroups[] = {BatchMoveProps};

constexpr PropInfo UpdateSQLProps[] = {
    OwnedProp("DeleteSQL", ty::TStrings),
    OwnedProp("InsertSQL", ty::TStrings),
    OwnedProp("ModifySQL", ty::TStrings),
};
constexpr Group UpdateSQLGroups[] = {UpdateSQLProps};

}  // namespace

namespace cls {
// The BDE dataset ancestors publish nothing; TDBDataSet publishes what the table,
// query and stored procedure share.
const ClassInfo TBDEDataSet = {"TBDEDataSet", &TDataSet, "DBTables"};
const ClassInfo TDBDataSet = {"TDBDataSet", &TBDEDataSet, "DBTables", DBDataSetGroups};
const ClassInfo TTable = {"TTable", &TDBDataSet, "DBTables", TableGroups};
const ClassInfo TQuery = {"TQuery", &TDBDataSet, "DBTables", QueryGroups};
const ClassInfo TStoredProc = {"TStoredProc", &TDBDataSet, "DBTables", StoredProcGroups};
const ClassInfo TNestedTable = {"TNestedTable", &TBDEDataSet, "DBTables", NestedTableGroups};

const ClassInfo TDatabase = {"TDatabase", &TCustomConnection, "DBTables", DatabaseGroups};
const ClassInfo TSession = {"TSession", &TComponent, "DBTables", SessionGroups};
const ClassInfo TBatchMove = {"TBatchMove", &TComponent, "DBTables", BatchMoveGroups};
const ClassInfo TDataSetUpdateObject = {"TDataSetUpdateObject", &TComponent, "DBTables"};
const ClassInfo TUpdateSQL = {"TUpdateSQL", &TDataSetUpdateObject, "DBTables", UpdateSQLGroups};
}  // namespace cls

}  // namespace fw::rt
