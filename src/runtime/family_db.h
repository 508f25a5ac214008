#pragma once
// What the data-access tables share between their files: the DB unit's classes and
// types that the BDE datasets (classes_dbtables.cpp) and the data-aware controls
// (classes_dbctrls.cpp) build on, and the dataset properties every concrete dataset
// publishes. All of it is defined in classes_db.cpp.
//
// The group arrays carry their sizes in the declaration so that a span over one can
// be formed in a constant expression, as with the core groups.

#include "builtin.h"
#include "metadata.h"

namespace fw::rt {

namespace cls {
// DB: the ancestors and helper classes beyond the ones builtin.h names.
extern const ClassInfo TDataSet, TCustomConnection, TParam, TNumericField, TBinaryField, TObjectField,
    TDataSetField, TNamedItem, TDefCollection, TFieldDef, TFieldDefs, TIndexDef, TIndexDefs, TCheckConstraint,
    TCheckConstraints;
}  // namespace cls

namespace ty {
// Class-typed property types of the DB unit's classes.
extern const TypeInfo TDataSet, TDataSource, TDataSetField, TParams, TFieldDefs, TIndexDefs,
    TCheckConstraints;
// TUpdateMode (upWhereAll, upWhereChanged, upWhereKeyOnly), TFieldType (ftUnknown ..
// ftSingle, in ordinal order), TFilterOptions.
extern const TypeInfo TUpdateMode, TFieldType, TFilterOption, TFilterOptions;
// Dataset events: BeforeOpen and the like take a TDataSetNotifyEvent; cached updates
// report through TUpdateErrorEvent and TUpdateRecordEvent.
extern const TypeInfo TDataSetNotifyEvent, TDataSetErrorEvent, TFilterRecordEvent, TUpdateErrorEvent,
    TUpdateRecordEvent;
}  // namespace ty

namespace grp {
// What every concrete dataset publishes of TDataSet's properties: Active False,
// AutoCalcFields True, Filter '', Filtered False, FilterOptions [].
extern const PropInfo DataSetProps[5];

// TDataSet's events, as every concrete dataset publishes them: the Before/After pairs
// of Open, Close, Insert, Edit, Post, Cancel, Delete, Scroll and Refresh, and
// OnCalcFields, OnDeleteError, OnEditError, OnFilterRecord, OnNewRecord, OnPostError.
extern const PropInfo DataSetEvents[24];
}  // namespace grp

}  // namespace fw::rt
