#include "palette/PaletteU.h"

#include <algorithm>

#include "base/ErrorsU.h"
#include "pictures/QUtilU.h"
#include "base/TextCodingU.h"

namespace tw {

TPaintPalette::TPaintPalette(int32_t count) : FColors(size_t(std::max(count, 0)), clBlack) {}

TColor TPaintPalette::Color(int32_t index) const {
  if (index < 0 || index >= Count())
    throw EError("Palette colour index " + std::to_string(index) + " out of range");
  return FColors[size_t(index)];
}

void TPaintPalette::SetColor(int32_t index, TColor color) {
  if (index < 0 || index >= Count())
    throw EError("Palette colour index " + std::to_string(index) + " out of range");
  FColors[size_t(index)] = color;
}

void TPaintPalette::Assign(const TPaintPalette& other) {
  const size_t count = std::min(FColors.size(), other.FColors.size());
  std::copy_n(other.FColors.begin(), count, FColors.begin());
}

TPaintPalettes::TPaintPalettes(int32_t colorsPerPalette)
    : FColorsPerPalette(std::max(colorsPerPalette, 0)) {}

TPaintPalette& TPaintPalettes::Add(const std::string& name, int32_t copyFrom) {
  if (IndexOf(name) >= 0) ShowAbort("Palette \"" + name + "\" already exists!");
  auto palette = std::make_unique<TPaintPalette>(FColorsPerPalette);
  if (copyFrom >= 0 && copyFrom < Count()) palette->Assign(*FItems[size_t(copyFrom)].Palette);
  FItems.push_back({name, std::move(palette)});
  return *FItems.back().Palette;
}

void TPaintPalettes::CheckIndex(int32_t index) const {
  if (index < 0 || index >= Count())
    throw EError("Palette index " + std::to_string(index) + " out of range");
}

TPaintPalette& TPaintPalettes::Items(int32_t index) {
  CheckIndex(index);
  return *FItems[size_t(index)].Palette;
}

const TPaintPalette& TPaintPalettes::Items(int32_t index) const {
  CheckIndex(index);
  return *FItems[size_t(index)].Palette;
}

const std::string& TPaintPalettes::Names(int32_t index) const {
  CheckIndex(index);
  return FItems[size_t(index)].Name;
}

int32_t TPaintPalettes::IndexOf(const std::string& name) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameTextAscii(FItems[i].Name, name)) return int32_t(i);
  return -1;
}

void TPaintPalettes::Clear() { FItems.clear(); }

}  // namespace tw
