// A pass from the window, by mouse or keyboard alone, and Stop from the button, a key or the menu.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include <clocale>
#include <filesystem>
#include <memory>
#include <thread>

#include "support/FakeTool.h"
#include "support/ProcessCensus.h"
#include "ui/ShownWindow.h"

namespace tarq::testing {
namespace {

// Unknown USB version (it warns) and no browser (it fails); then mended, with Mono gone.
const std::vector<std::string> kFirstResults{"Pass", "Pass", "Pass", "Pass",
                                             "Warn", "Pass", "Fail", "Pass"};
const std::vector<std::string> kMendedResults{"Pass", "Pass", "Pass", "Pass",
                                              "Pass", "Pass", "Pass", "Fail"};

void mendMachine(FakeMachineFacts& facts) {
  facts.usbVersion = 3.1;
  facts.chrome = {"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129"};
  facts.mono = {"", "Unable to find the Mono Framework", 0};
}

// A pass by `press` (else a click) under a German locale shows the C locale's texts, full stops.
void expectOnePass(const ShownWindow& window, ObservedFacts& facts,
                   const std::vector<std::string>& results,
                   const std::function<void()>& press = {}) {
  WiredRunner headless(facts);
  headless.runner.runAllTests();
  const int asked = facts.monoQuestions;
  const auto ended = [&] {
    return facts.monoQuestions == asked + 1 && !window.control().passRunning();
  };
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/bootstrap installs it";
  press ? press() : (void)window.clickButton(ended);
  const bool ran = processEventsUntil(ended);
  std::setlocale(LC_ALL, "C");
  ASSERT_TRUE(ran);
  EXPECT_EQ(shownColumn(window.summaryTable(), 0), kRunOrder);
  EXPECT_EQ(shownColumn(window.summaryTable(), 1), results);
  EXPECT_EQ(shownColumn(window.summaryTable(), 2)[1], "16.0 GigaBytes");
  EXPECT_EQ(window.lines().resStrings(), headless.lines.resStrings());
  EXPECT_EQ(shownColumn(window.linesTable(), 0).size(), headless.lines.resStrings().size());
  // Read after a click only: after Return the toolkit may draw over rows for a while.
  for (unsigned row = 0; !press && row < 8; ++row) {
    const wxColour colour = results[row] == "Fail"   ? kRed
                            : results[row] == "Warn" ? kYellow
                                                     : window.summaryTable().GetBackgroundColour();
    EXPECT_EQ(paintedColour(window.summaryTable(), row, 2, colour), colour) << "row " << row;
  }
}

// A later pass, on the mended machine, keeps no colour, row or line of the first.
TEST(WindowPassTest, EachClickShowsOnlyItsOwnPassOfRowsAndLinesInTheStatusColours) {
  ObservedFacts facts;
  facts.usbVersion = 0;
  facts.chrome = {};
  const ShownWindow window(&facts);
  expectOnePass(window, facts, kFirstResults);
  EXPECT_EQ(window.verdict(), "Not ready: 1 check failed.");
  mendMachine(facts);
  expectOnePass(window, facts, kMendedResults);
}

// Return on the button or either table, or Alt+R; a last Tab goes round to the button.
TEST(WindowPassTest, TheKeyboardAloneRunsAPassFromTheButtonEitherTableOrTheMnemonic) {
  ObservedFacts facts;
  mendMachine(facts);
  const ShownWindow window(&facts);
  const struct {
    wxWindow* focus;
    int key, modifiers;
  } presses[] = {{&window.button(), WXK_RETURN, wxMOD_NONE},
                 {&window.linesTable(), WXK_RETURN, wxMOD_NONE},
                 {&window.summaryTable(), WXK_RETURN, wxMOD_NONE},
                 {&window.summaryTable(), 'r', wxMOD_ALT}};
  ASSERT_EQ(wxWindow::FindFocus(), &window.button());
  for (const auto& press : presses) {
    SCOPED_TRACE(press.focus->GetName() + " " + std::to_string(press.key));
    if (wxWindow::FindFocus() != press.focus) {
      pressKey(WXK_TAB);
    }
    ASSERT_EQ(wxWindow::FindFocus(), press.focus);
    expectOnePass(window, facts, kMendedResults, [&] { pressKey(press.key, press.modifiers); });
  }
  pressKey(WXK_TAB);
  EXPECT_EQ(wxWindow::FindFocus(), &window.button());
}

// Rows show as checks end; each way to stop ends the waiting tool and the thread, keeps the rows
// so far, and leaves no verdict or report to save, which only a pass run to its end has.
TEST(WindowPassTest, RowsArriveAsTheyComeAndAPassStopsFromButtonKeyOrMenu) {
  TemporaryDirectory directory;
  const std::string mono = writeScript(directory, "mono",
                                       "while [ ! -e \"$0.go\" ]; do sleep 0.01; done\n"
                                       "echo 'Mono JIT compiler version 6.12.0'\n");
  ObservedFacts facts;
  facts.heldMono = mono;
  auto window = std::make_unique<ShownWindow>(&facts);
  window->installMenu();
  const ProcessCensus before = ProcessCensus::take();
  const auto passGone = [&] {
    const ProcessCensus now = ProcessCensus::take();
    return now.threads == before.threads && now.childProcesses == before.childProcesses;
  };

  const std::pair<std::string, std::function<void()>> ends[] = {
      {"let through", [&] { directory.write("mono.go", ""); }},
      {"Stop clicked", [&] { window->clickButton([] { return true; }, false); }},
      {"Escape", [] { pressKey(WXK_ESCAPE); }},
      {"Ctrl+R", [] { pressKey('r', wxMOD_CONTROL); }},
      {"window closed", [&] { window.reset(); }}};
  for (const auto& [end, endPass] : ends) {
    SCOPED_TRACE(end);
    std::filesystem::remove(mono + ".go");
    ASSERT_TRUE(window->clickButton(
        [&] {
          return window->status() == "Checking Mono Framework (8 of 8)…" &&
                 ProcessCensus::take().childProcesses > before.childProcesses;
        },
        false));
    EXPECT_EQ(window->summary().model().GetCount(), 7u);
    EXPECT_EQ(window->verdict(), "");
    EXPECT_EQ(window->button().GetLabelText(), "Stop");
    EXPECT_EQ(window->label(wxID_EXECUTE), "Stop");
    EXPECT_FALSE(window->enabled(wxID_SAVE));
    endPass();
    if (!window) {
      EXPECT_TRUE(processEventsUntil(passGone));
      break;
    }
    ASSERT_TRUE(processEventsUntil([&] { return !window->control().passRunning() && passGone(); }));
    // What the pass's thread posted before it ended has arrived.
    wxTheApp->Yield(true);
    const bool stopped = end != "let through";
    EXPECT_EQ(window->summary().model().GetCount(), stopped ? 7u : 8u);
    // The texts and the duration's form, byte for byte: PassStatusTextTest.
    EXPECT_THAT(window->status(),
                ::testing::StartsWith(stopped ? "Stopped during check 8 of 8, after "
                                              : "0 failed, 0 warned, 8 passed in "));
    EXPECT_EQ(
        window->verdict(),
        stopped ? "" : "Ready: this computer meets every requirement of the client application.");
    EXPECT_EQ(window->button().GetLabelText(), "Run Checks");
    EXPECT_EQ(window->label(wxID_EXECUTE), "Run Checks");
    EXPECT_EQ(window->enabled(wxID_SAVE), !stopped);
  }
}

// A machine whose first check, once held, waits until the test lets it through.
struct HeldFirstCheck final : FakeMachineFacts {
  OperatingSystemVersion operatingSystemVersion() override {
    while (held) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return FakeMachineFacts::operatingSystemVersion();
  }
  std::atomic<bool> held = false;
};

// Run and stopped at once (its first check's start likely still on its way), a pass shows nothing
// of the one before and says how far it came.
TEST(WindowPassTest, APassStoppedAtOnceShowsNothingOfTheOneBefore) {
  HeldFirstCheck facts;
  const ShownWindow window(&facts);
  window.installMenu();
  ASSERT_TRUE(window.clickButton([&] { return window.summary().model().GetCount() == 8u; }));
  facts.held = true;
  wxUIActionSimulator input;
  input.Char('r', wxMOD_CONTROL);
  input.Char(WXK_ESCAPE);
  const bool stopped = processEventsUntil(
      [&] { return !window.control().passRunning() && window.status().rfind("Stopped", 0) == 0; });
  // The stopped pass's thread ends before the window goes.
  facts.held = false;
  ASSERT_TRUE(stopped) << window.status();
  wxTheApp->Yield(true);
  EXPECT_EQ(window.summary().model().GetCount(), 0u);
  EXPECT_EQ(window.lines().model().GetCount(), 0u);
  EXPECT_THAT(window.status(),
              ::testing::AnyOf(::testing::StartsWith("Stopped before the first check, after "),
                               ::testing::StartsWith("Stopped during check 1 of 8, after ")));
}

}  // namespace
}  // namespace tarq::testing
