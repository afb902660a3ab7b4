#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "support/CapturedDiagnostics.h"
#include "support/FakeDarwinKernel.h"
#include "support/Tables.h"
#include "system/kernel/KernelParameters.h"

namespace tarq::SystemValuesUtility {
namespace {

namespace svu = SystemValuesUtility;

using namespace std::string_view_literals;
using testing::bytesOf;
using testing::FakeKernelParameterCalls;
using testing::printed;

// What a read gave, or the error it threw.
template <typename Read>
std::string outcome(Read read) {
  try {
    return read();
  } catch (const Error& error) {
    constexpr const char* kCases[] = {"posix error", "unknown error", "malformed UTF-8",
                                      "invalid size"};
    const int number = error.posixErrorNumber();
    return kCases[static_cast<int>(error.errorCase())] +
           (number != 0 ? " " + std::to_string(number) : "");
  }
}

// Only a failed size query with a POSIX error number writes it to the diagnostics; a short data
// read keeps the queried size, zero-filled.
TEST(KernelParametersTest, RepliesAsTypedValuesTextOrErrors) {
  FakeKernelParameterCalls calls;
  const auto u64 = [&] { return std::to_string(svu::sysctlValue<uint64_t>(Mib{6}, calls)); };
  const auto i32 = [&] { return std::to_string(svu::sysctlValue<int32_t>(Mib{6}, calls)); };
  const auto text = [&] { return svu::sysctlString(Mib{6}, calls); };
  const auto data = [&] {
    const std::vector<int8_t> reply = svu::sysctlData(Mib{6}, calls);
    return std::string(reply.begin(), reply.end());
  };
  const std::vector<int8_t> model = bytesOf("MacBookPro15,1"sv);
  const struct {
    std::vector<int8_t> reply;
    std::function<std::string()> read;
    std::string expected;
    std::optional<int> sizeQueryErrno = {}, dataReadErrno = {};
    std::optional<size_t> dataReadSize = {};
    std::string diagnostics = "";
  } cases[] = {
      {bytesOf(uint64_t{17179869184}), u64, "17179869184"},
      {bytesOf(int32_t{-3}), i32, "-3"},
      {bytesOf(int32_t{8}), u64, "invalid size"},
      {bytesOf(uint64_t{8}), i32, "invalid size"},
      {{}, i32, "invalid size"},
      {{}, text, ""},
      {bytesOf("Dar\0win\0"sv), text, "Dar"},
      {bytesOf("  Caf\xC3\xA9 "sv), text, "  Caf\xC3\xA9 "},
      {bytesOf("\xFF\xFE"sv), text, "malformed UTF-8"},
      {model, data, "posix error 12", ENOMEM, {}, {}, "12\n"},
      {model, data, "unknown error", 0},
      {model, data, "unknown error", 100000},
      {model, data, "posix error 12", {}, ENOMEM},  // the reply grew between the two calls
      {model, data, std::string("Mac\0\0\0\0\0\0\0\0\0\0\0", 14), {}, {}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    const testing::CapturedDiagnostics diagnostics;
    calls.replies[{6}] = c.reply;
    calls.sizeQueryErrno = c.sizeQueryErrno;
    calls.dataReadErrno = c.dataReadErrno;
    calls.dataReadSize = c.dataReadSize;
    EXPECT_EQ(outcome(c.read), c.expected);
    EXPECT_EQ(diagnostics.text(), c.diagnostics);
  }
  const testing::CapturedDiagnostics diagnostics;
  EXPECT_EQ(
      outcome([&] { return ::testing::PrintToString(svu::sysctlMIB("hw.nosuchthing", calls)); }),
      "posix error 2");
  EXPECT_EQ(diagnostics.text(), "");
}

// The identifiers as Apple's sysctl header has them, the signed ones told by a top bit set.
// RealMacsTest reads the rest, those the checks ask, from real Macs' answers.
TEST(KernelParametersTest, EachAccessorReadsItsOwnParameterWithItsOwnType) {
  FakeKernelParameterCalls calls;
  const testing::CapturedDiagnostics quiet;
  calls.names = {{"machdep.cpu.brand_string", {100, 3, 4}}};
  const std::vector<int8_t> i32 = bytesOf(int32_t{-2});
  const std::vector<int8_t> text = bytesOf("text\0"sv);
  const struct {
    Mib mib;
    std::vector<int8_t> reply;
    std::string (*read)(KernelParameterCalls&);
    std::string expected;
  } cases[] = {
      {{1, 10}, text, printed<svu::hostName>, "(\"text\")"},
      {{6, 2}, text, printed<svu::model>, "(\"text\")"},
      {{6, 25}, i32, printed<svu::activeCPUCount>, "(-2)"},
      {{1, 2}, text, printed<svu::osRelease>, "(\"text\")"},
      {{1, 1}, text, printed<svu::osType>, "(\"text\")"},
      {{1, 65}, text, printed<svu::osVersion>, "(\"text\")"},
      {{1, 4}, text, printed<svu::kernelVersion>, "(\"text\")"},
      {{1, 3}, i32, printed<svu::osRevision>, "(-2)"},
      {{100, 3, 4}, text, printed<svu::cpuBrandString>, "(\"text\")"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.mib));
    calls.replies.clear();
    EXPECT_EQ(c.read(calls), "(nullopt)");
    calls.replies[c.mib] = c.reply;
    EXPECT_EQ(c.read(calls), c.expected);
  }
  // Names are translated afresh each read, and the size is asked before the data.
  EXPECT_EQ(calls.nameCalls, 2);
  EXPECT_EQ(calls.sysctlCalls, 9 * (1 + 2));
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
