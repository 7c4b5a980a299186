// The counterbalancing schedule as the run shows and writes it: a table
// after the list, and a file beside the export in the export's format.
#ifndef STIMSEL_OUTPUT_SCHEDULE_FILE_H_
#define STIMSEL_OUTPUT_SCHEDULE_FILE_H_

#include <ostream>
#include <string>

#include "balance/latin_square.h"
#include "output/export.h"

// The schedule's file for the export file `outFile`: "-schedule" before the
// extension of its last path component ("lists/list.csv" ->
// "lists/list-schedule.csv"), or after a name without one.
std::string schedulePath(const std::string& outFile);

// A heading naming the design (a Williams square for an even number of
// lists, a square and its mirror image for an odd one), then one line per
// participant group: its number and the list (1..L) of each condition, tab
// separated.
void printSchedule(const Schedule& schedule, std::ostream& out);

// One row per participant group and condition, in that order, with the
// columns participant_group, condition and list (all counted from 1), as
// CSV, TSV or a JSON array of objects, written as the export writes its
// format (CSV lines end in "\r\n", TSV and JSON lines in "\n").
void writeScheduleExport(const Schedule& schedule, ExportFormat format, std::ostream& out);

#endif  // STIMSEL_OUTPUT_SCHEDULE_FILE_H_
