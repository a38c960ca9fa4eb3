// Reading and writing a data set's information: from its database, from the
// settings file or the server's data-set list, and the status marks.
#include "dbaccess/datainfo.h"

#include <filesystem>
#include <memory>

#include "core/globals.h"
#include "core/regini.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "core/sysinfo.h"
#include "core/versions.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/datasethooks.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr std::int32_t kDynamicSqlError = 335544569;

std::string DateText(TDateTime Date) { return Date == 0 ? std::string() : FormatDateTime("yyyy/mm/dd", Date); }

bool FileExists(const std::string& Path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(Path, ec);
}

// A folder on this machine (its network form is the folder itself).
bool IsLocalFolder(const std::string& Folder) {
  try {
    std::string unc;
    GetUNCPath(Folder, unc);
    return unc == Folder;
  } catch (...) {  // no network form: the folder is taken as local
    return true;
  }
}

}  // namespace

TDataInfomation::TDataInfomation() {
  ClearDataInfoRec(rec_);
  versions_.Execute(false);
}

void TDataInfomation::ClearDataInfoRec(TDataInfomationRec& Rec) { Rec = TDataInfomationRec{}; }

std::int32_t TDataInfomation::GetDataInfoRec(TDataInfomationRec& Rec) {
  ClearDataInfoRec(Rec);
  TDataSetConnection& dm = DataSetConnection();
  const bool wasConnected = dm.IBDatabaseDAT.Connected();
  TTransactionGuard transaction(dm.IBTransactionDAT);
  try {
    if (!wasConnected) dm.IBDatabaseDAT.Open();
    transaction.Begin();
    TIBQuery& q = dm.IBQACC1;
    SetSql(q,
           "SELECT ENTTEXT,DATATYPE,CODETYPE,SCODE1,SKANA,SHOUGOU,TANTOU,NENDO,KISHU,KIMATU,SITEN,BUMON,DATALOCK\n"
           "FROM ACCDEF1\nWHERE REC=1");
    for (q.Open(); !q.Eof(); q.Next()) {
      Rec.DATALISTNAME = q.FieldByName("ENTTEXT").AsTrimString();
      Rec.CODE = q.FieldByName("SCODE1").AsTrimString();
      Rec.DATAKBN = q.FieldByName("DATATYPE").AsInteger();
      Rec.CODEKBN = q.FieldByName("CODETYPE").AsInteger();
      Rec.SHOUGOU = q.FieldByName("SHOUGOU").AsTrimString();
      Rec.KANA = q.FieldByName("SKANA").AsTrimString();
      Rec.NENDO = q.FieldByName("NENDO").AsInteger();
      Rec.KISHU = DateText(q.FieldByName("KISHU").AsDateTime());
      Rec.KIMATU = DateText(q.FieldByName("KIMATU").AsDateTime());
      Rec.TANTO = q.FieldByName("TANTOU").AsInteger();
      Rec.SITEN = q.FieldByName("SITEN").AsInteger();
      Rec.BUMON = q.FieldByName("BUMON").AsInteger();
      Rec.UPDATE_LOCK = q.FieldByName("DATALOCK").AsInteger();
    }
    q.Close();

    TVariant value;
    GetAccReg("基本設定", "合算データ区分", "整数", "0", value);
    Rec.GASSANKBN = static_cast<std::uint8_t>(value.AsInteger());

    SetSql(q, "SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION\nWHERE REC=1\nORDER BY MAJOR,MINOR1,MINOR2");
    q.Open();
    if (!q.Eof()) {
      Rec.VERSION1 = {q.FieldByName("MAJOR").AsInteger(), q.FieldByName("MINOR1").AsInteger(),
                      q.FieldByName("MINOR2").AsInteger()};
      GetEditionName(Rec.VERSION1[0], Rec.VERSION1[1], Rec.VERSION2);
    }
    q.Close();

    auto count = [&](const char* Sql) {
      SetSql(q, Sql);
      q.Open();
      const std::int32_t n = q.Eof() ? 0 : q.FieldByName("RECCNT").AsInteger();
      q.Close();
      return n;
    };
    if (Rec.SITEN > 0) Rec.SITENCNT = count("SELECT COUNT(SCODE) AS RECCNT FROM SISETUMST\nWHERE SCODE <> ''");
    if (Rec.BUMON > 0) Rec.BUMONCNT = count("SELECT COUNT(BCODE) AS RECCNT FROM BUMONMST\nWHERE BCODE <> ''");

    Rec.SIWAKE = dm.GetYukouSiwakeCount("");
    Rec.TOTALSIWAKE = dm.GetSiwakeCountTotal("");

    GetAccReg("基本設定", "＃USE", "整数", "0", value);
    Rec.USEMYNUMBER = value.AsInteger();

    const std::string version = Format("%d.%d.%d", Rec.VERSION1[0], Rec.VERSION1[1], Rec.VERSION1[2]);
    if (dm.CanUseCloudShare(false) && VersionGreater(version, "11.0.0")) {
      SetSql(q, "SELECT CLOUD_LINE\nFROM ACCDEF1\nWHERE REC=1");
      q.Open();
      Rec.CLOUD_SHARE = (!q.Eof() && q.FieldByName("CLOUD_LINE").AsInteger() > 0) ? 1 : 0;
      q.Close();
    }
    transaction.Commit();
    return 1;
  } catch (...) {
    dm.IBQACC1.Close();
    transaction.CommitQuietly();
    // A column an older database lacks is its caller's affair.
    if (CurrentFbStatus() == kDynamicSqlError) throw;
    try {
      throw;
    } catch (const EIBError& e) {
      ShowFbError(e, "TDataInfomation.GetDataInfoRec", "基本情報の取得に失敗しました。\r(iniファイル)", true);
    } catch (...) {
      ShowErrorDetail("基本情報の取得に失敗しました。\r(iniファイル)", "", kMsgError);
    }
    if (!wasConnected && dm.IBDatabaseDAT.Connected()) {
      try {
        dm.IBDatabaseDAT.Close();
      } catch (...) {
        // the read failure was reported above
      }
    }
    return 0;
  }
}

std::int32_t TDataInfomation::ReadDataInfoFromDb(const std::string& Folder, TDataInfomationRec& Rec) {
  ClearDataInfoRec(Rec);
  if (!ServerFiles().ServerFExist(Folder + "/" + DataFile, ConnectKind)) return 0;
  std::int32_t result = 0;
  if (DataSetConnection().fnAccDatConnected(SystemDef.HostName, Folder, false)) {
    try {
      result = GetDataInfoRec(Rec);
    } catch (...) {
      DataSetConnection().AccDatDisconnect(Folder, false, false);
      throw;
    }
    DataSetConnection().AccDatDisconnect(Folder, false, false);
  }
  return result;
}

std::int32_t TDataInfomation::ReadIniFile(const std::string& Host, const std::string& Folder,
                                          TDataInfomationRec& Rec) {
  ClearDataInfoRec(Rec);
  if (Folder.empty()) return 1;
  TDataSetConnection& dm = DataSetConnection();
  if (ConnectKind == 0) {
    const std::string iniFile = DataInfoFileName(Folder);
    const std::string dbFile = Folder + "/" + DataFile;
    const bool hasIni = FileExists(iniFile);
    const bool hasDb = FileExists(dbFile);
    if (!hasIni && !hasDb) return 0;
    if (hasDb && !hasIni && IsLocalFolder(Folder)) {
      // A connect and a disconnect with the in-use mark write the file.
      if (!dm.fnAccDatConnected(Host, Folder, true)) {
        Rec.STATUS = dsNotConnectable;
        return 1;
      }
      dm.AccDatDisconnect(Folder, true, false);
    }
    ReadDataInfoFile(iniFile, Rec);
    return 1;
  }
  if (ConnectKind != 1 && ConnectKind != 2) return 1;

  // A folder outside "…/DATA/" is listed in DATALIST_EX.
  const bool extended = (UpperCase(Folder) + "/").find("/DATA/") == std::string::npos;
  const bool defWasConnected = dm.IBDatabaseDEF.Connected();
  bool locked = false;
  TTransactionGuard transaction(dm.IBTransactionDEF);
  try {
    if (!defWasConnected) dm.fnAccDefConnected(Host, true);
    transaction.Begin();
    TDataListTable(dm.IBSQLDEF, extended ? kEveryDataPlace : 0).ReadLocks(Folder, [&](const TDataListLock& lock) {
      const TDataListRec& r = lock.Row;
      locked = true;
      Rec.STATUS = dsLocked;
      Rec.OPCODE = lock.OpCode + SystemDef.GroupId * 10000;
      Rec.OPERATOR = lock.OpName;
      Rec.DATALISTNAME = r.EntText;
      Rec.CODE = r.DataCode;
      Rec.DATAKBN = r.DataType;
      Rec.CODEKBN = r.CodeType;
      Rec.SHOUGOU = r.Shougou;
      Rec.NENDO = r.Nendo;
      Rec.KISHU = DateText(r.Kishu);
      Rec.KIMATU = DateText(r.Kimatu);
      Rec.TANTO = r.Tantou;
      Rec.UPDATE_LOCK = r.UpdateLock;
      Rec.VERSION1 = {r.VerMajor, r.VerMinor1, r.VerMinor2};
      Rec.VERSION2 = r.VerText;
      Rec.CLOUD_SHARE = r.Cloud;
    });
    transaction.Commit();
  } catch (...) {
    dm.IBSQLDEF.Close();
    transaction.CommitQuietly();
    try {
      throw;
    } catch (const EIBError& e) {
      ShowFbError(e, "TDataInfomation.ReadIniFile", "ロック情報の取得に失敗しました。", true);
    } catch (...) {
      // other failures are not shown: the record is cleared below
    }
    locked = false;
    ClearDataInfoRec(Rec);
  }
  std::int32_t result = 1;
  if (locked) {
    result = 0;
  } else if (dm.fnAccDatConnected(Host, Folder, false)) {
    GetDataInfoRec(Rec);
    dm.AccDatDisconnect(Folder, false, false);
    Rec.STATUS = dm.AccDatInConnection(1, Host, Folder, false) ? dsInUse : dsFree;
  } else {
    Rec.STATUS = dsNotConnectable;
  }
  if (!defWasConnected && dm.IBDatabaseDEF.Connected()) dm.IBDatabaseDEF.Close();
  return result;
}

std::int32_t TDataInfomation::ReadInfo(const std::string& Folder, TDataInfomationRec& Rec) {
  return ReadIniFile(SystemDef.HostName, Folder, Rec);
}

void TDataInfomation::UpdateDataInfomation(const std::string& Host, const std::string& Folder,
                                           TDataInfomationRec& Rec) {
  TDataSetConnection& dm = DataSetConnection();
  if (!dm.fnAccDatConnected(Host, Folder, false)) return;
  TTransactionGuard transaction(dm.IBTransactionDAT);
  try {
    transaction.Begin();
    TIBQuery& q = dm.IBQACC1;
    if (Trim(Rec.DATALISTNAME).empty()) {
      SetSql(q, "SELECT ENTTEXT FROM ACCDEF1\nWHERE REC=1");
      q.Open();
      if (!q.Eof()) Rec.DATALISTNAME = q.FieldByName("ENTTEXT").AsTrimString();
      q.Close();
    }
    Rec.DATALISTNAME = TrimZen(FixLen(Rec.DATALISTNAME, 40));
    SetSql(q, "UPDATE ACCDEF1 SET ENTTEXT=:ENTTEXT,DATALOCK=:DATALOCK\nWHERE REC=1");
    q.ParamByName("ENTTEXT").AsString(Rec.DATALISTNAME);
    q.ParamByName("DATALOCK").AsInteger(Rec.UPDATE_LOCK);
    q.ExecSQL();
    transaction.Commit();
  } catch (...) {
    dm.IBQACC1.Close();
    transaction.Rollback();
    ReportCurrentException("TDM.UpdateDataInfomation", "データ情報の更新に失敗しました。", true);
  }
  dm.AccDatDisconnect(Folder, false, false);
}

bool TDataInfomation::WritesFile(const std::string& Folder) const {
  return !Folder.empty() && ConnectKind != 1 && ConnectKind != 2;
}

void TDataInfomation::SetStatus(const std::string& Folder, std::uint8_t Status) {
  if (!WritesFile(Folder)) return;
  WriteIniValue(Folder, kSectionDataSts, false, Status, "STATUS");
  const bool clear = Status == 1;
  WriteIniValue(Folder, kSectionDataSts, clear, SystemDef.OpCode, "OPCODE");
  WriteIniValue(Folder, kSectionDataSts, clear, SystemDef.OpName, "OPERATOR");
}

void TDataInfomation::SetShareStatus(const std::string& Folder, std::uint8_t Status) {
  if (!WritesFile(Folder)) return;
  WriteIniValue(Folder, kSectionDataSts, false, Status, "SHARE_STATUS");
  const bool clear = Status == 1;
  WriteIniValue(Folder, kSectionDataSts, clear, SystemDef.OpCode, "SHARE_OPCODE");
  WriteIniValue(Folder, kSectionDataSts, clear, SystemDef.OpName, "SHARE_OPERATOR");
}

void TDataInfomation::WriteIniFile(const std::string& Folder, const std::string& Section,
                                   const TDataInfomationRec& Rec) {
  if (!WritesFile(Folder)) return;
  rec_ = Rec;
  WriteDataInfoFile(DataInfoFileName(Folder), Section, rec_);
}

void TDataInfomation::WriteIniValue(const std::string& Folder, const std::string& Section, bool Delete,
                                    const std::string& Value, const std::string& Key) {
  if (!WritesFile(Folder)) return;
  WriteOrDeleteIniValue(DataInfoFileName(Folder), Section, Key, Delete, TRegValue(Value));
}

void TDataInfomation::WriteIniValue(const std::string& Folder, const std::string& Section, bool Delete,
                                    std::int32_t Value, const std::string& Key) {
  WriteIniValue(Folder, Section, Delete, IntToStr(Value), Key);
}

void TDataInfomation::RefreshIniFile(const std::string& Folder, const std::string& Section) {
  if (!WritesFile(Folder)) return;
  TDataSetConnection& dm = DataSetConnection();
  if (!Section.empty()) {
    TDataInfomationRec rec;
    if (Section == kSectionDataInfo && dm.fnAccDatConnected(SystemDef.HostName, Folder, false)) {
      GetDataInfoRec(rec);
      dm.AccDatDisconnect(Folder, false, false);
    }
    WriteIniFile(Folder, Section, rec);
    return;
  }
  if (IsLocalFolder(Folder) && dm.fnAccDatConnected(SystemDef.HostName, Folder, true))
    dm.AccDatDisconnect(Folder, true, false);
}

std::int32_t TDataInfomation::ChangeShareStatus(const std::string& Folder, std::uint8_t Status) {
  ReadInfo(Folder, rec_);
  if ((Status == 1 || Status == 2) && rec_.SHARE_STATUS != Status) {
    SetShareStatus(Folder, Status);
    return 1;
  }
  return 0;
}

void TDataInfomation::GetEditionName(std::int32_t Major, std::int32_t Minor, std::string& Name) const {
  if (Major == 0 && Minor > 0) {
    Name = "評価版";
    return;
  }
  const std::string wanted = Format("%d.%d", Major, Minor);
  for (std::int32_t i = 0; i < versions_.Count; ++i) {
    std::string text;
    versions_.GetVersionText(i, text);
    if (text == wanted) {
      versions_.GetName(i, Name);
      return;
    }
  }
  Name = wanted;
}

// ---- the data module's in-use record ------------------------------------------

namespace {

class TInUseRecord : public IDataSetInUseRecord {
 public:
  bool ReadFromConnectedDatabase() override {
    info_.ConnectKind = ConnectKind;
    return info_.GetDataInfoRec(rec_) == 1;
  }
  void SetInUse(std::int32_t Status, std::int32_t OpCode, const std::string& OpName) override {
    rec_.STATUS = static_cast<std::uint8_t>(Status);
    rec_.OPCODE = OpCode;
    rec_.OPERATOR = OpName;
  }
  void WriteIniFile(const std::string& Folder) override { info_.WriteIniFile(Folder, "", rec_); }
  TDataListFigures Figures() const override {
    TDataListFigures f;
    f.CODE = rec_.CODE;
    f.SHOUGOU = rec_.SHOUGOU;
    f.NENDO = rec_.NENDO;
    TryStrToDate(rec_.KISHU, f.KISHU);
    TryStrToDate(rec_.KIMATU, f.KIMATU);
    f.DATAKBN = rec_.DATAKBN;
    f.CODEKBN = rec_.CODEKBN;
    f.TANTO = rec_.TANTO;
    f.MAJOR = rec_.VERSION1[0];
    f.MINOR1 = rec_.VERSION1[1];
    f.MINOR2 = rec_.VERSION1[2];
    f.VERSION2 = rec_.VERSION2;
    f.GASSANKBN = rec_.GASSANKBN;
    f.CLOUD_SHARE = rec_.CLOUD_SHARE;
    return f;
  }

 private:
  TDataInfomation info_;
  TDataInfomationRec rec_;
};

}  // namespace

void InstallDataInfoHooks() {
  DataSetHooks.CreateInUseRecord = [] { return std::make_unique<TInUseRecord>(); };
}
