// Program entry: the application object, which shows errors thrown from event
// handlers in a warning box and goes on, and the host window.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "app/HostWindowU.h"

namespace {

class TApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::warning(activeWindow(), applicationName(), QString::fromUtf8(e.what()));
    } catch (...) {
      QMessageBox::warning(activeWindow(), applicationName(), "An unexpected error occurred.");
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  // Without any display the default platform would abort; the program still
  // runs, invisibly, on the offscreen platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "tintwell: no display found; running on the offscreen platform\n");
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  TApplication app(argc, argv);
  app.setApplicationName("Tintwell");
  tw::THostWindow window;
  window.show();
  return app.exec();
}
