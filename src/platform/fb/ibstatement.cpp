#include "platform/fb/ibstatement.h"

#include <ibase.h>

#include <algorithm>
#include <cstring>

#include "platform/fb/fbapi.h"
#include "platform/fb/ibsql.h"
#include "platform/rtl/sysutils.h"

namespace {

bool IsSelect(unsigned type) {
  return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

template <typename T>
void Put(std::vector<unsigned char>& buffer, unsigned offset, T value) {
  std::memcpy(buffer.data() + offset, &value, sizeof(T));
}

template <typename T>
T Get(const unsigned char* row, unsigned offset) {
  T value;
  std::memcpy(&value, row + offset, sizeof(T));
  return value;
}

}  // namespace

TIBCustomStatement::TIBCustomStatement() = default;

TIBCustomStatement::~TIBCustomStatement() { Unprepare(); }

void TIBCustomStatement::SetDatabase(TIBDatabase* database) {
  if (database == database_) return;
  Unprepare();
  database_ = database;
}

TIBTransaction* TIBCustomStatement::Transaction() const {
  if (transaction_) return transaction_;
  return database_ ? database_->DefaultTransaction() : nullptr;
}

void TIBCustomStatement::SetTransaction(TIBTransaction* transaction) {
  if (transaction == transaction_) return;
  Close();
  transaction_ = transaction;
}

void TIBCustomStatement::CheckDatabase() const {
  if (!database_) fbapi::Fail("Database not assigned", 0, -901);
  if (!database_->Connected()) fbapi::Fail("Database not connected: " + database_->DatabaseName, 0, -901);
}

TIBTransaction* TIBCustomStatement::ActiveTransaction() {
  TIBTransaction* transaction = Transaction();
  if (!transaction) fbapi::Fail("Transaction not assigned", 0, -901);
  if (!transaction->InTransaction()) transaction->StartTransaction();
  return transaction;
}

// Parameters --------------------------------------------------------------

void TIBCustomStatement::SyncParams() {
  std::string key = (ParamCheck ? "1" : "0") + SQL.Text();
  if (key == parsedText_) return;
  parsedText_ = key;
  if (ParamCheck) {
    parsed_ = ParseSQLParams(SQL.Text());
  } else {
    parsed_ = TIBParsedSQL{SQL.Text(), {}};
  }
  params_.clear();
  for (const std::string& name : parsed_.positions) {
    auto same = [&](const std::unique_ptr<TIBXSQLVAR>& p) { return p->Name() == name; };
    if (std::none_of(params_.begin(), params_.end(), same))
      params_.push_back(std::make_unique<TIBXSQLVAR>(name, this));
  }
}

int TIBCustomStatement::ParamCount() {
  SyncParams();
  return static_cast<int>(params_.size());
}

TIBXSQLVAR& TIBCustomStatement::Params(int index) {
  SyncParams();
  if (index < 0 || index >= static_cast<int>(params_.size()))
    fbapi::Fail("Parameter index out of range: " + std::to_string(index));
  return *params_[static_cast<std::size_t>(index)];
}

TIBXSQLVAR* TIBCustomStatement::FindParam(const std::string& name) {
  SyncParams();
  for (auto& param : params_) {
    if (SameText(param->Name(), name)) return param.get();
  }
  return nullptr;
}

TIBXSQLVAR& TIBCustomStatement::ParamByName(const std::string& name) {
  TIBXSQLVAR* param = FindParam(name);
  if (!param) fbapi::Fail("Parameter not found: " + name, 0, -206);
  return *param;
}

// Columns ----------------------------------------------------------------

TIBXSQLVAR& TIBCustomStatement::Fields(int index) {
  if (index < 0 || index >= FieldCount()) fbapi::Fail("Field index out of range: " + std::to_string(index));
  return *fields_[static_cast<std::size_t>(index)];
}

TIBXSQLVAR* TIBCustomStatement::FindField(const std::string& name) {
  for (auto& field : fields_) {
    if (SameText(field->Name(), name)) return field.get();
  }
  return nullptr;
}

TIBXSQLVAR& TIBCustomStatement::FieldByName(const std::string& name) {
  TIBXSQLVAR* field = FindField(name);
  if (!field) fbapi::Fail("Field not found: " + name, 0, -206);
  return *field;
}

// Prepare ----------------------------------------------------------------

bool TIBCustomStatement::Prepared() const {
  return statement_ && database_ && database_->Connected() &&
         preparedConnection_ == database_->ConnectionId() && preparedText_ == (ParamCheck ? "1" : "0") + SQL.Text();
}

void TIBCustomStatement::Prepare() {
  if (Prepared()) return;
  Unprepare();
  CheckDatabase();
  SyncParams();
  TIBTransaction* transaction = ActiveTransaction();
  const std::string text = fbapi::Utf8ToServerText(parsed_.sql);
  fbapi::Status st;
  Firebird::IStatement* statement = database_->Handle()->prepare(
      &st, transaction->Handle(), static_cast<unsigned>(text.size()), text.c_str(), static_cast<unsigned>(database_->SQLDialect),
      Firebird::IStatement::PREPARE_PREFETCH_METADATA);
  st.Check();
  statement_ = statement;
  preparedText_ = parsedText_;
  preparedConnection_ = database_->ConnectionId();
  statementType_ = statement_->getType(&st);
  st.Check();
  outMeta_ = statement_->getOutputMetadata(&st);
  st.Check();
  const unsigned count = outMeta_->getCount(&st);
  st.Check();
  columns_.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    std::string name = outMeta_->getAlias(&st, i);
    if (name.empty()) name = outMeta_->getField(&st, i);
    fields_.push_back(std::make_unique<TIBXSQLVAR>(fbapi::ServerTextToUtf8(name), this, static_cast<int>(i)));
    TColumnLayout column;
    column.offset = outMeta_->getOffset(&st, i);
    column.nullOffset = outMeta_->getNullOffset(&st, i);
    column.type = outMeta_->getType(&st, i) & ~1u;
    column.length = outMeta_->getLength(&st, i);
    column.scale = outMeta_->getScale(&st, i);
    column.charSet = outMeta_->getCharSet(&st, i);
    column.subType = outMeta_->getSubType(&st, i);
    st.Check();
    columns_.push_back(column);
  }
  row_.assign(outMeta_->getMessageLength(&st), 0);
  st.Check();
}

std::string TIBCustomStatement::Plan() {
  Prepare();
  fbapi::Status st;
  const char* plan = statement_->getPlan(&st, false);
  st.Check();
  return plan ? fbapi::ServerTextToUtf8(plan) : std::string();
}

fbapi::Status& TIBCustomStatement::Status() {
  if (!status_) status_ = std::make_unique<fbapi::Status>();
  return *status_;
}

void TIBCustomStatement::Unprepare() noexcept {
  Close();
  if (outMeta_) outMeta_->release();
  outMeta_ = nullptr;
  if (statement_) {
    bool freed = false;
    if (database_ && database_->Connected() && preparedConnection_ == database_->ConnectionId()) {
      try {
        fbapi::Status st;
        statement_->free(&st);
        freed = !st.Failed();
      } catch (...) {
        // not freed: the handle is released below
      }
    }
    if (!freed) statement_->release();
  }
  statement_ = nullptr;
  preparedText_.clear();
  fields_.clear();
  columns_.clear();
  row_.clear();
}

// Parameter binding --------------------------------------------------------

void TIBCustomStatement::BindParams(std::vector<unsigned char>& buffer, Firebird::IMessageMetadata*& metadata) {
  fbapi::Status st;
  Firebird::IMessageMetadata* original = statement_->getInputMetadata(&st);
  st.Check();
  const unsigned count = original->getCount(&st);
  if (count != parsed_.positions.size()) {
    original->release();
    fbapi::Fail("The statement has " + std::to_string(count) + " parameters, the text names " +
                std::to_string(parsed_.positions.size()), 0, -804);
  }
  std::vector<TIBValue> values(count);
  Firebird::IMetadataBuilder* builder = original->getBuilder(&st);
  try {
    st.Check();
    for (unsigned i = 0; i < count; ++i) {
      TIBValue& value = values[i];
      value = FindParam(parsed_.positions[i])->Value();
      const unsigned originalType = original->getType(&st, i) & ~1u;
      if (value.kind == TIBValue::Kind::Null) continue;
      if (originalType == SQL_BLOB) {
        // Blob parameters are written as blobs; any value goes in as its text.
        if (value.kind != TIBValue::Kind::Text && value.kind != TIBValue::Kind::Bytes &&
            value.kind != TIBValue::Kind::Blob) {
          TIBXSQLVAR text("", nullptr);
          text.SetValue(value);
          value.bytes = fbapi::Utf8ToServerText(text.AsString());
          value.kind = TIBValue::Kind::Text;
        }
        continue;
      }
      unsigned type = 0, length = 0;
      int scale = 0;
      switch (value.kind) {
        case TIBValue::Kind::Text:
        case TIBValue::Kind::Bytes: {
          type = SQL_VARYING;
          length = static_cast<unsigned>(std::max<std::size_t>(value.bytes.size(), 1));
          if (originalType == SQL_TEXT || originalType == SQL_VARYING) {
            builder->setCharSet(&st, i, original->getCharSet(&st, i));
          } else {
            builder->setCharSet(&st, i, value.kind == TIBValue::Kind::Bytes ? 1 : 0);
          }
          break;
        }
        case TIBValue::Kind::Int: type = SQL_INT64; length = 8; scale = value.scale; break;
        case TIBValue::Kind::Double: type = SQL_DOUBLE; length = 8; break;
        case TIBValue::Kind::Date: type = SQL_TYPE_DATE; length = 4; break;
        case TIBValue::Kind::Time: type = SQL_TYPE_TIME; length = 4; break;
        case TIBValue::Kind::Timestamp: type = SQL_TIMESTAMP; length = 8; break;
        case TIBValue::Kind::Boolean:
          if (originalType == SQL_BOOLEAN) {
            type = SQL_BOOLEAN; length = 1;
          } else {
            value = TIBValue{TIBValue::Kind::Int, {}, value.boolean ? 1 : 0};
            type = SQL_INT64; length = 8;
          }
          break;
        case TIBValue::Kind::Blob:
          fbapi::Fail("A blob id cannot be bound to parameter " + parsed_.positions[i]);
        case TIBValue::Kind::Null: break;
      }
      builder->setType(&st, i, type | 1u);
      st.Check();
      if (type != SQL_VARYING) builder->setCharSet(&st, i, 0);
      builder->setSubType(&st, i, 0);
      builder->setLength(&st, i, length);
      builder->setScale(&st, i, scale);
      st.Check();
    }
    metadata = builder->getMetadata(&st);
    st.Check();
  } catch (...) {
    builder->release();
    original->release();
    throw;
  }
  builder->release();
  original->release();

  buffer.assign(metadata->getMessageLength(&st), 0);
  for (unsigned i = 0; i < count; ++i) {
    const TIBValue& value = values[i];
    const unsigned offset = metadata->getOffset(&st, i);
    const unsigned nullOffset = metadata->getNullOffset(&st, i);
    const unsigned type = metadata->getType(&st, i) & ~1u;
    Put<short>(buffer, nullOffset, value.kind == TIBValue::Kind::Null ? -1 : 0);
    if (value.kind == TIBValue::Kind::Null) continue;
    if (type == SQL_BLOB) {
      TIBTransaction* transaction = ActiveTransaction();
      ISC_QUAD id{};
      Firebird::IBlob* blob = database_->Handle()->createBlob(&st, transaction->Handle(), &id, 0, nullptr);
      st.Check();
      for (std::size_t pos = 0; pos < value.bytes.size(); pos += 32000) {
        const std::size_t piece = std::min<std::size_t>(32000, value.bytes.size() - pos);
        blob->putSegment(&st, static_cast<unsigned>(piece), value.bytes.data() + pos);
        if (st.Failed()) {
          blob->release();
          st.Check();
        }
      }
      blob->close(&st);
      if (st.Failed()) {
        blob->release();
        st.Check();
      }
      Put<ISC_QUAD>(buffer, offset, id);
      continue;
    }
    switch (value.kind) {
      case TIBValue::Kind::Text:
      case TIBValue::Kind::Bytes:
        if (value.bytes.size() > 32765) fbapi::Fail("Text too long for parameter " + parsed_.positions[i], 335544321, -802);
        Put<unsigned short>(buffer, offset, static_cast<unsigned short>(value.bytes.size()));
        std::memcpy(buffer.data() + offset + 2, value.bytes.data(), value.bytes.size());
        break;
      case TIBValue::Kind::Int: Put<std::int64_t>(buffer, offset, value.integer); break;
      case TIBValue::Kind::Double: Put<double>(buffer, offset, value.real); break;
      case TIBValue::Kind::Date: Put<ISC_DATE>(buffer, offset, value.date); break;
      case TIBValue::Kind::Time: Put<ISC_TIME>(buffer, offset, value.time); break;
      case TIBValue::Kind::Timestamp: Put<ISC_TIMESTAMP>(buffer, offset, ISC_TIMESTAMP{value.date, value.time}); break;
      case TIBValue::Kind::Boolean: Put<FB_BOOLEAN>(buffer, offset, value.boolean ? FB_TRUE : FB_FALSE); break;
      default: break;
    }
  }
}

// Execution --------------------------------------------------------------

void TIBCustomStatement::Execute(bool fetchFirst) {
  Close();
  Prepare();
  TIBTransaction* transaction = ActiveTransaction();
  std::vector<unsigned char> input;
  Firebird::IMessageMetadata* inMeta = nullptr;
  fbapi::Status st;
  try {
    BindParams(input, inMeta);
    rowsAffected_ = 0;
    if (IsSelect(statementType_)) {
      cursor_ = statement_->openCursor(&st, transaction->Handle(), inMeta, input.data(), outMeta_, 0);
      st.Check();
      cursorTransaction_ = transaction;
      cursorGeneration_ = transaction->Generation();
      eof_ = false;
      bof_ = true;
      if (fetchFirst) FetchNext();
    } else {
      const bool hasOutput = !fields_.empty();
      statement_->execute(&st, transaction->Handle(), inMeta, input.data(), hasOutput ? outMeta_ : nullptr,
                          hasOutput ? row_.data() : nullptr);
      st.Check();
      rowsAffected_ = static_cast<int>(statement_->getAffectedRecords(&st));
      if (st.Failed()) rowsAffected_ = 0;
      if (hasOutput) {
        singleton_ = true;
        cursorTransaction_ = transaction;
        cursorGeneration_ = transaction->Generation();
        recordCount_ = 1;
        eof_ = false;
        bof_ = true;
        if (buffered_) {
          rows_.push_back(row_);
          current_ = 0;
        }
      }
    }
  } catch (...) {
    if (inMeta) inMeta->release();
    throw;
  }
  if (inMeta) inMeta->release();
}

bool TIBCustomStatement::CursorStale() const {
  return !cursorTransaction_ || !cursorTransaction_->InTransaction() ||
         cursorTransaction_->Generation() != cursorGeneration_;
}

bool TIBCustomStatement::FetchNext() {
  if (singleton_ || !cursor_ || exhausted_) {
    eof_ = true;
    return false;
  }
  if (CursorStale()) fbapi::Fail("The cursor was closed by the end of its transaction", ibcodes::kNoCur, -504);
  fbapi::Status& st = Status();
  int result = cursor_->fetchNext(&st, row_.data());
  st.Check();
  if (result != Firebird::IStatus::RESULT_OK) {
    eof_ = true;
    exhausted_ = true;
    return false;
  }
  ++recordCount_;
  bof_ = recordCount_ == 1;
  eof_ = false;
  if (buffered_) {
    rows_.push_back(row_);
    current_ = static_cast<int>(rows_.size()) - 1;
  }
  return true;
}

bool TIBCustomStatement::Active() const { return cursor_ != nullptr || singleton_; }

bool TIBCustomStatement::Eof() const { return eof_; }

void TIBCustomStatement::CheckActive() const {
  if (!Active()) fbapi::Fail("The dataset is not open", 0, -504);
}

void TIBCustomStatement::Close() noexcept {
  if (cursor_) {
    bool closed = false;
    if (!CursorStale()) {
      try {
        fbapi::Status st;
        cursor_->close(&st);
        closed = !st.Failed();
      } catch (...) {
        // not closed: the cursor is released below
      }
    }
    if (!closed) cursor_->release();
  }
  cursor_ = nullptr;
  cursorTransaction_ = nullptr;
  singleton_ = false;
  exhausted_ = false;
  rows_.clear();
  current_ = -1;
  eof_ = true;
  bof_ = true;
  recordCount_ = 0;
}

void SetSql(TIBCustomStatement& Statement, const std::string& Text) {
  Statement.Close();
  Statement.SQL.SetText(Text);
}

// Current row ------------------------------------------------------------

const unsigned char* TIBCustomStatement::CurrentRow() const {
  if (buffered_) {
    if (current_ < 0 || current_ >= static_cast<int>(rows_.size())) return nullptr;
    return rows_[static_cast<std::size_t>(current_)].data();
  }
  if (recordCount_ == 0 || row_.empty()) return nullptr;
  return row_.data();
}

TIBValue TIBCustomStatement::FieldValue(int index) const {
  TIBValue value;
  const unsigned char* row = CurrentRow();
  if (!row || index < 0 || static_cast<std::size_t>(index) >= columns_.size()) return value;
  const TColumnLayout& column = columns_[static_cast<std::size_t>(index)];
  if (Get<short>(row, column.nullOffset) != 0) return value;
  const unsigned offset = column.offset;
  switch (column.type) {
    case SQL_TEXT:
    case SQL_VARYING: {
      const bool varying = column.type == SQL_VARYING;
      const std::size_t length = varying ? Get<unsigned short>(row, offset) : column.length;
      value.bytes.assign(reinterpret_cast<const char*>(row + offset + (varying ? 2 : 0)), length);
      value.kind = column.charSet == 1 ? TIBValue::Kind::Bytes : TIBValue::Kind::Text;
      break;
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
      value.kind = TIBValue::Kind::Int;
      value.integer = column.type == SQL_SHORT  ? Get<std::int16_t>(row, offset)
                      : column.type == SQL_LONG ? Get<std::int32_t>(row, offset)
                                                : Get<std::int64_t>(row, offset);
      value.scale = column.scale;
      break;
    case SQL_FLOAT:
      value.kind = TIBValue::Kind::Double;
      value.real = Get<float>(row, offset);
      break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      value.kind = TIBValue::Kind::Double;
      value.real = Get<double>(row, offset);
      break;
    case SQL_TYPE_DATE:
      value.kind = TIBValue::Kind::Date;
      value.date = Get<ISC_DATE>(row, offset);
      break;
    case SQL_TYPE_TIME:
      value.kind = TIBValue::Kind::Time;
      value.time = Get<ISC_TIME>(row, offset);
      break;
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP ts = Get<ISC_TIMESTAMP>(row, offset);
      value.kind = TIBValue::Kind::Timestamp;
      value.date = ts.timestamp_date;
      value.time = ts.timestamp_time;
      break;
    }
    case SQL_BOOLEAN:
      value.kind = TIBValue::Kind::Boolean;
      value.boolean = Get<FB_BOOLEAN>(row, offset) != 0;
      break;
    case SQL_BLOB: {
      ISC_QUAD id = Get<ISC_QUAD>(row, offset);
      value.kind = TIBValue::Kind::Blob;
      value.blobHigh = static_cast<std::uint32_t>(id.gds_quad_high);
      value.blobLow = id.gds_quad_low;
      value.textBlob = column.subType == 1;
      break;
    }
    default:
      break;   // SQL_NULL and arrays read as NULL
  }
  return value;
}

std::string TIBCustomStatement::ReadBlob(const TIBValue& blob) const {
  TIBTransaction* transaction = cursorTransaction_ ? cursorTransaction_ : Transaction();
  if (!database_ || !database_->Connected() || !transaction || !transaction->InTransaction())
    fbapi::Fail("A blob can only be read while its transaction is active", 0, -901);
  ISC_QUAD id;
  id.gds_quad_high = static_cast<ISC_LONG>(blob.blobHigh);
  id.gds_quad_low = blob.blobLow;
  fbapi::Status st;
  Firebird::IBlob* handle = database_->Handle()->openBlob(&st, transaction->Handle(), &id, 0, nullptr);
  st.Check();
  std::string bytes;
  std::vector<char> piece(32768);
  for (;;) {
    unsigned got = 0;
    int result = handle->getSegment(&st, static_cast<unsigned>(piece.size()), piece.data(), &got);
    if (st.Failed()) {
      handle->release();
      st.Check();
    }
    if (result == Firebird::IStatus::RESULT_NO_DATA) break;
    bytes.append(piece.data(), got);
  }
  handle->close(&st);
  if (st.Failed()) handle->release();
  return bytes;
}

// TIBQuery navigation ----------------------------------------------------

void TIBQuery::First() {
  CheckActive();
  if (rows_.empty()) {
    eof_ = true;
    return;
  }
  current_ = 0;
  bof_ = true;
  eof_ = false;
}

void TIBQuery::Next() {
  CheckActive();
  if (current_ + 1 < static_cast<int>(rows_.size())) {
    ++current_;
    bof_ = false;
    eof_ = false;
    return;
  }
  if (FetchNext()) {
    bof_ = false;
  } else {
    eof_ = true;
  }
}

void TIBQuery::Prior() {
  CheckActive();
  if (current_ > 0) {
    --current_;
    eof_ = false;
    bof_ = false;
  } else {
    bof_ = true;
  }
}

void TIBQuery::Last() {
  CheckActive();
  while (FetchNext()) {
  }
  if (!rows_.empty()) current_ = static_cast<int>(rows_.size()) - 1;
  eof_ = true;
  bof_ = rows_.empty();
}
