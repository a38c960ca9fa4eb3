// veruda-rendo: makes the link file of the consumption-tax return from the
// accounting product's data.
#include <QApplication>

#include "app/entry.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return RunLinkProgram(args);
}
