#include "comm/memberservice.h"

#include "comm/curlsession.h"
#include "core/globals.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr const char* kNoConnection = "サーバーに接続出来ません。";
constexpr const char* kUnknownId = "サーバーに接続出来ません、通信IDを確認して下さい。";

bool TakesDataSetId(int op) {
  switch (op) {
    case 1: case 2: case 20: case 21: case 22: case 25: case 26: return true;
    default: return false;
  }
}

bool OemWithKubun() { return OemKind == 1 || OemKind == 2; }

// The notice of a use-state or slot-table reply code other than "000".
TCommNotice CodeNotice(const std::string& code) {
  if (code == kResultUnknownId) return TCommNotice::ErrorOk(FramedMessage(kUnknownId));
  return TCommNotice::ErrorOk(ServerErrorMessage("サーバーエラー", code));
}

std::string DateField(TDateTime d) { return FormatDateTime("yyyymmdd", d) + "0000"; }

}  // namespace

std::string SlotText(int Slot) {
  const std::string t = "0" + std::to_string(Slot);
  return t.substr(t.size() - 2);
}

int TMemberService::SlotTableCode(const TSlotTableQuery& Query, TQueryFields& Fields, std::string& CommId,
                                  bool& CloudForm) {
  Fields.clear();
  CloudForm = false;
  if (!TakesDataSetId(Query.OperationCode)) {
    CommId = Query.CashBookCommId;
    Fields.emplace_back("sTRKubn", "2");
    return scSlotTable;
  }
  CommId = Query.CommId;
  if (Query.OperationCode < 20) {
    if (OemWithKubun()) Fields.emplace_back("sTRKubn", "10");
    return scSlotTable;
  }
  CloudForm = true;
  if (OemWithKubun()) {
    Fields.emplace_back("sTRKubn", "10");
    return scCloudSlotTable;
  }
  return (Query.Auto || AppKind == 2) ? scCloudSlotTableAuto : scCloudSlotTable;
}

bool TMemberService::GetSlotTable(const TSlotTableQuery& Query, TCommNotice& Notice, bool& ConnectionFailed) {
  Notice = {};
  ConnectionFailed = false;
  TQueryFields fields;
  std::string commId;
  bool cloud = false;
  const int code = SlotTableCode(Query, fields, commId, cloud);
  TStatusReply reply;
  try {
    reply = SendStatusRequest(code, commId, fields);
  } catch (const ETransferError&) {
    ConnectionFailed = true;
    Notice = TCommNotice::ErrorOk(FramedMessage(kNoConnection));
    return false;
  }
  if (!reply.HasLine(5)) {
    ConnectionFailed = true;
    Notice = TCommNotice::ErrorOk(FramedMessage(kNoConnection));
    return false;
  }
  const std::string result = reply.CodeAt(5);
  if (result != kResultOk) {
    Notice = CodeNotice(result);
    return false;
  }
  if (!ReadSlotTable(reply, cloud, SlotTable)) {
    ConnectionFailed = true;
    Notice = TCommNotice::ErrorOk(FramedMessage(kNoConnection));
    return false;
  }
  return true;
}

bool TMemberService::SetCloudShareUse(const std::string& CommId, int Area, int State, TCommNotice& Notice) {
  Notice = {};
  const TStatusReply reply =
      SendStatusRequest(scSetCloudUse, CommId, {{"fSname", SlotText(Area)}, {"fShare", std::to_string(State)}});
  if (!reply.HasLine(5)) throw ETransferError(CURLE_RECV_ERROR, "the reply ended early");
  const std::string result = reply.CodeAt(5);
  if (result == kResultOk) return true;
  Notice = CodeNotice(result);
  return false;
}

TValueReply TMemberService::RequestWithValue(int Code, const std::string& CommId, const TQueryFields& Fields) {
  TValueReply out;
  try {
    out.Reply = SendStatusRequest(Code, CommId, Fields);
  } catch (const ETransferError& e) {
    out.Error = e.what();
    return out;
  }
  out.Received = true;
  out.Line5 = out.Reply.Line(5);
  out.Value = out.Reply.ValueAt(5, 8);
  out.Code = out.Reply.CodeAt(6);
  return out;
}

TValueReply TMemberService::CheckOutStart(const std::string& CommId, int Area) {
  TValueReply r = RequestWithValue(scCloudCheckOut, CommId, {{"fSname", SlotText(Area)}});
  if (r.Received && r.Code == kResultOk) {
    const std::string text = SlashTimeText(r.Value);
    TDateTime value = 0;
    if (TimeTextToDateTime(text, value)) {
      LastUpdateText = text;
      LastUpdate = value;
    } else {
      r.Value.clear();
    }
  }
  return r;
}

bool TMemberService::FinishCloudReceive(const std::string& CommId, int Area,
                                        const std::function<bool(TDateTime)>& WriteCloudTime,
                                        TCommNotice& Notice) {
  Notice = {};
  const TValueReply r = CheckOutStart(CommId, Area);
  if (!r.Received) {
    Notice = TCommNotice::ErrorOk(FramedMessage("サーバーに接続出来ません。(完了処理)"));
    return false;
  }
  if (!r.Reply.HasLine(6)) {
    Notice = TCommNotice::ErrorOk(FramedMessage("受信完了処理エラー"));
    return false;
  }
  if (r.Code != kResultOk) {
    Notice = TCommNotice::ErrorOk(ServerErrorMessage("完了処理サーバーエラー", r.Code));
    return false;
  }
  if (r.Value.empty()) {
    Notice = TCommNotice::ErrorOk(FramedMessage("受信完了処理エラー"));
    return false;
  }
  // The new time must reach the data set: otherwise the next check-out would
  // take the local data for an older copy and restore over it.
  if (!WriteCloudTime || !WriteCloudTime(LastUpdate)) {
    Notice = TCommNotice::ErrorOk("ローカルデータの最終更新日付更新エラー");
    return false;
  }
  return true;
}

TQueryFields SendReportFields(const std::string& SlotText, const std::string& CompanyName, int Nendo,
                              TDateTime Kishu, TDateTime Kimatu, const std::string& Password, int VerMajor,
                              int VerMinor) {
  return {{"fSname", SlotText},
          {"fSg", CompanyNameField(CompanyName)},
          {"fNe", std::to_string(Nendo)},
          {"fKis", DateField(Kishu)},
          {"fKie", DateField(Kimatu)},
          {"fPa", Password},
          {"fYobi", Format("%2.2d%2.2d", VerMajor, VerMinor)}};
}
