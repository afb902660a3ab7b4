#pragma once

namespace tarq {

// The application's delegate. The program keeps nothing between runs but the window's shape,
// which the window keeps itself, so there is nothing to do when it has launched or when it quits.
class AppDelegate {
 public:
  void applicationDidFinishLaunching() {}
  void applicationWillTerminate() {}
};

}  // namespace tarq
