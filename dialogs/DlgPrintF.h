// TDPrint: the print dialog. It lists the system's printers in the system's
// order with the program's current printer selected, and prints the
// painter's picture on the chosen one; the choice becomes the current
// printer for the rest of the run. When the system has no printer at all the
// list holds one entry that prints into a numbered PDF file in the save
// folder, and the dialog then says where the file went. A printer that went
// away since the list was filled (or a print system that stopped) gives one
// clear message and nothing else happens.
//
// Also here: the printer system the dialog talks to (replaceable, so the
// dialog can be driven without real printers) and the PDF printing path,
// which the end-to-end tests call as well.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "controls/QDialogF.h"

class QComboBox;
class QLabel;

namespace tw {

class TPainter;
class TQImgButton;

// What the dialog needs from the print system. Names come in the system's
// order; an empty name means "none".
class TPrinterSystem {
 public:
  virtual ~TPrinterSystem() = default;
  virtual QStringList PrinterNames() const = 0;
  // The system's default printer.
  virtual QString DefaultPrinterName() const = 0;
  // The printer the program prints on now.
  virtual QString CurrentPrinterName() const = 0;
  // Prints the picture on the named printer as one job named Title, and
  // makes that printer the current one. Throws EError with a readable
  // message when the printer is not there any more or the job cannot be
  // started or finished; the current printer is then left as it was.
  virtual void PrintOn(TPainter& Painter, const QString& PrinterName, const QString& Title) = 0;
};

// The system's printers through Qt's print support (CUPS); the current
// printer is the application's CurrentPrinter.
TPrinterSystem& SystemPrinters();

// A file base name made from a picture title: characters a file name cannot
// hold (or that other systems refuse) become "_", leading dots and
// surrounding blanks go, long titles are cut; "picture" when nothing is left.
QString FileBaseFromTitle(const QString& Title);

// The folder PDF files go to: the setting PathSave with its folder macros
// expanded, as a native path ending in "/". Needs the program globals.
std::string PdfFolder();

// Prints the picture into the new file with the first free numbered name
// of Folder + Base and ".pdf" (dialogs/NumberedNameU.h), creating Folder
// when it is missing, and returns the file's path.
// The page is what a printer gets: one page, landscape for a picture at
// least as wide as high, the picture fitted and centred with a thin frame.
// Throws EError with a readable message when the folder cannot be made or
// the file cannot be written.
std::string PrintPictureToPdf(TPainter& Painter, const QString& Title, const std::string& Folder,
                              const std::string& Base);

// Shows a caption and a message with one OK button. Set by the main window
// (for its information dialog) and by tests to record; while unset a plain
// information box shows it.
inline std::function<void(const QString& Caption, const QString& Message)>
    OnShowPrintInformation;
void ShowPrintInformation(const QString& Caption, const QString& Message);

class TDPrint : public TfrmQDialog {
  Q_OBJECT

 public:
  // The design client size.
  static constexpr int DesignWidth = 481;
  static constexpr int DesignHeight = 178;

  // Sets the texts, loads the button artwork and fills the printer list
  // from System (not owned; null means SystemPrinters()). The program
  // globals (settings and language) must exist.
  explicit TDPrint(QWidget* Owner = nullptr, TPrinterSystem* System = nullptr);
  ~TDPrint() override;

  // The picture to print (not owned) and the job's title. BaseName names a
  // PDF file; when empty, a name is made from the title.
  void SetPicture(TPainter* Painter, const QString& Title, const QString& BaseName = QString());

  // Fills the list with the system's printers and selects the current
  // printer (else the system's default, else the first); with no printer,
  // the one PDF entry.
  void FillPrinters();
  // The list is the single PDF entry.
  bool PrintsToFile() const { return FPrintsToFile; }
  // The printer chosen in the list; empty for the PDF entry.
  QString SelectedPrinter() const;

  // The print button: prints on the chosen printer (or into the PDF file,
  // then tells where it went) and ends the dialog with mrOk. On failure one
  // warning shows, the dialog stays open and nothing else changes. Returns
  // whether the picture was printed.
  bool Print();
  // The PDF file the last Print wrote; empty when none.
  const std::string& PdfFile() const { return FPdfFile; }

  QLabel* TitleLabel() const { return FTitle; }
  QLabel* PromptLabel() const { return FPrompt; }
  QComboBox* PrinterList() const { return FCboPrinter; }
  TQImgButton* CancelButton() const { return FBtnCancel; }
  TQImgButton* PrintButton() const { return FBtnPrint; }

 private:
  void CreateControls();
  void SetTexts();
  std::string PdfBaseName() const;
  void PrintToPdf();

  TPrinterSystem& FSystem;
  TPainter* FPainter = nullptr;
  QString FJobTitle;
  QString FBaseName;
  bool FPrintsToFile = false;
  std::string FPdfFile;

  QLabel* FTitle = nullptr;
  QLabel* FPrompt = nullptr;
  QComboBox* FCboPrinter = nullptr;
  TQImgButton* FBtnCancel = nullptr;
  TQImgButton* FBtnPrint = nullptr;
};

// Runs the print dialog modally over the main window for the painter's
// picture; Title names the print job (the picture's title in the current
// language), BaseName a PDF file (see TDPrint::SetPicture). Returns whether
// the picture was printed.
bool PrintDialogRun(TPainter& Painter, const QString& Title, const QString& BaseName = QString());

}  // namespace tw
