#include "dbaccess/datalistrec.h"

#include "core/datetext.h"
#include "core/globals.h"
#include "core/sjis.h"
#include "platform/fb/ibstatement.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

std::string DataStatusText(int Status) {
  switch (Status) {
    case 0:
    case 1: return "－";
    case 2: return "使用中";
    case 3: return "データロック中";
    case 4: return "保存中";
    case 5: return "復元中";
    case 6: return "コピー中";
    case 7: return "貼り付け中";
    case 8: return "削除中";
    case 9: return "新規作成中";
    case 10: return "破損";
    default: return "状態不明";
  }
}

std::string NativePath(std::string_view Path) { return StringReplaceAll(Path, "\\", "/"); }

std::string LastFolderName(std::string_view Path) {
  return ExtractFileName(ExcludeTrailingPathDelimiter(Path));
}

std::string ParentFolderPath(std::string_view Path) {
  return ExtractFileDir(ExcludeTrailingPathDelimiter(Path));
}

bool IsBlankPath(std::string_view Path) { return TrimZen(Path).empty(); }

std::string DataFolderPath(const TDataListRec& Rec) {
  if (Rec.NetDrive == 1 && !Rec.PasName.empty()) {
    const std::string folder = PathJoin(SystemDef.SysDir, Format("%.4d", Rec.Rec));
    if (Rec.Gassan == kGassanChild) return PathJoin(folder, LastFolderName(Rec.PasName));
    return folder;
  }
  return ExcludeTrailingPathDelimiter(Rec.PasName);
}

std::string KikanTextOf(TDateTime Kishu, TDateTime Kimatu) {
  std::string text;
  FormatDateRange(text, Kishu, Kimatu);
  return text;
}

namespace {

int IntOf(TIBCustomStatement& q, const char* name) { return q.FieldByName(name).AsInteger(); }
std::string TextOf(TIBCustomStatement& q, const char* name) { return q.FieldByName(name).AsTrimString(); }

}  // namespace

void ReadListRow(TIBCustomStatement& q, TDataListRec& Rec, TRowRead How) {
  Rec.Rec = IntOf(q, "REC");
  const TIBXSQLVAR* rowNo = q.FindField("ROWNO");
  Rec.RowNo = rowNo ? rowNo->AsInteger() : 0;
  Rec.GroupId = SystemDef.GroupId;
  Rec.EntText = TextOf(q, "ENTTEXT");
  Rec.Shougou = TextOf(q, "SHOUGOU");
  Rec.PasName = TextOf(q, "PASNAME");
  const TIBXSQLVAR* netDrive = q.FindField("NETDRIVE");
  const TIBXSQLVAR* kyoyuLock = q.FindField("KYOYULOCK");
  Rec.NetDrive = netDrive ? netDrive->AsInteger() : 1;
  Rec.KyoyuLock = kyoyuLock ? kyoyuLock->AsInteger() : 0;
  Rec.DataType = IntOf(q, "DATATYPE");
  Rec.CodeType = IntOf(q, "CODETYPE");
  Rec.Nendo = IntOf(q, "NENDO");
  Rec.Kishu = q.FieldByName("KISHU").AsDateTime();
  Rec.Kimatu = q.FieldByName("KIMATU").AsDateTime();
  Rec.DataLock = IntOf(q, "DATALOCK");
  Rec.Tantou = IntOf(q, "TANTOU");
  Rec.VerMajor = IntOf(q, "VER_MAJOR");
  Rec.VerMinor1 = IntOf(q, "VER_MINOR1");
  Rec.VerMinor2 = IntOf(q, "VER_MINOR2");
  Rec.VerText = TextOf(q, "VER_TEXT");
  Rec.UpdateLock = IntOf(q, "UPDATE_LOCK");
  Rec.Gassan = static_cast<std::uint8_t>(IntOf(q, "GASSAN"));
  Rec.DataCode = TextOf(q, "DATACODE");
  Rec.DataStatus = static_cast<std::uint8_t>(IntOf(q, "DATA_STATUS"));
  Rec.Yobi1 = TextOf(q, "YOBI1");
  Rec.Yobi2 = TextOf(q, "YOBI2");
  Rec.Yobi3 = TextOf(q, "YOBI3");
  Rec.Cloud = static_cast<std::uint8_t>(IntOf(q, "CLOUD"));
  Rec.SpareInt = 0;
  Rec.SpareText.clear();
  Rec.KikanText = KikanTextOf(Rec.Kishu, Rec.Kimatu);
  Rec.DispName = Rec.EntText;
  if (How == TRowRead::ListLoad) Rec.PasName = NativePath(Rec.PasName);
  Rec.DataFolder = DataFolderPath(Rec);
  // A row registered with its own working folder as path is a local row.
  if (How == TRowRead::ListLoad && netDrive && Rec.PasName == Rec.DataFolder) Rec.NetDrive = 0;
}
