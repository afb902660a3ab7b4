#include "system/kernel/LinuxKernelParameterService.h"

#include <sys/utsname.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include "system/kernel/KernelParameters.h"
#include "system/kernel/ProcSysText.h"
#include "system/text/FileReading.h"
#include "system/text/TextParsing.h"

namespace tarq {

KernelIdentity KernelIdentity::current() {
  struct utsname names {};
  if (::uname(&names) != 0) {
    return {};
  }
  return {names.sysname, names.nodename, names.release, names.version, names.machine};
}

namespace {

using SystemValuesUtility::Mib;

// A parameter's reply bytes, exactly as the kernel would hand them over; no value when this
// machine does not have the parameter.
using Reply = std::optional<std::string>;

Reply textReply(std::string_view text) {
  std::string reply(text);
  reply.push_back('\0');
  return reply;
}

template <typename T>
Reply integerReply(T value) {
  std::string reply(sizeof(T), '\0');
  std::memcpy(reply.data(), &value, sizeof(T));
  return reply;
}

// A count or size as a reply of type T; no value when it has none or does not fit in T.
template <typename T>
Reply checkedIntegerReply(const std::optional<uint64_t>& value) {
  if (!value || *value > static_cast<uint64_t>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
  return integerReply(static_cast<T>(*value));
}

// The facts of one machine, read from the files under a root directory.
class MachineSources {
 public:
  MachineSources(std::string_view rootDirectory, KernelIdentity identity, const CpuidQuery& cpuid)
      : root_(rootDirectory), identity_(std::move(identity)), cpuid_(cpuid) {
    while (!root_.empty() && root_.back() == '/') {
      root_.pop_back();
    }
  }

  const KernelIdentity& identity() const { return identity_; }
  const CpuidQuery& cpuid() const { return cpuid_; }
  std::string path(std::string_view absolutePath) const {
    return root_ + std::string(absolutePath);
  }
  std::optional<std::string> read(std::string_view absolutePath) const {
    return readWholeFile(path(absolutePath));
  }
  std::optional<std::string> readTrimmed(std::string_view absolutePath) const {
    auto text = read(absolutePath);
    if (text) {
      text = std::string(trimWhitespace(*text));
    }
    return text;
  }
  std::string cpuinfo() const { return read("/proc/cpuinfo").value_or(std::string{}); }

 private:
  std::string root_;
  KernelIdentity identity_;
  const CpuidQuery& cpuid_;
};

constexpr std::string_view kCpuDirectory = "/sys/devices/system/cpu";
constexpr std::string_view kMemoryDirectory = "/sys/devices/system/memory";

// Installed memory: the memory blocks times the block size. A block taken offline is still
// installed, as macOS counts it, and listing the blocks costs one directory read where asking
// each for its state would cost hundreds of file reads. /proc/meminfo's MemTotal leaves out what
// the kernel reserves, so it is only the fallback where /sys has no blocks.
Reply memorySizeReply(const MachineSources& machine) {
  const std::string directory = machine.path(kMemoryDirectory);
  const auto blockSizeText = readWholeFile(directory + "/block_size_bytes");
  const auto blockSize =
      blockSizeText ? parseUnsignedHex(trimWhitespace(*blockSizeText)) : std::nullopt;
  if (blockSize && *blockSize > 0) {
    const std::vector<std::string> entries = directoryEntries(directory);
    const auto blocks = static_cast<uint64_t>(
        std::count_if(entries.begin(), entries.end(),
                      [](const std::string& entry) { return isNumberedEntry(entry, "memory"); }));
    uint64_t bytes = 0;
    if (blocks > 0 && !__builtin_mul_overflow(blocks, *blockSize, &bytes)) {
      return integerReply(bytes);
    }
  }

  const auto meminfo = machine.read("/proc/meminfo");
  const auto memTotal = meminfo ? colonField(*meminfo, "MemTotal") : std::nullopt;
  if (!memTotal || !memTotal->ends_with(" kB")) {
    return std::nullopt;
  }
  const auto kibibytes =
      parseUnsignedDecimal(trimWhitespace(memTotal->substr(0, memTotal->size() - 3)));
  uint64_t bytes = 0;
  if (!kibibytes || __builtin_mul_overflow(*kibibytes, uint64_t{1024}, &bytes)) {
    return std::nullopt;
  }
  return integerReply(bytes);
}

// Configured processors: one cpuN directory each, as glibc counts them.
Reply cpuCountReply(const MachineSources& machine) {
  uint64_t count = 0;
  for (const std::string& entry : directoryEntries(machine.path(kCpuDirectory))) {
    count += isNumberedEntry(entry, "cpu") ? 1u : 0u;
  }
  if (count == 0) {
    count = colonFieldValues(machine.cpuinfo(), "processor").size();
  }
  return count == 0 ? std::nullopt : checkedIntegerReply<int32_t>(count);
}

// Online processors; /proc/cpuinfo lists only online ones, so it stands in for the list.
Reply activeCpuCountReply(const MachineSources& machine) {
  const auto list = machine.read(std::string(kCpuDirectory) + "/online");
  auto count = list ? countInCpuList(*list) : std::nullopt;
  if (!count) {
    const std::size_t listed = colonFieldValues(machine.cpuinfo(), "processor").size();
    count = listed == 0 ? std::nullopt : std::optional<uint64_t>(listed);
  }
  return checkedIntegerReply<int32_t>(count);
}

// The size of the first processor's cache of the given level: the unified cache, or the data
// cache where instructions and data are split. A level the machine lacks is no value.
std::optional<uint64_t> sysfsCacheSize(const MachineSources& machine, uint64_t level) {
  const std::string directory = machine.path(std::string(kCpuDirectory) + "/cpu0/cache");
  std::vector<std::string> entries = directoryEntries(directory);
  std::sort(entries.begin(), entries.end());
  std::optional<uint64_t> dataCache;
  for (const std::string& entry : entries) {
    if (!isNumberedEntry(entry, "index")) {
      continue;
    }
    // The type and size only of a cache of this level: under /sys each read costs.
    const std::string index = directory + "/" + entry;
    const auto levelText = readWholeFile(index + "/level");
    if (!levelText || parseUnsignedDecimal(trimWhitespace(*levelText)) != level) {
      continue;
    }
    const auto type = readWholeFile(index + "/type");
    const std::string_view cacheType = type ? trimWhitespace(*type) : std::string_view();
    if (cacheType != "Unified" && (cacheType != "Data" || dataCache)) {
      continue;
    }
    const auto size = readWholeFile(index + "/size");
    if (!size) {
      continue;
    }
    if (cacheType == "Unified") {
      return parseCacheSize(trimWhitespace(*size));
    }
    dataCache = parseCacheSize(trimWhitespace(*size));
  }
  return dataCache;
}

bool isX86(std::string_view machineType) {
  return machineType == "x86_64" || machineType == "amd64" ||
         (machineType.size() == 4 && machineType[0] == 'i' && machineType.substr(2) == "86");
}

// The cache size sysfs gives, else, on x86, the one the processor reports.
std::optional<uint64_t> cacheSize(const MachineSources& machine, unsigned level) {
  if (const auto size = sysfsCacheSize(machine, level)) {
    return size;
  }
  return isX86(machine.identity().machine) ? cpuidCacheSize(machine.cpuid(), level) : std::nullopt;
}

Reply l2CacheSizeReply(const MachineSources& machine) {
  return checkedIntegerReply<uint32_t>(cacheSize(machine, 2));
}

Reply l3CacheSizeReply(const MachineSources& machine) {
  return checkedIntegerReply<uint32_t>(cacheSize(machine, 3));
}

// The nominal frequency in hertz, from the most to the least reliable source. "cpu MHz" is the
// current clock of the first processor, which comes last for that reason.
Reply cpuFrequencyReply(const MachineSources& machine) {
  for (const std::string_view file : {"base_frequency", "cpuinfo_max_freq"}) {
    const auto text =
        machine.read(std::string(kCpuDirectory) + "/cpu0/cpufreq/" + std::string(file));
    const auto kilohertz = text ? parseUnsignedDecimal(trimWhitespace(*text)) : std::nullopt;
    uint64_t hertz = 0;
    if (kilohertz && *kilohertz > 0 && !__builtin_mul_overflow(*kilohertz, 1000u, &hertz)) {
      return checkedIntegerReply<int64_t>(hertz);
    }
  }
  const std::string cpuinfo = machine.cpuinfo();
  if (const auto modelName = colonField(cpuinfo, "model name")) {
    const auto hertz = frequencyInModelName(*modelName);
    if (hertz && *hertz > 0) {
      return checkedIntegerReply<int64_t>(hertz);
    }
  }
  if (const auto megahertz = colonField(cpuinfo, "cpu MHz")) {
    const auto hertz = parseScaledDecimal(*megahertz, 1'000'000);
    if (hertz && *hertz > 0) {
      return checkedIntegerReply<int64_t>(hertz);
    }
  }
  return std::nullopt;
}

// 1 on a 64-bit processor: the long-mode flag on x86, else a 64-bit machine type.
Reply cpu64BitCapableReply(const MachineSources& machine) {
  const std::string cpuinfo = machine.cpuinfo();
  if (const auto flags = colonField(cpuinfo, "flags")) {
    const std::string padded = " " + std::string(*flags) + " ";
    return integerReply<uint32_t>(padded.find(" lm ") != std::string::npos ? 1u : 0u);
  }
  const std::string& machineType = machine.identity().machine;
  const bool is64Bit = machineType.find("64") != std::string::npos || machineType == "s390x";
  return integerReply<uint32_t>(is64Bit ? 1u : 0u);
}

// The processor's marketing name: "model name", or the closest field other architectures have.
Reply cpuBrandStringReply(const MachineSources& machine) {
  const std::string cpuinfo = machine.cpuinfo();
  for (const std::string_view key : {"model name", "Processor", "cpu model", "uarch"}) {
    if (const auto value = colonField(cpuinfo, key)) {
      return textReply(*value);
    }
  }
  if (const auto core = armCoreName(cpuinfo)) {
    return textReply(*core);
  }
  if (const auto hardware = colonField(cpuinfo, "Hardware")) {
    return textReply(*hardware);
  }
  return std::nullopt;
}

// The product name from DMI, or the device tree's model on boards without DMI.
Reply modelReply(const MachineSources& machine) {
  if (const auto product = machine.readTrimmed("/sys/class/dmi/id/product_name");
      product && !product->empty()) {
    return textReply(*product);
  }
  if (auto model = machine.read("/proc/device-tree/model")) {
    model->erase(std::find(model->begin(), model->end(), '\0'), model->end());
    const std::string_view trimmed = trimWhitespace(*model);
    if (!trimmed.empty()) {
      return textReply(trimmed);
    }
  }
  return std::nullopt;
}

Reply kernelVersionReply(const MachineSources& machine) {
  const auto version = machine.readTrimmed("/proc/version");
  return version ? textReply(*version) : std::nullopt;
}

// Linux's own revision code, major << 16 | minor << 8 | patch, from the release.
Reply osRevisionReply(const MachineSources& machine) {
  const std::array<uint64_t, 3> numbers = releaseNumbers(machine.identity().release);
  const uint64_t code = (std::min<uint64_t>(numbers[0], 0x7fff) << 16) |
                        (std::min<uint64_t>(numbers[1], 0xff) << 8) |
                        std::min<uint64_t>(numbers[2], 0xff);
  return checkedIntegerReply<int32_t>(code);
}

struct Parameter {
  std::string_view name;
  Mib mib;
  Reply (*reply)(const MachineSources&);
};

// The parameters the service knows. The three read by name have no fixed number on macOS
// (the kernel assigns one at start); the numbers here stand in for those.
const std::vector<Parameter>& knownParameters() {
  static const std::vector<Parameter> parameters{
      {"kern.ostype", KernelParameterMib::osType,
       [](const MachineSources& m) { return textReply(m.identity().sysname); }},
      {"kern.osrelease", KernelParameterMib::osRelease,
       [](const MachineSources& m) { return textReply(m.identity().release); }},
      {"kern.osrevision", KernelParameterMib::osRevision, osRevisionReply},
      {"kern.version", KernelParameterMib::kernelVersion, kernelVersionReply},
      {"kern.hostname", KernelParameterMib::hostName,
       [](const MachineSources& m) { return textReply(m.identity().nodename); }},
      {"kern.osversion", KernelParameterMib::osVersion,
       [](const MachineSources& m) { return textReply(m.identity().version); }},
      {"hw.machine", KernelParameterMib::machine,
       [](const MachineSources& m) { return textReply(m.identity().machine); }},
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

}  // namespace tarq
