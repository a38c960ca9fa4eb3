#include "dataselect/datalisthook.h"

#include "core/globals.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/datasethooks.h"

namespace {

void UpdateDataListRow(const std::string& Folder, const TDataListFigures& Figures) {
  TDataSentakuListCtl list;
  list.ConnectKind = ConnectKind;
  list.SetDataPlace(SystemDef.DataPlace);
  TDataListRec row;
  TDataSentakuListCtl::InitDataListRecord(row, Folder);
  row.Gassan = Figures.GASSANKBN;
  list.GetDataListRecord(1, row, true);
  row.GroupId = SystemDef.GroupId;
  row.DataCode = Figures.CODE;
  row.Shougou = Figures.SHOUGOU;
  row.Nendo = Figures.NENDO;
  row.Kishu = Figures.KISHU;
  row.Kimatu = Figures.KIMATU;
  row.DataType = Figures.DATAKBN;
  row.CodeType = Figures.CODEKBN;
  row.Tantou = Figures.TANTO;
  row.VerMajor = Figures.MAJOR;
  row.VerMinor1 = Figures.MINOR1;
  row.VerMinor2 = Figures.MINOR2;
  row.VerText = Figures.VERSION2;
  row.Gassan = Figures.GASSANKBN;
  row.Cloud = Figures.CLOUD_SHARE;
  list.UpdateDataListRecord(row, 0, true);
}

}  // namespace

void InstallDataListHook() { DataSetHooks.UpdateDataListRow = UpdateDataListRow; }
