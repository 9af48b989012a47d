#include "ui/Controls.h"

#include "platform/UserLocale.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <class Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

}  // namespace

QLineEdit* NamedLineEdit(const char* name, QWidget* parent) {
  return Named(new QLineEdit(parent), name);
}

QComboBox* NamedChoice(const char* name, QWidget* parent) {
  QComboBox* combo = Named(new QComboBox(parent), name);
  combo->setEditable(true);
  // Typed texts are the field's value, never new items of the list.
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

void ReplaceChoices(QComboBox* combo, const QStringList& items) {
  const QString text = combo->currentText();
  combo->clear();
  combo->addItems(items);
  combo->setEditText(text);
}

QCheckBox* NamedCheckBox(const char* name, const QString& caption, QWidget* parent) {
  return Named(new QCheckBox(caption, parent), name);
}

QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent) {
  QPushButton* button = Named(new QPushButton(caption, parent), name);
  button->setAutoDefault(false);
  return button;
}

QDateEdit* NamedDatePicker(const char* name, QWidget* parent) {
  QDateEdit* picker = Named(new QDateEdit(parent), name);
  const QLocale& locale = UserLocale::System().Locale();
  picker->setLocale(locale);
  picker->setDisplayFormat(locale.dateFormat(QLocale::ShortFormat));
  picker->setCalendarPopup(true);
  return picker;
}

QLabel* CaptionLabel(const char* name, const QString& caption, QWidget* buddy, QWidget* parent) {
  QLabel* label = Named(new QLabel(caption, parent), name);
  label->setBuddy(buddy);
  return label;
}

QPushButton* CentredOkButton(QBoxLayout* column, QDialog* window, const QString& caption) {
  QPushButton* ok = NamedButton("Ok", caption, window);
  ok->setDefault(true);
  auto* row = new QHBoxLayout();
  row->addStretch(1);
  row->addWidget(ok);
  row->addStretch(1);
  column->addLayout(row);
  QObject::connect(ok, &QPushButton::clicked, window, &QDialog::hide);
  return ok;
}
