#pragma once

#include <QString>
#include <QStringList>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls as every page makes them: named after their model field (or a plain English role),
// which is also how the bindings, the language file and the tests find them.
QLineEdit* NamedLineEdit(const char* name, QWidget* parent);
// An editable drop-down: its text is the field, its items the choices of a list file.
QComboBox* NamedChoice(const char* name, QWidget* parent);
QCheckBox* NamedCheckBox(const char* name, const QString& caption, QWidget* parent);
QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent);
// Replaces a drop-down's items; the text in its field stays.
void ReplaceChoices(QComboBox* combo, const QStringList& items);
// A date-only picker in the locale's short date format, with a drop-down calendar.
QDateEdit* NamedDatePicker(const char* name, QWidget* parent);
// A label that names a control: its mnemonic moves the focus there, and screen readers read it as
// the control's name.
QLabel* CaptionLabel(const char* name, const QString& caption, QWidget* buddy, QWidget* parent);

// The one button of a window that only shows something: "Ok", the default, centred in a row of
// its own at the end of the column, hiding the window.
QPushButton* CentredOkButton(QBoxLayout* column, QDialog* window, const QString& caption);
