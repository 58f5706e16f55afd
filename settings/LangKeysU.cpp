// The list of the program's language keys.
#include "settings/LangKeysU.h"

namespace tw {

const std::vector<std::string>& HintNames() {
  static const std::vector<std::string> names = {
      "Undo",    "ZoomOut", "ZoomIn",  "Save",   "Print",  "Info",      "PrevPic",
      "NextPic", "PrevPal", "NextPal", "Fill",   "Brush",  "MBrush",    "Dropper",
      "Marker",  "Eraser",  "Wash",    "Options", "BrushSize", "PaintTray", "MixTray"};
  return names;
}

namespace {

std::vector<TLangKey> BuildKeys() {
  const std::vector<std::string> none;
  const std::vector<std::string> path = {"%s"};
  // Width and height in pixels of a save size.
  const std::vector<std::string> size = {"%d", "%d"};
  std::vector<TLangKey> keys = {
      {"msgAnon", none},
      {"DPasswordCaption", none},
      {"DPasswordPrompt", none},
      {"DExitTitle", none},
      {"DExitDescr", none},
      {"DExitHelp", none},
      // The catalog entry that has no file any more.
      {"capNotFound", none},
      {"msgNotFound", path},
      // The full path of the picture file that cannot be opened.
      {"errOpenBadExt", path},
      {"errOpenNoExist", path},
      {"errOpenNotFile", path},
      {"errCorrupt", path},
      // The settings store: where a damaged file was kept; the names of
      // settings that could not be stored.
      {"capSettings", none},
      {"msgSettingsDamaged", path},
      {"msgSettingsInMemory", none},
      {"msgLocksUnreadable", none},
      {"msgSettingsNotKept", path},
      // A picture's title whose colouring cannot be written; the titles of
      // those that could not be kept at all.
      {"capColoring", none},
      {"msgColoringNotKept", path},
      {"msgColoringsLost", path},
      // An image file dropped on the window to become a new colouring page:
      // the file's name when it holds no readable image or the page cannot
      // be written.
      {"capNewPage", none},
      {"msgPageNoImage", path},
      {"msgPageNotWritten", path},
      {"msgPageMaking", none},
      {"DClosePrompt", none},
      {"DCloseYes", none},
      {"DCloseNo", none},
      {"DInfoOK", none},
      {"DOptionsTitle", none},
      {"DOptionsMusic", none},
      {"DOptionsSfx", none},
      {"DOptionsHints", none},
      {"DOptionsLang", none},
      {"DOptionsOK", none},
      {"DPrintTitle", none},
      {"DPrintPrompt", none},
      {"DPrintCancel", none},
      {"DPrintPrint", none},
      // Printed into a PDF file because the system has no printer: its path.
      {"capPrintedToFile", none},
      {"msgPrintedToFile", path},
      {"DSaveTitle", none},
      {"DSavePrompt", none},
      {"DSaveOptions", none},
      {"DSavePath", none},
      {"DSaveCancel", none},
      {"DSaveSave", none},
      {"DSaveSmall", size},
      {"DSaveMedium", size},
      {"DSaveLarge", size},
  };
  for (const char* prefix : {"httl", "hsbt", "hinf"})
    for (const std::string& name : HintNames()) keys.push_back({prefix + name, none});
  return keys;
}

}  // namespace

const std::vector<TLangKey>& ProgramLanguageKeys() {
  static const std::vector<TLangKey> keys = BuildKeys();
  return keys;
}

}  // namespace tw
