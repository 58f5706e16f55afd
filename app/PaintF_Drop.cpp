// TFMain and dropped files: an image file dropped on the window becomes a
// new colouring page at the end of the catalog, after the parent's password
// when one is set, and opens as soon as it is made. The making runs on a
// thread of its own; the window holds still meanwhile and shows progress
// when it takes a while.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <cstdio>
#include <filesystem>

#include "app/NewPageU.h"
#include "app/PaintF.h"
#include "app/PageProgressU.h"
#include "app/ParentGateU.h"
#include "controls/QDelayClockU.h"
#include "pictures/CatalogEntryU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

namespace {

std::vector<std::string> LocalFiles(const QMimeData* Data) {
  std::vector<std::string> Files;
  if (!Data || !Data->hasUrls()) return Files;
  for (const QUrl& Url : Data->urls())
    if (Url.isLocalFile()) Files.push_back(Url.toLocalFile().toStdString());
  return Files;
}

}  // namespace

bool TFMain::TakesDrops() const {
  return FStarted && !ChooserOpen() && !MakingPage() && !QApplication::activeModalWidget();
}

bool TFMain::MakingPage() const { return FPageMaker && FPageMaker->Busy(); }

void TFMain::ConnectPageMaker() {
  FPageMaker->OnProgress = [this](double Share) { FPageProgress->SetShare(Share); };
  FPageMaker->OnDone = [this](TPageMaker::TResult& Result) {
    Guarded([&] { PageMade(Result); });
  };
  FPageProgressDelay->OnElapsed = [this] {
    if (MakingPage())
      FPageProgress->Open(QString::fromStdString(Lang().GetText("msgPageMaking")));
  };
}

void TFMain::dragEnterEvent(QDragEnterEvent* event) {
  if (TakesDrops() && !LocalFiles(event->mimeData()).empty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void TFMain::dragMoveEvent(QDragMoveEvent* event) {
  if (TakesDrops() && !LocalFiles(event->mimeData()).empty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void TFMain::dropEvent(QDropEvent* event) {
  const std::vector<std::string> Files = LocalFiles(event->mimeData());
  if (!TakesDrops() || Files.empty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // The page is made after the drop has ended: the program that the file
  // was dragged from waits for the drop to finish, and the password box or
  // a message would keep it waiting.
  QMetaObject::invokeMethod(
      this,
      [this, Files] {
        if (TakesDrops()) Guarded([&] { AddDroppedPage(Files); });
      },
      Qt::QueuedConnection);
}

void TFMain::AddDroppedPage(const std::vector<std::string>& Files) {
  std::string File = Files.front();
  for (const std::string& Candidate : Files)
    if (LooksLikeImageFile(Candidate)) {
      File = Candidate;
      break;
    }
  const std::string Shown = std::filesystem::path(File).filename().string();
  if (!LooksLikeImageFile(File)) {
    ShowMessageKey("capNewPage", "msgPageNoImage", {Shown});
    return;
  }
  // The lock holds whenever it cannot be read, as for saving and printing.
  try {
    // Only with no password set does the empty entry pass (an unreadable
    // policy lets none pass, so the box is asked).
    const bool Gated = !QCSetting().CheckParentPassword("");
    if (Gated && !AskParentPassword(QCSetting(), Lang())) return;
  } catch (const EError& Error) {
    std::fprintf(stderr, "Tintwell: %s\n", Error.what());
    ShowMessageKey("capSettings", "msgLocksUnreadable", {});
    return;
  }
  HideHint();
  // Held keys would go on steering while the window holds still.
  FKeys->ReleaseHeldKeys();
  FPageProgress->Reset();
  FPageMaker->Start(File);
  FPageProgressDelay->Start(PageProgressDelay);
  UpdateEventFilter();
}

void TFMain::PageMade(TPageMaker::TResult& Result) {
  FPageProgressDelay->Stop();
  FPageProgress->hide();
  UpdateEventFilter();
  const std::string Shown = std::filesystem::path(Result.File).filename().string();
  std::string Entry;
  try {
    if (Result.Error) throw *Result.Error;
    Entry = WriteNewPage(Result.File, Result.Page, Lang().Language(), FCatalog);
  } catch (const ENewPage& Error) {
    std::fprintf(stderr, "Tintwell: %s\n", Error.what());
    ShowMessageKey("capNewPage",
                   Error.Reason() == ENewPage::NoImage ? "msgPageNoImage" : "msgPageNotWritten",
                   {Shown});
    return;
  }
  std::vector<std::string> Catalog = FCatalog;
  Catalog.push_back(Entry);
  try {
    QCSetting().WriteCatalog(Catalog);
  } catch (const EError& Error) {
    // A page the list does not name would only take room.
    std::fprintf(stderr, "Tintwell: %s\n", Error.what());
    std::error_code Ignored;
    std::filesystem::remove(CatalogEntryFile(Entry, CatalogFolder()), Ignored);
    ShowMessageKey("capNewPage", "msgPageNotWritten", {Shown});
    return;
  }
  FCatalog = Catalog;
  OpenPicture(int(FCatalog.size()) - 1);
}

}  // namespace tw
