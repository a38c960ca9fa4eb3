// TBSDI: size memory per operator (FORMRSIZE) and operation history (OPINF).
#include <QGuiApplication>
#include <QScreen>

#include "core/globals.h"
#include "core/winutil.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "ui/formstore.h"
#include "ui/sdi.h"

namespace {

// The client size of the main window (the screen's work area when there is none).
QSize MainClientSize() {
  if (const QWidget* main = MainForm()) return main->size();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().size() : QSize(1024, 768);
}

}  // namespace

void TBSDI::GetFormSize() {
  TFormDataStore* store = FormDataStore();
  if (!SaveFormSize || !store) return;
  const std::string name = objectName().toStdString();
  try {
    if (auto row = store->ReadFormSize(SystemDef.OpCode, name)) {
      move(row->Left, row->Top);
      resize(row->Width, row->Height);
      return;
    }
    TFormSizeRow row;
    row.Height = AdjustForFrameSize(ScaleByDpi(648, PixelsPerInch, 96), 0);
    row.Width = AdjustForFrameSize(ScaleByDpi(1012, PixelsPerInch, 96), 0);
    row.DefHeight = row.Height;
    row.DefWidth = row.Width;
    move(0, 0);
    resize(row.Width, row.Height);
    store->InsertFormSize(SystemDef.OpCode, name, row);
  } catch (const EFormStoreError& e) {
    ReportDbError("TBSDI.GetFormSize", e.what());  // the window keeps its bounds
  }
}

void TBSDI::PutFormSize() {
  TFormDataStore* store = FormDataStore();
  if (!SaveFormSize || !store) return;
  FreeLayout();
  const QSize main = MainClientSize();
  int top, left, height, width;
  if (isMaximized()) {
    height = main.height() - SystemDef.FrameHeight;
    width = main.width() - SystemDef.FrameHeight;
    top = left = 0;
  } else {
    top = std::max(0, y());
    left = std::max(0, x());
    height = this->height();
    width = this->width();
  }
  if (main.height() < top) top = 0;
  if (main.width() < left) left = 0;
  try {
    store->UpdateFormSize(SystemDef.OpCode, objectName().toStdString(), top, left, height, width);
  } catch (const EFormStoreError& e) {
    ReportDbError("TBSDI.PutFormSize", e.what());
  }
}

void TBSDI::PutProcRirekiInfo(int mode) {
  TFormDataStore* store = FormDataStore();
  if (!store) return;
  const std::string caption = windowTitle().toStdString();
  try {
    store->DeleteOperationHistory(SystemDef.OpCode, caption, mode == 0 ? "エラー終了" : "正常終了");
    if (mode == 0) store->InsertOperationHistory(SystemDef.OpCode, caption, SystemDef.PcName, Now());
  } catch (const EFormStoreError& e) {
    ReportDbError("TBSDI.PutProcRirekiInfo", e.what());
    throw;
  }
}
