#include "ui/SecondaryWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

Qt::WindowFlags TitleOnlyFlags(Qt::WindowType kind) {
  return kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

SecondaryWindow::SecondaryWindow(Qt::WindowFlags flags) : QDialog(nullptr, flags) {
  setModal(false);
}

void SecondaryWindow::ShowCentred() {
  adjustSize();
  if (owner_ && owner_->windowHandle()) {
    winId();  // the window needs its handle before the desktop can be told whom it belongs to
    windowHandle()->setTransientParent(owner_->windowHandle());
  }
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  raise();
  activateWindow();
}

void SecondaryWindow::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  emit Hidden();
}
