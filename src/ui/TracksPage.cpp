#include "ui/TracksPage.h"

#include "ui/Controls.h"
#include "ui/TrackTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr std::array<int, TrackTableModel::kColumnCount> kColumnWidths = {200, 150, 200, 150, 75,
                                                                          75,  100, 150, 100};

QTableView* NewTrackTable(QWidget* parent) {
  auto* table = new QTableView(parent);
  table->setObjectName(QStringLiteral("Tracks"));
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->setShowGrid(true);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  // Tab leaves the list for the next control instead of walking its cells, and Ctrl+Tab reaches
  // the page tabs.
  table->setTabKeyNavigation(false);
  return table;
}

}  // namespace

TracksPage::TracksPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PageTracks"));
  auto* page = new QVBoxLayout(this);
  tracks_ = NewTrackTable(this);
  page->addWidget(tracks_, 1);

  otherGroup_ = new QGroupBox(QStringLiteral("Pozostałe informacje"), this);
  grid_ = new QGridLayout(otherGroup_);
  grid_->setVerticalSpacing(2);
  auto addField = [&](int row, int column, const char* name, const QString& caption,
                      std::optional<Caption> captionId, QWidget* field) {
    QLabel* label =
        CaptionLabel((QByteArray(name) + "Label").constData(), caption, field, otherGroup_);
    grid_->addWidget(label, row, column * 2);
    grid_->addWidget(field, row, column * 2 + 1);
    if (captionId)
      captions_[*captionId] = [label](const QString& text) { label->setText(text); };
    return label;
  };
  auto text = [&](int row, int column, const char* name, const QString& caption,
                  std::optional<Caption> captionId, QString ReleaseSummary::*field) {
    QLineEdit* edit = NamedLineEdit(name, otherGroup_);
    // The totals' column is narrow, but a size of a few gigabytes must show whole; the stream's
    // texts get the room of at least "MPEG 2.5 Layer III".
    const QString widest =
        column == 1 ? QStringLiteral("9999,99 MB") : QStringLiteral("MPEG 2.5 Layer III");
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(widest) + 10);
    addField(row, column, name, caption, captionId, edit);
    bindings_.append(Bound<ReleaseSummary, QString, QLineEdit>{edit, field});
  };
  // The stream's long texts ("Free Lossless Audio Codec (FLAC)") get the wide first column.
  text(0, 0, "VersionText", QStringLiteral("Wersja:"), Caption::VersionLabel,
       &ReleaseSummary::VersionText);
  text(1, 0, "EncoderText", QStringLiteral("Koder:"), Caption::EncoderLabel,
       &ReleaseSummary::EncoderText);
  text(2, 0, "SampleRateText", QStringLiteral("Hz:"), Caption::SampleRateLabel,
       &ReleaseSummary::SampleRateText);
  text(3, 0, "ChannelsText", QStringLiteral("Kanały:"), Caption::ChannelsLabel,
       &ReleaseSummary::ChannelsText);
  text(4, 0, "QualityText", QStringLiteral("Jakość:"), Caption::QualityLabel,
       &ReleaseSummary::QualityText);
  genre_ = NamedChoice("Genre", otherGroup_);
  addField(5, 0, "Genre", QStringLiteral("Genre:"), Caption::GenreLabel, genre_);
  bindings_.append(Bound<ReleaseSummary, QString, QComboBox>{genre_, &ReleaseSummary::Genre});
  text(6, 0, "Year", QStringLiteral("Rok:"), Caption::YearLabel, &ReleaseSummary::Year);
  text(0, 1, "TotalTimeText", QStringLiteral("Łączny czas:"), Caption::TotalTimeLabel,
       &ReleaseSummary::TotalTimeText);
  text(1, 1, "TotalSizeText", QStringLiteral("Łączna wielkość:"), Caption::TotalSizeLabel,
       &ReleaseSummary::TotalSizeText);
  text(2, 1, "AverageText", QStringLiteral("Średni bitrate:"), Caption::AverageLabel,
       &ReleaseSummary::AverageText);
  text(3, 1, "Id3v1Text", QStringLiteral("ID3Tag 1:"), Caption::Id3v1Label,
       &ReleaseSummary::Id3v1Text);
  text(4, 1, "Id3v2Text", QStringLiteral("ID3Tag 2:"), Caption::Id3v2Label,
       &ReleaseSummary::Id3v2Text);
  text(5, 1, "ApeTagText", QStringLiteral("APE Tag:"), Caption::ApeTagLabel,
       &ReleaseSummary::ApeTagText);
  text(6, 1, "VorbisTagText", QStringLiteral("Vorbis Tag:"), std::nullopt,
       &ReleaseSummary::VorbisTagText);

  variousArtists_ = NamedCheckBox("VariousArtists", QStringLiteral("Różni wykonawcy"), otherGroup_);
  variousAlbumTitle_ = NamedLineEdit("VariousAlbumTitle", otherGroup_);
  grid_->addWidget(variousArtists_, 0, 4, 1, 2);
  grid_->addWidget(variousAlbumTitle_, 1, 4, 1, 2);
  nmr_ = NamedCheckBox("Nmr", QStringLiteral("NMR"), otherGroup_);
  grid_->addWidget(nmr_, 2, 4, 1, 2);
  source_ = NamedChoice("Source", otherGroup_);
  source_->addItems({QStringLiteral("CD"), QStringLiteral("DVD"), QStringLiteral("MC"),
                     QStringLiteral("Vinyl"), QStringLiteral("TV")});
  source_->setEditText(QStringLiteral("CD"));
  sourceLabel_ = addField(3, 2, "Source", QStringLiteral("Źródło:"), Caption::SourceLabel, source_);
  ripperProgram_ = NamedChoice("RipperProgram", otherGroup_);
  ripperLabel_ = addField(4, 2, "RipperProgram", QStringLiteral("Ripper:"), Caption::RipperLabel,
                          ripperProgram_);
  drive_ = NamedChoice("Drive", otherGroup_);
  driveLabel_ = addField(5, 2, "Drive", QStringLiteral("CD/DVD:"), Caption::DriveLabel, drive_);
  text(6, 2, "AlbumArtist", QStringLiteral("Wykonawca albumu:"), Caption::AlbumArtistLabel,
       &ReleaseSummary::AlbumArtist);
  bindings_.append(
      Bound<ReleaseSummary, bool, QCheckBox>{variousArtists_, &ReleaseSummary::VariousArtists});
  bindings_.append(Bound<ReleaseSummary, QString, QLineEdit>{variousAlbumTitle_,
                                                             &ReleaseSummary::VariousAlbumTitle});
  bindings_.append(Bound<ReleaseSummary, bool, QCheckBox>{nmr_, &ReleaseSummary::Nmr});
  bindings_.append(Bound<ReleaseSummary, QString, QComboBox>{source_, &ReleaseSummary::Source});
  bindings_.append(
      Bound<ReleaseSummary, QString, QComboBox>{ripperProgram_, &ReleaseSummary::RipperProgram});
  bindings_.append(Bound<ReleaseSummary, QString, QComboBox>{drive_, &ReleaseSummary::Drive});
  grid_->setColumnStretch(1, 3);
  grid_->setColumnStretch(3, 1);
  grid_->setColumnStretch(5, 2);
  page->addWidget(otherGroup_);

  next_ = NamedButton("NextFromTracks", QStringLiteral("Dalej >"), this);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(next_);
  page->addLayout(buttons);

  connect(variousArtists_, &QCheckBox::toggled, this, &TracksPage::FollowRules);
  connect(nmr_, &QCheckBox::toggled, this, &TracksPage::FollowRules);
  connect(nmr_, &QCheckBox::clicked, this, &TracksPage::NmrClicked);
  connect(next_, &QPushButton::clicked, this, &TracksPage::NextRequested);

  captions_[Caption::OtherGroup] = [this](const QString& text) { otherGroup_->setTitle(text); };
  captions_[Caption::NextFromTracks] = [this](const QString& text) { next_->setText(text); };
  captions_[Caption::VariousArtists] = [this](const QString& text) {
    variousArtists_->setText(text);
  };
  captions_[Caption::Nmr] = [this](const QString& text) { nmr_->setText(text); };
}

void TracksPage::SetTrackModel(QAbstractItemModel* model) {
  tracks_->setModel(model);
  for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column)
    tracks_->setColumnWidth(column, kColumnWidths[static_cast<size_t>(column)]);
  tracks_->horizontalHeader()->moveSection(TrackTableModel::kDisc, 0);
  ShowDiscColumn(false);
}

void TracksPage::ShowDiscColumn(bool shown) {
  tracks_->setColumnHidden(TrackTableModel::kDisc, !shown);
  // A column shown again takes the default section width unless told its own.
  if (shown)
    tracks_->setColumnWidth(TrackTableModel::kDisc, kColumnWidths[TrackTableModel::kDisc]);
}

void TracksPage::ShowChoices(const ChoiceLists& lists) {
  for (auto [combo, items] :
       {std::pair{genre_, &lists.Genres}, std::pair{ripperProgram_, &lists.RipperPrograms},
        std::pair{drive_, &lists.Drives}}) {
    ReplaceChoices(combo, *items);
  }
}

void TracksPage::FollowRules() {
  variousAlbumTitle_->setReadOnly(!variousArtists_->isChecked());
  const bool enabled = !nmr_->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(sourceLabel_), static_cast<QWidget*>(ripperLabel_),
                           static_cast<QWidget*>(driveLabel_), static_cast<QWidget*>(source_),
                           static_cast<QWidget*>(ripperProgram_), static_cast<QWidget*>(drive_)}) {
    control->setEnabled(enabled);
  }
}

bool TracksPage::NmrChecked() const {
  return nmr_->isChecked();
}

QList<FieldBinding> TracksPage::Bindings() {
  return bindings_;
}

CaptionSetters TracksPage::Captions() {
  return captions_;
}

QList<CaptionOwner> TracksPage::CaptionOwners() const {
  return {{variousAlbumTitle_, [this] { return variousArtists_->text(); }}};
}

QWidget* TracksPage::TrackList() const {
  return tracks_;
}
