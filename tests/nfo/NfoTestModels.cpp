#include "NfoTestModels.h"

#include "platform/UserLocale.h"

PinnedLocale::PinnedLocale(const QLocale& locale) {
  UserLocale::SetSystem(locale);
}

PinnedLocale::~PinnedLocale() {
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
}

TrackRecord Row(const QString& folder, const QString& fileName, const QString& artist,
                const QString& title, const QString& duration, const QString& seconds,
                const QString& checksum) {
  TrackRecord row = TrackRecord::NewRow(folder + QLatin1Char('/') + fileName);
  row.Artist = artist;
  row.Title = title;
  row.DurationText = duration;
  row.DurationSecondsText = seconds;
  row.ChecksumText = checksum;
  return row;
}

ReleaseWithOptions SingleArtistRelease(const QString& folder) {
  ReleaseWithOptions model;
  const QString artist = QStringLiteral("Aurora Vale");
  model.Tracks = {
      Row(folder, QStringLiteral("01 - Morning Tide.mp3"), artist, QStringLiteral("Morning Tide"),
          QStringLiteral("03:45"), QStringLiteral("225"), QStringLiteral("1A2B3C4D")),
      Row(folder, QStringLiteral("02 - Salt & Cedar.mp3"), artist, QStringLiteral("Salt & Cedar"),
          QStringLiteral("04:02"), QStringLiteral("242"), QStringLiteral("0017AC26")),
      Row(folder, QStringLiteral("03 - Lanterns on the Quay.mp3"), artist,
          QStringLiteral("Lanterns on the Quay (Extended Night Version)"), QStringLiteral("10:07"),
          QStringLiteral("607"), QStringLiteral("FFFFFFFF")),
  };
  for (TrackRecord& row : model.Tracks) {
    row.Album = QStringLiteral("Harbour Lights");
    model.Scan.TrackList << row.FilePath;
  }
  model.Scan.TrackCount = 3;

  ReleaseSummary& summary = model.Summary;
  summary.Year = QStringLiteral("2004");
  summary.TotalTimeText = QStringLiteral("17:54");
  summary.TotalSizeText = QStringLiteral("24.61 MB");
  summary.SampleRateText = QStringLiteral("44100 Hz");
  summary.ChannelsText = QStringLiteral("Joint Stereo");
  summary.VersionText = QStringLiteral("MPEG 1 Layer III");
  summary.EncoderText = QStringLiteral("LAME 3.90");
  summary.AverageText = QStringLiteral("192");
  summary.QualityText = QStringLiteral("CBR 192");
  summary.Id3v1Text = QStringLiteral("1.1");
  summary.Id3v2Text = QStringLiteral("2.3.0");
  summary.ApeTagText = QStringLiteral("-");
  summary.VorbisTagText = QStringLiteral("-");
  summary.Genre = QStringLiteral("Ambient");
  summary.RipperProgram = QStringLiteral("Exact Audio Copy");
  summary.Drive = QStringLiteral("PLEXTOR PX-716A");

  ReleaseInfo& info = model.Info;
  info.RippedBy = QStringLiteral("Korvix");
  info.RipDate = QDate(2024, 3, 9);
  info.PostedBy = QStringLiteral("Nimbus");
  info.PostDate = QDate(2024, 11, 23);
  info.DiscInfo = QStringLiteral("Catalogue HL-042");
  info.NewsServer = QStringLiteral("news.example.net");
  info.Group = QStringLiteral("alt.binaries.sounds.mp3");
  info.SelectedGroups = {QStringLiteral("alt.binaries.sounds.mp3"),
                         QStringLiteral("alt.binaries.mp3.full_albums"),
                         QStringLiteral("alt.binaries.pl.mp3")};
  info.IncludeChecksums = true;
  info.IncludePls = true;
  info.IncludeM3u = true;
  info.IncludeEacLog = true;
  info.IncludeCue = true;
  info.CoverFront = true;
  info.CoverCd = true;
  info.IncludeNote = true;
  info.NoteText =
      QStringLiteral("Ripped with care.\r\nSecond line: Z\u00FCrich caf\u00E9\nThird line\n");

  model.Run.StartTimeText = QStringLiteral("11/23/24 9:15:02 PM");
  model.Run.OutputBaseName = QStringLiteral("00. Aurora Vale - Harbour Lights");
  model.Run.AnalysisDone = true;
  model.Opts.SetChecksumKindText(QStringLiteral("SFV"));
  model.Opts.SaveUnicode = false;
  model.Opts.Ads = true;
  return model;
}

ReleaseWithOptions VariousArtistsNmrRelease(const QString& folder) {
  ReleaseWithOptions model;
  model.Tracks = {
      Row(folder, QStringLiteral("01 - \u0141\u0105ka.flac"), QStringLiteral("\u017Baneta Kruk"),
          QStringLiteral("\u0141\u0105ka"), QStringLiteral("05:01"), QStringLiteral("301"),
          QStringLiteral("0CC175B9C0F1B6A831C399E269772661")),
      Row(folder, QStringLiteral("02 - Noc \u65E5\u672C.flac"),
          QStringLiteral("Bartek \u015Al\u0119zak"), QStringLiteral("Noc \u65E5\u672C"),
          QStringLiteral("01:02:03"), QStringLiteral("3723"),
          QStringLiteral("92EB5FFEE6AE2FEC3AD71C777531578F")),
  };
  for (TrackRecord& row : model.Tracks) {
    row.Album = QStringLiteral("Sk\u0142adanka \u65E5\u672C");
    model.Scan.TrackList << row.FilePath;
  }
  model.Scan.TrackCount = 2;

  ReleaseSummary& summary = model.Summary;
  summary.Year = QStringLiteral("2023");
  summary.TotalTimeText = QStringLiteral("01:07:04");
  summary.TotalSizeText = QStringLiteral("412,07 MB");
  summary.SampleRateText = QStringLiteral("44100 Hz / 16 bit");
  summary.ChannelsText = QStringLiteral("Stereo");
  summary.VersionText = QStringLiteral("1.2.1");
  summary.EncoderText = QStringLiteral("Free Lossless Audio Codec (FLAC)");
  summary.Lossless = true;
  summary.AverageText = QStringLiteral("57 %");
  summary.QualityText = QStringLiteral("Lossless");
  summary.Id3v1Text = QStringLiteral("-");
  summary.Id3v2Text = QStringLiteral("-");
  summary.ApeTagText = QStringLiteral("-");
  summary.VorbisTagText = QStringLiteral("VorbisComment");
  summary.Genre = QStringLiteral("Pop");
  summary.VariousArtists = true;
  summary.VariousAlbumTitle = QStringLiteral("Polskie Sk\u0142adanki Vol. 3");
  summary.Nmr = true;
  summary.RipperProgram = QStringLiteral("Exact Audio Copy");
  summary.Drive = QStringLiteral("LITE-ON");

  ReleaseInfo& info = model.Info;
  info.RippedBy = QStringLiteral("Korvix");
  info.RipDate = QDate(2023, 12, 1);
  info.PostedBy = QStringLiteral("\u015Awistak");
  info.PostDate = QDate(2024, 1, 5);
  info.DiscInfo = QString();
  info.NewsServer = QStringLiteral("news.example.pl");
  info.Group = QStringLiteral("alt.binaries.pl.mp3");
  info.IncludeChecksums = true;
  info.IncludePls = true;
  info.IncludeM3u = true;
  info.IncludeNote = false;

  model.Run.StartTimeText = QStringLiteral("5.01.2024 18:30:00");
  model.Run.OutputBaseName = QStringLiteral("00. VA - Sk\u0142adanka \u65E5\u672C");
  model.Run.AnalysisDone = true;
  model.Opts.SetChecksumKindText(QStringLiteral("MD5"));
  model.Opts.SaveUnicode = true;
  model.Opts.Ads = false;
  return model;
}

ReleaseWithOptions PlainRelease(const QString& folder) {
  ReleaseWithOptions model;
  TrackRecord row =
      Row(folder, QStringLiteral("a.mp3"), QStringLiteral("Abc"), QStringLiteral("Def"),
          QStringLiteral("03:45"), QStringLiteral("225"), QStringLiteral("CBF43926"));
  row.Album = QStringLiteral("Ghi");
  model.Tracks = {row};
  model.Scan.TrackList << row.FilePath;
  model.Scan.TrackCount = 1;
  model.Summary.Id3v1Text = model.Summary.Id3v2Text = QStringLiteral("-");
  model.Summary.ApeTagText = model.Summary.VorbisTagText = QStringLiteral("-");
  model.Info.RipDate = model.Info.PostDate = QDate(2024, 1, 2);
  model.Info.IncludeNote = false;
  model.Run.StartTimeText = QStringLiteral("1/2/24 10:00:00 AM");
  model.Run.OutputBaseName = QStringLiteral("plain");
  model.Opts.SetChecksumKindText(QStringLiteral("SFV"));
  model.Opts.SaveUnicode = false;
  model.Opts.Ads = false;
  return model;
}
