#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLocale>

#include "platform/UserLocale.h"

// The analysis formats numbers and sorts names through the user locale; a fixed one keeps runs
// comparable between machines.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
