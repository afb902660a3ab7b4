// GTK: the name goes to the widget's ATK object, which the AT-SPI bridge publishes. GTK and ATK
// are in the process already, loaded by wxWidgets; their few calls are looked up there, so the
// build needs no GTK headers.
#include <dlfcn.h>

#include "ui/AccessibleName.h"

namespace tarq {
namespace {

template <typename Function>
Function* loaded(const char* name) {
  return reinterpret_cast<Function*>(::dlsym(RTLD_DEFAULT, name));
}

}  // namespace

void setAccessibleName(void* nativeControl, const char* utf8Name) {
  using TypeOf = unsigned long();
  using IsA = int(void* instance, unsigned long type);
  using ChildOf = void*(void* bin);
  using AccessibleOf = void*(void* widget);
  using SetName = void(void* accessible, const char* name);
  auto* binType = loaded<TypeOf>("gtk_bin_get_type");
  auto* isA = loaded<IsA>("g_type_check_instance_is_a");
  auto* childOf = loaded<ChildOf>("gtk_bin_get_child");
  auto* accessibleOf = loaded<AccessibleOf>("gtk_widget_get_accessible");
  auto* setName = loaded<SetName>("atk_object_set_name");
  if (nativeControl == nullptr || binType == nullptr || isA == nullptr || childOf == nullptr ||
      accessibleOf == nullptr || setName == nullptr) {
    return;
  }
  void* widget = nativeControl;
  // A data view is a tree view inside a scrolled window; the tree view is the table.
  if (isA(widget, binType()) != 0) {
    if (void* child = childOf(widget)) {
      widget = child;
    }
  }
  if (void* accessible = accessibleOf(widget)) {
    setName(accessible, utf8Name);
  }
}

}  // namespace tarq
