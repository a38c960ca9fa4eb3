#include "core/processforms.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"

namespace {

// Function-local so that registrations made while other units load always
// find the lists constructed.
struct Registry {
  std::vector<const TProcessClass*> classes;
  std::vector<std::string> names;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterProcessClass(const TProcessClass* WindowClass, const std::string& Name) {
  Registry& r = TheRegistry();
  if (!WindowClass || std::find(r.classes.begin(), r.classes.end(), WindowClass) != r.classes.end()) return;
  r.classes.push_back(WindowClass);
  r.names.push_back(Name);
}

const TProcessClass* FindProcessClass(std::string_view Name) {
  const Registry& r = TheRegistry();
  for (std::size_t i = 0; i < r.names.size(); ++i)
    if (SameText(r.names[i], Name)) return r.classes[i];
  return nullptr;
}

const std::vector<const TProcessClass*>& ProcessClassList() { return TheRegistry().classes; }
const std::vector<std::string>& ProcessNameList() { return TheRegistry().names; }
