// TDataPlaceBox ("データの場所の設定"): the data places of the client modes in
// a grid (number, name, folder). F2 names a place not in use (creating its
// folder on the data server), F3 renames, F5 clears the name of a place whose
// data-set folders are all gone, 上へ/下へ reorder. Every change is written at
// once; 閉じる only returns OK. Place 0 can never be deleted.
//
// The caller runs Prepare(true), ShowModal and afterwards reloads its own
// list of places.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dataselect/dataplace.h"
#include "ui/sdi.h"

class QPlainTextEdit;
class TInputDlgBox;

class TDataPlaceBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataPlaceBox(QWidget* owner = nullptr);
  ~TDataPlaceBox() override;

  // Fills the grid from the system database; called before ShowModal.
  void Prepare(bool Ready);

  QWidget* pnlClient = nullptr;
  QWidget* pnlBottom = nullptr;
  TPerfectGrid* PerfectGrid1 = nullptr;
  TxPlButton* F1 = nullptr;
  TxPlButton* F2 = nullptr;
  TxPlButton* F3 = nullptr;
  TxPlButton* F5 = nullptr;
  TxPlButton* F6 = nullptr;
  TxPlButton* F7 = nullptr;
  QWidget* PanelHint = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
  TInputDlgBox* InputDlg = nullptr;   // child window of the dialog

  // The places in grid order (grid row r is Places[r - 1]).
  std::vector<TDataPlaceRec> Places;

  // Create, rename, delete, move up, move down (blank keys do nothing).
  void F2Click();
  void F3Click();
  void F5Click();
  void F6Click();
  void F7Click();
  void btnOKClick();
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;
  void FormClose(TCloseAction& action) override;
  void PerfectGrid1CellGotFocus(int row, int col);
  void PerfectGrid1CellLostFocus(int row, int col);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillPlaceGrid();
  void FillPlaceRow(int row);
  void UpdatePlaceKeyCaptions();
  void LoadHints();
  // The place of the active row, or nullptr.
  TDataPlaceRec* ActivePlace();
  // Asks for a place name; false when cancelled or left empty (told).
  bool AskPlaceName(const std::string& Caption, const std::string& Message, const std::string& Current,
                    const std::string& Hint, std::string& Name);
  // Saves the changed places; a failure is reported and the grid reloaded.
  void SavePlaces();
  // Moves the active row by Step (-1 up, +1 down) and renumbers the order.
  void MovePlace(int Step);

  bool ready_ = false;
};
