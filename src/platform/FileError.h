#pragma once

#include <QString>
#include <exception>
#include <string>

// The one error the file layer raises. Its message is shown to the user as it stands
// ("Cannot open file /music/a.flac"), so it carries the program's own wording.
class FileError : public std::exception {
 public:
  explicit FileError(QString message);

  static FileError CannotOpen(const QString& path);
  static FileError CannotCreate(const QString& path);

  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  QString message_;
  std::string utf8_;
};
