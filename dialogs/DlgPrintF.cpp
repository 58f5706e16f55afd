#include "dialogs/DlgPrintF.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "controls/ModalRunU.h"
#include "controls/QImgButtonU.h"
#include "dialogs/DlgInfoF.h"
#include "base/ErrorsU.h"
#include "dialogs/NumberedNameU.h"
#include "painter/qt/CurrentPrinterU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

namespace {

constexpr int TitlePixelSize = 24;
constexpr int PromptPixelSize = 16;
// Lower than a line of the prompt's font: the label grows around it.
constexpr QRect PromptDesign(16, 56, 453, 20);
constexpr int PrinterListPixelSize = 13;
// Keeps a file name made from a long title well inside the 255 bytes a file
// name may have, even when every character takes several bytes.
constexpr int MaxBaseLength = 80;

std::string Quoted(const QString& Text) { return "\"" + Text.toStdString() + "\""; }

class TQtPrinterSystem : public TPrinterSystem {
 public:
  QStringList PrinterNames() const override { return QPrinterInfo::availablePrinterNames(); }

  QString DefaultPrinterName() const override { return QPrinterInfo::defaultPrinterName(); }

  QString CurrentPrinterName() const override {
    const QPrinter& Printer = CurrentPrinter();
    return Printer.outputFormat() == QPrinter::NativeFormat ? Printer.printerName() : QString();
  }

  void PrintOn(TPainter& Painter, const QString& PrinterName, const QString& Title) override {
    // The list may be older than the print system's state: the printer can
    // have been removed, or the print system stopped, since it was filled.
    if (PrinterName.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(PrinterName)) {
      throw EError("The printer " + Quoted(PrinterName) +
                   " is not available any more. Please check that it is switched on and "
                   "set up, or choose another printer.");
    }
    QPrinter& Printer = CurrentPrinter();
    const QString Previous = Printer.outputFormat() == QPrinter::NativeFormat
                                 ? Printer.printerName()
                                 : QString();
    const auto Restore = [&] {
      if (Previous == PrinterName) return;
      if (Previous.isEmpty()) {
        Printer.setOutputFormat(QPrinter::PdfFormat);
      } else {
        Printer.setPrinterName(Previous);
      }
    };
    Printer.setOutputFileName(QString());
    Printer.setOutputFormat(QPrinter::NativeFormat);
    Printer.setPrinterName(PrinterName);
    // An unknown name quietly turns the printer into a PDF writer; that is
    // a printer that is not there.
    if (!Printer.isValid() || Printer.outputFormat() != QPrinter::NativeFormat ||
        Printer.printerName() != PrinterName || Printer.printerState() == QPrinter::Error) {
      Restore();
      throw EError("The printer " + Quoted(PrinterName) + " cannot be used now.");
    }
    try {
      Painter.PrintPicture(Printer, Title);
    } catch (...) {
      Restore();
      throw;
    }
  }
};

bool IsUnsafeFileNameChar(QChar C) {
  const char16_t U = C.unicode();
  if (U < 0x20 || U == 0x7F) return true;
  // Refused or special on some file systems a picture may be copied to.
  return QStringView(u"/\\:*?\"<>|").contains(C);
}

}  // namespace

TPrinterSystem& SystemPrinters() {
  static TQtPrinterSystem System;
  return System;
}

QString FileBaseFromTitle(const QString& Title) {
  QString Base;
  Base.reserve(Title.size());
  for (const QChar C : Title) Base.append(IsUnsafeFileNameChar(C) ? QChar(u'_') : C);
  Base = Base.trimmed();
  // A leading dot would hide the file.
  while (Base.startsWith(u'.')) Base.remove(0, 1);
  if (Base.size() > MaxBaseLength) {
    Base.truncate(MaxBaseLength);
    // Never keep half of a character that needs two UTF-16 units.
    if (Base.back().isHighSurrogate()) Base.chop(1);
  }
  Base = Base.trimmed();
  return Base.isEmpty() ? QStringLiteral("picture") : Base;
}

std::string PdfFolder() {
  std::string Folder = NativePath(QCSetting().ReadPathSave());
  if (Folder.empty()) Folder = "./";
  if (Folder.back() != '/') Folder += '/';
  return Folder;
}

std::string PrintPictureToPdf(TPainter& Painter, const QString& Title, const std::string& Folder,
                              const std::string& Base) {
  std::error_code Error;
  std::filesystem::create_directories(Folder, Error);
  if (Error || !std::filesystem::is_directory(Folder)) {
    throw EError("The folder \"" + Folder + "\" could not be created" +
                 (Error ? ": " + Error.message() : std::string()) + ".");
  }
  std::string Dir = Folder;
  if (Dir.back() != '/') Dir += '/';
  const std::string FileName = FirstFreeNumberedName(Dir + Base, ".pdf");
  QPrinter Printer(QPrinter::HighResolution);
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(QString::fromStdString(FileName));
  try {
    Painter.PrintPicture(Printer, Title);
  } catch (...) {
    // No half-written file stays behind under the numbered name.
    std::filesystem::remove(FileName, Error);
    throw;
  }
  return FileName;
}

void ShowPrintInformation(const QString& Caption, const QString& Message) {
  if (OnShowPrintInformation) {
    OnShowPrintInformation(Caption, Message);
    return;
  }
  InfoDialogRun(Caption, Message, QString());
}

TDPrint::TDPrint(QWidget* Owner, TPrinterSystem* System)
    : TfrmQDialog(Owner), FSystem(System ? *System : SystemPrinters()) {
  setObjectName(QStringLiteral("DPrint"));
  resize(DesignWidth, DesignHeight);
  CreateControls();
  SetTexts();
  FillPrinters();
}

TDPrint::~TDPrint() = default;

void TDPrint::CreateControls() {
  FTitle = CreateDialogLabel(this, QStringLiteral("txtTitle"), QRect(16, 12, 449, 33),
                             DialogFont(TitlePixelSize, false), QColor(0, 0, 128),
                             Qt::AlignCenter, false);
  FPrompt = CreateDialogLabel(this, QStringLiteral("txtPrompt"), PromptDesign,
                              DialogFont(PromptPixelSize, true), QColor(0, 0, 0),
                              Qt::AlignLeft | Qt::AlignTop, true);
  FCboPrinter = new QComboBox(this);
  FCboPrinter->setObjectName(QStringLiteral("cboPrinter"));
  FCboPrinter->setGeometry(32, 84, 417, 24);
  FCboPrinter->setFont(DialogFont(PrinterListPixelSize, true));
  // Long printer names and paths are shortened in the middle, where they
  // differ least.
  FCboPrinter->view()->setTextElideMode(Qt::ElideMiddle);
  FBtnCancel = CreateDialogButton(this, QStringLiteral("btnCancel"), QStringLiteral("btnRed"),
                                  QRect(213, 128, 120, 36), QString(), mrCancel);
  FBtnPrint = CreateDialogButton(this, QStringLiteral("btnPrint"), QStringLiteral("btnGreen"),
                                 QRect(341, 128, 124, 36), QString(), mrNone);
  FBtnPrint->OnClick = [this](TQHintControl&) { Print(); };
  SetDefaultButton(FBtnPrint);
}

void TDPrint::SetTexts() {
  setWindowTitle(Text(QStringLiteral("Title")));
  FTitle->setText(Text(QStringLiteral("Title")));
  FPrompt->setText(Text(QStringLiteral("Prompt")));
  FitLabelFont(FTitle, TitlePixelSize);
  FitLabelToDesign(FPrompt, PromptDesign, PromptPixelSize);
  for (auto [Button, Key] : {std::pair{FBtnCancel, "Cancel"}, std::pair{FBtnPrint, "Print"}}) {
    Button->SetFont(DialogFont(PromptPixelSize, true));
    Button->SetCaption(Text(QString::fromLatin1(Key)));
    FitButtonFont(Button, PromptPixelSize);
  }
}

void TDPrint::SetPicture(TPainter* Painter, const QString& Title, const QString& BaseName) {
  FPainter = Painter;
  FJobTitle = Title;
  FBaseName = BaseName;
  // The PDF entry names the file, which depends on the name.
  if (FPrintsToFile) FillPrinters();
}

std::string TDPrint::PdfBaseName() const {
  return FileBaseFromTitle(FBaseName.isEmpty() ? FJobTitle : FBaseName).toStdString();
}

void TDPrint::FillPrinters() {
  const QStringList Names = FSystem.PrinterNames();
  FCboPrinter->clear();
  FPrintsToFile = Names.isEmpty();
  if (FPrintsToFile) {
    const std::string File = FirstFreeNumberedName(PdfFolder() + PdfBaseName(), ".pdf");
    FCboPrinter->addItem(QStringLiteral("PDF: ") + QString::fromStdString(DisplayFolderNames(File)));
    FCboPrinter->setCurrentIndex(0);
    return;
  }
  FCboPrinter->addItems(Names);
  int Index = Names.indexOf(FSystem.CurrentPrinterName());
  if (Index < 0) Index = Names.indexOf(FSystem.DefaultPrinterName());
  FCboPrinter->setCurrentIndex(Index < 0 ? 0 : Index);
}

QString TDPrint::SelectedPrinter() const {
  return FPrintsToFile ? QString() : FCboPrinter->currentText();
}

bool TDPrint::Print() {
  try {
    if (!FPainter) throw EError("There is no picture to print.");
    if (FPrintsToFile) {
      PrintToPdf();
    } else {
      FSystem.PrintOn(*FPainter, SelectedPrinter(), FJobTitle);
    }
  } catch (const EAbort&) {
    // Already reported.
    return false;
  } catch (const std::exception& Error) {
    ShowWarning(Error.what());
    return false;
  }
  SetModalResult(mrOk);
  return true;
}

void TDPrint::PrintToPdf() {
  FPdfFile.clear();
  FPdfFile = PrintPictureToPdf(*FPainter, FJobTitle, PdfFolder(), PdfBaseName());
  const std::string Message = FormatLangText(TranslateKey("msgPrintedToFile"),
                                             {TFormatArg(DisplayFolderNames(FPdfFile))});
  ShowPrintInformation(QString::fromStdString(TranslateKey("capPrintedToFile")),
                       QString::fromStdString(Message));
}

bool PrintDialogRun(TPainter& Painter, const QString& Title, const QString& BaseName) {
  auto Dialog = std::make_unique<TDPrint>(MainForm());
  Dialog->SetPicture(&Painter, Title, BaseName);
  return RunModalAndFree(std::move(Dialog)) == mrOk;
}

}  // namespace tw
