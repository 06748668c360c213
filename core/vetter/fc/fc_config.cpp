#include "core/vetter/fc/fc_config.h"

#include "core/vetter/fc/fc_text.h"
#include "core/vetter/identity/id_text.h"
#include "core/vetter/identity/system_id_file.h"

#include <cstdio>
#include <cstring>

namespace fc {

namespace {

const char* const kHexColumnNames[4] = {"Vendor-Id", "Device-Id", "Sub-Vendor-Id", "Sub-System-Id"};

void Store(char* field, size_t width, const std::string& value) {
    identity::CopyBounded(field, width, value);
}

std::string BadHexMessage(int line, const char* column, const std::string& text) {
    std::string m = "\nError line " + std::to_string(line) + ": " + column + " " + text +
                    " is not a valid hex value!\n";
    return m;
}

} // namespace

std::vector<std::string> FcConfigColumns(const std::string& line) {
    std::vector<std::string> columns;
    if (line.find('#') != std::string::npos || line.find("--+--") != std::string::npos) {
        return columns;
    }
    bool anyText = false;
    for (const std::string& raw : identity::SplitColumns(line)) {
        columns.push_back(identity::CleanField(raw));
        if (!columns.back().empty()) anyText = true;
    }
    if (!anyText) columns.clear();
    return columns;
}

FcConfigOutcome ParseFcConfig(const std::string& bytes, fc_config_file_entry*** list, size_t* count,
                              const Allocation& a) {
    FcConfigOutcome o;
    std::vector<std::string> lines = identity::SplitTextLines(bytes);
    for (size_t li = 0; li < lines.size(); ++li) {
        std::vector<std::string> cols = FcConfigColumns(lines[li]);
        if (cols.empty()) continue;
        fc_config_file_entry* e = NewListedRecord(list, count, a);
        if (!e) {
            o.result = kFcConfigNoMemory;
            return o;
        }
        struct Field {
            char* at;
            size_t width;
        };
        const Field fields[13] = {
            {e->column0, sizeof(e->column0)},
            {e->column1, sizeof(e->column1)},
            {e->vendorIdText, sizeof(e->vendorIdText)},
            {e->deviceIdText, sizeof(e->deviceIdText)},
            {e->subVendorIdText, sizeof(e->subVendorIdText)},
            {e->subSystemIdText, sizeof(e->subSystemIdText)},
            {e->column6, sizeof(e->column6)},
            {e->column7, sizeof(e->column7)},
            {e->column8, sizeof(e->column8)},
            {e->column9, sizeof(e->column9)},
            {e->column10, sizeof(e->column10)},
            {e->column11, sizeof(e->column11)},
            {e->column12, sizeof(e->column12)},
        };
        fc_config_sub_record* last = nullptr;
        for (size_t c = 0; c < cols.size(); ++c) {
            if (c < 13) {
                Store(fields[c].at, fields[c].width, cols[c]);
                continue;
            }
            size_t t = (c - 13) % 3;
            if (t == 0) {
                auto* sub =
                    static_cast<fc_config_sub_record*>(a.zeroed(1, sizeof(fc_config_sub_record)));
                if (!sub) {
                    o.result = kFcConfigNoMemory;
                    return o;
                }
                if (last) {
                    last->next = sub;
                } else {
                    e->firstSub = sub;
                }
                last = sub;
            }
            if (t == 0) Store(last->first, sizeof(last->first), cols[c]);
            if (t == 1) Store(last->second, sizeof(last->second), cols[c]);
            if (t == 2) Store(last->third, sizeof(last->third), cols[c]);
        }
        int32_t* const values[4] = {&e->vendorId, &e->deviceId, &e->subVendorId, &e->subSystemId};
        for (int h = 0; h < 4; ++h) {
            std::string text = size_t(2 + h) < cols.size() ? cols[2 + h] : std::string();
            std::vector<char> buf(text.begin(), text.end());
            buf.push_back('\0');
            String2IntResult r = String2Int(buf.data(), 16);
            if (r.outOfRange || r.value < 0) {
                o.endProcess = true;
                o.line = int(li + 1);
                o.rangeError = r.outOfRange;
                o.exitCode = r.outOfRange ? kExitOutOfRange : kExitBadHexValue;
                if (!r.outOfRange) o.message = BadHexMessage(o.line, kHexColumnNames[h], text);
                return o;
            }
            *values[h] = r.value;
        }
    }
    return o;
}

} // namespace fc
