#include "catalog/Layout.h"

#include "catalog/Catalog.h"
#include "catalog/Journal.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {

CatalogLayout LayoutOf(const CatalogStore& store) {
  return {store.fieldTable, store.header.FieldLength, store.formulaTable};
}

std::string LayoutError(const CatalogLayout& layout) {
  int sum = 0;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    if (layout.lengths[index] < 0 || layout.lengths[index] > kLongestEditedField) {
      return "Field Length Maximum is " + std::to_string(kLongestEditedField);
    }
    if (layout.formulas[index].Valid && IsKeyField(layout.fields[index])) {
      return "A computed field may not be used as an index";
    }
    sum += layout.lengths[index];
  }
  return sum == 0 ? "Must Specify at lease one nozero length field." : "";
}

bool CreateNewCatalog(CatalogStore& store, const std::string& directory, const std::string& name,
                      const CatalogLayout& layout, const std::string& filesName) {
  if (!FinishJournals(store.ui, store.fileSystem, directory, name)) return false;
  // Nothing is written until both files may be: a directory in the way fails before a setup file
  // is left behind, and an existing file is replaced only when the user says so.
  for (const char* extension : {".SET", ".DAT"}) {
    const std::string path = directory + "/" + name + extension;
    const sys::PathStatus status = sys::StatusOfPath(NativePath(path));
    if (status.kind == sys::PathKind::kMissing && !status.link) continue;
    if (status.kind != sys::PathKind::kFile) {
      ReportFileError(store.ui, FileFailure::kBadAccess);
      return false;
    }
    if (store.ui.ShowMessage({"Replace contents of " + PathText(path) + "?", "Replace File?", Buttons::OkCancel,
                              Icon::Exclamation, true}) != Answer::Ok) {
      return false;
    }
  }
  // What a change of an earlier catalog of that name left staged would be taken for this one's, and
  // what a killed program left under the name the files are written as goes too.
  const std::string files = filesName.empty() ? name : filesName;
  for (const std::string& staged : {name + kStagedSetup, name + kStagedEntries, files + ".SET", files + ".DAT"}) {
    if (files == name && !staged.ends_with('$')) continue;
    const std::string path = NativePath(directory + "/" + staged);
    if (const int error = FileExists(path) ? sys::RemoveFile(store.fileSystem, path) : 0) {
      ReportFileError(store.ui, FileFailureFromErrno(error, path));
      return false;
    }
  }
  const FormulaTable current = store.formulaTable;
  FieldTable fields;
  CatalogHeader header;
  if (!InitSetup(store, directory, files, fields, header)) return false;
  header.FieldLength = layout.lengths;
  header.EntryLength = EntryLengthFor(layout.lengths);
  store.formulaTable = layout.formulas;
  const bool ok = CreateCatalog(store, directory + "/" + files, layout.fields, header);
  store.formulaTable = current;
  return ok;
}

}  // namespace vrk
