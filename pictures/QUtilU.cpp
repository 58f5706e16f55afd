#include "pictures/QUtilU.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tw {

namespace {

int GHorzScrollBarHeight = 16;
int GVertScrollBarWidth = 16;

}  // namespace

void ShowWarning(const std::string& message) {
  if (OnShowWarning) {
    OnShowWarning(message);
  } else {
    std::fprintf(stderr, "Tintwell: %s\n", message.c_str());
  }
}

std::string TranslateKey(const std::string& key) {
  return OnTranslate ? OnTranslate(key) : key;
}

std::string FormatText(const std::string& format, const std::vector<std::string>& args) {
  std::string out;
  out.reserve(format.size());
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        if (next < args.size()) out += args[next];
        ++next;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

void ShowAbort(const std::string& message) {
  ShowWarning(message);
  throw EAbort();
}

void ShowAbortFmt(const std::string& format, const std::vector<std::string>& args) {
  ShowAbort(FormatText(format, args));
}

void ShowAbortKey(const std::string& key, const std::vector<std::string>& args) {
  ShowAbortFmt(TranslateKey(key), args);
}

bool OpenDocument(const std::string& target) {
  if (target.empty() || !OnOpenDocument) return false;
  return OnOpenDocument(target);
}

double FitScale(int width, int height, int areaWidth, int areaHeight) {
  if (width == 0 || height == 0) return 1.0;
  return std::min(double(areaWidth) / width, double(areaHeight) / height);
}

void FitSize(int width, int height, int& areaWidth, int& areaHeight) {
  const double scale = FitScale(width, height, areaWidth, areaHeight);
  // nearbyint rounds ties to even in the default rounding mode.
  areaWidth = int(std::nearbyint(width * scale));
  areaHeight = int(std::nearbyint(height * scale));
}

void SetScrollBarSizes(int horizontalHeight, int verticalWidth) {
  GHorzScrollBarHeight = std::max(0, horizontalHeight);
  GVertScrollBarWidth = std::max(0, verticalWidth);
}

int HorzScrollBarHeight() { return GHorzScrollBarHeight; }
int VertScrollBarWidth() { return GVertScrollBarWidth; }

bool AdjustForScrollBars(int contentWidth, int contentHeight, int& areaWidth, int& areaHeight) {
  bool fits = true;
  bool horizontal = false;
  if (areaWidth < contentWidth) {
    areaHeight -= GHorzScrollBarHeight;
    horizontal = true;
    fits = false;
  }
  if (areaHeight >= contentHeight) return fits;
  areaWidth -= GVertScrollBarWidth;
  if (!horizontal && areaWidth < contentWidth) areaHeight -= GHorzScrollBarHeight;
  return false;
}

}  // namespace tw
