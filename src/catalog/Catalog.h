// Opening, creating and closing catalogs; the setup file (field table, formulas, settings) and the
// header at the start of the entry file.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

// Setup file layout: 16-byte slots; the formula of field index i lives in slot i + 47.
inline constexpr int kSetupFileLength = 1074;

// The window shown when a catalog's first entry is not of a kind this program reads; it only informs.
struct CatalogNotCompatible {};

void ReadSetup(CatalogStore& store, const std::string& directory, const std::string& name, FieldTable& fields,
               CatalogHeader& header);
// Entry file number of the opened catalog, or 0 when it cannot be used.
int OpenCatalog(CatalogStore& store, const std::string& directory, const std::string& name);
void InitSetup(CatalogStore& store, const std::string& directory, const std::string& name, FieldTable& fields,
               CatalogHeader& header);
// Writes the field and formula slots of the setup file and the entry file's header. False when a file
// could not be written.
bool CreateCatalog(CatalogStore& store, const std::string& basePath, const FieldTable& fields, CatalogHeader& header);
bool WriteHeader(CatalogStore& store, int file, const CatalogHeader& header);
void CloseCatalog(CatalogStore& store, int file);
void ReadSettings(CatalogStore& store, const std::string& name, CatalogSettings& settings);
void WriteSettings(CatalogStore& store, const std::string& name, CatalogSettings& settings);

// The three characters of a formula slot ("A+B"), or "" for a field that is not computed.
std::string FormulaText(const Formula& formula);
Formula ParseFormula(std::string_view slot);

}  // namespace vrk
