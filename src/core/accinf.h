// TACCINF: the company and accounting information of the connected data set.
// One instance, AccInf (core/globals.h), refilled at every connection. Arrays
// that the stored columns number from 1 keep an unused element 0 so that
// YAKUMEI[1] is column YAKUMEI1.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

struct TACCINF {
  std::int32_t GROUPID = 0;
  std::string ENTTEXT;
  std::string SERIAL;
  std::int32_t TANTOU = 0;
  std::int32_t GYOUSHU = 0;
  std::int32_t DATATYPE = 0;      // 1 corporation, 2 individual, 3 medical corporation
  std::string DataTypeName;
  std::int32_t CODETYPE = 0;
  std::string CodeTypeName;
  std::int32_t BumonCount = 0;
  std::string SCODE1, SCODE2, SKANA, SHOUGOU, POST, ADD1, ADD2, TEL;
  std::string AO_ADD1, AO_ADD2, AO_KANA, AO_SIMEI, AO_GYOUSHU, AO_YAGO, AO_KANYU, AO_TEL,
      AO_SHOKUGYO1, AO_SHOKUGYO2, MAIL;
  TDateTime zzKISHU = 0;
  TDateTime zKISHU = 0;
  std::int32_t NENDO = 0;
  TDateTime KISHU = 0;
  TDateTime KIMATU = 0;
  TDateTime KAISI = 0;
  std::int32_t SIME = 0;          // closing day 1..28, or 99 for the month's end
  std::int32_t KAISINO = 0;
  std::int32_t KaisiCell = 0;
  std::int32_t KimatuCell = 0;
  std::int32_t KaisiMonths = 0;
  std::int32_t YearMonths = 0;
  std::int32_t GENGOU_FLG = 0;
  std::int32_t GENGOU_HOSEI = 0;
  std::string GENGOU_NAME;
  std::array<std::string, 4> YAKUMEI;        // [1..3]
  std::array<Currency, 6> OLD_TAX_RATE{};    // [1..5]
  std::array<Currency, 6> NEW_TAX_RATE{};    // [1..5]
  std::array<TDateTime, 6> CHG_DAYS{};       // [1..5]
  TDateTime KANSA_FIXDATE = 0;
  TDateTime KANSA_DATE = 0;
  std::int32_t CALCU = 0;
  std::int32_t TAXU_HASUU = 0;    // rounding of the tax on sales: 0 truncate, 1 round, 2 round up
  std::int32_t TAXH_HASUU = 0;    // the same for the tax on purchases
  std::int32_t TAXDEFUH = 0;      // 0 tax-included, 1 tax-excluded bookkeeping
  std::int32_t TAXKANNI = 0;      // 1 simplified taxation
  std::int32_t TAXJIGYOU = 0;     // main business kind 1..6
  std::int32_t GENKAPRINT = 0, KANSA_LOCK = 0, TEGATADICSW = 0;
  std::int32_t KESSAN_KIKAN = 0, CASHFLOW_KIKAN1 = 0, CASHFLOW_KIKAN2 = 0;
  std::int32_t CASHFLOWSW = 0, SDAI_HASUU1 = 0, SDAI_HASUU2 = 0;
  std::int32_t SDAI_HASUU3 = 0;
  std::int32_t CONVERT = 0, SHOUHYOU = 0;
  std::int32_t SITEN = 0;
  std::int32_t BUMON = 0;
  std::int32_t DATALOCK = 0;
  std::int32_t GENKA_USE = 0;
  std::array<std::string, 6> GENKA_HWORD;    // [1..5]
  std::array<std::string, 6> PlusNames;      // [1..5]
  std::string PASWORD;
  std::string WEB_HOLDER;
  std::array<std::string, 6> TusinPassword;
  std::array<std::string, 6> TusinHolder;
  std::array<std::string, 12> SystemKCode;
  std::array<std::string, 12> SystemUserCode;
  std::string FUMEI_KCODE;
  std::string FumeiUserCode;
  std::uint8_t MedicalLayout = 0;
  std::array<TDateTime, 3> KishuTable{};
  std::array<TDateTime, 3> KimatuTable{};
  std::array<TDateTime, 3> KaisiTable{};
  std::int32_t KakoMeisai = 0;
  std::uint8_t GassanKbn = 0;
  std::int32_t GassanCount = 0;
  std::uint8_t KamokuDigits = 0, HojoDigits = 0, BumonDigits = 0;
  std::int32_t IkkatuZeinuki = 0;
  std::string DataPassword;
  std::int32_t PrintPeriodUse = 0;
  TDateTime PrintPeriodFrom = 0, PrintPeriodTo = 0;
  std::array<std::string, 3> BillKCode;
  std::array<std::string, 3> BillUserCode;
  std::int32_t TaxDefUHCopy = 0;
  std::int32_t KURIKOSI1 = 0, KURIKOSI2 = 0;
  std::string GenkaHWord6;
  std::string PlusName6;
  std::int32_t VerMajor = 0, VerMinor1 = 0, VerMinor2 = 0;
  std::int32_t KobetuGenkaUse = 0;
  std::string KobetuGenkaName;
  std::uint8_t KobetuGenkaDigits = 0;
  std::int32_t MyNumberUse = 0;
  std::string MyNumberKey;
  std::string MyNumberValue;
  std::int32_t CloudKbn = 0;
  std::int32_t BranchAll = 0;
  std::int32_t CLOUD_LINE = 0;
  TDateTime CLOUD_TIME = 0;
  std::array<std::uint8_t, 5> RateUse{};
  std::int32_t CloudData = 0;
};

// Indexes of TACCINF::SystemKCode / SystemUserCode (the fixed accounts).
enum TSystemCodeIndex : int {
  scGenkin = 0,            // 現金
  scKaribaraiTax = 1,      // 仮払消費税
  scKariukeTax = 2,        // 仮受消費税
  scShokuchi = 3,          // 諸口
  scKurikosiRieki = 4,     // 繰越利益剰余金 / 前期繰越利益
  scJigyonushiKasi = 5,    // 事業主貸
  scJigyonushiKari = 6,    // 事業主借
  scMotoireKin = 7,        // 元入金
  scKyuryo = 8,            // 給料
  scShoyo = 9,             // 賞与
  scShoyoHikiate = 10,     // 賞与引当金繰入額
  scTaishokuKyufu = 11,    // 退職給付費用
};
