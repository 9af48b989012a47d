#pragma once

#include <QDialog>

// A window shown without blocking: the main window is disabled while one is open and enabled
// again when it is hidden, however it is hidden (its button, Escape, the window manager). It has
// no parent widget, so that disabling the main window does not disable it too.
class SecondaryWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SecondaryWindow(Qt::WindowFlags flags = {});

  // Shows the window in the middle of the screen and brings it to the front.
  void ShowCentred();

 signals:
  void Hidden();

 protected:
  void hideEvent(QHideEvent* event) override;
};

// Flags of a small window without system buttons: a title and nothing else.
Qt::WindowFlags TitleOnlyFlags(Qt::WindowType kind = Qt::Dialog);
