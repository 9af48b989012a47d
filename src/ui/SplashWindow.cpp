#include "ui/SplashWindow.h"

#include "ui/Pictures.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kSplashWidth = 536;
constexpr int kSplashHeight = 74;

}  // namespace

SplashWindow::SplashWindow(const QString& programDir)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(kSplashWidth, kSplashHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Picture = new QLabel(this);
  Picture->setObjectName(QStringLiteral("SplashPicture"));
  Picture->setPixmap(ProgramPicture(programDir, QStringLiteral("splash.jpg")));
  layout->addWidget(Picture);
}

void SplashWindow::ShowNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  repaint();
  QApplication::processEvents();
}
