#pragma once

#include "analysis/ReleaseModel.h"

#include <QString>
#include <variant>

// The fields of ReleaseSummary and ReleaseInfo by their model names, so velmora-cli can set any
// of them (--set) and report all of them (--json) from one table.
using FieldRef = std::variant<QString*, bool*, QDate*, QStringList*>;

// Visits a FieldRef with one lambda per field type.
template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

struct NamedField {
  QString Name;
  FieldRef Ref;
};

QList<NamedField> SummaryFields(ReleaseSummary& summary);
QList<NamedField> InfoFields(ReleaseInfo& info);

// Sets a field from its text form: booleans 0/1, dates YYYY-MM-DD, lists separated by ";".
// Returns false and leaves the field alone for an unknown name or a malformed value.
bool SetFieldFromText(ReleaseModel& model, const QString& name, const QString& value);
