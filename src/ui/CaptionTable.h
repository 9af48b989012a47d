#pragma once

#include <functional>
#include <map>
#include <span>

#include <QString>

// Every caption that a language file sets, in one table: its section and key in the file and the
// window that shows it. Each window hands over a setter per caption of its own; applying a
// language walks the table, so a caption cannot be forgotten by one window or set twice.
// clang-format off
#define VELMORA_CAPTIONS(X)                                                   \
  X(MenuFile, "MENU", "0", Main)                                              \
  X(MenuSave, "MENU", "00", Main)                                             \
  X(MenuVerify, "MENU", "01", Main)                                           \
  X(MenuExit, "MENU", "02", Main)                                             \
  X(MenuOptions, "MENU", "1", Main)                                           \
  X(MenuSettings, "MENU", "10", Main)                                         \
  X(MenuHelp, "MENU", "2", Main)                                              \
  X(MenuAbout, "MENU", "20", Main)                                            \
  X(TabFolder, "TABSHEETS", "1001", Main)                                     \
  X(TabTracks, "TABSHEETS", "1002", Main)                                     \
  X(TabRelease, "TABSHEETS", "1003", Main)                                    \
  X(TabNfo, "TABSHEETS", "1004", Main)                                        \
  X(TabQuality, "TABSHEETS", "1005", Main)                                    \
  X(OptionsTabGeneral, "TABSHEETS", "2001", Options)                          \
  X(OptionsTabLanguage, "TABSHEETS", "2002", Options)                         \
  X(ColumnFile, "LISTVIEW", "3001", Main)                                     \
  X(ColumnArtist, "LISTVIEW", "3002", Main)                                   \
  X(ColumnTitle, "LISTVIEW", "3003", Main)                                    \
  X(ColumnAlbum, "LISTVIEW", "3004", Main)                                    \
  X(ColumnSize, "LISTVIEW", "3005", Main)                                     \
  X(ColumnTime, "LISTVIEW", "3006", Main)                                     \
  X(ColumnBitrate, "LISTVIEW", "3007", Main)                                  \
  X(ColumnChecksum, "LISTVIEW", "3008", Main)                                 \
  X(ColumnDisc, "LISTVIEW", "3009", Main)                                     \
  X(QualityFile, "LISTVIEW", "3001", Main)                                    \
  X(QualityDr, "LISTVIEW", "3010", Main)                                      \
  X(QualityPeak, "LISTVIEW", "3011", Main)                                    \
  X(QualityRms, "LISTVIEW", "3012", Main)                                     \
  X(QualityLoudness, "LISTVIEW", "3013", Main)                                \
  X(QualityTruePeak, "LISTVIEW", "3014", Main)                                \
  X(QualityGain, "LISTVIEW", "3015", Main)                                    \
  X(QualityCutoff, "LISTVIEW", "3016", Main)                                  \
  X(QualityNotes, "LISTVIEW", "3017", Main)                                   \
  X(FolderGroup, "GROUPBOXES", "4001", Main)                                  \
  X(FilesGroup, "GROUPBOXES", "4003", Main)                                   \
  X(OtherGroup, "GROUPBOXES", "4004", Main)                                   \
  X(LanguageGroup, "GROUPBOXES", "4005", Options)                             \
  X(InfoGroup, "GROUPBOXES", "4006", Main)                                    \
  X(NoteGroup, "GROUPBOXES", "4007", Main)                                    \
  X(AdvertGroup, "GROUPBOXES", "4008", Options)                               \
  X(IncludeGroup, "GROUPBOXES", "4009", Main)                                 \
  X(CoversGroup, "GROUPBOXES", "4010", Main)                                  \
  X(NextFromFolder, "BUTTONS", "5001", Main)                                  \
  X(NextFromTracks, "BUTTONS", "5002", Main)                                  \
  X(OptionsOk, "BUTTONS", "5003", Options)                                    \
  X(OptionsCancel, "BUTTONS", "5004", Options)                                \
  X(ChooseLanguage, "BUTTONS", "5006", Options)                               \
  X(AboutOk, "BUTTONS", "5007", About)                                        \
  X(MixedFormatsOk, "BUTTONS", "5007", MixedFormats)                          \
  X(LeftOutOk, "BUTTONS", "5007", LeftOut)                                    \
  X(SaveNfo, "BUTTONS", "5008", Main)                                         \
  X(SaveSpectrograms, "BUTTONS", "5009", Main)                                \
  X(SpectrogramOk, "BUTTONS", "5007", Spectrogram)                            \
  X(VerificationOk, "BUTTONS", "5007", Verification)                          \
  X(VersionLabel, "LABELS", "6001", Main)                                     \
  X(SampleRateLabel, "LABELS", "6002", Main)                                  \
  X(ChannelsLabel, "LABELS", "6003", Main)                                    \
  X(EncoderLabel, "LABELS", "6004", Main)                                     \
  X(AverageLabel, "LABELS", "6005", Main)                                     \
  X(QualityLabel, "LABELS", "6006", Main)                                     \
  X(TotalTimeLabel, "LABELS", "6007", Main)                                   \
  X(TotalSizeLabel, "LABELS", "6008", Main)                                   \
  X(YearLabel, "LABELS", "6009", Main)                                        \
  X(Id3v1Label, "LABELS", "6010", Main)                                       \
  X(Id3v2Label, "LABELS", "6011", Main)                                       \
  X(ApeTagLabel, "LABELS", "6012", Main)                                      \
  X(ChosenLanguageLabel, "LABELS", "6013", Options)                           \
  X(GenreLabel, "LABELS", "6014", Main)                                       \
  X(SourceLabel, "LABELS", "6015", Main)                                      \
  X(RipperLabel, "LABELS", "6016", Main)                                      \
  X(DriveLabel, "LABELS", "6017", Main)                                       \
  X(RippedByLabel, "LABELS", "6018", Main)                                    \
  X(RipDateLabel, "LABELS", "6019", Main)                                     \
  X(PostedByLabel, "LABELS", "6020", Main)                                    \
  X(PostDateLabel, "LABELS", "6021", Main)                                    \
  X(DiscInfoLabel, "LABELS", "6022", Main)                                    \
  X(NewsServerLabel, "LABELS", "6023", Main)                                  \
  X(GroupLabel, "LABELS", "6024", Main)                                       \
  X(FileNameTemplateLabel, "LABELS", "6025", Main)                            \
  X(DefaultPathLabel, "LABELS", "6026", Options)                              \
  X(SelectedGroupsLabel, "LABELS", "6027", Main)                              \
  X(NamesGroup, "LABELS", "6029", Main)                                       \
  X(AlbumArtistLabel, "LABELS", "6030", Main)                                 \
  X(LeftOutFirstLine, "LABELS", "6031", LeftOut)                              \
  X(LeftOutFormat, "LABELS", "6032", LeftOut)                                 \
  X(LeftOutName, "LABELS", "6033", LeftOut)                                   \
  X(LeftOutNotAFile, "LABELS", "6034", LeftOut)                               \
  X(UnreadableTracks, "LABELS", "6035", Main)                                 \
  X(UnreadableTrack, "LABELS", "6036", Main)                                  \
  X(QualityAlbum, "LABELS", "6037", Main)                                     \
  X(QualityLossySource, "LABELS", "6038", Main)                               \
  X(QualityUpsampled, "LABELS", "6039", Main)                                 \
  X(QualityNotDecoded, "LABELS", "6040", Main)                                \
  X(SpectrogramsSaved, "LABELS", "6041", Main)                                \
  X(NoChecksumLists, "LABELS", "6042", Main)                                  \
  X(LanguageInfo1, "GENERAL", "0001", Options)                                \
  X(LanguageInfo2, "GENERAL", "0002", Options)                                \
  X(LanguageInfo3, "GENERAL", "0003", Options)                                \
  X(LanguageInfo4, "GENERAL", "0004", Options)                                \
  X(LanguageInfo5, "GENERAL", "0005", Options)                                \
  X(LanguageInfo6, "GENERAL", "0006", Options)                                \
  X(LanguageText, "GENERAL", "0007", Options)                                 \
  X(IncludeNote, "CHECKBOXES", "7001", Main)                                  \
  X(Ads, "CHECKBOXES", "7002", Options)                                       \
  X(IncludeChecksums, "CHECKBOXES", "7003", Main)                             \
  X(IncludePls, "CHECKBOXES", "7004", Main)                                   \
  X(IncludeM3u, "CHECKBOXES", "7005", Main)                                   \
  X(CoverFront, "CHECKBOXES", "7006", Main)                                   \
  X(CoverBack, "CHECKBOXES", "7007", Main)                                    \
  X(CoverCd, "CHECKBOXES", "7008", Main)                                      \
  X(XpMenu, "CHECKBOXES", "7009", Options)                                    \
  X(AutoCrc, "CHECKBOXES", "7010", Options)                                   \
  X(VariousArtists, "CHECKBOXES", "7011", Main)                               \
  X(Nmr, "CHECKBOXES", "7012", Main)                                          \
  X(AddBitrate, "CHECKBOXES", "7013", Options)                                \
  X(SaveUnicode, "CHECKBOXES", "7015", Options)                               \
  X(CheckUpdate, "CHECKBOXES", "7016", Options)                               \
  X(Utf8Text, "CHECKBOXES", "7017", Options)                                  \
  X(AudioPass, "CHECKBOXES", "7018", Options)                                 \
  X(AudioNfo, "CHECKBOXES", "7019", Options)                                  \
  X(OptionsTitle, "FORMS", "8001", Options)                                   \
  X(AboutTitle, "FORMS", "8002", About)                                       \
  X(LeftOutTitle, "FORMS", "8003", LeftOut)                                   \
  X(SpectrogramTitle, "FORMS", "8004", Spectrogram)                           \
  X(VerificationTitle, "FORMS", "8005", Verification)                         \
  X(AuthorLegend, "LISTVIEW", "3002", MainLegend)                             \
  X(AlbumLegend, "LISTVIEW", "3004", MainLegend)                              \
  X(TitleLegend, "LISTVIEW", "3003", MainLegend)
// clang-format on

enum class Caption {
#define VELMORA_CAPTION_ID(id, section, key, window) id,
  VELMORA_CAPTIONS(VELMORA_CAPTION_ID)
#undef VELMORA_CAPTION_ID
};

// The windows that show captions. The legend labels of the file-name template take a column
// header followed by ":" and are set after every other caption.
enum class CaptionWindow {
  Main,
  MainLegend,
  Options,
  About,
  MixedFormats,
  LeftOut,
  Spectrogram,
  Verification
};

struct CaptionEntry {
  Caption Id;
  const char* Section;
  const char* Key;
  CaptionWindow Window;
};

// The table in the order a language file is applied: MENU, TABSHEETS, LABELS 6013, GENERAL,
// LISTVIEW, GROUPBOXES, LABELS 6029, BUTTONS, the other LABELS, CHECKBOXES, FORMS, then the
// legend labels; within a section, by key.
std::span<const CaptionEntry> CaptionTable();

// What a window does with each of its captions.
using CaptionSetters = std::map<Caption, std::function<void(const QString&)>>;

// A caption's text by section and key; the empty text when the language file lacks it.
using CaptionText = std::function<QString(const char* section, const char* key)>;

// Applies a language to the windows' setters, in the table's order.
void ApplyCaptionTable(const CaptionText& text,
                       const std::map<CaptionWindow, CaptionSetters>& windows);
