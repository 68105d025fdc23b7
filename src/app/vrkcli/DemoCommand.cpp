// vrkcli demo BASE: a record collection of two hundred made-up albums to try the program on, with
// key fields (Artist, Title, Year, Genre), sum fields (Tracks, Price, Copies) and a computed sum
// field (Value = Price × Copies). The catalog becomes the current one in the program directory's
// VRK.INI.
#include <array>
#include <cstdint>
#include <filesystem>
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "index/Rebuild.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/Editing.h"
#include "shell/Settings.h"
#include "shell/Startup.h"

namespace vrk::cli {
namespace {

constexpr int kDemoEntries = 200;

enum DemoField {
  kArtist,
  kTitle,
  kLabel,
  kYear,
  kGenre,
  kFormat,
  kTracks,
  kCondition,
  kPrice,
  kCopies,
  kValue,
  kNotes
};

CatalogLayout DemoLayout() {
  CatalogLayout layout;
  const auto field = [&](DemoField at, const char* name, short length, short type) {
    layout.fields[at] = {PadFieldName(name), type};
    layout.lengths[at] = length;
  };
  field(kArtist, "Artist", 28, kKeyField);
  field(kTitle, "Title", 32, kKeyField);
  field(kLabel, "Label", 18, kPlainField);
  field(kYear, "Year", 4, kKeyField);
  field(kGenre, "Genre", 12, kKeyField);
  field(kFormat, "Format", 8, kPlainField);
  field(kTracks, "Tracks", 3, kSumField);
  field(kCondition, "Condition", 10, kPlainField);
  field(kPrice, "Price", 8, kSumField);
  field(kCopies, "Copies", 3, kSumField);
  field(kValue, "Value", 10, kSumField);
  field(kNotes, "Notes", 40, kPlainField);
  layout.formulas[kValue] = ParseFormula("I*J");  // Price × Copies
  return layout;
}

// The made-up names, in UTF-8 as they are typed here.
const std::array<const char*, 40> kArtists = {"The Copper Lanterns",
                                              "Marta Velloso",
                                              "Northbound Static",
                                              "Elsie Brandt Quartet",
                                              "Hollow Pines",
                                              "Jonah Reyes",
                                              "The Salt Flats",
                                              "Ivory Canal",
                                              "Dusty Marlowe",
                                              "Quiet Harbour",
                                              "Rosa Lindqvist",
                                              "The Tin Orchard",
                                              "Kofi Mensah Band",
                                              "Amber Kestrel",
                                              "The Velvet Meridian",
                                              "Otto Varga",
                                              "Blue Heron Trio",
                                              "Lena Sørby",
                                              "Café Lumière",
                                              "Paper Moons",
                                              "The Midnight Ferry",
                                              "Hamish Doyle",
                                              "Saffron Road",
                                              "Clara Wendt",
                                              "The Lowland Drifters",
                                              "Yuki Tanabe",
                                              "Brass Lantern Ensemble",
                                              "Willow & Thorn",
                                              "The Granite Choir",
                                              "Félix Aubert",
                                              "Nightjar",
                                              "Ruth Okafor",
                                              "The Cinder Sisters",
                                              "Mateo Ibarra",
                                              "Harbour Town Stompers",
                                              "Greta Holm",
                                              "The Slow Rivers",
                                              "Iron Kettle",
                                              "Noor Haddad",
                                              "Señora Luna"};
const std::array<const char*, 15> kAdjectives = {"Harbour", "Silver", "Quiet",  "Northern", "Broken",
                                                 "Golden",  "Late",   "Paper",  "Winter",   "Crimson",
                                                 "Distant", "Open",   "Summer", "Electric", "Hidden"};
const std::array<const char*, 14> kNouns = {"Lights",   "Rivers", "Rooms",   "Roads",    "Letters",
                                            "Gardens",  "Skies",  "Bridges", "Stations", "Mornings",
                                            "Horizons", "Tides",  "Songs",   "Echoes"};
const std::array<const char*, 10> kGenres = {"Jazz", "Folk",    "Rock",       "Blues",  "Classical",
                                             "Soul", "Country", "Electronic", "Reggae", "Pop"};
const std::array<const char*, 8> kLabels = {"Bluestone",   "Fenwick Records", "Harrow & Lane", "Kestrel Sound",
                                            "Moor Street", "Oakmere",         "Pelican Discs", "Silver Birch"};
const std::array<const char*, 4> kFormats = {"LP", "CD", "7-inch", "Cassette"};
const std::array<const char*, 5> kConditions = {"Mint", "Near Mint", "Very Good", "Good", "Fair"};
const std::array<const char*, 8> kNoteTexts = {"", "Gatefold sleeve",       "", "Signed on the sleeve",
                                               "", "Original inner sleeve", "", "Promotional copy"};

// A fixed sequence of numbers, so that every demo catalog is the same.
class Sequence {
 public:
  std::uint32_t Next(std::uint32_t below) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % below;
  }

 private:
  std::uint32_t state_ = 20240901u;
};

template <std::size_t N>
const char* Pick(const std::array<const char*, N>& names, Sequence& sequence) {
  return names[sequence.Next(N)];
}

// The texts of demo entry i (from 0), by field.
std::array<std::string, kFieldCount> DemoEntry(int i, Sequence& sequence) {
  std::array<std::string, kFieldCount> texts;
  const int pair = (i * 37) % static_cast<int>(kAdjectives.size() * kNouns.size());  // every title differs
  std::string title = std::string(kAdjectives[static_cast<std::size_t>(pair) / kNouns.size()]) + " " +
                      kNouns[static_cast<std::size_t>(pair) % kNouns.size()];
  if (sequence.Next(6) == 0) title += " (Live)";
  const int cents = 250 + static_cast<int>(sequence.Next(170)) * 25;
  texts[kArtist] = kArtists[static_cast<std::size_t>(i) % kArtists.size()];
  texts[kTitle] = title;
  texts[kLabel] = Pick(kLabels, sequence);
  texts[kYear] = std::to_string(1955 + sequence.Next(61));
  texts[kGenre] = Pick(kGenres, sequence);
  texts[kFormat] = Pick(kFormats, sequence);
  texts[kTracks] = std::to_string(6 + sequence.Next(13));
  texts[kCondition] = Pick(kConditions, sequence);
  texts[kPrice] = std::to_string(cents / 100) + "." + (cents % 100 < 10 ? "0" : "") + std::to_string(cents % 100);
  texts[kCopies] = std::to_string(1 + sequence.Next(3));
  texts[kNotes] = Pick(kNoteTexts, sequence);
  for (std::string& text : texts) text = Ansi(text);
  return texts;
}

}  // namespace

int CommandDemo(const Args& args) {
  if (args.size() != 1) return BadInput("usage: vrkcli demo BASE");
  std::string directory, name;
  if (!SplitBase(args[0], directory, name)) return BadInput("not a catalog base path: " + args[0]);
  if (FileExists(directory + "/" + name + ".DAT")) return BadInput("Catalog already exists. NEW Aborted.");
  Session session;
  Program& program = session.program;
  SetProgramDirectory(program, ProgramDirectory(""));
  if (!CreateNewCatalog(program, directory, name, DemoLayout()) ||
      !UseCatalog(program, directory, name, CatalogAccess::kChange)) {
    return kFailed;
  }
  // Each entry goes through the screen into its record as a typed entry would; the keys are filed
  // once at the end by the rebuild.
  Sequence sequence;
  for (int i = 0; i < kDemoEntries; ++i) {
    const auto texts = DemoEntry(i, sequence);
    for (int field = 0; field < kFieldCount; ++field)
      session.screen.SetBoxText(field, texts[static_cast<std::size_t>(field)]);
    EntryRecord record = BlankEntry(program.header);
    CopyScreenToRecord(program, record);
    record.Status = kStatusActive;
    if (!WriteEntry(program, record, program.header, i + 1, program.entryFile)) return kFailed;
  }
  program.header.EntryCount = kDemoEntries;
  if (!WriteHeader(program, program.entryFile, program.header)) return kFailed;
  const bool indexed = ReIndex(program);
  if (!CloseCurrentCatalog(program) || !indexed) return kFailed;
  std::error_code ec;
  const bool inProgramDirectory =
      std::filesystem::equivalent(NativePath(directory), NativePath(program.programDirectory), ec);
  if (!WriteCurrentCatalog(program, inProgramDirectory ? name : directory + "/" + name)) return kFailed;
  std::cout << kDemoEntries << " entries in " << args[0] << '\n';
  return 0;
}

}  // namespace vrk::cli
