// What vrkcli says about itself, and what runs each of its commands: a command is one record here,
// and its help, usage lines, manual page and dispatch follow from it.
#include "app/vrkcli/VrkcliHelp.h"

#include "app/vrkcli/Cli.h"

namespace vrk::help {

const ProgramHelp& VrkcliHelp() {
  static const ProgramHelp help{
      .name = "vrkcli",
      .summary = "work with VRK catalogs from the command line",
      .synopsis = {"vrkcli COMMAND ARGUMENTS...", "vrkcli --help | --version"},
      .description =
          {"vrkcli runs the operations of the VRK catalog program from the command line, for scripts and batch "
           "work. It reads and writes the same files as the desktop program vrk. A catalog is a layout of up to "
           "twenty fixed-length fields; key fields are indexed for alphabetical order, sum fields are totalled, "
           "and computed fields are worked out from two others.",
           "BASE names a catalog: DIR/NAME, or NAME in the current directory, NAME being 1 to 8 letters and "
           "digits (upper case on the disk); its setup file NAME.SET or its entry file NAME.DAT may be named "
           "instead. FIELD is a field's number, 1 to 21, or its name (letter case and trailing blanks ignored).",
           "Entries are printed one line each, in UTF-8: the entry number, active or deleted, then the text of "
           "every used field, separated by one TAB, trailing blanks removed. Messages go to standard error, one "
           "line each; when standard error is a terminal, long operations show a progress line there.",
           "A catalog is never changed by two programs at once. A command that changes a catalog locks it; when "
           "another program holds it for more than two seconds, the command says that it is in use by another "
           "program. Reading goes on meanwhile. If vrkcli is killed at any moment, no saved entry is lost, and "
           "key indexes left half-changed are rebuilt before they are used."},
      .options = {{"--help", "Prints this help and ends."},
                  {"--version", "Prints the version and ends."},
                  {"--dbf FILE",
                   "With a search or list: the entries found go into the new dBase III table FILE instead of "
                   "standard output."},
                  {"--ascii FILE",
                   "With a search or list: the entries found go into an ASCII report in FILE (replaced when it is "
                   "there), laid out by the catalog's report format, in code page 1252 with CR LF line ends."},
                  {"--html FILE",
                   "With a search or list: the same report as --ascii as one web page in FILE (replaced when it is "
                   "there), UTF-8, its lines as they stand, which a browser shows and prints."},
                  {"--pdf FILE",
                   "With a search or list: the report is printed into the PDF file FILE through the desktop "
                   "program's printer."},
                  {"--title TEXT", "With --pdf: the report's title."},
                  {"--paper continuous|single|labels", "With --pdf: the paper the report is laid out for."}},
      .commands =
          {{"Catalogs and entries",
            {{"new",
              {"new BASE FIELD..."},
              "Makes a new, empty catalog. Each FIELD is NAME:LENGTH[:key][:sum][:calc=XoY]: NAME of at most 14 "
              "characters, LENGTH 1 to 80, key for a key field, sum for a sum field, and calc=XoY for a field "
              "computed from fields X and Y (letters A to U for fields 1 to 21) with the operator o, one of + - * /. "
              "Fields are numbered in the order given.",
              cli::CommandNew},
             {"add",
              {"add BASE FIELD=VALUE... [--lossy]"},
              "Adds an entry and prints its number. Fields not named stay blank; a computed field cannot be given, "
              "and a value longer than its field is refused. A value with a character the catalog's files cannot "
              "hold is refused, naming the character; with --lossy it is stored in its closest form and the "
              "characters changed are counted.",
              cli::CommandAdd},
             {"info",
              {"info BASE"},
              "Prints the number of entries, the entry length and whether the catalog is sorted, then a line for "
              "each field: number, name, length, kind (plain, key, sum or key+sum) and formula.",
              cli::CommandInfo},
             {"dump", {"dump BASE"}, "Prints every entry in entry order, deleted entries included.", cli::CommandDump},
             {"walk",
              {"walk BASE FIELD"},
              "Prints every entry in the alphabetical order of the key field FIELD. Indexes left incomplete are "
              "rebuilt first.",
              cli::CommandWalk},
             {"list",
              {"list BASE [--filter TEXT] [--order FIELD[:desc]] [--hide-deleted]"},
              "Prints the rows of the desktop's catalog table: the entries that hold TEXT in any field, and for "
              "each word NAME:TEXT (NAME a field's name or its first letters) the entries whose field holds that "
              "TEXT, letter case as the catalog says; in entry order, in the order of FIELD (numbers as numbers "
              "for sum and computed fields; entries with equal values in entry order), along the sorted chain "
              "for sorted, or for number in entry order; :desc reverses it. --hide-deleted leaves deleted "
              "entries out.",
              cli::CommandList},
             {"delete",
              {"delete BASE N"},
              "Marks entry N deleted. A deleted entry keeps its number and its text, and leaves the alphabetical "
              "orders.",
              cli::CommandDelete},
             {"undelete",
              {"undelete BASE N"},
              "Makes the deleted entry N an ordinary entry again.",
              cli::CommandUndelete},
             {"reindex",
              {"reindex BASE"},
              "Builds the alphabetical index of every key field again from the entries.",
              cli::CommandReindex},
             {"totals",
              {"totals BASE"},
              "Adds up every sum field over the whole catalog, deleted entries included, and prints each field's "
              "name and total, in the number format of the user's locale.",
              cli::CommandTotals},
             {"demo",
              {"demo BASE"},
              "Makes a demo record collection of 200 albums to try the program on, and makes it the current "
              "catalog of the program directory's VRK.INI.",
              cli::CommandDemo}}},
           {"Interchange",
            {{"import-dbf",
              {"import-dbf FILE BASE"},
              "Makes the new catalog BASE from the dBase III table FILE: its first 20 fields become catalog fields "
              "of their names and lengths (numbers wider than 80 characters cut to 80), every record an entry. The "
              "text is converted from the code page the table's NAME.CPG file or its header names. Dates follow "
              "the user's date format.",
              cli::CommandImportDbf},
             {"export-dbf",
              {"export-dbf BASE FILE [--overwrite]"},
              "Writes every entry of BASE into the new dBase III table FILE, under exactly that name, one "
              "character field for each used field, in code page 1252, which the table's header and a NAME.CPG "
              "file beside it name. An existing FILE is replaced only with --overwrite.",
              cli::CommandExportDbf},
             {"import-csv",
              {"import-csv FILE BASE [--key NAME]... [--delimiter C] [--encoding E] [--no-guard]"},
              "Makes the new catalog BASE from the CSV file FILE (RFC 4180, UTF-8), whose first row names the "
              "columns: up to 20 columns become fields of those names, each as long as its longest value (at "
              "most 80 characters; longer values are cut), every other row an entry, and the columns NAME key "
              "fields, their keys filed. The Number and Status columns export-csv writes are not fields: a "
              "Status of deleted makes the entry deleted. What the catalog cannot hold is counted in a notice: "
              "characters outside its character set become ?, line breaks blanks. The delimiter (comma, semicolon, "
              "TAB or |) is found from the first rows and said when it is no comma, unless --delimiter names it "
              "(, ; | or tab); --encoding names the file's encoding: utf-8, cp1252, latin1 or utf-16 (a file "
              "with a UTF-16 byte-order mark is read as UTF-16 anyway). The leading ' export-csv puts before "
              "a formula is taken off, unless --no-guard is given.",
              cli::CommandImportCsv},
             {"export-csv",
              {"export-csv BASE FILE [--overwrite] [--delimiter C] [--encoding E] [--bom] [--no-guard]"},
              "Writes every entry of BASE into the CSV file FILE (RFC 4180, UTF-8, CR LF line ends), which "
              "spreadsheets open: a header row of Number, Status and the field names, then a row for each "
              "entry with the values dump prints. An existing FILE is replaced only with --overwrite, and is "
              "left as it was when the export fails. --delimiter writes ; | or tab between the values, --encoding "
              "writes cp1252, latin1 or utf-16 (with its byte-order mark; a character the encoding lacks becomes "
              "? and is counted), --bom begins a UTF-8 file with a byte-order mark. A value a spreadsheet would "
              "take for a formula (beginning with =, +, -, @, TAB or CR, but no plain number such as -5.00) is "
              "written with a leading ', which spreadsheets do not show; --no-guard writes it as it is.",
              cli::CommandExportCsv},
             {"export-xlsx",
              {"export-xlsx BASE FILE [--overwrite]"},
              "Writes every entry of BASE into the spreadsheet workbook FILE (.xlsx): one sheet with a bold, "
              "frozen header row of Number, Status and the field names, then a row for each entry. A field "
              "whose every value is a number (sum and computed fields always) holds numbers, every other one "
              "text; the columns are as wide as the fields. An existing FILE is replaced only with "
              "--overwrite, and is left as it was when the export fails.",
              cli::CommandExportXlsx}}},
           {"Catalog administration",
            {{"catalogs",
              {"catalogs DIR"},
              "Lists the catalogs of the directory DIR with their numbers of entries.",
              cli::CommandCatalogs},
             {"edit-layout",
              {"edit-layout BASE FIELD..."},
              "Gives BASE a new layout, FIELD as for new. When field lengths change, every entry is rebuilt into "
              "the new lengths; the old catalog stays whole until the new one is complete.",
              cli::CommandEditLayout},
             {"rename",
              {"rename BASE NEWNAME"},
              "Gives every file of the catalog the new name NEWNAME.",
              cli::CommandRename},
             {"remove", {"remove BASE --yes"}, "Removes every file of the catalog.", cli::CommandRemove},
             {"reserve",
              {"reserve BASE N"},
              "Makes room on the disk for N entries to come (N 0 to 9999) and prints the space taken, in K.",
              cli::CommandReserve},
             {"backup",
              {"backup BASE"},
              "Writes every file of the catalog into one archive, backup/NAME-YYYYMMDD-HHMMSS.tar.gz beside it, "
              "through the program vrkback. Any tar restores it.",
              cli::CommandBackup},
             {"sort",
              {"sort BASE FIELD..."},
              "Sorts the catalog on 1 to 9 fields, each one ordering the entries the ones before leave equal. "
              "Entries keep their numbers; sequential searches then follow the sorted order.",
              cli::CommandSort},
             {"unsort", {"unsort BASE"}, "Puts the catalog back into entry order.", cli::CommandUnsort},
             {"copy-entries",
              {"copy-entries SOURCE DEST [D=S]..."},
              "Appends every entry of the catalog SOURCE to the catalog DEST of the same directory. Destination "
              "field D takes source field S; each D=S swaps two rows of the mapping, which starts from D=D for "
              "every field.",
              cli::CommandCopyEntries},
             {"eliminate",
              {"eliminate BASE --yes"},
              "Removes the deleted entries for good, closing the gaps, and prints how many went. The catalog is "
              "unsorted afterwards and its indexes are built again.",
              cli::CommandEliminate},
             {"set-code",
              {"set-code N [--current CODE]"},
              "Sets the security code that the desktop program asks for at start-up: 0 to 250 ends it on a wrong "
              "answer, 251 to 500 opens it for looking only, 501 or more asks nothing. When a code is set, "
              "--current gives it. The code guards against accidental use of the desktop program; it does not "
              "protect the files, which vrkcli and other programs read and change whatever it is.",
              cli::CommandSetCode}}},
           {"Memos, pictures and macros",
            {{"memo",
              {"memo BASE N [--set TEXT | --remove]"},
              "Prints entry N's memo, gives it the memo TEXT, or removes it.",
              cli::CommandMemo},
             {"media",
              {"media BASE N [--picture PATH] [--sound PATH]"},
              "Prints the picture and sound files of entry N, or names new ones.",
              cli::CommandMedia},
             {"macros",
              {"macros BASE [KEY=TEXT]..."},
              "Prints the catalog's text macros, or sets the text that Alt with KEY types: KEY is 1 to 9, 0 or a "
              "letter other than E, F, H, O, R, U and V, TEXT at most 64 characters.",
              cli::CommandMacros}}},
           {"Reports",
            {{"format",
              {"format new NAME ITEM@ROW:COL:WIDTH... [--lines N] [--titles]", "format show NAME",
               "format select BASE NAME"},
              "Makes the report format NAME.FMT in the program directory, prints one, or makes it the report "
              "format of a catalog. ITEM is a field (1 to 21 or a name of the current catalog) or # for the entry "
              "number, placed at line ROW and column COL of an entry's lines, WIDTH characters wide; --lines sets "
              "the lines per entry and --titles prints the field names as titles.",
              cli::CommandFormat},
             {"settings",
              {"settings BASE [KEY=VALUE]..."},
              "Prints or changes the report settings of a catalog. KEY is one of page-length, top-margin, "
              "dashed-line, column-headings, lock-top-line (0, 1 or 2), print-memos, page-numbers, qv-max-lines "
              "and qv-column-width; switches take 0 or 1.",
              cli::CommandSettings}}},
           {"Searches and lists",
            {{"search",
              {"search BASE [FIELD=TEXT]... [--alpha KEYFIELD] [--start TEXT] [--end FIELD=TEXT]..."},
              "Prints the entries whose fields contain the texts given, letter case ignored; without a FIELD=TEXT, "
              "every entry. With --alpha the search follows the alphabetical order of KEYFIELD, whose text must "
              "begin the field, from the key --start on, up to the entries --end names.",
              cli::CommandSearch},
             {"list-range",
              {"list-range BASE START END"},
              "Prints the entries numbered START to END.",
              cli::CommandListRange},
             {"list-alpha",
              {"list-alpha BASE KEYFIELD [--start TEXT] [--end FIELD=TEXT]..."},
              "Prints the entries in the alphabetical order of KEYFIELD, from the key --start on, up to the "
              "entries --end names.",
              cli::CommandListAlpha},
             {"find-deleted", {"find-deleted BASE"}, "Prints the deleted entries.", cli::CommandFindDeleted},
             {"global-search",
              {"global-search BASE TEXT [--case | --ignore-case]"},
              "Prints the entries that hold TEXT in any field, deleted entries included; letter case as the "
              "catalog says, unless an option says otherwise.",
              cli::CommandGlobalSearch},
             {"replace",
              {"replace BASE SEARCH REPLACEMENT [--field FIELD] [--from N] [--case | --ignore-case] [--lossy]"},
              "Replaces SEARCH with REPLACEMENT in FIELD, or in every field, from entry N on (from the first "
              "without --from), and prints how many fields changed. Key indexes are kept up to date.",
              cli::CommandReplace}}}},
      .notes = {"Texts typed for fields, searches, replacements, report titles and macros that hold a character "
                "the catalog cannot keep are refused; the searches, lists and replace take --lossy, which keeps "
                "the closest form instead.",
                "The searches and lists take the output options --dbf, --ascii, --html and --pdf; without them they "
                "print "
                "the entries found on standard output."},
      .exitStatus = {{"0", "Everything was done and stored; a search or list found entries."},
                     {"1", "A failure, reported on standard error."},
                     {"2", "Bad input: an unknown command, a wrong argument or a value a field cannot hold."},
                     {"3",
                      "Nothing found: search, list-range, list-alpha, find-deleted or global-search found no "
                      "entry, or replace changed nothing."}},
      .environment = {{"VRK_HOME",
                       "The program directory, where VRK.INI, the report formats and the security code live. When "
                       "it is not set, the directory of the executable is taken when it may be written, and "
                       "otherwise the user's data folder."},
                      {"XDG_DATA_HOME",
                       "The user's data folder is $XDG_DATA_HOME/vrk, or ~/.local/share/vrk when it is not set."},
                      {"LC_ALL, LC_NUMERIC, LC_TIME, LANG",
                       "The user's locale: the format of totals and of dates read from dBase tables. Numbers in "
                       "fields are always written with a period."}},
      .files = {{"NAME.SET, NAME.DAT", "A catalog's setup file (layout and settings) and entry file."},
                {"NAME.MEM, NAME.MCR", "A catalog's memos and text macros."},
                {"NAMEXXNN.WDX", "The index of key field NN, from the first six letters of the catalog's name."},
                {"VRK.INI", "The program's settings in the program directory, among them the current catalog."},
                {"NAME.FMT", "A report format, in the program directory."},
                {"VANTLOCK.SET", "The security code, in the program directory."},
                {"vrkpdf.so",
                 "The desktop program's printer for --pdf, loaded only then: in ../lib/ARCH/vrk beside the "
                 "directory of vrkcli, or beside vrkcli itself."}},
      .examples = {{"vrkcli demo ~/RECORDS", "Makes the demo record collection in the home folder."},
                   {"vrkcli new ~/books/BOOKS Author:30:key Title:40:key Year:4 Price:8:sum",
                    "Makes a catalog of books with two key fields and a sum field."},
                   {"vrkcli add ~/books/BOOKS Author='Le Guin' Title='The Dispossessed' Year=1974 Price=9.50",
                    "Adds an entry and prints its number."},
                   {"vrkcli walk ~/books/BOOKS Author", "Lists the books in the order of their authors."},
                   {"vrkcli search ~/RECORDS Genre=jazz --pdf jazz.pdf --title 'Jazz'",
                    "Prints the jazz records into a PDF report."},
                   {"vrkcli export-dbf ~/RECORDS records.dbf", "Writes the catalog into a dBase III table."},
                   {"vrkcli export-csv ~/RECORDS records.csv", "Writes the catalog into a CSV file for a spreadsheet."},
                   {"vrkcli import-csv stamps.csv ~/STAMPS --key Country --key Year",
                    "Makes the catalog STAMPS from a spreadsheet's CSV file, with two key fields."}},
      .seeAlso = {"vrk(1)", "vrkback(1)"}};
  return help;
}

}  // namespace vrk::help
