// Named points inside operations that must not lose data when they are cut
// short (an atomic write just before its rename, the steps of a database
// restore). A test sets the hook to stop the process there (and kill it) or to
// fail the step by throwing; unset, the points do nothing.
#pragma once

#include <functional>
#include <string_view>

inline std::function<void(std::string_view Point)> FaultPointHook;

inline void FaultPoint(std::string_view Point) {
  if (FaultPointHook) FaultPointHook(Point);
}
