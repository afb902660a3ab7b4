#pragma once

namespace tarq {

// A controller the window layout creates. Once the layout has built the controller's window and
// everything in it, viewDidLoad connects what the controller needs from it.
class ViewController {
 public:
  virtual ~ViewController() = default;

  virtual void viewDidLoad() {}
};

}  // namespace tarq
