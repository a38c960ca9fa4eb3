#include "dbupdate/steptable.h"

#include <string_view>

#include "core/appinfo.h"
#include "core/globals.h"

namespace {

std::string WithProductName(std::string_view Text) {
  const std::string_view mark = kProductMark;
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = Text.find(mark); at != std::string_view::npos; at = Text.find(mark, from)) {
    out.append(Text.substr(from, at - from));
    out.append(AppInfo.AppTitle);
    from = at + mark.size();
  }
  out.append(Text.substr(from));
  return out;
}

}  // namespace

void RegisterDbUpdateStep(const TDbUpdateStepDef& Def, TDbUpdateListRec& Rec) {
  const bool oem = (OemKind == 1 || OemKind == 2) && (Def.OemTitle || Def.OemDescription);
  Rec.major = Def.major;
  Rec.minor1 = Def.minor1;
  Rec.minor2 = Def.minor2;
  Rec.StepProc = Def.StepProc;
  Rec.BackupNeeded = Def.BackupNeeded;
  Rec.Title = WithProductName(oem && Def.OemTitle ? Def.OemTitle : Def.Title);
  Rec.Description = WithProductName(oem && Def.OemDescription ? Def.OemDescription : Def.Description);
}

void RegisterDbUpdateSteps(std::span<const TDbUpdateStepDef> Defs, TArrayDbUpdateListRec& Steps) {
  Steps.assign(Defs.size(), TDbUpdateListRec{});
  for (std::size_t i = 0; i < Defs.size(); ++i) RegisterDbUpdateStep(Defs[i], Steps[i]);
}
