#pragma once

#include "ui/CaptionTable.h"
#include "ui/Captions.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// Page 4: the composed NFO text, editable, and "Zapisz NFO".
class NfoPage : public QWidget {
  Q_OBJECT

 public:
  explicit NfoPage(QWidget* parent = nullptr);

  // Shows a composed text, caret at the start.
  void ShowText(const QString& text);

  CaptionSetters Captions();
  QWidget* Preview() const;

 signals:
  void SaveRequested();
  // The user changed the preview; the text as it now stands.
  void TextEdited(const QString& text);

 private:
  QPushButton* saveNfo_;
  QPlainTextEdit* preview_;
  bool showing_ = false;
};

// "Courier New" when the system has it, else a font with the same metrics (Liberation Mono), else
// the system's fixed-pitch font: the NFO is laid out in columns of one width.
QFont NfoFont();
