// elkcat: the viewer's core on the command line, for scripts, tests and
// benchmarks. Subcommands and their output formats are a stable contract.

#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "config/TLocale.h"
#include "config/TViewerError.h"

#include <cstdio>
#include <iostream>

#ifndef ELK_VERSION
#define ELK_VERSION "0"
#endif

namespace {

// Subcommands on the catalog file and the settings.
std::vector<TElkcatCommand> CatalogCommands() {
  return {
    {"dump", "print a catalog as JSON", "elkcat dump CATALOG",
     "Prints the catalog as one JSON object: \"owner\", \"header\" (the three header texts)\n"
     "and \"movies\", one object per movie in file order with its \"handle\", every field\n"
     "under its own name and \"PictureSize\" (bytes of the embedded picture, 0 when none).\n"
     "Texts are converted from Windows-1252 to UTF-8. A catalog that cannot be loaded\n"
     "prints the error on standard error and exits with status 1.\n",
     RunDump},
    {"stats", "print the collection's statistics as JSON", "elkcat stats CATALOG [--dir DIR]",
     "Prints the figures of the viewer's statistics page as one JSON object: \"movies\",\n"
     "\"withLength\", \"totalMinutes\", \"averageMinutes\" (over the movies with a length),\n"
     "\"withCover\", \"withVideo\" (a path in the field named by VideoPathField of\n"
     "DIR/Config.ini; default: the folder of this program) and \"charts\": \"decades\",\n"
     "\"years\", \"categories\", \"ratings\" (whole points), \"mediaTypes\", \"countries\",\n"
     "\"directors\" and \"actors\" (the 15 most frequent) and \"added\" (year of Date), each\n"
     "a list of {\"label\", \"count\"} in the page's order.\n",
     RunStats},
    {"export", "write the movies as CSV or JSON",
     "elkcat export CATALOG --format csv|json [--fields F1,F2,...] [--out FILE] [--bom]",
     "Writes one record per movie to FILE (default: standard output). CSV follows RFC 4180\n"
     "in UTF-8 (--bom starts it with a byte-order mark, as spreadsheets want): a header\n"
     "row of field names, CR LF line ends, numbers as the catalog holds them (-1 for\n"
     "none, ratings in tenths), Date as YYYY-MM-DD, Checked as true or false. JSON is a\n"
     "list of dump's movie objects. --fields names record fields in the order wanted;\n"
     "by default every one: Number, Media, MediaType, Source, Date, Borrower, Rating,\n"
     "OriginalTitle, TranslatedTitle, Director, Producer, Country, Category, Year,\n"
     "Length, Actors, URL, Description, Comments, VideoFormat, VideoBitrate, AudioFormat,\n"
     "AudioBitrate, Resolution, Framerate, Languages, Subtitles, Size, Disks, Checked,\n"
     "PictureName (and, for JSON, handle and PictureSize).\n",
     RunExport},
    {"sample", "write a made-up catalog",
     "elkcat sample OUT --version 35|33|31 --movies N [--seed S] [--pictures embedded|linked|none|mixed]\n"
     "                  [--cover-size WxH] [--jpeg-only]",
     "Writes a catalog of N invented movies in the given version to OUT. Pictures are\n"
     "drawn here and embedded, or written beside the catalog under covers/ and linked as\n"
     "covers\\mN.ext (mixed also links some by absolute path and leaves some without).\n"
     "--cover-size sets the cover size (default 200x300); --jpeg-only makes every picture\n"
     "a JPEG instead of alternating JPEG, PNG, GIF and BMP. The same seed gives the same file.\n",
     RunSample},
    {"settings", "print the settings as JSON", "elkcat settings [--dir DIR] [--resave]",
     "Loads \"Config.ini\" from DIR (default: the folder of this program) and prints the\n"
     "settings as one JSON object: every key of section Config (without the password;\n"
     "\"PasswordSet\" tells whether one is set), \"Template\", \"ListTemplate\" and \"UserVars\".\n"
     "Defaults that depend on the screen assume 1024x768. With --resave the settings are\n"
     "then written back to DIR; a refused write prints the error and exits with status 1.\n",
     RunSettings},
  };
}

// Subcommands that answer as the viewer's pages and side bar do.
std::vector<TElkcatCommand> PageCommands() {
  return {
    {"page", "render a page address", "elkcat page CATALOG ADDRESS [--dir DIR]",
     "Writes the page for ADDRESS (for example movie[3].html) to standard output,\n"
     "byte for byte as the viewer renders it, with the settings, colour scheme and\n"
     "language of DIR (default: the folder of this program).\n",
     RunPage},
    {"get", "answer movie URLs", "elkcat get CATALOG [--dir DIR] --out OUTDIR URL...",
     "Answers the URLs in order with one handler and one picture store, as the viewer\n"
     "would (so a page's pictures can be asked for after the page). The bytes of the\n"
     "i-th answer go to OUTDIR/i; one line per URL is printed:\n"
     "  ok BYTES CONTENT-TYPE URL    or    not-found URL\n",
     RunGet},
    {"sidebar", "print the side bar", "elkcat sidebar CATALOG [--group N] [--order M] [--group-desc] [--order-desc] [--title-type T]",
     "Prints the side bar as the viewer builds it: the caption line, then \"## CAPTION\"\n"
     "for each section and, for each item, two spaces, the item text, a TAB and the\n"
     "handle list the viewer shows for it. N and M are field codes (group 0..25, order\n"
     "1..25); the defaults are those of a missing Config.ini (no grouping, order by\n"
     "number, ascending, original titles).\n",
     RunSideBar},
    {"search", "print the address of a search", "elkcat search CATALOG [--field K] [--title-type T] TEXT",
     "Prints the address the search for TEXT navigates to. K is the index of the\n"
     "search field: 0 Title (default), 1 Actors, 2 Director, 3 Producer, 4 Description,\n"
     "5 Comments, 6 Original Title, 7 Translated Title. Nothing is printed for an\n"
     "empty TEXT.\n",
     RunSearch},
    {"filter", "print the movies the filter keeps", "elkcat filter CATALOG WORDS... [--json]",
     "Prints the movies the viewer's filter keeps for WORDS: those whose text fields\n"
     "(titles, people, category, country, media, description, comments and the others)\n"
     "and year hold every word, in any order and any field, ignoring case and accents\n"
     "(e matches \u00e9, ss matches \u00df, ae matches \u00e6). One line per movie in catalog\n"
     "order: its handle, a TAB and its title; with --json a list of {\"handle\", \"title\"}.\n",
     RunFilter},
    {"paths", "count the linked files that exist here", "elkcat paths CATALOG [--dir DIR]",
     "Prints as JSON how many of the catalog's linked pictures and video paths (the\n"
     "field named by VideoPathField) name a file that exists here, as stored and with\n"
     "the path rules of section PathMap of DIR/Config.ini (default: the folder of this\n"
     "program): \"linkedPictures\", \"picturesFound\", \"picturesFoundWithRules\",\n"
     "\"videoPaths\", \"videosFound\", \"videosFoundWithRules\" and \"videoAddresses\"\n"
     "(video paths that are web addresses, not counted as files).\n",
     RunPaths},
    {"site", "write the catalog as a static web site",
     "elkcat site CATALOG OUTDIR [--dir DIR] [--group N] [--order M] [--covers]",
     "Writes the collection to OUTDIR as plain files with relative links: index.html (the\n"
     "side bar's sections and items as links, or with --covers movies as a grid of their\n"
     "covers), statistics.html (the viewer's statistics page, its bars without links),\n"
     "movie-N.html for the N-th movie of the file,\n"
     "name-S-I.html for each name when grouped by people, the pictures and rating images\n"
     "in pictures/, and the files of DIR that pages name. Pages use the templates, user\n"
     "variables, colour scheme and language of DIR (default: the folder of this program)\n"
     "and are written as UTF-8, each with a <title> and (but the index) a link back to the\n"
     "index. N and M are field codes as for sidebar; the defaults are\n"
     "those of DIR's settings. The same input gives the same bytes. Big catalogs report\n"
     "their progress on standard error.\n",
     RunSite},
  };
}

}  // namespace

const std::vector<TElkcatCommand>& ElkcatCommands() {
  static const std::vector<TElkcatCommand> commands = [] {
    std::vector<TElkcatCommand> all = CatalogCommands();
    for (TElkcatCommand& command : PageCommands()) all.push_back(std::move(command));
    return all;
  }();
  return commands;
}

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: elkcat SUBCOMMAND [ARGUMENTS]\n"
         "       elkcat SUBCOMMAND --help\n"
         "       elkcat --help | --version\n\nsubcommands:\n";
  for (const TElkcatCommand& command : ElkcatCommands()) {
    std::string name = command.Name;
    out << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') << command.Summary << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetCurrentLocale(MakeSystemLocale());
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::cerr << "elkcat: missing subcommand\n";
    PrintUsage(std::cerr);
    return 2;
  }
  if (words[0] == "--help" || words[0] == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  if (words[0] == "--version") {
    std::cout << "elkcat " << ELK_VERSION << "\n";
    return 0;
  }
  for (const TElkcatCommand& command : ElkcatCommands()) {
    if (words[0] != command.Name) continue;
    std::vector<std::string> rest(words.begin() + 1, words.end());
    for (const std::string& word : rest) {
      if (word == "--help" || word == "-h") {
        std::cout << "usage: " << command.Usage << "\n\n" << command.Help;
        return 0;
      }
    }
    try {
      return command.Run(rest);
    } catch (const TUsageError& error) {
      std::cerr << "elkcat " << command.Name << ": " << error.what() << "\n";
      std::cerr << "usage: " << command.Usage << "\n";
      return 2;
    } catch (const TViewerError& error) {
      // The program's own errors are whole sentences naming their file.
      std::cerr << error.what() << "\n";
      return 1;
    } catch (const std::exception& error) {
      std::cerr << "elkcat " << command.Name << ": " << error.what() << "\n";
      return 1;
    }
  }
  std::cerr << "elkcat: unknown subcommand '" << words[0] << "'\n";
  PrintUsage(std::cerr);
  return 2;
}
