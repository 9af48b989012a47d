#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <functional>
#include <memory>

#include "support/LocalHttpServer.h"
#include "support/TestSupport.h"
#include "update/HTTPGet.h"

using namespace std::chrono_literals;

namespace {

// A component and every event it delivered: the progress reports, and the end as text.
struct RecordedDownload {
  RecordedDownload() {
    QObject::connect(&http, &THTTPGet::OnProgress, [this](qint64 total, qint64 readed) {
      progressAfterEnd = progressAfterEnd || !ends.isEmpty();
      progress.append({total, readed});
    });
    QObject::connect(&http, &THTTPGet::OnDoneFile, [this](const QString& name, qint64 size) {
      ends.append(QStringLiteral("file %1 %2").arg(QFileInfo(name).fileName()).arg(size));
    });
    QObject::connect(&http, &THTTPGet::OnDoneString,
                     [this](const QString& text) { ends.append(QStringLiteral("text ") + text); });
    QObject::connect(&http, &THTTPGet::OnError, [this] { ends.append(QStringLiteral("error")); });
  }

  qint64 LastReaded() const { return progress.isEmpty() ? 0 : progress.last().second; }

  // Every report names the announced total, none comes after the end, each is at most one chunk
  // further than the one before.
  void ExpectChunkedProgress(qint64 total, qint64 last) const {
    EXPECT_FALSE(progressAfterEnd);
    qint64 before = 0;
    for (const auto& [reportedTotal, readed] : progress) {
      EXPECT_EQ(reportedTotal, total);
      EXPECT_GT(readed, before);
      EXPECT_LE(readed - before, 1025);
      before = readed;
    }
    EXPECT_EQ(before, last);
  }

  THTTPGet http;
  QList<std::pair<qint64, qint64>> progress;
  QStringList ends;
  bool progressAfterEnd = false;
};

QString Text(const char* text) {
  return QString::fromLatin1(text);
}

QByteArray Body(int size) {
  QByteArray body(size, Qt::Uninitialized);
  for (int i = 0; i < size; ++i)
    body[i] = static_cast<char>('a' + i % 26);
  return body;
}

// One download to its end (WaitThread), into `fileName` or, when that is empty, into a text.
std::unique_ptr<RecordedDownload> Fetch(const QString& url, const QString& fileName,
                                        const std::function<void(THTTPGet&)>& adjust = {}) {
  auto download = std::make_unique<RecordedDownload>();
  THTTPGet& http = download->http;
  http.URL = url;
  http.FileName = fileName;
  http.WaitThread = true;
  if (adjust)
    adjust(http);
  fileName.isEmpty() ? http.GetString() : http.GetFile();
  EXPECT_FALSE(http.Busy());  // with WaitThread the call returns when it is all over
  return download;
}

// Headers announcing a long body, then a piece of it at every interval until the client goes.
LocalHttpServer::Responder Trickle(const QByteArray& piece, std::chrono::milliseconds interval) {
  return [piece, interval](LocalHttpServer::Connection& connection) {
    if (!connection.Send(LocalHttpServer::Head(100000)))
      return;
    while (connection.Send(piece) && connection.Pause(interval)) {
    }
  };
}

// Each present header starts a line of the request's head; no absent one does.
void ExpectHeaders(const QByteArray& request, std::initializer_list<const char*> present,
                   std::initializer_list<const char*> absent) {
  for (const char* header : present)
    EXPECT_TRUE(request.contains("\r\n" + QByteArray(header))) << header;
  for (const char* header : absent)
    EXPECT_FALSE(request.contains("\r\n" + QByteArray(header))) << header;
}

// Reads the request and then sends nothing, for as long as the client waits.
void StaySilent(LocalHttpServer::Connection& connection) {
  connection.Pause(10min);
}

}  // namespace

class HTTPGetAddressTest : public ::testing::TestWithParam<const char*> {};

// The request of the component's defaults, with the address written three ways, and a file that
// receives exactly the announced body, reported a chunk at a time.
TEST_P(HTTPGetAddressTest, GetFileSendsTheDefaultRequestAndStoresTheAnnouncedBody) {
  const QByteArray body = Body(3000);
  LocalHttpServer server(
      [&body](auto& connection) { connection.Send(LocalHttpServer::Answer(body)); });
  TempFolder folder;
  const THTTPGet defaults;
  EXPECT_EQ(defaults.AcceptTypes, Text("*/*"));
  EXPECT_EQ(defaults.Agent, Text("Corvane HTTPGet"));
  EXPECT_FALSE(defaults.BinaryData || defaults.UseCache || defaults.WaitThread);

  const QString url = Text(GetParam()) + server.Address(Text("/music/version.ini")).mid(7);
  const auto download = Fetch(url, folder.FilePath(Text("version.ini")));
  EXPECT_EQ(download->ends, QStringList{Text("file version.ini 3000")});
  download->ExpectChunkedProgress(3000, 3000);
  EXPECT_EQ(folder.Read(Text("version.ini")), body);
  ASSERT_EQ(server.Requests().size(), 1);
  const QByteArray request = server.Requests().first();
  EXPECT_TRUE(request.startsWith("GET /music/version.ini HTTP/1.0\r\n")) << request.constData();
  ExpectHeaders(request,
                {"Host: 127.0.0.1:", "User-Agent: Corvane HTTPGet\r\n", "Accept: */*\r\n",
                 "Pragma: no-cache\r\n", "Cache-Control: no-cache\r\n"},
                {"Referer:", "Authorization:", "Content-Type:"});
}

INSTANTIATE_TEST_SUITE_P(Prefixes, HTTPGetAddressTest, ::testing::Values("http://", "", "HTTP://"));

TEST(HTTPGetTest, PostSendsTheFormWithItsTypeAndTheOtherPropertiesAndReturnsText) {
  LocalHttpServer server(
      [](auto& connection) { connection.Send(LocalHttpServer::Answer("version=2.0")); });
  const auto download = Fetch(server.Address(Text("/form")), QString(), [](THTTPGet& http) {
    http.PostQuery = Text("name=velmora&from=1.21a");
    http.Referer = Text("http://velmora.example.org/");
    http.UserName = Text("user");
    http.Password = Text("secret");
    http.AcceptTypes = Text("text/plain");
    http.Agent.clear();
    http.UseCache = true;
  });

  EXPECT_EQ(download->ends, QStringList{Text("text version=2.0")});
  download->ExpectChunkedProgress(11, 11);
  const QByteArray request = server.Requests().value(0);
  EXPECT_TRUE(request.startsWith("POST /form HTTP/1.0\r\n")) << request.constData();
  EXPECT_TRUE(request.endsWith("\r\n\r\nname=velmora&from=1.21a"));
  ExpectHeaders(request,
                {"Content-Type: application/x-www-form-urlencoded\r\n", "Content-Length: 23\r\n",
                 "Referer: http://velmora.example.org/\r\n", "Accept: text/plain\r\n",
                 "Authorization: Basic dXNlcjpzZWNyZXQ=\r\n"},
                {"User-Agent:", "Pragma:", "Cache-Control:"});
}

// Without a Content-Length a file can never be complete, and is removed although the body came;
// a text is complete with any byte, unless BinaryData forbids reading such an answer at all.
TEST(HTTPGetTest, AnswerWithoutContentLengthFailsTheFileAndLeavesNothing) {
  LocalHttpServer server(
      [](auto& connection) { connection.Send(LocalHttpServer::Answer(Body(3000), false)); });
  TempFolder folder;
  const QString url = server.Address(Text("/music/version.ini"));

  const auto file = Fetch(url, folder.FilePath(Text("version.ini")));
  EXPECT_EQ(file->ends, QStringList{Text("error")});
  file->ExpectChunkedProgress(0, 3000);
  EXPECT_TRUE(IsEmptyFolder(folder.Path()));

  EXPECT_EQ(Fetch(url, QString())->ends,
            QStringList{Text("text ") + QString::fromLatin1(Body(3000))});
  const auto binary = Fetch(url, QString(), [](THTTPGet& http) { http.BinaryData = true; });
  EXPECT_EQ(binary->ends, QStringList{Text("error")});
  EXPECT_TRUE(binary->progress.isEmpty());
}

TEST(HTTPGetTest, MoreThanMaxBytesAnnouncedOrSentFailsTheDownload) {
  LocalHttpServer server([](auto& connection) {
    const QByteArray& request = connection.Request();
    if (request.startsWith("GET /announced "))
      connection.Send(LocalHttpServer::Answer(Body(5000)));
    else if (request.startsWith("GET /unannounced "))
      connection.Send(LocalHttpServer::Answer(Body(5000), false));
    else
      connection.Send(LocalHttpServer::Answer(Body(2000)));
  });
  TempFolder folder;
  const QString file = folder.FilePath(Text("big.bin"));
  const auto capped = [](THTTPGet& http) { http.MaxBytes = 2000; };

  // Refused on the announcement, before a byte of the body is read.
  const auto announced = Fetch(server.Address(Text("/announced")), file, capped);
  EXPECT_EQ(announced->ends, QStringList{Text("error")});
  EXPECT_TRUE(announced->progress.isEmpty());
  EXPECT_TRUE(IsEmptyFolder(folder.Path()));
  // A text, which would succeed with any byte, fails when it passes the cap.
  const auto sent = Fetch(server.Address(Text("/unannounced")), QString(), capped);
  EXPECT_EQ(sent->ends, QStringList{Text("error")});
  EXPECT_LE(sent->LastReaded(), 2000);
  // The cap itself is allowed.
  const auto exact = Fetch(server.Address(Text("/exact")), file, capped);
  EXPECT_EQ(exact->ends, QStringList{Text("file big.bin 2000")});
}

TEST(HTTPGetTest, SecondGetFileDuringASlowDownloadIsIgnoredAndAbortEndsInError) {
  LocalHttpServer server(Trickle(Body(100), 50ms));
  TempFolder folder;
  RecordedDownload download;
  THTTPGet& http = download.http;
  http.URL = server.Address(Text("/slow"));
  http.FileName = folder.FilePath(Text("first.bin"));
  http.GetFile();
  EXPECT_TRUE(http.Busy());  // without WaitThread the call returns at once
  ASSERT_TRUE(WaitUntil([&] { return !download.progress.isEmpty(); }));

  http.URL = server.Address(Text("/other"));
  http.FileName = folder.FilePath(Text("second.bin"));
  http.GetFile();
  http.Abort();
  ASSERT_TRUE(WaitUntil([&] { return !http.Busy(); }));

  EXPECT_EQ(download.ends, QStringList{Text("error")});
  download.ExpectChunkedProgress(100000, download.LastReaded());
  EXPECT_EQ(server.Requests().size(), 1);
  EXPECT_TRUE(IsEmptyFolder(folder.Path()));  // neither the partial first file nor a second one
}

// A server that holds the connection cannot hold the download: silence ends at the stall time,
// a trickle faster than the stall limit at the total time, and destroying the component ends
// either at once.
TEST(HTTPGetTest, SilentOrTricklingServerCannotHoldTheDownloadNorItsDestruction) {
  LocalHttpServer silent(StaySilent);
  LocalHttpServer trickling(Trickle("x", 100ms));
  const std::pair<const LocalHttpServer*, std::chrono::milliseconds> cases[] = {{&silent, 10min},
                                                                                {&trickling, 2s}};
  TempFolder folder;
  for (const auto& [server, totalTimeout] : cases) {
    auto download = std::make_unique<RecordedDownload>();
    download->http.URL = server->Address(Text("/music/version.ini"));
    download->http.FileName = folder.FilePath(Text("version.ini"));
    download->http.StallTimeout = 1s;
    download->http.TotalTimeout = totalTimeout;
    download->http.GetFile();
    EXPECT_TRUE(WaitUntil([&] { return !download->ends.isEmpty(); }));
    EXPECT_EQ(download->ends, QStringList{Text("error")});

    // Again, with the default time-outs, which it would otherwise wait out.
    download = std::make_unique<RecordedDownload>();
    download->http.URL = server->Address(Text("/music/version.ini"));
    download->http.GetString();
    ASSERT_TRUE(WaitUntil([&] { return server->Requests().size() == 2; }));
    QElapsedTimer timer;
    timer.start();
    download.reset();
    EXPECT_LT(timer.elapsed(), 5000);
  }
  EXPECT_TRUE(IsEmptyFolder(folder.Path()));
}
