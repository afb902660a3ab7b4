// Parses one property-list file the way the USB probe parses the system profiler's report
// (the bytes taken over and parsed in place) and prints the time taken and the peak memory.
// bench/plist-vs-plistlib runs it beside Python's plistlib on the same file.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "system/text/PropertyList.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarq_plist_parse FILE\n");
    return 64;
  }
  const auto start = std::chrono::steady_clock::now();
  std::ifstream file(argv[1], std::ios::binary | std::ios::ate);
  std::string text(static_cast<std::size_t>(file.tellg()), '\0');
  file.seekg(0);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  const std::size_t bytes = text.size();
  const auto read = std::chrono::steady_clock::now();
  const tarq::SystemValuesUtility::PropertyListParse parsed =
      tarq::SystemValuesUtility::PropertyList::parse(std::move(text));
  if (!parsed.document) {
    std::fprintf(stderr, "%s\n", parsed.errorDescription.c_str());
    return 1;
  }
  // Touch what the probe reads, so that nothing is left to do lazily.
  std::size_t entries = 0;
  for (const tarq::SystemValuesUtility::PropertyListValue& item :
       parsed.document->root().elements().at(0).find("_items").elements()) {
    entries += item.find("_name").text().empty() ? 0u : 1u;
  }
  const auto end = std::chrono::steady_clock::now();
  const double seconds = std::chrono::duration<double>(end - start).count();
  const double parseSeconds = std::chrono::duration<double>(end - read).count();
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto cpuSeconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  std::printf(
      "tarq PropertyList: %zu bytes, %zu named entries, %.3f s (parse %.3f s), CPU %.3f s, peak "
      "RSS %ld KiB\n",
      bytes, entries, seconds, parseSeconds,
      cpuSeconds(usage.ru_utime) + cpuSeconds(usage.ru_stime), usage.ru_maxrss);
  return 0;
}
