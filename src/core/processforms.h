// Windows that can be started by a process name instead of by class. Each
// such window class registers itself under its name while the program loads;
// the start hook (StartProcessProc) looks the name up, creates the window,
// hands it the name=value parameter lines and runs it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The interface of a window that can be started by name.
// GUID {42B77FEA-D7D9-48D1-A3A2-095AB52ACC8A}.
class IProcessForm {
 public:
  virtual ~IProcessForm() = default;
  // Modal 1 shows the window modally and returns its modal result (-1 when it
  // refuses to run); any other value shows it modelessly and returns at once.
  virtual std::int32_t Execute(std::int32_t Modal) = 0;
  // The name=value lines; at least SyoriType (the operation) and FormStyle
  // (missing or 0 child window, 1 frame, 2 normal window, other stay on top).
  virtual void SetParams(const std::vector<std::string>& Params) = 0;
};

// A window class reference: its name and how to create a window of it with
// the given owner. Create returns the window's process interface, or null
// when the window does not implement one. One static instance per class; the
// instance's address is the class's identity.
struct TProcessClass {
  std::string ClassName;
  std::function<std::unique_ptr<IProcessForm>(void* Owner)> Create;
};

// Appends the class under Name unless the class is already registered (a
// class keeps its first name).
void RegisterProcessClass(const TProcessClass* WindowClass, const std::string& Name);
// The class registered under Name (compared without regard to case), or null.
const TProcessClass* FindProcessClass(std::string_view Name);

// The two parallel lists, in registration order.
const std::vector<const TProcessClass*>& ProcessClassList();
const std::vector<std::string>& ProcessNameList();

// Process names registered in this system.
inline constexpr const char* kProcDataSentaku = "WzDataSenkaku";
inline constexpr const char* kProcLoginUsers = "WebMenuL";
inline constexpr const char* kProcDataTusin = "WzDataTusin";
inline constexpr const char* kProcTusinSettei = "WzTusinSettei";
