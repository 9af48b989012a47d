#include "model/ModelFields.h"

namespace {

bool ParseField(const FieldRef& ref, const QString& text) {
  return std::visit(Overloaded{
                        [&](QString* field) {
                          *field = text;
                          return true;
                        },
                        [&](bool* field) {
                          if (text != QStringLiteral("0") && text != QStringLiteral("1"))
                            return false;
                          *field = text == QStringLiteral("1");
                          return true;
                        },
                        [&](QDate* field) {
                          const QDate date = QDate::fromString(text, Qt::ISODate);
                          if (!date.isValid() || text.size() != 10)
                            return false;
                          *field = date;
                          return true;
                        },
                        [&](QStringList* field) {
                          *field = text.isEmpty() ? QStringList() : text.split(QLatin1Char(';'));
                          return true;
                        },
                    },
                    ref);
}

}  // namespace

QList<NamedField> SummaryFields(ReleaseSummary& s) {
  return {{QStringLiteral("Year"), &s.Year},
          {QStringLiteral("TotalTimeText"), &s.TotalTimeText},
          {QStringLiteral("TotalSizeText"), &s.TotalSizeText},
          {QStringLiteral("SampleRateText"), &s.SampleRateText},
          {QStringLiteral("ChannelsText"), &s.ChannelsText},
          {QStringLiteral("VersionText"), &s.VersionText},
          {QStringLiteral("EncoderText"), &s.EncoderText},
          {QStringLiteral("AverageText"), &s.AverageText},
          {QStringLiteral("QualityText"), &s.QualityText},
          {QStringLiteral("Id3v1Text"), &s.Id3v1Text},
          {QStringLiteral("Id3v2Text"), &s.Id3v2Text},
          {QStringLiteral("ApeTagText"), &s.ApeTagText},
          {QStringLiteral("VorbisTagText"), &s.VorbisTagText},
          {QStringLiteral("Genre"), &s.Genre},
          {QStringLiteral("AlbumArtist"), &s.AlbumArtist},
          {QStringLiteral("VariousArtists"), &s.VariousArtists},
          {QStringLiteral("VariousAlbumTitle"), &s.VariousAlbumTitle},
          {QStringLiteral("Nmr"), &s.Nmr},
          {QStringLiteral("Source"), &s.Source},
          {QStringLiteral("RipperProgram"), &s.RipperProgram},
          {QStringLiteral("Drive"), &s.Drive}};
}

QList<NamedField> InfoFields(ReleaseInfo& i) {
  return {{QStringLiteral("RippedBy"), &i.RippedBy},
          {QStringLiteral("RipDate"), &i.RipDate},
          {QStringLiteral("PostedBy"), &i.PostedBy},
          {QStringLiteral("PostDate"), &i.PostDate},
          {QStringLiteral("DiscInfo"), &i.DiscInfo},
          {QStringLiteral("NewsServer"), &i.NewsServer},
          {QStringLiteral("Group"), &i.Group},
          {QStringLiteral("SelectedGroups"), &i.SelectedGroups},
          {QStringLiteral("IncludeChecksums"), &i.IncludeChecksums},
          {QStringLiteral("IncludePls"), &i.IncludePls},
          {QStringLiteral("IncludeM3u"), &i.IncludeM3u},
          {QStringLiteral("IncludeEacLog"), &i.IncludeEacLog},
          {QStringLiteral("IncludePar"), &i.IncludePar},
          {QStringLiteral("IncludePar2"), &i.IncludePar2},
          {QStringLiteral("IncludeCue"), &i.IncludeCue},
          {QStringLiteral("CoverFront"), &i.CoverFront},
          {QStringLiteral("CoverBack"), &i.CoverBack},
          {QStringLiteral("CoverCd"), &i.CoverCd},
          {QStringLiteral("IncludeNote"), &i.IncludeNote},
          {QStringLiteral("NoteText"), &i.NoteText},
          {QStringLiteral("FileNameTemplate"), &i.FileNameTemplate}};
}

bool SetFieldFromText(Release& release, const QString& name, const QString& value) {
  for (const auto& fields : {SummaryFields(release.Summary), InfoFields(release.Info)}) {
    for (const NamedField& field : fields) {
      if (field.Name == name)
        return ParseField(field.Ref, value);
    }
  }
  return false;
}
