#include "report/vdbprint.h"

#include <cmath>

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "report/errorlog.h"
#include "report/qboxdef.h"

namespace {

struct TPaperId {
  int Number;
  QPageSize::PageSizeId Id;
};

constexpr TPaperId kPaperIds[] = {
    {1, QPageSize::Letter}, {5, QPageSize::Legal},  {8, QPageSize::A3},     {9, QPageSize::A4},
    {11, QPageSize::A5},    {12, QPageSize::JisB4}, {13, QPageSize::JisB5}, {17, QPageSize::Tabloid},
};

// The paper number of the user-defined size.
constexpr int kUserPaper = 256;

int PaperNumberOf(const QPageSize& size) {
  for (const auto& row : kPaperIds)
    if (row.Id == size.id()) return row.Number;
  return size.id() == QPageSize::Custom ? kUserPaper : 9;
}

}  // namespace

TVDBPrint::TVDBPrint() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  noDefault_ = QPrinterInfo::defaultPrinter().isNull();
}

TVDBPrint::~TVDBPrint() = default;

void TVDBPrint::SetOutputFile(const std::string& path) {
  outputFile_ = path;
  printer_->setOutputFormat(path.empty() ? QPrinter::NativeFormat : QPrinter::PdfFormat);
  printer_->setOutputFileName(QString::fromStdString(path));
}

int TVDBPrint::CurrentIndex() const {
  if (noDefault_) return -1;
  return static_cast<int>(QPrinterInfo::availablePrinterNames().indexOf(printer_->printerName()));
}

void TVDBPrint::SelectPrinter(int index) {
  if (noDefault_ || !outputFile_.empty()) return;
  const auto names = QPrinterInfo::availablePrinterNames();
  if (index >= 0 && index < names.size())
    printer_->setPrinterName(names[index]);
  else
    printer_->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
}

int TVDBPrint::GetPaperNumber(const std::string& name, int length, int fallback, int width) {
  if (!Usable()) return fallback;
  for (const auto& row : kPaperIds)
    if (QPageSize(row.Id).name().toStdString() == name) return row.Number;
  if (length > 0 && width > 0) {
    for (const auto& row : kPaperIds) {
      const QSizeF mm = QPageSize(row.Id).size(QPageSize::Millimeter);
      if (std::abs(mm.height() * 10 - length) < 10 && std::abs(mm.width() * 10 - width) < 10) return row.Number;
    }
  }
  return fallback;
}

int TVDBPrint::GetPaper() {
  if (!Usable()) return 9;
  return PaperNumberOf(printer_->pageLayout().pageSize());
}

void TVDBPrint::SetUserPaperSize(int length, int width) {
  userLength_ = length;
  userWidth_ = width;
}

void TVDBPrint::ResetUserPaperSize() {
  userLength_ = 0;
  userWidth_ = 0;
}

void TVDBPrint::SetPaper(int paperNumber) {
  if (!Usable()) return;
  if (paperNumber == kUserPaper) {
    if (!UserPaperSet()) return;
    const QPageSize user(QSizeF(userWidth_ / 10.0, userLength_ / 10.0), QPageSize::Millimeter, "ユーザー定義",
                         QPageSize::ExactMatch);
    if (!printer_->setPageSize(user)) QuillboxLogError("Vdb.SetUserPaperSize", "用紙の大きさを設定できません。");
    return;
  }
  for (const auto& row : kPaperIds) {
    if (row.Number == paperNumber) {
      if (!printer_->setPageSize(QPageSize(row.Id))) QuillboxLogError("Vdb.SetPaper", "用紙を設定できません。");
      return;
    }
  }
}

void TVDBPrint::GetDevMode(TQBOXDEF& def) {
  if (!Usable()) return;
  const QPageSize size = printer_->pageLayout().pageSize();
  const QSizeF mm = size.size(QPageSize::Millimeter);
  def.DeviceName = printer_->printerName().toStdString();
  def.FormName = size.name().toStdString();
  def.PrinterNum = CurrentIndex();
  def.PaperLength = static_cast<int>(mm.height() * 10 + 0.5);
  def.PaperWidth = static_cast<int>(mm.width() * 10 + 0.5);
  def.Orientation = printer_->pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
  def.Copies = printer_->copyCount();
  def.Collate = printer_->collateCopies() ? 1 : 0;
  def.Duplex = static_cast<int>(printer_->duplex()) + 1;
  def.YResolution = printer_->resolution();
  def.DevModeFields = printer_->supportsMultipleCopies() ? kDevModeCollate : 0;
}

void TVDBPrint::SetDevMode(const TQBOXDEF& def) {
  if (!Usable()) return;
  printer_->setCopyCount(def.Copies < 1 ? 1 : def.Copies);
  printer_->setCollateCopies(def.Collate == 1);
  if (def.ColorMode != 0) printer_->setColorMode(def.ColorMode == 1 ? QPrinter::GrayScale : QPrinter::Color);
  if (def.Duplex != 0) printer_->setDuplex(static_cast<QPrinter::DuplexMode>(def.Duplex - 1));
}

int TVDBPrint::Copies() const { return Usable() ? printer_->copyCount() : 1; }
