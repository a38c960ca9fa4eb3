#include "link/linkbody.h"

#include <memory>

#include "link/linkbuilder.h"
#include "link/xmlsavedoc.h"
#include "platform/rtl/sysutils.h"

void TSyohizeiDataExport::WriteBody(TXmlSaveDoc& Doc) {
  auto builder = std::make_unique<TSyohizeiDataMake>();
  builder->StartCell = StartCell;
  builder->EndCell = EndCell;
  builder->LastCell = LastCell;
  builder->TaxDefUH = TaxDefUH;
  builder->TaxKanni = TaxKanni;
  builder->TaxJigyou = TaxJigyou;
  builder->TumiageFlag = TumiageFlag;
  builder->ReuseJournalRead = ReuseJournalRead;

  const std::int32_t result = builder->BuildLinkData(Doc);
  switch (result) {
    case 5: throw EDataExportError("消費税の集計処理に失敗しました。", "", 1);
    case 6: throw EDataExportError("決算書項目で空の印刷名称が存在します。", "", 2);
    case 8: throw EDataExportError("帳票ライブラリのロードに失敗しました。", "", 5);
    case 17: throw EDataExportError("計算対象外のデータ　または　計算条件が選択されました。", "", 17);
    default: break;
  }
  TXmlNode* basic = Doc.FindChild(nullptr, "BASIC");
  Doc.SetChildValue(basic, "KEIKASHOCHIKAZEISHISAN", IntToStr(builder->TransitionalValue));
}
