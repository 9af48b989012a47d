#include <gtest/gtest.h>

#include "settings/LanguageFile.h"
#include "support/TestSupport.h"

TEST(LanguageFileTest, TextsFillTheMessagesStatusAndFirstNoteLine) {
  TempFolder folder;
  folder.Write(QStringLiteral("lang/english.lng"),
               "[TEXTS]\r\n9001=NFO not saved\r\n9002=NFO saved\r\n9008=Dominant:\r\n"
               "[LABELS]\r\n6028=Your note here\r\n");
  ReleaseModel model;
  model.Run.ProgramDir = folder.Path();
  model.Info.NoteText = QStringLiteral("typed first\nsecond");
  ApplyLanguage(model, QStringLiteral("english.lng"));
  EXPECT_EQ(model.Messages.Text(QStringLiteral("9001")), QStringLiteral("NFO not saved"));
  EXPECT_EQ(model.Messages.Text(QStringLiteral("9002")), QStringLiteral("NFO saved"));
  EXPECT_EQ(model.Messages.Text(QStringLiteral("9008")), QStringLiteral("Dominant:"));
  EXPECT_TRUE(model.Messages.Text(QStringLiteral("9003")).isEmpty());
  EXPECT_EQ(model.StatusText, QStringLiteral("NFO not saved"));
  EXPECT_EQ(model.Info.NoteText, QStringLiteral("Your note here\nsecond"));
}

TEST(LanguageFileTest, MissingFileEmptiesEveryMessage) {
  TempFolder folder;
  ReleaseModel model;
  model.Run.ProgramDir = folder.Path();
  model.Messages.Set(0, QStringLiteral("old"));
  ApplyLanguage(model, QString());
  EXPECT_TRUE(model.Messages.Text(QStringLiteral("9001")).isEmpty());
  EXPECT_TRUE(model.StatusText.isEmpty());
}
