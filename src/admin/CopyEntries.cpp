#include "admin/CopyEntries.h"

#include <algorithm>
#include <optional>

#include "admin/CatalogFiles.h"
#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "index/KeyIndexChange.h"
#include "platform/LongOperation.h"

namespace vrk {
namespace {

// A catalog of the copy: the store's current catalog, or one opened in a store of its own.
class CopyCatalog {
 public:
  CopyCatalog(CatalogStore& store, const std::string& directory, const std::string& name, CatalogAccess access)
      : own_(store.ui) {
    if (IsCurrentCatalog(store, directory, name)) {
      store_ = &store;
      return;
    }
    own_.catalogDirectory = directory;
    own_.catalogName = name;
    own_.entryFile = OpenCatalog(own_, directory, name, access);
    if (own_.entryFile != 0) store_ = &own_;
  }
  ~CopyCatalog() { (void)Close(); }  // a failure has had its message
  // Closes a catalog opened here, its header written and on the disk; false after the message of a
  // write that failed.
  bool Close() {
    if (store_ != &own_) return true;
    store_ = nullptr;
    return CloseCatalog(own_, own_.entryFile);
  }
  CopyCatalog(const CopyCatalog&) = delete;
  CopyCatalog& operator=(const CopyCatalog&) = delete;

  CatalogStore* store() const { return store_; }

 private:
  CatalogStore own_;
  CatalogStore* store_ = nullptr;
};

FieldMask KeyFields(const CatalogStore& store) {
  FieldMask keys = 0;
  for (int i = 0; i < kFieldCount; ++i) {
    if (IsKeyField(store.fieldTable[static_cast<std::size_t>(i)])) keys |= FieldMask{1} << i;
  }
  return keys;
}

// Takes the keys of the copies first to last out of the indexes again, after a Cancel.
bool TakeKeysBack(CatalogStore& store, const KeyTable& keys, EntryNumber first, EntryNumber last) {
  EntryRecord record;
  const FieldMask fields = KeyFields(store);
  return VisitSlots(store, store.entryFile, store.header, first, last, false, [&](EntryNumber n, char* slot) {
    DecodeSlot(record, store.header, slot, fields);
    return DeleteEntryKeys(store, keys, record, n);
  });
}

}  // namespace

bool PrepareConfigureCopy(CatalogStore& store, const std::string& directory, ConfigureCopy& copy) {
  for (const bool source : {true, false}) {
    CatalogStore other(store.ui, store.fileSystem);
    CatalogHeader header;
    const std::string& name = source ? copy.sourceName : copy.destinationName;
    if (!FileExists(SetupFilePath(directory + "/" + name)) ||
        !ReadSetup(other, directory, name, source ? copy.sourceFields : copy.destinationFields, header)) {
      store.ui.Message("Error loading catalog " + name);
      return false;
    }
    (source ? copy.sourceLengths : copy.destinationLengths) = header.FieldLength;
  }
  for (short i = 0; i < kFieldCount; ++i)
    copy.map[static_cast<std::size_t>(i)] = copy.inverse[static_cast<std::size_t>(i)] = i;
  return true;
}

void ChooseCopySource(ConfigureCopy& copy, int row, int source) {
  const auto r = static_cast<std::size_t>(row);
  const auto j = static_cast<std::size_t>(source);
  if (copy.map[r] == source) return;
  const auto k = static_cast<std::size_t>(copy.inverse[j]);  // the row source j feeds now
  const short old = copy.map[r];
  copy.map[r] = static_cast<short>(source);
  copy.map[k] = old;
  copy.inverse[j] = static_cast<short>(row);
  copy.inverse[static_cast<std::size_t>(old)] = static_cast<short>(k);
}

bool RowIsCut(const ConfigureCopy& copy, int row) {
  const auto r = static_cast<std::size_t>(row);
  return copy.destinationLengths[r] < copy.sourceLengths[static_cast<std::size_t>(copy.map[r])];
}

std::string CopiedText(EntryNumber count, const ConfigureCopy& copy) {
  return std::to_string(count) + " entries were copied from " + copy.sourceName + " to " + copy.destinationName + ".";
}

EntryNumber CopyEntries(CatalogStore& store, const std::string& directory, const ConfigureCopy& copy) {
  Ui& ui = store.ui;
  const bool itself = copy.sourceName == copy.destinationName;
  CopyCatalog destination(store, directory, copy.destinationName, CatalogAccess::kChange);
  std::optional<CopyCatalog> other;
  if (!itself) other.emplace(store, directory, copy.sourceName, CatalogAccess::kRead);
  CatalogStore* to = destination.store();
  CatalogStore* from = itself ? to : other->store();
  if (to == nullptr || from == nullptr) return -1;
  if (!to->writable) {
    ui.Message(to->catalogName + " is opened for reading only.", Icon::Exclamation);
    return -1;
  }
  const EntryNumber count = from->header.Count();
  const EntryNumber before = to->header.Count();
  if (before + count > kMostEntries) {
    ui.Message(to->catalogName + " can hold " + std::to_string(kMostEntries - before) +
                   " more entries, the most a catalog can count. No entry was copied.",
               Icon::Exclamation);
    return -1;
  }
  LongOperation busy(ui, {.busy = true});
  KeyIndexChange change(*to);
  if (!change.Open()) return -1;
  const SlotLayout source(from->header), target(to->header);
  const FieldMask keyFields = KeyFields(*to);
  // Copies into a sorted catalog join its chain at the end, each linked to the next.
  const EntryNumber chainEnd = SortedChainEnd(*to, before + 1);
  std::vector<char> slot(target.length);
  EntryRecord record;
  EntryNumber copied = 0;
  bool cancelled = false;
  BufferedFile& file = *to->files.Get(to->entryFile);
  file.BeginBatch();
  LongOperation copying(ui,
                        {.windowDisabled = true, .gauge = Gauge{static_cast<double>(count), "Copying Entries...."}});
  bool ok = VisitSlots(*from, from->entryFile, from->header, 1, count, false, [&](EntryNumber r, char* stored) {
    if ((cancelled = ui.StepGauge())) return false;
    std::fill(slot.begin(), slot.end(), '\0');
    PutSingle(slot.data(), kStatusActive);
    for (std::size_t d = 0; d < kFieldCount; ++d) {
      const auto length = static_cast<std::size_t>(to->header.FieldLength[d]);
      const auto s = static_cast<std::size_t>(copy.map[d]);
      const std::size_t kept = std::min(length, static_cast<std::size_t>(from->header.FieldLength[s]));
      std::memcpy(slot.data() + target.field[d], stored + source.field[s], kept);
      std::memset(slot.data() + target.field[d] + kept, ' ', length - kept);
    }
    const EntryNumber n = before + r;
    if (chainEnd != 0) {
      PutSingle(slot.data() + target.links, static_cast<float>(r == count ? n : n + 1));
      PutSingle(slot.data() + target.links + 4, static_cast<float>(r == 1 ? chainEnd : n - 1));
    }
    if (!WriteBlock(*to, to->entryFile, static_cast<std::int64_t>(target.length) * n,
                    std::string_view(slot.data(), slot.size()))) {
      return false;
    }
    copied = r;
    DecodeSlot(record, to->header, slot.data(), keyFields);
    return AddEntryKeys(*to, change.keys(), record, n);
  });
  ok = EndBlocks(*to, to->entryFile, to->BasePath() + ".DAT") && ok;
  copying.End();
  if (ok) {
    to->header.EntryCount = static_cast<float>(before + count);
    if (!WriteHeader(*to, to->entryFile, to->header)) {
      to->header.EntryCount = static_cast<float>(before);
      ok = false;
    } else {
      ok = JoinSortedEnd(*to, before + 1, before + count);
    }
  } else if (cancelled) {
    // The copies beyond the count are no entries: their keys go, and the indexes stay whole.
    ok = TakeKeysBack(*to, change.keys(), before + 1, before + copied);
  }
  ok = change.Finish(ok);  // the entry file on the disk first; indexes in doubt are rebuilt before their next use
  busy.End();
  if (cancelled || !ok) return -1;
  return destination.Close() ? count : -1;
}

}  // namespace vrk
