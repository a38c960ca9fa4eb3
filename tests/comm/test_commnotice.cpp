// The texts the exchange's boxes give for an exception: the class named as
// the program names its exception classes, never a compiler's mangled name.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>

#include "comm/cipher.h"
#include "comm/commnotice.h"
#include "comm/curlsession.h"
#include "platform/fb/iberror.h"
#include "platform/rtl/sysutils.h"

namespace {

TEST(CommNotice, ExceptionClassesAreNamedAsTheProgramNamesThem) {
  struct Case {
    const char* expected;
    std::function<void()> raise;
  } cases[] = {
      {"EIBError", [] { throw EIBError("connection lost", -902, 335544721); }},
      {"EConvertError", [] { throw EConvertError("'x' is not a number"); }},
      {"ECipherError", [] { throw ECipherError("bad pass phrase"); }},
      {"ETransferError", [] { throw ETransferError(CURLE_COULDNT_CONNECT, "no route"); }},
      {"Exception", [] { throw Exception("plain"); }},
      {"EOutOfMemory", [] { throw std::bad_alloc(); }},
      {"EInOutError",
       [] { throw std::filesystem::filesystem_error("copy", std::make_error_code(std::errc::no_space_on_device)); }},
      {"Exception", [] { throw std::out_of_range("index"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    try {
      c.raise();
      ADD_FAILURE() << "nothing raised";
    } catch (const std::exception& e) {
      EXPECT_EQ(ExceptionClassName(e), c.expected);
    }
  }
}

TEST(CommNotice, ErrorTextJoinsHeadClassAndMessage) {
  try {
    throw EIBError("connection lost", -902, 335544721);
  } catch (const std::exception& e) {
    EXPECT_EQ(ExceptionErrorText("クラウドシェアデータ送信処理中にエラーになりました。\r\n", e),
              "クラウドシェアデータ送信処理中にエラーになりました。\r\nEIBError error , with message : connection lost");
  }
}

}  // namespace
