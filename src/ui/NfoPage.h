#pragma once

#include "ui/Captions.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// Page 4: the composed NFO text, editable, and "Zapisz NFO".
class NfoPage : public QWidget {
  Q_OBJECT

 public:
  explicit NfoPage(QWidget* parent = nullptr);

  QList<CaptionKey> CaptionKeys();

  QPushButton* SaveNfo;
  QPlainTextEdit* Preview;
};

// "Courier New" when the system has it, else a font with the same metrics (Liberation Mono), else
// the system's fixed-pitch font: the NFO is laid out for 69 columns of one width.
QFont NfoFont();
