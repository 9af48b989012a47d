#include "platform/UserLocale.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace {

std::unique_ptr<UserLocale>& SystemLocale() {
  static std::unique_ptr<UserLocale> locale = std::make_unique<UserLocale>(QLocale::system());
  return locale;
}

QString TwoDigits(int64_t value) {
  return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// QLocale's long time format ends in a time-zone name ("t"); the start-time text has none.
QString LongTimeWithoutZone(const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return format.simplified();
}

}  // namespace

UserLocale::UserLocale(const QLocale& locale)
    : locale_(locale), caseBlind_(locale), caseAware_(locale) {
  caseBlind_.setCaseSensitivity(Qt::CaseInsensitive);
  caseAware_.setCaseSensitivity(Qt::CaseSensitive);
  caseBlind_.setNumericMode(false);
  caseAware_.setNumericMode(false);
  locale_.setNumberOptions(locale_.numberOptions() | QLocale::OmitGroupSeparator);
}

const UserLocale& UserLocale::System() {
  return *SystemLocale();
}

void UserLocale::SetSystem(const QLocale& locale) {
  SystemLocale() = std::make_unique<UserLocale>(locale);
  CodePage::SetSystem(CodePage::NumberForLocale(locale));
}

QString UserLocale::FormatFixed2(double value) const {
  return FormatFixed(value, 2);
}

QString UserLocale::FormatFixed(double value, int decimals) const {
  return locale_.toString(value, 'f', decimals);
}

QString UserLocale::FormatGrouped4(int64_t value) const {
  const bool negative = value < 0;
  QString digits = QString::number(negative ? -value : value);
  while (digits.size() < 4)
    digits.prepend(QLatin1Char('0'));
  const QString separator = locale_.groupSeparator();
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
    digits.insert(at, separator);
  return negative ? locale_.negativeSign() + digits : digits;
}

QString UserLocale::FormatDuration(double seconds) const {
  if (!(seconds > 0))
    seconds = 0;  // also catches NaN
  const int64_t whole = static_cast<int64_t>(std::min(seconds, 9.0e15));
  const QString secondsText = QLatin1Char(':') + TwoDigits(whole % 60);
  if (seconds > 3600) {
    return TwoDigits(whole / 3600) + QLatin1Char(':') + TwoDigits(whole / 60 % 60) + secondsText;
  }
  return TwoDigits(whole / 60) + secondsText;
}

QString UserLocale::FormatShortDate(const QDate& date) const {
  return locale_.toString(date, QLocale::ShortFormat);
}

QDate UserLocale::ParseShortDate(const QString& text) const {
  return locale_.toDate(text, QLocale::ShortFormat);
}

QString UserLocale::FormatStartTime(const QDateTime& moment) const {
  const QString text = FormatShortDate(moment.date()) + QLatin1Char(' ') +
                       locale_.toString(moment.time(), LongTimeWithoutZone(locale_));
  return text.left(30);
}

int UserLocale::CompareFileNames(const QString& a, const QString& b) const {
  if (const int order = caseBlind_.compare(a, b); order != 0)
    return order;
  if (const int order = caseAware_.compare(a, b); order != 0)
    return order;
  return a.compare(b);
}

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value))
    return 0;
  value = std::clamp(value, -9.0e18, 9.0e18);
  return static_cast<int64_t>(
      std::nearbyint(value));  // default rounding mode: to nearest, ties to even
}
