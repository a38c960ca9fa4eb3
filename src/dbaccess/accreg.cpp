#include "dbaccess/accreg.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/queryfactory.h"
#include "dbaccess/regtypes.h"
#include "platform/fb/ibstrings.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

// One store operation: its own query on the data set, IBTransactionDAT
// started (and committed) when idle, rolled back on error only when started
// here, the error passed on in every case.
void RunInStore(const std::function<void(TIBSQL&)>& body) {
  std::unique_ptr<TIBSQL> query = CreateAccSQL("ACCDAT", 0);
  if (!query) throw Exception("ACCREG: query object cannot be created");
  TTransactionGuard scope(DataSetConnection().IBTransactionDAT);
  try {
    scope.Begin();
    body(*query);
    query->Close();
    scope.Commit();
  } catch (...) {
    query->Close();
    scope.Rollback();
    throw;
  }
}

void BindGroupKey(TIBSQL& query, const std::string& group, const std::string& key) {
  query.ParamByName("AGROUP").AsString(group);
  query.ParamByName("ACODE").AsString(key);
}

void BindBlobKey(TIBSQL& query, const std::string& group, const std::string& key) {
  query.ParamByName("FGROUP").AsString(group);
  query.ParamByName("FKEY").AsString(key);
}

bool IsPictureKind(const std::string& type) { return type == "画像" || type == "BMP" || type == "JPG"; }

// Memo lines, each followed by a carriage return and a line feed.
std::string MemoText(const std::string& text) {
  TIBStrings lines;
  lines.SetText(text);
  std::string out;
  for (const std::string& line : lines.Lines()) out += line + "\r\n";
  return out;
}

}  // namespace

std::optional<std::string> ReadAccRegText(TIBSQL& Statement, const std::string& Group, const std::string& Key) {
  SetSql(Statement, "SELECT ATYPE,ATEXT FROM ACCREG WHERE AGROUP=:AGROUP AND ACODE=:ACODE ");
  BindGroupKey(Statement, Group, Key);
  Statement.ExecQuery();
  std::optional<std::string> text;
  if (!Statement.Eof()) text = Statement.FieldByName("ATEXT").AsString();
  Statement.Close();
  return text;
}

void UpdateAccRegText(TIBSQL& Statement, const std::string& Group, const std::string& Key,
                      const std::optional<std::string>& Text) {
  SetSql(Statement, "UPDATE ACCREG SET ATEXT=:ATEXT\nWHERE AGROUP=:AGROUP AND ACODE=:ACODE");
  BindGroupKey(Statement, Group, Key);
  if (Text) Statement.ParamByName("ATEXT").AsString(*Text);
  else Statement.ParamByName("ATEXT").Clear();
  Statement.ExecQuery();
  Statement.Close();
}

namespace {

void InsertAccReg(TIBSQL& q, const std::string& Group, const std::string& Key, const std::string& Type,
                  const std::optional<std::string>& Text) {
  SetSql(q, "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT)\nVALUES(:AGROUP,:ACODE,:ATYPE,:ATEXT)");
  BindGroupKey(q, Group, Key);
  q.ParamByName("ATYPE").AsString(Type);
  if (Text) q.ParamByName("ATEXT").AsString(*Text);
  else q.ParamByName("ATEXT").Clear();
  q.ExecQuery();
  q.Close();
}

}  // namespace

void GetAccReg(const std::string& Group, const std::string& Key, const std::string& Type,
               const std::string& Default, TVariant& Value) {
  RunInStore([&](TIBSQL& q) {
    std::optional<std::string> text = ReadAccRegText(q, Group, Key);
    if (!text) {
      InsertAccReg(q, Group, Key, Type, Default);
      text = Default;
    }
    Value = RegTextToValue(TRegStore::DataSet, Type, *text);
  });
}

void PutAccReg(const std::string& Group, const std::string& Key, const std::string& Type, const TVariant& Value) {
  RunInStore([&](TIBSQL& q) {
    const std::optional<std::string> text = RegValueToText(TRegStore::DataSet, Type, Value);
    if (ReadAccRegText(q, Group, Key))
      UpdateAccRegText(q, Group, Key, text);
    else
      InsertAccReg(q, Group, Key, Type, text);
  });
}

void DeleteAccReg(const std::string& Group, const std::string& Key) {
  RunInStore([&](TIBSQL& q) {
    SetSql(q, "DELETE FROM ACCREG\nWHERE (AGROUP=:AGROUP) AND (ACODE=:ACODE)");
    BindGroupKey(q, Group, Key);
    q.ExecQuery();
    q.Close();
  });
}

std::string NewAccRegPictureFile(const std::string& Folder, const std::string& Extension) {
  const std::string stem = PathJoin(Folder, "accreg-" + FormatDateTime("yyyymmddhhnnss", Now()));
  for (int n = 0;; ++n) {
    const std::string path = n == 0 ? stem + Extension : stem + "-" + IntToStr(n) + Extension;
    // Claim the name, so that two reads in the same second never share a file.
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) throw Exception("ファイルを作成できません: " + path);
  }
}

void GetAccRegBlob(const std::string& Group, const std::string& Key, const std::string& /*Type*/, TVariant& Value) {
  RunInStore([&](TIBSQL& q) {
    SetSql(q, "SELECT FGROUP,FKEY,FTYPE,FVALUE FROM ACCREG_BLOB_BINARY\nWHERE FGROUP=:FGROUP AND FKEY=:FKEY");
    BindBlobKey(q, Group, Key);
    q.ExecQuery();
    if (q.Eof()) return;
    const std::string stored = q.FieldByName("FTYPE").AsTrimString();
    if (IsPictureKind(stored)) {
      const std::string path = NewAccRegPictureFile(SystemDef.WinTempDir, stored == "JPG" ? ".jpg" : ".bmp");
      try {
        q.FieldByName("FVALUE").SaveToFile(path);
      } catch (...) {
        DeleteFile(path);
        throw;
      }
      Value = TVariant(path);
    } else if (stored == "メモ") {
      Value = TVariant(MemoText(Cp932ToUtf8Lossy(q.FieldByName("FVALUE").AsBytes())));
    }
  });
}

void PutAccRegBlob(const std::string& Group, const std::string& Key, const std::string& Type, const TVariant& Value) {
  RunInStore([&](TIBSQL& q) {
    SetSql(q, "SELECT COUNT(FGROUP) AS RECCNT FROM ACCREG_BLOB_BINARY\nWHERE (FGROUP=:FGROUP) AND (FKEY=:FKEY)");
    BindBlobKey(q, Group, Key);
    q.ExecQuery();
    const bool exists = q.FieldByName("RECCNT").AsInteger() > 0;
    if (exists) {
      SetSql(q, "UPDATE ACCREG_BLOB_BINARY SET FTYPE=:FTYPE,FVALUE=:FVALUE\nWHERE FGROUP=:FGROUP AND FKEY=:FKEY");
    } else {
      SetSql(q, "INSERT INTO ACCREG_BLOB_BINARY(FGROUP,FKEY,FTYPE,FVALUE)\nVALUES(:FGROUP,:FKEY,:FTYPE,:FVALUE)");
    }
    BindBlobKey(q, Group, Key);
    q.ParamByName("FTYPE").AsString(Type);
    TIBXSQLVAR& value = q.ParamByName("FVALUE");
    if (IsPictureKind(Type)) value.LoadFromFile(Value.AsString());
    else if (Type == "メモ") value.AsBytes(Utf8ToCp932Lossy(MemoText(Value.AsString())));
    else value.Clear();
    q.ExecQuery();
    q.Close();
  });
}
