#pragma once

#include "analysis/ReleaseModel.h"
#include "ui/Captions.h"
#include "ui/SecondaryWindow.h"
#include "ui/WindowPrompts.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

// TOpcje: the option half of the settings (general page) and the choice of a language file
// (language page). Created once, hidden; its controls are the options' only home while the
// program runs.
class OptionsDialog : public SecondaryWindow {
  Q_OBJECT

 public:
  // The language page lists the "*.lng" files of programDir/lang as they are now.
  OptionsDialog(const QString& programDir, WindowPrompts& prompts);

  void ShowOptions(const Options& options);
  void StoreOptions(Options& options) const;
  // The GENERAL section's rows and text panel of the language file applied last.
  QList<CaptionKey> CaptionKeys();

  QTabWidget* Pages;
  QCheckBox* XpMenu;
  QCheckBox* AutoCrc;
  QComboBox* ChecksumKind;
  QCheckBox* AddBitrate;
  QLabel* DefaultPathLabel;
  QLineEdit* DefaultPath;
  QPushButton* BrowseDefaultPath;
  QCheckBox* SaveUnicode;
  QCheckBox* CheckUpdate;
  QGroupBox* AdvertGroup;
  QCheckBox* Ads;
  QLabel* AdvertLine;
  QListWidget* LanguageFiles;
  QGroupBox* LanguageGroup;
  QLabel* LanguageLabel;
  QLineEdit* Language;
  QPushButton* ChooseLanguage;
  std::array<QLabel*, 6> LanguageInfo;
  QLabel* LanguageText;
  QPushButton* Ok;
  QPushButton* Cancel;

 signals:
  // OK: the settings are to be saved and the main window follows the checksum option.
  void Confirmed();
  // "Wybierz język" with a language file named.
  void LanguageChosen(const QString& name);

 private:
  QWidget* NewGeneralPage();
  QWidget* NewLanguagePage(const QString& programDir);
  void Confirm();
  void ChooseDefaultPath();
  void ApplyChosenLanguage();

  WindowPrompts& prompts_;
  QString lastChosenFolder_;
};
