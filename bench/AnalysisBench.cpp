// Analysis of a generated release of many short tagged MP3 tracks: the folder scan and the whole
// track analysis without checksums, as velmora-cli --checksum none runs them.

#include <benchmark/benchmark.h>

#include "BenchFiles.h"
#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"

namespace {

void BM_AnalyseRelease(benchmark::State& state) {
  const bench::TaggedReleaseFolder folder(static_cast<int>(state.range(0)));
  AnalysisOptions options;
  options.Choices.AutoCrc = false;
  for (auto _ : state) {
    Release model;
    ScanFolder(model.Scan, folder.Path());
    AnalyseTracks(model, options);
    benchmark::DoNotOptimize(model.Summary.TotalTimeText);
  }
  state.SetItemsProcessed(state.iterations() * folder.Count());
  state.SetLabel("items are tracks");
}
BENCHMARK(BM_AnalyseRelease)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
