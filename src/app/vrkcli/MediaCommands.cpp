// memo, media and macros: an entry's memo, its picture and sound, a catalog's text macros.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "catalog/Memo.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/Browsing.h"
#include "shell/Memos.h"
#include "shell/PictureSound.h"
#include "shell/Startup.h"
#include "shell/TextMacros.h"
#include "support/Macros.h"

namespace vrk::cli {
namespace {

// Opens BASE and shows entry N, as the commands of the Edit menu find it. 0 or the exit status.
int OpenEntry(Session& session, const std::string& base, const std::string& number, CatalogAccess access) {
  if (const int status = OpenBase(session, base, access)) return status;
  const EntryNumber n = ParseEntryNumber(session.program, number);
  if (n == 0) return BadInput("Entry number is out of range.");
  GoToEntry(session.program, n);
  return session.program.currentEntryNumber == n ? 0 : kFailed;
}

// Text typed on the command line in code page 1252, lines ending as the memo editor ends them; empty
// with a message for text the code page cannot hold.
std::optional<std::string> MemoText(const std::string& utf8) {
  const std::string ansi = Ansi(utf8);
  if (Utf8FromAnsi(ansi) != utf8) return std::nullopt;
  std::string text;
  for (const char c : ansi) {
    if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
    text += c;
  }
  return text;
}

int Finish(Session& session, bool done) { return CloseCurrentCatalog(session.program) && done ? 0 : kFailed; }

}  // namespace

int CommandMemo(const Args& args) {
  const bool set = args.size() == 4 && args[2] == "--set", remove = args.size() == 3 && args[2] == "--remove";
  if (args.size() != 2 && !set && !remove) return BadUsage("memo");
  std::optional<std::string> text;
  if (set && !(text = MemoText(args[3]))) {
    return BadInput("the memo cannot keep the character " + MeasureTextLoss(args[3], false).first);
  }
  Session session;
  Program& program = session.program;
  const CatalogAccess access = args.size() == 2 ? CatalogAccess::kRead : CatalogAccess::kChange;
  if (const int status = OpenEntry(session, args[0], args[1], access)) return status;
  if (args.size() == 2) {
    const int messages = session.ui.messageCount;  // a damaged memo number says so
    std::string memo = ReadMemo(program, program.currentEntry.MemoNumber);
    std::erase(memo, '\r');
    std::cout << Utf8FromAnsi(memo) << (memo.empty() ? "" : "\n");
    return Finish(session, session.ui.messageCount == messages);
  }
  if (remove) return Finish(session, RemoveMemoCommand(program));
  session.ui.dialogs.Register<MemoEditor>([&](MemoEditor& editor) {
    editor.text = *text;
    return true;
  });
  return Finish(session, MemoCommand(program));
}

int CommandMedia(const Args& args) {
  if (args.size() < 2 || args.size() % 2 != 0) return BadUsage("media");
  std::optional<std::string> picture, sound;
  for (std::size_t i = 2; i + 1 < args.size(); i += 2) {
    if (args[i] == "--picture") {
      picture = args[i + 1];
    } else if (args[i] == "--sound") {
      sound = args[i + 1];
    } else {
      return BadUsage("media");
    }
  }
  Session session;
  Program& program = session.program;
  const bool change = picture || sound;
  if (const int status = OpenEntry(session, args[0], args[1], change ? CatalogAccess::kChange : CatalogAccess::kRead)) {
    return status;
  }
  if (!change) {
    const std::string field21 = program.screen.BoxText(kMediaField);
    std::cout << "picture\t" << StoredPicturePath(field21) << "\nsound\t" << StoredSoundPath(field21) << '\n';
    return Finish(session, true);
  }
  bool refused = false;
  session.ui.dialogs.Register<PictureSoundEditor>([&](PictureSoundEditor& editor) {
    if (picture) editor.picture = *picture;
    if (sound) editor.sound = *sound;
    refused = !AcceptPictureSound(editor);
    return !refused;
  });
  const bool saved = PictureSoundCommand(program);
  const int status = Finish(session, saved);
  return refused ? kBadInput : status;
}

int CommandMacros(const Args& args) {
  if (args.empty()) return BadUsage("macros");
  const MacroKeyTable keys = BuildMacroKeyTable();
  std::vector<std::pair<int, std::string>> changes;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& change = args[i];
    const char key = change.size() >= 2 && change[1] == '=' ? UpperAscii(change.substr(0, 1))[0] : '\0';
    const auto code = static_cast<unsigned char>(key);
    if (code == 0 || code >= keys.size() || keys[code] < 0) {
      return BadInput("No macro key in " + change + ": KEY is 1-9, 0 or a letter other than E, F, H, O, R, U, V.");
    }
    std::string refused;
    // A line end would break the listing; the macro file keeps code page 1252.
    const auto text =
        FieldValue(change.substr(2), refused, {.what = "macro " + change.substr(0, 1), .entryFile = false});
    if (!text) return BadInput(refused);
    if (text->empty()) return BadInput("No Macro Text Specified.");
    if (const std::string tooLong = MacroTooLong(*text); !tooLong.empty()) {
      return BadInput("macro " + change.substr(0, 1) + ": " + tooLong);
    }
    changes.emplace_back(keys[code], *text);
  }
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], changes.empty() ? CatalogAccess::kRead : CatalogAccess::kChange)) {
    return status;
  }
  if (!LoadMacros(program, program.macros.table)) return Finish(session, false);
  // Every change in one save: the macro file holds all of them or none.
  MacroTable table = program.macros.table;
  for (const auto& [index, text] : changes) lib::FilterMacro(text, table.at(static_cast<std::size_t>(index)));
  if (!changes.empty() && !SaveMacros(program, table)) return Finish(session, false);
  if (changes.empty()) {
    for (int i = 0; i < kMacroKeys; ++i) {
      std::cout << MacroKeyName(i) << '\t' << Utf8FromAnsi(TypedMacro(program.macros.table, i)) << '\n';
    }
  }
  return Finish(session, true);
}

}  // namespace vrk::cli
