// The program's typed settings: one read per setting with its default, one
// write per setting the program changes, and the list settings (catalog, mix
// tray colours, language list, palettes). It keeps no values of its own;
// every call goes to the store, so a value written is seen by the next read.
// Stored values outside their meaningful range are returned as stored; the
// callers clamp them where they index tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "painter/PaintCommonU.h"
#include "settings/SettingU.h"

namespace tw {

class TPaintPalettes;

// Section names and the built-in defaults of the settings.
inline constexpr const char* SectionMain = "Main";
inline constexpr const char* SectionLanguages = "Languages";
inline constexpr const char* SectionPalettes = "Palettes";
inline constexpr const char* SectionCatalog = "Catalog";
inline constexpr const char* SectionMixed = "Mixed";
inline constexpr const char* DefaultLanguage = "en_us";
inline constexpr const char* DefaultPathCatalog = "[MyPicturesFolder]\\Tintwell\\catalog\\";
inline constexpr const char* DefaultPathSave = "[MyPicturesFolder]\\Tintwell\\saved\\";
// The program's own values of "Main": how the program reads each, and the
// text of the value it uses while the store holds none (a Boolean as
// "true" or "false").
enum class TSettingType { stString, stInteger, stBool };
struct TMainSetting {
  const char* Name;
  TSettingType Type;
  const char* BuiltIn;
};
inline constexpr TMainSetting MainSettings[] = {
    {"CurrentPicture", TSettingType::stString, ""},
    {"Hints", TSettingType::stBool, "true"},
    {"Language", TSettingType::stString, DefaultLanguage},
    {"MaxHistory", TSettingType::stInteger, "10"},
    {"MixToBrush", TSettingType::stBool, "true"},
    {"MusicVolume", TSettingType::stInteger, "-1000"},
    {"ParentPassword", TSettingType::stString, ""},
    {"PasswordPrint", TSettingType::stBool, "false"},
    {"PasswordSave", TSettingType::stBool, "false"},
    {"PathCatalog", TSettingType::stString, DefaultPathCatalog},
    {"PathSave", TSettingType::stString, DefaultPathSave},
    {"SaveMode", TSettingType::stInteger, "0"},
    {"SaveSize", TSettingType::stInteger, "1"},
    {"SfxVolume", TSettingType::stInteger, "0"},
    {"StayColored", TSettingType::stInteger, "2"},
    {"UseImgCursors", TSettingType::stBool, "true"},
};
// The entry of a value of section (compared without regard to case), or
// null when it is not one of the program's own values of "Main".
const TMainSetting* FindMainSetting(const std::string& section, const std::string& name);

// The mix tray has 12 wells and a palette at most 20 colours.
inline constexpr int MixedColorCount = 12;
inline constexpr int MaxPaletteColors = 20;

class TQCSetting {
 public:
  // Imports "Main", "Languages", "Palettes" and "Catalog" from the defaults
  // file, in this order, for each that the store does not hold yet (in
  // memory only when the file cannot take them). Then a
  // clear-text parent password (from the defaults file or an older store)
  // is replaced by its hash, when the store takes it.
  explicit TQCSetting(TSetting& store);

  TSetting& Store() { return FStore; }

  std::string ReadCurrentPicture();
  void WriteCurrentPicture(const std::string& value);
  bool ReadHints();
  void WriteHints(bool value);
  std::string ReadLanguage();
  void WriteLanguage(const std::string& value);
  int32_t ReadMaxHistory();
  bool ReadMixToBrush();
  int32_t ReadMusicVolume();
  void WriteMusicVolume(int32_t value);
  // The locks and the password, from the system policy when one is in
  // force (TParentControls).
  bool ReadPasswordPrint();
  bool ReadPasswordSave();
  // Whether entered is the parent's password (TParentControls::Check).
  bool CheckParentPassword(const std::string& entered);
  // With the folder macros expanded.
  std::string ReadPathCatalog();
  std::string ReadPathSave();
  // Stored with the program, pictures and documents folders turned back into
  // their macros.
  void WritePathSave(const std::string& value);
  int32_t ReadSaveMode();
  void WriteSaveMode(int32_t value);
  int32_t ReadSaveSize();
  void WriteSaveSize(int32_t value);
  int32_t ReadSfxVolume();
  void WriteSfxVolume(int32_t value);
  int32_t ReadStayColored();
  bool ReadUseImgCursors();

  // The catalog's file names; an empty stored list is imported again from
  // the defaults file and read once more.
  void ReadCatalog(std::vector<std::string>& list);
  void WriteCatalog(const std::vector<std::string>& list);
  // The mix tray's colours as decimal texts, as stored; no import.
  void ReadMixedColors(std::vector<std::string>& list);
  void WriteMixedColors(const std::vector<std::string>& list);
  // Entries "code=display name"; an empty list is imported again and read
  // once more.
  void ReadLanguages(std::vector<std::string>& list);
  // Adds the palettes of the "Palettes" section to palettes (importing the
  // section when its count is 0): all of them, or only the enabled ones.
  void LoadPalettes(TPaintPalettes& palettes, bool onlyEnabled);

  // The first min(12, size) stored mix-tray items as colours, clNone for an
  // item that is not a decimal integer.
  static std::vector<TColor> MixedColorsFromTexts(const std::vector<std::string>& list);
  // All wells as decimal texts, for WriteMixedColors.
  static std::vector<std::string> MixedColorsToTexts(const std::vector<TColor>& colors);

 private:
  bool ReadMainBool(const char* name);
  int32_t ReadMainInteger(const char* name);
  std::string ReadMainString(const char* name);

  TSetting& FStore;
};

// A decimal integer with an optional sign (surrounding blanks allowed) that
// fits 32 bits; false otherwise. Used for list items stored as text.
bool TryParseDecimal(const std::string& text, int32_t& value);

}  // namespace tw
