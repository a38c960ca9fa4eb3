// The print-data file: the report's drawing records, one per line, in CP932
// with CR LF line ends and ";" between fields. A file starts with a 26-line
// header block ("*" lines, which readers skip); pages are separated by "E;"
// lines, so a file of n pages holds n-1 of them. A form file has the same
// records without the header. Widths and cuts count CP932 bytes.
#pragma once

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/color.h"

inline constexpr std::string_view kQuillboxMagic = "*QUILLBOX*";
inline constexpr std::string_view kPageEndLine = "E;\r\n";

// The settings the header block records.
struct TPrintDataHeader {
  std::string Folder;    // folder of the data file, without a trailing "/"
  std::string Version;   // the engine's version label
  std::string Date;      // "yyyy/mm/dd"
  std::string Title;
  std::string FormFile;
  int PaperSize = 9;
  int OutPutPaper = 0;
  int Orientation = 0;
  int TopMargin = 0;
  int LeftMargin = 0;
  int FormTopMargin = 0;
  int FormLeftMargin = 0;
  TColor NetColor1 = 0xC0C0C0;
  TColor NetColor2 = 0xC0C0C0;
  TColor UserColor1 = 0;
  TColor UserColor2 = 0;
  bool FormPrint = true;
  int Copies = 1;
  bool PageNoSwitch = false;
  int PageNoLeft = 0;
  int PageNoTop = 0;
  int PageNoAlignment = 2;  // 0 left, 1 centre, 2 right
  std::string PageNoFormat = "(%d/%d)";
};

// The header block as CP932 bytes (26 lines, each ended by CR LF).
std::string HeaderBlock(const TPrintDataHeader& header);

// A colour as "$" and at least six upper-case hexadecimal digits (BGR), the
// form in which a colour value reads back as the same colour.
std::string ColorFieldText(TColor color);

// The text of a TEXT record padded or cut to `width` CP932 bytes by
// `alignment` (as given: "CENTER" and width 0 leave it, "RIGHT" keeps its
// end, anything else its start). Takes and returns CP932 bytes.
std::string PadRecordText(std::string_view cp932, std::string_view alignment, int width);

// Record lines as CP932 bytes ended by CR LF. The texts are UTF-8.
std::string TextRecordLine(int x, int y, std::string_view text, std::string_view fontName, int fontSize,
                           std::string_view style, std::string_view color, std::string_view background,
                           std::string_view alignment, int centring, int width);
std::string LineRecordLine(bool fine, int x1, int y1, int x2, int y2, int lineWidth, int penStyle,
                           std::string_view color);
std::string BoxRecordLine(int x1, int y1, int x2, int y2, int lineWidth, int penStyle, std::string_view lineColor,
                          std::string_view fillColor, int fillStyle);

// True when the first line, cut to 10 characters, is exactly the magic text.
bool HasQuillboxMagic(std::string_view firstLine);
// The same test on a file's first line; false when the file cannot be read.
bool FileHasQuillboxMagic(const std::string& path);

// One record as the readers see it: the line with ";" appended when it does
// not end with one and every double quote removed, cut at each ";".
class TRecord {
 public:
  explicit TRecord(std::string_view line);
  const std::string& Kind() const { return kind_; }  // the first field, upper-cased
  // Field i (1 = the first after the kind); empty when the line has fewer.
  const std::string& Text(std::size_t i) const;
  // Field i as a decimal integer ("$" hexadecimal too), `fallback` when it is
  // missing or no number.
  int Int(std::size_t i, int fallback = 0) const;
  std::size_t Count() const { return fields_.size(); }
  // The normalised line.
  const std::string& Line() const { return line_; }

 private:
  std::string line_;
  std::string kind_;
  std::vector<std::string> fields_;
};

// The normalised form of a record line (";" appended when missing, double
// quotes removed).
std::string NormaliseRecordLine(std::string_view line);

// True for a page-end line: its first two characters, upper-cased, are "E;".
bool IsPageEndLine(std::string_view line);

// A print-data or form file read line by line, CP932 bytes turned into UTF-8
// and the CR of each line end dropped.
class TRecordFile {
 public:
  // Throws std::system_error when the file cannot be opened.
  explicit TRecordFile(const std::string& path);
  // The next line; false at the end of the file.
  bool ReadLine(std::string& line);
  bool AtEnd();
  void Rewind();
  // Moves past `pages` page ends (or to the end of the file).
  void SkipPages(int pages);
  // The position of the next line, and back to such a position.
  std::streampos Tell();
  void Seek(std::streampos position);

 private:
  std::ifstream in_;
};

// The page count of a file: one more than its page-end lines; 0 when the
// file cannot be read.
int CountPages(const std::string& path);
// The orientation of each page: the last ORIENTATION record before its page
// end, else `defaultOrientation`; one value per page end and one for the text
// after the last.
std::vector<int> ScanOrientations(const std::string& path, int defaultOrientation);
