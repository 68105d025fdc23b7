#include "catalog/Layout.h"

#include "catalog/Catalog.h"

namespace vrk {

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
                      const CatalogLayout& layout) {
  const FormulaTable current = store.formulaTable;
  FieldTable fields;
  CatalogHeader header;
  InitSetup(store, directory, name, fields, header);
  header.FieldLength = layout.lengths;
  header.EntryLength = EntryLengthFor(layout.lengths);
  store.formulaTable = layout.formulas;
  const bool ok = CreateCatalog(store, directory + "/" + name, layout.fields, header);
  store.formulaTable = current;
  return ok;
}

}  // namespace vrk
