#include "support/GoldenAlbum.h"

#include "support/AudioFixtures.h"

#include <QFile>

using namespace fixtures;

namespace {

QByteArray Track(const char* title, int frames, int kbps) {
  return Id3v2Tag({{"TPE1", "Zespół Testowy"},
                   {"TIT2", QByteArray(title)},
                   {"TALB", "Łąki i pola"},
                   {"TYER", "2023"},
                   {"TCON", "Folk"}},
                  3) +
         MpegXingFrames(frames, XingBytesFor(kbps, frames)) +
         Id3v1Tag("Track", "Zespol Testowy", "Laki i pola", "2023", 80);
}

}  // namespace

GoldenAlbum::GoldenAlbum() {
  program.Write(QStringLiteral("nfo.ini"),
                "[Velmora]\r\nsource=CD\r\nripper=Exact Audio Copy\r\ncd/dvd=Plextor PX-716A\r\n"
                "rippedby=Korvix\r\npostedby=Korvix\r\nserver=news.example.org\r\n"
                "group=alt.binaries.pl.mp3\r\nfilenametemplate=00. %author% - %album%\r\n");
  const QString note = QStringLiteral("Ripped with care.\r\nDruga linia – żółć.\r\n");
  program.Write(QStringLiteral("note.txt"),
                QByteArray("\xFF\xFE") +
                    QByteArray(reinterpret_cast<const char*>(note.utf16()), note.size() * 2));
  album.Write(QStringLiteral("01. Pierwsza.mp3"), Track("Pierwsza", 7863, 192));
  album.Write(QStringLiteral("02. Druga.mp3"), Track("Druga – część", 10000, 224));
  album.Write(QStringLiteral("03. Trzecia.mp3"), Track("Trzecia", 5000, 170));
}

QDateTime GoldenAlbum::Now() {
  return QDateTime(QDate(2024, 5, 17), QTime(21, 4, 5));
}

QDate GoldenAlbum::RipDate() {
  return QDate(2024, 5, 16);
}

QString GoldenAlbum::EightBitBaseName() {
  return QStringLiteral("00. Zespół Testowy - Łąki i pola");
}

QString GoldenAlbum::UnicodeBaseName() {
  return QStringLiteral("Łąki i pola (Pierwsza)");
}

QByteArray GoldenAlbum::Golden(const QString& relative) {
  QFile file(TestDataPath(QStringLiteral("cli/") + relative));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
