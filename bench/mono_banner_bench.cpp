// How long the Mono banner search takes on output that never matches. Run with
//   build/bench/bench/tarq_bench --benchmark_filter=MonoBanner
#include <benchmark/benchmark.h>

#include <string>

#include "system/probes/MonoLocator.h"

namespace {

constexpr std::size_t kMebibyte = std::size_t{1} << 20;

std::string repeatedUpTo(std::string_view piece, std::size_t size) {
  std::string text;
  text.reserve(size + piece.size());
  while (text.size() < size) {
    text += piece;
  }
  return text;
}

void searchBanner(benchmark::State& state, const std::string& output) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarq::SystemValuesUtility::monoVersionFromBanner(output));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(output.size()));
}

// 100 MB of ordinary log lines.
void BM_MonoBannerLogText100MB(benchmark::State& state) {
  searchBanner(
      state, repeatedUpTo("Loaded assembly mscorlib.dll into domain 1 (mono)\n", 100 * kMebibyte));
}
BENCHMARK(BM_MonoBannerLogText100MB)->Unit(benchmark::kMillisecond);

// 100 MB of labels each followed by something that is not a version.
void BM_MonoBannerNearMisses100MB(benchmark::State& state) {
  searchBanner(state, repeatedUpTo("MONO JIT compiler version  7.x\n", 100 * kMebibyte));
}
BENCHMARK(BM_MonoBannerNearMisses100MB)->Unit(benchmark::kMillisecond);

// One label followed by the given number of mebibytes of white space and no version. The full
// stop at the end keeps the engine from ruling the match out before it walks the white space.
void BM_MonoBannerLabelThenWhitespace(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0)) * kMebibyte;
  searchBanner(state, "Mono JIT compiler version" + repeatedUpTo(" \t\r\n", size) + "6 .");
}
BENCHMARK(BM_MonoBannerLabelThenWhitespace)
    ->Arg(1)
    ->Arg(16)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond);

// The same with a version at the end: the match spans all of the white space.
void BM_MonoBannerLabelWhitespaceVersion(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0)) * kMebibyte;
  searchBanner(state, "Mono JIT compiler version" + repeatedUpTo(" \t\r\n", size) + "6.12.0.182");
}
BENCHMARK(BM_MonoBannerLabelWhitespaceVersion)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
