#include "ui/VerificationWindow.h"

#include "ui/Controls.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

VerificationWindow::VerificationWindow() : SecondaryWindow(TitleOnlyFlags()) {
  setObjectName(QStringLiteral("Verification"));
  setWindowTitle(QStringLiteral("Sprawdzanie sum kontrolnych"));
  auto* column = new QVBoxLayout(this);
  lines_ = new QListWidget(this);
  lines_->setObjectName(QStringLiteral("Lines"));
  lines_->setAccessibleName(windowTitle());
  column->addWidget(lines_, 1);
  ok_ = CentredOkButton(column, this, QStringLiteral("OK"));
}

void VerificationWindow::SetLines(const QStringList& lines) {
  lines_->clear();
  const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  for (const QString& line : lines) {
    auto* item = new QListWidgetItem(line, lines_);
    if (line.startsWith(QStringLiteral("FAILED")) || line.startsWith(QStringLiteral("MISSING")))
      item->setIcon(warning);
  }
  const int widest = lines_->sizeHintForColumn(0) + 40;
  lines_->setMinimumWidth(std::clamp(widest, 300, 900));
  lines_->setMinimumHeight(
      std::min<int>(lines_->sizeHintForRow(0) * (static_cast<int>(lines.size()) + 1), 420));
}

CaptionSetters VerificationWindow::Captions() {
  return {
      {Caption::VerificationTitle, [this](const QString& text) { setWindowTitle(text); }},
      {Caption::VerificationOk, [this](const QString& text) { ok_->setText(text); }},
  };
}
