#include "ui/WindowPrompts.h"

#include "platform/ProductInfo.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

void DesktopPrompts::ShowError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, ProgramName(), text);
}

void DesktopPrompts::ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                 Icon icon) {
  QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text,
                  QMessageBox::Ok, parent);
  box.exec();
}

QString DesktopPrompts::ChooseFolder(QWidget* parent, const QString& start) {
  const QString from = !start.isEmpty() && QDir(start).exists() ? start : QString();
  return QFileDialog::getExistingDirectory(parent, QString(), from, QFileDialog::ShowDirsOnly);
}

void DesktopPrompts::OpenAddress(const QString& address) {
  QDesktopServices::openUrl(QUrl(address));
}
