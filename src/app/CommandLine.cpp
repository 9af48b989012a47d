#include "app/CommandLine.h"

#include "model/ModelFields.h"
#include "platform/ProductInfo.h"

#include <QCommandLineParser>

namespace {

// The fields --set takes, listed in the help so that nobody has to guess their names.
QString SetHelp() {
  Release scratch;
  QStringList names;
  for (const auto& fields : {SummaryFields(scratch.Summary), InfoFields(scratch.Info)}) {
    for (const NamedField& field : fields)
      names << field.Name;
  }
  return QStringLiteral(
             "Set a summary or release field after the analysis (booleans 0/1, dates YYYY-MM-DD, "
             "lists separated by ';'). Fields: ") +
         names.join(QStringLiteral(", ")) + QLatin1Char('.');
}

struct Parser {
  QCommandLineParser parser;
  QCommandLineOption print{QStringLiteral("print"),
                           QStringLiteral("Write the NFO text to standard output; save nothing.")};
  QCommandLineOption json{QStringLiteral("json"),
                          QStringLiteral("Write the analysed release as JSON; save nothing.")};
  QCommandLineOption now{QStringLiteral("now"),
                         QStringLiteral("Fix the clock (local date-time YYYY-MM-DDTHH:MM:SS)."),
                         QStringLiteral("time")};
  QCommandLineOption checksum{QStringLiteral("checksum"),
                              QStringLiteral("Checksum kind: sfv, md5 or none."),
                              QStringLiteral("kind")};
  QCommandLineOption unicode{QStringLiteral("unicode"),
                             QStringLiteral("Write lists and playlists in the Unicode form.")};
  QCommandLineOption noUnicode{QStringLiteral("no-unicode"),
                               QStringLiteral("Write lists and playlists in the 8-bit form.")};
  QCommandLineOption ads{QStringLiteral("ads"), QStringLiteral("Add the advert footer.")};
  QCommandLineOption noAds{QStringLiteral("no-ads"),
                           QStringLiteral("Leave the advert footer out.")};
  QCommandLineOption utf8{QStringLiteral("utf8"),
                          QStringLiteral("Write the NFO, lists and playlists in UTF-8.")};
  QCommandLineOption noUtf8{QStringLiteral("no-utf8"),
                            QStringLiteral("Write them in the 8-bit or Unicode forms.")};
  QCommandLineOption strict{
      QStringLiteral("strict"),
      QStringLiteral("Exit with 4, saving nothing, when a warning was given.")};
  QCommandLineOption audio{
      QStringLiteral("audio"),
      QStringLiteral("Analyse the audio after the checksums: dynamic range, loudness, spectrum.")};
  QCommandLineOption noAudio{QStringLiteral("no-audio"),
                             QStringLiteral("Leave the audio analysis out.")};
  QCommandLineOption audioNfo{
      QStringLiteral("audio-nfo"),
      QStringLiteral("Put the dynamic range, loudness and gain into the NFO; write a DR report.")};
  QCommandLineOption noAudioNfo{QStringLiteral("no-audio-nfo"),
                                QStringLiteral("Keep the audio figures out of the NFO.")};
  QCommandLineOption spectrograms{
      QStringLiteral("spectrograms"),
      QStringLiteral("With --audio: one PNG spectrogram per track into DIR."),
      QStringLiteral("DIR")};
  QCommandLineOption verify{
      QStringLiteral("verify"),
      QStringLiteral("Check every SFV and MD5 list in FOLDER against the files instead.")};
  QCommandLineOption templ{QStringLiteral("template"), QStringLiteral("Output file-name template."),
                           QStringLiteral("text")};
  QCommandLineOption set{QStringLiteral("set"), SetHelp(), QStringLiteral("FIELD=VALUE")};
  QCommandLineOption setFile{QStringLiteral("set-file"),
                             QStringLiteral("Set a field from a UTF-8 text file."),
                             QStringLiteral("FIELD=PATH")};
  QCommandLineOption language{QStringLiteral("language"),
                              QStringLiteral("Apply lang/NAME from the program folder."),
                              QStringLiteral("NAME")};
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Show this help.")};
  QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

  Parser() {
    parser.setApplicationDescription(
        QStringLiteral("Writes the NFO, checksum list and playlists of the release in FOLDER."));
    parser.addOptions({print,   json,     now,        checksum,     unicode, noUnicode,
                       ads,     noAds,    utf8,       noUtf8,       strict,  audio,
                       noAudio, audioNfo, noAudioNfo, spectrograms, verify,  templ,
                       set,     setFile,  language,   help,         version});
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The folder of audio files."));
  }
};

bool SplitAssignment(const QString& text, QPair<QString, QString>& out) {
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  if (equals <= 0)
    return false;
  out = {text.left(equals), text.mid(equals + 1)};
  return true;
}

// A pair of opposite switches: both given is a usage error.
bool ReadSwitch(const QCommandLineParser& parser, const QCommandLineOption& on,
                const QCommandLineOption& off, std::optional<bool>& out) {
  if (parser.isSet(on) && parser.isSet(off))
    return false;
  if (parser.isSet(on))
    out = true;
  if (parser.isSet(off))
    out = false;
  return true;
}

ParseOutcome UsageError(const QString& text) {
  ParseOutcome outcome;
  outcome.Result = ParseOutcome::Kind::UsageError;
  outcome.Text = text;
  return outcome;
}

}  // namespace

ParseOutcome ParseCommandLine(const QStringList& arguments) {
  Parser p;
  ParseOutcome outcome;
  if (!p.parser.parse(arguments))
    return UsageError(p.parser.errorText());
  if (p.parser.isSet(p.help)) {
    outcome.Result = ParseOutcome::Kind::Help;
    outcome.Text = p.parser.helpText();
    return outcome;
  }
  if (p.parser.isSet(p.version)) {
    outcome.Result = ParseOutcome::Kind::Version;
    outcome.Text = ProgramNameAndVersion();
    return outcome;
  }
  CliRequest& request = outcome.Request;
  const QStringList positional = p.parser.positionalArguments();
  if (positional.size() != 1)
    return UsageError(QStringLiteral("Give exactly one FOLDER."));
  request.Folder = positional.first();
  if (p.parser.isSet(p.print) && p.parser.isSet(p.json)) {
    return UsageError(QStringLiteral("--print and --json exclude each other."));
  }
  if (p.parser.isSet(p.print))
    request.Mode = CliRequest::Output::Print;
  if (p.parser.isSet(p.json))
    request.Mode = CliRequest::Output::Json;
  if (p.parser.isSet(p.now)) {
    const QString text = p.parser.value(p.now);
    const QDateTime now = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!now.isValid())
      return UsageError(QStringLiteral("--now takes YYYY-MM-DDTHH:MM:SS."));
    request.Now = now;
  }
  if (p.parser.isSet(p.checksum)) {
    const QString kind = p.parser.value(p.checksum).toLower();
    if (kind != QStringLiteral("sfv") && kind != QStringLiteral("md5") &&
        kind != QStringLiteral("none")) {
      return UsageError(QStringLiteral("--checksum takes sfv, md5 or none."));
    }
    request.ChecksumKind = kind == QStringLiteral("none") ? QString() : kind.toUpper();
  }
  if (!ReadSwitch(p.parser, p.unicode, p.noUnicode, request.SaveUnicode) ||
      !ReadSwitch(p.parser, p.ads, p.noAds, request.Ads) ||
      !ReadSwitch(p.parser, p.utf8, p.noUtf8, request.Utf8Text) ||
      !ReadSwitch(p.parser, p.audio, p.noAudio, request.AudioPass) ||
      !ReadSwitch(p.parser, p.audioNfo, p.noAudioNfo, request.AudioNfo)) {
    return UsageError(QStringLiteral("A switch and its --no- form exclude each other."));
  }
  request.Strict = p.parser.isSet(p.strict);
  request.SpectrogramFolder = p.parser.value(p.spectrograms);
  if (p.parser.isSet(p.spectrograms) && request.SpectrogramFolder.isEmpty())
    return UsageError(QStringLiteral("--spectrograms takes a folder."));
  request.Verify = p.parser.isSet(p.verify);
  if (request.Verify &&
      (request.Mode != CliRequest::Output::Save || request.AudioPass.value_or(false)))
    return UsageError(QStringLiteral("--verify goes alone: no --print, --json or --audio."));
  if (p.parser.isSet(p.templ))
    request.Template = p.parser.value(p.templ);
  for (const QString& text : p.parser.values(p.set)) {
    QPair<QString, QString> assignment;
    if (!SplitAssignment(text, assignment))
      return UsageError(QStringLiteral("--set takes FIELD=VALUE."));
    request.FieldValues.append(assignment);
  }
  for (const QString& text : p.parser.values(p.setFile)) {
    QPair<QString, QString> assignment;
    if (!SplitAssignment(text, assignment)) {
      return UsageError(QStringLiteral("--set-file takes FIELD=PATH."));
    }
    request.FieldFiles.append(assignment);
  }
  request.Language = p.parser.value(p.language);
  return outcome;
}

bool AsksForPictures(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArrayView argument(argv[i]);
    if (argument == "--")
      return false;
    if (argument == "--spectrograms" || argument.startsWith("--spectrograms="))
      return true;
  }
  return false;
}
