#pragma once

#include "ui/CaptionTable.h"
#include "ui/SecondaryWindow.h"

class QLabel;
class QPushButton;

// TAbout: the program's name and version, two lines about it, its web and contact addresses.
class AboutBox : public SecondaryWindow {
  Q_OBJECT

 public:
  AboutBox();

  // The picture at the top; without one, none is shown.
  void ShowPicture(const QPixmap& picture);
  CaptionSetters Captions();

 signals:
  void AddressClicked(const QString& address);

 private:
  QLabel* picture_;
  QPushButton* ok_;
};

// The product's contact address, as the about box shows it.
QString ContactAddress();
