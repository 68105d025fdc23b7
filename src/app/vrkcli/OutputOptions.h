// The options every vrkcli search and list command takes for where its entries go: stdout, one line
// per entry as `dump` writes them, or a dBase III table.
#pragma once

#include <memory>
#include <string>

#include "app/vrkcli/Cli.h"
#include "report/Output.h"

namespace vrk::cli {

struct OutputOptions {
  std::string dbf;  // --dbf FILE: the table, taken as given; empty for stdout
};

// Takes the output options out of `args`, leaving the command's own arguments. Returns 0, or the exit
// status after printing what is wrong.
int ParseOutputOptions(Args& args, OutputOptions& options);

// The output the options name, for the session's catalog.
std::unique_ptr<EntryOutput> MakeOutput(Session& session, const OutputOptions& options);

}  // namespace vrk::cli
