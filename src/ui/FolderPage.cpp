#include "ui/FolderPage.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

FolderPage::FolderPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PageFolder"));
  auto* page = new QVBoxLayout(this);

  DriveGroup = new QGroupBox(QStringLiteral("Wybierz dysk i katalog"), this);
  auto* drive = new QHBoxLayout(DriveGroup);
  FolderPath = NamedLineEdit("FolderPath", DriveGroup);
  FolderPath->setReadOnly(true);
  Browse = NamedButton("Browse", QStringLiteral("..."), DriveGroup);
  Browse->setFixedWidth(Browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
  Donation = new QToolButton(DriveGroup);
  Donation->setObjectName(QStringLiteral("Donate"));
  Donation->setAutoRaise(true);
  Donation->setCursor(Qt::PointingHandCursor);
  Donation->setToolTip(QStringLiteral("If you want to support my work - PLEASE DONATE!"));
  Donation->setAccessibleName(Donation->toolTip());
  Donation->hide();
  drive->addWidget(FolderPath, 1);
  drive->addWidget(Browse);
  drive->addWidget(Donation);
  page->addWidget(DriveGroup);

  FilesGroup = new QGroupBox(QStringLiteral("Lista plików"), this);
  auto* files = new QVBoxLayout(FilesGroup);
  TrackList = new QPlainTextEdit(FilesGroup);
  TrackList->setObjectName(QStringLiteral("TrackList"));
  TrackList->setReadOnly(true);
  TrackList->setLineWrapMode(QPlainTextEdit::NoWrap);
  TrackList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  files->addWidget(TrackList);
  page->addWidget(FilesGroup, 1);

  auto* bottom = new QGridLayout();
  FileLabel = new QLabel(this);
  FileLabel->setObjectName(QStringLiteral("FileLabel"));
  ChecksumLabel = new QLabel(this);
  ChecksumLabel->setObjectName(QStringLiteral("ChecksumLabel"));
  Progress = new QProgressBar(this);
  Progress->setObjectName(QStringLiteral("Progress"));
  Progress->setRange(0, 100);
  Progress->setValue(0);
  Next = NamedButton("NextFromFolder", QStringLiteral("Dalej >"), this);
  Next->setEnabled(false);
  bottom->addWidget(FileLabel, 0, 0);
  bottom->addWidget(ChecksumLabel, 0, 1);
  bottom->addWidget(Progress, 1, 0, 1, 2);
  bottom->addWidget(Next, 1, 2);
  bottom->setColumnStretch(0, 1);
  bottom->setColumnStretch(1, 1);
  page->addLayout(bottom);
}

void FolderPage::ShowScan(const ScanState& scan) {
  FolderPath->setText(scan.FolderPath);
  TrackList->setPlainText(scan.TrackList.join(QLatin1Char('\n')));
  Next->setEnabled(scan.AnalysisEnabled());
}

void FolderPage::ShowDonation(const QPixmap& picture) {
  Donation->setIcon(QIcon(picture));
  Donation->setIconSize(picture.size());
  Donation->setVisible(!picture.isNull());
}

void FolderPage::ShowProgress(const ProgressState& progress) {
  ShowProgress(progress, progress.Percent);
}

void FolderPage::ShowProgress(const ProgressState& progress, int percent) {
  FileLabel->setText(progress.FileLabel);
  ChecksumLabel->setText(progress.ChecksumLabel);
  Progress->setValue(percent);
}

QList<CaptionKey> FolderPage::CaptionKeys() {
  return {
      {"GROUPBOXES", "4001", [this](const QString& text) { DriveGroup->setTitle(text); }},
      {"GROUPBOXES", "4003", [this](const QString& text) { FilesGroup->setTitle(text); }},
      {"BUTTONS", "5001", [this](const QString& text) { Next->setText(text); }},
  };
}

QList<CaptionOwner> FolderPage::CaptionOwners() const {
  return {{FolderPath, [this] { return DriveGroup->title(); }},
          {TrackList, [this] { return FilesGroup->title(); }},
          {Progress, [this] { return FilesGroup->title(); }}};
}
