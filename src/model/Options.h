#pragma once

#include "checksums/Checksums.h"

#include <QString>

// The main window's size when the settings hold none.
inline constexpr int kDefaultWindowWidth = 695;
inline constexpr int kDefaultWindowHeight = 540;

// The option half of the settings (the options dialog and the settings-only values).
struct Options {
  bool AutoCrc = true;     // "Generuj sumy kontrolne"
  bool AddBitrate = true;  // hidden check box, stored only
  QString DefaultPath;
  QString Language;         // language file name, without folder
  bool SaveUnicode = true;  // Unicode form of lists and playlists
  // The checksum kind as the user typed or picked it (the NFO's "Included" line names it), and
  // the kind parsed from it once, where it is set.
  QString ChecksumKindText;  // "SFV" or "MD5"; any other text selects none
  ChecksumKind Checksum = ChecksumKind::None;
  bool CheckUpdate = true;
  int Width = kDefaultWindowWidth;
  int Height = kDefaultWindowHeight;
  bool Ads = true;         // advert footer of the NFO
  bool Utf8Text = false;   // NFO, lists and playlists in UTF-8 (names as on disk)
  bool AudioPass = false;  // the audio analysis after the checksum pass
  bool AudioNfo = false;   // its lines in the NFO and the DR report beside it

  void SetChecksumKindText(const QString& text) {
    ChecksumKindText = text;
    Checksum = ParseChecksumKind(text);
  }
};
