// TSiwakeWrite: writes single journal entries into the connected data set's
// SIWAKE table and reads them back. An entry is a debit and a credit row
// sharing one entry number (SWKREC); the record carries both sides. Entries
// are checked (TestSiwake) against the facility's account master, the tax
// codes, the rates and the amount before PutSiwake stores them through the
// journal procedures SP_SIWAKE_INS / SP_SIWAKE_UPD; DeleteSiwake and
// RestoreSiwake delete and undelete an entry.
//
// Calling order: SetTransaction, SetSisetuCode, then per entry InitSiwake,
// optionally GetSiwake, fill, TestSiwake, PutSiwake; or GetSiwake then
// DeleteSiwake; RestoreSiwake for an entry that comes back to life.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/fb/ibx.h"
#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

// The journal record of the writer. (The tax computation has a smaller record
// of its own; ToTaxLine / FromTaxLine carry the values between the two.)
namespace siwakeio {

// One side of the entry.
struct TSwkBalance {
  std::string KGROUP;   // GROUPM1 of the account
  std::string KCODE;    // the account's user code
  std::string HCODE;    // sub-account code; " " when the account has none
  std::string BCODE;    // department code
  std::string KNAME, HNAME, BNAME;
  std::int32_t TAXCODE = 910;
  std::int32_t TAXUH = 0;
  std::int32_t TAXDC = 0;
  Currency NUK, ZEI, RIT;
  std::int32_t SIKIN = 0;
  std::int32_t SideRateNo = 0;
};

struct TSWKREC {
  std::string PcName;
  std::int32_t REC = 0;
  std::int32_t SITREC = 0;
  std::int32_t SWKREC = 0;
  std::int32_t SWKNO = 0;
  std::int32_t DELFLG = 0;
  std::int32_t TAISHAKU = 1;
  TDateTime HIZUKE = 0;
  std::int32_t MNUM = 0;
  std::int32_t KESSAN = 0;
  std::int32_t SDAYNUM = 0, MDAYNUM = 0, DNUM = 0;
  std::int32_t SNUM = 0;
  std::string SCODE;
  TSwkBalance Debit;
  TSwkBalance Credit;
  Currency KINGAKU, ZEIGAKU;
  std::int32_t ZEIRITUNO = 0, AUTCALCU = 0, TAXCALCU = 0, OLDRATE = 0;
  std::int32_t TEKCODE = 0;
  std::string TEKTEXT;
  std::int32_t TORCODE = 0;
  std::string TORTEXT;
  std::int32_t FUSEN1 = 0, FUSEN2 = 0, FUSEN3 = 0, FUSEN4 = 0, FUSEN5 = 0;
  TDateTime CTIME = 0;
  std::string COMMENT, AO_COMMENT;
  std::string LINKKEY;
  std::int32_t LINKKUB = 0, LINKREC = 0, LOCALFLG = 0;
  std::int32_t RESERVE1 = 0, RESERVE2 = 0;
  TDateTime RTIME = 0;
  std::int32_t OPCODE = 0;
  TDateTime SHONIN_HIZUKE = 0;
  std::int32_t SHONIN_OPCODE = 0;
  std::string SHONIN_NAME;
};

}  // namespace siwakeio

// The account found by the last look-up.
struct TKMKREC {
  std::string KCODE, USERCODE;
  std::int32_t REC = 0;
  std::string GROUPM1, GROUPM2, KNAME;
  std::int32_t BLDAC = 0, DAC = 0, DELFLG = 0;
  std::int32_t TAX_LCODE = 0, TAX_RCODE = 0, FUN_LCODE = 0, FUN_RCODE = 0;
  std::string HOJOSW, BPFLG, KEIHKUBU;
  std::int32_t EXT1_KS = 0, EXT1_A4 = 0, EXT1_A3 = 0;
  std::int32_t ZEIRITUKBN = 0;
};

struct THOJREC {
  std::string HCODE, HNAME;
  std::int32_t H_TAX_LCODE = 0, H_TAX_RCODE = 0, H_ZEIRITUKBN = 0;
};

// One KAMOKU_SZ row of the facility's account array.
struct TKamokuRec {
  TKMKREC Kamoku;
  THOJREC Hojo;
  std::string BCODE, BNAME;
  bool UsesHojo = false;    // set on the account's first row
  bool UsesBumon = false;   // set on the account's first row
};

class TSiwakeWrite {
 public:
  TSiwakeWrite();
  TSiwakeWrite(const TSiwakeWrite&) = delete;
  TSiwakeWrite& operator=(const TSiwakeWrite&) = delete;

  std::uint8_t MessageMode = 0;   // 0 wording for entry by hand, 1 for imported data
  std::uint8_t AutoCommit = 0;    // 1: the next operation owns (starts and commits) the transaction
  std::int32_t PastYear = 0;      // GetSiwake: 0 SIWAKE, 1 and 2 the past years' views
  // Check switches.
  bool CheckKamoku = true, CheckTax = true, CheckKingaku = true, CheckText = true, CheckGenka = true,
       CheckShonin = true;
  // Valid individual-cost codes (code text, value).
  std::vector<std::pair<std::string, std::int32_t>> GenkaCodes;

  void SetTransaction(TIBTransaction* Transaction);
  void SetSisetuCode(const std::string& SCode);
  const std::string& SisetuCode() const { return sisetuCode_; }

  void InitSiwake(siwakeio::TSWKREC& Rec, std::int32_t Kessan, TDateTime Date);
  bool TestSiwake(siwakeio::TSWKREC& Rec, std::int32_t& Code, std::string& Msg);
  // New REC for an insert; for an update 0, -1 (no live entry) or -2 (the
  // entry had been replaced; Rec.REC is then its live row).
  std::int32_t PutSiwake(siwakeio::TSWKREC& Rec);
  // The procedure's RESULT + 1: 1 deleted, 0 no live entry.
  std::int32_t DeleteSiwake(std::int32_t SwkRec);
  bool RestoreSiwake(std::int32_t SwkRec);
  void GetSiwake(siwakeio::TSWKREC& Rec, std::int32_t Rec_, bool UseView);
  bool GetKamokuArray(const std::string& SCode);
  bool FindKamoku(const std::string& SCode, const std::string& BCode, const std::string& HCode,
                  const std::string& UserCode);

  // The current-account block of the last look-up.
  std::string SCODE, SNAME, BCODE, BNAME;
  TKMKREC Kamoku;
  THOJREC Hojo;
  // The account array of the facility and its lines "user code=first row".
  std::vector<TKamokuRec> KamokuArray;
  std::vector<std::string> KamokuIndex;

 private:
  // Runs Work inside the transaction: with AutoCommit the operation starts
  // it when needed and commits it at the end (rolls back on failure when
  // RollbackOnFailure, else commits).
  template <class Work>
  auto Run(const char* Location, bool RollbackOnFailure, Work&& work) -> decltype(work());
  bool TestSide(siwakeio::TSWKREC& Rec, bool Debit, const std::vector<std::string>& Stored,
                std::int32_t& Code, std::string& Msg);
  void SetParams(const siwakeio::TSWKREC& Rec);
  std::int32_t PutOnce(siwakeio::TSWKREC& Rec);

  TIBTransaction* transaction_ = nullptr;
  TIBSQL sql_;
  std::string sisetuCode_;
};

// Computes the entry's net and tax amounts of both sides (CalcSiwakeTax).
bool CalcSiwakeRecTax(siwakeio::TSWKREC& Rec);
