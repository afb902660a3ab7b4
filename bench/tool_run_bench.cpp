// Reading a tool's output: 256 MiB through runTool beside the same bytes through a plain pipe
// into cat, timed the same way. Run with
//   build/bench/bench/tarq_bench --benchmark_filter=256MiB
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include "system/process/ToolRun.h"

extern char** environ;

namespace {

constexpr int64_t kBytes = int64_t{256} * 1024 * 1024;

void BM_RunToolReads256MiB(benchmark::State& state) {
  for (auto _ : state) {
    const tarq::SystemValuesUtility::ToolRun run =
        tarq::SystemValuesUtility::runTool("/usr/bin/head", {"-c", "268435456", "/dev/zero"});
    if (run.output.size() != static_cast<std::size_t>(kBytes)) {
      state.SkipWithError("short output");
    }
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_RunToolReads256MiB)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_PlainPipeInto256MiBCat(benchmark::State& state) {
  std::string shell = "/bin/sh";
  std::string option = "-c";
  std::string command = "head -c 268435456 /dev/zero | cat > /dev/null";
  char* argv[] = {shell.data(), option.data(), command.data(), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (::posix_spawn(&pid, shell.c_str(), nullptr, nullptr, argv, environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid || status != 0) {
      state.SkipWithError("pipeline failed");
    }
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PlainPipeInto256MiBCat)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
