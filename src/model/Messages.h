#pragma once

#include <QString>
#include <array>

// The messages that exist only in language files: section TEXTS, by key.
enum class Message {
  StatusNotSaved = 9001,  // the status bar once a language is applied
  StatusSaved = 9002,     // the status bar after a save
  SavedText = 9003,
  SavedCaption = 9004,
  NothingToSaveText = 9005,
  NothingToSaveCaption = 9006,  // also the caption of the mixed-format warning
  MixedFormatsFirstLine = 9007,
  MixedFormatsLastLine = 9008,  // followed by a blank and the dominant extension
};
inline constexpr std::array<Message, 8> kMessages = {
    Message::StatusNotSaved,        Message::StatusSaved,         Message::SavedText,
    Message::SavedCaption,          Message::NothingToSaveText,   Message::NothingToSaveCaption,
    Message::MixedFormatsFirstLine, Message::MixedFormatsLastLine};

// The process-wide message table: empty until a language file has been applied.
class MessageTable {
 public:
  QString Text(Message message) const { return slots_[SlotOf(message)]; }
  void Set(Message message, const QString& text) { slots_[SlotOf(message)] = text; }
  void Clear() { slots_.fill(QString()); }

 private:
  static size_t SlotOf(Message message) { return static_cast<size_t>(message) - 9001; }
  std::array<QString, kMessages.size()> slots_;
};
