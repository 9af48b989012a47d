#pragma once

#include "model/Release.h"
#include "platform/Overloaded.h"

#include <QString>
#include <variant>

// The fields of ReleaseSummary and ReleaseInfo by their model names, in one table: velmora-cli
// sets any of them (--set) and reports all of them (--json), and the window binds each control
// named after a field (its objectName) to that field.
using FieldRef = std::variant<QString*, bool*, QDate*, QStringList*>;

struct NamedField {
  QString Name;
  FieldRef Ref;
};

QList<NamedField> SummaryFields(ReleaseSummary& summary);
QList<NamedField> InfoFields(ReleaseInfo& info);

// Sets a field from its text form: booleans 0/1, dates YYYY-MM-DD, lists separated by ";".
// Returns false and leaves the field alone for an unknown name or a malformed value.
bool SetFieldFromText(Release& release, const QString& name, const QString& value);
