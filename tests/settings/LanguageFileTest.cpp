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
  EXPECT_EQ(model.Messages.Text(Message::StatusNotSaved), QStringLiteral("NFO not saved"));
  EXPECT_EQ(model.Messages.Text(Message::StatusSaved), QStringLiteral("NFO saved"));
  EXPECT_EQ(model.Messages.Text(Message::MixedFormatsLastLine), QStringLiteral("Dominant:"));
  EXPECT_TRUE(model.Messages.Text(Message::SavedText).isEmpty());
  EXPECT_EQ(model.StatusText, QStringLiteral("NFO not saved"));
  EXPECT_EQ(model.Info.NoteText, QStringLiteral("Your note here\nsecond"));
}

TEST(LanguageFileTest, MissingFileEmptiesEveryMessage) {
  TempFolder folder;
  ReleaseModel model;
  model.Run.ProgramDir = folder.Path();
  model.Messages.Set(Message::StatusNotSaved, QStringLiteral("old"));
  ApplyLanguage(model, QString());
  EXPECT_TRUE(model.Messages.Text(Message::StatusNotSaved).isEmpty());
  EXPECT_TRUE(model.StatusText.isEmpty());
}
