#include "validation/BackgroundPass.h"

#include <string>
#include <utility>

namespace tarq {

// What the pass's thread and the changes it posts share with the owner; it lives as long as
// the last change still on its way. The flags are read and written on the owner's thread only,
// where the changes run.
struct BackgroundPass::Delivery : std::enable_shared_from_this<Delivery> {
  explicit Delivery(Post given) : post(std::move(given)) {}

  // Posts `report`, to be handed the receivers on the owner's thread unless the pass has been
  // cancelled by then.
  template <typename Report>
  void forward(Report report) {
    post([self = shared_from_this(), report = std::move(report)] {
      if (!self->cancelled) {
        report(self->receivers);
      }
    });
  }

  const Post post;
  Receivers receivers;
  bool cancelled = false;
  bool destroyed = false;
};

// The pass's own lists, on its thread; each change is forwarded to the owner's list.
class BackgroundPass::ForwardedLines final : public ResultTextTable {
 public:
  explicit ForwardedLines(Delivery& delivery) : delivery_(delivery) {}

 protected:
  // The owner's list was emptied as the pass started.
  void reloadData() override {
    if (!resStrings().empty()) {
      delivery_.forward([line = resStrings().back(), check = lineChecks().back()](Receivers& to) {
        to.lines->appendLine(line, check);
      });
    }
  }

 private:
  Delivery& delivery_;
};

class BackgroundPass::ForwardedSummary final : public TestSummaryTable {
 public:
  explicit ForwardedSummary(Delivery& delivery) : delivery_(delivery) {}

 protected:
  void reloadData() override {
    if (!results().empty()) {
      delivery_.forward([row = results().back(), remedy = remedies().back()](Receivers& to) {
        to.summary->addResult(row.testName, row.result, row.detected, remedy);
      });
    }
  }

 private:
  Delivery& delivery_;
};

BackgroundPass::BackgroundPass(MachineFacts& facts, Post post)
    : delivery_(std::make_shared<Delivery>(std::move(post))),
      lines_(std::make_unique<ForwardedLines>(*delivery_)),
      summary_(std::make_unique<ForwardedSummary>(*delivery_)),
      runner_(facts) {
  runner_.setCheckStarted([&delivery = *delivery_](std::size_t index, std::string_view testName) {
    delivery.forward([index, name = std::string(testName)](Receivers& to) {
      if (to.checkStarted) {
        to.checkStarted(index, name);
      }
    });
  });
}

BackgroundPass::~BackgroundPass() {
  cancel();
  delivery_->destroyed = true;
  join();
}

void BackgroundPass::start(ScreenSize screen, Receivers receivers) {
  delivery_->receivers = std::move(receivers);
  ResultTextTable* const lines = delivery_->receivers.lines;
  TestSummaryTable* const summary = delivery_->receivers.summary;
  // Here rather than posted from the pass: a pass stopped at once drops what it posts, and the
  // rows of the one before would stay under its status.
  if (!cancelled()) {
    if (lines != nullptr) {
      lines->removeAllLines();
    }
    if (summary != nullptr) {
      summary->removeAllResults();
    }
  }
  runner_.setTestResultsVC(lines != nullptr ? lines_.get() : nullptr);
  runner_.setTestNameVC(summary != nullptr ? summary_.get() : nullptr);
  runner_.setMeasurementTable(&measurements_);
  thread_ = std::thread([this, screen] {
    startedAt_ = std::chrono::system_clock::now();
    runner_.runAllTests(&cancellation_, screen);
    finishedAt_ = std::chrono::system_clock::now();
    delivery_->post([delivery = delivery_] {
      if (!delivery->destroyed && delivery->receivers.ended) {
        delivery->receivers.ended();
      }
    });
  });
}

void BackgroundPass::cancel() {
  delivery_->cancelled = true;
  cancellation_.cancel();
}

bool BackgroundPass::cancelled() const {
  return delivery_->cancelled;
}

void BackgroundPass::join() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

}  // namespace tarq
