#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include "platform/UserLocale.h"

// Tests never depend on the machine's locale: they start in English (code page 1252) and pin
// other locales where they need them.
int main(int argc, char** argv) {
  // The programs find the decoding module beside them; the tests live elsewhere in the build.
  if (qEnvironmentVariableIsEmpty("VELMORA_AUDIO_MODULE"))
    qputenv("VELMORA_AUDIO_MODULE", VELMORA_TEST_AUDIO_MODULE);
  QCoreApplication app(argc, argv);
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
