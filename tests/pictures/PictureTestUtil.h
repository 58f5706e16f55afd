// Shared fixtures of the picture tests: a temporary folder, a recorder that
// stands in for the warning box and the language lookup, and a writer of
// picture files byte by byte through the scrambled stream.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "painter/image/ImageFileU.h"
#include "pictures/QCFileStreamU.h"
#include "pictures/QUtilU.h"

namespace tw::test {

// A fresh private folder under the system's temporary folder, removed with
// everything in it (read-only parts included) when it goes. The one way
// every suite makes its temporary folders; a folder that cannot be made
// throws, so no test runs against a wrong path.
class TTempFolder {
 public:
  explicit TTempFolder(const std::string& prefix = "tw-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot make a temporary folder from " + pattern);
    FPath = pattern;
  }
  ~TTempFolder() {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, error);
    for (const auto& entry : fs::recursive_directory_iterator(FPath, error))
      if (entry.is_directory(error))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(FPath, error);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

// Records every warning instead of showing it and answers key lookups from a
// small table; restores the previous hooks when it goes.
class TWarningRecorder {
 public:
  explicit TWarningRecorder(std::map<std::string, std::string> texts = {})
      : FOldWarning(OnShowWarning), FOldTranslate(OnTranslate), FTexts(std::move(texts)) {
    OnShowWarning = [this](const std::string& message) { Messages.push_back(message); };
    if (!FTexts.empty()) {
      OnTranslate = [this](const std::string& key) {
        const auto it = FTexts.find(key);
        return it == FTexts.end() ? key : it->second;
      };
    }
  }
  ~TWarningRecorder() {
    OnShowWarning = FOldWarning;
    OnTranslate = FOldTranslate;
  }
  TWarningRecorder(const TWarningRecorder&) = delete;
  TWarningRecorder& operator=(const TWarningRecorder&) = delete;

  std::vector<std::string> Messages;

 private:
  TWarningFunc FOldWarning;
  TTranslateFunc FOldTranslate;
  std::map<std::string, std::string> FTexts;
};

// Builds the unscrambled bytes of a picture file field by field.
class TPlainFile {
 public:
  TPlainFile& Bytes(const std::vector<uint8_t>& bytes) {
    Data.insert(Data.end(), bytes.begin(), bytes.end());
    return *this;
  }
  TPlainFile& Byte(uint8_t b) {
    Data.push_back(b);
    return *this;
  }
  TPlainFile& Word(uint16_t w) { return Byte(uint8_t(w & 0xFF)).Byte(uint8_t(w >> 8)); }
  TPlainFile& Text(const std::string& text) {
    Data.insert(Data.end(), text.begin(), text.end());
    return *this;
  }
  TPlainFile& ShortStr(const std::string& text) { return Byte(uint8_t(text.size())).Text(text); }
  TPlainFile& LongStr(const std::string& text) { return Word(uint16_t(text.size())).Text(text); }
  TPlainFile& Magic() { return Text(std::string("TWF", 4)); }

  // Writes the bytes through a scrambling stream, one Write per byte.
  void WriteTo(const std::string& fileName) const {
    TQCFileStream stream(fileName, TFileMode::fmCreate, true);
    for (const uint8_t b : Data) stream.Write(&b, 1);
  }

  std::vector<uint8_t> Data;
};

inline std::vector<uint8_t> GifOf(const TRaster24& raster) {
  TRaster24 copy;
  copy.CopyFrom(raster);
  return EncodeGif(TBitmap(std::move(copy)));
}

}  // namespace tw::test
