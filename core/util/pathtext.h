#pragma once
// Unit Utils and Files, path part: trailing backslashes, doubled backslashes,
// base names, the path a free-space query asks about, and the self-delete
// batch script. The Windows layer passes its DBCS lead-byte test.

#include <cstddef>
#include <string>

// Whether a byte leads a two-byte character in the ANSI code page.
using LeadByteTest = bool (*)(unsigned char);

// The path without, or with one, trailing backslash. "C:\" loses it ("C:");
// an empty path stays empty so that it never turns into a drive root.
std::string PathSlashOf(const std::string& path, bool withSlash, LeadByteTest isLead = nullptr);
// Inner doubled backslashes made single (a leading "\\" survives); with
// dropSlash a final backslash goes too.
std::string CleanPathOf(const std::string& path, bool dropSlash, LeadByteTest isLead = nullptr);

// File name without its folder and its last (or, with allExtensions, every)
// extension: "setup.tar.gz" -> "setup.tar" / "setup".
std::string FileBaseName(const std::string& path, bool allExtensions);

// "X:\" for the path's drive letter (upper-cased); empty for an empty path.
std::string DriveRootOf(const std::string& path);
// What a free-space query asks about: empty stays empty (current drive); the
// drive root without the extended query or for paths under 3 bytes;
// otherwise the path up to its first-level folder ("C:\Temp\x" -> "C:\Temp").
std::string DiskFreeQueryPath(const std::string& path, bool extendedQuery);

// Script of the self-deleting batch: repeat deleting exe until it is gone,
// optionally remove its folder, then delete the batch. Lines end in CR LF.
std::string SelfDeleteScript(const std::string& exe, const std::string& folder,
                             const std::string& batch, const std::string& quote, bool removeFolder);

// Chunk size of a chunked file write of `length` bytes: a tenth of the data,
// at most 1 MiB, at least 1024 bytes (or the whole data when shorter).
size_t WriteChunkSize(size_t length);
constexpr size_t kChunkedWriteAbove = 1048576;
