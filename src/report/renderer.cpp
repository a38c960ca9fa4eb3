#include "report/renderer.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include "core/sjis.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/sysutils.h"
#include "report/engine.h"
#include "report/errorlog.h"
#include "report/fields.h"
#include "report/formlayer.h"
#include "report/pagenoformat.h"
#include "report/printdata.h"

namespace {

int R(double v) { return static_cast<int>(std::lround(v)); }

// The faces the report's font names stand for.
QString FamilyOf(std::string name) {
  if (!name.empty() && name[0] == '@') name.erase(0, 1);
  if (name.empty() || name == "ＭＳ 明朝" || name == "ＭＳ Ｐ明朝") return "Noto Serif CJK JP";
  if (name == "ＭＳ ゴシック" || name == "ＭＳ Ｐゴシック" || name == "System" || name == "MS UI Gothic")
    return "Noto Sans CJK JP";
  if (name == "JAN" || name == "OCR-B" || name == "OCRB") {
    if (QFontDatabase::hasFamily(QString::fromStdString(name))) return QString::fromStdString(name);
    return "Noto Sans Mono CJK JP";
  }
  return QString::fromStdString(name);
}

// The characters of a UTF-8 text.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_regular_file(path, ignored);
}

thread_local int formDepth = 0;  // FORM records inside sub-forms

}  // namespace

class TPageRenderer::Page {
 public:
  Page(TPageRenderer& r, const std::string& layer, const TRenderTarget& t)
      : r_(r), s_(r.settings_), layer_(layer), t_(t), p_(*t.Painter) {
    formLayer_ = layer != "DAT";
    scaled_ = !(layer == "SUBFORM" && !s_.PrintFom);
    startLeft_ = r.LeftOrigin;
    startTop_ = r.TopOrigin;
    Offsets();
  }

  void Offsets() {
    double left = r_.LeftOrigin + (t_.EvenPage ? s_.EvenMarginShift : 0);
    double top = r_.TopOrigin;
    if (r_.OnPrinter) {
      left += s_.LeftCorrect;
      top += s_.TopCorrect;
    }
    if (layer_ == "FOM") {
      left += s_.FormLeftMargin;
      top += s_.FormTopMargin;
    }
    offX_ = R(left * t_.UnitsX);
    offY_ = R(top * t_.UnitsY);
  }

  int X(int v) const {
    const int x = R(v * t_.UnitsX) + offX_ + t_.XOrigin;
    return scaled_ && r_.Factors.Horizontal != 0 ? R(x * r_.Factors.Horizontal / 1000.0) : x;
  }
  int Y(int v) const {
    const int y = R(v * t_.UnitsY) + offY_ + t_.YOrigin;
    return scaled_ && r_.Factors.Vertical != 0 ? R(y * r_.Factors.Vertical / 1000.0) : y;
  }
  int LenX(int v) const { return R(v * t_.UnitsX); }
  int LenY(int v) const { return R(v * t_.UnitsY); }
  QColor Color(const std::string& field) const { return ColorToQColor(LookupColor(field, s_, formLayer_)); }

  // Font of a text record; a size of 0 or less keeps the previous height.
  void SetFont(const std::string& name, int size, const std::string& style, bool crossScale = true) {
    std::string family = name;
    if (family.empty()) family = "ＭＳ 明朝";
    if (family == "OCR-B" && !QFontDatabase::hasFamily("OCR-B"))
      family = QFontDatabase::hasFamily("OCRB") ? "OCRB" : "ＭＳ ゴシック";
    QFont font(FamilyOf(family));
    // Shaping swaps the digits of the CJK faces for glyphs that a PDF's text
    // layer cannot name, so printed reports would lose their numbers when read.
    font.setStyleStrategy(QFont::PreferNoShaping);
    if (size > 0) {
      const int vf = r_.Factors.Vertical;
      height_ = crossScale && vf != 0 && vf != 1000 ? R(size * t_.PixelsPerInch * vf * 0.001) / 72
                                                    : R(size * t_.PixelsPerInch / 72.0);
    }
    if (name == "JAN" && r_.OnPrinter) height_ = 3;
    font.setPixelSize(std::max(1, height_));
    const TTextStyle st = TextStyleOf(style);
    font.setBold(st.Bold);
    font.setItalic(st.Italic);
    font.setUnderline(st.Underline);
    font.setStrikeOut(st.StrikeOut);
    doubleUnderline_ = st.DoubleUnderline;
    p_.setFont(font);
  }

  // One line of text with its cell's top-left corner at (x, y).
  void DrawCell(int x, int y, const QString& text, const QColor* background) {
    const QFontMetrics fm(p_.font());
    if (background) p_.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), *background);
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.drawText(QPoint(x, y + fm.ascent()), text);
    if (doubleUnderline_) {
      const int below = y + fm.ascent() + fm.underlinePos() + LenY(4);
      p_.drawLine(x, below, x + fm.horizontalAdvance(text), below);
    }
  }

  // A text at a record's point with its alignment, centring, background and tabs.
  void DrawText(int x, int y, const std::string& text, const std::string& colorField, const std::string& back,
                int align, int centring, int lineOffset = 0) {
    p_.setPen(Color(colorField));
    TColor bg = 0;
    const bool hasBack = LookupBackground(back, s_, formLayer_, bg);
    const QColor bgColor = ColorToQColor(bg);
    const QFontMetrics fm(p_.font());
    if (centring == 1) y -= R(height_ * 0.5 - 0.55);
    if (lineOffset < 0) y += lineOffset;
    int line = 0;
    for (const std::string& part : SplitString(text, '\t')) {
      const QString q = Q(part);
      const int w = fm.horizontalAdvance(q);
      int left = x;
      if (align == 1) {
        left = x - w / 2;
      } else if (align == 2) {
        left = x - w;
      } else if (centring == 1 && !q.isEmpty()) {
        left = x - fm.horizontalAdvance(q.left(1)) / 2;
      }
      DrawCell(left, y + line * fm.height(), q, hasBack ? &bgColor : nullptr);
      ++line;
    }
  }

  // Characters spread so that the last one ends at x + width.
  void DrawSpread(int x, int y, const std::string& text, int width, const std::string& colorField) {
    p_.setPen(Color(colorField));
    const auto chars = Characters(text);
    if (chars.empty()) return;
    QFontMetrics fm(p_.font());
    int bytesBefore = 0;
    for (std::size_t i = 0; i + 1 < chars.size(); ++i) bytesBefore += Cp932CharWidth(chars[i]);
    const int lastW = fm.horizontalAdvance(Q(chars.back()));
    const double step = bytesBefore > 0 ? double(width - lastW) / bytesBefore : 0;
    double at = x;
    for (const auto& c : chars) {
      DrawCell(R(at), y, Q(c), nullptr);
      at += step * Cp932CharWidth(c);
    }
  }

  void DrawVertical(int x, int y, const std::string& text, int height, const std::string& colorField,
                    const std::string& back, int align, int centring) {
    const auto chars = Characters(text);
    const QFontMetrics fm(p_.font());
    const int n = static_cast<int>(chars.size());
    const int charH = fm.height();
    const int step = n >= 3 ? (height - charH) / (n - 1) : height - charH;
    if (step < 1) {
      DrawText(x, y, text, colorField, back, align, centring);
      return;
    }
    p_.setPen(Color(colorField));
    for (int i = 0; i < n; ++i) {
      const int top = y + i * step;
      if (chars[i] == "ー") {
        // The long-vowel mark turns with the line, one point smaller.
        p_.save();
        QFont f = p_.font();
        f.setPixelSize(std::max(1, f.pixelSize() - R(t_.PixelsPerInch / 72.0)));
        p_.setFont(f);
        const int w = fm.horizontalAdvance(Q(chars[i]));
        p_.translate(x + w / 2.0, top + charH / 2.0);
        p_.rotate(90);
        p_.drawText(QPoint(-w / 2, -charH / 2 + QFontMetrics(f).ascent()), Q("ー"));
        p_.restore();
      } else {
        DrawCell(x, top, Q(chars[i]), nullptr);
      }
    }
  }

  QPen LinePen(int width, int style, const QColor& color) const {
    QPen pen(color);
    pen.setStyle(PenStyleOf(style));
    if (width <= 1) {
      pen.setWidth(0);  // one device pixel
      pen.setCosmetic(true);
    } else {
      pen.setWidth(width);
      pen.setCapStyle(style == 0 ? Qt::RoundCap : Qt::FlatCap);
      pen.setJoinStyle(style == 0 ? Qt::RoundJoin : Qt::MiterJoin);
    }
    return pen;
  }

  QBrush Fill(const std::string& colorField, int style) const { return QBrush(Color(colorField), BrushStyleOf(style)); }

  void OpaqueWhite() {
    p_.setBackgroundMode(Qt::OpaqueMode);
    p_.setBackground(Qt::white);
  }

  QRect Rect(const TRecord& r, int first = 1) const {
    return QRect(QPoint(X(r.Int(first)), Y(r.Int(first + 1))), QPoint(X(r.Int(first + 2)), Y(r.Int(first + 3))))
        .normalized();
  }

  void Draw(const TRecord& r);
  void Image(const TRecord& r);
  void Form(const TRecord& r);
  void Variable(const TRecord& r);
  void Memo(const TRecord& r);

  TPageRenderer& r_;
  const TQBOXDEF& s_;
  std::string layer_;
  const TRenderTarget& t_;
  QPainter& p_;
  bool formLayer_ = false;
  bool scaled_ = true;
  int startLeft_ = 0, startTop_ = 0;
  int offX_ = 0, offY_ = 0;
  int height_ = 0;
  bool doubleUnderline_ = false;
  QPoint bpOrigin_;
  QPoint penAt_;
};

void TPageRenderer::Page::Draw(const TRecord& r) {
  const std::string& k = r.Kind();
  if (k.empty() || k[0] == '*') return;
  if (k == "TEXT" || k == "NTEXT" || k == "UTEXT" || k == "VTEXT") {
    SetFont(r.Text(4), r.Int(5, 10), r.Text(6));
    const int align = AlignmentCode(r.Text(9));
    if (k == "UTEXT") {
      DrawSpread(X(r.Int(1)), Y(r.Int(2)), r.Text(3), LenX(r.Int(10)), r.Text(7));
    } else if (k == "VTEXT") {
      DrawVertical(X(r.Int(1)), Y(r.Int(2)), r.Text(3), LenY(r.Int(10)), r.Text(7), r.Text(8), align, r.Int(11));
    } else {
      DrawText(X(r.Int(1)), Y(r.Int(2)), r.Text(3), r.Text(7), r.Text(8), align, r.Int(11));
    }
  } else if (k == "@") {
    Variable(r);
  } else if (k == "MEMO") {
    Memo(r);
  } else if (k == "BP") {
    p_.setPen(LinePen(LenX(r.Int(3)), r.Int(4), Color(r.Text(5))));
    bpOrigin_ = penAt_ = QPoint(X(r.Int(1)), Y(r.Int(2)));
  } else if (k == "LINEB") {
    const QPoint to = bpOrigin_ + QPoint(LenX(r.Int(1)), LenY(r.Int(2)));
    p_.drawLine(penAt_, to);
    penAt_ = to;
  } else if (k == "LINE" || k == "ELINE") {
    const int w = r.Int(5, 1);
    const int width = k == "ELINE" ? R(w * t_.UnitsX / 10.0) : LenX(w);
    p_.setPen(LinePen(width, r.Int(6), Color(r.Text(7))));
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.drawLine(X(r.Int(1)), Y(r.Int(2)), X(r.Int(3)), Y(r.Int(4)));
  } else if (k == "BOX" || k == "CIRCLE" || k == "RRECT") {
    const bool rounded = k == "RRECT";
    const int pen = rounded ? 7 : 5;
    p_.setPen(LinePen(LenX(r.Int(pen, k == "BOX" ? 1 : 0)), r.Int(pen + 1), Color(r.Text(pen + 2))));
    p_.setBrush(Fill(r.Text(pen + 3), r.Int(pen + 4)));
    OpaqueWhite();
    const QRect box = Rect(r);
    if (k == "BOX") p_.drawRect(box);
    if (k == "CIRCLE") p_.drawEllipse(box);
    if (rounded) p_.drawRoundedRect(box, (LenX(r.Int(5)) + 1) / 2.0, (LenY(r.Int(6)) + 1) / 2.0);
    p_.setBrush(Qt::NoBrush);
  } else if (k == "SLINE") {
    p_.setPen(LinePen(LenX(r.Int(5)), r.Int(6), Color(r.Text(7))));
    QFont f(FamilyOf(r.Text(8)));
    f.setPixelSize(std::max(1, R(r.Int(9, 10) * t_.PixelsPerInch / 72.0)));
    const int step = QFontMetrics(f).horizontalAdvance("000");
    for (int i = 1; i <= r.Int(4); ++i) {
      const int x = X(r.Int(1)) - (i * step + 1);
      p_.drawLine(x, Y(r.Int(2)), x, Y(r.Int(3)));
    }
  } else if (k == "FRECT") {
    const int mode = r.Int(6);
    if (mode == 0) p_.fillRect(Rect(r), Color(r.Text(5)));
    if (mode == 2) {
      p_.save();
      p_.setCompositionMode(QPainter::CompositionMode_Multiply);
      p_.fillRect(Rect(r), Color(r.Text(5)));
      p_.restore();
    }
  } else if (k == "MARUMOJI") {
    SetFont(r.Text(5), r.Int(6, 10), r.Text(7), false);
    const QColor c = Color(r.Text(8));
    const QPoint centre(X(r.Int(1)), Y(r.Int(2)));
    const QFontMetrics fm(p_.font());
    const QString text = Q(r.Text(4));
    p_.setPen(c);
    p_.drawText(QPoint(centre.x() - fm.horizontalAdvance(text) / 2, centre.y() - fm.height() / 2 + fm.ascent()),
                text);
    QPen pen(c);
    pen.setWidth(r.Text(7) == "B" ? 2 : 1);
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
    const int d = LenX(r.Int(3));
    p_.drawEllipse(QRect(centre.x() - d / 2, centre.y() - d / 2, d, d));
  } else if (k == "IMAGE") {
    Image(r);
  } else if (k == "LEFTMARGIN" || k == "TOPMARGIN") {
    const int v = r.Int(1);
    if (v != 0) {
      (k == "LEFTMARGIN" ? r_.LeftOrigin : r_.TopOrigin) = (k == "LEFTMARGIN" ? startLeft_ : startTop_) + v;
      Offsets();
    }
  } else if (k == "MESSAGE") {
    if (r_.OnPrinter) r_.PendingMessage = r.Text(1);
  } else if (k == "FORM") {
    Form(r);
  }
  // CHART: no chart is registered here. ORIENTATION and unknown kinds draw nothing.
  if (k == "TEXT" || k == "NTEXT" || k == "UTEXT" || k == "VTEXT" || k == "@" || k == "MARUMOJI" || k == "MEMO") {
    p_.setPen(Qt::black);
    doubleUnderline_ = false;
    OpaqueWhite();
  }
}

void TPageRenderer::Page::Memo(const TRecord& r) {
  const QRect box = Rect(r);
  SetFont(r.Text(7), r.Int(8, 10), r.Text(9));
  const QColor c = Color(r.Text(10));
  if (r.Int(6) >= 0) {
    QPen pen(c);
    pen.setWidth(std::max(1, LenX(r.Int(6))));
    p_.setPen(pen);
    p_.setBrush(Qt::white);
    p_.drawRect(box.adjusted(-5, -5, 5, 5));
    p_.setBrush(Qt::NoBrush);
  }
  p_.setPen(c);
  const QFontMetrics fm(p_.font());
  std::vector<QString> lines(1);
  for (const auto& ch : Characters(r.Text(5))) {
    const QString q = Q(ch);
    if (!lines.back().isEmpty() && fm.horizontalAdvance(lines.back() + q) > box.width()) lines.emplace_back();
    lines.back() += q;
  }
  int y = box.top();
  for (const QString& line : lines) {
    if (y + fm.height() > box.bottom()) break;
    DrawCell(box.left(), y, line, nullptr);
    y += fm.height();
  }
}

void TPageRenderer::Page::Image(const TRecord& r) {
  const std::string path = r.Text(5);
  if (!FileExists(path)) return;
  const std::string ext = UpperCase(std::filesystem::path(path).extension().string());
  if (ext == ".WMF" || ext == ".EMF") {
    QuillboxLogError("ImageOut.(IMAGE)", path + " WMF/EMF の図は描画できません。");
    return;
  }
  if (ext != ".BMP" && ext != ".JPG") return;
  const QImage image(Q(path));
  if (image.isNull()) {
    QuillboxLogError(path + " ビットマップイメージの取得ができない　GETDIB()");
    return;
  }
  p_.save();
  if (r.Int(6) != 0)
    p_.setCompositionMode(p_.paintEngine() && p_.paintEngine()->type() == QPaintEngine::Raster
                              ? QPainter::RasterOp_SourceAndDestination
                              : QPainter::CompositionMode_Multiply);
  p_.drawImage(Rect(r), image);
  p_.restore();
}

void TPageRenderer::Page::Form(const TRecord& r) {
  if (r_.OnPrinter && !s_.PrintFom) return;
  const std::string path = r.Text(1);
  if (!FileExists(path) || formDepth >= 4) return;
  if (UpperCase(r.Text(2)) == "TRUE") {
    r_.forms_.Version = ReadFormVersion(path);
    ReadFormVariables(r_.forms_, path, r.Int(3), r.Int(4), s_);
  }
  TRecordFile file(path);
  TRenderTarget sub = t_;
  sub.SubForm = 0;
  sub.XOrigin = LenX(r.Int(3));
  sub.YOrigin = LenY(r.Int(4));
  ++formDepth;
  try {
    r_.RenderPage("SUBFORM", file, sub);
  } catch (...) {
    --formDepth;
    throw;
  }
  --formDepth;
}

void TPageRenderer::Page::Variable(const TRecord& r) {
  const int subForm = std::clamp(t_.SubForm, 0, kMaxSubForms - 1);
  TSubForm& form = r_.forms_.SubForms[subForm];
  int slot = LookupFormVariable(r_.forms_, subForm, r.Text(1));
  if (slot < 1 || slot > 200) slot = 0;
  TFormVariable& v = form.Variables[slot];
  std::string text = r.Text(2);
  if (slot == 0 || v.Name.empty() || (v.OncePerPage && v.Repeat > 0)) text.clear();
  form.Totals[slot].Total += static_cast<std::int64_t>(StrToIntDef(Trim(text), 0)) * 10000;
  int y = v.Y;
  const int pitch = form.Variables[0].Y;
  if (pitch > 0) {
    const auto paper = PaperSizeOf(r_.PrinterPaper);
    const int lowest = ((paper ? paper->LengthMm : 297) - 10) * 10;
    y = std::min(v.Y + v.Repeat * pitch, lowest);
  }
  ++v.Repeat;
  if (text.empty()) return;
  SetFont(v.FontName, r.Int(3) != 0 ? r.Int(3) : v.FontSize, r.Text(4).empty() ? v.Style : r.Text(4));
  if (v.Width > 0) {
    DrawSpread(X(v.X), Y(y), text, LenX(v.Width), ColorFieldText(v.Color));
  } else {
    DrawText(X(v.X), Y(y), text, ColorFieldText(v.Color), v.Background, v.Alignment, v.Centring, LenY(r.Int(5)));
  }
}

TPageRenderer::TPageRenderer(const TQBOXDEF& settings, TFormTables& forms) : settings_(settings), forms_(forms) {}

bool TPageRenderer::RenderPage(const std::string& layer, TRecordFile& file, const TRenderTarget& target) {
  QPainter& p = *target.Painter;
  PendingMessage.clear();
  Page page(*this, layer, target);
  ResetFormPage(forms_, target.SubForm);

  std::vector<std::string> lines;
  const bool numbered = layer == "DAT" && settings_.PageBango &&
                        (settings_.PageBangoMarkCount == 1 || settings_.PageBangoMarkCount == 2);
  if (numbered) {
    const int index = CurrentPage - 1;
    const int number = index >= 0 && index < static_cast<int>(PageNumbers.size()) ? PageNumbers[index] : 0;
    const auto text = number == 0 ? std::nullopt
                      : settings_.PageBangoMarkCount == 1
                          ? FormatPageNo(settings_.PageBangoFormat, number)
                          : FormatPageNo(settings_.PageBangoFormat, number, TotalPages);
    if (text) {
      lines.push_back("TEXT;" + IntToStr(settings_.PageBangoLeft) + ";" + IntToStr(settings_.PageBangoTop) + ";" +
                      *text + ";" + settings_.PageBangoFontName + ";" + IntToStr(settings_.PageBangoFontSize) +
                      ";;黒;OFF;" + IntToStr(settings_.PageBangoAlignment) + ";0;0;*AUTO*");
    } else {
      lines.push_back("*");
    }
  }
  bool atEnd = true;
  std::string line;
  while (file.ReadLine(line)) {
    const TRecord record(line);
    lines.push_back(record.Line());
    if (record.Kind() == "E") {
      atEnd = false;
      break;
    }
  }
  if (numbered && lines.size() < 3) {
    bool onlyPlain = true;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const std::string kind = TRecord(lines[i]).Kind();
      if (kind != "ORIENTATION" && kind != "LINE" && kind != "E") onlyPlain = false;
    }
    if (onlyPlain) lines[0] = "*" + lines[0];
  }

  p.save();
  p.scale(target.Zoom / 10.0, target.Zoom / 10.0);
  p.setPen(Qt::black);
  page.OpaqueWhite();
  std::string kind;
  try {
    for (const auto& l : lines) {
      const TRecord r(l);
      if (r.Kind() == "FRECT" && r.Int(6) == 1) p.fillRect(page.Rect(r), page.Color(r.Text(5)));
    }
    for (const auto& l : lines) {
      const TRecord r(l);
      kind = r.Kind();
      if (kind == "E") break;
      FaultPoint("report.draw");
      page.Draw(r);
    }
  } catch (const std::exception& error) {
    QuillboxLogError("ImageOut.(" + kind + ")", error.what());
  }
  p.restore();
  LeftOrigin = page.startLeft_;
  TopOrigin = page.startTop_;
  return atEnd;
}

std::vector<int> ScanPageNumbers(const std::string& path, int& total) {
  std::vector<int> numbers;
  std::ifstream in(path, std::ios::binary);
  total = 0;
  int count = 0;
  bool plainOnly = true;
  auto close = [&] {
    const bool empty = count == 0 || (count == 1 && plainOnly);
    numbers.push_back(empty ? 0 : ++total);
    count = 0;
    plainOnly = true;
  };
  std::string line;
  while (in && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsPageEndLine(line)) {
      close();
      continue;
    }
    if (!line.empty() && line[0] == '*') continue;
    ++count;
    if (line.find("ORIENTATION") == std::string::npos && line.find("LINE") == std::string::npos) plainOnly = false;
  }
  close();
  return numbers;
}
