#pragma once

#include <QString>

class QWidget;

// What the windows ask of the desktop: message boxes, the folder browser and the web browser. The
// program uses the desktop's own; tests put a recorder in their place, so that every box a command
// shows can be checked without anybody clicking it.
class WindowPrompts {
 public:
  enum class Icon { None, Error };

  virtual ~WindowPrompts() = default;
  // The application's standard error box: the application's title, the failure's message.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
  // A box with its own text and caption, one OK button and the icon given.
  virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                           Icon icon) = 0;
  // The folder browser, starting at `start` when that folder exists; empty when cancelled.
  virtual QString ChooseFolder(QWidget* parent, const QString& start) = 0;
  // The default web browser or mail program on a web or mailto: address.
  virtual void OpenAddress(const QString& address) = 0;
};

// The desktop's own boxes and browsers.
class DesktopPrompts : public WindowPrompts {
 public:
  void ShowError(QWidget* parent, const QString& text) override;
  void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                   Icon icon) override;
  QString ChooseFolder(QWidget* parent, const QString& start) override;
  void OpenAddress(const QString& address) override;
};
