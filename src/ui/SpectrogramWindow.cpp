#include "ui/SpectrogramWindow.h"

#include "ui/Controls.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

SpectrogramWindow::SpectrogramWindow() {
  setObjectName(QStringLiteral("SpectrogramWindow"));
  setWindowTitle(QStringLiteral("Spektrogram"));
  auto* column = new QVBoxLayout(this);
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("SpectrogramScroll"));
  picture_ = new QLabel(scroll_);
  picture_->setObjectName(QStringLiteral("SpectrogramPicture"));
  scroll_->setWidget(picture_);
  scroll_->setWidgetResizable(true);
  picture_->setAlignment(Qt::AlignCenter);
  column->addWidget(scroll_, 1);
  ok_ = CentredOkButton(column, this, QStringLiteral("OK"));
}

void SpectrogramWindow::SetPicture(const QImage& picture) {
  picture_->setPixmap(QPixmap::fromImage(picture));
  // The whole picture where the screen has room for it; scroll bars where it has not.
  QSize room = picture.size() + QSize(4, 4);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    room = room.boundedTo(screen->availableSize() * 0.85);
  scroll_->setMinimumSize(room);
}

CaptionSetters SpectrogramWindow::Captions() {
  return {
      {Caption::SpectrogramTitle, [this](const QString& text) { setWindowTitle(text); }},
      {Caption::SpectrogramOk, [this](const QString& text) { ok_->setText(text); }},
  };
}
