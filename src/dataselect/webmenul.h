// The logged-in users window (process name "WebMenuL"): lists the other
// operators logged on to the system database, to explain why a version
// upgrade cannot run now. It is started by name through the start hook.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/sdi.h"

class QPlainTextEdit;
class TPerfectGrid;
class TxPlButton;
struct TProcessClass;

// One listed operator.
struct TLoginUserR {
  std::int32_t OpCode = 0;
  std::int32_t GroupId = 0;
  std::string OpName;
};

class TfmWebMenuL : public TBSDI {
  Q_OBJECT
 public:
  explicit TfmWebMenuL(QWidget* owner);
  ~TfmWebMenuL() override;

  void SetParams(const std::vector<std::string>& Params);
  // Modal 1: shows the list modally; 1 when other operators are logged on,
  // else 0 (the window then closes at once), -1 when it could not run.
  // Any other Modal shows the window modelessly and returns 1.
  std::int32_t Execute(std::int32_t Modal);
  void InitDialog(std::uint8_t Mode);

  // The listed operators, in the order the logon list gave them. The list
  // holds every logged-on operator but the current one.
  const std::vector<TLoginUserR>& Users() const { return users_; }

  TPerfectGrid* PerfectGrid1 = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* F1 = nullptr;
  TxPlButton* ESC = nullptr;
  TxPlButton* F12 = nullptr;
  std::int32_t SyoriType = 0;
  std::int32_t FormStyle = 0;
  std::uint8_t DialogMode = 0;
  std::vector<std::string> ParamLines;

  void FormShow() override;
  void FormClose(TCloseAction& action) override;
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;

 private:
  // Reads the logon list; true when another operator is logged on. A
  // database error is reported and raised again.
  bool LoadUsers();

  std::vector<TLoginUserR> users_;
  TModalResult loadResult_ = mrNone;
};

// Registers the window under "WebMenuL" (also done while the program loads).
const TProcessClass* RegisterWebMenuL();
