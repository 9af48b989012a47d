#pragma once

#include <QString>
#include <exception>
#include <string>

// The one error the file layer raises. Its message is the program's own wording ("Cannot open
// file /music/a.flac"); the system's reason, when there is one ("No space left on device"), is
// kept beside it, and Text() puts the two together as the user reads them.
class FileError : public std::exception {
 public:
  explicit FileError(QString message, QString reason = {});

  static FileError CannotOpen(const QString& path, const QString& reason = {});
  static FileError CannotCreate(const QString& path, const QString& reason = {});

  const QString& Message() const { return message_; }
  const QString& Reason() const { return reason_; }
  // "Cannot create file /a/b.nfo: No space left on device"; the message alone without a reason.
  QString Text() const;
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  QString message_;
  QString reason_;
  std::string utf8_;
};

// The system's wording of an errno value ("Permission denied").
QString SystemErrorText(int errorNumber);
