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

  driveGroup_ = new QGroupBox(QStringLiteral("Wybierz dysk i katalog"), this);
  auto* drive = new QHBoxLayout(driveGroup_);
  folderPath_ = NamedLineEdit("FolderPath", driveGroup_);
  folderPath_->setReadOnly(true);
  browse_ = NamedButton("Browse", QStringLiteral("..."), driveGroup_);
  browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
  donation_ = new QToolButton(driveGroup_);
  donation_->setObjectName(QStringLiteral("Donate"));
  donation_->setAutoRaise(true);
  donation_->setCursor(Qt::PointingHandCursor);
  donation_->setToolTip(QStringLiteral("If you want to support my work - PLEASE DONATE!"));
  donation_->setAccessibleName(donation_->toolTip());
  donation_->hide();
  drive->addWidget(folderPath_, 1);
  drive->addWidget(browse_);
  drive->addWidget(donation_);
  page->addWidget(driveGroup_);

  filesGroup_ = new QGroupBox(QStringLiteral("Lista plików"), this);
  auto* files = new QVBoxLayout(filesGroup_);
  trackList_ = new QPlainTextEdit(filesGroup_);
  trackList_->setObjectName(QStringLiteral("TrackList"));
  trackList_->setReadOnly(true);
  trackList_->setLineWrapMode(QPlainTextEdit::NoWrap);
  trackList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  files->addWidget(trackList_, 1);
  // The rip logs, cue sheets, pictures and lists beside the audio, and the logs' check.
  extras_ = new QPlainTextEdit(filesGroup_);
  extras_->setObjectName(QStringLiteral("Extras"));
  extras_->setAccessibleName(QStringLiteral("Extras"));
  extras_->setReadOnly(true);
  extras_->setLineWrapMode(QPlainTextEdit::NoWrap);
  extras_->setMaximumHeight(extras_->fontMetrics().lineSpacing() * 5 + 12);
  extras_->hide();
  files->addWidget(extras_);
  page->addWidget(filesGroup_, 1);

  auto* bottom = new QGridLayout();
  fileLabel_ = new QLabel(this);
  fileLabel_->setObjectName(QStringLiteral("FileLabel"));
  checksumLabel_ = new QLabel(this);
  checksumLabel_->setObjectName(QStringLiteral("ChecksumLabel"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  next_ = NamedButton("NextFromFolder", QStringLiteral("Dalej >"), this);
  next_->setEnabled(false);
  bottom->addWidget(fileLabel_, 0, 0);
  bottom->addWidget(checksumLabel_, 0, 1);
  bottom->addWidget(progress_, 1, 0, 1, 2);
  bottom->addWidget(next_, 1, 2);
  bottom->setColumnStretch(0, 1);
  bottom->setColumnStretch(1, 1);
  page->addLayout(bottom);

  connect(browse_, &QPushButton::clicked, this, &FolderPage::BrowseRequested);
  connect(next_, &QPushButton::clicked, this, &FolderPage::NextRequested);
  connect(donation_, &QToolButton::clicked, this, &FolderPage::DonationClicked);
}

void FolderPage::ShowScan(const ScanState& scan) {
  folderPath_->setText(scan.FolderPath);
  QStringList shown;
  shown.reserve(scan.TrackList.size());
  for (const QString& path : scan.TrackList)
    shown << ShownTrackPath(scan, path);
  trackList_->setPlainText(shown.join(QLatin1Char('\n')));
}

void FolderPage::ShowExtras(const QStringList& lines) {
  extras_->setPlainText(lines.join(QLatin1Char('\n')));
  extras_->setVisible(!lines.isEmpty());
}

void FolderPage::SetNextEnabled(bool enabled) {
  next_->setEnabled(enabled);
}

void FolderPage::SetBrowseEnabled(bool enabled) {
  browse_->setEnabled(enabled);
}

void FolderPage::ShowDonation(const QPixmap& picture) {
  donation_->setIcon(QIcon(picture));
  donation_->setIconSize(picture.size());
  donation_->setVisible(!picture.isNull());
}

void FolderPage::ShowProgress(const ProgressState& progress) {
  fileLabel_->setText(progress.FileLabel);
  checksumLabel_->setText(progress.ChecksumLabel);
  progress_->setValue(progress.Percent);
}

void FolderPage::FocusBrowse() {
  browse_->setFocus();
}

void FolderPage::FocusNext() {
  next_->setFocus();
}

CaptionSetters FolderPage::Captions() {
  return {
      {Caption::FolderGroup, [this](const QString& text) { driveGroup_->setTitle(text); }},
      {Caption::FilesGroup, [this](const QString& text) { filesGroup_->setTitle(text); }},
      {Caption::NextFromFolder, [this](const QString& text) { next_->setText(text); }},
  };
}

QList<CaptionOwner> FolderPage::CaptionOwners() const {
  return {{folderPath_, [this] { return driveGroup_->title(); }},
          {trackList_, [this] { return filesGroup_->title(); }},
          {progress_, [this] { return filesGroup_->title(); }}};
}
