#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/ProductInfo.h"
#include "support/LocalHttpServer.h"
#include "support/TestSupport.h"
#include "update/UpdateCheck.h"

namespace {

QString Text(const char* text) {
  return QString::fromLatin1(text);
}

// A server that publishes this version file, with its length unless told otherwise.
LocalHttpServer Publishing(const QByteArray& version, bool withLength = true) {
  return LocalHttpServer([version, withLength](auto& connection) {
    connection.Send(LocalHttpServer::Answer("[update]\r\nversion=" + version + "\r\n", withLength));
  });
}

// Runs one check to its end and returns the messages it asked for, as "title|text".
QStringList RunCheck(const LocalHttpServer& server, const QString& preferred,
                     const QString& fallback) {
  UpdateCheck check({server.Address(Text("/music/version.ini")), preferred, fallback});
  QStringList messages;
  bool finished = false;
  QObject::connect(&check, &UpdateCheck::NewVersionAvailable,
                   [&](const QString& title, const QString& text) {
                     messages.append(title + QLatin1Char('|') + text);
                   });
  QObject::connect(&check, &UpdateCheck::Finished, [&] { finished = true; });
  check.Start(true);
  EXPECT_TRUE(check.Busy());  // start-up goes on at once
  EXPECT_TRUE(WaitUntil([&] { return finished; }));
  return messages;
}

struct VersionCase {
  const char* published;
  bool newer;
};

}  // namespace

class UpdateCheckVersionTest : public ::testing::TestWithParam<VersionCase> {};

// Byte-wise, "1.3" sorts after "1.21a" and "1.100" before it.
TEST_P(UpdateCheckVersionTest, AsksForTheMessageOnlyForANewerVersionAndDeletesTheFile) {
  const VersionCase& version = GetParam();
  EXPECT_EQ(IsNewerVersion(Text(version.published), ProgramVersion()), version.newer);
  const LocalHttpServer server = Publishing(version.published);
  TempFolder program;
  const QStringList messages =
      RunCheck(server, program.Path(), program.FilePath(Text("cache/velmora")));

  const QStringList expected{Text("Velmora|A new version (") + Text(version.published) +
                             Text(") of Velmora is available!\r\nPlease check Velmora www page.")};
  EXPECT_EQ(messages, version.newer ? expected : QStringList());
  // The file was written beside the program (no cache folder made) and is gone again.
  EXPECT_TRUE(IsEmptyFolder(program.Path()));
  ASSERT_EQ(server.Requests().size(), 1);
  EXPECT_TRUE(server.Requests().first().startsWith("GET /music/version.ini HTTP/1.0\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Published, UpdateCheckVersionTest,
                         ::testing::Values(VersionCase{"1.21b", true}, VersionCase{"1.3", true},
                                           VersionCase{"2.0", true}, VersionCase{"1.21a", false},
                                           VersionCase{"1.100", false}, VersionCase{"", false}));

TEST(UpdateCheckTest, SwitchedOffAsksNothingAndAFailedCheckStaysSilentAndLeavesNoFile) {
  // Without a Content-Length the download fails, although it names a newer version.
  const LocalHttpServer server = Publishing("9.0", false);
  TempFolder program;
  UpdateCheck off({server.Address(Text("/music/version.ini")), program.Path(), QString()});
  off.Start(false);
  EXPECT_FALSE(off.Busy());

  EXPECT_TRUE(RunCheck(server, program.Path(), QString()).isEmpty());
  EXPECT_EQ(server.Requests().size(), 1);  // the switched-on check's alone
  EXPECT_TRUE(IsEmptyFolder(program.Path()));
}

// An installed program cannot write its own folder; the test stands for one with a folder that
// can never exist (below a regular file), since permissions do not stop root.
TEST(UpdateCheckTest, UnwritableProgramFolderKeepsTheFileInTheCacheFolder) {
  const UpdateCheckPlaces program = DefaultUpdateCheckPlaces();
  EXPECT_EQ(program.Address, Text("http://") + ProductWebHost() + Text("/music/version.ini"));
  EXPECT_EQ(program.PreferredFolder, QCoreApplication::applicationDirPath());
  EXPECT_TRUE(program.FallbackFolder.endsWith(Text("/velmora")));

  TempFolder temp;
  temp.Write(Text("file.txt"), "not a folder");
  const QString preferred = temp.FilePath(Text("file.txt/sub"));
  const QString cache = temp.FilePath(Text("cache/velmora"));
  EXPECT_EQ(VersionFileFolder({QString(), preferred, cache}), cache);
  EXPECT_TRUE(
      VersionFileFolder({QString(), preferred, temp.FilePath(Text("file.txt/cache"))}).isEmpty());

  const LocalHttpServer server = Publishing("1.3");
  EXPECT_EQ(RunCheck(server, preferred, cache).size(), 1);
  EXPECT_TRUE(IsEmptyFolder(cache));
  EXPECT_FALSE(QFileInfo::exists(preferred));
}
