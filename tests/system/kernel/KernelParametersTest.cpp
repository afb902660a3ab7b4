#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>

#include "system/Diagnostics.h"
#include "system/kernel/KernelParameters.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;
using svu::Error;
using svu::Mib;

using namespace std::string_view_literals;

std::vector<int8_t> bytesOf(std::string_view text) {
  return std::vector<int8_t>(text.begin(), text.end());
}

template <typename T>
std::vector<int8_t> bytesOf(T value) {
  std::vector<int8_t> bytes(sizeof(T));
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

// What a read gave, or the error it threw.
template <typename Read>
std::string outcome(Read read) {
  try {
    return read();
  } catch (const Error& error) {
    switch (error.errorCase()) {
      case Error::Case::posixError:
        return "posix error " + std::to_string(error.posixErrorNumber());
      case Error::Case::unknown:
        return "unknown error";
      case Error::Case::malformedUTF8:
        return "malformed UTF-8";
      case Error::Case::invalidSize:
        return "invalid size";
    }
  }
  return "?";
}

std::string show(const std::optional<std::string>& value) {
  return value ? *value : "no value";
}
template <typename T>
std::string show(const std::optional<T>& value) {
  return value ? std::to_string(*value) : "no value";
}

// A kernel-parameter service with made-up parameters and switchable failures.
class FakeKernelParameterCalls final : public KernelParameterCalls {
 public:
  std::map<Mib, std::vector<int8_t>> replies;
  std::map<std::string, Mib, std::less<>> names;
  // When set, the size query (or the data read) fails and leaves this errno.
  std::optional<int> sizeQueryErrno, dataReadErrno;
  // When set, the data read reports only this many bytes.
  std::optional<size_t> dataReadSize;
  int sysctlCalls = 0;
  int nameCalls = 0;

  int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
             size_t newlen) override {
    ++sysctlCalls;
    EXPECT_EQ(newp, nullptr);
    EXPECT_EQ(newlen, 0u);
    const std::optional<int> failure = oldp == nullptr ? sizeQueryErrno : dataReadErrno;
    const auto reply = replies.find(Mib(name, name + namelen));
    if (failure || reply == replies.end()) {
      errno = failure.value_or(ENOENT);
      return -1;
    }
    *oldlenp = oldp == nullptr
                   ? reply->second.size()
                   : std::min({*oldlenp, reply->second.size(), dataReadSize.value_or(SIZE_MAX)});
    if (oldp != nullptr) {
      std::memcpy(oldp, reply->second.data(), *oldlenp);
    }
    return 0;
  }

  int sysctlnametomib(const char* name, int* mibp, size_t* sizep) override {
    ++nameCalls;
    const auto found = names.find(name);
    if (found == names.end()) {
      errno = ENOENT;
      return -1;
    }
    std::copy(found->second.begin(), found->second.end(), mibp);
    *sizep = found->second.size();
    return 0;
  }
};

class KernelParametersTest : public ::testing::Test {
 protected:
  void SetUp() override { setDiagnosticStream(diagnostics); }
  void TearDown() override { setDiagnosticStream(std::cout); }

  FakeKernelParameterCalls calls;
  std::ostringstream diagnostics;
};

// A typed read takes a reply of exactly its width, in native byte order; text ends at the first
// NUL or the end of the reply and must be UTF-8.
TEST_F(KernelParametersTest, RepliesAsTypedValuesAndText) {
  const auto u64 = [&] { return std::to_string(svu::sysctlValue<uint64_t>(Mib{6}, calls)); };
  const auto i32 = [&] { return std::to_string(svu::sysctlValue<int32_t>(Mib{6}, calls)); };
  const auto text = [&] { return svu::sysctlString(Mib{6}, calls); };
  const auto size = [&] { return std::to_string(svu::sysctlData(Mib{6}, calls).size()); };
  const struct {
    std::vector<int8_t> reply;
    std::function<std::string()> read;
    std::string expected;
  } cases[] = {
      {bytesOf(uint64_t{17179869184}), u64, "17179869184"},
      {bytesOf(int32_t{-3}), i32, "-3"},
      {bytesOf(int32_t{8}), u64, "invalid size"},
      {bytesOf(uint64_t{8}), i32, "invalid size"},
      {{}, i32, "invalid size"},
      {{}, size, "0"},
      {{}, text, ""},
      {bytesOf("Darwin\0"sv), text, "Darwin"},
      {bytesOf("Darwin"sv), text, "Darwin"},
      {bytesOf("Dar\0win\0"sv), text, "Dar"},
      {bytesOf("\0"sv), text, ""},
      {bytesOf("  Intel(R) Core(TM) i7 "sv), text, "  Intel(R) Core(TM) i7 "},
      {bytesOf("Caf\xC3\xA9"sv), text, "Caf\xC3\xA9"},
      {bytesOf("\xFF\xFE"sv), text, "malformed UTF-8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    calls.replies[{6}] = c.reply;
    EXPECT_EQ(outcome(c.read), c.expected);
  }
}

TEST_F(KernelParametersTest, ShorterDataReadKeepsTheQueriedSizeWithAZeroTail) {
  calls.replies[{6, 2}] = bytesOf("MacBookPro15,1"sv);
  calls.dataReadSize = 3;
  const std::vector<int8_t> reply = svu::sysctlData(Mib{6, 2}, calls);
  EXPECT_EQ(std::string(reply.begin(), reply.end()), std::string("Mac\0\0\0\0\0\0\0\0\0\0\0", 14));
}

// Only a failed size query with a POSIX error number writes that number to the diagnostics.
TEST_F(KernelParametersTest, FailuresAreErrorsAndOnlyAFailedSizeQueryIsWritten) {
  const struct {
    std::optional<int> sizeQueryErrno, dataReadErrno;
    std::string error, diagnostics;
  } cases[] = {
      {ENOMEM, std::nullopt, "posix error 12", "12\n"},
      {0, std::nullopt, "unknown error", ""},
      {100000, std::nullopt, "unknown error", ""},
      // The reply grew between the two calls.
      {std::nullopt, ENOMEM, "posix error 12", ""},
  };
  calls.replies[{6, 24}] = bytesOf(uint64_t{1});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error + " " + c.diagnostics);
    diagnostics.str("");
    calls.sizeQueryErrno = c.sizeQueryErrno;
    calls.dataReadErrno = c.dataReadErrno;
    EXPECT_EQ(outcome([&] {
                return std::to_string(svu::sysctlData(Mib{6, 24}, calls).size());
              }),
              c.error);
    EXPECT_EQ(diagnostics.str(), c.diagnostics);
  }
  EXPECT_EQ(outcome([&] {
              svu::sysctlMIB("hw.nosuchthing", calls);
              return "translated";
            }),
            "posix error 2");
  EXPECT_EQ(diagnostics.str(), "");
}

// Each accessor's identifier and type, written out as the platform's sysctl header has them. A
// reply of exactly the type's width with the top bit set tells the type and its signedness
// apart; any other identifier finds no reply and gives no value.
TEST_F(KernelParametersTest, EachAccessorReadsItsOwnParameterWithItsOwnType) {
  calls.names = {{"hw.cpufrequency", {100, 1}},
                 {"hw.cpu64bit_capable", {100, 2}},
                 {"machdep.cpu.brand_string", {100, 3, 4}}};
  const std::vector<int8_t> i32 = bytesOf(int32_t{-2});
  const std::vector<int8_t> i64 = bytesOf(int64_t{-2});
  const std::vector<int8_t> text = bytesOf("text\0"sv);
  const std::string u32Text = "4294967294";
  const struct {
    Mib mib;
    std::vector<int8_t> reply;
    std::function<std::string()> read;
    std::string expected;
  } cases[] = {
      {{1, 10}, text, [&] { return show(svu::hostName(calls)); }, "text"},
      {{6, 1}, text, [&] { return show(svu::machine(calls)); }, "text"},
      {{6, 2}, text, [&] { return show(svu::model(calls)); }, "text"},
      {{6, 25}, i32, [&] { return show(svu::activeCPUCount(calls)); }, "-2"},
      {{1, 2}, text, [&] { return show(svu::osRelease(calls)); }, "text"},
      {{1, 1}, text, [&] { return show(svu::osType(calls)); }, "text"},
      {{1, 65}, text, [&] { return show(svu::osVersion(calls)); }, "text"},
      {{1, 4}, text, [&] { return show(svu::kernelVersion(calls)); }, "text"},
      {{1, 3}, i32, [&] { return show(svu::osRevision(calls)); }, "-2"},
      {{100, 1}, i64, [&] { return show(svu::cpuFrequency(calls)); }, "-2"},
      {{6, 24}, i64, [&] { return show(svu::memorySize(calls)); }, "18446744073709551614"},
      {{6, 3}, i32, [&] { return show(svu::cpuCount(calls)); }, "-2"},
      {{6, 20}, i32, [&] { return show(svu::l2CacheSize(calls)); }, u32Text},
      {{6, 22}, i32, [&] { return show(svu::l3CacheSize(calls)); }, u32Text},
      {{100, 2}, i32, [&] { return show(svu::cpu64BitCapable(calls)); }, u32Text},
      {{100, 3, 4}, text, [&] { return show(svu::cpuBrandString(calls)); }, "text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.mib));
    calls.replies.clear();
    EXPECT_EQ(c.read(), "no value");
    calls.replies[c.mib] = c.reply;
    EXPECT_EQ(c.read(), c.expected);
  }
  // Each read by name translated it afresh; each read asked the size, and then the data if any.
  EXPECT_EQ(calls.nameCalls, 3 * 2);
  EXPECT_EQ(calls.sysctlCalls, 16 * (1 + 2));
}

}  // namespace
}  // namespace tarq
