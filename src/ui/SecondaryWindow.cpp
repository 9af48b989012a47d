#include "ui/SecondaryWindow.h"

#include <QGuiApplication>
#include <QScreen>

Qt::WindowFlags TitleOnlyFlags(Qt::WindowType kind) {
  return kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

SecondaryWindow::SecondaryWindow(Qt::WindowFlags flags) : QDialog(nullptr, flags) {
  setModal(false);
}

void SecondaryWindow::ShowCentred() {
  adjustSize();
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
