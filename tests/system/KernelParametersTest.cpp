#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>

#include "system/Diagnostics.h"
#include "system/KernelParameters.h"

namespace tarq {
namespace {

using SystemValuesUtility::Error;
using SystemValuesUtility::Mib;

std::vector<int8_t> bytesOf(std::string_view text) {
  return std::vector<int8_t>(text.begin(), text.end());
}

template <typename T>
std::vector<int8_t> bytesOf(T value) {
  std::vector<int8_t> bytes(sizeof(T));
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

// A kernel-parameter service with made-up parameters and switchable failures.
class FakeKernelParameterCalls final : public KernelParameterCalls {
 public:
  std::map<Mib, std::vector<int8_t>> replies;
  std::map<std::string, Mib, std::less<>> names;
  // When set, the size query (or the data read) fails and leaves this errno.
  std::optional<int> sizeQueryErrno;
  std::optional<int> dataReadErrno;
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
    if (failure) {
      errno = *failure;
      return -1;
    }
    const auto reply = replies.find(Mib(name, name + namelen));
    if (reply == replies.end()) {
      errno = ENOENT;
      return -1;
    }
    if (oldp == nullptr) {
      *oldlenp = reply->second.size();
      return 0;
    }
    const size_t size = std::min({*oldlenp, reply->second.size(), dataReadSize.value_or(SIZE_MAX)});
    std::memcpy(oldp, reply->second.data(), size);
    *oldlenp = size;
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

  template <typename Read>
  Error errorOf(Read read) {
    try {
      read();
    } catch (const Error& error) {
      return error;
    }
    ADD_FAILURE() << "the read did not fail";
    return Error::unknown();
  }

  FakeKernelParameterCalls calls;
  std::ostringstream diagnostics;
};

TEST_F(KernelParametersTest, TypedReadsTakeTheReplyInNativeByteOrder) {
  calls.replies[{6, 24}] = bytesOf(uint64_t{17179869184});
  calls.replies[{6, 3}] = bytesOf(int32_t{-3});
  EXPECT_EQ(SystemValuesUtility::sysctlValue<uint64_t>(Mib{6, 24}, calls), 17179869184u);
  EXPECT_EQ(SystemValuesUtility::sysctlValue<int32_t>(Mib{6, 3}, calls), -3);
}

TEST_F(KernelParametersTest, TypedReadOfTheWrongWidthIsInvalidSize) {
  calls.replies[{6, 3}] = bytesOf(int32_t{8});
  calls.replies[{6, 24}] = bytesOf(uint64_t{8});
  EXPECT_EQ(errorOf([&] {
              SystemValuesUtility::sysctlValue<int64_t>(Mib{6, 3}, calls);
            }),
            Error::invalidSize());
  EXPECT_EQ(errorOf([&] {
              SystemValuesUtility::sysctlValue<int32_t>(Mib{6, 24}, calls);
            }),
            Error::invalidSize());
}

TEST_F(KernelParametersTest, EmptyReplyIsEmptyTextButNoNumber) {
  calls.replies[{1, 10}] = {};
  EXPECT_TRUE(SystemValuesUtility::sysctlData(Mib{1, 10}, calls).empty());
  EXPECT_EQ(SystemValuesUtility::sysctlString(Mib{1, 10}, calls), "");
  EXPECT_EQ(errorOf([&] {
              SystemValuesUtility::sysctlValue<uint32_t>(Mib{1, 10}, calls);
            }),
            Error::invalidSize());
}

TEST_F(KernelParametersTest, TextEndsAtTheFirstNulOrTheEndOfTheReply) {
  const struct {
    std::string_view reply;
    std::string_view text;
  } cases[] = {
      {std::string_view("Darwin\0", 7), "Darwin"},
      {"Darwin", "Darwin"},
      {std::string_view("Dar\0win\0", 8), "Dar"},
      {std::string_view("\0", 1), ""},
      {"  Intel(R) Core(TM) i7 ", "  Intel(R) Core(TM) i7 "},
      {"Caf\xC3\xA9", "Caf\xC3\xA9"},
  };
  for (const auto& c : cases) {
    calls.replies[{1, 1}] = bytesOf(c.reply);
    EXPECT_EQ(SystemValuesUtility::sysctlString(Mib{1, 1}, calls), c.text);
  }
}

TEST_F(KernelParametersTest, TextThatIsNotUtf8IsMalformed) {
  for (const std::string_view reply : {"\xFF\xFE", "Caf\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
    calls.replies[{1, 1}] = bytesOf(reply);
    EXPECT_EQ(errorOf([&] {
                SystemValuesUtility::sysctlString(Mib{1, 1}, calls);
              }),
              Error::malformedUTF8());
  }
}

TEST_F(KernelParametersTest, ShorterDataReadKeepsTheQueriedSizeWithAZeroTail) {
  calls.replies[{6, 2}] = bytesOf(std::string_view("MacBookPro15,1"));
  calls.dataReadSize = 3;
  const std::vector<int8_t> reply = SystemValuesUtility::sysctlData(Mib{6, 2}, calls);
  ASSERT_EQ(reply.size(), 14u);
  EXPECT_EQ(std::string(reply.begin(), reply.begin() + 3), "Mac");
  EXPECT_TRUE(std::all_of(reply.begin() + 3, reply.end(), [](int8_t b) { return b == 0; }));
}

TEST_F(KernelParametersTest, FailedSizeQueryWritesItsErrorNumberOnce) {
  calls.sizeQueryErrno = ENOMEM;
  EXPECT_EQ(errorOf([&] {
              SystemValuesUtility::sysctlData(Mib{6, 24}, calls);
            }),
            Error::posixError(ENOMEM));
  EXPECT_EQ(diagnostics.str(), "12\n");
}

TEST_F(KernelParametersTest, FailureWithoutAPosixErrorNumberIsUnknownAndSilent) {
  calls.sizeQueryErrno = 0;
  EXPECT_EQ(errorOf([&] { SystemValuesUtility::sysctlData(Mib{6, 24}, calls); }), Error::unknown());
  calls.sizeQueryErrno = 100000;
  EXPECT_EQ(errorOf([&] { SystemValuesUtility::sysctlData(Mib{6, 24}, calls); }), Error::unknown());
  EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(KernelParametersTest, UnknownNameFailsInTheTranslationWithoutADiagnostic) {
  EXPECT_EQ(errorOf([&] { SystemValuesUtility::sysctlMIB("hw.nosuchthing", calls); }),
            Error::posixError(ENOENT));
  EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(KernelParametersTest, TranslatedMibHasExactlyTheLevelsOfTheName) {
  calls.names["hw.cpufrequency"] = {6, 15};
  calls.names["machdep.cpu.brand_string"] = {7, 104, 105};
  EXPECT_EQ(SystemValuesUtility::sysctlMIB("hw.cpufrequency", calls), (Mib{6, 15}));
  EXPECT_EQ(SystemValuesUtility::sysctlMIB("machdep.cpu.brand_string", calls), (Mib{7, 104, 105}));
}

TEST_F(KernelParametersTest, ByNameReadTranslatesAfreshEachTime) {
  calls.names["hw.cpufrequency"] = {6, 15};
  calls.replies[{6, 15}] = bytesOf(int64_t{2600000000});
  EXPECT_EQ(SystemValuesUtility::cpuFrequency(calls), 2600000000);
  EXPECT_EQ(SystemValuesUtility::cpuFrequency(calls), 2600000000);
  EXPECT_EQ(calls.nameCalls, 2);
  EXPECT_EQ(calls.sysctlCalls, 4);
}

TEST_F(KernelParametersTest, FailedDataReadAfterAGoodSizeQueryIsAnErrorButWritesNothing) {
  calls.replies[{6, 24}] = bytesOf(uint64_t{1});
  calls.dataReadErrno = ENOMEM;  // the reply grew between the two calls
  EXPECT_EQ(errorOf([&] {
              SystemValuesUtility::sysctlData(Mib{6, 24}, calls);
            }),
            Error::posixError(ENOMEM));
  EXPECT_EQ(diagnostics.str(), "");
}

// Each accessor's identifier and type, written out as the platform's sysctl header has them. A
// reply of exactly the type's width with the top bit set tells the type and its signedness
// apart; any other identifier finds no reply and gives no value.
TEST_F(KernelParametersTest, EachAccessorReadsItsOwnParameterWithItsOwnType) {
  namespace svu = SystemValuesUtility;
  const auto text = [](const std::optional<std::string>& value) {
    return value ? *value : "no value";
  };
  const auto number = [](const auto& value) { return value ? std::to_string(*value) : "no value"; };
  const std::vector<int8_t> int32Reply = bytesOf(int32_t{-2});
  const std::vector<int8_t> int64Reply = bytesOf(int64_t{-2});
  const std::vector<int8_t> textReply = bytesOf(std::string_view("text\0", 5));
  const struct {
    std::string_view accessor;
    Mib mib;
    std::string_view name;  // empty for a read by MIB
    std::vector<int8_t> reply;
    std::function<std::string()> read;
    std::string_view expected;
  } cases[] = {
      {"hostName", {1, 10}, "", textReply, [&] { return text(svu::hostName(calls)); }, "text"},
      {"machine", {6, 1}, "", textReply, [&] { return text(svu::machine(calls)); }, "text"},
      {"model", {6, 2}, "", textReply, [&] { return text(svu::model(calls)); }, "text"},
      {"activeCPUCount",
       {6, 25},
       "",
       int32Reply,
       [&] { return number(svu::activeCPUCount(calls)); },
       "-2"},
      {"osRelease", {1, 2}, "", textReply, [&] { return text(svu::osRelease(calls)); }, "text"},
      {"osType", {1, 1}, "", textReply, [&] { return text(svu::osType(calls)); }, "text"},
      {"osVersion", {1, 65}, "", textReply, [&] { return text(svu::osVersion(calls)); }, "text"},
      {"kernelVersion",
       {1, 4},
       "",
       textReply,
       [&] { return text(svu::kernelVersion(calls)); },
       "text"},
      {"osRevision", {1, 3}, "", int32Reply, [&] { return number(svu::osRevision(calls)); }, "-2"},
      {"cpuFrequency",
       {100, 1},
       "hw.cpufrequency",
       int64Reply,
       [&] { return number(svu::cpuFrequency(calls)); },
       "-2"},
      {"memorySize",
       {6, 24},
       "",
       int64Reply,
       [&] { return number(svu::memorySize(calls)); },
       "18446744073709551614"},
      {"cpuCount", {6, 3}, "", int32Reply, [&] { return number(svu::cpuCount(calls)); }, "-2"},
      {"l2CacheSize",
       {6, 20},
       "",
       int32Reply,
       [&] { return number(svu::l2CacheSize(calls)); },
       "4294967294"},
      {"l3CacheSize",
       {6, 22},
       "",
       int32Reply,
       [&] { return number(svu::l3CacheSize(calls)); },
       "4294967294"},
      {"cpu64BitCapable",
       {100, 2},
       "hw.cpu64bit_capable",
       int32Reply,
       [&] { return number(svu::cpu64BitCapable(calls)); },
       "4294967294"},
      {"cpuBrandString",
       {100, 3, 4},
       "machdep.cpu.brand_string",
       textReply,
       [&] { return text(svu::cpuBrandString(calls)); },
       "text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.accessor);
    calls.replies.clear();
    calls.names.clear();
    EXPECT_EQ(c.read(), "no value");
    calls.replies[c.mib] = c.reply;
    if (!c.name.empty()) {
      calls.names[std::string(c.name)] = c.mib;
    }
    EXPECT_EQ(c.read(), c.expected);
  }
}

}  // namespace
}  // namespace tarq
