#pragma once

#include <QCollator>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

// The user's locale as the program uses it: number, time and date texts, and the order of file
// names. It wraps a QLocale, so tests and velmora-cli can pin any locale regardless of the
// machine's.
class UserLocale {
 public:
  explicit UserLocale(const QLocale& locale = QLocale::system());

  // The locale the whole process works in, and the code page that follows from it.
  static const UserLocale& System();
  static void SetSystem(const QLocale& locale);

  const QLocale& Locale() const { return locale_; }

  // "0.00": two decimals with the locale's decimal separator and no grouping.
  QString FormatFixed2(double value) const;
  // The same with the given number of decimals.
  QString FormatFixed(double value, int decimals) const;
  // "0,000": at least four digits, grouped with the locale's thousands separator.
  QString FormatGrouped4(int64_t value) const;
  // "nn:ss", or "hh:nn:ss" above 3600 seconds; the fraction of a second is cut off.
  QString FormatDuration(double seconds) const;
  QString FormatShortDate(const QDate& date) const;
  // Short date and long time without the time-zone name, cut to 30 characters.
  QString FormatStartTime(const QDateTime& moment) const;
  // Parses the locale's short date text back, for edits of a date field.
  QDate ParseShortDate(const QString& text) const;

  // Total order of file names: the locale's collation with letters compared without regard to
  // case first, then case, then code units, so that no two different names compare equal.
  int CompareFileNames(const QString& a, const QString& b) const;
  bool FileNameLess(const QString& a, const QString& b) const { return CompareFileNames(a, b) < 0; }

 private:
  QLocale locale_;
  QCollator caseBlind_;
  QCollator caseAware_;
};

// Rounds to the nearest integer, halves to even (banker's rounding).
int64_t RoundHalfEven(double value);
