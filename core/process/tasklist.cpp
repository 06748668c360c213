#include "core/process/tasklist.h"

#include "core/process/matching.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

namespace {

// Quoted fields keep their commas: image names may contain them, and the
// memory column does ("1,234 K").
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

} // namespace

std::vector<TasklistRow> ParseTasklistCsv(const std::string& output) {
    std::vector<TasklistRow> rows;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::string line = Trim(output.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        std::vector<std::string> fields = CsvFields(line);
        TasklistRow row;
        row.imageName = Trim(fields[0]);
        if (fields.size() > 1) row.pid = Trim(fields[1]);
        rows.push_back(row);
    }
    return rows;
}

uint32_t TasklistProcessId(const std::string& output, const std::string& target) {
    const std::string name = Trim(FileNamePart(Trim(target)));
    if (name.empty()) return 0;
    for (const TasklistRow& row : ParseTasklistCsv(output)) {
        if (!SameText(row.imageName, name)) continue;
        const int64_t id = TextToInt64(row.pid, 0);
        if (id > 0 && id <= UINT32_MAX) return static_cast<uint32_t>(id);
    }
    return 0;
}
