#include "dbupdate/dbupdatebox.h"

#include <exception>

#include "platform/fb/iberror.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

void SetReadParams(TIBTransaction& Transaction) {
  Transaction.Params.Add("read_committed");
  Transaction.Params.Add("rec_version");
  Transaction.Params.Add("nowait");
}

}  // namespace

TDbUpdateBox::TDbUpdateBox() {
  SetReadParams(IBTransactionDEF);
  SetReadParams(IBTransactionDAT);
  RegisterSystemDbUpdateSteps(SystemSteps);
  RegisterUserDbUpdateSteps(UserSteps);
}

TDbUpdateBox::~TDbUpdateBox() = default;

bool TDbUpdateBox::SetDbVersion() {
  DbMajor = DbMinor = DbRev = 0;
  TIBDatabase* database = Kind == dbkSystem ? SystemDatabase : DataDatabase;
  TIBTransaction& transaction = Kind == dbkSystem ? IBTransactionDEF : IBTransactionDAT;
  if (database == nullptr) return false;
  TTransactionGuard guard(transaction);
  bool read = false;
  try {
    if (transaction.DefaultDatabase() != database) transaction.SetDefaultDatabase(database);
    TIBSQL query;
    query.SetDatabase(database);
    query.SetTransaction(&transaction);
    query.SQL.Add(Kind == dbkSystem ? "SELECT MAJOR,MINOR1 AS MINOR,MINOR2 AS REV FROM VERSION"
                                    : "SELECT MAJOR,MINOR1 AS MINOR,MINOR2 AS REV FROM ACCVERSION");
    query.SQL.Add("ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
    guard.Begin();
    query.ExecQuery();
    if (!query.Eof() && !query.FieldByName("MAJOR").IsNull() && !query.FieldByName("MINOR").IsNull() &&
        !query.FieldByName("REV").IsNull()) {
      DbMajor = query.FieldByName("MAJOR").AsInteger();
      DbMinor = query.FieldByName("MINOR").AsInteger();
      DbRev = query.FieldByName("REV").AsInteger();
      read = true;
    }
    query.Close();
    guard.Commit();
  } catch (const EIBError& error) {
    DbMajor = DbMinor = DbRev = 0;
    read = false;
    if (OnVersionError) OnVersionError(&error, kVersionReadLocation, kVersionReadMessage);
    guard.CommitQuietly();
  } catch (const std::exception&) {
    DbMajor = DbMinor = DbRev = 0;
    read = false;
    if (OnVersionError) OnVersionError(nullptr, kVersionReadLocation, kVersionReadMessage);
    guard.CommitQuietly();
  }
  return read;
}

bool TDbUpdateBox::SetDbVersionFromText(std::string_view Text) {
  TDbVersion version;
  const bool parsed = ParseDbVersionText(Text, version);
  DbMajor = version.Major;
  DbMinor = version.Minor;
  DbRev = version.Rev;
  return parsed;
}

void TDbUpdateBox::PrepareDbUpdate(std::uint8_t NewKind, std::string_view VersionText) {
  Kind = NewKind;
  UpdateNeeded = false;
  Updated = false;
  VersionUnknown = false;
  Compatibility = 0;
  FirstStep = LastStep = -1;
  TargetMajor = TargetMinor = TargetRev = 0;
  BackupCount = 0;

  const bool system = Kind == dbkSystem;
  CancelVisible = !system;
  ShowRedImage = system;
  if (system) {
    Title1 = "システムデータの更新を行います。";
    Title2.clear();
    Title3.clear();
  } else {
    Title1 = "会計データの更新を行います。";
    Title2 = "バックアップを取得せずに、この処理を行うと元に戻すことが出来ません。";
    Title3 = "必ずバックアップを取得後に実行することを強く推奨します。";
  }
  AgreeVisible = !system;
  cboxAgreeClick();

  const TArrayDbUpdateListRec& steps = Steps();
  if (!steps.empty()) {
    TargetMajor = steps.back().major;
    TargetMinor = steps.back().minor1;
    TargetRev = steps.back().minor2;
  }

  VersionUnknown = VersionText.empty() ? !SetDbVersion() : !SetDbVersionFromText(VersionText);

  ListItems.clear();
  SelectedItem = -1;
  DescriptionText.clear();
  if (VersionUnknown) return;

  const TDbVersion db{DbMajor, DbMinor, DbRev};
  const TDbVersion target{TargetMajor, TargetMinor, TargetRev};
  if (system) {
    Compatibility = 1;
  } else if (target.Major > db.Major) {
    Compatibility = 1;
  } else if (target.Major == db.Major && db.Minor <= target.Minor) {
    Compatibility = (db.Minor == target.Minor && db.Rev > target.Rev) ? 2 : 1;
  }

  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (CompareDbVersion(TDbVersion{steps[i].major, steps[i].minor1, steps[i].minor2}, db) > 0) {
      UpdateNeeded = true;
      FirstStep = static_cast<std::int32_t>(i);
      LastStep = static_cast<std::int32_t>(steps.size()) - 1;
      break;
    }
  }
  if (!UpdateNeeded) return;

  for (std::int32_t i = FirstStep; i <= LastStep; ++i) {
    const TDbUpdateListRec& step = steps[static_cast<std::size_t>(i)];
    ListItems.push_back({Format("%d.%d.%d", step.major, step.minor1, step.minor2), step.Title, "", -1});
    BackupCount += step.BackupNeeded;
  }
  ListView1SelectItem(0);
}

void TDbUpdateBox::ListView1SelectItem(int Index) {
  SelectedItem = Index;
  DescriptionText.clear();
  const TArrayDbUpdateListRec& steps = Steps();
  const long long step = static_cast<long long>(Index) + FirstStep;
  if (Index >= 0 && step >= 0 && step < static_cast<long long>(steps.size()))
    DescriptionText = steps[static_cast<std::size_t>(step)].Description;
}

void TDbUpdateBox::cboxAgreeClick() { OkEnabled = !AgreeVisible || AgreeChecked; }
