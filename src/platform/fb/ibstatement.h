// The statement core shared by TIBSQL, TIBQuery and TIBStoredProc: SQL as
// lines with ":NAME" parameters (a name may repeat; quoted strings, quoted
// identifiers and comments are not scanned), prepare, execute, cursor, the
// current row and its columns by name (case-insensitive).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fb/ibdatabase.h"
#include "platform/fb/ibstrings.h"
#include "platform/fb/ibvalue.h"

namespace Firebird {
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird
namespace fbapi {
class Status;
}  // namespace fbapi

// The SQL text with ":NAME" replaced by "?" and the parameter name of every
// "?" in order (upper-cased unless quoted).
struct TIBParsedSQL {
  std::string sql;
  std::vector<std::string> positions;
};
TIBParsedSQL ParseSQLParams(const std::string& sql);

class TIBCustomStatement {
 public:
  TIBCustomStatement();
  virtual ~TIBCustomStatement();
  TIBCustomStatement(const TIBCustomStatement&) = delete;
  TIBCustomStatement& operator=(const TIBCustomStatement&) = delete;

  TIBStrings SQL;
  // False: the text is sent as it stands (PSQL bodies with ":var").
  bool ParamCheck = true;

  TIBDatabase* Database() const { return database_; }
  void SetDatabase(TIBDatabase* database);
  // The statement's transaction, or the database's default transaction.
  TIBTransaction* Transaction() const;
  void SetTransaction(TIBTransaction* transaction);

  void Prepare();
  bool Prepared() const;
  void Unprepare() noexcept;
  // The server's access plan of the statement (prepares it when needed).
  std::string Plan();

  // Parameters by distinct name, in order of first appearance.
  int ParamCount();
  TIBXSQLVAR& Params(int index);
  TIBXSQLVAR& ParamByName(const std::string& name);   // EIBError when unknown
  TIBXSQLVAR* FindParam(const std::string& name);

  // Columns of the result (after Prepare or an execution).
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TIBXSQLVAR& Fields(int index);
  TIBXSQLVAR& FieldByName(const std::string& name);   // EIBError when unknown
  TIBXSQLVAR* FindField(const std::string& name);

  bool Active() const;
  bool Eof() const;
  bool Bof() const { return bof_; }
  int RecordCount() const { return recordCount_; }
  // Rows inserted, updated or deleted by the last execution.
  int RowsAffected() const { return rowsAffected_; }
  // Ends the cursor (the rows read stay readable only until then).
  void Close() noexcept;

  // Layer internals. FieldValue reads the column from the current row by the
  // layout taken at prepare time, without asking the server's metadata.
  TIBValue FieldValue(int index) const;
  std::string ReadBlob(const TIBValue& blob) const;

 protected:
  // Runs the statement; a select opens the cursor and (fetchFirst) reads the
  // first row; other statements run at once, a singleton result (EXECUTE
  // PROCEDURE, RETURNING) becomes one row.
  void Execute(bool fetchFirst);
  // Reads the next row; false at the end (Eof).
  bool FetchNext();
  // Keep every row read, for First/Prior/Last.
  bool buffered_ = false;
  std::vector<std::vector<unsigned char>> rows_;
  int current_ = -1;            // buffered: index of the current row
  bool eof_ = true;
  bool bof_ = true;
  int recordCount_ = 0;
  void CheckActive() const;

 private:
  void SyncParams();
  void CheckDatabase() const;
  TIBTransaction* ActiveTransaction();
  void BindParams(std::vector<unsigned char>& buffer, Firebird::IMessageMetadata*& metadata);
  const unsigned char* CurrentRow() const;
  bool CursorStale() const;

  TIBDatabase* database_ = nullptr;
  TIBTransaction* transaction_ = nullptr;

  std::string parsedText_;
  TIBParsedSQL parsed_;
  std::vector<std::unique_ptr<TIBXSQLVAR>> params_;
  std::vector<std::unique_ptr<TIBXSQLVAR>> fields_;

  // Where each column lies in the row buffer and what it holds, taken from
  // the output metadata once at prepare time.
  struct TColumnLayout {
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned type = 0;      // SQL_* without the nullable bit
    unsigned length = 0;
    int scale = 0;
    unsigned charSet = 0;
    int subType = 0;
  };
  std::vector<TColumnLayout> columns_;
  // One status object for the calls of this statement (the API wrapper
  // clears it before every call).
  std::unique_ptr<fbapi::Status> status_;
  fbapi::Status& Status();

  Firebird::IStatement* statement_ = nullptr;
  std::string preparedText_;
  std::uint64_t preparedConnection_ = 0;
  unsigned statementType_ = 0;
  Firebird::IMessageMetadata* outMeta_ = nullptr;
  Firebird::IResultSet* cursor_ = nullptr;
  TIBTransaction* cursorTransaction_ = nullptr;
  std::uint64_t cursorGeneration_ = 0;
  std::vector<unsigned char> row_;   // the current row when not buffered
  bool singleton_ = false;           // one row, no cursor
  bool exhausted_ = false;           // the cursor has delivered its last row
  int rowsAffected_ = 0;
};

// Closes the statement and gives it a new text, which is prepared when the
// statement next runs (or at an explicit Prepare).
void SetSql(TIBCustomStatement& Statement, const std::string& Text);
