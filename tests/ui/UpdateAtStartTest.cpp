#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "WindowHarness.h"
#include "support/LocalHttpServer.h"
#include "support/TestSupport.h"

namespace {

UpdateCheckPlaces PlacesOf(const LocalHttpServer& server, const TempFolder& folder) {
  return {server.Address(QStringLiteral("/music/version.ini")), folder.Path(), folder.Path()};
}

}  // namespace

// The window starts the check at start-up and tells the user about a newer version in a box of
// its own; with checkupdate off nobody is asked.
TEST(UpdateAtStartTest, NewerPublishedVersionIsToldAndTheSettingIsHonoured) {
  LocalHttpServer server([](LocalHttpServer::Connection& connection) {
    connection.Send(LocalHttpServer::Answer("[update]\r\nversion=2.0\r\n"));
  });
  TempFolder program, exeFolder;
  WindowHarness harness(program.Path(), {}, PlacesOf(server, exeFolder));
  ASSERT_TRUE(WaitUntil([&] { return !harness.prompts.Messages.isEmpty(); }));
  EXPECT_EQ(harness.prompts.Messages[0].Caption, QStringLiteral("Velmora"));
  EXPECT_EQ(harness.prompts.Messages[0].Text,
            QStringLiteral("A new version (2.0) of Velmora is available!\r\nPlease check Velmora "
                           "www page."));
  EXPECT_TRUE(IsEmptyFolder(exeFolder.Path()));  // the version file is gone again

  TempFolder quiet;
  quiet.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\ncheckupdate=0\r\n");
  const qsizetype asked = server.Requests().size();
  WindowHarness off(quiet.Path(), {}, PlacesOf(server, exeFolder));
  QTest::qWait(300);
  EXPECT_EQ(server.Requests().size(), asked);
  EXPECT_TRUE(off.prompts.Messages.isEmpty());
}
