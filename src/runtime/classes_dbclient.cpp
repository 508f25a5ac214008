// TClientDataSet (DBClient): an in-memory dataset with its own rows (written by the
// dataset itself as Data), its aggregates, and where its rows come from: a file, a
// provider, or the master dataset's nested field.

#include "builtin.h"
#include "family_core.h"
#include "family_db.h"

namespace fw::rt {

using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;

namespace cls {
extern const ClassInfo TAggregate, TAggregates, TCustomClientDataSet;
}  // namespace cls

namespace {

constexpr PropInfo AggregateProps[] = {
    {"Active", &ty::Boolean, dv::Bool(false)}, {"AggregateName", &ty::String, dv::Str("")},
    {"Expression", &ty::String, dv::Str("")},  {"GroupingLevel", &ty::Integer, dv::Int(0)},
    {"IndexName", &ty::String, dv::Str("")},   {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr std::span<const PropInfo> AggregateGroups[] = {AggregateProps};
constexpr TypeInfo AggregatesType = def::ClassType("TAggregates", cls::TAggregates);
constexpr TypeInfo ReconcileErrorEvent = MethodType("TReconcileErrorEvent");
constexpr TypeInfo RemoteEvent = MethodType("TRemoteEvent");

constexpr PropInfo ClientDataSetProps[] = {
    OwnedProp("Aggregates", AggregatesType),
    {"AggregatesActive", &ty::Boolean, dv::Bool(false)},
    {"CommandText", &ty::WideString, dv::Str("")},
    RefProp("DataSetField", ty::TDataSetField),
    {"DisableStringTrim", &ty::Boolean, dv::Bool(false)},
    {"FetchOnDemand", &ty::Boolean, dv::Bool(true)},
    OwnedProp("FieldDefs", ty::TFieldDefs),
    {"FileName", &ty::String, dv::Str("")},
    OwnedProp("IndexDefs", ty::TIndexDefs),
    {"IndexFieldNames", &ty::WideString, dv::Str("")},
    {"IndexName", &ty::WideString, dv::Str("")},
    {"LogChanges", &ty::Boolean, dv::Bool(true)},
    {"MasterFields", &ty::WideString, dv::Str("")},
    RefProp("MasterSource", ty::TDataSource),
    {"ObjectView", &ty::Boolean, dv::Bool(true)},
    {"PacketRecords", &ty::Integer, dv::Int(-1)},
    OwnedProp("Params", ty::TParams),
    {"ProviderName", &ty::String, dv::Str("")},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"StoreDefs", &ty::Boolean, dv::Bool(false)},
    EventProp("AfterApplyUpdates", RemoteEvent),
    EventProp("AfterExecute", RemoteEvent),
    EventProp("AfterGetParams", RemoteEvent),
    EventProp("AfterGetRecords", RemoteEvent),
    EventProp("AfterRowRequest", RemoteEvent),
    EventProp("BeforeApplyUpdates", RemoteEvent),
    EventProp("BeforeExecute", RemoteEvent),
    EventProp("BeforeGetParams", RemoteEvent),
    EventProp("BeforeGetRecords", RemoteEvent),
    EventProp("BeforeRowRequest", RemoteEvent),
    EventProp("OnReconcileError", ReconcileErrorEvent),
};
constexpr std::span<const PropInfo> ClientDataSetGroups[] = {grp::DataSetProps, grp::DataSetEvents,
                                                             ClientDataSetProps};

}  // namespace

namespace cls {

const ClassInfo TAggregate = {"TAggregate", &TCollectionItem, "DBClient", AggregateGroups};
const ClassInfo TAggregates = {"TAggregates", &TCollection, "DBClient", {}, 0, &TAggregate};
const ClassInfo TCustomClientDataSet = {"TCustomClientDataSet", &TDataSet, "DBClient"};
const ClassInfo TClientDataSet = {"TClientDataSet", &TCustomClientDataSet, "DBClient", ClientDataSetGroups};

}  // namespace cls

}  // namespace fw::rt
