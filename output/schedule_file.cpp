#include "output/schedule_file.h"

#include <filesystem>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

void writeDelimited(const Schedule& schedule, char delimiter, std::ostream& out) {
  const char* const eol = delimiter == ',' ? "\r\n" : "\n";
  out << "participant_group" << delimiter << "condition" << delimiter << "list" << eol;
  for (size_t p = 0; p < schedule.size(); ++p) {
    for (size_t t = 0; t < schedule[p].size(); ++t) {
      out << p + 1 << delimiter << t + 1 << delimiter << schedule[p][t] + 1 << eol;
    }
  }
}

void writeJson(const Schedule& schedule, std::ostream& out) {
  Json rows = Json::array();
  for (size_t p = 0; p < schedule.size(); ++p) {
    for (size_t t = 0; t < schedule[p].size(); ++t) {
      Json row;
      row["participant_group"] = p + 1;
      row["condition"] = t + 1;
      row["list"] = schedule[p][t] + 1;
      rows.push_back(std::move(row));
    }
  }
  out << rows.dump(2) << "\n";
}

}  // namespace

std::string schedulePath(const std::string& outFile) {
  const std::filesystem::path path(outFile);
  const std::string name = path.filename().string();
  const std::string extension = path.filename().extension().string();
  const std::string folder = outFile.substr(0, outFile.size() - name.size());
  return folder + name.substr(0, name.size() - extension.size()) + "-schedule" + extension;
}

void printSchedule(const Schedule& schedule, std::ostream& out) {
  const size_t lists = schedule.empty() ? 0 : schedule[0].size();
  out << "\nCounterbalancing schedule: the list each participant group gets in each condition";
  if (lists % 2 == 0) {
    out << " (a Williams square: every list once in every condition, and every list right "
           "after every other list once)";
  } else if (lists > 1) {
    out << " (a Latin square and its mirror image: every list twice in every condition, and "
           "every list right after every other list twice)";
  }
  out << "\ngroup";
  for (size_t t = 1; t <= lists; ++t) out << "\tcondition " << t;
  out << "\n";
  for (size_t p = 0; p < schedule.size(); ++p) {
    out << p + 1;
    for (int list : schedule[p]) out << "\tlist " << list + 1;
    out << "\n";
  }
}

void writeScheduleExport(const Schedule& schedule, ExportFormat format, std::ostream& out) {
  switch (format) {
    case ExportFormat::Csv:
      writeDelimited(schedule, ',', out);
      break;
    case ExportFormat::Tsv:
      writeDelimited(schedule, '\t', out);
      break;
    case ExportFormat::Json:
      writeJson(schedule, out);
      break;
  }
}
