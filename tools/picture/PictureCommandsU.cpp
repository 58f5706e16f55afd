// Packing, describing and extracting picture files for the picture tool.
#include "tools/picture/PictureCommandsU.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "pages/ColouringPageU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureFileU.h"
#include "pictures/QCFileStreamU.h"
#include "pictures/QCGraphicU.h"
#include "tools/common/TerminalTextU.h"
#include "pages/ShrinkU.h"

namespace tw {

namespace {

// A GIF is taken to be a finished colouring page already, so it is stored as
// it is unless line art is asked for.
bool IsGifFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  uint8_t head[8] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  return SniffImageFormat(head, size_t(in.gcount())) == TImageFormat::Gif;
}

// Stops counting at limit + 1: the caller only needs to know "more than".
size_t CountColours(const TRaster24& image, size_t limit) {
  std::unordered_set<TColor> colours;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      colours.insert(image.Pixel(x, y));
      if (colours.size() > limit) return colours.size();
    }
  return colours.size();
}

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Continuation lines of a text line up under its first line; control
// characters are shown escaped, never sent to the terminal.
std::string Indented(const std::string& text, size_t indent) {
  std::string result;
  for (char c : EscapeControls(text, true)) {
    result += c;
    if (c == '\n') result.append(indent, ' ');
  }
  return result;
}

}  // namespace

std::optional<TStoredSize> ReadStoredSize(const std::string& fileName) {
  TQCFileStream stream(fileName, TFileMode::fmOpenRead, true);
  char magic[4];
  for (char& c : magic) c = char(stream.ReadByte());
  if (!std::equal(std::begin(magic), std::end(magic), std::begin(PictureFileMagic)))
    throw EError("\"" + fileName + "\" is not a picture file.");
  const uint8_t version = stream.ReadByte();
  const int count = version >= 3 ? stream.ReadByte() : 1;
  for (int i = 0; i < count; ++i) {
    if (version >= 3) stream.ReadShortStr();
    stream.ReadShortStr();
    stream.ReadShortStr();
    stream.ReadLongStr();
  }
  if (version < 2) return std::nullopt;
  TStoredSize size;
  size.Height = stream.ReadSmallInt();
  size.Width = stream.ReadSmallInt();
  return size;
}

void RunPack(const TPackOptions& options, std::ostream& out, std::ostream& err) {
  TRaster24 image = ReadImageFile(options.ImageFile);
  const bool lineArt = options.LineArt.value_or(!IsGifFile(options.ImageFile));
  const bool traced = lineArt && options.LineArtOptions.Threshold == 0;
  const TPictureSize fit = FitPictureSize(image.Width(), image.Height(), options.MaxSize);
  const bool shrink = fit.Width != image.Width() || fit.Height != image.Height();
  if (shrink && !traced)
    out << "Scaling " << SizeText(image.Width(), image.Height()) << " down to "
        << SizeText(fit.Width, fit.Height) << " (--max-size " << options.MaxSize
        << "; --max-size 0 keeps the size).\n";
  std::string lineArtNote;
  if (lineArt) {
    TLineArtReport report;
    const int width = image.Width(), height = image.Height();
    image = MakeColouringPage(image, options.LineArtOptions, options.MaxSize, &report);
    const std::string cleaned = std::to_string(report.SpecksRemoved) + " specks removed, " +
                                std::to_string(report.HolesFilled) + " small holes filled";
    if (traced) {
      if (image.Width() != width || image.Height() != height)
        out << "Tracing " << SizeText(width, height) << " at "
            << SizeText(image.Width(), image.Height())
            << " (--threshold N keeps the image's own size up to --max-size).\n";
      lineArtNote = "; outlines of " + std::to_string(report.Regions) + " colour regions, " +
                    cleaned;
    } else {
      lineArtNote = "; line art at threshold " + std::to_string(report.Threshold) + ", " + cleaned;
    }
  } else {
    if (shrink) image = ShrinkAveraged(image, fit.Width, fit.Height);
    if (options.LineArtTuned)
      err << "warning: --threshold, --speck-size and --hole-size only act with --lineart; "
             "the image is stored as it is.\n";
    const int64_t offPalette = CountOffPalettePixels(image);
    if (offPalette > 0)
      err << "warning: " << offPalette
          << " pixels are neither pure black nor pure white; a colouring page is normally "
             "black lines on white (--lineart converts it).\n";
    if (CountColours(image, 256) > 256)
      err << "warning: the image has more than 256 colours; the picture file keeps at most 256 "
             "(pure black and pure white stay exact).\n";
  }
  if (options.Entries.empty())
    err << "warning: no --title, --author or --description given; the program will show no "
           "texts for this picture.\n";

  WritePictureFile(options.OutputFile, options.Entries, image);

  std::string languages;
  for (const TPictureEntry& entry : options.Entries)
    languages += (languages.empty() ? "" : ", ") + entry.Language;
  out << "Wrote " << options.OutputFile << ": " << SizeText(image.Width(), image.Height()) << ", "
      << options.Entries.size() << (options.Entries.size() == 1 ? " language" : " languages")
      << (languages.empty() ? "" : " (" + languages + ")") << lineArtNote << ".\n";
}

int RunInfo(const TInfoOptions& options, std::ostream& out) {
  TQCGraphic graphic;
  graphic.LoadFromFile(options.PictureFile);
  const std::optional<TStoredSize> stored = ReadStoredSize(options.PictureFile);
  const bool damaged = graphic.Image().IsEmpty();

  out << "File:         " << EscapeControls(options.PictureFile, false) << "\n";
  out << "Version:      " << int(graphic.Version()) << "\n";
  out << "Stored size:  "
      << (stored ? SizeText(stored->Width, stored->Height) : "none (files before version 2)")
      << "\n";
  out << "Decoded size: "
      << (damaged ? "none, the image is damaged"
                  : SizeText(graphic.Image().Width(), graphic.Image().Height()))
      << "\n";
  out << "Entries:      " << graphic.Entries().size() << "\n";
  const size_t indent = 17;
  int number = 0;
  for (const TPictureEntry& entry : graphic.Entries()) {
    out << "  Entry " << ++number << "\n";
    out << "    Language:    " << EscapeControls(entry.Language, false) << "\n";
    out << "    Title:       " << Indented(entry.Title, indent) << "\n";
    out << "    Author:      " << Indented(entry.Author, indent) << "\n";
    out << "    Description: " << Indented(entry.Description, indent) << "\n";
  }
  return damaged ? ExitFailure : ExitOk;
}

void RunExtract(const TExtractOptions& options, std::ostream& out) {
  TQCGraphic graphic;
  graphic.LoadFromFile(options.PictureFile);
  const TRaster24& image = graphic.Image();
  if (image.IsEmpty())
    throw EError("The image inside \"" + options.PictureFile +
                 "\" is damaged; nothing was written.");
  std::vector<uint8_t> bytes;
  if (HasExtension(options.OutputFile, ".gif"))
    bytes = EncodeGif(TBitmap(image));
  else if (HasExtension(options.OutputFile, ".bmp"))
    bytes = EncodeBmp(TBitmap(image));
  else
    // Line art suffers from JPEG's ringing; a high quality keeps the lines
    // clean for authors who want that format anyway.
    bytes = EncodeJpeg(image, 95);
  WriteFileAtomically(options.OutputFile, bytes);
  out << "Wrote " << options.OutputFile << ": " << SizeText(image.Width(), image.Height()) << ".\n";
}

}  // namespace tw
