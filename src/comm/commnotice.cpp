#include "comm/commnotice.h"

#include <cxxabi.h>

#include <cstdlib>
#include <filesystem>
#include <ios>
#include <memory>
#include <new>
#include <typeinfo>

namespace {

std::string Demangled(const char* name) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> text(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
  return status == 0 && text ? std::string(text.get()) : std::string(name);
}

}  // namespace

std::string ExceptionClassName(const std::exception& E) {
  if (dynamic_cast<const std::bad_alloc*>(&E)) return "EOutOfMemory";
  if (dynamic_cast<const std::filesystem::filesystem_error*>(&E) || dynamic_cast<const std::ios_base::failure*>(&E))
    return "EInOutError";
  // The program's own classes live in the global namespace and begin with "E".
  const std::string name = Demangled(typeid(E).name());
  if (name.size() > 1 && name[0] == 'E' && name.find(':') == std::string::npos &&
      name.find('<') == std::string::npos)
    return name;
  return "Exception";
}

std::string ExceptionErrorText(const std::string& Head, const std::exception& E) {
  return Head + ExceptionClassName(E) + " error , with message : " + E.what();
}
