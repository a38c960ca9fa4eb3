// The personal-number (マイナンバー) settings of a data set (settings store
// ACCREG, group "基本設定": "＃USE", and the protected "＃KEY" and "＃VALUE")
// and its management log (table MYNUMBER_LOG), and the prompt for the
// management password. The backup/restore worker uses them to confirm a
// backup, to leave the settings out of a copy and to carry the log over a
// restore.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fb/ibx.h"
#include "platform/rtl/datetime.h"

struct TMyNumberLogRec {
  TDateTime FHIZUKE = 0;   // 0: stamped when the row is inserted
  std::string FSERIAL;
  std::string FOPCODE;
  std::string FOPNAME;
  std::string FHOST;
  std::uint8_t FSTATE = 0;
  std::string FPROCNAME;
  std::string FCOMMENT;
};
using TMyNumberLogList = std::vector<TMyNumberLogRec>;

// True when the operator is no personal-number administrator, or typed the
// management password Key (at most three tries).
bool AskMyNumberPassword(const std::string& Key);

class TMyNumberIO {
 public:
  TMyNumberIO();

  std::string CompanyName;
  std::int32_t LogCount = 0;
  TMyNumberLogList Log;
  TMyNumberLogRec LogRec;   // the row the last clearing wrote
  std::int32_t UseFlag = 0;
  std::string Key;          // plain texts read last
  std::string Value;

  void MakeLogRec(TMyNumberLogRec& Rec, std::uint8_t State, const std::string& ProcName) const;
  // On the connected data set.
  void ReadLog(std::int32_t Descending);
  void AddLog(TMyNumberLogRec& Rec);
  void DeleteLog(const TMyNumberLogRec& Rec);
  // On the data set whose database file is DataFile (connected for the call
  // when it is not connected already).
  void LoadLog(const std::string& Host, const std::string& DataFile);
  void AddLogTo(TMyNumberLogRec& Rec, const std::string& Host, const std::string& DataFile);
  void MergeLog(const std::string& Host, const std::string& DataFile);
  // Command "MYNUMBER_CLEAR" (any case) also clears the settings, logging it.
  void ReadSettings(const std::string& Host, const std::string& DataFile, const std::string& Command,
                    const std::string& Comment);
  void WriteSettings(const std::string& Host, const std::string& DataFile);

 private:
  template <typename Body>
  void OnDataSet(const std::string& Host, const std::string& DataFile, bool TestFile, Body body);
  // Inserts Rec; a unique-key collision is tried again with a fresh time
  // stamp when Restamp (at most four tries), else raised.
  void InsertLog(TMyNumberLogRec& Rec, bool Restamp);
  TIBSQL query1_;
  TIBSQL query2_;
  // The stored (protected) forms read last, written back as they were.
  std::string storedKey_;
  std::string storedValue_;
};
