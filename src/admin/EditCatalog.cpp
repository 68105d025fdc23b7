#include "admin/EditCatalog.h"

#include <algorithm>
#include <vector>

#include "admin/Replacement.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "index/Rebuild.h"
#include "platform/CodePage.h"
#include "platform/LongOperation.h"

namespace vrk {
namespace {

constexpr std::size_t kSlotSize = 16;
constexpr std::size_t kFirstFormulaSlot = 47;

// The setup file as it is, with the layout's field and formula slots put in: the settings and
// whatever else it holds stay as they are.
bool NewSetupBytes(CatalogStore& store, const CatalogLayout& layout, std::string& bytes) {
  const std::string path = SetupFilePath(store.BasePath());
  const int file = OpenFile(store.ui, store.files, path, kReadOnly, 0, false);
  if (file == 0) return false;
  const std::int64_t size = store.files.Get(file)->Size();
  bytes.assign(static_cast<std::size_t>(std::max<std::int64_t>(size, kSetupFileLength)), '\0');
  const bool read = size >= 0 && ReadBlock(store, file, 0, bytes.data(), bytes.size()) >= 0;
  (void)store.files.Close(file);  // only read
  if (!read) return false;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    char* slot = bytes.data() + i * kSlotSize;
    const std::string name = CharToOem(PadFieldName(layout.fields[i].Name));
    std::memcpy(slot, name.data(), kFieldNameLength);
    PutShort(slot + kFieldNameLength, layout.fields[i].Type);
    char* formula = bytes.data() + (kFirstFormulaSlot - 1 + i) * kSlotSize;
    std::memset(formula, ' ', kSlotSize);
    const std::string text = FormulaText(layout.formulas[i]);
    std::memcpy(formula, text.data(), text.size());
  }
  PutShort(bytes.data() + (kFirstFormulaSlot - 1 + kFieldCount) * kSlotSize, 0);
  return true;
}

// Each entry's slot for the new lengths, written into the staged entry file under the same number.
bool RebuildEntries(CatalogStore& store, int staged, const CatalogHeader& to) {
  const CatalogHeader& from = store.header;
  const SlotLayout source(from), target(to);
  std::vector<char> slot(target.length);
  BufferedFile& file = *store.files.Get(staged);
  file.BeginBatch();
  bool ok = WriteHeader(store, staged, to) &&
            VisitSlots(store, store.entryFile, from, 1, from.Count(), false, [&](EntryNumber n, char* old) {
              std::fill(slot.begin(), slot.end(), '\0');
              std::memcpy(slot.data(), old, 4);  // status
              for (std::size_t i = 0; i < kFieldCount; ++i) {
                const auto length = static_cast<std::size_t>(to.FieldLength[i]);
                const auto kept = std::min(length, static_cast<std::size_t>(from.FieldLength[i]));
                std::memcpy(slot.data() + target.field[i], old + source.field[i], kept);
                std::memset(slot.data() + target.field[i] + kept, ' ', length - kept);
              }
              std::memcpy(slot.data() + target.links, old + source.links, 12);  // chain and memo number
              return WriteBlock(store, staged, static_cast<std::int64_t>(target.length) * n,
                                std::string_view(slot.data(), slot.size()));
            });
  ok = EndBlocks(store, staged, store.BasePath() + kStagedEntries) && ok;
  return ok;
}

bool KeyFieldsDiffer(const FieldTable& a, const FieldTable& b) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (IsKeyField(a[i]) != IsKeyField(b[i])) return true;
  }
  return false;
}

}  // namespace

bool MakeCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                 const CatalogLayout& layout) {
  return CreateNewCatalog(store, directory, name, layout) && ReIndexCatalog(store, directory, name);
}

bool ChangeLayout(CatalogStore& store, const CatalogLayout& layout) {
  const bool rebuild = layout.lengths != store.header.FieldLength;
  const bool reindex = rebuild || KeyFieldsDiffer(layout.fields, store.fieldTable);
  std::string setup;
  if (!NewSetupBytes(store, layout, setup)) return false;
  if (rebuild) store.ui.Message("Field lengths were changed. About to rebuild catalog.");
  LongOperation busy(store.ui, {.busy = true});
  Replacement replacement(store);
  bool ok = replacement.Begin() && replacement.StageSetup(setup);
  if (ok && rebuild) {
    CatalogHeader to = store.header;  // the count and the reserved bytes stay
    to.FieldLength = layout.lengths;
    to.EntryLength = EntryLengthFor(layout.lengths);
    ok = RebuildEntries(store, replacement.entries(), to);
  }
  // Indexes of the old keys or lengths must not survive the change: the catalog rebuilds what is
  // missing before it is used, should the program stop before the rebuild below.
  if (ok && reindex) ok = RemoveKeyIndexes(store, layout.fields);
  ok = ok && replacement.Commit(rebuild);
  if (replacement.committed()) {
    ok = ReadSetup(store, store.catalogDirectory, store.catalogName, store.fieldTable, store.header) && ok;
    if (reindex) ok = ReIndex(store) && ok;
  }
  busy.End();
  return ok;
}

}  // namespace vrk
