// Checksum throughput: the hash routines alone on a buffer in memory, one whole file through the
// file routines, and the checksum job over an album with one worker or several.

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <openssl/evp.h>

#include <memory>

#include "BenchFiles.h"
#include "checksums/ChecksumJob.h"
#include "checksums/Checksums.h"

namespace {

constexpr int64_t kMiB = 1024 * 1024;

// What the file routines could reach if reading cost nothing.
void BM_Crc32Buffer(benchmark::State& state) {
  const QByteArray buffer = bench::RandomBytes(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        libdeflate_crc32(0, buffer.constData(), static_cast<size_t>(buffer.size())));
  }
  state.SetBytesProcessed(state.iterations() * buffer.size());
}
BENCHMARK(BM_Crc32Buffer)->Arg(64 * 1024)->Arg(kMiB)->Arg(64 * kMiB);

void BM_Md5Buffer(benchmark::State& state) {
  const QByteArray buffer = bench::RandomBytes(state.range(0));
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        EVP_MD_CTX_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  for (auto _ : state) {
    EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr);
    EVP_DigestUpdate(context.get(), buffer.constData(), static_cast<size_t>(buffer.size()));
    EVP_DigestFinal_ex(context.get(), digest, &length);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * buffer.size());
}
BENCHMARK(BM_Md5Buffer)->Arg(64 * 1024)->Arg(kMiB)->Arg(64 * kMiB);

// One file of 256 MiB, read back from the page cache after the first iteration.
const bench::TrackFolder& LargeFile() {
  static const bench::TrackFolder folder(1, 256 * kMiB);
  return folder;
}

void BM_FileCrc32(benchmark::State& state) {
  const QString& path = LargeFile().Files().front();
  for (auto _ : state)
    benchmark::DoNotOptimize(FileCrc32(path));
  state.SetBytesProcessed(state.iterations() * LargeFile().TotalBytes());
}
BENCHMARK(BM_FileCrc32)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FileMd5(benchmark::State& state) {
  const QString& path = LargeFile().Files().front();
  for (auto _ : state)
    benchmark::DoNotOptimize(FileMd5(path));
  state.SetBytesProcessed(state.iterations() * LargeFile().TotalBytes());
}
BENCHMARK(BM_FileMd5)->Unit(benchmark::kMillisecond)->UseRealTime();

// An album of 8 tracks of 32 MiB; the argument is the number of workers.
const bench::TrackFolder& Album() {
  static const bench::TrackFolder folder(8, 32 * kMiB);
  return folder;
}

void RunJob(benchmark::State& state, ChecksumKind kind) {
  const int workers = static_cast<int>(state.range(0));
  const QStringList& files = Album().Files();
  for (auto _ : state) {
    ChecksumJob job(kind, files, {}, workers);
    while (!job.Done())
      benchmark::DoNotOptimize(job.WaitReady());
  }
  state.SetBytesProcessed(state.iterations() * Album().TotalBytes());
}

void BM_ChecksumJobSfv(benchmark::State& state) {
  RunJob(state, ChecksumKind::Sfv);
}
BENCHMARK(BM_ChecksumJobSfv)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChecksumJobMd5(benchmark::State& state) {
  RunJob(state, ChecksumKind::Md5);
}
BENCHMARK(BM_ChecksumJobMd5)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
