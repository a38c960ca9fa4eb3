// TxAnimeProgressDialog: a small waiting window for long work on the
// user-interface thread: an animation, a one-line information text and
// optionally a "キャンセル" button. Show disables the parent window and returns
// at once; the caller works, updates InfoLabel, polls Cancelled, and Close
// removes the window and enables the parent again. The animation file has no
// player here: an existing file (or a standard animation) shows an animated
// busy indicator in its place.
#pragma once

#include <functional>
#include <string>

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QTimer;

enum TxLabelPosition { xlpRight, xlpBottom };
enum TCommonAVI { aviNone, aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles, aviCopyFile, aviRecycleFile,
                  aviEmptyRecycle, aviDeleteFile };

// The animated busy indicator in place of the animation control.
class TxBusyIndicator : public QWidget {
  Q_OBJECT
 public:
  explicit TxBusyIndicator(QWidget* parent);
  void SetActive(bool on);
  bool Active() const;
  int Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer* timer_;
  int frame_ = 0;
};

class TxProgressForm : public QDialog {
  Q_OBJECT
 public:
  explicit TxProgressForm(QWidget* owner);
  TxBusyIndicator* Animation = nullptr;
  QLabel* Info = nullptr;
  QPushButton* CancelButton = nullptr;
  std::function<void()> OnClose;

 public:
  // Esc: what the cancel button does, when it is shown; the window stays
  // until the work that showed it closes it.
  void reject() override;

 protected:
  void hideEvent(QHideEvent* event) override;
  // Closing by the window system is refused while the work runs.
  void closeEvent(QCloseEvent* event) override;
};

class TxAnimeProgressDialog : public QObject {
  Q_OBJECT
 public:
  explicit TxAnimeProgressDialog(QObject* owner = nullptr);
  ~TxAnimeProgressDialog() override;

  QWidget* Handle() const { return form_; }
  QWidget* ParentHandle() const { return parentHandle_; }
  void SetParentHandle(QWidget* w) { parentHandle_ = w; }
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  std::string InfoLabel() const { return infoLabel_; }
  void SetInfoLabel(const std::string& text);
  TxLabelPosition LabelPosition() const { return labelPosition_; }
  void SetLabelPosition(TxLabelPosition position);
  TCommonAVI CommonAVI() const { return commonAvi_; }
  void SetCommonAVI(TCommonAVI avi) { commonAvi_ = avi; }
  std::string AviFile() const { return aviFile_; }
  void SetAviFile(const std::string& file);
  bool AnimeActive() const;
  void SetAnimeActive(bool on) { PlayAnime(on); }
  bool CancelBtnShow() const { return cancelBtnShow_; }
  void SetCancelBtnShow(bool on) { cancelBtnShow_ = on; }
  std::function<void(QObject* sender)> OnShow;
  std::function<void(QObject* sender)> OnClose;

  bool Cancelled = false;
  bool Running = false;

  void Show(QWidget* parentForm);
  int Close();
  void PlayAnime(bool active);

 private:
  void LayOut();

  QPointer<TxProgressForm> form_;
  QPointer<QWidget> parentHandle_;
  std::string caption_, infoLabel_, aviFile_;
  TxLabelPosition labelPosition_ = xlpRight;
  TCommonAVI commonAvi_ = aviNone;
  bool cancelBtnShow_ = true;
};
