// What index keys would cost if catalog text were UTF-8: the fold of today's code page 1252 keys
// beside a simple Unicode case fold and ICU collation keys, on a million artist names of the benchmark
// collection of which a third are written in other scripts. docs/UNICODE.md quotes the figures. With a
// million keys, the milliseconds an iteration takes are the nanoseconds a key takes.
#include <benchmark/benchmark.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../BenchData.h"
#include "platform/CodePage.h"

namespace vrk::bench {
namespace {

constexpr std::size_t kKeyBytes = 24;
constexpr std::size_t kKeys = 1'000'000;

// A word in another script: each Latin letter becomes a letter of that script, so the words repeat
// as often as their Latin forms do.
std::string InScript(const std::string& word, int script) {
  static const char* const kGreek[] = {"α", "β", "ψ", "δ", "ε", "φ", "γ", "η", "ι", "ξ", "κ", "λ", "μ",
                                       "ν", "ο", "π", "θ", "ρ", "σ", "τ", "υ", "ω", "ς", "χ", "ύ", "ζ"};
  static const char* const kCyrillic[] = {"а", "б", "ц", "д", "е", "ф", "г", "х", "и", "й", "к", "л", "м",
                                          "н", "о", "п", "я", "р", "с", "т", "у", "в", "ш", "ж", "ы", "з"};
  static const char* const kAccented[] = {"á", "b", "ç", "d", "é", "f", "g", "h", "í", "j", "k", "l", "m",
                                          "ñ", "ö", "p", "q", "r", "ß", "t", "ü", "v", "w", "x", "ÿ", "z"};
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int letter = (word[i] | 0x20) - 'a';
    if (letter < 0 || letter >= 26) {
      out += word[i];
    } else if (script == 3) {
      char32_t han = 0x4E00 + static_cast<char32_t>(letter * 131 + i * 7);  // CJK ideographs
      char buffer[4];
      int n = 0;
      U8_APPEND_UNSAFE(buffer, n, han);
      out.append(buffer, static_cast<std::size_t>(n));
    } else {
      const char* const* table = script == 0 ? kAccented : script == 1 ? kGreek : kCyrillic;
      std::string piece = table[letter];
      if (i == 0 && word[i] >= 'A' && word[i] <= 'Z') {  // the capital of the same letter
        UChar32 c = 0;
        std::size_t at = 0;
        U8_NEXT_UNSAFE(piece.data(), at, c);
        char buffer[4];
        int n = 0;
        U8_APPEND_UNSAFE(buffer, n, u_toupper(c));
        piece.assign(buffer, static_cast<std::size_t>(n));
      }
      out += piece;
    }
  }
  return out;
}

struct Keys {
  std::vector<std::string> ansi;  // today's keys: code page 1252 artist names
  std::vector<std::string> utf8;  // the same names, a third of their words in other scripts
};

const Keys& TheKeys() {
  static const Keys keys = [] {
    Keys k;
    RowSource rows;
    k.ansi.reserve(kKeys);
    k.utf8.reserve(kKeys);
    for (std::size_t i = 0; i < kKeys; ++i) {
      const std::string artist = rows.Next().artist;
      k.ansi.push_back(artist);
      std::string mixed;
      std::size_t start = 0;
      while (start <= artist.size()) {
        const std::size_t end = std::min(artist.find(' ', start), artist.size());
        const std::string word = artist.substr(start, end - start);
        const unsigned hash = static_cast<unsigned>(std::hash<std::string>{}(word));
        if (!mixed.empty()) mixed += ' ';
        mixed += hash % 3 == 0 ? InScript(word, static_cast<int>(hash / 3 % 4)) : word;
        start = end + 1;
      }
      k.utf8.push_back(mixed);
    }
    return k;
  }();
  return keys;
}

// Today's index key: the first 24 bytes, upper-cased in code page 1252.
std::string FoldAnsi(const std::string& text) { return UpperAnsi(std::string_view(text).substr(0, kKeyBytes)); }

// A simple Unicode case fold, one code point at a time, cut to 24 bytes on a character boundary.
std::string FoldUtf8(const std::string& text) {
  std::string out;
  out.reserve(kKeyBytes);
  std::int32_t at = 0;
  const auto length = static_cast<std::int32_t>(text.size());
  while (at < length) {
    UChar32 c = 0;
    U8_NEXT(text.data(), at, length, c);
    if (c < 0) c = 0xFFFD;
    char buffer[4];
    int n = 0;
    U8_APPEND_UNSAFE(buffer, n, u_foldCase(c, U_FOLD_CASE_DEFAULT));
    if (out.size() + static_cast<std::size_t>(n) > kKeyBytes) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  return out;
}

UCollator* Collator() {
  static UCollator* collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("", &status);  // the root order, every script in its usual place
    Require(U_SUCCESS(status), "ICU collator");
    ucol_setStrength(c, UCOL_SECONDARY);  // case ignored, accents not
    return c;
  }();
  return collator;
}

// ICU's sort key of the whole text (its bytes compare as the collator orders), and its length.
std::string SortKey(const std::string& text) {
  UChar wide[128];
  std::int32_t wideLength = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8(wide, 128, &wideLength, text.data(), static_cast<std::int32_t>(text.size()), &status);
  std::string key(128, '\0');
  const std::int32_t n = ucol_getSortKey(Collator(), wide, wideLength, reinterpret_cast<std::uint8_t*>(key.data()),
                                         static_cast<std::int32_t>(key.size()));
  key.resize(static_cast<std::size_t>(std::max(n, 1) - 1));
  return key;
}

template <typename Fold>
void RunFold(benchmark::State& state, const std::vector<std::string>& texts, Fold fold) {
  std::size_t bytes = 0, longer = 0;
  for (auto _ : state) {
    bytes = 0;
    longer = 0;
    for (const std::string& text : texts) {
      const std::string key = fold(text);
      bytes += key.size();
      longer += key.size() > kKeyBytes;
      benchmark::DoNotOptimize(key.data());
    }
  }
  state.counters["key_bytes"] = static_cast<double>(bytes) / static_cast<double>(texts.size());
  // The share of texts longer, in bytes, than the 30 characters of the Artist field.
  std::size_t wider = 0;
  for (const std::string& text : texts) wider += text.size() > 30;
  state.counters["over_30_bytes"] = static_cast<double>(wider) / static_cast<double>(texts.size());
  // The share of keys that would not fit the index's 24 bytes whole.
  state.counters["over_24"] = static_cast<double>(longer) / static_cast<double>(texts.size());
}

template <typename Fold>
void RunSort(benchmark::State& state, const std::vector<std::string>& texts, Fold fold) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    state.ResumeTiming();
    for (const std::string& text : texts) keys.push_back(fold(text));
    std::sort(keys.begin(), keys.end());
    benchmark::DoNotOptimize(keys.data());
  }
}

void BM_KeyFold_Cp1252(benchmark::State& state) { RunFold(state, TheKeys().ansi, FoldAnsi); }
void BM_KeyFold_Utf8Simple(benchmark::State& state) { RunFold(state, TheKeys().utf8, FoldUtf8); }
void BM_KeyFold_IcuSortKey(benchmark::State& state) { RunFold(state, TheKeys().utf8, SortKey); }
void BM_KeySort_Cp1252(benchmark::State& state) { RunSort(state, TheKeys().ansi, FoldAnsi); }
void BM_KeySort_Utf8Simple(benchmark::State& state) { RunSort(state, TheKeys().utf8, FoldUtf8); }
void BM_KeySort_IcuSortKey(benchmark::State& state) { RunSort(state, TheKeys().utf8, SortKey); }

// Comparing with the collator directly, as a tree does on every step, without stored sort keys.
void BM_KeySort_IcuCompare(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<const std::string*> keys;
    for (const std::string& text : TheKeys().utf8) keys.push_back(&text);
    std::sort(keys.begin(), keys.end(), [](const std::string* a, const std::string* b) {
      UErrorCode status = U_ZERO_ERROR;
      return ucol_strcollUTF8(Collator(), a->data(), static_cast<std::int32_t>(a->size()), b->data(),
                              static_cast<std::int32_t>(b->size()), &status) == UCOL_LESS;
    });
    benchmark::DoNotOptimize(keys.data());
  }
}

BENCHMARK(BM_KeyFold_Cp1252)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeyFold_Utf8Simple)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeyFold_IcuSortKey)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeySort_Cp1252)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeySort_Utf8Simple)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeySort_IcuSortKey)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeySort_IcuCompare)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vrk::bench
