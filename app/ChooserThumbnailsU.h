// TChooserThumbnails: the thumbnails the picture chooser shows, by catalog
// entry. It asks the loader for the ones the chooser is about to show and
// keeps what arrives, so a chooser opened again shows at once what it
// showed before while newer thumbnails are made; a result older than the
// latest request for its entry is dropped. An entry is waiting (nothing to
// show yet), shown, or broken (its picture cannot be read).
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "app/ThumbnailLoaderU.h"

namespace tw {

enum class TThumbnailState { Waiting, Shown, Broken };

class TChooserThumbnails {
 public:
  TChooserThumbnails();

  // What a thumbnail of an entry is made from.
  std::function<TThumbnailJob(const std::string& Entry)> OnJob;
  // A thumbnail arrived or changed.
  std::function<void(const std::string& Entry)> OnChanged;

  // From now on every entry is asked for again once, the next time it is
  // wanted: the files may have changed since.
  void Refresh();
  // Asks for Entry's thumbnail unless asked since the last Refresh; the
  // higher Priority, the sooner.
  void Want(const std::string& Entry, int Priority);
  // The entry's thumbnail from a layer in memory (the open picture, whose
  // files may be behind what the child sees).
  void WantFromLayer(const std::string& Entry, const TRaster24& Layer, int Priority);

  TThumbnailState State(const std::string& Entry) const;
  // Null unless shown.
  const QImage& Image(const std::string& Entry) const;

  // The long side of the thumbnails, in pixels.
  int Size() const { return FSize; }
  void SetSize(int Size);

  TThumbnailLoader& Loader() { return *FLoader; }

 private:
  struct TKept {
    QImage Image;
    bool Broken = false;
    uint64_t Latest = 0;
  };

  void Ready(const TThumbnailLoader::TResult& Result);

  std::unique_ptr<TThumbnailLoader> FLoader;
  std::unordered_map<std::string, TKept> FKept;
  std::unordered_set<std::string> FAsked;
  int FSize = 160;
};

}  // namespace tw
