// The interface language: looks up the texts of the chosen language by key
// in lang/<exe>_<code>.ini and fills their placeholders safely.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tw {

// An argument of a formatted text: %s takes a string, %d (with optional
// flags, width and precision) an integer; a mismatched or missing argument
// never reads garbage (it formats as empty / 0 or the placeholder stays).
using TFormatArg = std::variant<std::string, int64_t>;

class TLang {
 public:
  // langFolder: the "lang" folder; exeBaseName: the executable's base name
  // in lower case ("tintwell"), giving lang/tintwell_<code>.ini.
  TLang(const std::string& langFolder, const std::string& exeBaseName);
  // Stores the code and names its file; the file need not exist, its texts
  // are read at each lookup.
  void SetLanguage(const std::string& code);
  std::string Language() const;
  // The file the texts come from; empty until a language is set.
  std::string LanguageFile() const;
  // The text of key in the section "Text" of the language file, "|" turned
  // into a line break; "Text: " + key when the text is missing or empty.
  // Throws EError("Language not set") before SetLanguage.
  std::string GetText(const std::string& key) const;
  // GetText(key) with its placeholders filled by FormatLangText.
  std::string GetTextFmt(const std::string& key, const std::vector<TFormatArg>& args) const;

 private:
  std::string FLangFolder;
  std::string FExeBaseName;
  std::string FLanguage;
  std::string FLanguageFile;
};

// Fills the placeholders of format in order with args:
// - "%s" (optional "-" flag, width, precision in characters) takes a string;
//   an integer argument is written in decimal.
// - "%d" or "%i" (flags "-+ 0", width, precision) takes an integer; a string
//   argument counts as its decimal value when it is one, else as 0.
// - A placeholder without an argument becomes empty; extra arguments are
//   ignored; "%%" gives "%"; any other "%" sequence stays as written. Widths
//   and precisions are capped at 1024 so no text can ask for huge output.
std::string FormatLangText(const std::string& format, const std::vector<TFormatArg>& args);

// The placeholders of format in order, each as "%s" or "%d" (flags, width
// and precision dropped, "%i" counted as "%d"); "%%" is not one.
std::vector<std::string> FormatPlaceholders(const std::string& format);

}  // namespace tw
