#include "shell/DemoCatalog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "catalog/Files.h"
#include "catalog/Layout.h"
#include "catalog/NewCatalog.h"
#include "index/Rebuild.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "report/ReportDesigner.h"
#include "report/ReportMaintenance.h"
#include "shell/DemoMedia.h"
#include "shell/PictureSound.h"
#include "shell/Settings.h"
#include "shell/Startup.h"

namespace vrk {
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
  layout.lengths[kMediaField] = kRoomyField21;    // room for a picture and a sound
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
  for (std::string& text : texts) text = AnsiFromUtf8(text);
  return texts;
}

// The demo's report format, one line an entry, so that its lists can be printed at once: where each
// field goes and how wide it is.
struct ReportColumn {
  DemoField field;
  int col;
  short width;
};
constexpr ReportColumn kDemoReport[] = {
    {kArtist, 1, 24}, {kTitle, 26, 28}, {kYear, 55, 4}, {kGenre, 60, 10}, {kPrice, 71, 8}};

// Makes the report format NAME in the program directory, unless one of that name is there, and makes
// it the open catalog's.
bool UseDemoReportFormat(Program& program, const std::string& name) {
  if (!FileExists(ReportFormatPath(program.programDirectory, name))) {
    ReportFormat format;
    InitNewReportFormat(program, format);
    ReportDesigner designer(program.ui, program, format, name);
    for (const ReportColumn& column : kDemoReport) {
      ChooseItem(designer, column.field);
      format.items[column.field].Width = column.width;
      if (!PlaceItem(designer, {1, column.col})) return false;
    }
    if (!WriteReportFormat(program, name, format)) return false;
  }
  ReportFormat selected;
  return SelectReportFormat(program, program.report, name, selected);
}

// Writes the demo's sleeves and chime into media/ beside the catalog and gives back field 21's text
// of the first entries: a sleeve for each of the first kDemoCovers, the chime for the first and the
// one after the sleeves. The paths are absolute, so that they are found from any working directory;
// an entry keeps of them what field 21 can hold. False after the message of a file not written.
bool WriteDemoMedia(Program& program, const std::string& directory, std::vector<std::string>& field21) {
  const std::string folder = sys::AbsolutePath(NativePath(directory)) + "/media";
  const auto write = [&](const std::string& file, const std::string& bytes) {
    int error = sys::MakeDirectory(program.fileSystem, folder);
    if (error == EEXIST) error = 0;
    if (error == 0) error = sys::WriteWholeFile(program.fileSystem, folder + "/" + file, bytes);
    if (error != 0) ReportFileError(program.ui, FileFailureFromErrno(error, folder + "/" + file));
    return error == 0;
  };
  const std::string chime = folder + "/chime.wav";
  if (!write("chime.wav", DemoChimeWave())) return false;
  for (int i = 0; i <= kDemoCovers; ++i) {
    const std::string name = "cover" + std::to_string(i + 1) + ".bmp";
    if (i < kDemoCovers && !write(name, DemoCoverBitmap(i))) return false;
    const std::string picture = i < kDemoCovers ? folder + "/" + name : std::string();
    const std::string sound = i == 0 || i == kDemoCovers ? chime : std::string();
    Field21Result text = Field21Text(sound, picture, kRoomyField21);
    if (!text.refusal.empty()) text = Field21Text({}, picture, kRoomyField21);
    field21.push_back(text.text);
  }
  return true;
}

}  // namespace

bool MakeDemoCatalog(Program& program, const std::string& directory, const std::string& name) {
  std::vector<std::string> media;
  if (!WriteDemoMedia(program, directory, media)) return false;
  NewCatalog catalog = StartNewCatalog(program, directory, name, DemoLayout());
  if (catalog.file == 0) return false;
  Sequence sequence;
  EntryRecord record;
  record.Status = kStatusActive;
  bool written = true;
  for (int i = 0; i < kDemoEntries && written; ++i) {
    const auto texts = DemoEntry(i, sequence);  // the computed field's text is blank
    std::copy(texts.begin(), texts.end(), record.Field.begin());
    record.Field[kMediaField] = static_cast<std::size_t>(i) < media.size() ? media[static_cast<std::size_t>(i)] : "";
    written = AppendNewEntry(program, catalog, record);
  }
  // The keys are filed once, by the rebuild, before the catalog is opened with its report format.
  if (!PlaceNewCatalog(program, catalog, FinishNewCatalog(program, catalog) && written) ||
      !ReIndexCatalog(program, directory, name) || !UseCatalog(program, directory, name, CatalogAccess::kChange)) {
    return false;
  }
  const bool formatted = UseDemoReportFormat(program, name);
  if (!CloseCurrentCatalog(program) || !formatted) return false;
  sys::FileId catalogDirectory, programDirectory;
  const bool inProgramDirectory = sys::IdOfPath(NativePath(directory), catalogDirectory) == 0 &&
                                  sys::IdOfPath(NativePath(program.programDirectory), programDirectory) == 0 &&
                                  catalogDirectory == programDirectory;
  return WriteCurrentCatalog(program, inProgramDirectory ? name : directory + "/" + name);
}

void PrepareUserDataFolder(Program& program, bool userDataFolder) {
  if (userDataFolder && !FileExists(program.iniPath)) {
    (void)MakeDemoCatalog(program, program.programDirectory, kDemoCatalogName);  // a failure has had its message
  }
}

}  // namespace vrk
