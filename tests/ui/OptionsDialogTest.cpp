#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "WindowHarness.h"
#include "support/TestSupport.h"
#include "ui/AboutBox.h"
#include "ui/FolderPage.h"
#include "ui/OptionsDialog.h"
#include "ui/ReleasePage.h"
#include "ui/SplashWindow.h"

namespace {

void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    CopyShippedLanguages(program_.Path());
    program_.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\nlanguage=english.lng\r\n");
    harness_ = std::make_unique<WindowHarness>(program_.Path());
    window().SettingsAction()->trigger();
  }

  MainWindow& window() { return harness_->Window(); }
  OptionsDialog& options() { return *window().Options(); }
  QByteArray Settings() const { return program_.Read(QStringLiteral("nfo.ini")); }

  TempFolder program_;
  std::unique_ptr<WindowHarness> harness_;
};

}  // namespace

TEST_F(OptionsDialogTest, OkEndsTheDefaultFolderWithASeparatorSavesAndMirrorsTheChecksumBox) {
  ASSERT_TRUE(options().isVisible());
  Control<QLineEdit>(options(), "DefaultPath").setText(QStringLiteral("/music/albums"));
  Click(&Control<QCheckBox>(options(), "AutoCrc"));  // on by default: now off
  Click(&Control<QPushButton>(options(), "Ok"));
  EXPECT_FALSE(options().isVisible());
  EXPECT_TRUE(window().isEnabled());
  EXPECT_TRUE(Settings().contains("defaultpath=/music/albums/\r\n"));
  EXPECT_TRUE(Settings().contains("autocrc=0\r\n"));
  QCheckBox* mainBox = &Control<QCheckBox>(window(), "IncludeChecksums");
  EXPECT_FALSE(mainBox->isEnabled());
  EXPECT_FALSE(mainBox->isChecked());

  for (const auto& [typed, stored] : {std::pair{"/music/albums/", "defaultpath=/music/albums/\r\n"},
                                      std::pair{"", "defaultpath=\r\n"}}) {
    window().SettingsAction()->trigger();
    Control<QLineEdit>(options(), "DefaultPath").setText(QString::fromLatin1(typed));
    Click(&Control<QPushButton>(options(), "Ok"));
    EXPECT_TRUE(Settings().contains(stored)) << typed;
  }
  window().SettingsAction()->trigger();
  Click(&Control<QCheckBox>(options(), "AutoCrc"));
  Click(&Control<QPushButton>(options(), "Ok"));
  EXPECT_TRUE(mainBox->isEnabled() && mainBox->isChecked());
}

TEST_F(OptionsDialogTest, CancelKeepsTheChangesForTheNextSave) {
  Click(&Control<QCheckBox>(options(), "CheckUpdate"));  // on by default
  Click(&Control<QPushButton>(options(), "Cancel"));
  EXPECT_FALSE(options().isVisible());
  EXPECT_TRUE(window().isEnabled());
  EXPECT_FALSE(Settings().contains("checkupdate="));  // nothing written by cancelling
  window().close();
  EXPECT_TRUE(Settings().contains("checkupdate=0\r\n"));
}

TEST_F(OptionsDialogTest, LanguagePatternWarnsAndChangesNothing) {
  const QString caption = window().SaveAction()->text();
  Control<QLineEdit>(options(), "Language").setText(QStringLiteral("*.lng"));
  Click(&Control<QPushButton>(options(), "ChooseLanguage"));
  ASSERT_EQ(harness_->prompts.Messages.size(), 1);
  EXPECT_EQ(harness_->prompts.Messages[0].Text, QStringLiteral("Select language!"));
  EXPECT_EQ(harness_->prompts.Messages[0].Caption, QStringLiteral("WARNING"));
  EXPECT_EQ(harness_->prompts.Messages[0].Shown, WindowPrompts::Icon::Error);
  EXPECT_EQ(window().SaveAction()->text(), caption);

  Control<QLineEdit>(options(), "Language").setText(QStringLiteral("polski.lng"));
  Click(&Control<QPushButton>(options(), "ChooseLanguage"));
  EXPECT_EQ(window().SaveAction()->text(), QStringLiteral("&Zapisz"));
  EXPECT_EQ(Control<QPushButton>(options(), "Cancel").text(), QStringLiteral("Anuluj"));
  EXPECT_EQ(Control<QLabel>(options(), "LanguageInfo2").text(), QStringLiteral("Polski"));
}

TEST_F(OptionsDialogTest, AdvertLineFollowsItsBoxAndTheFolderChooserKeepsTheTextOnCancel) {
  auto& ads = Control<QCheckBox>(options(), "Ads");
  auto& advertLine = Control<QLabel>(options(), "AdvertLine");
  auto& defaultPath = Control<QLineEdit>(options(), "DefaultPath");
  auto& browse = Control<QPushButton>(options(), "BrowseDefaultPath");
  Click(&ads);
  EXPECT_FALSE(advertLine.isEnabled());
  Click(&ads);
  EXPECT_TRUE(advertLine.isEnabled());

  defaultPath.setText(QStringLiteral("/kept/"));
  harness_->prompts.FolderToChoose.clear();  // the user cancels
  Click(&browse);
  EXPECT_EQ(defaultPath.text(), QStringLiteral("/kept/"));
  harness_->prompts.FolderToChoose = QStringLiteral("/chosen");
  Click(&browse);
  EXPECT_EQ(defaultPath.text(), QStringLiteral("/chosen"));
  Click(&browse);
  // The chooser starts where it was left the last time.
  EXPECT_EQ(harness_->prompts.StartFolders.last(), QStringLiteral("/chosen"));
}

TEST(ProgramPicturesTest, DonationAboutAndSplashPicturesComeFromTheProgramFolder) {
  TempFolder program;
  for (const char* name : {"donate.jpg", "about.jpg", "splash.jpg"})
    QFile::copy(QStringLiteral(VELMORA_PROGRAM_DATA "/") + QString::fromLatin1(name),
                program.FilePath(QString::fromLatin1(name)));
  WindowHarness harness(program.Path());
  QToolButton* donate = &Control<QToolButton>(harness.Window(), "Donate");
  EXPECT_TRUE(donate->isVisible());
  EXPECT_EQ(donate->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(donate->toolTip(), QStringLiteral("If you want to support my work - PLEASE DONATE!"));
  donate->click();
  ASSERT_EQ(harness.prompts.Opened.size(), 1);
  EXPECT_EQ(harness.prompts.Opened[0],
            QStringLiteral("http://velmora.example.org/music/coffee-for-author/"));
  EXPECT_FALSE(Control<QLabel>(*harness.Window().About(), "AboutPicture").pixmap().isNull());
  SplashWindow splash(program.Path());
  EXPECT_EQ(splash.Picture->pixmap().size(), QSize(536, 74));
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));

  // A broken picture is no picture, and the program goes on.
  TempFolder broken;
  broken.Write(QStringLiteral("donate.jpg"), "\xFF\xD8\xFF not really");
  WindowHarness withoutPicture(broken.Path());
  EXPECT_FALSE(Control(withoutPicture.Window(), "Donate").isVisible());
  EXPECT_TRUE(SplashWindow(broken.Path()).Picture->pixmap().isNull());
}
