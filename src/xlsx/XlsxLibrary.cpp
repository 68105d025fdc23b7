#include "xlsx/XlsxLibrary.h"

#include "platform/Libraries.h"

namespace vrk {
namespace {

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(sys::LibrarySymbol(library, name));
  return function != nullptr;
}

}  // namespace

const XlsxLibrary* LoadXlsxLibrary(std::string& why) {
  static XlsxLibrary calls;
  static bool loaded = false;
  if (loaded) return &calls;
  void* library = sys::LoadLibrary(VRK_XLSXWRITER_SONAME, why);
  if (library == nullptr) return nullptr;
  loaded = Find(library, "workbook_new_opt", calls.workbook_new_opt) &&
           Find(library, "workbook_add_worksheet", calls.workbook_add_worksheet) &&
           Find(library, "workbook_add_format", calls.workbook_add_format) &&
           Find(library, "workbook_close", calls.workbook_close) &&
           Find(library, "worksheet_write_string", calls.worksheet_write_string) &&
           Find(library, "worksheet_write_number", calls.worksheet_write_number) &&
           Find(library, "worksheet_set_column", calls.worksheet_set_column) &&
           Find(library, "worksheet_freeze_panes", calls.worksheet_freeze_panes) &&
           Find(library, "format_set_bold", calls.format_set_bold) &&
           Find(library, "format_set_num_format", calls.format_set_num_format) &&
           Find(library, "lxw_strerror", calls.lxw_strerror);
  if (!loaded) why = std::string(VRK_XLSXWRITER_SONAME) + " lacks a function the workbook writer needs";
  return loaded ? &calls : nullptr;
}

}  // namespace vrk
