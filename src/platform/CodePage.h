#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <array>
#include <memory>

// A Windows single-byte ("ANSI") code page. Converting to it turns every character the code
// page cannot hold into "?", including the default-ignorable ones that ICU's own substitution
// would silently drop.
class CodePage {
 public:
  explicit CodePage(int number);

  // The ANSI code page Windows assigns to the locale's language (1252 when none is special).
  static int NumberForLocale(const QLocale& locale);
  static CodePage ForLocale(const QLocale& locale) { return CodePage(NumberForLocale(locale)); }

  // The code page of the user's locale, the stand-in for the system's code page. Tests and
  // velmora-cli pin it through UserLocale::SetSystem.
  static const CodePage& System();
  static void SetSystem(int number);

  int Number() const { return number_; }
  QByteArray FromUnicode(const QString& text) const;
  QString ToUnicode(const QByteArray& bytes) const;
  QString ToUnicode(const char* bytes, qsizetype length) const;
  // Text as it comes back after a trip through the code page ("日" becomes "?").
  QString RoundTrip(const QString& text) const { return ToUnicode(FromUnicode(text)); }

  struct Tables;  // the 256 characters of the code page and their reverse lookup

 private:
  int number_;
  std::shared_ptr<const Tables> tables_;
};
