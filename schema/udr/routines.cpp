// Firebird UDR plug-in "verudafs": the server file routines that the schema
// scripts declare with EXTERNAL NAME 'verudafs!<entry>' ENGINE UDR.
//
//   procedure FILEOPERATION(MODE, FILEPATH1, FILEPATH2) -> WBOOL   entry fileoperation
//   procedure DIRECTORYTEST(MODE, FILEPATH1) -> WBOOL              entry directorytest
//   procedure LONGTOSHORTFILENAME(LONGNAME) -> SHORTNAME           entry longtoshortfilename
//   function  SP_FILETOBLOB(FILEPATH) -> BLOB                      entry filetoblob
//   function  SP_BLOBTOFILE(FILEPATH, CONTENT) -> BIGINT (bytes)   entry blobtofile
//
// Written directly on the OO API of firebird/Interface.h. Every path
// parameter is asked for as UTF-8 text, whatever the connection uses.
#include <firebird/Interface.h>
#include <ibase.h>

#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "udr_message.h"
#include "file_ops.h"

using namespace Firebird;

namespace {

using Status = ThrowStatusWrapper;
using udr::Message;
using udr::Param;

constexpr unsigned kSegment = 32 * 1024;

[[noreturn]] void Raise(Status* status, const std::string& message) {
  const ISC_STATUS vector[] = {isc_arg_gds, isc_random, isc_arg_string,
                               static_cast<ISC_STATUS>(reinterpret_cast<std::intptr_t>(message.c_str())),
                               isc_arg_end};
  throw FbException(status, vector);
}

// Releases a reference-counted interface when the scope ends.
template <typename T>
struct Ref {
  T* ptr;
  explicit Ref(T* p) : ptr(p) {}
  ~Ref() {
    if (ptr) ptr->release();
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  T* operator->() const { return ptr; }
};

// The message layouts that this library asks for. The engine converts the
// declared parameters into them; the offsets come from the engine's own
// reading of the layout.
//
// That reading (the metadata the builders give) lives as long as the engine's
// copy of the routine in one database's metadata cache, not as long as this
// library: it is freed when that database closes. So it is kept per routine
// copy, keyed by the routine metadata that the engine passes to setup and then
// to newItem for that copy, and never used across databases. A copy that is
// set up again (a new database, or a reused address) replaces its entry; the
// replaced reading is not released, since its memory may be gone already.
class Layouts {
 public:
  struct Pair {
    IMessageMetadata* in = nullptr;
    IMessageMetadata* out = nullptr;
  };

  Layouts(std::vector<Param> in, std::vector<Param> out) : in_(std::move(in)), out_(std::move(out)) {}
  void Setup(Status* status, IRoutineMetadata* routine, IMetadataBuilder* in, IMetadataBuilder* out) {
    udr::Describe(status, in, in_);
    udr::Describe(status, out, out_);
    const Pair pair{in->getMetadata(status), out->getMetadata(status)};
    std::lock_guard<std::mutex> lock(mutex_);
    byRoutine_[routine] = pair;
  }
  Pair For(Status* status, IRoutineMetadata* routine) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = byRoutine_.find(routine);
    if (found == byRoutine_.end()) Raise(status, "verudafs: routine used before its set-up");
    return found->second;
  }

 private:
  std::vector<Param> in_, out_;
  mutable std::mutex mutex_;
  std::map<IRoutineMetadata*, Pair> byRoutine_;
};

// ------------------------------------------------------------ procedures

// A selectable procedure that answers exactly one row.
using ProcedureBody = std::function<void(Status*, IExternalContext*, Message&, Message&)>;

class SingleRowResult final : public IExternalResultSetImpl<SingleRowResult, Status> {
 public:
  void dispose() override { delete this; }
  FB_BOOLEAN fetch(Status*) override {
    if (answered_) return FB_FALSE;
    answered_ = true;
    return FB_TRUE;
  }

 private:
  bool answered_ = false;
};

class SingleRowProcedure final : public IExternalProcedureImpl<SingleRowProcedure, Status> {
 public:
  SingleRowProcedure(Layouts::Pair layout, const ProcedureBody& body) : layout_(layout), body_(body) {}
  void dispose() override { delete this; }
  void getCharSet(Status*, IExternalContext*, char*, unsigned) override {}
  IExternalResultSet* open(Status* status, IExternalContext* context, void* in, void* out) override {
    Message input(status, layout_.in, in);
    Message output(status, layout_.out, out);
    body_(status, context, input, output);
    return new SingleRowResult;
  }

 private:
  Layouts::Pair layout_;
  ProcedureBody body_;
};

class ProcedureFactory final : public IUdrProcedureFactoryImpl<ProcedureFactory, Status> {
 public:
  ProcedureFactory(std::vector<Param> in, std::vector<Param> out, ProcedureBody body)
      : layouts_(std::move(in), std::move(out)), body_(std::move(body)) {}
  void dispose() override {}
  void setup(Status* status, IExternalContext*, IRoutineMetadata* routine, IMetadataBuilder* in,
             IMetadataBuilder* out) override {
    layouts_.Setup(status, routine, in, out);
  }
  IExternalProcedure* newItem(Status* status, IExternalContext*, IRoutineMetadata* routine) override {
    return new SingleRowProcedure(layouts_.For(status, routine), body_);
  }

 private:
  Layouts layouts_;
  ProcedureBody body_;
};

// ------------------------------------------------------------- functions

using FunctionBody = ProcedureBody;

class Function final : public IExternalFunctionImpl<Function, Status> {
 public:
  Function(Layouts::Pair layout, const FunctionBody& body) : layout_(layout), body_(body) {}
  void dispose() override { delete this; }
  void getCharSet(Status*, IExternalContext*, char*, unsigned) override {}
  void execute(Status* status, IExternalContext* context, void* in, void* out) override {
    Message input(status, layout_.in, in);
    Message output(status, layout_.out, out);
    body_(status, context, input, output);
  }

 private:
  Layouts::Pair layout_;
  FunctionBody body_;
};

class FunctionFactory final : public IUdrFunctionFactoryImpl<FunctionFactory, Status> {
 public:
  FunctionFactory(std::vector<Param> in, std::vector<Param> out, FunctionBody body)
      : layouts_(std::move(in), std::move(out)), body_(std::move(body)) {}
  void dispose() override {}
  void setup(Status* status, IExternalContext*, IRoutineMetadata* routine, IMetadataBuilder* in,
             IMetadataBuilder* out) override {
    layouts_.Setup(status, routine, in, out);
  }
  IExternalFunction* newItem(Status* status, IExternalContext*, IRoutineMetadata* routine) override {
    return new Function(layouts_.For(status, routine), body_);
  }

 private:
  Layouts layouts_;
  FunctionBody body_;
};

// ----------------------------------------------------------- the routines

const Param kMode = Param::Text(40, udr::kCharsetAscii);
const Param kPath = Param::Text(4096, udr::kCharsetUtf8);

void FileOperationBody(Status*, IExternalContext*, Message& in, Message& out) {
  const bool ok = serverfs::FileOperation(in.Text(0), in.Text(1), in.Text(2));
  out.SetInteger(0, ok ? 1 : 0);
}

void DirectoryTestBody(Status*, IExternalContext*, Message& in, Message& out) {
  const bool ok = serverfs::DirectoryTest(in.Text(0), in.Text(1));
  out.SetInteger(0, ok ? 1 : 0);
}

void ShortNameBody(Status*, IExternalContext*, Message& in, Message& out) {
  if (in.IsNull(0)) {
    out.SetNull(0);
  } else {
    out.SetText(0, serverfs::ShortFileName(in.Text(0)));
  }
}

void FileToBlobBody(Status* status, IExternalContext* context, Message& in, Message& out) {
  if (in.IsNull(0)) Raise(status, "SP_FILETOBLOB: no file name given");
  std::string data;
  try {
    data = serverfs::ReadWholeFile(in.Text(0));
  } catch (const std::exception& e) {
    Raise(status, std::string("SP_FILETOBLOB: ") + e.what());
  }
  Ref<IAttachment> att(context->getAttachment(status));
  Ref<ITransaction> tra(context->getTransaction(status));
  ISC_QUAD id{};
  IBlob* blob = att->createBlob(status, tra.ptr, &id, 0, nullptr);
  try {
    for (size_t pos = 0; pos < data.size(); pos += kSegment) {
      const size_t n = data.size() - pos < kSegment ? data.size() - pos : kSegment;
      blob->putSegment(status, static_cast<unsigned>(n), data.data() + pos);
    }
    blob->close(status);
  } catch (...) {
    try {
      blob->cancel(status);
    } catch (...) {
    }
    throw;
  }
  out.SetBlobId(0, id);
}

void BlobToFileBody(Status* status, IExternalContext* context, Message& in, Message& out) {
  if (in.IsNull(0)) Raise(status, "SP_BLOBTOFILE: no file name given");
  std::string data;
  if (!in.IsNull(1)) {
    Ref<IAttachment> att(context->getAttachment(status));
    Ref<ITransaction> tra(context->getTransaction(status));
    ISC_QUAD id = in.BlobId(1);
    IBlob* blob = att->openBlob(status, tra.ptr, &id, 0, nullptr);
    try {
      std::vector<char> buffer(kSegment);
      for (;;) {
        unsigned got = 0;
        const int rc = blob->getSegment(status, kSegment, buffer.data(), &got);
        if (rc != IStatus::RESULT_OK && rc != IStatus::RESULT_SEGMENT) break;  // end of blob
        data.append(buffer.data(), got);
      }
      blob->close(status);
    } catch (...) {
      try {
        blob->cancel(status);
      } catch (...) {
      }
      throw;
    }
  }
  try {
    serverfs::WriteWholeFile(in.Text(0), data);
  } catch (const std::exception& e) {
    Raise(status, std::string("SP_BLOBTOFILE: ") + e.what());
  }
  out.SetBigint(0, static_cast<ISC_INT64>(data.size()));
}

ProcedureFactory fileOperation({kMode, kPath, kPath}, {Param::Integer()}, FileOperationBody);
ProcedureFactory directoryTest({kMode, kPath}, {Param::Integer()}, DirectoryTestBody);
ProcedureFactory longToShort({kPath}, {kPath}, ShortNameBody);
FunctionFactory fileToBlob({kPath}, {Param::Blob()}, FileToBlobBody);
FunctionFactory blobToFile({kPath, Param::Blob()}, {Param::Bigint()}, BlobToFileBody);

// Tells the engine when this library is unloaded before the engine unloads it.
struct UnloadNotice {
  FB_BOOLEAN* theirs = nullptr;
  FB_BOOLEAN mine = FB_FALSE;
  ~UnloadNotice() {
    if (theirs && !mine) *theirs = FB_TRUE;
  }
} unloadNotice;

}  // namespace

extern "C" FB_DLL_EXPORT FB_BOOLEAN* FB_UDR_PLUGIN_ENTRY_POINT(IStatus* status, FB_BOOLEAN* theirUnloadFlag,
                                                              IUdrPlugin* plugin) {
  unloadNotice.theirs = theirUnloadFlag;
  CheckStatusWrapper st(status);
  plugin->registerProcedure(&st, "fileoperation", &fileOperation);
  plugin->registerProcedure(&st, "directorytest", &directoryTest);
  plugin->registerProcedure(&st, "longtoshortfilename", &longToShort);
  plugin->registerFunction(&st, "filetoblob", &fileToBlob);
  plugin->registerFunction(&st, "blobtofile", &blobToFile);
  return &unloadNotice.mine;
}
