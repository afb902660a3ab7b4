#include "system/probes/MonoLocator.h"

#include <limits>

#include "system/text/FileReading.h"
#include "system/text/RegularExpression.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

constexpr std::string_view kBannerPattern = R"((Mono JIT compiler version\s+)(\d+(\.\d+)+))";
constexpr uint32_t kBannerVersionGroup = 2;
constexpr std::string_view kMajorPattern = R"((\d+))";
constexpr uint32_t kMajorGroup = 1;

constexpr const char* kNoFramework = "Unable to find the Mono Framework";
constexpr const char* kNotStartable = "Unable to find the Mono Framework Version";
constexpr const char* kFailedRun = "Unable to return the Mono Framework Version";
constexpr const char* kNoBanner = "Failed to parse the version on Mono Frameworks";

MonoVersionInfo parseFailure() {
  return {"", kNoBanner, 0};
}

}  // namespace

MonoRun runMono(const std::string& path, const ToolRunLimits& limits) {
  if (!fileExists(path)) {
    return {false, kNoFramework};
  }
  ToolRun run = runToolGuarded(path, {"--version"}, limits);
  if (!run.launched) {
    return {false, kNotStartable};
  }
  if (run.exitStatus != 0) {
    return {false, kFailedRun};
  }
  return {true, isValidUtf8(run.output) ? std::move(run.output) : std::string()};
}

MonoVersionInfo monoVersion(const std::vector<std::string>& candidates,
                            const ToolRunLimits& limits) {
  MonoRun run{false, kNoFramework};
  for (const std::string& candidate : candidates) {
    run = runMono(candidate, limits);
    if (run.ok) {
      return monoVersionFromBanner(run.text);
    }
  }
  return {"", std::move(run.text), 0};
}

MonoVersionInfo monoVersionFromBanner(std::string_view banner) {
  const auto bannerPattern =
      RegularExpression::compile(kBannerPattern, RegularExpression::Case::insensitive);
  const auto majorPattern =
      RegularExpression::compile(kMajorPattern, RegularExpression::Case::insensitive);
  if (!bannerPattern || !majorPattern) {
    return parseFailure();
  }
  const auto version = bannerPattern->firstMatchGroup(banner, kBannerVersionGroup);
  if (!version) {
    return parseFailure();
  }
  const auto majorDigits = majorPattern->firstMatchGroup(*version, kMajorGroup);
  const auto major = parseUnsignedDecimal(majorDigits ? *majorDigits : std::string_view{});
  // A first number too large for the signed field reads as 0, like no number at all.
  const bool fits = major && *major <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  return {std::string(*version), "", fits ? static_cast<int64_t>(*major) : 0};
}

}  // namespace tarq::SystemValuesUtility
