#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

#include "report/AtomicFile.h"
#include "report/Report.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"

namespace tarq {
namespace {

// The worst status decides; which words count is StatusCountsTest's.
TEST(ReportTest, ExitStatusIsTheWorstRow) {
  testing::expectEach<StatusCounts, int>(
      exitStatusFor,
      {{{.passed = 1, .warned = 1}, 1}, {{.passed = 1, .warned = 1, .failed = 1}, 2}, {{}, 0}});
}

TEST(ReportTest, TerminalSafeTextCannotBreakTheTableOrDriveTheTerminal) {
  const struct {
    std::string_view raw, safe;
  } cases[] = {
      {"a\tb\r", "a\\tb\\r"},
      {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"},
      {"del\x7f", "del\\x7f"},
      {"\u009b31m", "\\u009b31m"},  // the one-byte CSI, as UTF-8
      // The C1 control range is U+0080 to U+009F; the no-break space after it is text.
      {"\xC2\x80|\xC2\x9F|\xC2\xA0", "\\u0080|\\u009f|\xC2\xA0"},
      {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(terminalSafe(c.raw), c.safe);
  }
}

const std::vector<ResultRow> kRows{{"Operating System", "Pass", "Version 14.2"},
                                   {"RAM (Memory)", "Fail", "2.0 GigaBytes"},
                                   {"Processor", "Warn", "Apple M1, arm64"}};
const std::vector<std::string> kLines{"first line", "second\nline"};

// Columns align on characters, Fail rows red and Warn rows yellow, then what to do and the verdict;
// no line ends in padding or in a text's trailing white space (a browser's version has a line end).
TEST(ReportTest, TextReportAlignsTheColumnsAndEndsWithWhatToDoAndTheVerdict) {
  std::vector<ResultRow> rows = kRows;
  rows.push_back({"Caf\xC3\xA9", "Pass", "x"});
  rows.push_back({"Nothing", "Pass", ""});
  rows.push_back({"Supported Browsers", "Pass", "Google Chrome 120.0.6099.129 \n"});
  // A passing row's remedy, had it one, is not shown.
  const std::vector<std::string> remedies{
      "Nothing to do.", "Install more memory.", "Use a faster one.\n", "", "", ""};
  const auto table = [](const std::string& red, const std::string& yellow,
                        const std::string& reset) {
    return "Check               Result  Detected\n"
           "Operating System    Pass    Version 14.2\n" +
           red + "RAM (Memory)        Fail    2.0 GigaBytes" + reset + "\n" + yellow +
           "Processor           Warn    Apple M1, arm64" + reset +
           "\n"
           "Caf\xC3\xA9                Pass    x\n"
           "Nothing             Pass\n"
           "Supported Browsers  Pass    Google Chrome 120.0.6099.129\n"
           "\n"
           "first line\n"
           "second\\nline\n"
           "\n"
           "What to do:\n"
           "  RAM (Memory): Install more memory.\n"
           "  Processor: Use a faster one.\n"
           "\n"
           "Not ready: 1 check failed.\n";
  };
  EXPECT_EQ(textReport(rows, remedies, kLines, false), table("", "", ""));
  EXPECT_EQ(textReport(rows, remedies, kLines, true), table("\x1b[31m", "\x1b[33m", "\x1b[0m"));
  // Every check passed: nothing to do.
  EXPECT_EQ(textReport({{"Processor", "Pass", "Apple M1, arm64"}}, {""}, {}, false),
            "Check      Result  Detected\n"
            "Processor  Pass    Apple M1, arm64\n"
            "\n"
            "\n"
            "Ready: this computer meets every requirement of the client application.\n");
}

// Compact on one line, every text as it was and in order; bytes that are not UTF-8 become U+FFFD.
TEST(ReportTest, JsonReportKeepsExactTextsInOrder) {
  std::vector<ResultRow> rows = kRows;
  rows.push_back({"T", "Pass", "bad \xFF\xFE"});
  const std::string replaced = "\xEF\xBF\xBD";
  EXPECT_EQ(jsonReport(rows, {"first line", "second\nline", "\xC3"}),
            R"json({"rows":[{"testName":"Operating System","result":"Pass","detected":)json"
            R"json("Version 14.2"},{"testName":"RAM (Memory)","result":"Fail","detected":)json"
            R"json("2.0 GigaBytes"},{"testName":"Processor","result":"Warn","detected":)json"
            R"json("Apple M1, arm64"},{"testName":"T","result":"Pass","detected":"bad )json" +
                replaced + replaced + R"json("}],"lines":["first line","second\nline",")json" +
                replaced + "\"]}\n");
}

// Saves, where EFBIG is expected in a child process under a file-size limit the save exceeds.
std::error_code save(const std::string& path, const std::string& contents,
                     std::error_code expected) {
  if (expected != std::errc::file_too_large) {
    return writeFileAtomically(path, contents);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(writeFileAtomically(path, contents).value());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::generic_category()};
}

// Each entry of `folder` with its contents ("<folder>" for a folder, "<fifo>", "<link to X>").
std::map<std::string, std::string> entries(const std::filesystem::path& folder) {
  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    found[entry.path().filename().string()] =
        entry.is_symlink()     ? "<link to " + std::filesystem::read_symlink(entry).string() + ">"
        : entry.is_directory() ? "<folder>"
        : entry.is_fifo()      ? "<fifo>"
                               : testing::readFile(entry.path());
  }
  return found;
}

// A save replaces the regular file the name leads to, whole and with its mode and owner (root may
// give it), or leaves everything as it was, with no new file behind.
TEST(ReportTest, ASavedFileIsWholeOrTheOldOneStays) {
  const std::string report(100, 'r');
  const auto posix = [](int error) { return std::error_code(error, std::generic_category()); };
  const std::string link = "<link to r.json>";
  const struct {
    const char* name;
    std::string target;  // within the folder "reports"
    std::string before;  // the target before the save: "" none, "old" a file, or as entries() shows
    std::error_code error;
    std::map<std::string, std::string> after;
  } cases[] = {
      {"replaces the old file", "r.json", "old", {}, {{"r.json", report}}},
      {"replaces through a link", "link.json", link, {}, {{"link.json", link}, {"r.json", report}}},
      {"missing folder", "missing/r.json", "", posix(ENOENT), {}},
      {"a folder of that name", "r.json", "<folder>", posix(EISDIR), {{"r.json", "<folder>"}}},
      {"refuses a FIFO", "r.json", "<fifo>", SaveError::notRegularFile, {{"r.json", "<fifo>"}}},
      {"disk refuses part way", "r.json", "old", posix(EFBIG), {{"r.json", "old"}}},
      {"refuses no name", "", "", SaveError::noPath, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TemporaryDirectory directory;
    const std::filesystem::path folder = directory.path() / "reports";
    ::mkdir(folder.c_str(), 0755);
    const std::filesystem::path target = folder / c.target, old = folder / "r.json";
    if (c.before == "old" || c.before == link) {
      std::ofstream(old) << "old";
      ::chmod(old.c_str(), 0640);
      ASSERT_TRUE(::getuid() != 0 || ::chown(old.c_str(), 65534, 65534) == 0);
    }
    if (c.before == "<folder>") {
      std::filesystem::create_directory(target);
    } else if (c.before == "<fifo>") {
      ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
    } else if (c.before == link) {
      std::filesystem::create_symlink("r.json", target);
    }

    EXPECT_EQ(save(c.target.empty() ? "" : target.string(), report, c.error), c.error);
    EXPECT_EQ(entries(folder), c.after);
    struct stat saved {};
    if (!c.error && ::stat(old.c_str(), &saved) == 0) {
      EXPECT_EQ(saved.st_mode & 07777, 0640u);
      EXPECT_EQ(saved.st_uid, ::getuid() == 0 ? 65534u : ::getuid());
      EXPECT_EQ(saved.st_gid, ::getuid() == 0 ? 65534u : ::getgid());
    }
  }
}

}  // namespace
}  // namespace tarq
