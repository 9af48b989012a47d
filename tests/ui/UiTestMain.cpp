#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include "platform/UserLocale.h"

// The window's tests run on a real QApplication, offscreen unless QT_QPA_PLATFORM names another
// platform (listing the tests must work without a display too), in English (code page 1252)
// unless a test pins another locale.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The programs find the decoding module beside them; the tests live elsewhere in the build.
  if (qEnvironmentVariableIsEmpty("VELMORA_AUDIO_MODULE"))
    qputenv("VELMORA_AUDIO_MODULE", VELMORA_TEST_AUDIO_MODULE);
  QApplication app(argc, argv);
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
