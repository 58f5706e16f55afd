#include "app/random_program_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QImage>
#include <QtGlobal>

#include "app/MainSoundsU.h"
#include "app/NewPageU.h"
#include "app/PaintF.h"
#include "pages/LineArtU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/CatalogEntryU.h"
#include "app/random_program_replayer.h"
#include "app/random_program_shrinker.h"

namespace tw::test {
namespace {

void FrameRect(TRaster24& Image, int Left, int Top, int Right, int Bottom, TColor Color) {
  for (int x = Left; x <= Right; ++x) {
    Image.SetPixel(x, Top, Color);
    Image.SetPixel(x, Bottom, Color);
  }
  for (int y = Top; y <= Bottom; ++y) {
    Image.SetPixel(Left, y, Color);
    Image.SetPixel(Right, y, Color);
  }
}

// Records Qt's warnings while it lives: the program must cause none.
class TQtWarningRecorder {
 public:
  TQtWarningRecorder() : FOld(qInstallMessageHandler(Handler)) { Active = this; }
  ~TQtWarningRecorder() {
    qInstallMessageHandler(FOld);
    Active = nullptr;
  }
  TQtWarningRecorder(const TQtWarningRecorder&) = delete;
  TQtWarningRecorder& operator=(const TQtWarningRecorder&) = delete;

  std::string First() const {
    return Messages.empty() ? std::string() : "qt warning: " + Messages.front();
  }

 private:
  static void Handler(QtMsgType Type, const QMessageLogContext&, const QString& Text) {
    if (Type != QtDebugMsg && Type != QtInfoMsg && Active)
      Active->Messages.push_back(Text.toStdString());
  }

  static inline TQtWarningRecorder* Active = nullptr;
  QtMessageHandler FOld;
  std::vector<std::string> Messages;
};

}  // namespace

TRaster24 GridPicture(int Width, int Height, int Columns, int Rows) {
  TRaster24 image(Width, Height, clWhite);
  FrameRect(image, 0, 0, Width - 1, Height - 1, clBlack);
  for (int c = 1; c < Columns; ++c)
    for (int y = 0; y < Height; ++y) image.SetPixel(Width * c / Columns, y, clBlack);
  for (int r = 1; r < Rows; ++r)
    for (int x = 0; x < Width; ++x) image.SetPixel(x, Height * r / Rows, clBlack);
  return image;
}

TRaster24 RingsPicture(int Width, int Height) {
  TRaster24 image(Width, Height, clWhite);
  FrameRect(image, 0, 0, Width - 1, Height - 1, clBlack);
  FrameRect(image, 12, 12, Width - 13, Height - 13, 0x808080);
  FrameRect(image, 13, 13, Width - 14, Height - 14, 0x808080);
  FrameRect(image, 28, 28, Width - 29, Height - 29, 0x404040);
  // The gap in the inner frame.
  for (int x = Width / 2 - 1; x <= Width / 2 + 1; ++x) image.SetPixel(x, 28, clWhite);
  for (int y = Height / 2 - 2; y <= Height / 2 + 2; ++y)
    for (int x = Width / 2 - 2; x <= Width / 2 + 2; ++x) image.SetPixel(x, y, 0xFEFEFE);
  return image;
}

void RandomProgramFixture::Prepare(int MaxHistory) {
  FMaxHistory = MaxHistory;
  FPictures = {
      {"two.twf", "Two", TwoAreaPicture(160, 120)},
      {"grid.twf", "Grid", GridPicture(150, 110, 4, 3)},
      {"band.twf", "Band", TwoAreaPicture(120, 90, 9)},
      {"rings.twf", "Rings", RingsPicture(100, 140)},
  };
  std::vector<std::string> entries;
  for (const TCatalogPicture& p : FPictures) {
    AddPicture(p.Entry, p.Title, p.Image);
    entries.push_back(p.Entry);
  }
  WriteDefaults(entries, "StayColored=2\nHints=false\nMaxHistory=" + std::to_string(MaxHistory));
  // The files a parent may drop: a drawing of clean lines, which must
  // become a page exactly as drawn, a text and a cut-off PNG.
  FDropFolder = FFolder.File("drops");
  std::filesystem::create_directories(FDropFolder);
  FDrawing = GridPicture(100, 80, 2, 2);
  QImage drawing(FDrawing.Width(), FDrawing.Height(), QImage::Format_RGB32);
  for (int y = 0; y < FDrawing.Height(); ++y)
    for (int x = 0; x < FDrawing.Width(); ++x)
      drawing.setPixel(x, y, FDrawing.Pixel(x, y) == clBlack ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  for (const char* name : {"Kite.png", "broken.png"})
    drawing.save(QString::fromStdString(FDropFolder + "/" + name), "PNG");
  std::filesystem::resize_file(FDropFolder + "/broken.png", 50);
  std::ofstream(FDropFolder + "/notes.txt") << "Paint the kite red.\n";
}

TPictureArea RandomProgramFixture::Area() const {
  TPictureArea area{0, 0, 6};
  for (const TCatalogPicture& p : FPictures) {
    area.Width = std::max(area.Width, p.Image.Width());
    area.Height = std::max(area.Height, p.Image.Height());
  }
  return area;
}

void RandomProgramFixture::ClearStoreAndSaveFolder() {
  std::error_code error;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    std::filesystem::remove(FFolder.File(std::string("settings.sqlite3") + suffix), error);
  for (const std::string& folder : {SaveFolder(), ColoringFolder(), PagesFolder()})
    for (const auto& file : std::filesystem::directory_iterator(folder, error))
      std::filesystem::remove_all(file.path(), error);
}

TChildOutcome RandomProgramFixture::Replay(const std::vector<TProgramEvent>& Events) {
  return RunInChild([&](TChildReport& Report) { RunEvents(Events, Report); }, ChildTimeLimit);
}

void RandomProgramFixture::RunEvents(const std::vector<TProgramEvent>& Events,
                                     TChildReport& Report) {
  // Every replay starts as the first run of the program did.
  ClearStoreAndSaveFolder();
  const TQtWarningRecorder qtWarnings;
  Start();
  if (!FWindow || !FWindow->Started()) {
    Report.Fail(-1, "window: did not start");
    return;
  }
  // The close question is answered No: the run goes on.
  FAnswerer->CloseYes = false;
  // Pages are made the plain way, at the drawing's size: what is tested is
  // how the window takes them in, not how a page is traced.
  FWindow->PageMaker().SetConvert([](const std::string& File, const std::function<void(double)>&) {
    TRaster24 image;
    try {
      image = ReadImageFile(File);
    } catch (const EError& e) {
      throw ENewPage(ENewPage::NoImage, e.what());
    }
    TLineArtOptions plain;
    plain.Threshold = 128;
    plain.SpeckSize = 0;
    plain.HoleSize = 0;
    return MakeLineArt(image, plain);
  });
  TProgramChecks checks(FPictures, SaveFolder(), FMaxHistory,
                        {FAnswerer->Seen, FWarnings.Messages, Cues});
  checks.SetDroppedDrawing("Kite", FDrawing);
  std::string problem = checks.AfterStart(*FWindow);
  if (problem.empty()) problem = qtWarnings.First();
  if (!problem.empty()) {
    Report.Fail(-1, problem);
    return;
  }
  TProgramReplayer replayer(*FWindow, FDropFolder);
  int pictureChanges = 0;
  int chooserOpenings = 0;
  const size_t catalogAtStart = FWindow->Catalog().size();
  for (size_t i = 0; i < Events.size(); ++i) {
    Report.SetStep(int(i));
    const int before = FWindow->CurrentPicture();
    const bool chooserBefore = FWindow->ChooserOpen();
    checks.BeforeEvent(*FWindow, Events[i]);
    replayer.Apply(Events[i]);
    problem = checks.AfterEvent(*FWindow);
    if (problem.empty()) problem = qtWarnings.First();
    if (!problem.empty()) {
      Report.Fail(int(i), problem);
      return;
    }
    pictureChanges += FWindow->CurrentPicture() != before;
    chooserOpenings += !chooserBefore && FWindow->ChooserOpen();
  }
  const int end = int(Events.size());
  Report.SetStep(end);
  problem = checks.CheckStoredColorings();
  if (problem.empty()) problem = qtWarnings.First();
  if (!problem.empty()) {
    Report.Fail(end, problem);
    return;
  }
  std::ostringstream summary;
  summary << "pictures=" << pictureChanges << " fills=" << CueCount(cueSplash)
          << " strokes=" << CueCount(cueStrokeUp)
          << " undos=" << CueCount(cueUndo) - checks.Redos() << " redos=" << checks.Redos()
          << " washes=" << CueCount(cueWash) << " drops=" << CueCount(cueDropperOut)
          << " dialogs=" << FAnswerer->Seen.size() << " chooser=" << chooserOpenings
          << " pages=" << FWindow->Catalog().size() - catalogAtStart;
  Report.SetSummary(summary.str());
  // The window's teardown is part of the run.
  FWindow.reset();
}

std::string RandomProgramFixture::ReportFailure(const std::string& Title,
                                                const std::vector<TProgramEvent>& Events,
                                                const TChildOutcome& Outcome) {
  std::ostringstream text;
  const size_t step = size_t(std::max(Outcome.Step, -1) + 1);
  text << Title << " failed after event " << step << " of " << Events.size();
  if (step >= 1 && step <= Events.size()) text << " (" << Describe(Events[step - 1]) << ")";
  text << ":\n  " << Outcome.Message << "\n";
  // Nothing after the failing event matters.
  const size_t kept = std::min(step, Events.size());
  const std::vector<TProgramEvent> prefix(Events.begin(), Events.begin() + std::ptrdiff_t(kept));
  const std::string signature = Outcome.Signature();
  auto fails = [&](const std::vector<TProgramEvent>& Candidate) {
    return Replay(Candidate).Signature() == signature;
  };
  if (prefix.empty() || !fails(prefix)) {
    text << "The events up to the failure do not fail the same way on a fresh window; "
            "not shortened.\n";
    return text.str();
  }
  int tries = 0;
  const std::vector<TProgramEvent> shortest = ShrinkSequence<TProgramEvent>(prefix, fails, &tries);
  const TChildOutcome again = Replay(shortest);
  text << "The shortest sequence that fails the same way (" << shortest.size()
       << " events, found in " << tries << " replays):\n"
       << DescribeAll(shortest) << "It fails with:\n  " << again.Message << "\n";
  return text.str();
}

}  // namespace tw::test
