#include "pictures/PictureFileU.h"

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/QCFileStreamU.h"
#include "base/TextCodingU.h"

namespace tw {

namespace {

constexpr size_t MaxShortText = 255;
constexpr size_t MaxLongText = 65535;
constexpr int MaxStoredSide = 32767;

void CheckText(const std::string& text, size_t limit, const char* what, size_t entry) {
  const std::string where = std::string("The ") + what + " of entry " + std::to_string(entry + 1);
  if (text.size() > limit)
    throw EError(where + " is " + std::to_string(text.size()) + " bytes long; at most " +
                 std::to_string(limit) + " fit in a picture file");
  if (!IsValidUtf8(text)) throw EError(where + " is not valid UTF-8 text");
}

void AppendShort(std::vector<uint8_t>& out, const std::string& text) {
  out.push_back(uint8_t(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

void AppendWord(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(uint8_t(value & 0xFF));
  out.push_back(uint8_t(value >> 8));
}

}  // namespace

std::vector<uint8_t> BuildPictureFile(const std::vector<TPictureEntry>& entries,
                                      const TRaster24& image) {
  if (entries.size() > 255)
    throw EError("A picture file holds at most 255 language entries, not " +
                 std::to_string(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    CheckText(entries[i].Language, MaxShortText, "language code", i);
    CheckText(entries[i].Title, MaxShortText, "title", i);
    CheckText(entries[i].Author, MaxShortText, "author", i);
    CheckText(entries[i].Description, MaxLongText, "description", i);
  }
  if (image.IsEmpty()) throw EError("The picture is empty");
  if (image.Width() > MaxStoredSide || image.Height() > MaxStoredSide)
    throw EError("The picture is " + std::to_string(image.Width()) + " x " +
                 std::to_string(image.Height()) + " pixels; a picture file holds at most " +
                 std::to_string(MaxStoredSide) + " pixels on a side");

  std::vector<uint8_t> out(PictureFileMagic, PictureFileMagic + 4);
  out.push_back(CurrentPictureVersion);
  out.push_back(uint8_t(entries.size()));
  for (const TPictureEntry& entry : entries) {
    AppendShort(out, entry.Language);
    AppendShort(out, entry.Title);
    AppendShort(out, entry.Author);
    AppendWord(out, uint16_t(entry.Description.size()));
    out.insert(out.end(), entry.Description.begin(), entry.Description.end());
  }
  // Height before width: that is the order readers expect.
  AppendWord(out, uint16_t(image.Height()));
  AppendWord(out, uint16_t(image.Width()));
  TRaster24 copy;
  copy.CopyFrom(image);
  const std::vector<uint8_t> gif = EncodeGif(TBitmap(std::move(copy)));
  out.insert(out.end(), gif.begin(), gif.end());
  return out;
}

void WritePictureFile(const std::string& fileName, const std::vector<TPictureEntry>& entries,
                      const TRaster24& image) {
  WriteFileAtomically(fileName, ScrambleBytes(BuildPictureFile(entries, image)));
}

}  // namespace tw
