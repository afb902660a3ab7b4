#pragma once

#include <functional>
#include <optional>
#include <string>

#include "system/KernelParameterCalls.h"

namespace tarq {

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
// tree in tests.
class LinuxKernelParameterService final : public KernelParameterCalls {
 public:
  explicit LinuxKernelParameterService(
      std::string rootDirectory = "/",
      std::function<KernelIdentity()> kernelIdentity = &KernelIdentity::current);

  int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
             size_t newlen) override;
  int sysctlnametomib(const char* name, int* mibp, size_t* sizep) override;

 private:
  std::string rootDirectory_;
  std::function<KernelIdentity()> kernelIdentity_;
};

}  // namespace tarq
