// Program entry: the program around its main window.
#include <memory>

#include "app/ApplicationU.h"
#include "app/PaintF.h"

int main(int argc, char** argv) {
  return tw::RunTintwell(argc, argv, [] { return std::make_unique<tw::TFMain>(); },
                         QSize(tw::TFMain::MinimumWidth, tw::TFMain::MinimumHeight));
}
