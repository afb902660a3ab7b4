// GTK: the file chooser dialog sizes itself from its font as it is shown, larger than a 1024x768
// screen, so it is resized once shown. GTK is in the process already, loaded by wxWidgets; its
// two calls are looked up there, so the build needs no GTK headers.
#include <dlfcn.h>

#include "ui/NativeDialogPlace.h"

namespace tarq {

void placeNativeDialog(void* nativeDialog, int x, int y, int width, int height) {
  using Set = void(void* window, int first, int second);
  auto* const resize = reinterpret_cast<Set*>(::dlsym(RTLD_DEFAULT, "gtk_window_resize"));
  auto* const move = reinterpret_cast<Set*>(::dlsym(RTLD_DEFAULT, "gtk_window_move"));
  if (nativeDialog == nullptr || resize == nullptr || move == nullptr) {
    return;
  }
  resize(nativeDialog, width, height);
  move(nativeDialog, x, y);
}

}  // namespace tarq
