#include "FuzzSupport.h"

#include "model/Release.h"
#include "platform/IniFile.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsStore.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

namespace {

// What the settings file fills.
struct SettingsModel {
  ReleaseSummary Summary;
  ReleaseInfo Info;
  Options Opts;
  SettingsTarget Target() { return {Summary, Info, Opts}; }
};

// Settings read from any file must survive being saved and read again: otherwise closing the
// program would silently change what the user had.
void CheckSettingsRoundTrip(SettingsModel& loaded) {
  IniFile saved;
  SaveSettings(loaded.Target(), saved);
  IniFile reread;
  reread.LoadBytes(saved.SaveBytes());
  SettingsModel again;
  LoadSettings(again.Target(), reread);
  fuzzing::Require(
      again.Opts.DefaultPath == loaded.Opts.DefaultPath &&
          again.Opts.Language == loaded.Opts.Language &&
          again.Summary.Source == loaded.Summary.Source &&
          again.Summary.RipperProgram == loaded.Summary.RipperProgram &&
          again.Summary.Drive == loaded.Summary.Drive &&
          again.Info.RippedBy == loaded.Info.RippedBy &&
          again.Info.PostedBy == loaded.Info.PostedBy &&
          again.Info.NewsServer == loaded.Info.NewsServer &&
          again.Info.Group == loaded.Info.Group &&
          again.Opts.ChecksumKindText == loaded.Opts.ChecksumKindText &&
          again.Opts.Checksum == loaded.Opts.Checksum &&
          again.Summary.VariousAlbumTitle == loaded.Summary.VariousAlbumTitle &&
          again.Info.FileNameTemplate == loaded.Info.FileNameTemplate &&
          again.Opts.Width == loaded.Opts.Width && again.Opts.Height == loaded.Opts.Height &&
          again.Opts.AutoCrc == loaded.Opts.AutoCrc && again.Opts.Ads == loaded.Opts.Ads,
      "a setting changed on its way through save and load");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IniFile ini;
  ini.LoadBytes(fuzzing::BytesOf(data, size));
  SettingsModel model;
  LoadSettings(model.Target(), ini);
  (void)ReadStartupSettings(ini);
  CheckSettingsRoundTrip(model);

  // Language files come from disk through the same reader.
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("lang/fuzz.lng"), data, size);
  LanguageFile language;
  if (language.Load(path)) {
    MessageTable messages;
    ApplyLanguageTexts(language, messages, model.Info.NoteText);
  }
  return 0;
}
