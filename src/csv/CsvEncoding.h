// The character encodings of CSV files: UTF-8 (what the program writes unless told otherwise), code
// page 1252 and Latin-1 (what older spreadsheets write), and UTF-16 with a byte-order mark (what
// spreadsheets call Unicode text). The cells are handled as UTF-8 in between; these turn a file's
// bytes into UTF-8 and UTF-8 into a file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

enum class CsvEncoding { kUtf8, kCp1252, kLatin1, kUtf16 };

// The encoding an option names: utf-8, cp1252, latin1, utf-16 (letter case and the other common
// spellings, such as windows-1252 and iso-8859-1, too); nothing for any other text.
std::optional<CsvEncoding> CsvEncodingNamed(std::string_view name);
// "UTF-8", "code page 1252", "Latin-1", "UTF-16".
std::string CsvEncodingText(CsvEncoding encoding);

// Turns a file's bytes into UTF-8, a block at a time, the first block holding the file's start (or all
// of it): a character whose bytes a block cuts is finished with the next block. A byte-order mark at
// the start is dropped; one of UTF-16 makes the
// file UTF-16 whatever the encoding given (UTF-8 cannot begin so). Bytes that are no character become
// U+FFFD, which the catalog's code page lacks, so that they are counted with the characters it lacks.
class CsvDecoder {
 public:
  explicit CsvDecoder(CsvEncoding encoding) : encoding_(encoding) {}
  std::string Decode(std::string_view bytes);

 private:
  CsvEncoding encoding_;
  bool started_ = false;
  bool bigEndian_ = false;
  std::string carry_;                // bytes of a character the last block cut
  std::uint32_t highSurrogate_ = 0;  // UTF-16: the first half of a pair, waiting for its second
};

// UTF-8 text as the encoding writes it; a character the encoding lacks becomes '?' and is counted in
// `unheld`.
std::string CsvEncode(std::string_view utf8, CsvEncoding encoding, long& unheld);
// What a file of the encoding begins with: UTF-16 always has its byte-order mark (little-endian),
// UTF-8 one when asked.
std::string CsvFileStart(CsvEncoding encoding, bool utf8ByteOrderMark);

}  // namespace vrk
