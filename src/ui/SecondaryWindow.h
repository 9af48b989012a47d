#pragma once

#include <QDialog>

// A window shown without blocking, owned by the main window, which is disabled while one is open
// and enabled again when it is hidden, however it is hidden (its button, Escape, the window
// manager). It belongs to the main window for the desktop (kept above it, one entry in the task
// list), but is no child widget of it: Qt disables the children of a disabled widget.
class SecondaryWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SecondaryWindow(Qt::WindowFlags flags = {});

  // The window the desktop keeps this one above.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  // Shows the window in the middle of the screen and brings it to the front.
  void ShowCentred();

 signals:
  void Hidden();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  QWidget* owner_ = nullptr;
};

// Flags of a small window without system buttons: a title and nothing else.
Qt::WindowFlags TitleOnlyFlags(Qt::WindowType kind = Qt::Dialog);
