// The data place of the client modes in the data-selection dialog: the place
// list, leaving it (which loads the place's list) and the settings button.
#include <QComboBox>

#include "core/globals.h"
#include "dataselect/dataplace.h"
#include "dataselect/dataplacebox.h"
#include "dataselect/datasentaku.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"

bool TDataSentakuBox::FillPlaceList() {
  std::vector<TDataPlaceRec> places;
  LoadDataPlaces(places, true);
  cmbDataMan->clear();
  for (const TDataPlaceRec& p : places) cmbDataMan->addItem(QString::fromStdString(p.Name), p.Rec);
  int index = IndexOfPlace(places, DataPlace);
  const bool found = index >= 0;
  if (!found) {
    // The chosen place is gone: back to the system folder's place.
    DataPlace = 0;
    index = IndexOfPlace(places, 0);
  }
  DataPlacePath = SystemDef.SysDir;
  if (index >= 0) {
    cmbDataMan->setCurrentIndex(index);
    DataPlacePath = GetPlacePath(places, index);
  }
  return found;
}

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
  if (PlaceBox->ShowModal() == mrOk && !FillPlaceList()) {
    SystemDef.DataPlace = 0;
    cmbDataManExit();
  }
  UpdateKeyBar();
}
