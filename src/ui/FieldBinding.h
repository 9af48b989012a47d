#pragma once

#include "session/ModelFields.h"

#include <QList>

class QWidget;

// Copies between the model's fields and the controls named after them (a control's objectName is
// its field's name): line edits and editable drop-downs hold texts, check boxes booleans, date
// pickers dates, multi-line fields texts and list boxes lists. A field without a control under
// root is left alone.
void ShowFields(QWidget& root, const QList<NamedField>& fields);
void StoreFields(const QWidget& root, const QList<NamedField>& fields);

// The multi-line text exactly as typed: QPlainTextEdit::toPlainText turns no-break spaces into
// plain ones, which would change the bytes of a saved file.
class QPlainTextEdit;
QString TextOf(const QPlainTextEdit& edit);
