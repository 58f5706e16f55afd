#include "painter/qt/CurrentPrinterU.h"

#include <QCoreApplication>
#include <QPrinter>
#include <memory>

namespace tw {
namespace {

std::unique_ptr<QPrinter>& PrinterSlot() {
  static std::unique_ptr<QPrinter> printer;
  return printer;
}

// A printer's engine comes from the print support plugin, which must still be
// there when the printer goes, so the printer is released with the
// application object rather than at program exit.
void ReleasePrinter() { PrinterSlot().reset(); }

}  // namespace

QPrinter& CurrentPrinter() {
  auto& printer = PrinterSlot();
  if (!printer) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    qAddPostRoutine(ReleasePrinter);
  }
  return *printer;
}

}  // namespace tw
