#include "app/JsonExport.h"

#include "app/ModelFields.h"
#include "nfo/OutputSaving.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject ScanToJson(const ScanState& scan) {
  QJsonObject counts;
  for (int format = 1; format <= kFormatCount; ++format) {
    counts.insert(FormatExtension(format), scan.FormatCounts[format - 1]);
  }
  return {{QStringLiteral("FolderPath"), scan.FolderPath},
          {QStringLiteral("FormatCounts"), counts},
          {QStringLiteral("DominantExtension"), scan.DominantExtension},
          {QStringLiteral("TrackList"), QJsonArray::fromStringList(scan.TrackList)}};
}

QJsonValue OptionalNumber(const auto& value) {
  return value.has_value() ? QJsonValue(static_cast<double>(*value)) : QJsonValue(QJsonValue::Null);
}

QJsonObject StreamToJson(const StreamValues& stream) {
  return {{QStringLiteral("Valid"), stream.Valid},
          {QStringLiteral("Duration"), stream.Duration},
          {QStringLiteral("SampleRate"), stream.SampleRate},
          {QStringLiteral("FileSize"), static_cast<double>(stream.FileSize)},
          {QStringLiteral("BitRate"), OptionalNumber(stream.BitRate)},
          {QStringLiteral("Ratio"), OptionalNumber(stream.Ratio)}};
}

QJsonObject TrackToJson(const TrackRecord& row) {
  return {{QStringLiteral("FilePath"), row.FilePath},
          {QStringLiteral("FileName"), row.FileName},
          {QStringLiteral("Artist"), row.Artist},
          {QStringLiteral("Title"), row.Title},
          {QStringLiteral("Album"), row.Album},
          {QStringLiteral("SizeText"), row.SizeText},
          {QStringLiteral("DurationText"), row.DurationText},
          {QStringLiteral("DurationSecondsText"), row.DurationSecondsText},
          {QStringLiteral("BitrateText"), row.BitrateText},
          {QStringLiteral("ChecksumText"), row.ChecksumText},
          {QStringLiteral("Stream"), StreamToJson(row.Stream)}};
}

QJsonObject RunToJson(const ReleaseModel& model) {
  return {{QStringLiteral("ProgramDir"), model.Run.ProgramDir},
          {QStringLiteral("StartTimeText"), model.Run.StartTimeText},
          {QStringLiteral("OutputBaseName"), model.Run.OutputBaseName},
          {QStringLiteral("OutputFolder"), OutputFolderOf(model)},
          {QStringLiteral("TrackCount"), model.Scan.TrackCount}};
}

}  // namespace

QByteArray ReleaseToJson(ReleaseModel& model) {
  QJsonArray tracks;
  for (const TrackRecord& row : model.Tracks)
    tracks.append(TrackToJson(row));
  const QJsonObject root{{QStringLiteral("scan"), ScanToJson(model.Scan)},
                         {QStringLiteral("tracks"), tracks},
                         {QStringLiteral("summary"), FieldsToJson(SummaryFields(model.Summary))},
                         {QStringLiteral("info"), FieldsToJson(InfoFields(model.Info))},
                         {QStringLiteral("run"), RunToJson(model)}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
