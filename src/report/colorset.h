// TPrnColorSetBox: the choice of the four report colours (frame lines, grid
// lines, heading rows, total rows) with the system colour dialog, whose 16
// custom colours are kept per operator (style "Pallet_CustomColor").
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/vcl/color.h"
#include "ui/sdi.h"

class QColorDialog;
class QLabel;
class QPushButton;

// The custom colours as stored: 16 lines "ColorA=RRGGBB" .. "ColorP=RRGGBB"
// (hexadecimal of the colour value); a missing or bad line reads as white.
std::vector<TColor> ParseCustomColors(const std::string& text);
std::string CustomColorsText(const std::vector<TColor>& colors);

class TPrnColorSetBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TPrnColorSetBox(QWidget* owner = nullptr);

  bool PerOperator = false;
  // Line colour 1, line colour 2, net colour 1, net colour 2.
  std::array<TColor, 4> Colors{};
  // Shows the colours and loads the operator's custom colours.
  void Prepare();

  std::array<QLabel*, 4> Panels{};    // pnlLineColor1 .. pnlNetColor2
  std::array<QPushButton*, 4> Buttons{};  // btnLineColor1 .. btnNetColor2
  QLabel* lblKankyoColor = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QColorDialog* ColorDialog1 = nullptr;

 protected:
  void FormClose(TCloseAction& action) override;

 private:
  void ShowColor(int index, TColor color);
  void ChangeClick(int index);
  void EnvironmentClick();
  void OkClick();
  std::array<TColor, 4> shown_{};
};
