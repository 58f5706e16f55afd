#include "app/ChooserThumbnailsU.h"

namespace tw {

TChooserThumbnails::TChooserThumbnails() : FLoader(std::make_unique<TThumbnailLoader>()) {
  FLoader->OnReady = [this](const TThumbnailLoader::TResult& Result) { Ready(Result); };
}

void TChooserThumbnails::Refresh() {
  FLoader->CancelWaiting();
  FAsked.clear();
}

void TChooserThumbnails::SetSize(int Size) {
  if (Size == FSize) return;
  FSize = Size;
  // Thumbnails of the old size would be drawn blurred or cut.
  FLoader->CancelWaiting();
  FKept.clear();
  FAsked.clear();
}

void TChooserThumbnails::Want(const std::string& Entry, int Priority) {
  if (!OnJob || !FAsked.insert(Entry).second) return;
  TThumbnailJob Job = OnJob(Entry);
  Job.Size = FSize;
  FKept[Entry].Latest = FLoader->Request(Entry, Job, Priority);
}

void TChooserThumbnails::WantFromLayer(const std::string& Entry, const TRaster24& Layer,
                                       int Priority) {
  FAsked.insert(Entry);
  FKept[Entry].Latest = FLoader->RequestFromLayer(Entry, Layer, FSize, Priority);
}

TThumbnailState TChooserThumbnails::State(const std::string& Entry) const {
  const auto Found = FKept.find(Entry);
  if (Found == FKept.end()) return TThumbnailState::Waiting;
  if (!Found->second.Image.isNull()) return TThumbnailState::Shown;
  return Found->second.Broken ? TThumbnailState::Broken : TThumbnailState::Waiting;
}

const QImage& TChooserThumbnails::Image(const std::string& Entry) const {
  static const QImage None;
  const auto Found = FKept.find(Entry);
  return Found == FKept.end() ? None : Found->second.Image;
}

void TChooserThumbnails::Ready(const TThumbnailLoader::TResult& Result) {
  const auto Found = FKept.find(Result.Key);
  if (Found == FKept.end() || Result.Number < Found->second.Latest) return;
  TKept& Kept = Found->second;
  Kept.Broken = Result.Image.isNull();
  Kept.Image = Result.Image;
  if (OnChanged) OnChanged(Result.Key);
}

}  // namespace tw
