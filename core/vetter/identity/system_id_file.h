#pragma once
// The system-ID file "System_Ids_2_Abstract_Ids.txt": line rules, the entry
// record and the walks over the entries (abstract chassis mapping, blade
// decision).
//
// Lines are read in full however long they are (the file's nominal limit is
// 1023 characters); columns longer than their field are cut to fit, so a long
// line still yields exactly one entry.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#pragma pack(push, 1)
struct system_id_file_entry {
    char dNumber[20];
    char nativeChassisId[20];
    char abstractId[20];
    char nativeModelId[40];
    char isBlade[10];
};
#pragma pack(pop)
static_assert(sizeof(system_id_file_entry) == 110, "system-ID entry is 110 bytes");
static_assert(offsetof(system_id_file_entry, nativeChassisId) == 20, "column 1");
static_assert(offsetof(system_id_file_entry, abstractId) == 40, "column 2");
static_assert(offsetof(system_id_file_entry, nativeModelId) == 60, "column 3");
static_assert(offsetof(system_id_file_entry, isBlade) == 100, "column 4");

namespace identity {

constexpr const char* kSystemIdFileName = "System_Ids_2_Abstract_Ids.txt";
constexpr size_t kSystemIdColumns = 5;
// Results of Read_System_ID_File.
constexpr int kSysIdNoModulePath = 49;
constexpr int kSysIdNoFile = 50;
constexpr int kSysIdNoMemory = 54;

// Splits file bytes into lines as a text-mode reader sees them: "\r\n" and
// "\n" end a line, the terminator is not part of it; a last line without
// terminator counts, an empty remainder after the last terminator does not.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// Splits at "|": consecutive, leading and trailing separators count as one.
std::vector<std::string> SplitColumns(const std::string& line);

// One column value of the system-ID file: cleaned, then the text between the
// first single quote and the last one after it (if any).
std::string SystemIdColumnValue(const std::string& raw);

// The entry of one line; false for a comment line or a line of "|" alone.
bool ParseSystemIdLine(const std::string& line, system_id_file_entry* entry);
std::vector<system_id_file_entry> ParseSystemIdFile(const std::string& bytes);

// Asked only for entries with a model column; false when the model name
// cannot be determined.
using ModelNameQuery = std::function<bool(std::string* model)>;

// The mapping walk: the abstract identifier of the first matching entry with
// a non-empty column 2; the chassis itself when none.
std::string MapAbstractChassis(const system_id_file_entry* const* entries, size_t count,
                               const std::string& dNumber, const std::string& chassis,
                               const ModelNameQuery& modelName);

// The first entry whose column 0 prefixes the D-number decides: a blade
// when its column 4 begins with "yes".
bool IsBladeByEntries(const system_id_file_entry* const* entries, size_t count,
                      const std::string& dNumber);

// Pointers to a vector's entries, for the walks above in tests and tools.
std::vector<const system_id_file_entry*>
EntryPointers(const std::vector<system_id_file_entry>& entries);

// A field of an entry as text (bounded by its width).
std::string FieldText(const char* field, size_t width);

} // namespace identity
