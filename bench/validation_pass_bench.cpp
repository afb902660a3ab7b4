// How long the work behind one press of the button takes, part by part. Run with
//   cmake --preset bench && cmake --build --preset bench && build/bench/bench/tarq_bench
#include <benchmark/benchmark.h>

#include <sstream>

#include "system/Diagnostics.h"
#include "system/kernel/KernelParameters.h"
#include "validation/MachineFacts.h"
#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

#if !defined(__APPLE__)
#include "system/kernel/kernel_parameter_service_linux.h"
#endif

namespace {

// One whole pass on the machine running the benchmark, report tables included.
void BM_FullPassOnThisMachine(benchmark::State& state) {
  std::ostringstream diagnostics;
  tarq::SystemValuesUtility::setDiagnosticStream(diagnostics);
  tarq::SystemMachineFacts facts;
  tarq::ValidationRunner runner(facts);
  tarq::ResultTextTable lines;
  tarq::TestSummaryTable summary;
  runner.setTestResultsVC(&lines);
  runner.setTestNameVC(&summary);
  for (auto _ : state) {
    runner.runAllTests();
    benchmark::DoNotOptimize(summary.results().data());
  }
}
BENCHMARK(BM_FullPassOnThisMachine);

#if !defined(__APPLE__)
// A by-name read makes three service calls, each parsing /proc/cpuinfo afresh.
void BM_BrandStringFromFixtureLaptop(benchmark::State& state) {
  tarq::SystemValuesUtility::LinuxKernelParameterService service(
      TARQ_TEST_DATA_DIR "/machines/laptop", [] {
        return tarq::SystemValuesUtility::KernelIdentity{"Linux", "bench", "6.1.0", "#1", "x86_64"};
      });
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarq::SystemValuesUtility::cpuBrandString(service));
  }
}
BENCHMARK(BM_BrandStringFromFixtureLaptop);
#endif

void BM_ShortestDecimal(benchmark::State& state) {
  double value = 2.59615;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarq::shortestDecimal(value));
  }
}
BENCHMARK(BM_ShortestDecimal);

}  // namespace
