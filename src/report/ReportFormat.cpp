#include "report/ReportFormat.h"

#include <algorithm>
#include <cstring>

#include "catalog/FileIo.h"
#include "catalog/Files.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr int kEntryNumberWidth = 6;  // of a new format's entry number

void PutItem(char* at, const LayoutItem& item) {
  std::memcpy(at, item.Spare1.data(), 2);
  PutShort(at + 2, item.Width);
  PutShort(at + 4, item.Row);
  PutShort(at + 6, item.Col);
  PutShort(at + 8, item.LinesPerEntry);
  std::memcpy(at + 10, item.Spare2.data(), 2);
}

LayoutItem GetItem(const char* at) {
  LayoutItem item;
  std::memcpy(item.Spare1.data(), at, 2);
  item.Width = GetShort(at + 2);
  item.Row = GetShort(at + 4);
  item.Col = GetShort(at + 6);
  item.LinesPerEntry = GetShort(at + 8);
  std::memcpy(item.Spare2.data(), at + 10, 2);
  return item;
}

}  // namespace

std::string ReportFormatPath(const std::string& programDirectory, std::string_view name) {
  return NativePath(programDirectory + "/" + std::string(name) + ".FMT");
}

bool IsReportName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxReportNameLength && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  });
}

std::string EncodeReportFormat(const ReportFormat& format) {
  std::string bytes(kFormatFileLength, '\0');
  for (std::size_t k = 0; k < kLayoutItemCount; ++k) PutItem(bytes.data() + k * kFormatRecordLength, format.items[k]);
  PutItem(bytes.data() + kLayoutItemCount * kFormatRecordLength, format.header);
  return bytes;
}

bool DecodeReportFormat(std::string_view bytes, ReportFormat& format) {
  std::string record(kFormatFileLength, '\0');
  std::memcpy(record.data(), bytes.data(), std::min(bytes.size(), kFormatFileLength));
  ReportFormat read;
  for (std::size_t k = 0; k < kLayoutItemCount; ++k) {
    read.items[k] = GetItem(record.data() + k * kFormatRecordLength);
    if (read.items[k].LinesPerEntry < 1 || read.items[k].LinesPerEntry > kReportLines) return false;
  }
  read.header = GetItem(record.data() + kLayoutItemCount * kFormatRecordLength);
  format = read;
  return true;
}

bool ReadReportFormat(const CatalogStore& store, std::string_view name, ReportFormat& format) {
  std::string bytes;
  // Only the records count: a longer file is read no further.
  if (sys::ReadFileStart(ReportFormatPath(store.programDirectory, name), kFormatFileLength, bytes) != 0 ||
      bytes.empty()) {
    return false;
  }
  return DecodeReportFormat(bytes, format);
}

bool WriteReportFormat(CatalogStore& store, std::string_view name, ReportFormat& format) {
  for (LayoutItem& item : format.items) item.LinesPerEntry = format.items[0].LinesPerEntry;
  const std::string path = ReportFormatPath(store.programDirectory, name);
  const int error = sys::WriteWholeFile(store.fileSystem, path, EncodeReportFormat(format));
  if (error == 0) return true;
  ReportFileError(store.ui, FileFailureFromErrno(error, path));
  return false;
}

void ClampItemWidths(const CatalogStore& store, ReportFormat& format) {
  for (std::size_t k = 0; k < static_cast<std::size_t>(kFieldCount); ++k) {
    format.items[k].Width = std::min(format.items[k].Width, store.header.FieldLength[k]);
  }
}

void InitNewReportFormat(const CatalogStore& store, ReportFormat& format) {
  format = {};
  for (std::size_t k = 0; k < kLayoutItemCount; ++k) {
    format.items[k].Width = k < static_cast<std::size_t>(kFieldCount) ? store.header.FieldLength[k] : kEntryNumberWidth;
  }
}

void LoadCatalogReportFormat(CatalogStore& store, ReportFormat& current) {
  if (store.reportFormatName.empty() || ReadReportFormat(store, store.reportFormatName, current)) return;
  store.ui.Beep();
  store.ui.ClearBusy();
  store.ui.Message("Report " + store.reportFormatName + " is missing or invalid. No report selected.",
                   Icon::Exclamation);
  store.reportFormatName.clear();
}

}  // namespace vrk
