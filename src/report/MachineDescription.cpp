#include "report/MachineDescription.h"

#include "system/kernel/KernelParameters.h"

namespace tarq {

MachineDescription describeThisMachine() {
  namespace system = SystemValuesUtility;
  MachineDescription machine;
  machine.hostName = system::hostName();
  machine.modelIdentifier = system::model();
  machine.serialNumber = readableSerialNumber();
  machine.operatingSystemName = operatingSystemName();
  machine.operatingSystemVersion = operatingSystemVersionNumber();
  // kern.osversion: the build on macOS ("23C64"), the kernel's build line on Linux.
  machine.operatingSystemBuild = system::osVersion();
  machine.architecture = system::machine();
  return machine;
}

}  // namespace tarq
