#include <gtest/gtest.h>

#include "settings/LanguageFile.h"
#include "support/TestSupport.h"

TEST(LanguageFileTest, TextsFillTheMessagesStatusAndFirstNoteLine) {
  TempFolder folder;
  folder.Write(QStringLiteral("lang/english.lng"),
               "[TEXTS]\r\n9001=NFO not saved\r\n9002=NFO saved\r\n9008=Dominant:\r\n"
               "[LABELS]\r\n6028=Your note here\r\n");
  LanguageFile language;
  ASSERT_TRUE(language.Load(LanguageFile::PathFor(folder.Path(), QStringLiteral("english.lng"))));
  MessageTable messages;
  QString note = QStringLiteral("typed first\nsecond");
  ApplyLanguageTexts(language, messages, note);
  EXPECT_EQ(messages.Text(Message::StatusNotSaved), QStringLiteral("NFO not saved"));
  EXPECT_EQ(messages.Text(Message::StatusSaved), QStringLiteral("NFO saved"));
  EXPECT_EQ(messages.Text(Message::MixedFormatsLastLine), QStringLiteral("Dominant:"));
  EXPECT_TRUE(messages.Text(Message::SavedText).isEmpty());
  EXPECT_EQ(note, QStringLiteral("Your note here\nsecond"));
}

TEST(LanguageFileTest, MissingFileEmptiesEveryMessage) {
  TempFolder folder;
  LanguageFile language;
  EXPECT_FALSE(language.Load(LanguageFile::PathFor(folder.Path(), QString())));
  MessageTable messages;
  messages.Set(Message::StatusNotSaved, QStringLiteral("old"));
  QString note;
  ApplyLanguageTexts(language, messages, note);
  EXPECT_TRUE(messages.Text(Message::StatusNotSaved).isEmpty());
}
