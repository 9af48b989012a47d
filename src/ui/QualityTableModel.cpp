#include "ui/QualityTableModel.h"

#include "platform/UserLocale.h"

#include <QFont>

namespace {

QString Decibels(double value, const QString& unit, int decimals = 2) {
  return UserLocale::System().FormatFixed(value, decimals) + QLatin1Char(' ') + unit;
}

QString SignedDecibels(double value) {
  const QString text = Decibels(value, QStringLiteral("dB"));
  return value >= 0 ? QLatin1Char('+') + text : text;
}

QString Kilohertz(double hertz) {
  return UserLocale::System().FormatFixed(hertz / 1000.0, 1) + QStringLiteral(" kHz");
}

}  // namespace

QualityTableModel::QualityTableModel(const ReleaseSession& session, QObject* parent)
    : CaptionedTableModel(
          {QStringLiteral("Plik"), QStringLiteral("DR"), QStringLiteral("Szczyt"),
           QStringLiteral("RMS"), QStringLiteral("Głośność"), QStringLiteral("Szczyt rzecz."),
           QStringLiteral("Wzmocnienie"), QStringLiteral("Pasmo do"), QStringLiteral("Uwagi")},
          parent),
      session_(session),
      album_(QStringLiteral("Album")),
      lossySource_(QStringLiteral("możliwe źródło stratne")),
      upsampled_(QStringLiteral("możliwy upsampling")),
      notDecoded_(QStringLiteral("nie zdekodowano: %1")) {}

int QualityTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid())
    return 0;
  const ReleaseAudio& audio = session_.State().Audio;
  return static_cast<int>(audio.Tracks.size()) + (audio.Done ? 1 : 0);
}

QString QualityTableModel::Notes(int row) const {
  const ReleaseAudio& audio = session_.State().Audio;
  const auto index = static_cast<size_t>(row);
  const std::optional<AudioFigures>& figures = audio.Tracks[index];
  if (!figures)
    return audio.Errors[index].isEmpty() ? QString() : notDecoded_.arg(audio.Errors[index]);
  QStringList notes;
  if (figures->LossySource)
    notes << lossySource_;
  if (figures->Upsampled)
    notes << upsampled_;
  return notes.join(QStringLiteral(", "));
}

QString QualityTableModel::TrackText(int row, int column) const {
  const Release& release = session_.State();
  const auto index = static_cast<size_t>(row);
  if (column == kFile) {
    if (index >= release.Tracks.size())
      return {};
    // The same name may stand on every disc of a release of several.
    const TrackRecord& track = release.Tracks[index];
    return track.Disc.isEmpty() ? track.FileName : track.Disc + QLatin1Char('/') + track.FileName;
  }
  if (column == kNotes)
    return Notes(row);
  const std::optional<AudioFigures>& figures = release.Audio.Tracks[index];
  if (!figures)
    return {};
  switch (column) {
    case kDr:
      return QStringLiteral("DR%1").arg(figures->Dr);
    case kPeak:
      return Decibels(figures->Peak, QStringLiteral("dB"));
    case kRms:
      return Decibels(figures->Rms, QStringLiteral("dB"));
    case kLoudness:
      return Decibels(figures->Loudness, QStringLiteral("LUFS"), 1);
    case kTruePeak:
      return Decibels(figures->TruePeak, QStringLiteral("dBTP"), 1);
    case kGain:
      return SignedDecibels(figures->TrackGain);
    case kCutoff:
      return Kilohertz(figures->Cutoff);
    default:
      return {};
  }
}

QString QualityTableModel::AlbumText(int column) const {
  const AlbumAudioFigures& album = session_.State().Audio.Album;
  switch (column) {
    case kFile:
      return album_;
    case kDr:
      return QStringLiteral("DR%1").arg(album.Dr);
    case kLoudness:
      return Decibels(album.Loudness, QStringLiteral("LUFS"), 1);
    case kTruePeak:
      return Decibels(album.TruePeak, QStringLiteral("dBTP"), 1);
    case kGain:
      return SignedDecibels(album.AlbumGain);
    default:
      return {};
  }
}

QVariant QualityTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const bool albumRow = index.row() == static_cast<int>(session_.State().Audio.Tracks.size());
  switch (role) {
    case Qt::DisplayRole:
      return albumRow ? AlbumText(index.column()) : TrackText(index.row(), index.column());
    case Qt::FontRole:
      if (albumRow) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() != kFile && index.column() != kNotes)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

void QualityTableModel::SetText(Text which, const QString& text) {
  switch (which) {
    case Text::Album:
      album_ = text;
      break;
    case Text::LossySource:
      lossySource_ = text;
      break;
    case Text::Upsampled:
      upsampled_ = text;
      break;
    case Text::NotDecoded:
      notDecoded_ = text;
      break;
  }
  if (rowCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}
