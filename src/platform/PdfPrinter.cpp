#include "platform/PdfPrinter.h"

#include "platform/FileSystem.h"
#include "platform/Libraries.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

// The module, loaded once and kept for the life of the process: the printers it made run its code.
void* LoadModule(std::string& why) {
  static void* module = nullptr;
  if (module != nullptr) return module;
  const std::string directory = ExecutableDirectory();
  for (const std::string& file :
       {directory + "/" + kPdfModule, directory + "/../" VRK_MODULE_DIRECTORY "/" + kPdfModule}) {
    sys::FileId id;
    if (sys::IdOfPath(file, id) != 0) continue;
    std::string error;
    module = sys::LoadLibrary(file, error);
    if (module != nullptr) return module;
    why = "The PDF printer " + PathText(file) + " could not be loaded: " + error;
    return nullptr;
  }
  why = std::string("This vrkcli prints no PDF files: ") + kPdfModule +
        ", which prints them, is not installed beside it.";
  return nullptr;
}

}  // namespace

std::unique_ptr<Printer> LoadPdfPrinter(const std::string& path, std::string& why) {
  void* module = LoadModule(why);
  if (module == nullptr) return nullptr;
  const auto entry = reinterpret_cast<PdfPrinterEntry>(sys::LibrarySymbol(module, kPdfPrinterEntry));
  Printer* printer = entry != nullptr ? entry(path.c_str()) : nullptr;
  if (printer == nullptr)
    why = std::string("The PDF printer ") + kPdfModule + " made no printer for " + PathText(path) + ".";
  return std::unique_ptr<Printer>(printer);
}

}  // namespace vrk
