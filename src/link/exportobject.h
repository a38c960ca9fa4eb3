// TComDataExport: the export object of the link program family. It knows the
// link target (business prefix and form id), the installed accounting
// product's name and version, the wizard's choices and the link settings file
// Veruda.ini, and writes the link file's REPORT root with its SYSTEM and BASIC
// nodes; the target-specific DATA node is the derived class's WriteBody.
// EDataExportError is the error class of every export step.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"

class TXmlSaveDoc;

// An export step that failed: the message for the user, a detail line and a
// code by which the export run decides (16 and 6 stay on the page).
class EDataExportError : public Exception {
 public:
  EDataExportError(const std::string& Msg, std::string Detail, std::int32_t Code)
      : Exception(Msg), Detail(std::move(Detail)), Code(Code) {}
  std::string Detail;
  std::int32_t Code;
};

// Code of an export whose link file could not be written; Detail then says why.
constexpr std::int32_t kLinkFileNotWritten = 4;

class TComDataExport {
 public:
  // ExportPath and FunctionValue: the caller's output path and value field of
  // the command line (empty and 0 without one). Reads Veruda.ini.
  TComDataExport(std::string ExportPath, std::int32_t FunctionValue);
  // Writes Veruda.ini; a failure is shown in an error box.
  virtual ~TComDataExport();
  TComDataExport(const TComDataExport&) = delete;
  TComDataExport& operator=(const TComDataExport&) = delete;

  // The link target's DATA node. Abstract here: raises "Abstract Error".
  virtual void WriteBody(TXmlSaveDoc& Doc);

  void LoadSettings();
  // Writes each key on its own; throws Exception with a Japanese text naming
  // the file and the reason when one of them could not be written.
  void SaveSettings();
  // Root REPORT and SYSTEM with its six values.
  void WriteSystemNode(TXmlSaveDoc& Doc);
  // BASIC with the values of FormId; EDataExportError (code 256) for a form
  // id without a branch.
  void WriteBasicNode(TXmlSaveDoc& Doc);

  // String value Name of the installed accounting product's newest registry
  // key of version Major ("" when there is none).
  static std::string GetProductRegValue(std::int32_t Major, std::int32_t Minor, const std::string& Name);
  // Veruda.ini's section for a business prefix ("" for an unknown prefix).
  static std::string SettingsSection(const std::string& Prefix);
  std::string SettingsFile() const;

  std::string DataRoot;        // common application data, "/" and HomeDir
  std::string IniDir;          // DataRoot + "/ini" (created when missing)
  std::string Caption;
  std::string TargetName = "消費税のヴェルダ";
  std::string GyoumuPrefix = "SY";
  std::int32_t CallerValue = 0;
  std::string FormId = "SY31";
  std::int32_t FormatVersion = 1;
  std::int32_t FunctionId = 1;
  std::string ConnectedProgramVer = "11.0.2";
  std::string ProgramName;     // registry value Product of the accounting product
  std::string ProgramVer;      // registry value Version
  std::string MinProgramVer = "11.1.0";
  std::string KomonsakiName;   // client (company) name
  std::int32_t FiscalTerm = 0;
  TDateTime PeriodFrom = 0;    // fiscal year start
  TDateTime PeriodTo = 0;      // fiscal year end
  std::int32_t ClosingDay = 99;
  std::int32_t SyotokuSyurui = 0;   // income kind (other link targets)
  std::int32_t HasuuKubun = 0;      // rounding kind (other link targets)
  std::uint8_t IncomeBreakdown = 0; // other link targets
  std::string DataDir;
  std::string DataPath;        // DATA key of Veruda.ini, written back unchanged
  std::int32_t StartCell = 0;
  std::int32_t EndCell = 0;
  std::int32_t LastCell = 0;
  std::int32_t TaxDefUH = 0;   // 0 tax-included, 1 tax-excluded bookkeeping
  std::int32_t TaxKanni = 0;   // non-zero: simplified taxation
  std::int32_t TaxJigyou = 0;
  std::int32_t TumiageFlag = 0;
  std::int32_t CompanyKind = 0;  // 1 corporation, 2 individual, 3 medical corporation
  std::int32_t CodeType = 0;
  std::string ExportFile;
  std::int32_t ExportKind = 0;   // 0 "SY", 2 "ST", 1 otherwise
  std::string DataVerMajor = "11";
};

// The document steps of an export: a new writer ("1.0", Shift_JIS, no
// standalone value), SYSTEM, BASIC and the link body, then the save to
// Export.ExportFile (work file, then rename; a symbolic link is written
// through). Every exception passes to the caller; a save that fails (the path
// is a folder, a device or a pipe, the disk is full, ...) becomes an
// EDataExportError naming the file and the reason. Nothing reaches the disk
// before the save, so a failed export leaves an earlier file unchanged.
void WriteLinkFile(TComDataExport& Export);
