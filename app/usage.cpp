#include "app/usage.h"

#ifndef STIMSEL_VERSION
#define STIMSEL_VERSION "unknown"
#endif

void printUsage(std::ostream& out) {
  out << "Usage: stimsel #words [YES/NO arousewords] [exclude filename] [pos]\n"
      << "To run the stimpick program you must type\n"
      << "the total number of words you want.\n"
      << "You may elect no arousal words by typing\n"
      << "  the word 'NO' after the word file.\n"
      << "You may elect no neutral words by typing\n"
      << "  the word 'Val' after the word file.\n"
      << "You may specify a file of words to exclude\n"
      << "  as a third argument (specifying 0 is the same as\n"
      << "  not entering a word file to exclude).\n"
      << "  Note: A file of words to exclude should be 1 column\n"
      << "  starting with the number of words, followed by each word\n"
      << "You may specify just 1 part of speech by typing it\n"
      << "  as a fourth argument. Legal parts of speech include\n"
      << "  n (noun), v (verb), adj (adjective), adv (adverb)\n"
      << "  prep (preposition), conj (conjunction)\n"
      << "  So, a sample command might be\n"
      << "      stimpick 16 NO 0 adj\n"
      << "which would generate a list of 16 non-arousing\n"
      << "positive, negative, and neutral adjectives.\n";
}

void printHelp(std::ostream& out) {
  printUsage(out);
  out << "\n"
      << "Files are read from the current folder unless a path says otherwise.\n"
      << "Options (anywhere on the line; they do not count as positions; \"--name=value\"\n"
      << "works too; a repeated option: the last one counts):\n"
      << "  --seed N                draw with seed N (0 to 4294967295) instead of the\n"
      << "                          clock, so that the same list can be drawn again\n"
      << "  --norms FILE            the norms table instead of KOVA.txt\n"
      << "  --norms-format F        classic, csv or tsv (default: by the extension,\n"
      << "                          .csv csv, .tsv/.tab tsv, else classic)\n"
      << "  --header-lines H        header lines of a classic file (default 41)\n"
      << "  --column ROLE=NAME      the column of a csv/tsv file holding ROLE: word,\n"
      << "                          valence, valence_sd, arousal, frequency or pos\n"
      << "  --frequency FILE        join frequencies from this csv/tsv table by word\n"
      << "  --frequency-column NAME its frequency column (default SUBTLWF)\n"
      << "  --scale LOW:HIGH        the ratings' scale when it is not 1:9 (0:1, -3:3)\n"
      << "  --frequency-unit U      per-million or other: whether the frequencies are\n"
      << "                          per million (default: per million when the column is\n"
      << "                          SUBTLWF); per-million frequencies are matched as Zipf\n"
      << "                          within 0.2 unless a tolerance option says otherwise\n"
      << "  --tags FILE             the tag file instead of kovatags.txt\n"
      << "  --exclude FILE          the exclusion file (the third position's spelling)\n"
      << "  --pos TAG               the part of speech (the fourth position's spelling)\n"
      << "  --design affect         the built-in six affect categories (the default)\n"
      << "  --lists L               L lists with no word in common, dealt from one draw\n"
      << "  --length-tolerance D    letters a partner may differ (default 2)\n"
      << "  --frequency-tolerance F frequency units a partner may differ (default 10)\n"
      << "  --zipf-tolerance Z      match frequency on the Zipf scale within Z instead\n"
      << "  --match anchor|all      close to the group's anchor (default) or to every\n"
      << "                          word of the group\n"
      << "  --out FILE              write the list as .csv, .tsv or .json; - for standard\n"
      << "                          output alone (messages then go to standard error)\n"
      << "  --out-format F          csv, tsv or json, whatever the extension\n"
      << "  --report                add a balance report after the table\n"
      << "  --plot FILE.svg         draw the list as an SVG figure; - for standard output\n"
      << "                          alone, as with --out - (not with --out - or --report)\n"
      << "  --datasheet FILE.md     write a datasheet for a methods section: the files\n"
      << "                          read (with SHA-256), the words each rule removed,\n"
      << "                          every pair's balance and a methods paragraph, as\n"
      << "                          FILE.md (Markdown) and FILE.json beside it\n"
      << "  --equivalence-bound B   the bound of the report's and datasheet's equivalence\n"
      << "                          tests: NUMBERsd in pooled SDs (default 0.5sd), or\n"
      << "                          VARIABLE=VALUE in the variable's own units (length=1,\n"
      << "                          zipf=0.1, frequency=2); repeatable, one per variable\n"
      << "  --help                  print this text and stop\n"
      << "  --version               print the version and stop\n"
      << "\n"
      << "Output files are written in full, then replace the old ones all at once; an\n"
      << "output that is an input, a folder, a FIFO or a device is refused.\n"
      << "\n"
      << "Exit status:\n"
      << "  0  the whole list was printed\n"
      << "  1  an input file could not be opened or is malformed, or an output could not\n"
      << "     be written (then no output file is replaced)\n"
      << "  2  an unknown option or a bad option value, or an output that names an input\n"
      << "     or another output\n"
      << "  3  the list could not be completed; the words matched were printed\n";
}

std::string versionText() {
  return STIMSEL_VERSION;
}

void printVersion(std::ostream& out) {
  out << "stimsel " << versionText() << "\n";
}
