// TFMain's calls into the dialogs, in one place: the information, close,
// save, print and options dialogs, each modal over the main window.
#include <QString>
#include <filesystem>

#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "dialogs/DlgCloseF.h"
#include "dialogs/DlgInfoF.h"
#include "dialogs/DlgOptionsF.h"
#include "dialogs/DlgPrintF.h"
#include "dialogs/DlgSaveF.h"
#include "painter/qt/PainterQtU.h"

namespace tw {

void TFMain::RunInfoDialog(const std::string& Title, const std::string& Text,
                           const std::string& Subtitle, const std::string& LinkTarget) {
  InfoDialogRun(Title, Text, Subtitle, LinkTarget);
}

bool TFMain::RunCloseDialog() { return CloseDialogRun(); }

void TFMain::RunSaveDialog(const std::string& BaseName) { SaveDialogRun(*FPainter, BaseName); }

void TFMain::RunPrintDialog(const std::string& Title) {
  const std::string baseName = std::filesystem::path(FPicture.FileName()).stem().string();
  PrintDialogRun(*FPainter, QString::fromStdString(Title), QString::fromStdString(baseName));
}

void TFMain::RunOptionsDialog() {
  OptionsDialogRun(&FSounds->MusicChannel(), FSounds->EffectChannels(), FHintsOn);
}

}  // namespace tw
