// Command dispatch, help texts and error reporting of the picture tool.
#include "tools/picture/PictureToolU.h"

#include <new>
#include <utility>

#include "pictures/QUtilU.h"
#include "tools/common/ToolHooksU.h"
#include "tools/picture/PictureCommandsU.h"
#include "tools/picture/PictureToolArgsU.h"

namespace tw {

namespace {

constexpr const char* GeneralHelp =
    R"(Usage: tintwell-picture COMMAND [OPTIONS]

Makes and inspects picture files (.twf), the colouring pages of the catalog.

Commands:
  pack IMAGE -o OUT.twf [texts]   pack an image and its texts into a picture file
  info FILE.twf                   show a picture file's version, size and texts
  extract FILE.twf -o OUT.gif     write a picture file's image as GIF, BMP or JPEG
  help [COMMAND]                  show this help or the help of a command

Run "tintwell-picture COMMAND --help" for the options of a command.
)";

constexpr const char* PackHelp =
    R"(Usage: tintwell-picture pack IMAGE -o OUT.twf [OPTIONS]

Packs IMAGE (GIF, PNG, JPEG or BMP) into the picture file OUT.twf with one
entry of texts per language. Languages are entered in the order they are
first named; a language without a title, author or description gets an
empty one. Texts are stored as UTF-8.

Options:
  -o, --output OUT.twf      the picture file to write (replaced if it exists)
  --title LANG=TEXT         the picture's title in language LANG (e.g. en_us)
  --author LANG=TEXT        its author in language LANG
  --description LANG=TEXT   its description in language LANG
  --lineart                 turn the image into a colouring page of clean
                            black lines on white (the default for PNG, JPEG
                            and BMP images): the outlines of its colour
                            regions and its own thin dark lines are traced at
                            about 1200 pixels on the long side, so cartoons
                            and photos give closed shapes to fill
  --no-lineart              store the image's colours as they are (the
                            default for GIF images); a warning tells when the
                            image is not pure black and white
  --threshold N             with --lineart: threshold the brightness at the
                            image's own size instead of tracing outlines;
                            pixels darker than N (1-255) become black
  --speck-size N            with --lineart: black specks of fewer than N
                            pixels become white (default 24, 0 keeps all;
                            tracing removes somewhat larger ones too)
  --hole-size N             with --lineart: white holes of fewer than N
                            pixels become black (default 150, 0 keeps all;
                            tracing fills at least those of 150 pixels)
  --max-size N              scale an image whose long side is larger than N
                            pixels down to N (default 2400; 0 keeps any size);
                            line art keeps every line, colours are averaged
  -h, --help                show this help

Example:
  tintwell-picture pack cat.png -o cat.twf --title en_us=Cat \
      --author en_us=Ann --title de_de=Katze --author de_de=Ann
)";

constexpr const char* InfoHelp =
    R"(Usage: tintwell-picture info FILE.twf

Shows the picture file's format version, the picture size stored in the file
and the size of its decoded image, and every entry: language, title, author
and description. Exits with status 1 when the file or its image is damaged.
)";

constexpr const char* ExtractHelp =
    R"(Usage: tintwell-picture extract FILE.twf -o OUT

Writes the picture file's image to OUT, a GIF (.gif), Windows bitmap (.bmp)
or JPEG (.jpg, .jpeg) file chosen by its extension. An existing OUT is
replaced.

Options:
  -o, --output OUT   the image file to write
  -h, --help         show this help
)";

const char* CommandHelp(const std::string& command) {
  if (command == "pack") return PackHelp;
  if (command == "info") return InfoHelp;
  if (command == "extract") return ExtractHelp;
  return nullptr;
}

int RunCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  if (command == "pack") {
    const TPackOptions options = ParsePackArgs(args);
    if (options.Help) {
      out << PackHelp;
      return ExitOk;
    }
    RunPack(options, out, err);
    return ExitOk;
  }
  if (command == "info") {
    const TInfoOptions options = ParseInfoArgs(args);
    if (options.Help) {
      out << InfoHelp;
      return ExitOk;
    }
    return RunInfo(options, out);
  }
  if (command == "extract") {
    const TExtractOptions options = ParseExtractArgs(args);
    if (options.Help) {
      out << ExtractHelp;
      return ExitOk;
    }
    RunExtract(options, out);
    return ExitOk;
  }
  if (command == "help") {
    if (args.empty()) {
      out << GeneralHelp;
      return ExitOk;
    }
    const char* help = args.size() == 1 ? CommandHelp(args[0]) : nullptr;
    if (help == nullptr) throw EUsage("help takes one command name: pack, info or extract.");
    out << help;
    return ExitOk;
  }
  if (command == "--help" || command == "-h") {
    out << GeneralHelp;
    return ExitOk;
  }
  throw EUsage("Unknown command \"" + command + "\"; the commands are pack, info and extract.");
}

}  // namespace

int RunPictureTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << GeneralHelp;
    return ExitUsage;
  }
  const std::string& command = args[0];
  const THookScope hooks(err, PictureToolName);
  try {
    return RunCommand(command, {args.begin() + 1, args.end()}, out, err);
  } catch (const EUsage& e) {
    err << PictureToolName << ": " << e.what() << "\n";
    const bool known = CommandHelp(command) != nullptr;
    err << "Run \"" << PictureToolName << (known ? " " + command : std::string())
        << " --help\" for help.\n";
    return ExitUsage;
  } catch (const EAbort&) {
    // The loader has shown its message through the warning hook already.
    return ExitFailure;
  } catch (const std::bad_alloc&) {
    err << PictureToolName << ": not enough memory.\n";
    return ExitFailure;
  } catch (const std::exception& e) {
    err << PictureToolName << ": " << e.what() << "\n";
    return ExitFailure;
  }
}

}  // namespace tw
