#pragma once

#include "model/Options.h"
#include "ui/CaptionTable.h"
#include "ui/Captions.h"
#include "ui/FieldBinding.h"
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
// (language page). Created once, hidden; its controls are bound to the session's options.
class OptionsDialog : public SecondaryWindow {
  Q_OBJECT

 public:
  // The language page lists the "*.lng" files of programDir/lang as they are now.
  OptionsDialog(const QString& programDir, WindowPrompts& prompts);

  QList<FieldBinding> Bindings();
  CaptionSetters Captions();

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
  QTabWidget* pages_;
  QCheckBox* xpMenu_;
  QCheckBox* autoCrc_;
  QComboBox* checksumKind_;
  QCheckBox* addBitrate_;
  QLabel* defaultPathLabel_;
  QLineEdit* defaultPath_;
  QPushButton* browseDefaultPath_;
  QCheckBox* saveUnicode_;
  QCheckBox* utf8Text_;
  QCheckBox* audioPass_;
  QCheckBox* audioNfo_;
  QCheckBox* checkUpdate_;
  QGroupBox* advertGroup_;
  QCheckBox* ads_;
  QLabel* advertLine_;
  QListWidget* languageFiles_;
  QGroupBox* languageGroup_;
  QLabel* languageLabel_;
  QLineEdit* language_;
  QPushButton* chooseLanguage_;
  std::array<QLabel*, 6> languageInfo_;
  QLabel* languageText_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
