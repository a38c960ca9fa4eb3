#include "report/formlayer.h"

#include <fstream>

#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "report/fields.h"
#include "report/printdata.h"

TFormTables& FormTables() {
  static TFormTables tables;
  return tables;
}

double ReadFormVersion(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (in && std::getline(in, line)) {
    if (line.find("VER") == std::string::npos) continue;
    const auto comment = line.find("//");
    if (comment != std::string::npos) line.resize(comment);
    const auto open = line.find('"');
    const auto close = open == std::string::npos ? open : line.find('"', open + 1);
    if (close == std::string::npos) return 1.75;
    const double value = StrToFloatDef(Trim(line.substr(open + 1, close - open - 1)), 0);
    return value > 0 ? value : 1.75;
  }
  return 1.75;
}

void ReadFormVariables(TFormTables& tables, const std::string& path, int xOffset, int yOffset,
                       const TQBOXDEF& settings) {
  tables = TFormTables{};
  std::ifstream in(path, std::ios::binary);
  std::string raw;
  int sub = 0;
  bool pending = false;  // records after the last page end
  while (in && std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string line = Cp932ToUtf8Lossy(raw);
    if (line.empty() || line.back() != ';') line += ";0;";
    const TRecord r(line);
    if (r.Kind() == "E") {
      pending = false;
      if (++sub >= kMaxSubForms) break;
      continue;
    }
    if (!r.Kind().empty() && r.Kind()[0] != '*') pending = true;
    TSubForm& form = tables.SubForms[sub];
    if (r.Kind() == "&") {
      if (form.NextVariable >= 200) continue;
      const std::string name = UpperCase(r.Text(3));
      const int slot = name == "0" || name == "行間" ? 0 : form.NextVariable++;
      TFormVariable& v = form.Variables[slot];
      v.Name = name;
      v.X = r.Int(1) + xOffset;
      v.Y = r.Int(2) + yOffset;
      v.FontName = r.Text(4);
      v.FontSize = r.Int(5) == 0 ? 12 : r.Int(5);
      v.Style = UpperCase(r.Text(6));
      v.Color = LookupColor(r.Text(7), settings, false);
      v.Background = r.Text(8);
      v.Alignment = AlignmentCode(UpperCase(r.Text(9)));
      v.Width = r.Int(10);
      v.OncePerPage = r.Int(11) == 1;
      v.Centring = r.Int(12);
    } else if (r.Kind() == "$") {
      if (form.NextTotal >= 200) continue;
      const std::string name = UpperCase(r.Text(3));
      int found = -1;
      for (int i = 0; i < 101 && i < form.NextTotal; ++i)
        if (form.Totals[i].Name == name) found = i;
      if (found >= 0) {
        form.Totals[found].Printed = true;
        if (form.NextPosition < 10) {
          TFormVariable& p = form.TotalPositions[form.NextPosition++];
          p.Name = name;
          p.X = r.Int(1) + xOffset;
          p.Y = r.Int(2) + yOffset;
          p.FontName = r.Text(4);
          p.FontSize = r.Int(5);
          p.Style = UpperCase(r.Text(6));
          p.Color = LookupColor(r.Text(7), settings, false);
          p.Background = r.Text(8);
          p.Alignment = AlignmentCode(UpperCase(r.Text(9)));
          p.Width = r.Int(10);
          p.Centring = r.Int(12);
        }
      } else {
        TFormTotal& t = form.Totals[form.NextTotal++];
        t.Name = name;
        t.X = r.Int(1) + xOffset;
        t.Y = r.Int(2) + yOffset;
      }
    }
  }
  tables.FormPages = sub + (pending ? 1 : 0);
}

int LookupFormVariable(const TFormTables& tables, int subForm, const std::string& name) {
  if (subForm < 0 || subForm >= kMaxSubForms) return 0;
  const std::string upper = UpperCase(name);
  for (int i = 1; i <= 100; ++i)
    if (tables.SubForms[subForm].Variables[i].Name == upper && !upper.empty()) return i;
  return 0;
}

void ResetFormPage(TFormTables& tables, int subForm) {
  if (subForm < 0 || subForm >= kMaxSubForms) return;
  for (auto& v : tables.SubForms[subForm].Variables) v.Repeat = 0;
  for (auto& t : tables.SubForms[subForm].Totals) t.Total = 0;
}

int ReportPageCount(int dataPages, int formPages) {
  if (formPages <= 0) return dataPages;
  if (formPages > dataPages) return formPages;
  return (dataPages + formPages - 1) / formPages * formPages;
}

int SubFormOfPage(int page, int formPages) {
  if (formPages <= 0) return 0;
  return (page - 1) % formPages;
}
