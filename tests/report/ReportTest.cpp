#include <fmt/format.h>
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
#include <nlohmann/json.hpp>

#include "report/AtomicFile.h"
#include "report/Report.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"

namespace tarq {
namespace {

// Status words are compared exactly: "fail" and "WARN" have no effect.
TEST(ReportTest, ExitStatusIsTheWorstRow) {
  const auto exitStatusOf = [](const std::vector<std::string>& statuses) {
    std::vector<ResultRow> rows;
    for (const std::string& status : statuses) {
      rows.push_back({"Check", status, ""});
    }
    return exitStatusFor(countStatuses(rows));
  };
  testing::expectEach<std::vector<std::string>, int>(exitStatusOf, {{{"Pass", "Pass"}, 0},
                                                                    {{"Pass", "Warn"}, 1},
                                                                    {{"Warn", "Fail", "Pass"}, 2},
                                                                    {{"fail", "WARN"}, 0},
                                                                    {{}, 0}});
}

TEST(ReportTest, TerminalSafeTextCannotBreakTheTableOrDriveTheTerminal) {
  const struct {
    std::string_view raw;
    std::string_view safe;
  } cases[] = {
      {"Google Chrome 120.0.6099.109 \n", "Google Chrome 120.0.6099.109 \\n"},
      {"a\tb\r", "a\\tb\\r"},
      {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"},
      {"del\x7f", "del\\x7f"},
      {"\xC2\x9B"
       "31m",
       "\\u009b31m"},
      // The C1 control range is U+0080 to U+009F; the no-break space after it is text.
      {"\xC2\x80|\xC2\x9F|\xC2\xA0", "\\u0080|\\u009f|\xC2\xA0"},
      {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},
      {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(terminalSafe(c.raw), c.safe);
  }
}

const std::vector<ResultRow> kRows{{"Operating System", "Pass", "Version 14.2"},
                                   {"RAM (Memory)", "Fail", "2.0 GigaBytes"},
                                   {"Processor", "Warn", "Apple M1, arm64"}};
const std::vector<std::string> kLines{"first line", "second\nline"};

// Columns align on characters, not bytes, and no line ends in padding; with colour, Fail rows
// are red and Warn rows yellow. What to do about each row that did not pass comes after the
// lines, in run order, and the verdict last. A text's trailing white space and line ends are not
// shown (a browser's version answer ends in one); a control character inside it is escaped.
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

// Saves in a child process, so that the save can run as an ordinary user (root may write into
// any folder) or under a file-size limit that makes the disk refuse part way. Returns the
// save's error number, 0 when saved.
int saveInChild(const std::string& path, const std::string& contents, bool asOrdinaryUser,
                bool smallFileLimit) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (asOrdinaryUser && ::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(255);
    }
    if (smallFileLimit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{16, 16};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::_exit(writeFileAtomically(path, contents).value());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each entry of `folder` with its contents ("<folder>" for a folder, "<fifo>", "<link to X>").
std::map<std::string, std::string> entries(const std::filesystem::path& folder) {
  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string& shown = found[entry.path().filename().string()];
    if (entry.is_symlink()) {
      shown = "<link to " + std::filesystem::read_symlink(entry.path()).string() + ">";
    } else if (entry.is_directory()) {
      shown = "<folder>";
    } else if (entry.is_fifo()) {
      shown = "<fifo>";
    } else {
      std::ifstream file(entry.path(), std::ios::binary);
      shown = std::string(std::istreambuf_iterator<char>(file), {});
    }
  }
  return found;
}

// Cases that expect EACCES save as an ordinary user into a read-only folder; those that expect
// EFBIG save under the small file-size limit. Whatever the outcome, no new file is left behind.
TEST(ReportTest, ASavedFileIsWholeOrTheOldOneStays) {
  const std::string report(100, 'r');
  const struct {
    const char* name;
    const char* target;  // within the folder "reports"
    const char* before;  // the target before the save: null none, "<folder>" a folder
    int error;
    std::map<std::string, std::string> after;
  } cases[] = {
      {"replaces the old file", "r.json", "old", 0, {{"r.json", report}}},
      {"missing folder", "missing/r.json", nullptr, ENOENT, {}},
      {"read-only folder", "r.json", nullptr, EACCES, {}},
      {"a folder of that name", "r.json", "<folder>", EISDIR, {{"r.json", "<folder>"}}},
      {"disk refuses part way", "r.json", "old", EFBIG, {{"r.json", "old"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TemporaryDirectory directory;
    // An ordinary user can reach the folder, but writes into it only where it allows.
    std::filesystem::permissions(directory.path(), std::filesystem::perms(0755));
    const std::filesystem::path folder = directory.path() / "reports";
    ::mkdir(folder.c_str(), c.error == EACCES ? 0555 : 0755);
    const std::filesystem::path target = folder / c.target;
    if (c.before != nullptr && std::string(c.before) == "<folder>") {
      std::filesystem::create_directory(target);
    } else if (c.before != nullptr) {
      std::ofstream(target) << c.before;
    }

    EXPECT_EQ(saveInChild(target.string(), report, c.error == EACCES, c.error == EFBIG), c.error);
    EXPECT_EQ(entries(folder), c.after);
  }
}

// A save replaces the regular file the name leads to and nothing else, and the new file keeps
// what the old one had: its permissions, and its owner where the saver (root here) may give it.
TEST(ReportTest, ASaveReplacesOnlyARegularFileAndKeepsItsPermissionsAndOwner) {
  const std::string report = "report";
  const struct {
    const char* name;
    std::string target;  // within the folder
    std::error_code error;
    std::map<std::string, std::string> after;
  } cases[] = {
      {"keeps the mode and owner", "private.txt", {}, {{"private.txt", report}}},
      {"replaces through a link",
       "link.txt",
       {},
       {{"link.txt", "<link to private.txt>"}, {"private.txt", report}}},
      {"refuses a FIFO", "fifo", SaveError::notRegularFile, {{"fifo", "<fifo>"}}},
      {"refuses no name", "", SaveError::noPath, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TemporaryDirectory directory;
    const std::filesystem::path folder = directory.path();
    if (c.target == "fifo") {
      ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    } else if (!c.target.empty()) {
      std::ofstream(folder / "private.txt") << "old";
      ::chmod((folder / "private.txt").c_str(), 0640);
      if (::getuid() == 0) {
        ASSERT_EQ(::chown((folder / "private.txt").c_str(), 65534, 65534), 0);
      }
    }
    if (c.target == "link.txt") {
      std::filesystem::create_symlink("private.txt", folder / "link.txt");
    }

    EXPECT_EQ(writeFileAtomically(c.target.empty() ? "" : (folder / c.target).string(), report),
              c.error);
    EXPECT_EQ(entries(folder), c.after);
    struct stat saved {};
    if (c.after.count("private.txt") != 0 &&
        ::stat((folder / "private.txt").c_str(), &saved) == 0) {
      EXPECT_EQ(saved.st_mode & 07777, 0640u);
      if (::getuid() == 0) {
        EXPECT_EQ(saved.st_uid, 65534u);
        EXPECT_EQ(saved.st_gid, 65534u);
      }
    }
  }
}

}  // namespace
}  // namespace tarq
