#pragma once

#include "session/ReleaseSession.h"

#include <QList>
#include <QObject>
#include <variant>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// One control bound to one field: the compiler checks that the field exists and that its type
// suits the control, so that a misspelt name cannot bind nothing in silence.
template <class Record, class Value, class Control>
struct Bound {
  Control* Widget;
  Value Record::*Field;
};

using FieldBinding =
    std::variant<Bound<ReleaseSummary, QString, QLineEdit>,
                 Bound<ReleaseSummary, QString, QComboBox>, Bound<ReleaseSummary, bool, QCheckBox>,
                 Bound<ReleaseInfo, QString, QLineEdit>, Bound<ReleaseInfo, QString, QComboBox>,
                 Bound<ReleaseInfo, bool, QCheckBox>, Bound<ReleaseInfo, QDate, QDateEdit>,
                 Bound<ReleaseInfo, QStringList, QListWidget>,
                 Bound<ReleaseInfo, QString, QPlainTextEdit>, Bound<Options, bool, QCheckBox>,
                 Bound<Options, QString, QLineEdit>, Bound<Options, QString, QComboBox>>;

// The control of a binding, whatever its kind.
QWidget* ControlOf(const FieldBinding& binding);

// Keeps bound controls and the session's fields in step: every change the user makes goes to the
// session at once through its setters, and ShowAll puts the session's values into the controls
// (when an analysis, a new release or a language changed them).
class FieldBinder : public QObject {
  Q_OBJECT

 public:
  FieldBinder(ReleaseSession& session, QObject* parent = nullptr);

  void Add(const QList<FieldBinding>& bindings);
  void ShowAll();
  const QList<FieldBinding>& Bindings() const { return bindings_; }

 private:
  void Connect(const FieldBinding& binding);
  void Show(const FieldBinding& binding);

  ReleaseSession& session_;
  QList<FieldBinding> bindings_;
  // While the controls are filled from the session, their change signals are not edits.
  bool showing_ = false;
};

// The multi-line text exactly as typed: QPlainTextEdit::toPlainText turns no-break spaces into
// plain ones, which would change the bytes of a saved file.
QString TextOf(const QPlainTextEdit& edit);
