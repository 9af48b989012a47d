#pragma once

#include <QString>
#include <chrono>
#include <cstdint>

// THTTPGet's properties. A download runs on a copy taken when it starts, so that changing them
// meanwhile affects only the next one.
struct HTTPGetProperties {
  // The value of the request's Accept header; empty sends none.
  QString AcceptTypes = QStringLiteral("*/*");
  // The user agent name; empty sends none.
  QString Agent = QStringLiteral("Corvane HTTPGet");
  // A response without Content-Length is then not read at all (and the download fails).
  bool BinaryData = false;
  // Off: the request tells every cache on the way to fetch the answer from the server.
  bool UseCache = false;
  // The file that receives the body of GetFile.
  QString FileName;
  // Credentials passed when connecting.
  QString UserName;
  QString Password;
  // Form data: when not empty the request is a POST with this body.
  QString PostQuery;
  QString Referer;
  // GetFile and GetString return only when the download has ended, processing events meanwhile.
  bool WaitThread = false;
  // "http://host[:port]/path"; the prefix may be left out, the port is 80 unless given.
  QString URL;

  // A response that announces or sends more than this fails instead of filling the disk or the
  // memory; a hostile or broken server decides nothing here.
  int64_t MaxBytes = int64_t(16) << 20;
  // Each of these ends a download that a server would otherwise hold for ever: the connection
  // not made in time, no byte for the stall time, the whole download taking longer than the
  // total time however it trickles. All must be positive.
  std::chrono::milliseconds ConnectTimeout = std::chrono::seconds(10);
  std::chrono::seconds StallTimeout = std::chrono::seconds(15);
  std::chrono::milliseconds TotalTimeout = std::chrono::minutes(2);
};
