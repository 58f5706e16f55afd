#include "tools/common/ToolHooksU.h"

#include <utility>

namespace tw {
namespace {

std::string ToolText(const std::string& key, const TTranslateFunc& fallback) {
  if (key == "errOpenBadExt") return "\"%s\" is not a picture file: its name must end in \".twf\".";
  if (key == "errOpenNoExist") return "\"%s\" does not exist.";
  if (key == "errOpenNotFile")
    return "\"%s\" is not a regular file (a pipe, a device or a socket) and cannot be read.";
  if (key == "errCorrupt") return "\"%s\" is damaged or is not a picture file.";
  return fallback ? fallback(key) : key;
}

}  // namespace

THookScope::THookScope(std::ostream& err, std::string toolName)
    : FSavedWarning(std::move(OnShowWarning)), FSavedTranslate(std::move(OnTranslate)) {
  OnShowWarning = [&err, toolName = std::move(toolName)](const std::string& message) {
    err << toolName << ": " << message << "\n";
  };
  OnTranslate = [saved = FSavedTranslate](const std::string& key) { return ToolText(key, saved); };
}

THookScope::~THookScope() {
  OnShowWarning = std::move(FSavedWarning);
  OnTranslate = std::move(FSavedTranslate);
}

}  // namespace tw
