#include "settings/QCSettingU.h"

#include <algorithm>

#include "palette/PaletteU.h"
#include "pictures/QFoldersU.h"
#include "settings/ParentControlsU.h"
#include "settings/SettingsTextU.h"

namespace tw {

namespace {

constexpr const char* PaletteSectionPrefix = "Palettes\\Palette";

// The index n of a section named "Palettes\Palette<n>" (n in plain decimal,
// as the loader spells it), or -1.
int64_t PaletteSectionIndex(const std::string& section) {
  const std::string prefix = PaletteSectionPrefix;
  if (section.size() <= prefix.size() || !SameTextAscii(section.substr(0, prefix.size()), prefix))
    return -1;
  const std::string digits = section.substr(prefix.size());
  if (digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) return -1;
  int64_t index = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    index = index * 10 + (c - '0');
  }
  return index;
}

}  // namespace

const TMainSetting* FindMainSetting(const std::string& section, const std::string& name) {
  if (!SameTextAscii(section, SectionMain)) return nullptr;
  for (const TMainSetting& setting : MainSettings)
    if (SameTextAscii(name, setting.Name)) return &setting;
  return nullptr;
}

bool TQCSetting::ReadMainBool(const char* name) {
  return FStore.ReadBool(name, std::string(FindMainSetting(SectionMain, name)->BuiltIn) == "true",
                         SectionMain);
}

int32_t TQCSetting::ReadMainInteger(const char* name) {
  int32_t builtIn = 0;
  TryParseSettingInteger(FindMainSetting(SectionMain, name)->BuiltIn, builtIn);
  return FStore.ReadInteger(name, builtIn, SectionMain);
}

std::string TQCSetting::ReadMainString(const char* name) {
  return FStore.ReadString(name, FindMainSetting(SectionMain, name)->BuiltIn, SectionMain);
}

bool TryParseDecimal(const std::string& text, int32_t& value) {
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty()) return false;
  const size_t digitsAt = (trimmed[0] == '+' || trimmed[0] == '-') ? 1 : 0;
  if (digitsAt >= trimmed.size()) return false;
  for (size_t i = digitsAt; i < trimmed.size(); ++i)
    if (trimmed[i] < '0' || trimmed[i] > '9') return false;
  // Plain digits now, so the setting parser's decimal branch decides the range.
  return TryParseSettingInteger(trimmed, value);
}

TQCSetting::TQCSetting(TSetting& store) : FStore(store) {
  for (const char* section : {SectionMain, SectionLanguages, SectionPalettes, SectionCatalog}) {
    if (FStore.SectionExists(section)) continue;
    try {
      FStore.ImportDefaults(section);
    } catch (const EError&) {
      // A store that can be read but not written: the defaults are in
      // effect for this run all the same, and the store names them among
      // the settings it could not keep.
    }
  }
  try {
    TParentControls(FStore).SealPassword();
  } catch (const EError&) {
    // The program starts all the same; the gate tries again when the
    // password is given.
  }
}

std::string TQCSetting::ReadCurrentPicture() { return ReadMainString("CurrentPicture"); }
void TQCSetting::WriteCurrentPicture(const std::string& value) {
  FStore.WriteString("CurrentPicture", value, SectionMain);
}
bool TQCSetting::ReadHints() { return ReadMainBool("Hints"); }
void TQCSetting::WriteHints(bool value) { FStore.WriteBool("Hints", value, SectionMain); }
std::string TQCSetting::ReadLanguage() { return ReadMainString("Language"); }
void TQCSetting::WriteLanguage(const std::string& value) { FStore.WriteString("Language", value, SectionMain); }
int32_t TQCSetting::ReadMaxHistory() { return ReadMainInteger("MaxHistory"); }
bool TQCSetting::ReadMixToBrush() { return ReadMainBool("MixToBrush"); }
int32_t TQCSetting::ReadMusicVolume() { return ReadMainInteger("MusicVolume"); }
void TQCSetting::WriteMusicVolume(int32_t value) { FStore.WriteInteger("MusicVolume", value, SectionMain); }
bool TQCSetting::ReadPasswordPrint() { return TParentControls(FStore).PrintLocked(); }
bool TQCSetting::ReadPasswordSave() { return TParentControls(FStore).SaveLocked(); }
bool TQCSetting::CheckParentPassword(const std::string& entered) {
  return TParentControls(FStore).Check(entered);
}

std::string TQCSetting::ReadPathCatalog() {
  return ExpandFolderMacros(ReadMainString("PathCatalog"));
}

std::string TQCSetting::ReadPathSave() {
  return ExpandFolderMacros(ReadMainString("PathSave"));
}

void TQCSetting::WritePathSave(const std::string& value) {
  FStore.WriteString("PathSave", CollapseFolderMacros(value), SectionMain);
}

int32_t TQCSetting::ReadSaveMode() { return ReadMainInteger("SaveMode"); }
void TQCSetting::WriteSaveMode(int32_t value) { FStore.WriteInteger("SaveMode", value, SectionMain); }
int32_t TQCSetting::ReadSaveSize() { return ReadMainInteger("SaveSize"); }
void TQCSetting::WriteSaveSize(int32_t value) { FStore.WriteInteger("SaveSize", value, SectionMain); }
int32_t TQCSetting::ReadSfxVolume() { return ReadMainInteger("SfxVolume"); }
void TQCSetting::WriteSfxVolume(int32_t value) { FStore.WriteInteger("SfxVolume", value, SectionMain); }
int32_t TQCSetting::ReadStayColored() { return ReadMainInteger("StayColored"); }
bool TQCSetting::ReadUseImgCursors() { return ReadMainBool("UseImgCursors"); }

void TQCSetting::ReadCatalog(std::vector<std::string>& list) {
  FStore.ReadList("File", list, SectionCatalog);
  if (!list.empty()) return;
  FStore.ImportDefaults(SectionCatalog);
  FStore.ReadList("File", list, SectionCatalog);
}

void TQCSetting::WriteCatalog(const std::vector<std::string>& list) {
  FStore.WriteList("File", list, SectionCatalog);
}

void TQCSetting::ReadMixedColors(std::vector<std::string>& list) {
  FStore.ReadList("Color", list, SectionMixed);
}

void TQCSetting::WriteMixedColors(const std::vector<std::string>& list) {
  FStore.WriteList("Color", list, SectionMixed);
}

void TQCSetting::ReadLanguages(std::vector<std::string>& list) {
  FStore.ReadNameValueList("Language", list, SectionLanguages);
  if (!list.empty()) return;
  FStore.ImportDefaults(SectionLanguages);
  FStore.ReadNameValueList("Language", list, SectionLanguages);
}

void TQCSetting::LoadPalettes(TPaintPalettes& palettes, bool onlyEnabled) {
  int32_t count = FStore.ReadInteger("PaletteCount", 0, SectionPalettes);
  if (count == 0) {
    FStore.ImportDefaults(SectionPalettes);
    count = FStore.ReadInteger("PaletteCount", 0, SectionPalettes);
  }
  if (count <= 0) return;

  // Sections past the last stored one all read as an unnamed, disabled
  // palette: skipped when only enabled ones are wanted, otherwise the second
  // of them collides with the first. Stopping two past the last stored
  // section gives the same result without walking a huge damaged count.
  int64_t lastStored = -1;
  for (const std::string& section : FStore.SectionNames())
    lastStored = std::max(lastStored, PaletteSectionIndex(section));
  const int64_t end = std::min<int64_t>(count, lastStored + 3);

  std::vector<std::string> colors;
  for (int64_t n = 0; n < end; ++n) {
    const std::string section = PaletteSectionPrefix + std::to_string(n);
    const std::string name = FStore.ReadString("Name", "", section);
    const bool enabled = FStore.ReadBool("Enabled", false, section);
    if (!enabled && onlyEnabled) continue;
    FStore.ReadList("Color", colors, section);
    TPaintPalette& palette = palettes.Add(name, -1);
    const size_t taken = std::min<size_t>({colors.size(), size_t(MaxPaletteColors), size_t(palette.Count())});
    for (size_t j = 0; j < taken; ++j) {
      int32_t color = 0;
      if (!TryParseDecimal(colors[j], color)) color = 0;
      palette.SetColor(int32_t(j), TColor(uint32_t(color)));
    }
    palette.SetEnabled(enabled);
  }
}

std::vector<TColor> TQCSetting::MixedColorsFromTexts(const std::vector<std::string>& list) {
  std::vector<TColor> colors;
  const size_t taken = std::min<size_t>(list.size(), MixedColorCount);
  for (size_t i = 0; i < taken; ++i) {
    int32_t color = 0;
    colors.push_back(TryParseDecimal(list[i], color) ? TColor(uint32_t(color)) : clNone);
  }
  return colors;
}

std::vector<std::string> TQCSetting::MixedColorsToTexts(const std::vector<TColor>& colors) {
  std::vector<std::string> texts;
  texts.reserve(colors.size());
  // Signed, the way the loader reads them back.
  for (TColor color : colors) texts.push_back(std::to_string(int32_t(color)));
  return texts;
}

}  // namespace tw
