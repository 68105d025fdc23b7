// What the desktop program vrk and the backup program vrkback say about themselves.
#include "app/help/ProgramHelp.h"

namespace vrk::help {
namespace {

const Item kVrkHome = {"VRK_HOME",
                       "The program directory, where VRK.INI, the report formats and the security code live. When it "
                       "is not set, the directory of the executable is taken when it may be written; otherwise "
                       "(an installed program) the user's data folder."};
const Item kDataHome = {"XDG_DATA_HOME",
                        "The user's data folder is $XDG_DATA_HOME/vrk, or ~/.local/share/vrk when it is not set."};
const Item kRuntime = {"XDG_RUNTIME_DIR",
                       "The folder of the socket a running vrk answers on, when it is the user's own (mode 0700); "
                       "otherwise vrk-UID in the temporary folder (TMPDIR, or /tmp), made only for the user."};

}  // namespace

const ProgramHelp& VrkHelp() {
  static const ProgramHelp help{
      .name = "vrk",
      .summary = "catalogues for every collection: books, records, stamps, tools",
      .synopsis = {"vrk [BASE]", "vrk --screenshot FILE [BASE]", "vrk --help | --version"},
      .description =
          {"vrk is a desktop program for people who catalogue collections of any kind. A catalog is a layout of "
           "up to twenty fixed-length fields; key fields are indexed for alphabetical order, sum fields are "
           "totalled, and computed fields are worked out from two others. The main window shows one entry at a "
           "time; its menus make, browse, search, list, print and sort entries, design report layouts, and "
           "move catalogs in and out of dBase III files. Help > Contents explains every command.",
           "The catalog that opens is the current catalog named in VRK.INI in the program directory. BASE opens "
           "another one as Select in Catalog Maintenance would, and makes it the current catalog: DIR/NAME, or "
           "its setup file NAME.SET or entry file NAME.DAT, as a file manager passes it.",
           "Only one vrk runs for each user, display and program directory: starting it again there brings the "
           "running window to the front and, given a BASE, has it select that catalog. A start that gets no "
           "answer from a running vrk of the same user opens a window of its own.",
           "The first time an installed vrk starts for a user, it makes the user's data folder and a demo record "
           "collection, RECORDS, in it."},
      .options = {{"BASE", "The catalog to open and make current."},
                  {"--screenshot FILE",
                   "Lays the main window out without a screen, shows the first entry, saves a picture of the "
                   "window as the PNG file FILE, and ends."},
                  {"--help", "Prints this help and ends."},
                  {"--version", "Prints the version and ends."}},
      .exitStatus = {{"0", "The program ended normally."},
                     {"1", "The picture of --screenshot could not be written."},
                     {"2", "Bad arguments."}},
      .environment = {kVrkHome, kDataHome, kRuntime},
      .files = {{"VRK.INI", "The program's settings, among them the current catalog, in the program directory."},
                {"NAME.SET, NAME.DAT, NAME.MEM, NAME.MCR, *.WDX",
                 "A catalog: its setup file, entry file, memos, text macros and key indexes."},
                {"NAME.FMT", "A report format, in the program directory."},
                {"VANTLOCK.SET",
                 "The security code, in the program directory: a guard against accidental use of the program, "
                 "not a protection of the catalog files."},
                {"VRKOPEN.WAV", "A sound played at start-up when it lies in the program directory."}},
      .examples = {{"vrk", "Starts the program on the current catalog."},
                   {"vrk ~/Music/RECORDS", "Opens the catalog RECORDS of ~/Music and makes it the current one."}},
      .seeAlso = {"vrkcli(1)", "vrkback(1)"}};
  return help;
}

const ProgramHelp& VrkbackHelp() {
  static const ProgramHelp help{
      .name = "vrkback",
      .summary = "back up a VRK catalog",
      .synopsis = {"vrkback [--no-media] BASE", "vrkback --help | --version"},
      .description = {"vrkback writes every file of the catalog BASE (DIR/NAME) - its entry, setup, memo, macro "
                      "and index files - into one compressed archive, backup/NAME-YYYYMMDD-HHMMSS.tar.gz beside "
                      "the catalog, and says where. Any tar restores it.",
                      "The pictures and sounds the entries name go into the archive too, under media/ with their "
                      "absolute paths (a relative path is taken from the working directory), and vrkback says how "
                      "many it kept. A picture or sound that is not there is counted and named; the backup still "
                      "succeeds.",
                      "The catalog is locked against changes while it is read, so that the archive holds it "
                      "whole; the archive appears under its name only once it is complete. The desktop "
                      "program's Backup command and vrkcli backup run vrkback."},
      .options = {{"--no-media", "Leaves the pictures and sounds out: only the catalog's own files are kept."},
                  {"--help", "Prints this help and ends."},
                  {"--version", "Prints the version and ends."}},
      .exitStatus = {{"0", "The archive was written."},
                     {"1", "A failure, reported on standard error."},
                     {"2", "Bad input: no catalog BASE."}},
      .examples = {{"vrkback ~/Music/RECORDS", "Writes ~/Music/backup/RECORDS-20261210-093000.tar.gz, say."}},
      .seeAlso = {"vrk(1)", "vrkcli(1)", "tar(1)"}};
  return help;
}

}  // namespace vrk::help
