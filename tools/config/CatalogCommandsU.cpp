#include "tools/config/CatalogCommandsU.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "painter/image/ImageFileU.h"
#include "pictures/CatalogEntryU.h"
#include "pictures/ColoringFolderU.h"
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
    const std::string file = CatalogEntryFile(entry, folder);
    if (!fs::is_regular_file(file, error))
      context.Console.Err << "Note: \"" << entry << "\" is not in \""
                          << (IsPagesEntry(entry) ? PagesFolder() : folder)
                          << "\"; the program drops it from the catalog when it gets there.\n";
  }
  return ExitOk;
}

// Checks one picture file for adding and copies it into the catalog folder.
// Returns the name to add, or empty (with the reason told) when it cannot be
// added. names holds the catalog's entries and the batch's earlier names.
std::string PrepareAdd(TConfigContext& context, const std::string& source,
                       const std::vector<std::string>& names, std::string& title) {
  TQCGraphic picture;
  try {
    const TWarningCounter warnings;
    picture.LoadFromFile(source);
    if (warnings.Count > 0 || picture.Image().Width() <= 0 || picture.Image().Height() <= 0) {
      context.Console.Err << "\"" << source << "\" has no usable picture; it was not added.\n";
      return {};
    }
  } catch (const EAbort&) {
    // The loader has said what is wrong through the warning hook.
    return {};
  } catch (const EError& error) {
    context.Console.Err << error.what() << " \"" << source << "\" was not added.\n";
    return {};
  }
  const std::string name = fs::path(source).filename().string();
  for (const std::string& entry : names) {
    if (SameTextAscii(entry, name)) {
      context.Console.Err << "\"" << entry << "\" is in the catalog already; \"" << source
                          << "\" was not added.\n";
      return {};
    }
  }
  const std::string target = CatalogFolder(context.Store) + name;
  std::error_code error;
  if (fs::exists(target, error)) {
    if (!SameContents(source, target)) {
      context.Console.Err << "A different file \"" << target
                          << "\" is in the catalog folder already; rename the picture or move "
                             "that file away. \"" << source << "\" was not added.\n";
      return {};
    }
  } else {
    WriteFileAtomically(target, ReadWholeFile(source));
  }
  title = picture.GetTitle(TQCSetting(context.Store).ReadLanguage());
  return name;
}

// Adds the picture files at the end of the catalog, in the order given. The
// list is read and written once however many there are: with thousands of
// entries each write takes a while. A file that cannot be added is reported
// and the others are added all the same.
int AddToCatalog(TConfigContext& context, const std::vector<std::string>& sources) {
  TQCSetting settings(context.Store);
  std::vector<std::string> list;
  settings.ReadCatalog(list);
  const size_t before = list.size();
  for (const std::string& source : sources) {
    std::string title;
    const std::string name = PrepareAdd(context, source, list, title);
    if (name.empty()) continue;
    list.push_back(name);
    context.Console.Out << "Added \"" << name << "\"" << (title.empty() ? "" : " (" + title + ")")
                        << " as picture " << list.size() << " of the catalog.\n";
  }
  if (list.size() > before) settings.WriteCatalog(list);
  const size_t refused = sources.size() - (list.size() - before);
  if (refused == 0) return ExitOk;
  if (sources.size() > 1)
    context.Console.Err << refused << " of " << sources.size() << " files were not added"
                        << (list.size() > before ? "; the others were." : ".") << "\n";
  else if (list.size() == before)
    context.Console.Err << "Nothing was changed.\n";
  return ExitFailure;
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
  const std::string file = CatalogEntryFile(name, CatalogFolder(context.Store));
  if (!IsPagesEntry(name)) {
    context.Console.Out << "Removed \"" << name << "\" from the catalog; its file \"" << file
                        << "\" stays.\n";
  } else {
    // A page was made by the program from a parent's image, which stays
    // where it was; the page and its kept colouring would only take room,
    // and a later page of the same name must not find the old colouring.
    std::error_code error;
    const std::string stem = ColoringFolder() + ColoringFileStem(name);
    for (const std::string& colouring : {stem + ColoringColorSuffix, stem + ColoringOutlineSuffix})
      fs::remove(colouring, error);
    if (fs::remove(file, error) || !error)
      context.Console.Out << "Removed \"" << name << "\" from the catalog and deleted its page \""
                          << file << "\" with its colouring.\n";
    else
      context.Console.Err << "Removed \"" << name << "\" from the catalog; its page \"" << file
                          << "\" could not be deleted: " << error.message() << ".\n";
  }
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
  if (action == "add" && line.Words.size() >= 2)
    return AddToCatalog(context, {line.Words.begin() + 1, line.Words.end()});
  if (action == "remove" && line.Words.size() == 2) return RemoveFromCatalog(context, line.Words[1]);
  throw EUsage("catalog takes list, add FILE.twf... or remove NAME.");
}

}  // namespace tw
