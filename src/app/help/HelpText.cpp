// The two forms of the help: plain text for the terminal and roff for the manual pages.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>

#include "app/help/ProgramHelp.h"

namespace vrk::help {
namespace {

constexpr std::size_t kWidth = 79;

// The words of `text` in lines of at most kWidth columns, each line indented by `indent` blanks.
void AppendWrapped(std::string& out, std::string_view text, std::size_t indent) {
  std::size_t column = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (column > 0 && column + 1 + word.size() > kWidth) {
      out += '\n';
      column = 0;
    }
    if (column == 0) {
      out.append(indent, ' ');
      column = indent;
    } else {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
  }
  out += '\n';
}

void AppendItems(std::string& out, std::string_view title, const std::vector<Item>& items) {
  if (items.empty()) return;
  out += '\n';
  out += title;
  out += ":\n";
  for (const Item& item : items) {
    out.append(2, ' ');
    out += item.term;
    out += '\n';
    AppendWrapped(out, item.text, 6);
  }
}

void AppendSynopsis(std::string& out, const ProgramHelp& help) {
  for (std::size_t i = 0; i < help.synopsis.size(); ++i) {
    out += i == 0 ? "usage: " : "       ";
    out += help.synopsis[i];
    out += '\n';
  }
}

void AppendUsages(std::string& out, const ProgramHelp& help, const Command& command, std::string_view lead) {
  for (const std::string_view usage : command.usages) {
    out += lead;
    out += help.name;
    out += ' ';
    out += usage;
    out += '\n';
  }
}

// Text escaped for roff: backslashes and minus signs, and a line that would start with a control
// character.
std::string Roff(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
  return out;
}

bool IsPlaceholder(std::string_view word) {
  while (word.ends_with("...")) word.remove_suffix(3);
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  }) && word.front() >= 'A';
}

// A command line in roff: the program and command bold, options bold, placeholders (BASE, FIELD...)
// in italics, the rest as it is.
std::string RoffCommandLine(std::string_view line, std::size_t boldWords) {
  std::string out;
  std::size_t word = 0;
  for (std::size_t at = 0; at <= line.size(); ++word) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    std::string_view token = line.substr(at, end - at);
    at = end + 1;
    if (!out.empty()) out += ' ';
    // Brackets and bars around a token stay upright.
    std::size_t lead = 0;
    while (lead < token.size() && (token[lead] == '[' || token[lead] == '|')) ++lead;
    std::size_t tail = token.size();
    while (tail > lead && (token[tail - 1] == ']' || token[tail - 1] == '|')) --tail;
    const std::string_view core = token.substr(lead, tail - lead);
    out += Roff(token.substr(0, lead));
    if (word < boldWords || core.starts_with("--")) {
      out += "\\fB" + Roff(core) + "\\fR";
    } else if (IsPlaceholder(core.substr(0, core.find('=')))) {
      out += "\\fI" + Roff(core) + "\\fR";
    } else {
      out += Roff(core);
    }
    out += Roff(token.substr(tail));
  }
  return out;
}

void RoffItems(std::string& out, std::string_view title, const std::vector<Item>& items, bool codeTerms) {
  if (items.empty()) return;
  out += ".SH " + std::string(title) + "\n";
  for (const Item& item : items) {
    out += ".TP\n";
    out += codeTerms ? RoffCommandLine(item.term, 0) : "\\fB" + Roff(item.term) + "\\fR";
    out += '\n' + Roff(item.text) + '\n';
  }
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

std::string_view Version() { return VRK_VERSION; }

bool AnswerHelpOrVersion(const ProgramHelp& help, int argc, char** argv) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::cout << HelpText(help);
  } else if (std::strcmp(argv[1], "--version") == 0) {
    std::cout << help.name << ' ' << Version() << '\n';
  } else {
    return false;
  }
  return true;
}

const Command* FindCommand(const ProgramHelp& help, std::string_view name) {
  for (const CommandGroup& group : help.commands) {
    for (const Command& command : group.commands) {
      if (command.name == name) return &command;
    }
  }
  return nullptr;
}

std::string UsageText(const ProgramHelp& help, const Command* command) {
  std::string out;
  if (command != nullptr) {
    AppendUsages(out, help, *command, "usage: ");
    return out;
  }
  AppendSynopsis(out, help);
  for (const CommandGroup& group : help.commands) {
    for (const Command& c : group.commands) AppendUsages(out, help, c, "  ");
  }
  return out;
}

std::string HelpText(const ProgramHelp& help) {
  std::string out;
  AppendSynopsis(out, help);
  for (const std::string_view paragraph : help.description) {
    out += '\n';
    AppendWrapped(out, paragraph, 0);
  }
  AppendItems(out, "Options", help.options);
  for (const CommandGroup& group : help.commands) {
    out += '\n';
    out += group.title;
    out += ":\n";
    for (const Command& command : group.commands) {
      AppendUsages(out, help, command, "  ");
      AppendWrapped(out, command.text, 6);
    }
  }
  for (const std::string_view paragraph : help.notes) {
    out += '\n';
    AppendWrapped(out, paragraph, 0);
  }
  AppendItems(out, "Exit status", help.exitStatus);
  AppendItems(out, "Environment", help.environment);
  AppendItems(out, "Files", help.files);
  AppendItems(out, "Examples", help.examples);
  return out;
}

std::string ManPage(const ProgramHelp& help, std::string_view version, std::string_view date) {
  std::string out = ".TH " + Upper(help.name) + " 1 \"" + std::string(date) + "\" \"vrk " + std::string(version) +
                    "\" \"User Commands\"\n";
  // Paths and option names are not hyphenated, and lines are not stretched to the margin.
  out += ".nh\n.ad l\n";
  out += ".SH NAME\n" + Roff(help.name) + " \\- " + Roff(help.summary) + "\n";
  out += ".SH SYNOPSIS\n";
  for (std::size_t i = 0; i < help.synopsis.size(); ++i) {
    if (i > 0) out += ".br\n";
    out += RoffCommandLine(help.synopsis[i], 1) + '\n';
  }
  out += ".SH DESCRIPTION\n";
  for (std::size_t i = 0; i < help.description.size(); ++i) {
    if (i > 0) out += ".PP\n";
    out += Roff(help.description[i]) + '\n';
  }
  RoffItems(out, "OPTIONS", help.options, true);
  if (!help.commands.empty()) out += ".SH COMMANDS\n";
  for (const CommandGroup& group : help.commands) {
    out += ".SS " + Roff(group.title) + "\n";
    for (const Command& command : group.commands) {
      for (std::size_t i = 0; i < command.usages.size(); ++i) {
        out += i == 0 ? ".TP\n" : ".TQ\n";
        out += RoffCommandLine(std::string(help.name) + " " + std::string(command.usages[i]), 2) + '\n';
      }
      out += Roff(command.text) + '\n';
    }
  }
  for (const std::string_view paragraph : help.notes) out += ".PP\n" + Roff(paragraph) + '\n';
  RoffItems(out, "EXIT STATUS", help.exitStatus, false);
  RoffItems(out, "ENVIRONMENT", help.environment, false);
  RoffItems(out, "FILES", help.files, false);
  RoffItems(out, "EXAMPLES", help.examples, false);
  if (!help.seeAlso.empty()) {
    out += ".SH SEE ALSO\n";
    for (std::size_t i = 0; i < help.seeAlso.size(); ++i) {
      const std::string_view page = help.seeAlso[i];
      const auto open = page.find('(');
      out += ".BR " + Roff(page.substr(0, open)) + " " + std::string(page.substr(open)) +
             (i + 1 < help.seeAlso.size() ? " ,\n" : "\n");
    }
  }
  return out;
}

}  // namespace vrk::help
