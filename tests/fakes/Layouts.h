// Building catalog layouts for tests: fields 1, 2, 3 … in order, the rest unused.
#pragma once

#include <initializer_list>
#include <string>

#include "catalog/Catalog.h"
#include "catalog/Layout.h"

namespace vrk::test {

struct FieldSpec {
  std::string name;
  short length;
  short type = kPlainField;
  std::string formula = "";  // "A+B"
};

inline CatalogLayout MakeLayout(std::initializer_list<FieldSpec> specs) {
  CatalogLayout layout;
  int i = 0;
  for (const FieldSpec& spec : specs) {
    const auto at = static_cast<std::size_t>(i++);
    layout.fields[at] = {PadFieldName(spec.name), spec.type};
    layout.lengths[at] = spec.length;
    if (!spec.formula.empty()) layout.formulas[at] = ParseFormula(spec.formula);
  }
  return layout;
}

}  // namespace vrk::test
