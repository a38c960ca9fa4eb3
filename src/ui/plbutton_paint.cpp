// Painting of TxPlButton: gradient, picture, caption lines, frame, focus mark.
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include "ui/plbutton.h"

namespace {

int Channel(QRgb c, int shift) { return (static_cast<int>(c) >> shift) & 0xFF; }

void DrawEdge(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.left(), r.bottom(), r.left(), r.top());
  p.drawLine(r.left(), r.top(), r.right(), r.top());
  p.setPen(bottomRight);
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
  p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
}

}  // namespace

void TxPlButton::DrawCaption(QPainter& p, const TxPlBtnCaption& caption, int top, std::vector<int>& lefts) {
  lefts.clear();
  const QString text = QString::fromStdString(caption.Caption());
  if (text.isEmpty()) return;
  const QFontMetrics fm(font());
  TxPlBtnAlignment alignment = caption.Alignment();
  if (alignment == taEven && text.size() == 1) alignment = taCenter;
  const int offset = pressed_ && hasFocus_ ? 1 : 0;
  const int y = top + offset + fm.ascent();
  const bool engraved = !isEnabled() && hasFocus_;
  auto drawAt = [&](int x, const QString& s) {
    if (engraved) {
      p.setPen(ColorToQColor(clBtnHighlight));
      p.drawText(x + 1, y + 1, s);
      p.setPen(ColorToQColor(clBtnShadow));
    }
    p.drawText(x, y, s);
    lefts.push_back(x);
  };
  if (!engraved) p.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : ColorToQColor(clGrayText));
  if (alignment != taEven) {
    int x = 0;
    const int w = fm.horizontalAdvance(text);
    if (alignment == taCenter) x = width() / 2 - w / 2;
    else if (alignment == taLeft) x = caption.Left() + 2;
    else x = width() - caption.Right() - 2 - w;
    drawAt(x + offset, text);
    return;
  }
  // Even spread: characters from the left margin to the right margin, the gaps
  // shared out, the remainder one pixel at a time from the left.
  int x = caption.Left() + 2;
  const int span = width() - caption.Right() - caption.Left() - 4;
  const int n = static_cast<int>(text.size());
  const int t = fm.horizontalAdvance(text);
  const int gap = (span - t) / (n - 1);
  int r = (span - t) % (n - 1);
  for (const QChar c : text) {
    drawAt(x + offset, QString(c));
    x += fm.horizontalAdvance(c) + gap;
    if (r > 0) { ++x; --r; } else if (r < 0) { --x; ++r; }
  }
}

void TxPlButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  // 1. Background.
  if (gradation_) {
    const QRgb b = ColorToQColor(gradBegin_).rgb(), e = ColorToQColor(gradEnd_).rgb();
    for (int y = 0; y < h; ++y) {
      auto mix = [&](int shift) {
        const int cb = Channel(b, shift), ce = Channel(e, shift);
        return h > 1 ? cb + y * (ce - cb) / (h - 1) : cb;
      };
      p.setPen(QColor(mix(16), mix(8), mix(0)));
      p.drawLine(0, y, w - 1, y);
    }
  } else if (!parentColor_) {
    p.fillRect(rect(), ColorToQColor(color_));
  }
  // 2. Picture.
  if (image_.visible_ && !image_.picture_.isNull()) {
    const QPixmap& pic = image_.picture_;
    if (image_.vertCenter_) image_.top_ = (h - pic.height()) / 2;
    if (image_.horzCenter_) image_.left_ = (w - pic.width()) / 2;
    const int o = pressed_ && hasFocus_ ? 1 : 0;
    if (image_.transparent_) {
      QPixmap masked = pic;
      masked.setMask(pic.createHeuristicMask());
      p.drawPixmap(image_.left_, image_.top_, masked);
    } else if (!isEnabled() && hasFocus_) {
      p.drawPixmap(image_.left_ + o, image_.top_ + o,
                   style()->generatedIconPixmap(QIcon::Disabled, pic, nullptr));
    } else {
      p.drawPixmap(image_.left_ + o, image_.top_ + o, pic);
    }
  }
  // 3-4. Caption lines.
  p.setFont(font());
  const QFontMetrics fm(font());
  const int hA = fm.height();
  const bool hasA = !captionA_.Caption().empty(), hasB = !captionB_.Caption().empty();
  int firstTop = captionTop_;
  if (vertCenter_) {
    firstTop = hasB ? (h - 2 * hA - lineSpace_) / 2 : (h - hA) / 2 + 1;
    captionTop_ = firstTop;
  }
  DrawCaption(p, captionA_, firstTop, charsA_);
  int secondTop;
  if (!vertCenter_) {
    secondTop = captionTop_ + (hasA ? hA + lineSpace_ : 0);
  } else if (hasA) {
    secondTop = firstTop + hA + lineSpace_;
  } else {
    secondTop = (h - fm.height()) / 2;
    captionTop_ = secondTop;
  }
  DrawCaption(p, captionB_, secondTop, charsB_);
  // 5. Frame.
  p.setBrush(Qt::NoBrush);
  const QRect r(0, 0, w, h);
  switch (buttonStyle_) {
    case bsNormal:
      if (pressed_) {
        p.setPen(ColorToQColor(clBtnShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(ColorToQColor(clGray));
        p.drawRect(r.adjusted(1, 1, -2, -2));
      } else {
        DrawEdge(p, r.adjusted(0, 0, -1, -1), ColorToQColor(clBtnHighlight), QColor(0, 0, 0));
        DrawEdge(p, r.adjusted(1, 1, -2, -2), QColor(227, 227, 227), ColorToQColor(clBtnShadow));
      }
      break;
    case bsFlat:
      if (frameType_ == bffFlat) {
        p.setPen(ColorToQColor(clBtnShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
      } else {
        const bool etched = frameType_ == bffEtched;
        DrawEdge(p, r.adjusted(0, 0, -1, -1), etched ? ColorToQColor(clBtnShadow) : ColorToQColor(clBtnHighlight),
                 etched ? ColorToQColor(clBtnHighlight) : ColorToQColor(clBtnShadow));
        DrawEdge(p, r.adjusted(1, 1, -2, -2), etched ? ColorToQColor(clBtnHighlight) : ColorToQColor(clBtnShadow),
                 etched ? ColorToQColor(clBtnShadow) : ColorToQColor(clBtnHighlight));
      }
      break;
    case bsRoundRect:
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(ColorToQColor(0x757575), 1));
      p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 5, 5);
      break;
    default:
      break;
  }
  // 6. Focus mark.
  if (hasFocus_ && hasFocus()) {
    QPen pen(QColor(0x20, 0x20, 0x20), 1, Qt::DotLine);
    p.setPen(pen);
    if (buttonStyle_ == bsRoundRect || buttonStyle_ == bsRoundRectNoFrame) {
      p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 4, 4);
    } else {
      int inset = 3;
      if (buttonStyle_ == bsFlat && frameType_ == bffBump) inset = 2;
      if (buttonStyle_ == bsFlat && frameType_ == bffEtched) inset = 4;
      p.drawRect(r.adjusted(inset, inset, -inset - 1, -inset - 1));
    }
  }
}
