#include "ui/TrackTableModel.h"

#include <QApplication>
#include <QStyle>

namespace {

QString ColumnText(const TrackRecord& row, int column) {
  switch (column) {
    case TrackTableModel::kFile:
      return row.FileName;
    case TrackTableModel::kArtist:
      return row.Artist;
    case TrackTableModel::kTitle:
      return row.Title;
    case TrackTableModel::kAlbum:
      return row.Album;
    case TrackTableModel::kSize:
      return row.SizeText;
    case TrackTableModel::kTime:
      return row.DurationText;
    case TrackTableModel::kBitrate:
      return row.BitrateText;
    case TrackTableModel::kDisc:
      return row.Disc;
    default:
      return row.ChecksumText;
  }
}

}  // namespace

TrackTableModel::TrackTableModel(const ReleaseSession& session, QObject* parent)
    : CaptionedTableModel(
          {QStringLiteral("Plik"), QStringLiteral("Autor"), QStringLiteral("Tytuł"),
           QStringLiteral("Album"), QStringLiteral("Długość"), QStringLiteral("Czas"),
           QStringLiteral("Bitrate"), QStringLiteral("CRC"), QStringLiteral("Płyta")},
          parent),
      session_(session),
      unreadableText_(QStringLiteral("The stream of this file could not be read")),
      warning_(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)) {}

int TrackTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(session_.State().Tracks.size());
}

bool TrackTableModel::Unreadable(int row) const {
  const Release& release = session_.State();
  // Only a track the analysis has read can be found unreadable.
  return row < release.Scan.TrackCount && !release.Tracks[static_cast<size_t>(row)].StreamUsable();
}

QVariant TrackTableModel::data(const QModelIndex& index, int role) const {
  const std::vector<TrackRecord>& tracks = session_.State().Tracks;
  if (!index.isValid() || index.row() >= static_cast<int>(tracks.size()))
    return {};
  const TrackRecord& row = tracks[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return ColumnText(row, index.column());
    case Qt::DecorationRole:
      if (index.column() == kFile && Unreadable(index.row()))
        return warning_;
      return {};
    case Qt::ToolTipRole:
      if (Unreadable(index.row()))
        return unreadableText_;
      return {};
    default:
      return {};
  }
}
