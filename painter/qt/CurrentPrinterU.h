// The application's current printer: one QPrinter at the printer's native
// resolution, shared by everything that prints, so the printer and page
// chosen in the print dialog stay chosen for the next job.
#pragma once

class QPrinter;

namespace tw {

// Created on first use (after the QApplication); released when the
// application object goes away.
QPrinter& CurrentPrinter();

}  // namespace tw
