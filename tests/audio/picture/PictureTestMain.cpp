#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLocale>

#include "platform/UserLocale.h"

// The picture is drawn on a QGuiApplication, offscreen unless QT_QPA_PLATFORM names another
// platform, as the command line draws it.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
