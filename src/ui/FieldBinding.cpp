#include "ui/FieldBinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

void ShowText(QWidget* control, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(control))
    edit->setText(text);
  else if (auto* combo = qobject_cast<QComboBox*>(control))
    combo->setEditText(text);
  else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(control))
    multiLine->setPlainText(text);
}

QString StoredText(const QWidget* control) {
  if (auto* edit = qobject_cast<const QLineEdit*>(control))
    return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(control))
    return combo->currentText();
  if (auto* multiLine = qobject_cast<const QPlainTextEdit*>(control))
    return TextOf(*multiLine);
  return {};
}

QStringList ItemsOf(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i)
    items << list.item(i)->text();
  return items;
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

void ShowFields(QWidget& root, const QList<NamedField>& fields) {
  for (const NamedField& field : fields) {
    QWidget* control = root.findChild<QWidget*>(field.Name);
    if (!control)
      continue;
    std::visit(Overloaded{
                   [&](QString* text) { ShowText(control, *text); },
                   [&](bool* flag) {
                     if (auto* box = qobject_cast<QCheckBox*>(control))
                       box->setChecked(*flag);
                   },
                   [&](QDate* date) {
                     if (auto* picker = qobject_cast<QDateEdit*>(control))
                       picker->setDate(*date);
                   },
                   [&](QStringList* list) {
                     if (auto* box = qobject_cast<QListWidget*>(control)) {
                       box->clear();
                       box->addItems(*list);
                     }
                   },
               },
               field.Ref);
  }
}

void StoreFields(const QWidget& root, const QList<NamedField>& fields) {
  for (const NamedField& field : fields) {
    const QWidget* control = root.findChild<const QWidget*>(field.Name);
    if (!control)
      continue;
    std::visit(Overloaded{
                   [&](QString* text) { *text = StoredText(control); },
                   [&](bool* flag) {
                     if (auto* box = qobject_cast<const QCheckBox*>(control))
                       *flag = box->isChecked();
                   },
                   [&](QDate* date) {
                     if (auto* picker = qobject_cast<const QDateEdit*>(control))
                       *date = picker->date();
                   },
                   [&](QStringList* list) {
                     if (auto* box = qobject_cast<const QListWidget*>(control))
                       *list = ItemsOf(*box);
                   },
               },
               field.Ref);
  }
}
