// TVDBPrint: the engine's one printer settings object, over Qt's printers
// (CUPS). Without a default printer every operation does nothing and returns
// its default, unless an output file is set: then the printer is a PDF file.
#pragma once

#include <memory>
#include <string>

struct TQBOXDEF;
class QPrinter;

class TVDBPrint {
 public:
  TVDBPrint();
  ~TVDBPrint();

  bool NoDefaultPrinter() const { return noDefault_; }
  // True when the operations work (a printer or an output file).
  bool Usable() const { return !noDefault_ || !outputFile_.empty(); }
  // Prints into a PDF file instead of a printer (empty: back to the printer).
  void SetOutputFile(const std::string& path);
  QPrinter& Printer() { return *printer_; }

  // Index of the current printer among the system's printers (-1 none).
  int CurrentIndex() const;
  // Selects the printer of that index (-1: the default printer).
  void SelectPrinter(int index);
  // The paper number whose name is `name`, else the first whose length and
  // width (tenths of a millimetre, both above 0) lie within 10 of the given
  // ones, else `fallback`.
  int GetPaperNumber(const std::string& name, int length, int fallback, int width);
  int GetPaper();
  void SetPaper(int paperNumber);
  void SetTTOption(int option) { ttOption_ = option; }
  // The size of the user-defined paper (number 256), tenths of a millimetre;
  // SetPaper(256) puts it on the printer.
  void SetUserPaperSize(int length, int width);
  void ResetUserPaperSize();
  bool UserPaperSet() const { return userLength_ > 0 && userWidth_ > 0; }
  int TTOption() const { return ttOption_; }
  void GetDevMode(TQBOXDEF& def);
  void SetDevMode(const TQBOXDEF& def);
  int Copies() const;

 private:
  std::unique_ptr<QPrinter> printer_;
  std::string outputFile_;
  bool noDefault_ = false;
  int ttOption_ = 1;
  int userLength_ = 0;
  int userWidth_ = 0;
};
