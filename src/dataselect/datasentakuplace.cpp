// The data place of the client modes in the data-selection dialog: the place
// list, leaving it (which loads the place's list) and the settings button.
#include <QComboBox>

#include "core/globals.h"
#include "dataselect/dataplace.h"
#include "dataselect/dataplacebox.h"
#include "dataselect/datasentaku.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"

namespace {

// Refills the place list with the named places; returns the entry of place
// Rec, -1 when it is not among them. Entry data is the place's REC.
int RefillPlaceList(QComboBox& Combo, std::vector<TDataPlaceRec>& Places, std::int32_t Rec) {
  LoadDataPlaces(Places, true);
  Combo.clear();
  for (const TDataPlaceRec& p : Places) Combo.addItem(QString::fromStdString(p.Name), p.Rec);
  return IndexOfPlace(Places, Rec);
}

}  // namespace

void TDataSentakuBox::cmbDataManChange() {
  btnDataMan->setFocusPolicy(Qt::StrongFocus);
  btnSearch->setEnabled(false);
  btnSearchCancel->setEnabled(false);
  PerfectGrid1->setEnabled(false);
  UpdateKeyBar();
}

void TDataSentakuBox::cmbDataManExit() {
  if (cmbDataMan->currentIndex() >= 0) DataPlace = cmbDataMan->currentData().toInt();
  btnDataMan->setFocusPolicy(Qt::NoFocus);
  btnSearch->setEnabled(true);
  btnSearchCancel->setEnabled(ActiveJyoken.JYOKENUSE == 1);
  PerfectGrid1->setEnabled(true);
  if (ReloadList() > 0) {
    FillGrid(-1);
    PerfectGrid1->setFocus();
  } else {
    PerfectGrid1->ClearRows();
  }
  UpdateKeyBar();
}

void TDataSentakuBox::btnDataManClick() {
  if (cmbDataMan->currentIndex() >= 0) DataPlace = cmbDataMan->currentData().toInt();
  SystemDef.DataPlace = DataPlace;
  if (!PlaceBox) PlaceBox = new TDataPlaceBox(this);
  PlaceBox->Prepare(true);
  if (PlaceBox->ShowModal() == mrOk) {
    std::vector<TDataPlaceRec> places;
    const int index = RefillPlaceList(*cmbDataMan, places, DataPlace);
    if (index >= 0) {
      cmbDataMan->setCurrentIndex(index);
      DataPlacePath = GetPlacePath(places, index);
    } else {
      // The chosen place is gone: back to the system folder's place.
      DataPlace = 0;
      SystemDef.DataPlace = 0;
      DataPlacePath = SystemDef.SysDir;
      const int zero = IndexOfPlace(places, 0);
      if (zero >= 0) {
        DataPlacePath = GetPlacePath(places, zero);
        cmbDataMan->setCurrentIndex(zero);
      }
      cmbDataManExit();
    }
  }
  UpdateKeyBar();
}
