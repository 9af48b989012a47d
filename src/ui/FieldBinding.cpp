#include "ui/FieldBinding.h"

#include "platform/Overloaded.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

QStringList ItemsOf(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i)
    items << list.item(i)->text();
  return items;
}

// The session's record a binding reads from and the setter that writes it back.
const ReleaseSummary& RecordOf(const ReleaseSession& session, const ReleaseSummary*) {
  return session.State().Summary;
}
const ReleaseInfo& RecordOf(const ReleaseSession& session, const ReleaseInfo*) {
  return session.State().Info;
}
const Options& RecordOf(const ReleaseSession& session, const Options*) {
  return session.Opts();
}

template <class Value>
void Store(ReleaseSession& session, Value ReleaseSummary::*field, const Value& value) {
  session.SetSummary(field, value);
}
template <class Value>
void Store(ReleaseSession& session, Value ReleaseInfo::*field, const Value& value) {
  session.SetInfo(field, value);
}
template <class Value>
void Store(ReleaseSession& session, Value Options::*field, const Value& value) {
  session.SetOption(field, value);
}

template <class Record, class Value, class Control>
const Value& ValueOf(const ReleaseSession& session, const Bound<Record, Value, Control>& bound) {
  return RecordOf(session, static_cast<const Record*>(nullptr)).*bound.Field;
}

void Put(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  // A long value shows its start, not its end.
  edit->setCursorPosition(0);
}
void Put(QComboBox* combo, const QString& text) {
  if (!combo->isEditable()) {
    if (combo->findText(text) < 0)
      combo->addItem(text);  // a stored text of another kind survives
    combo->setCurrentText(text);
    return;
  }
  combo->setEditText(text);
  if (QLineEdit* edit = combo->lineEdit())
    edit->setCursorPosition(0);
}
void Put(QCheckBox* box, bool checked) {
  box->setChecked(checked);
}
void Put(QDateEdit* picker, const QDate& date) {
  picker->setDate(date);
}
void Put(QListWidget* list, const QStringList& items) {
  list->clear();
  list->addItems(items);
}
void Put(QPlainTextEdit* edit, const QString& text) {
  if (TextOf(*edit) != text)
    edit->setPlainText(text);
}

}  // namespace

QString TextOf(const QPlainTextEdit& edit) {
  QString text = edit.document()->toRawText();
  for (QChar& ch : text) {
    if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
      ch = QLatin1Char('\n');
  }
  return text;
}

QWidget* ControlOf(const FieldBinding& binding) {
  return std::visit([](const auto& bound) -> QWidget* { return bound.Widget; }, binding);
}

FieldBinder::FieldBinder(ReleaseSession& session, QObject* parent)
    : QObject(parent), session_(session) {}

void FieldBinder::Add(const QList<FieldBinding>& bindings) {
  for (const FieldBinding& binding : bindings) {
    bindings_.append(binding);
    Connect(binding);
  }
}

void FieldBinder::ShowAll() {
  showing_ = true;
  for (const FieldBinding& binding : bindings_)
    Show(binding);
  showing_ = false;
}

void FieldBinder::Show(const FieldBinding& binding) {
  std::visit([this](const auto& bound) { Put(bound.Widget, ValueOf(session_, bound)); }, binding);
}

void FieldBinder::Connect(const FieldBinding& binding) {
  auto store = [this](auto field, const auto& value) {
    if (!showing_)
      Store(session_, field, value);
  };
  std::visit(
      Overloaded{
          [&](const auto& bound) {
            using Control = std::remove_pointer_t<decltype(bound.Widget)>;
            const auto field = bound.Field;
            Control* widget = bound.Widget;
            if constexpr (std::is_same_v<Control, QLineEdit>) {
              connect(widget, &QLineEdit::textChanged, this,
                      [store, field](const QString& text) { store(field, text); });
            } else if constexpr (std::is_same_v<Control, QComboBox>) {
              connect(widget, &QComboBox::currentTextChanged, this,
                      [store, field](const QString& text) { store(field, text); });
            } else if constexpr (std::is_same_v<Control, QCheckBox>) {
              connect(widget, &QCheckBox::toggled, this,
                      [store, field](bool checked) { store(field, checked); });
            } else if constexpr (std::is_same_v<Control, QDateEdit>) {
              connect(widget, &QDateEdit::dateChanged, this,
                      [store, field](const QDate& date) { store(field, date); });
            } else if constexpr (std::is_same_v<Control, QListWidget>) {
              auto storeItems = [store, field, widget] { store(field, ItemsOf(*widget)); };
              connect(widget->model(), &QAbstractItemModel::rowsInserted, this, storeItems);
              connect(widget->model(), &QAbstractItemModel::rowsRemoved, this, storeItems);
            } else {
              static_assert(std::is_same_v<Control, QPlainTextEdit>);
              connect(widget, &QPlainTextEdit::textChanged, this,
                      [store, field, widget] { store(field, TextOf(*widget)); });
            }
          },
      },
      binding);
}
