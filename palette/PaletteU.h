// Palettes: a named, fixed-length list of paint colours (TPaintPalette) and
// the list of palettes the paint tray steps through (TPaintPalettes). Plain
// data, no Qt; the palettes are read from the settings by
// TQCSetting::LoadPalettes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "painter/PaintCommonU.h"

namespace tw {

class TPaintPalette {
 public:
  // count colours, all 0 (black); not enabled. A negative count gives none.
  explicit TPaintPalette(int32_t count);

  int32_t Count() const { return int32_t(FColors.size()); }
  // 0 <= index < Count; anything else throws EError.
  TColor Color(int32_t index) const;
  void SetColor(int32_t index, TColor color);
  const std::vector<TColor>& Colors() const { return FColors; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { FEnabled = enabled; }

  // Copies this palette's Count colours from other; when other is shorter,
  // only its colours are copied and the rest stay as they are.
  void Assign(const TPaintPalette& other);

 private:
  std::vector<TColor> FColors;
  bool FEnabled = false;
};

class TPaintPalettes {
 public:
  // The main window creates its list with 20 colours per palette.
  explicit TPaintPalettes(int32_t colorsPerPalette);

  int32_t ColorsPerPalette() const { return FColorsPerPalette; }

  // A new palette of ColorsPerPalette black colours named name, appended to
  // the list; when 0 <= copyFrom < Count it starts as a copy of that
  // palette's colours. A name already in the list (compared without regard
  // to case) is reported with ShowAbort and nothing is added.
  TPaintPalette& Add(const std::string& name, int32_t copyFrom = -1);

  int32_t Count() const { return int32_t(FItems.size()); }
  // 0 <= index < Count (insertion order); anything else throws EError.
  TPaintPalette& Items(int32_t index);
  const TPaintPalette& Items(int32_t index) const;
  const std::string& Names(int32_t index) const;
  // The position of the palette with this name (without regard to case), or
  // -1.
  int32_t IndexOf(const std::string& name) const;
  void Clear();

 private:
  struct TEntry {
    std::string Name;
    std::unique_ptr<TPaintPalette> Palette;
  };
  void CheckIndex(int32_t index) const;

  int32_t FColorsPerPalette;
  std::vector<TEntry> FItems;
};

}  // namespace tw
