// Language lookups and the safe printf-like filling of language texts.
#include "settings/LangU.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "base/ErrorsU.h"
#include "base/TextCodingU.h"
#include "settings/IniFileU.h"

namespace tw {

namespace {

const char* const TextSection = "Text";
// A language text cannot span lines in the file; "|" stands for a break.
const char LineBreakMark = '|';
const char* const LineBreak = "\n";
constexpr int MaxFieldWidth = 1024;

// Codes come from the settings; anything but letters, digits, "_" and "-"
// could reach outside the lang folder, so such a code names no file.
bool IsSafeCode(const std::string& code) {
  if (code.empty()) return false;
  return std::all_of(code.begin(), code.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
  });
}

struct TPlaceholder {
  bool Valid = false;
  size_t Length = 0;  // characters from the "%" through the conversion
  std::string Flags;
  int Width = -1;
  int Precision = -1;
  char Conversion = 0;  // 's' or 'd'
};

// Reads digits at pos, capped so a long run of digits cannot overflow.
int ReadNumber(const std::string& text, size_t& pos) {
  int value = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) != 0) {
    value = std::min(MaxFieldWidth, value * 10 + (text[pos] - '0'));
    ++pos;
  }
  return value;
}

// Parses the placeholder whose "%" is at start (not "%%").
TPlaceholder ParsePlaceholder(const std::string& text, size_t start) {
  TPlaceholder result;
  size_t pos = start + 1;
  while (pos < text.size() && std::string_view("-+ 0#").find(text[pos]) != std::string_view::npos) {
    // "#" has no meaning for these conversions; it is accepted and dropped.
    if (text[pos] != '#' && result.Flags.find(text[pos]) == std::string::npos) result.Flags += text[pos];
    ++pos;
  }
  if (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) != 0)
    result.Width = ReadNumber(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    result.Precision = ReadNumber(text, pos);
  }
  if (pos >= text.size()) return result;
  char conversion = text[pos];
  if (conversion == 'i') conversion = 'd';
  if (conversion != 's' && conversion != 'd') return result;
  result.Valid = true;
  result.Conversion = conversion;
  result.Length = pos + 1 - start;
  return result;
}

int64_t ArgAsInteger(const TFormatArg& arg) {
  if (const auto* value = std::get_if<int64_t>(&arg)) return *value;
  const std::string& text = std::get<std::string>(arg);
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  int64_t value = 0;
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return 0;
  return value;
}

std::string ArgAsText(const TFormatArg& arg) {
  if (const auto* value = std::get_if<int64_t>(&arg)) return std::to_string(*value);
  return std::get<std::string>(arg);
}

// Byte length of the first count UTF-8 characters of text (continuation
// bytes do not start a character).
size_t Utf8Prefix(const std::string& text, size_t count) {
  size_t pos = 0;
  for (size_t seen = 0; pos < text.size(); ++pos) {
    bool starts = (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80;
    if (starts && seen++ == count) break;
  }
  return pos;
}

size_t Utf8Length(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string FormatString(const TPlaceholder& p, std::string text) {
  if (p.Precision >= 0) text.resize(Utf8Prefix(text, static_cast<size_t>(p.Precision)));
  size_t length = Utf8Length(text);
  if (p.Width > 0 && length < static_cast<size_t>(p.Width)) {
    std::string padding(static_cast<size_t>(p.Width) - length, ' ');
    text = p.Flags.find('-') != std::string::npos ? text + padding : padding + text;
  }
  return text;
}

std::string FormatInteger(const TPlaceholder& p, int64_t value) {
  // The format is built here from checked parts only, so the C library sees
  // nothing a language file could abuse.
  std::string format = "%" + p.Flags;
  if (p.Width >= 0) format += std::to_string(p.Width);
  if (p.Precision >= 0) format += "." + std::to_string(p.Precision);
  format += "lld";
  std::string buffer(2 * MaxFieldWidth + 32, '\0');
  int written = std::snprintf(buffer.data(), buffer.size(), format.c_str(), static_cast<long long>(value));
  if (written < 0) return std::string();
  buffer.resize(std::min(buffer.size() - 1, static_cast<size_t>(written)));
  return buffer;
}

}  // namespace

TLang::TLang(const std::string& langFolder, const std::string& exeBaseName)
    : FLangFolder(langFolder), FExeBaseName(LowerAsciiText(exeBaseName)) {
  // "tintwell.exe" and "tintwell" name the same files.
  size_t dot = FExeBaseName.rfind('.');
  if (dot != std::string::npos && dot > 0) FExeBaseName.resize(dot);
  if (!FLangFolder.empty() && FLangFolder.back() != '/') FLangFolder += '/';
}

void TLang::SetLanguage(const std::string& code) {
  FLanguage = code;
  FLanguageFile = IsSafeCode(code) ? FLangFolder + FExeBaseName + "_" + LowerAsciiText(code) + ".ini"
                                   : std::string();
}

std::string TLang::Language() const { return FLanguage; }

std::string TLang::LanguageFile() const { return FLanguageFile; }

std::string TLang::GetText(const std::string& key) const {
  if (FLanguage.empty()) throw EError("Language not set");
  // Read afresh at every lookup, so an edited language file shows at once.
  std::string text;
  if (!FLanguageFile.empty()) text = TIniFile(FLanguageFile).ReadString(TextSection, key, "");
  if (text.empty()) return "Text: " + key;
  // The files are UTF-8; a file saved by an older editor in the Western
  // single-byte code page still shows its accented letters.
  if (!IsValidUtf8(text)) text = Windows1252ToUtf8(text);
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == LineBreakMark)
      result += LineBreak;
    else
      result += c;
  }
  return result;
}

std::string TLang::GetTextFmt(const std::string& key, const std::vector<TFormatArg>& args) const {
  return FormatLangText(GetText(key), args);
}

std::string FormatLangText(const std::string& format, const std::vector<TFormatArg>& args) {
  std::string result;
  size_t next = 0;
  size_t pos = 0;
  while (pos < format.size()) {
    if (format[pos] != '%') {
      result += format[pos++];
      continue;
    }
    if (pos + 1 < format.size() && format[pos + 1] == '%') {
      result += '%';
      pos += 2;
      continue;
    }
    TPlaceholder p = ParsePlaceholder(format, pos);
    if (!p.Valid) {
      result += format[pos++];
      continue;
    }
    pos += p.Length;
    if (next >= args.size()) continue;
    const TFormatArg& arg = args[next++];
    result += p.Conversion == 's' ? FormatString(p, ArgAsText(arg)) : FormatInteger(p, ArgAsInteger(arg));
  }
  return result;
}

std::vector<std::string> FormatPlaceholders(const std::string& format) {
  std::vector<std::string> result;
  size_t pos = 0;
  while (pos < format.size()) {
    if (format[pos] != '%') {
      ++pos;
    } else if (pos + 1 < format.size() && format[pos + 1] == '%') {
      pos += 2;
    } else {
      TPlaceholder p = ParsePlaceholder(format, pos);
      if (p.Valid) result.push_back(std::string("%") + p.Conversion);
      pos += p.Valid ? p.Length : 1;
    }
  }
  return result;
}

}  // namespace tw
