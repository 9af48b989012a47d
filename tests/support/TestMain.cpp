#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include "platform/UserLocale.h"

// Tests never depend on the machine's locale: they start in English (code page 1252) and pin
// other locales where they need them.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
