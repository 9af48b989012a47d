#pragma once

#include "analysis/ReleaseModel.h"

#include <QJsonObject>
#include <QString>
#include <variant>

// The fields of ReleaseSummary and ReleaseInfo by their model names, so velmora-cli can set any
// of them (--set) and report all of them (--json) from one table.
using FieldRef = std::variant<QString*, bool*, QDate*, QStringList*>;

struct NamedField {
  QString Name;
  FieldRef Ref;
};

QList<NamedField> SummaryFields(ReleaseSummary& summary);
QList<NamedField> InfoFields(ReleaseInfo& info);

// Sets a field from its text form: booleans 0/1, dates YYYY-MM-DD, lists separated by ";".
// Returns false and leaves the field alone for an unknown name or a malformed value.
bool SetFieldFromText(ReleaseModel& model, const QString& name, const QString& value);

// The fields as JSON: texts as strings, booleans as booleans, dates as YYYY-MM-DD, lists as arrays.
QJsonObject FieldsToJson(const QList<NamedField>& fields);
