#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/CapturedDiagnostics.h"
#include "support/TemporaryDirectory.h"
#include "system/kernel/kernel_parameter_service_linux.h"

namespace tarq::testing {

using SystemValuesUtility::CpuidQuery;
using SystemValuesUtility::CpuidRegisters;
using SystemValuesUtility::KernelIdentity;
using SystemValuesUtility::LinuxKernelParameterService;

// A fixture of tests/data/machines copied into a root a test may change, served by the Linux
// kernel-parameter service; its processor answers CPUID only if given, so the files count.
class FixtureMachine {
 public:
  explicit FixtureMachine(
      std::string_view fixture, std::string machine = "x86_64",
      CpuidQuery cpuid = [](uint32_t, uint32_t) { return std::optional<CpuidRegisters>(); })
      : service_(
            root_.string(),
            [machine] {
              return KernelIdentity{"Linux", "testhost", "6.1.0-18-amd64",
                                    "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)", machine};
            },
            std::move(cpuid)) {
    if (!fixture.empty()) {
      root_.copyFixture("machines/" + std::string(fixture));
    }
  }
  const TemporaryDirectory& root() const { return root_; }
  LinuxKernelParameterService& service() { return service_; }
  // Failed size queries write their errno here.
  std::string diagnostics() const { return diagnostics_.text(); }

 private:
  CapturedDiagnostics diagnostics_;
  TemporaryDirectory root_;
  LinuxKernelParameterService service_;
};

}  // namespace tarq::testing
