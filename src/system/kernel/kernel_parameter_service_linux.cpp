// The Linux kernel-parameter service's table of the parameters it knows, by name and by MIB, and
// its sysctl: the size query, ENOMEM for a short buffer, ENOENT for what it does not know or this
// machine lacks. The facts themselves are read by the machine_*_linux.cpp files.
#include "system/kernel/kernel_parameter_service_linux.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "system/kernel/KernelParameters.h"
#include "system/kernel/machine_sources_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

struct Parameter {
  std::string_view name;
  Mib mib;
  Reply (*reply)(const MachineSources&);
};

// The parameters the service knows. The three read by name have no fixed number on macOS
// (the kernel assigns one at start); the numbers here stand in for those.
const std::vector<Parameter>& knownParameters() {
  static const std::vector<Parameter> parameters{
      {"kern.ostype", KernelParameterMib::osType, osTypeReply},
      {"kern.osrelease", KernelParameterMib::osRelease, osReleaseReply},
      {"kern.osrevision", KernelParameterMib::osRevision, osRevisionReply},
      {"kern.version", KernelParameterMib::kernelVersion, kernelVersionReply},
      {"kern.hostname", KernelParameterMib::hostName, hostNameReply},
      {"kern.osversion", KernelParameterMib::osVersion, osVersionReply},
      {"hw.machine", KernelParameterMib::machine, machineReply},
      {"hw.model", KernelParameterMib::model, modelReply},
      {"hw.ncpu", KernelParameterMib::cpuCount, cpuCountReply},
      {"hw.l2cachesize", KernelParameterMib::l2CacheSize, l2CacheSizeReply},
      {"hw.l3cachesize", KernelParameterMib::l3CacheSize, l3CacheSizeReply},
      {"hw.memsize", KernelParameterMib::memorySize, memorySizeReply},
      {"hw.availcpu", KernelParameterMib::activeCPUCount, activeCpuCountReply},
      {KernelParameterName::cpuFrequency, {KernelParameterMib::kCtlHw, 15}, cpuFrequencyReply},
      {KernelParameterName::cpu64BitCapable,
       {KernelParameterMib::kCtlHw, 108},
       cpu64BitCapableReply},
      {KernelParameterName::cpuBrandString, {7, 104, 105}, cpuBrandStringReply},
  };
  return parameters;
}

int failWith(int errorNumber) {
  errno = errorNumber;
  return -1;
}

}  // namespace

LinuxKernelParameterService::LinuxKernelParameterService(
    std::string rootDirectory, std::function<KernelIdentity()> kernelIdentity, CpuidQuery cpuid)
    : rootDirectory_(std::move(rootDirectory)),
      kernelIdentity_(std::move(kernelIdentity)),
      cpuid_(std::move(cpuid)) {}

int LinuxKernelParameterService::sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp,
                                        void* newp, size_t newlen) {
  // Only the very next call may use the last size query's reply.
  std::optional<std::string> queriedReply = std::exchange(queriedReply_, std::nullopt);
  if (name == nullptr || namelen == 0 || namelen > SystemValuesUtility::kMaxMibLevels ||
      oldlenp == nullptr) {
    return failWith(EINVAL);
  }
  if (newp != nullptr || newlen != 0) {
    return failWith(EPERM);  // every parameter here is read-only
  }
  const Mib mib(name, name + namelen);
  const auto& parameters = knownParameters();
  const auto parameter = std::find_if(parameters.begin(), parameters.end(),
                                      [&](const Parameter& p) { return p.mib == mib; });
  if (parameter == parameters.end()) {
    return failWith(ENOENT);
  }
  Reply reply;
  if (oldp != nullptr && queriedReply && queriedMib_ == mib) {
    reply = std::move(queriedReply);
  } else {
    reply = parameter->reply(MachineSources(rootDirectory_, kernelIdentity_(), cpuid_));
  }
  if (!reply) {
    return failWith(ENOENT);
  }
  if (oldp == nullptr) {
    *oldlenp = reply->size();
    queriedMib_ = mib;
    queriedReply_ = std::move(reply);
    return 0;
  }
  if (*oldlenp < reply->size()) {
    std::memcpy(oldp, reply->data(), *oldlenp);
    return failWith(ENOMEM);
  }
  std::memcpy(oldp, reply->data(), reply->size());
  *oldlenp = reply->size();
  return 0;
}

int LinuxKernelParameterService::sysctlnametomib(const char* name, int* mibp, size_t* sizep) {
  queriedReply_.reset();
  if (name == nullptr || mibp == nullptr || sizep == nullptr) {
    return failWith(EINVAL);
  }
  const auto& parameters = knownParameters();
  const auto parameter = std::find_if(parameters.begin(), parameters.end(),
                                      [&](const Parameter& p) { return p.name == name; });
  if (parameter == parameters.end()) {
    return failWith(ENOENT);
  }
  if (*sizep < parameter->mib.size()) {
    return failWith(ENOMEM);
  }
  std::copy(parameter->mib.begin(), parameter->mib.end(), mibp);
  *sizep = parameter->mib.size();
  return 0;
}

}  // namespace tarq::SystemValuesUtility
