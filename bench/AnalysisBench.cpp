// Analysis of a generated release of many short tagged MP3 tracks: the folder scan and the whole
// track analysis without checksums, as velmora-cli --checksum none runs them.

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchFiles.h"
#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"

namespace {

void BM_AnalyseRelease(benchmark::State& state) {
  const bench::TaggedReleaseFolder folder(static_cast<int>(state.range(0)));
  const auto readers = std::make_unique<ReaderSet>();
  for (auto _ : state) {
    ReleaseModel model;
    model.Opts.AutoCrc = false;
    ScanFolder(model.Scan, folder.Path());
    AnalyseTracks(model, *readers);
    benchmark::DoNotOptimize(model.Summary.TotalTimeText);
  }
  state.SetItemsProcessed(state.iterations() * folder.Count());
  state.SetLabel("items are tracks");
}
BENCHMARK(BM_AnalyseRelease)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
