#include "platform/PdfPrinter.h"

#include <utility>

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

VrkPdfText Bytes(const std::string& text) { return {text.data(), text.size()}; }

// The Printer port over a printer of the module, through its C functions.
class ModulePrinter final : public Printer {
 public:
  ModulePrinter(const VrkPdfFunctions& module, VrkPdfPrinter* printer, std::string path)
      : module_(module), printer_(printer), path_(std::move(path)) {}
  ~ModulePrinter() override { module_.close(printer_); }
  ModulePrinter(const ModulePrinter&) = delete;
  ModulePrinter& operator=(const ModulePrinter&) = delete;

  bool PrintLine(const std::string& text, int tabColumn, const std::string& tabbed) override {
    return module_.printLine(printer_, Bytes(text), tabColumn, Bytes(tabbed)) != 0;
  }
  bool NewPage() override { return module_.newPage(printer_) != 0; }
  bool EndDocument() override { return module_.endDocument(printer_) != 0; }
  void AbandonDocument() override { module_.abandonDocument(printer_); }
  double TextWidth(const std::string& text) override { return module_.textWidth(printer_, Bytes(text)); }
  double PrintableWidth() override { return module_.printableWidth(printer_); }
  bool SetFont(const PrinterFont& font) override {
    return module_.setFont(printer_, Bytes(font.name), font.size, font.bold, font.italic, font.underline) != 0;
  }
  std::string Failure() const override {
    const VrkPdfText why = module_.failure(printer_);
    return {why.bytes, why.size};
  }
  std::string OutputFile() const override { return path_; }

 private:
  const VrkPdfFunctions& module_;
  VrkPdfPrinter* printer_;
  std::string path_;
};

}  // namespace

std::unique_ptr<Printer> LoadPdfPrinter(const std::string& path, std::string& why) {
  void* module = LoadModule(why);
  if (module == nullptr) return nullptr;
  const auto entry = reinterpret_cast<PdfModuleEntry>(sys::LibrarySymbol(module, kPdfModuleEntry));
  const VrkPdfFunctions* functions = entry != nullptr ? entry() : nullptr;
  VrkPdfPrinter* printer = functions != nullptr ? functions->open(path.c_str()) : nullptr;
  if (printer == nullptr) {
    why = std::string("The PDF printer ") + kPdfModule + " made no printer for " + PathText(path) + ".";
    return nullptr;
  }
  return std::make_unique<ModulePrinter>(*functions, printer, path);
}

}  // namespace vrk
