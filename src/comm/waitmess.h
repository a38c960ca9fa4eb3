// The wait windows of the exchange: TfmWaitMess shows the steps of a send or
// a receive as a column of check boxes beside an animation, TfmWaitMess2 is
// its one-line form for the cloud-share check. Both keep their animation
// moving with a 100 ms timer while the caller works between message pumps.
//
// Owner: before creating a wait window the caller puts its own window into
// WaitMessOwner (or WaitMess2Owner); the new window takes it as its owner.
#pragma once

#include <array>
#include <string>

#include <QDialog>

class QCheckBox;
class QTimer;
class TxBusyIndicator;

// How a step of a wait window is drawn.
enum class TWaitStep { Pending, Running, Finished };

class TfmWaitMessBase : public QDialog {
  Q_OBJECT
 public:
  TxBusyIndicator* Animate1 = nullptr;
  QTimer* Timer1 = nullptr;

  // Shows the step text in the step's look: running blue and ticked,
  // finished grey, pending black and not ticked.
  static void SetStep(QCheckBox* box, const std::string& text, TWaitStep step);
  // Sizes the window to a 96-dpi size scaled to the owner's pixels per inch.
  void SizeFor96Dpi(int width, int height);
  void ShowAndPaint();  // shows it modeless and lets it paint once

  void FormActivate();
  void Timer1Timer();

 protected:
  TfmWaitMessBase(QWidget* owner, const char* name);
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  QCheckBox* MakeBox(const char* caption, int y, bool ticked);
};

class TfmWaitMess : public TfmWaitMessBase {
  Q_OBJECT
 public:
  explicit TfmWaitMess(QWidget* owner);
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox3;
  QCheckBox* CheckBox4;
  QCheckBox* CheckBox5;
  QCheckBox* Box(int n) const;  // 1..5
};

class TfmWaitMess2 : public TfmWaitMessBase {
  Q_OBJECT
 public:
  explicit TfmWaitMess2(QWidget* owner);
  QCheckBox* CheckBox1;
};

inline QWidget* WaitMessOwner = nullptr;
inline QWidget* WaitMess2Owner = nullptr;
