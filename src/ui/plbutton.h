// TxPlButton: the push button of the framework's dialogs (OK, Cancel and the
// function-key buttons "F1:ヘルプ" … "F12:選択"). It paints a vertical colour
// gradient, up to two caption lines, an optional picture, a frame of one of
// five styles and a focus mark. A click gives the window its ModalResult and
// runs OnClick.
#pragma once

#include <functional>
#include <string>

#include <QAbstractButton>
#include <QPixmap>

#include "platform/vcl/color.h"
#include "platform/vcl/modalresult.h"

class QShortcut;
class TxPlButton;

enum TxPlButtonStyle { bsNormal, bsFlat, bsFlatNoFrame, bsRoundRect, bsRoundRectNoFrame };
enum TxPlBtnFrameType { bffFlat, bffEtched, bffBump };
enum TxPlBtnAlignment { taCenter, taLeft, taRight, taEven };

// One caption line. The first line's text is the button's text().
class TxPlBtnCaption {
 public:
  TxPlBtnCaption(TxPlButton* owner, bool first) : owner_(owner), first_(first) {}
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  TxPlBtnAlignment Alignment() const { return alignment_; }
  void SetAlignment(TxPlBtnAlignment a);
  int Left() const { return left_; }
  void SetLeft(int v);
  int Right() const { return right_; }
  void SetRight(int v);
  void Assign(const TxPlBtnCaption& other);

 private:
  TxPlButton* owner_;
  bool first_;
  std::string caption_;
  TxPlBtnAlignment alignment_ = taCenter;
  int left_ = 0, right_ = 0;
};

class TxPlBtnImage {
 public:
  explicit TxPlBtnImage(TxPlButton* owner) : owner_(owner) {}
  const QPixmap& Picture() const { return picture_; }
  void SetPicture(const QPixmap& picture);
  bool HasPicture() const { return !picture_.isNull(); }
  int Left() const { return left_; }
  void SetLeft(int v);  // switches HorzCenter off
  int Top() const { return top_; }
  void SetTop(int v);   // switches VertCenter off
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool TransParent() const { return transparent_; }
  void SetTransParent(bool v);
  bool VertCenter() const { return vertCenter_; }
  void SetVertCenter(bool v);
  bool HorzCenter() const { return horzCenter_; }
  void SetHorzCenter(bool v);
  void Assign(const TxPlBtnImage& other);

 private:
  friend class TxPlButton;
  TxPlButton* owner_;
  QPixmap picture_;
  int left_ = 10, top_ = 0;
  bool visible_ = true, transparent_ = false, vertCenter_ = true, horzCenter_ = false;
};

class TxPlButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TxPlButton(QWidget* parent = nullptr);
  ~TxPlButton() override;

  TxPlButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TxPlButtonStyle style);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on);
  bool Gradation() const { return gradation_; }
  void SetGradation(bool on);
  TColor GradBeginColor() const { return gradBegin_; }
  void SetGradBeginColor(TColor c);
  TColor GradEndColor() const { return gradEnd_; }
  void SetGradEndColor(TColor c);
  bool HasFocus() const { return hasFocus_; }
  void SetHasFocus(bool on);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }
  TxPlBtnImage& Image() { return image_; }
  TxPlBtnCaption& CaptionA() { return captionA_; }
  TxPlBtnCaption& CaptionB() { return captionB_; }
  const TxPlBtnCaption& CaptionA() const { return captionA_; }
  const TxPlBtnCaption& CaptionB() const { return captionB_; }
  int CaptionLineSpace() const { return lineSpace_; }
  void SetCaptionLineSpace(int v);
  int CaptionTop() const { return captionTop_; }
  void SetCaptionTop(int v);  // switches CaptionVertCenter off
  bool CaptionVertCenter() const { return vertCenter_; }
  void SetCaptionVertCenter(bool on);
  TxPlBtnFrameType FlatFrameType() const { return frameType_; }
  void SetFlatFrameType(TxPlBtnFrameType t);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool on);
  bool Pressed() const { return pressed_; }

  // Runs on every click (after the window got the modal result), with the
  // button as sender. The window may change its modal result here.
  std::function<void(QObject* sender)> OnClick;

  // Screen position of the caption lines (for the even-spread alignment): the
  // left edge of each drawn character of a line at the last paint.
  const std::vector<int>& LastCharLefts(bool firstLine) const { return firstLine ? charsA_ : charsB_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class TxPlBtnCaption;
  friend class TxPlBtnImage;
  void Clicked();
  void ApplyRegion();
  void DrawCaption(QPainter& p, const TxPlBtnCaption& caption, int top, std::vector<int>& lefts);

  TxPlButtonStyle buttonStyle_ = bsNormal;
  bool cancel_ = false;
  bool gradation_ = true;
  TColor gradBegin_ = 0xFFFFFF, gradEnd_ = 0xC0C0C0;
  bool hasFocus_ = true;
  TModalResult modalResult_ = mrNone;
  TxPlBtnImage image_{this};
  TxPlBtnCaption captionA_{this, true}, captionB_{this, false};
  int lineSpace_ = 4;
  int captionTop_ = 0;
  bool vertCenter_ = true;
  TxPlBtnFrameType frameType_ = bffFlat;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  bool pressed_ = false;
  QShortcut* cancelShortcut_ = nullptr;
  std::vector<int> charsA_, charsB_;
};

// A button named Name on Parent with Caption, placed by design coordinates at
// 96 dots per inch (scaled to the screen).
TxPlButton* NewPlButton(QWidget* Parent, const char* Name, const std::string& Caption, int X, int Y, int W, int H);
