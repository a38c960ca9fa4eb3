// TIBSQL (any statement, forward-only) and TIBQuery (a select read into a
// buffer that can be walked back and forth).
#pragma once

#include "platform/fb/ibstatement.h"

class TIBSQL : public TIBCustomStatement {
 public:
  // Runs the statement; a select is positioned on its first row.
  void ExecQuery() { Execute(true); }
  void Next() { FetchNext(); }
};

class TIBQuery : public TIBCustomStatement {
 public:
  TIBQuery() { buffered_ = true; }
  int BufferChunks = 1000;   // kept for the callers' settings

  // Opens a select on its first row; a statement that returns no rows is
  // executed and leaves the query closed.
  void Open() { Execute(true); }
  void SetActive(bool value) { value ? Open() : Close(); }
  // Runs a statement that returns no rows.
  void ExecSQL() { Execute(false); Close(); }

  void First();
  void Next();
  void Prior();
  void Last();
  bool IsEmpty() const { return recordCount_ == 0; }
};
