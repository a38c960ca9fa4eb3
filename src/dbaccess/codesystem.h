// TCodeTaikeiIO: code systems (templates of account codes for one data and
// code type) in table USERCODE of the system database: importing a
// comma-separated code-system file into a row after checking that it was made
// for this product, and repairing rows whose header names another data type.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dbaccess/textsplit.h"
#include "platform/fb/ibx.h"

struct TCodeTaikeiRec2 {
  std::int32_t RECNO = 0;
  std::string NAME;
  std::int32_t DATATYPE = 0;
  std::int32_t CODETYPE = 0;
  std::string Spare1;
  std::int32_t Spare2 = 0, Spare3 = 0, Spare4 = 0;
  std::string ProductMark = "-";
  std::uint8_t Spare5 = 0;
  std::array<std::vector<std::string>, 8> INIDAT;   // INIDAT1 .. INIDAT8
  std::string Spare6;
  std::int32_t Spare7 = 0, Spare8 = 0;
};

class TCodeTaikeiIO {
 public:
  // Runs the repair.
  TCodeTaikeiIO();

  // Reads the file (Shift-JIS) into the row RecNo; false when refused or
  // not written. A file that cannot be read raises.
  bool ImportCodeFile(const std::string& FileName, std::int32_t RecNo);
  bool UpDateRecored(const TCodeTaikeiRec2& Rec);
  void KubunSyufuku();
  bool CheckProductMark(const std::string& Mark, std::string& Message) const;
  // The record a file's lines give (exposed for tests).
  TCodeTaikeiRec2 ParseLines(const std::vector<std::string>& Lines, std::int32_t RecNo);

  std::int32_t FormatMajor = 1;
  std::int32_t FormatMinor = 0;
  std::string FormatText = "1.0";

 private:
  TIBSQL sql_;
  TIBQuery query_;
  TMojiBunkatu split_;
};
