// The dictionary file: a data set's description dictionary (classifications
// TEKDICTI, entries TEKDIC) and partner dictionary (TORDICTI, TORDIC) carried
// from one database to another through a comma-separated CP932 text file.
// TBaseLoader is the general part (statements, header lines, quoting, header
// check); TJisyoLoader adds the two dictionaries and their record kinds.
//
// The file's text fields carry a double-quote character as two apostrophes,
// so a text that itself holds two apostrophes comes back with a double quote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbaccess/textsplit.h"
#include "platform/fb/ibx.h"

class TBaseLoader {
 public:
  TBaseLoader();
  virtual ~TBaseLoader() = default;
  TBaseLoader(const TBaseLoader&) = delete;
  TBaseLoader& operator=(const TBaseLoader&) = delete;

  void SetDatabase(TIBDatabase* Database);
  void SetTransaction(TIBTransaction* Transaction);
  // Record lines that this loader reads; the base reads none.
  virtual std::int32_t CountRecords() { return 0; }
  // Some line names the loader's file kind; a version given in the file has
  // the loader's major number.
  bool CheckHeader();

  bool VersionCheck = true;
  const std::vector<std::string>& Lines() const { return lines_; }

 protected:
  std::vector<std::string> HeaderLines() const;
  // A quoted field and its separator.
  std::string Q(const std::string& Text) const { return std::string(1, quote_) + Text + quote_ + sep_; }
  std::string N(std::int64_t Value) const { return std::to_string(Value) + sep_; }
  // A text field's contents: no TAB, CR or LF; a double quote as two apostrophes.
  static std::string FileText(const std::string& Text);
  static std::string RestoredText(const std::string& Text);
  bool ReadLines(const std::string& FileName);
  void SaveLines(const std::string& FileName) const;
  TIBSQL& Sql(int Index) { return sql_[Index]; }

  std::string fileKind_;
  std::string fileVersion_;
  std::int32_t opCode_ = 0;
  std::vector<std::string> lines_;
  char quote_ = '"';
  char sep_ = ',';
  TMojiBunkatu split_;
  TIBTransaction* transaction_ = nullptr;

 private:
  TIBSQL sql_[5];
};

struct TKamokuCodeRec {
  std::string KCODE, USERCODE, HCODE, BCODE;
  std::int32_t Value1 = 0, Value2 = 0;
};

class TJisyoLoader : public TBaseLoader {
 public:
  TJisyoLoader();

  std::int32_t JisyoKind = 0;   // 0 both dictionaries, 1 description only, 2 partner only
  std::int32_t AllSisetu = 1;   // 1 every facility, 0 the facility of SisetuCode
  std::string SisetuCode;

  // "1.1": record kinds 200, 202, 300, 302; any other version 200, 201, 300, 301.
  void SetFileVersion(const std::string& Version);
  bool ExportFile(const std::string& FileName);
  bool ImportFile(const std::string& FileName);
  std::int32_t CountRecords() override;

 private:
  void ExportDictionary(bool Partner);
  void ImportDictionary(bool Partner);
  void LoadCodeTable(const std::string& SCode);
  // Resolves one side's codes of a line of entry kind Kind.
  void ResolveCodes(const std::string& Kind, std::string& KCode, std::string& HCode, std::string& BCode) const;

  std::string kindTekClass_ = "200", kindTek_ = "202", kindTorClass_ = "300", kindTor_ = "302";
  std::vector<std::string> classMap_;   // "file CREC-SCODE=local CREC"
  std::vector<TKamokuCodeRec> codeTable_;
  std::string codeTableSCode_ = "**";
};
