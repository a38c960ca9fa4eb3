#include "comm/tusindispatch.h"

#include <QString>

namespace {

bool Blank(const std::string& s) { return QString::fromStdString(s).trimmed().isEmpty(); }

}  // namespace

std::int32_t OperationCodeOf(const std::string& Value, std::int32_t Current) {
  bool ok = false;
  const int v = QString::fromStdString(Value).trimmed().toInt(&ok);
  return ok && v >= 0 ? v : Current;
}

std::string OperationCaption(std::int32_t Code, std::uint8_t AppKind) {
  switch (Code) {
    case opRelaySend: return "データ送信";
    case opRelayReceive: return "データ受信";
    case opCashBookSend: return "現金出納帳送信";
    case opCashBookReceive: return "現金出納帳受信";
    case opMasterSend: return "マスター送信";
    case opServerCheck: return "サーバー確認";
    case opAutoReceive: return AppKind == 3 ? "自動受信" : "";
    case opAutoSend: return AppKind == 3 ? "自動送信" : "";
    case opCashBookSend3: return AppKind == 3 ? "現金出納帳送信" : "";
    case opCashBookReceive3: return AppKind == 3 ? "現金出納帳受信" : "";
    default: return "";
  }
}

TCommNotice DispatchRefusal(const TDispatchFacts& f, std::int32_t& Result) {
  Result = -1;
  if (f.AppKind == 2 && f.CloudArea > 0) return TCommNotice::InformationOk("クラウドシェアデータでは利用できません。");
  if (f.ConnectKind != 2 && f.CloudArea > 0 && f.Code == opRelayReceive)
    return TCommNotice::InformationOk("クラウドシェアデータでデータ受信は実行できません。");
  const std::int32_t code = f.AppKind == 2 ? opRelayReceive : f.Code;
  const char* noId = "　\r\n通信IDが設定されてません。通信設定で設定して下さい。\r\n ";
  const char* noPassword = "　\r\nパスワードが設定されてません。通信設定で設定して下さい。\r\n ";
  if (code == opRelaySend || code == opRelayReceive) {
    if (Blank(f.CommId)) return TCommNotice::WarningOk(noId);
    if (Blank(f.CommPassword)) return TCommNotice::WarningOk(noPassword);
    return {};
  }
  if (code != opAutoSend && f.OtherWindowOpen)
    return TCommNotice::WarningOk("　\r\n現在メニュー以外の画面を表示中なので、" + f.ProcessName + "処理は行えません。\r\n ");
  if (Blank(f.CashId) || Blank(f.CashPassword)) {
    if (code == opAutoReceive) Result = 0;
    return TCommNotice::WarningOk(Blank(f.CashId) ? noId : noPassword);
  }
  const bool cashCodes = code == opCashBookSend || code == opCashBookReceive || code == opMasterSend ||
                         code == opServerCheck || f.AppKind == 3;
  if (cashCodes && f.ApprovedJournals)
    return TCommNotice::WarningOk("現在ご利用中のデータは承認済み仕訳が含まれます。\r\n現金出納帳通信処理は行えません。");
  const bool combined = f.CombinedKind == 1 || f.CombinedKind == 2;
  if ((code == opCashBookSend || code == opMasterSend) && combined)
    return TCommNotice::WarningOk("現在選択中のデータは合算データのため、現金出納帳の送信処理は行えません。\r\n ");
  if (code == opCashBookReceive && combined)
    return TCommNotice::WarningOk("現在選択中のデータは合算データのため、現金出納帳の受信処理は行えません。\r\n ");
  return {};
}

TCommNotice AttachedElsewhereNotice(const std::string& Caption, std::uint8_t AppKind) {
  if (AppKind == 3)
    return TCommNotice::WarningOk("　\r\nこのデータは他のオペレータが使用中なので、データ受信は行えません。\r\n ");
  return {"　\r\nこのデータは他のオペレータが使用中です。" + Caption + "を開始しますか？\r\n ", kMsgConfirmation, false};
}

bool SlotHoldsData(const TSlotTable& Table, int Slot) {
  return Slot >= 1 && Slot <= 3 && !Blank(Table.Slots[static_cast<std::size_t>(Slot - 1)].CompanyName);
}

bool SlotRefusal(std::int32_t Code, const TSlotTable& Table, const std::string& DataKishu, std::int32_t& Result,
                 TCommNotice& Notice) {
  Notice = {};
  switch (Code) {
    case opCashBookSend:
    case opAutoSend:
    case opCashBookSend3:
      if (!SlotHoldsData(Table, 3) || Table.Slots[2].Kishu.substr(0, 10) != DataKishu) return false;
      Notice = TCommNotice::WarningOk("　\r\n中継サーバーに未受信の全データが存在しますので送信できません。\r\n ");
      return true;
    case opMasterSend:
      if (!SlotHoldsData(Table, 1)) return false;
      Notice = TCommNotice::WarningOk("　\r\n受信処理を行ってから、マスター送信して下さい。\r\n ");
      return true;
    case opCashBookReceive:
    case opAutoReceive:
    case opCashBookReceive3: {
      const bool any = Code == opCashBookReceive ? SlotHoldsData(Table, 1) : SlotHoldsData(Table, 3) || SlotHoldsData(Table, 2);
      if (any) return false;
      Result = 0;
      if (Code != opAutoReceive) Notice = TCommNotice::InformationOk("　\r\n受信データがありません。\r\n ");
      return true;
    }
    default:
      return false;
  }
}
