// The kernel's and the machine's names, for the Linux kernel-parameter service: what uname
// reports, the kernel's version line, its revision code and the machine's model.
#include <sys/utsname.h>

#include <algorithm>
#include <array>

#include "system/kernel/machine_sources_linux.h"

namespace tarq::SystemValuesUtility {

KernelIdentity KernelIdentity::current() {
  struct utsname names {};
  if (::uname(&names) != 0) {
    return {};
  }
  return {names.sysname, names.nodename, names.release, names.version, names.machine};
}

Reply osTypeReply(const MachineSources& machine) {
  return textReply(machine.identity().sysname);
}

Reply osReleaseReply(const MachineSources& machine) {
  return textReply(machine.identity().release);
}

Reply osVersionReply(const MachineSources& machine) {
  return textReply(machine.identity().version);
}

Reply hostNameReply(const MachineSources& machine) {
  return textReply(machine.identity().nodename);
}

Reply machineReply(const MachineSources& machine) {
  return textReply(machine.identity().machine);
}

// Linux's own revision code, major << 16 | minor << 8 | patch, from the release.
Reply osRevisionReply(const MachineSources& machine) {
  const std::array<uint64_t, 3> numbers = releaseNumbers(machine.identity().release);
  const uint64_t code = (std::min<uint64_t>(numbers[0], 0x7fff) << 16) |
                        (std::min<uint64_t>(numbers[1], 0xff) << 8) |
                        std::min<uint64_t>(numbers[2], 0xff);
  return checkedIntegerReply<int32_t>(code);
}

Reply kernelVersionReply(const MachineSources& machine) {
  const auto version = machine.readTrimmed("/proc/version");
  return version ? textReply(*version) : std::nullopt;
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

}  // namespace tarq::SystemValuesUtility
