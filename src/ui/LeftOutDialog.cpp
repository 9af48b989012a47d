#include "ui/LeftOutDialog.h"

#include "ui/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

LeftOutDialog::LeftOutDialog()
    : SecondaryWindow(TitleOnlyFlags()),
      formatReason_(QStringLiteral("format pliku nie jest czytany")),
      nameReason_(QStringLiteral("nazwa nie jest poprawnym UTF-8 lub zawiera znaki sterujące")),
      notAFileReason_(QStringLiteral("nie jest zwykłym plikiem")) {
  setObjectName(QStringLiteral("LeftOutFiles"));
  setWindowTitle(QStringLiteral("Pominięte pliki"));
  auto* column = new QVBoxLayout(this);
  firstLine_ = new QLabel(QStringLiteral("Te pliki nie należą do wydania:"), this);
  firstLine_->setObjectName(QStringLiteral("FirstLine"));
  column->addWidget(firstLine_);
  files_ = new QListWidget(this);
  files_->setObjectName(QStringLiteral("Files"));
  firstLine_->setBuddy(files_);
  column->addWidget(files_, 1);
  ok_ = CentredOkButton(column, this, QStringLiteral("_OK"));
}

QString LeftOutDialog::ReasonText(LeftOutFile::Reason reason) const {
  switch (reason) {
    case LeftOutFile::Reason::Format:
      return formatReason_;
    case LeftOutFile::Reason::Name:
      return nameReason_;
    case LeftOutFile::Reason::NotAFile:
      return notAFileReason_;
  }
  return {};
}

void LeftOutDialog::ShowFiles(const std::vector<LeftOutFile>& files) {
  files_->clear();
  for (const LeftOutFile& file : files)
    files_->addItem(file.Name + QStringLiteral(" — ") + ReasonText(file.Why));
  // Wide enough for the longest line, as far as the screen allows.
  const int widest = files_->sizeHintForColumn(0) + 40;
  files_->setMinimumWidth(std::min(widest, 900));
  files_->setMinimumHeight(std::min<int>(files_->sizeHintForRow(0) * (int(files.size()) + 1), 400));
  ShowCentred();
}

CaptionSetters LeftOutDialog::Captions() {
  return {
      {Caption::LeftOutTitle, [this](const QString& text) { setWindowTitle(text); }},
      {Caption::LeftOutFirstLine, [this](const QString& text) { firstLine_->setText(text); }},
      {Caption::LeftOutFormat, [this](const QString& text) { formatReason_ = text; }},
      {Caption::LeftOutName, [this](const QString& text) { nameReason_ = text; }},
      {Caption::LeftOutNotAFile, [this](const QString& text) { notAFileReason_ = text; }},
      {Caption::LeftOutOk, [this](const QString& text) { ok_->setText(text); }},
  };
}
