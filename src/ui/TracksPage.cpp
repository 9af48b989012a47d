#include "ui/TracksPage.h"

#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr std::array<int, 8> kColumnWidths = {200, 150, 200, 150, 75, 75, 100, 150};

QStringList DesignedHeaders() {
  return {QStringLiteral("Plik"),    QStringLiteral("Autor"),   QStringLiteral("Tytuł"),
          QStringLiteral("Album"),   QStringLiteral("Długość"), QStringLiteral("Czas"),
          QStringLiteral("Bitrate"), QStringLiteral("CRC")};
}

QTableWidget* NewTrackTable(QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(kColumnWidths.size()), parent);
  table->setObjectName(QStringLiteral("Tracks"));
  table->setHorizontalHeaderLabels(DesignedHeaders());
  for (int column = 0; column < table->columnCount(); ++column)
    table->setColumnWidth(column, kColumnWidths[static_cast<size_t>(column)]);
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

QString TrackColumn(const TrackRecord& row, int column) {
  switch (column) {
    case 0:
      return row.FileName;
    case 1:
      return row.Artist;
    case 2:
      return row.Title;
    case 3:
      return row.Album;
    case 4:
      return row.SizeText;
    case 5:
      return row.DurationText;
    case 6:
      return row.BitrateText;
    default:
      return row.ChecksumText;
  }
}

}  // namespace

TracksPage::TracksPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PageTracks"));
  auto* page = new QVBoxLayout(this);
  Tracks = NewTrackTable(this);
  page->addWidget(Tracks, 1);

  OtherGroup = new QGroupBox(QStringLiteral("Pozostałe informacje"), this);
  auto* grid = new QGridLayout(OtherGroup);
  grid->setVerticalSpacing(2);
  auto addField = [&](int row, int column, const char* name, const QString& caption,
                      const char* key, QWidget* field) {
    QLabel* label =
        CaptionLabel((QByteArray(name) + "Label").constData(), caption, field, OtherGroup);
    grid->addWidget(label, row, column * 2);
    grid->addWidget(field, row, column * 2 + 1);
    if (key)
      rows_.append({label, key});
    return label;
  };
  auto text = [&](int row, int column, const char* name, const QString& caption, const char* key) {
    QLineEdit* field = NamedLineEdit(name, OtherGroup);
    // The totals' column is narrow, but a size of a few gigabytes must show whole; the stream's
    // texts get the room of at least "MPEG 2.5 Layer III".
    const QString widest =
        column == 1 ? QStringLiteral("9999,99 MB") : QStringLiteral("MPEG 2.5 Layer III");
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(widest) + 10);
    addField(row, column, name, caption, key, field);
  };
  // The stream's long texts ("Free Lossless Audio Codec (FLAC)") get the wide first column.
  text(0, 0, "VersionText", QStringLiteral("Wersja:"), "6001");
  text(1, 0, "EncoderText", QStringLiteral("Koder:"), "6004");
  text(2, 0, "SampleRateText", QStringLiteral("Hz:"), "6002");
  text(3, 0, "ChannelsText", QStringLiteral("Kanały:"), "6003");
  text(4, 0, "QualityText", QStringLiteral("Jakość:"), "6006");
  Genre = NamedChoice("Genre", OtherGroup);
  addField(5, 0, "Genre", QStringLiteral("Genre:"), "6014", Genre);
  text(6, 0, "Year", QStringLiteral("Rok:"), "6009");
  text(0, 1, "TotalTimeText", QStringLiteral("Łączny czas:"), "6007");
  text(1, 1, "TotalSizeText", QStringLiteral("Łączna wielkość:"), "6008");
  text(2, 1, "AverageText", QStringLiteral("Średni bitrate:"), "6005");
  text(3, 1, "Id3v1Text", QStringLiteral("ID3Tag 1:"), "6010");
  text(4, 1, "Id3v2Text", QStringLiteral("ID3Tag 2:"), "6011");
  text(5, 1, "ApeTagText", QStringLiteral("APE Tag:"), "6012");
  text(6, 1, "VorbisTagText", QStringLiteral("Vorbis Tag:"), nullptr);

  VariousArtists = NamedCheckBox("VariousArtists", QStringLiteral("Różni wykonawcy"), OtherGroup);
  VariousAlbumTitle = NamedLineEdit("VariousAlbumTitle", OtherGroup);
  grid->addWidget(VariousArtists, 0, 4, 1, 2);
  grid->addWidget(VariousAlbumTitle, 1, 4, 1, 2);
  Nmr = NamedCheckBox("Nmr", QStringLiteral("NMR"), OtherGroup);
  grid->addWidget(Nmr, 2, 4, 1, 2);
  Source = NamedChoice("Source", OtherGroup);
  Source->addItems({QStringLiteral("CD"), QStringLiteral("DVD"), QStringLiteral("MC"),
                    QStringLiteral("Vinyl"), QStringLiteral("TV")});
  Source->setEditText(QStringLiteral("CD"));
  SourceLabel = addField(3, 2, "Source", QStringLiteral("Źródło:"), "6015", Source);
  RipperProgram = NamedChoice("RipperProgram", OtherGroup);
  RipperLabel = addField(4, 2, "RipperProgram", QStringLiteral("Ripper:"), "6016", RipperProgram);
  Drive = NamedChoice("Drive", OtherGroup);
  DriveLabel = addField(5, 2, "Drive", QStringLiteral("CD/DVD:"), "6017", Drive);
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(3, 1);
  grid->setColumnStretch(5, 2);
  page->addWidget(OtherGroup);

  Next = NamedButton("NextFromTracks", QStringLiteral("Dalej >"), this);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Next);
  page->addLayout(buttons);

  connect(VariousArtists, &QCheckBox::clicked, this, &TracksPage::FollowVariousArtists);
  connect(Nmr, &QCheckBox::clicked, this, &TracksPage::FollowNmr);
}

void TracksPage::ShowTracks(const std::vector<TrackRecord>& tracks) {
  Tracks->setUpdatesEnabled(false);
  Tracks->clearContents();
  Tracks->setRowCount(static_cast<int>(tracks.size()));
  for (int row = 0; row < Tracks->rowCount(); ++row) {
    for (int column = 0; column < Tracks->columnCount(); ++column) {
      Tracks->setItem(row, column,
                      new QTableWidgetItem(TrackColumn(tracks[static_cast<size_t>(row)], column)));
    }
  }
  Tracks->setUpdatesEnabled(true);
}

void TracksPage::ShowChoices(const ChoiceLists& lists) {
  for (auto [combo, items] :
       {std::pair{Genre, &lists.Genres}, std::pair{RipperProgram, &lists.RipperPrograms},
        std::pair{Drive, &lists.Drives}}) {
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(*items);
    combo->setEditText(text);
  }
}

void TracksPage::FollowVariousArtists() {
  VariousAlbumTitle->setReadOnly(!VariousArtists->isChecked());
}

void TracksPage::FollowNmr() {
  const bool enabled = !Nmr->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(SourceLabel), static_cast<QWidget*>(RipperLabel),
                           static_cast<QWidget*>(DriveLabel), static_cast<QWidget*>(Source),
                           static_cast<QWidget*>(RipperProgram), static_cast<QWidget*>(Drive)}) {
    control->setEnabled(enabled);
  }
}

QList<CaptionKey> TracksPage::CaptionKeys() {
  QList<CaptionKey> keys;
  static const std::array<const char*, 8> kHeaderKeys = {"3001", "3002", "3003", "3004",
                                                         "3005", "3006", "3007", "3008"};
  for (int column = 0; column < static_cast<int>(kHeaderKeys.size()); ++column) {
    keys.append(
        {"LISTVIEW", kHeaderKeys[static_cast<size_t>(column)], [this, column](const QString& text) {
           Tracks->horizontalHeaderItem(column)->setText(text);
         }});
  }
  keys.append({"GROUPBOXES", "4004", [this](const QString& text) { OtherGroup->setTitle(text); }});
  keys.append({"BUTTONS", "5002", [this](const QString& text) { Next->setText(text); }});
  for (const SummaryRow& row : rows_)
    keys.append(
        {"LABELS", row.Key, [label = row.Label](const QString& text) { label->setText(text); }});
  keys.append(
      {"CHECKBOXES", "7011", [this](const QString& text) { VariousArtists->setText(text); }});
  keys.append({"CHECKBOXES", "7012", [this](const QString& text) { Nmr->setText(text); }});
  return keys;
}

QList<CaptionOwner> TracksPage::CaptionOwners() const {
  return {{VariousAlbumTitle, [this] { return VariousArtists->text(); }}};
}
