#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "system/kernel/KernelParameterCalls.h"
#include "system/kernel/cpuid_cache_sizes_linux.h"

namespace tarq::SystemValuesUtility {

// What uname(2) reports about the running kernel.
struct KernelIdentity {
  std::string sysname;
  std::string nodename;
  std::string release;
  std::string version;
  std::string machine;

  static KernelIdentity current();
};

// Our own kernel-parameter service for Linux, which has no sysctl of the macOS kind. It answers
// the parameters the program reads, by name and by MIB, from /proc, /sys and uname, and behaves
// like the kernel: a size query with a null buffer, ENOMEM for a short buffer, ENOENT for a
// parameter it does not know or this machine does not have, texts ending in a NUL.
//
// Every answer is read afresh from files under `rootDirectory`: "/" in the product, a fixture
// tree in tests. Where sysfs has no cache sizes (many virtual machines), an x86 processor is
// asked through `cpuid`. A data read right after its own size query is answered from the reply
// that query computed, so a read opens each file once.
class LinuxKernelParameterService final : public KernelParameterCalls {
 public:
  explicit LinuxKernelParameterService(
      std::string rootDirectory = "/",
      std::function<KernelIdentity()> kernelIdentity = &KernelIdentity::current,
      CpuidQuery cpuid = processorCpuid());

  int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
             size_t newlen) override;
  int sysctlnametomib(const char* name, int* mibp, size_t* sizep) override;

 private:
  std::string rootDirectory_;
  std::function<KernelIdentity()> kernelIdentity_;
  CpuidQuery cpuid_;
  // The last size query's parameter and reply, until the next call.
  std::vector<int32_t> queriedMib_;
  std::optional<std::string> queriedReply_;
};

}  // namespace tarq::SystemValuesUtility
