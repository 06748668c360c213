#include "core/vetter/identity/system_id_file.h"

#include "core/vetter/identity/id_text.h"

#include <cstring>

namespace identity {

namespace {

void StoreColumn(char* field, size_t width, const std::string& value) {
    CopyBounded(field, width, value);
}

bool StartsWithField(const std::string& text, const char* field, size_t width) {
    std::string prefix = FieldText(field, width);
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::vector<std::string> SplitTextLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        size_t end = nl;
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.push_back(bytes.substr(start, end - start));
        start = nl + 1;
    }
    return lines;
}

std::vector<std::string> SplitColumns(const std::string& line) {
    std::vector<std::string> columns;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '|') {
            ++i;
            continue;
        }
        size_t end = line.find('|', i);
        if (end == std::string::npos) end = line.size();
        columns.push_back(line.substr(i, end - i));
        i = end;
    }
    return columns;
}

std::string SystemIdColumnValue(const std::string& raw) {
    std::string value = CleanField(raw);
    size_t first = value.find('\'');
    if (first == std::string::npos) return value;
    std::string rest = value.substr(first + 1);
    size_t last = rest.rfind('\'');
    if (last != std::string::npos) rest.resize(last);
    return rest;
}

bool ParseSystemIdLine(const std::string& line, system_id_file_entry* entry) {
    if (line.find('#') != std::string::npos) return false;
    std::vector<std::string> columns = SplitColumns(line);
    // An empty line still gives an (empty) entry; only bars alone give none.
    if (columns.empty() && !line.empty()) return false;
    std::memset(entry, 0, sizeof(*entry));
    char* const fields[kSystemIdColumns] = {entry->dNumber, entry->nativeChassisId,
                                            entry->abstractId, entry->nativeModelId,
                                            entry->isBlade};
    const size_t widths[kSystemIdColumns] = {sizeof(entry->dNumber), sizeof(entry->nativeChassisId),
                                             sizeof(entry->abstractId),
                                             sizeof(entry->nativeModelId), sizeof(entry->isBlade)};
    for (size_t c = 0; c < columns.size() && c < kSystemIdColumns; ++c) {
        StoreColumn(fields[c], widths[c], SystemIdColumnValue(columns[c]));
    }
    return true;
}

std::vector<system_id_file_entry> ParseSystemIdFile(const std::string& bytes) {
    std::vector<system_id_file_entry> entries;
    for (const std::string& line : SplitTextLines(bytes)) {
        system_id_file_entry e;
        if (ParseSystemIdLine(line, &e)) entries.push_back(e);
    }
    return entries;
}

std::string FieldText(const char* field, size_t width) {
    size_t n = 0;
    while (n < width && field[n] != '\0')
        ++n;
    return std::string(field, n);
}

std::string MapAbstractChassis(const system_id_file_entry* const* entries, size_t count,
                               const std::string& dNumber, const std::string& chassis,
                               const ModelNameQuery& modelName) {
    std::string out;
    for (size_t i = 0; i < count && entries[i]; ++i) {
        const system_id_file_entry& e = *entries[i];
        if (!StartsWithField(dNumber, e.dNumber, sizeof(e.dNumber))) continue;
        if (!StartsWithField(chassis, e.nativeChassisId, sizeof(e.nativeChassisId))) continue;
        std::string model = FieldText(e.nativeModelId, sizeof(e.nativeModelId));
        if (!model.empty()) {
            std::string actual;
            if (!modelName || !modelName(&actual) || actual != model) continue;
        }
        out = FieldText(e.abstractId, sizeof(e.abstractId));
        if (!out.empty()) break;
    }
    return out.empty() ? chassis : out;
}

bool IsBladeByEntries(const system_id_file_entry* const* entries, size_t count,
                      const std::string& dNumber) {
    for (size_t i = 0; i < count && entries[i]; ++i) {
        const system_id_file_entry& e = *entries[i];
        if (!StartsWithField(dNumber, e.dNumber, sizeof(e.dNumber))) continue;
        return std::strncmp(e.isBlade, "yes", 3) == 0;
    }
    return false;
}

std::vector<const system_id_file_entry*>
EntryPointers(const std::vector<system_id_file_entry>& entries) {
    std::vector<const system_id_file_entry*> p;
    for (const system_id_file_entry& e : entries)
        p.push_back(&e);
    return p;
}

} // namespace identity
