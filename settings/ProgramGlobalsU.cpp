#include "settings/ProgramGlobalsU.h"

#include <memory>

#include "base/ErrorsU.h"

namespace tw {

namespace {

struct TGlobals {
  std::unique_ptr<TSetting> Store;
  std::unique_ptr<TQCSetting> Settings;
  std::unique_ptr<TLang> Language;
};

TGlobals& Globals() {
  static TGlobals globals;
  return globals;
}

[[noreturn]] void ThrowMissing() { throw EError("The program's settings have not been opened."); }

}  // namespace

void CreateProgramGlobals(const std::string& DatabasePath, const std::string& DefaultsFile,
                          const std::string& LangFolder) {
  FreeProgramGlobals();
  TGlobals& g = Globals();
  g.Store = std::make_unique<TSetting>(DatabasePath, ProductKey, DefaultsFile);
  g.Settings = std::make_unique<TQCSetting>(*g.Store);
  g.Language = std::make_unique<TLang>(LangFolder, "tintwell");
}

void FreeProgramGlobals() {
  TGlobals& g = Globals();
  g.Language.reset();
  g.Settings.reset();
  g.Store.reset();
}

bool ProgramGlobalsExist() { return Globals().Language != nullptr; }

TSetting& Setting() {
  if (!Globals().Store) ThrowMissing();
  return *Globals().Store;
}

TQCSetting& QCSetting() {
  if (!Globals().Settings) ThrowMissing();
  return *Globals().Settings;
}

TLang& Lang() {
  if (!Globals().Language) ThrowMissing();
  return *Globals().Language;
}

}  // namespace tw
