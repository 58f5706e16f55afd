#include "tools/config/CatalogCommandsU.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "painter/image/ImageFileU.h"
#include "pictures/QCGraphicU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingsTextU.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EError("Cannot open \"" + fileName + "\".");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EError("Cannot read \"" + fileName + "\".");
  return bytes;
}

bool SameContents(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  return ReadWholeFile(a) == ReadWholeFile(b);
}

// Counts the warnings the picture loader shows while it runs, so a picture
// whose image is damaged is refused although the load itself completes.
class TWarningCounter {
 public:
  TWarningCounter() : FSaved(OnShowWarning) {
    OnShowWarning = [this](const std::string& message) {
      ++Count;
      if (FSaved) FSaved(message);
    };
  }
  ~TWarningCounter() { OnShowWarning = FSaved; }
  TWarningCounter(const TWarningCounter&) = delete;
  TWarningCounter& operator=(const TWarningCounter&) = delete;

  int Count = 0;

 private:
  TWarningFunc FSaved;
};

int ListCatalog(TConfigContext& context) {
  TQCSetting settings(context.Store);
  std::vector<std::string> list;
  settings.ReadCatalog(list);
  const std::string folder = CatalogFolder(context.Store);
  for (const std::string& entry : list) {
    context.Console.Out << entry << "\n";
    std::error_code error;
    if (!fs::is_regular_file(folder + NativePath(entry), error))
      context.Console.Err << "Note: \"" << entry << "\" is not in \"" << folder
                          << "\"; the program drops it from the catalog when it gets there.\n";
  }
  return ExitOk;
}

int AddToCatalog(TConfigContext& context, const std::string& source) {
  TQCGraphic picture;
  {
    const TWarningCounter warnings;
    picture.LoadFromFile(source);
    if (warnings.Count > 0 || picture.Image().Width() <= 0 || picture.Image().Height() <= 0) {
      context.Console.Err << "\"" << source << "\" has no usable picture; it was not added.\n";
      return ExitFailure;
    }
  }
  const std::string name = fs::path(source).filename().string();
  TQCSetting settings(context.Store);
  std::vector<std::string> list;
  settings.ReadCatalog(list);
  for (const std::string& entry : list) {
    if (SameTextAscii(entry, name)) {
      context.Console.Err << "\"" << entry << "\" is in the catalog already; nothing was changed.\n";
      return ExitFailure;
    }
  }
  const std::string target = CatalogFolder(context.Store) + name;
  std::error_code error;
  if (fs::exists(target, error)) {
    if (!SameContents(source, target)) {
      context.Console.Err << "A different file \"" << target
                          << "\" is in the catalog folder already; rename the picture or move "
                             "that file away. Nothing was changed.\n";
      return ExitFailure;
    }
  } else {
    WriteFileAtomically(target, ReadWholeFile(source));
  }
  list.push_back(name);
  settings.WriteCatalog(list);
  const std::string title = picture.GetTitle(settings.ReadLanguage());
  context.Console.Out << "Added \"" << name << "\"" << (title.empty() ? "" : " (" + title + ")")
                      << " as picture " << list.size() << " of the catalog.\n";
  return ExitOk;
}

int RemoveFromCatalog(TConfigContext& context, const std::string& name) {
  TQCSetting settings(context.Store);
  std::vector<std::string> list;
  settings.ReadCatalog(list);
  std::vector<std::string> kept;
  for (const std::string& entry : list)
    if (!SameTextAscii(entry, name)) kept.push_back(entry);
  if (kept.size() == list.size()) {
    context.Console.Err << "\"" << name << "\" is not in the catalog.\n";
    return ExitFailure;
  }
  settings.WriteCatalog(kept);
  context.Console.Out << "Removed \"" << name << "\" from the catalog; its file stays in \""
                      << CatalogFolder(context.Store) << "\".\n";
  if (kept.empty())
    context.Console.Err << "Note: the catalog is empty now; the program fills it from its "
                           "defaults again at its next start.\n";
  return ExitOk;
}

}  // namespace

std::string MainProgramFolder() {
  const std::string here = ProgramFolder();
  const std::string installed = here + "../lib/tintwell/";
  std::error_code error;
  if (fs::is_regular_file(installed + "tintwell", error))
    return fs::weakly_canonical(installed, error).string() + "/";
  return here;
}

std::string InstalledDefaultsFile() {
  const std::string file = MainProgramFolder() + "default/default.ini";
  std::error_code error;
  return fs::is_regular_file(file, error) ? file : std::string();
}

std::string CatalogFolder(TSetting& store) {
  std::string folder = store.ReadString("PathCatalog", DefaultPathCatalog, SectionMain);
  std::string program = MainProgramFolder();
  if (program.size() > 1 && program.back() == '/') program.pop_back();
  folder = ReplaceAllNoCase(folder, "[ProgramFolder]", program);
  return NativePath(ExpandFolderMacros(folder));
}

int RunCatalog(TConfigContext& context) {
  const TConfigCommandLine& line = context.Line;
  if (line.Kind != TValueKind::vkAuto || line.Yes)
    throw EUsage("catalog takes no --int, --string, --bool or --yes.");
  const std::string action = line.Words.empty() ? std::string() : line.Words[0];
  if (action == "list" && line.Words.size() == 1) return ListCatalog(context);
  if (action == "add" && line.Words.size() == 2) return AddToCatalog(context, line.Words[1]);
  if (action == "remove" && line.Words.size() == 2) return RemoveFromCatalog(context, line.Words[1]);
  throw EUsage("catalog takes list, add FILE.twf or remove NAME.");
}

}  // namespace tw
