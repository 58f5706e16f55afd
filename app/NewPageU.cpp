#include "app/NewPageU.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <new>

#include "base/TextCodingU.h"
#include "pages/ColouringPageU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/CatalogEntryU.h"
#include "pictures/ColoringFolderU.h"
#include "pictures/PictureFileU.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

// A picture file's title holds at most this many bytes.
constexpr size_t LongestTitle = 255;
// With a number and the extension the name stays within the usual 255-byte
// limit of a file name.
constexpr size_t LongestStem = 200;

bool Taken(const std::string& Name, const std::vector<std::string>& Catalog) {
  std::error_code Error;
  // A folder that cannot be looked into fails the write later, with a
  // message.
  if (fs::exists(fs::path(PagesFolder()) / Name, Error)) return true;
  const std::string Entry = PagesEntry(Name);
  // A colouring left by an earlier page of that name would open on this
  // one.
  const std::string Kept = ColoringFolder() + ColoringFileStem(Entry);
  if (fs::exists(Kept + ColoringColorSuffix, Error) || fs::exists(Kept + ColoringOutlineSuffix, Error))
    return true;
  return std::any_of(Catalog.begin(), Catalog.end(),
                     [&](const std::string& Other) { return SameTextAscii(Other, Entry); });
}

// "owl.twf", else "owl 2.twf", "owl 3.twf" and so on.
std::string FreeName(const std::string& Stem, const std::vector<std::string>& Catalog) {
  for (int Number = 1;; ++Number) {
    const std::string Name =
        Stem + (Number == 1 ? std::string() : " " + std::to_string(Number)) + ".twf";
    if (!Taken(Name, Catalog)) return Name;
  }
}

}  // namespace

bool LooksLikeImageFile(const std::string& File) {
  std::error_code Error;
  if (!fs::is_regular_file(File, Error)) return false;
  std::ifstream In(File, std::ios::binary);
  uint8_t Head[16] = {};
  In.read(reinterpret_cast<char*>(Head), sizeof Head);
  return SniffImageFormat(Head, size_t(In.gcount())) != TImageFormat::Unknown;
}

std::string NewPageTitle(const std::string& File) {
  // A name in another encoding is taken as the older single-byte one, the
  // way picture texts are read.
  std::string Title = PictureTextToUtf8(fs::path(File).stem().string());
  if (Title.size() <= LongestTitle) return Title;
  // Cut before a continuation byte never splits a UTF-8 character.
  size_t End = LongestTitle;
  while (End > 0 && (uint8_t(Title[End]) & 0xC0) == 0x80) --End;
  return Title.substr(0, End);
}

TRaster24 ConvertToPage(const std::string& File, const std::function<void(double)>& Progress) {
  try {
    const TRaster24 Image = ReadImageFile(File);
    if (Image.IsEmpty()) throw EError("\"" + File + "\" holds no image.");
    if (Progress) Progress(0.1);
    // Reading takes the first tenth of the bar, the tracing the rest.
    std::function<void(double)> Traced;
    if (Progress) Traced = [&Progress](double Share) { Progress(0.1 + 0.9 * Share); };
    TRaster24 Page = MakeColouringPage(Image, {}, DefaultMaxPictureSide, nullptr, Traced);
    if (Progress) Progress(1.0);
    return Page;
  } catch (const EError& Error) {
    throw ENewPage(ENewPage::NoImage, Error.what());
  } catch (const std::bad_alloc&) {
    throw ENewPage(ENewPage::NoImage, "\"" + File + "\" is too large to read.");
  }
}

std::string WriteNewPage(const std::string& File, const TRaster24& Page,
                         const std::string& Language, const std::vector<std::string>& Catalog) {
  const std::string Title = NewPageTitle(File);
  const std::string Stem = fs::path(File).stem().string().substr(0, LongestStem);
  const std::string Name = FreeName(Stem.empty() ? std::string("page") : Stem, Catalog);
  try {
    WritePictureFile(PagesFolder() + Name, {{Language, Title, "", ""}}, Page);
  } catch (const EError& Error) {
    throw ENewPage(ENewPage::NotWritten, Error.what());
  }
  return PagesEntry(Name);
}

std::string MakeNewPage(const std::string& File, const std::string& Language,
                        const std::vector<std::string>& Catalog) {
  return WriteNewPage(File, ConvertToPage(File), Language, Catalog);
}

}  // namespace tw
