// libxlsxwriter, loaded the first time a workbook is written. Linked in, it and the libraries it needs
// (minizip, zlib, OpenSSL's libcrypto) would be loaded by every start of every program, vrkcli's
// included, at a millisecond or more a start; loaded on demand, only a workbook pays for them.
#pragma once

#include <xlsxwriter.h>

#include <string>

namespace vrk {

// The library's functions that the workbook writer calls, by their own names.
struct XlsxLibrary {
  decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
  decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
  decltype(&::workbook_add_format) workbook_add_format = nullptr;
  decltype(&::workbook_close) workbook_close = nullptr;
  decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
  decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
  decltype(&::worksheet_set_column) worksheet_set_column = nullptr;
  decltype(&::worksheet_freeze_panes) worksheet_freeze_panes = nullptr;
  decltype(&::format_set_bold) format_set_bold = nullptr;
  decltype(&::format_set_num_format) format_set_num_format = nullptr;
  decltype(&::lxw_strerror) lxw_strerror = nullptr;
};

// The library, loaded once; nullptr, with what went wrong in `why`, when it is not installed or lacks
// one of the functions.
const XlsxLibrary* LoadXlsxLibrary(std::string& why);

}  // namespace vrk
