#include "ui/DiffFilesDialog.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void SetBold(QLabel* label, bool bold) {
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
}

}  // namespace

DiffFilesDialog::DiffFilesDialog() : SecondaryWindow(TitleOnlyFlags()) {
  setObjectName(QStringLiteral("MixedFormatWarning"));
  setWindowTitle(QStringLiteral("_Warning"));
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  firstLine_ = new QLabel(this);
  firstLine_->setObjectName(QStringLiteral("FirstLine"));
  column->addWidget(firstLine_);

  rows_ = new QGridLayout();
  rows_->setColumnMinimumWidth(1, 40);
  column->addLayout(rows_);

  lastLine_ = new QLabel(this);
  lastLine_->setObjectName(QStringLiteral("LastLine"));
  column->addWidget(lastLine_);
  ok_ = CentredOkButton(column, this, QStringLiteral("_OK"));
}

void DiffFilesDialog::ShowWarning(const MixedFormatWarning& warning) {
  setWindowTitle(warning.Caption);
  firstLine_->setText(warning.FirstLine);
  while (QLayoutItem* item = rows_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  int index = 0;
  for (const MixedFormatWarning::Row& row : warning.Rows) {
    auto* label = new QLabel(row.Label, this);
    auto* count = new QLabel(QString::number(row.Count), this);
    count->setObjectName(QStringLiteral("Count") + row.Key);
    SetBold(label, row.Dominant);
    SetBold(count, row.Dominant);
    rows_->addWidget(label, index, 0);
    rows_->addWidget(count, index, 1, Qt::AlignRight);
    ++index;
  }
  lastLine_->setText(warning.LastLine);
  ShowCentred();
}

CaptionSetters DiffFilesDialog::Captions() {
  return {{Caption::MixedFormatsOk, [this](const QString& text) { ok_->setText(text); }}};
}
