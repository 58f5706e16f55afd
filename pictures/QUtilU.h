// The program's shared helpers for reporting a problem and stopping the
// current operation, the replaceable hooks the Qt layer fills in (warning
// box, key lookup, opening a document, scroll bar sizes), and fitting sizes.
// Folder helpers are in QFoldersU.h.
//
// The built-in artwork loaders (LoadJpegResource, LoadPngResource) belong
// with the artwork resources and are added there; they are not declared here.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace tw {

// The silent abort: ends the current operation after its problem has already
// been shown. Whoever runs the event loop catches it and shows nothing more.
// Deliberately not an EError, so a catch of EError never swallows it.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

using TWarningFunc = std::function<void(const std::string& message)>;
using TTranslateFunc = std::function<std::string(const std::string& key)>;
using TOpenDocumentFunc = std::function<bool(const std::string& target)>;

// Shows a warning box with one OK button. Set by InstallPlatformHooks; tests
// set it to record messages. While unset, ShowWarning writes to stderr.
inline TWarningFunc OnShowWarning;
// The key to text lookup of the interface language; set by the main window.
inline TTranslateFunc OnTranslate;
// Opens a file or web address with its default handler.
inline TOpenDocumentFunc OnOpenDocument;

void ShowWarning(const std::string& message);

// OnTranslate(key) when set, else the key itself.
std::string TranslateKey(const std::string& key);

// Fills "%s" placeholders, in order, with args; "%%" gives "%". A
// placeholder without an argument becomes empty, arguments without a
// placeholder are ignored, and any other "%" sequence stays as written, so
// no format can read beyond its arguments.
std::string FormatText(const std::string& format, const std::vector<std::string>& args);

// Show the message in the warning box, then throw EAbort.
[[noreturn]] void ShowAbort(const std::string& message);
[[noreturn]] void ShowAbortFmt(const std::string& format, const std::vector<std::string>& args);
[[noreturn]] void ShowAbortKey(const std::string& key, const std::vector<std::string>& args);

// Through OnOpenDocument; false when the target is empty, no hook is set or
// the platform refused.
bool OpenDocument(const std::string& target);

// The factor that fits width x height into the area keeping proportions: the
// smaller of areaWidth / width and areaHeight / height; 1 when width or
// height is 0.
double FitScale(int width, int height, int areaWidth, int areaHeight);
// Replaces the area by width and height times FitScale, each rounded to the
// nearest integer with ties to even.
void FitSize(int width, int height, int& areaWidth, int& areaHeight);

// The platform's horizontal scroll bar height and vertical scroll bar width.
// The Qt layer sets them from its style; until then 16 pixels each.
void SetScrollBarSizes(int horizontalHeight, int verticalWidth);
int HorzScrollBarHeight();
int VertScrollBarWidth();

// Whether content fits the area without scroll bars; shrinks the area by the
// bars that will appear: a horizontal bar when the area is narrower than the
// content, a vertical bar when it is then lower than the content, and a
// horizontal bar after all when the vertical bar makes it too narrow.
bool AdjustForScrollBars(int contentWidth, int contentHeight, int& areaWidth, int& areaHeight);

}  // namespace tw
