// The ADO data-access components: the connection, the query, table, stored procedure
// and general datasets, and the command. The datasets publish TDataSet's properties
// and events like every concrete dataset, plus where their rows come from (Connection
// or ConnectionString, SQL, TableName, ProcedureName, CommandText), how the cursor
// works (CursorLocation, CursorType, LockType) and their Parameters collection.

#include "builtin.h"
#include "family_core.h"
#include "family_db.h"

namespace fw::rt {

using def::EnumType;
using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;
using def::SetType;

namespace cls {
extern const ClassInfo TParameter, TParameters, TCustomADODataSet;
}  // namespace cls

namespace {

constexpr std::string_view CursorLocationNames[] = {"clUseServer", "clUseClient"};
constexpr TypeInfo CursorLocationType = EnumType("TCursorLocation", CursorLocationNames);
constexpr std::string_view CursorTypeNames[] = {"ctUnspecified", "ctOpenForwardOnly", "ctKeyset", "ctDynamic",
                                                "ctStatic"};
constexpr TypeInfo CursorTypeType = EnumType("TCursorType", CursorTypeNames);
constexpr std::string_view LockTypeNames[] = {"ltUnspecified", "ltReadOnly", "ltPessimistic", "ltOptimistic",
                                              "ltBatchOptimistic"};
constexpr TypeInfo LockTypeType = EnumType("TADOLockType", LockTypeNames);
constexpr std::string_view CommandTypeNames[] = {"cmdUnknown",    "cmdText", "cmdTable",
                                                 "cmdStoredProc", "cmdFile", "cmdTableDirect"};
constexpr TypeInfo CommandTypeType = EnumType("TCommandType", CommandTypeNames);
constexpr std::string_view ExecuteOptionNames[] = {"eoAsyncExecute", "eoAsyncFetch",
                                                   "eoAsyncFetchNonBlocking", "eoExecuteNoRecords"};
constexpr TypeInfo ExecuteOptionType = EnumType("TExecuteOption", ExecuteOptionNames);
constexpr TypeInfo ExecuteOptionsType = SetType("TExecuteOptions", ExecuteOptionType);
constexpr std::string_view MarshalOptionNames[] = {"moMarshalAll", "moMarshalModifiedOnly"};
constexpr TypeInfo MarshalOptionType = EnumType("TMarshalOption", MarshalOptionNames);
constexpr std::string_view IsolationLevelNames[] = {
    "ilUnspecified",   "ilChaos",          "ilReadUncommitted", "ilBrowse",  "ilCursorStability",
    "ilReadCommitted", "ilRepeatableRead", "ilSerializable",    "ilIsolated"};
constexpr TypeInfo IsolationLevelType = EnumType("TIsolationLevel", IsolationLevelNames);
constexpr std::string_view ConnectModeNames[] = {"cmUnknown",        "cmRead",          "cmWrite",
                                                 "cmReadWrite",      "cmShareDenyRead", "cmShareDenyWrite",
                                                 "cmShareExclusive", "cmShareDenyNone"};
constexpr TypeInfo ConnectModeType = EnumType("TConnectMode", ConnectModeNames);
constexpr std::string_view ConnectOptionNames[] = {"coConnectUnspecified", "coAsyncConnect"};
constexpr TypeInfo ConnectOptionType = EnumType("TConnectOption", ConnectOptionNames);
constexpr std::string_view XactAttributeNames[] = {"xaCommitRetaining", "xaAbortRetaining"};
constexpr TypeInfo XactAttributeType = EnumType("TXactAttribute", XactAttributeNames);
constexpr TypeInfo XactAttributesType = SetType("TXactAttributes", XactAttributeType);
constexpr TypeInfo LoginEventType = MethodType("TLoginEvent");

// A parameter of a query, stored procedure or command.
constexpr std::string_view ParameterAttributeNames[] = {"paSigned", "paNullable", "paLong"};
constexpr TypeInfo ParameterAttributeType = EnumType("TParameterAttribute", ParameterAttributeNames);
constexpr TypeInfo ParameterAttributesType = SetType("TParameterAttributes", ParameterAttributeType);
constexpr std::string_view ParameterDirectionNames[] = {"pdUnknown", "pdInput", "pdOutput", "pdInputOutput",
                                                        "pdReturnValue"};
constexpr TypeInfo ParameterDirectionType = EnumType("TParameterDirection", ParameterDirectionNames);
constexpr PropInfo ParameterProps[] = {
    {"Attributes", &ParameterAttributesType, dv::Set({})},
    {"DataType", &ty::TFieldType, dv::Int(0)},           // ftUnknown
    {"Direction", &ParameterDirectionType, dv::Int(1)},  // pdInput
    {"Name", &ty::WideString, dv::Str("")},
    {"NumericScale", &ty::Byte, dv::Int(0)},
    {"Precision", &ty::Byte, dv::Int(0)},
    {"Size", &ty::Integer, dv::Int(0)},
    {"Value", &ty::Variant, dv::None()},
};
constexpr std::span<const PropInfo> ParameterGroups[] = {ParameterProps};
constexpr TypeInfo ParametersType = def::ClassType("TParameters", cls::TParameters);
constexpr TypeInfo ConnectionType = def::ClassType("TADOConnection", cls::TADOConnection);

constexpr PropInfo ConnectionProps[] = {
    {"Attributes", &XactAttributesType, dv::Set({})},
    {"CommandTimeout", &ty::Integer, dv::Int(30)},
    {"Connected", &ty::Boolean, dv::Bool(false)},
    {"ConnectionString", &ty::WideString, dv::Str("")},
    {"ConnectionTimeout", &ty::Integer, dv::Int(15)},
    {"ConnectOptions", &ConnectOptionType, dv::Int(0)},
    {"CursorLocation", &CursorLocationType, dv::Int(1)},  // clUseClient
    {"DefaultDatabase", &ty::WideString, dv::Str("")},
    {"IsolationLevel", &IsolationLevelType, dv::Int(4)},  // ilCursorStability
    {"KeepConnection", &ty::Boolean, dv::Bool(true)},
    {"LoginPrompt", &ty::Boolean, dv::Bool(true)},
    {"Mode", &ConnectModeType, dv::Int(0)},
    {"Provider", &ty::WideString, dv::Str("")},
    EventProp("AfterConnect", ty::TNotifyEvent),
    EventProp("AfterDisconnect", ty::TNotifyEvent),
    EventProp("BeforeConnect", ty::TNotifyEvent),
    EventProp("BeforeDisconnect", ty::TNotifyEvent),
    EventProp("OnLogin", LoginEventType),
};
constexpr std::span<const PropInfo> ConnectionGroups[] = {ConnectionProps};

// What every ADO dataset publishes besides TDataSet's own.
constexpr PropInfo ADODataSetProps[] = {
    {"CacheSize", &ty::Integer, dv::Int(1)},
    {"CommandTimeout", &ty::Integer, dv::Int(30)},
    RefProp("Connection", ConnectionType),
    {"ConnectionString", &ty::WideString, dv::Str("")},
    {"CursorLocation", &CursorLocationType, dv::Int(1)},  // clUseClient
    {"CursorType", &CursorTypeType, dv::Int(2)},          // ctKeyset
    RefProp("DataSource", ty::TDataSource),
    {"EnableBCD", &ty::Boolean, dv::Bool(true)},
    {"ExecuteOptions", &ExecuteOptionsType, dv::Set({})},
    {"LockType", &LockTypeType, dv::Int(3)},  // ltOptimistic
    {"MarshalOptions", &MarshalOptionType, dv::Int(0)},
    {"MaxRecords", &ty::Integer, dv::Int(0)},
};
constexpr PropInfo QueryProps[] = {
    {"ParamCheck", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Parameters", ParametersType),
    {"Prepared", &ty::Boolean, dv::Bool(false)},
    OwnedProp("SQL", ty::TStrings),
};
constexpr std::span<const PropInfo> QueryGroups[] = {grp::DataSetProps, grp::DataSetEvents, ADODataSetProps,
                                                     QueryProps};
constexpr PropInfo TableProps[] = {
    {"IndexFieldNames", &ty::WideString, dv::Str("")}, {"IndexName", &ty::WideString, dv::Str("")},
    {"MasterFields", &ty::WideString, dv::Str("")},    RefProp("MasterSource", ty::TDataSource),
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},       {"TableDirect", &ty::Boolean, dv::Bool(false)},
    {"TableName", &ty::WideString, dv::Str("")},
};
constexpr std::span<const PropInfo> TableGroups[] = {grp::DataSetProps, grp::DataSetEvents, ADODataSetProps,
                                                     TableProps};
constexpr PropInfo StoredProcProps[] = {
    OwnedProp("Parameters", ParametersType),
    {"Prepared", &ty::Boolean, dv::Bool(false)},
    {"ProcedureName", &ty::WideString, dv::Str("")},
};
constexpr std::span<const PropInfo> StoredProcGroups[] = {grp::DataSetProps, grp::DataSetEvents,
                                                          ADODataSetProps, StoredProcProps};
constexpr PropInfo GeneralDataSetProps[] = {
    {"CommandText", &ty::WideString, dv::Str("")},
    {"CommandType", &CommandTypeType, dv::Int(1)},  // cmdText
    {"IndexFieldNames", &ty::WideString, dv::Str("")},
    {"IndexName", &ty::WideString, dv::Str("")},
    {"MasterFields", &ty::WideString, dv::Str("")},
    {"ParamCheck", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Parameters", ParametersType),
    {"Prepared", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> GeneralDataSetGroups[] = {grp::DataSetProps, grp::DataSetEvents,
                                                              ADODataSetProps, GeneralDataSetProps};
constexpr PropInfo CommandProps[] = {
    {"CommandText", &ty::WideString, dv::Str("")},
    {"CommandTimeout", &ty::Integer, dv::Int(30)},
    {"CommandType", &CommandTypeType, dv::Int(1)},  // cmdText
    RefProp("Connection", ConnectionType),
    {"ConnectionString", &ty::WideString, dv::Str("")},
    {"ExecuteOptions", &ExecuteOptionsType, dv::Set({})},
    {"ParamCheck", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Parameters", ParametersType),
    {"Prepared", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> CommandGroups[] = {CommandProps};

}  // namespace

namespace cls {

const ClassInfo TParameter = {"TParameter", &TCollectionItem, "ADODB", ParameterGroups};
const ClassInfo TParameters = {"TParameters", &TOwnedCollection, "ADODB", {}, 0, &TParameter};
const ClassInfo TADOConnection = {"TADOConnection", &TCustomConnection, "ADODB", ConnectionGroups};
const ClassInfo TCustomADODataSet = {"TCustomADODataSet", &TDataSet, "ADODB"};
const ClassInfo TADOQuery = {"TADOQuery", &TCustomADODataSet, "ADODB", QueryGroups};
const ClassInfo TADOTable = {"TADOTable", &TCustomADODataSet, "ADODB", TableGroups};
const ClassInfo TADOStoredProc = {"TADOStoredProc", &TCustomADODataSet, "ADODB", StoredProcGroups};
const ClassInfo TADODataSet = {"TADODataSet", &TCustomADODataSet, "ADODB", GeneralDataSetGroups};
const ClassInfo TADOCommand = {"TADOCommand", &TComponent, "ADODB", CommandGroups};

}  // namespace cls

}  // namespace fw::rt
