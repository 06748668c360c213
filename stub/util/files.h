#pragma once
// Unit Files: whole- and part-file reads and writes, free space, searches
// over folders and drives, recursive deletion, the self-deleting batch and
// the CD eject. Failures are results (false, empty, 0, -1); nothing raises.
#include "stub/util/console.h"

#include <windows.h>

#include <cstdint>
#include <string>

// kind 0: range (maximum, position), 1: step. The callback may set cancel.
using FileProgressProc = void (*)(int32_t kind, int32_t reserved, int32_t maximum, int32_t position,
                                  int32_t step, bool& cancel);

// Size of the first match of path (any attributes); 0 when none.
int64_t FileSizeByName(const std::string& path);
// Up to count bytes from offset (count 0: to the end); empty on any failure.
std::string ReadFilePart(const std::string& path, uint32_t count, int64_t offset);
// fileDate: packed DOS date (high word) and time (low word), local time; 0
// leaves the date alone.
bool WriteFileText(const std::string& path, const std::string& data, int32_t fileDate, bool append,
                   FileProgressProc callback);
bool AppendFileText(const std::string& path, const std::string& data, int32_t fileDate);

// Free bytes available to the caller on the volume of path; -1 when unknown.
double DiskFree(const std::string& path);

std::string FindFileInTree(const std::string& folder, const std::string& fileName);
// Drive roots C: to Z: of the given drive type (DRIVE_FIXED, DRIVE_CDROM, ...).
std::string FindFileOnDrives(const std::string& fileName, int driveType);
std::string FindDirInTree(const std::string& folder, const std::string& dirName);
std::string FindDirOnDrives(const std::string& dirName, int driveType);

// Deletes the files matching mask; true when at least one matched.
bool DeleteFiles(const std::string& mask, bool clearAttributes);
// True when the folder existed and is gone afterwards.
bool DeleteTree(const std::string& folder, bool clearAttributes, FileProgressProc callback);

// Name of the self-delete batch in the temporary folder.
constexpr const char kSelfDeleteBatchName[] = "_DEL_ME_.BAT";
// Writes the batch that removes exe (and its folder when asked) and then
// itself; returns the batch path, empty when it could not be written.
std::string WriteSelfDeleteBatch(const std::string& exe, bool removeFolder, bool shortNames);
// Writes that batch for the running executable and starts it hidden.
void DeleteMySelf(bool removeFolder, bool shortNames);

// Ejects the CD in the drive of path; false for anything but a CD-ROM drive.
// The "EjectCD-2/-3" lines go to traceLine; the extraction passes the stub's
// debug channel, since the utility layer's own lines go to the C stdout.
bool EjectCD(const std::string& path, void (*traceLine)(const std::string&) = utilout::Line);
