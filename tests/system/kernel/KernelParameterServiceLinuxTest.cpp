#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <map>
#include <tuple>
#include <utility>

#include "support/FixtureMachine.h"
#include "support/Tables.h"
#include "system/kernel/KernelParameters.h"
#include "system/kernel/kernel_parameter_service_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

namespace svu = SystemValuesUtility;

using testing::FixtureMachine;
using testing::printed;

auto factsOf(KernelParameterCalls& c) {
  return std::tuple(svu::memorySize(c), svu::cpuCount(c), svu::activeCPUCount(c),
                    svu::l2CacheSize(c), svu::l3CacheSize(c), svu::cpuFrequency(c),
                    svu::cpu64BitCapable(c), svu::cpuBrandString(c), svu::machine(c),
                    svu::model(c));
}
using Facts = decltype(factsOf(std::declval<KernelParameterCalls&>()));

// CPUID leaves as recorded on real processors, asked only on x86 for a cache level sysfs lacks.
const std::map<std::string_view, std::map<std::pair<uint32_t, uint32_t>, CpuidRegisters>>
    kProcessors{
        // In a virtual machine: leaf 4 all zeros, L2 1 MiB and L3 1016 × 512 KiB.
        {"AMD EPYC",
         {{{4, 0}, {}}, {{0x80000006, 0}, {0x40802040, 0x60804040, 0x04006140, 0x0fe09140}}}},
        {"AMD without an L3", {{{0x80000006, 0}, {0, 0, 0x08006140, 0}}}},
        // Core i7-8550U: leaf 4 lists L1d, L1i, L2 and L3; its leaf 0x80000006 has no L3 field.
        {"Intel",
         {{{4, 0}, {0x1c004121, 0x01c0003f, 0x0000003f, 0}},
          {{4, 1}, {0x1c004122, 0x01c0003f, 0x0000003f, 0}},
          {{4, 2}, {0x1c004143, 0x00c0003f, 0x000003ff, 0}},
          {{4, 3}, {0x1c03c163, 0x03c0003f, 0x00001fff, 6}},
          {{4, 4}, {0, 0, 0, 0}},
          {{0x80000006, 0}, {0, 0, 0x01006040, 0}}}},
        // Split level-2 caches only: the data cache stands for the level.
        {"split level 2",
         {{{4, 0}, {0x00000042, 0x01c0003f, 0x000001ff, 0}},    // instructions, 256 KiB
          {{4, 1}, {0x00000041, 0x01c0003f, 0x000003ff, 0}}}},  // data, 512 KiB
        {"none", {}}};

TEST(LinuxKernelParameterServiceTest, ServesEachFixtureMachine) {
  const std::nullopt_t none = std::nullopt;
  const struct {
    std::string_view fixture, processor;
    Facts facts;  // its machine type is also uname's
  } machines[] = {
      // Nine 2 GiB memory blocks, one offline, not MemTotal; the base frequency, not the turbo.
      {"laptop",
       "AMD EPYC",
       {uint64_t{18} << 30, 8, 8, 262144, 8388608, 1800000000, 1,
        "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz", "x86_64", "20KH006MGE"}},
      // No memory blocks: MemTotal. No cpufreq and no "@ ..GHz": the current "cpu MHz".
      {"vm",
       "AMD EPYC",
       {uint64_t{4028108} * 1024, 2, 2, 4194304, 16777216, 2194842000, 1,
        "Intel Xeon Processor (Skylake, IBRS)", "x86_64", "Standard PC (Q35 + ICH9, 2009)"}},
      // No L3, and no CPUID off x86; the core's name from its part number.
      {"arm-board",
       "AMD EPYC",
       {uint64_t{4} << 30, 4, 4, 1048576, none, none, 1, "ARM Cortex-A72", "aarch64",
        "Raspberry Pi 4 Model B Rev 1.1"}},
      // An empty root: uname and the processor's caches; x86_64 is 64-bit capable.
      {"", "AMD EPYC", {none, none, none, 1048576, 532676608, none, 1, none, "x86_64", none}},
      {"", "Intel", {none, none, none, 262144, 8388608, none, 1, none, "x86_64", none}},
      {"", "split level 2", {none, none, none, 524288, none, none, 1, none, "x86_64", none}},
      {"", "AMD without an L3", {none, none, none, 2097152, none, none, 1, none, "x86_64", none}},
      {"", "none", {none, none, none, none, none, none, 1, none, "x86_64", none}},
  };
  for (const auto& m : machines) {
    SCOPED_TRACE(std::string(m.fixture) + " on " + std::string(m.processor));
    const auto& leaves = kProcessors.at(m.processor);
    FixtureMachine machine(m.fixture, *std::get<8>(m.facts),
                           [&](uint32_t leaf, uint32_t subleaf) -> std::optional<CpuidRegisters> {
                             const auto found = leaves.find({leaf, subleaf});
                             return found == leaves.end() ? std::nullopt
                                                          : std::optional(found->second);
                           });
    EXPECT_EQ(factsOf(machine.service()), m.facts);
  }
}

// Each step changes one file of an i686 laptop (no text: removes it), building on the steps
// before; a malformed last source is no value rather than a made-up one.
TEST(LinuxKernelParameterServiceTest, FactsFallBackSourceBySource) {
  FixtureMachine machine("laptop", "i686");
  const std::string cpufreq = "sys/devices/system/cpu/cpu0/cpufreq/";
  const std::string cpuinfo = "proc/cpuinfo";
  using Read = std::string (*)(KernelParameterCalls&);
  const Read frequency = printed<svu::cpuFrequency>, brand = printed<svu::cpuBrandString>,
             bits64 = printed<svu::cpu64BitCapable>;
  const struct {
    std::string path;
    std::optional<std::string> text;
    Read read;
    std::string expected;
  } steps[] = {
      {cpufreq + "base_frequency", {}, frequency, "(4000000000)"},
      {cpufreq + "cpuinfo_max_freq", "0\n", frequency, "(1800000000)"},  // zero: "@ 1.80GHz"
      {cpuinfo, "model name\t: Intel(R) Pentium(R) 4 CPU @ 800MHz\n", frequency, "(800000000)"},
      {cpuinfo, "model name\t: Some CPU\ncpu MHz\t\t: 2596.150\n", frequency, "(2596150000)"},
      {cpuinfo, "model name\t: Some CPU\n", frequency, "(nullopt)"},
      // Without a readable block size: MemTotal.
      {"sys/devices/system/memory/block_size_bytes", "zz\n", printed<svu::memorySize>,
       "(16650104832)"},
      {"proc/meminfo", "MemFree: 100 kB\n", printed<svu::memorySize>, "(nullopt)"},
      // The long-mode flag; without flags, the machine type (as on the empty root above).
      {cpuinfo, "processor\t: 0\nflags\t\t: fpu vme pae sse2 nx\n", bits64, "(0)"},
      {cpuinfo, "processor\t: 0\nflags\t\t: fpu lm\n", bits64, "(1)"},
      // The brand from the closest field other architectures have.
      {cpuinfo, "Processor\t: ARMv7 Processor rev 4 (v7l)\nHardware\t: BCM2835\n", brand,
       "(\"ARMv7 Processor rev 4 (v7l)\")"},
      {cpuinfo, "CPU implementer\t: 0x41\nCPU part\t: 0xd99\n", brand,
       "(\"CPU implementer 0x41 part 0xd99\")"},
      // Another implementer's part numbers are not ARM's own.
      {cpuinfo, "CPU implementer\t: 0x61\nCPU part\t: 0xd08\n", brand,
       "(\"CPU implementer 0x61 part 0xd08\")"},
      {cpuinfo, "processor\t: 0\nHardware\t: Allwinner sun8i Family\n", brand,
       "(\"Allwinner sun8i Family\")"},
      {cpuinfo, "processor\t: 0\nuarch\t\t: sifive,u74-mc\n", brand, "(\"sifive,u74-mc\")"},
      {cpuinfo, "processor\t: 0\nmodel name\t:\n", brand, "(nullopt)"},
      {cpuinfo, "", brand, "(nullopt)"},
      {"sys/devices/system/cpu/cpu0/cache/index3/size", "4194304K\n", printed<svu::l3CacheSize>,
       "(nullopt)"},  // over 32 bits
      {"sys/devices/system/cpu/online", "3-1\n", printed<svu::activeCPUCount>, "(nullopt)"},
      {cpuinfo, std::string(100000, '\xff') + "\n:::\n\n\ncpu MHz : 12..5\n", frequency,
       "(nullopt)"},
      {cpuinfo, "", printed<svu::cpuCount>, "(8)"},  // the cpuN folders still count
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.path + " " + step.expected);
    if (step.text) {
      machine.root().write(step.path, *step.text);
    } else {
      machine.root().remove(step.path);
    }
    EXPECT_EQ(step.read(machine.service()), step.expected);
  }
}

std::string failed(int error) {
  return "errno " + std::to_string(error);
}

// The C-call protocol the kernel-parameter layer relies on; the data read right after a size
// query takes its reply rather than reading all memory blocks again.
TEST(LinuxKernelParameterServiceTest, AnswersLikeTheKernel) {
  FixtureMachine machine("laptop");
  auto& service = machine.service();
  EXPECT_EQ(svu::osType(service), "Linux");
  EXPECT_EQ(svu::osRelease(service), "6.1.0-18-amd64");
  EXPECT_EQ(svu::hostName(service), "testhost");
  EXPECT_EQ(svu::osVersion(service), "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)");
  EXPECT_EQ(svu::kernelVersion(service),
            "Linux version 6.1.0-18-amd64 (debian-kernel@lists.debian.org) (gcc-12 (Debian "
            "12.2.0-14) 12.2.0) #1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)");
  EXPECT_EQ(svu::osRevision(service), (6 << 16) | (1 << 8) | 0);

  const auto read = [&](std::vector<int> mib, size_t bufferSize, bool writes = false) {
    std::string buffer(bufferSize, '\0');
    size_t size = bufferSize;
    int value = 1;
    errno = 0;
    if (service.sysctl(mib.data(), static_cast<u_int>(mib.size()),
                       bufferSize == 0 ? nullptr : buffer.data(), &size, writes ? &value : nullptr,
                       writes ? sizeof value : 0) != 0) {
      return failed(errno);
    }
    return std::to_string(size) + " " + buffer.substr(0, size);
  };
  const std::vector<int> hwMachine{6, 1};
  EXPECT_EQ(read(hwMachine, 0), "7 ") << "the size of x86_64 and its NUL";
  EXPECT_EQ(read(hwMachine, 3), failed(ENOMEM));
  EXPECT_EQ(read(hwMachine, 16), std::string("7 x86_64\0", 9));
  EXPECT_EQ(read(hwMachine, 0, true), failed(EPERM));
  EXPECT_EQ(read({6, 9999}, 0), failed(ENOENT));
  EXPECT_EQ(read(std::vector<int>(13), 0), failed(EINVAL));
  EXPECT_EQ(read({}, 0), failed(EINVAL));
  EXPECT_EQ(read({6, 24}, 0), "8 ");
  machine.root().remove("sys/devices/system/memory");  // would fall back to MemTotal
  EXPECT_EQ(read({6, 24}, 8), std::string("8 \0\0\0\x80\4\0\0\0", 10)) << "18 GiB";
  EXPECT_EQ(read({6, 24}, 8), std::string("8 \0\x70\x6c\xe0\3\0\0\0", 10)) << "MemTotal";
  // The reply a size query computed serves only a read of the same parameter.
  EXPECT_EQ(read({6, 24}, 0), "8 ");
  EXPECT_EQ(read(hwMachine, 16), std::string("7 x86_64\0", 9));

  const auto translate = [&](const char* name, size_t levels) {
    std::array<int, 12> mib{};
    errno = 0;
    if (service.sysctlnametomib(name, mib.data(), &levels) != 0) {
      return failed(errno);
    }
    return std::to_string(levels) + ": " + std::to_string(mib[0]) + "." + std::to_string(mib[1]);
  };
  EXPECT_EQ(translate("hw.memsize", 12), "2: 6.24");
  EXPECT_EQ(translate("hw.memsize", 1), failed(ENOMEM));
  EXPECT_EQ(translate("hw.nosuchthing", 12), failed(ENOENT));
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
