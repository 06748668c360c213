#pragma once
// TGFileInfo: the trailer and the header blocks of one package file.
#include "core/package/byte_source.h"
#include "core/package/format.h"

#include <string>

namespace package {

// Items of the parameter block.
namespace param {
constexpr int kUpdateLocation = 0;
constexpr int kDescriptorName = 1;
constexpr int kAgentName = 2;
constexpr int kToken = 3;
constexpr int kRunHidden = 4;
} // namespace param
// Items of the download block.
namespace download {
constexpr int kSource = 0;
constexpr int kSetupFile = 1;
constexpr int kAlwaysDownload = 2;
constexpr int kToken = 3;
constexpr int kSetupSize = 4;
} // namespace download
constexpr int kBlockItemCount = 5;

class TGFileInfo {
  public:
    // An empty object: all-zero record, no blocks.
    TGFileInfo() = default;
    // Reads the trailer and, when its magic matches, the header blocks.
    explicit TGFileInfo(ByteSource& src) { Read(src); }
    void Read(ByteSource& src);

    const PackageTrailer& Trailer() const { return trailer_; }
    const std::string& LanguageBlock() const { return blocks_[0]; }
    const std::string& ParameterBlock() const { return blocks_[1]; }
    const std::string& DownloadBlock() const { return blocks_[2]; }

    uint32_t FilesCount() const { return trailer_.FileCount(); }
    uint32_t CheckValue() const { return trailer_.CheckValue(); }
    uint32_t PackageStart() const { return trailer_.PackageStart(); }
    bool MagicMatches() const { return trailer_.MagicMatches(); }
    bool AlwaysShowSpaceMessage() const { return trailer_.Flag(flag::kAlwaysShowSpace); }
    bool MorePartsFollow() const { return trailer_.Flag(flag::kMorePartsFollow); }
    bool IsFirstDisk() const { return trailer_.Flag(flag::kFirstDisk); }
    bool ShowActivityBar() const { return trailer_.Flag(flag::kActivityBar); }
    bool WriteTraceLog() const { return trailer_.Flag(flag::kTraceLog); }
    bool IsWebDownload() const { return trailer_.Byte(field::kWebDownload) != 0; }
    bool AskBeforeDownload() const { return trailer_.Byte(field::kAskDownload) != 0; }
    bool WriteAgentCopy() const { return trailer_.Byte(field::kWriteAgentCopy) != 0; }
    bool IsAutoUpdateAgent() const { return trailer_.Byte(field::kIsAgent) != 0; }

    // The space-required value for a volume with this cluster size (0 = unknown).
    uint32_t SpaceRequiredForCluster(uint32_t clusterSize) const;

    std::string UpdateLocation() const;
    // Item 1 without any folder part.
    std::string DescriptorName() const;
    // Item 1's file name with every extension removed, plus ".original".
    std::string LocalDescriptorName() const;
    std::string AgentName() const;
    std::string Token(bool reveal) const;
    bool RunHidden() const;

    std::string DownloadSource() const;
    std::string SetupFileName() const;
    bool AlwaysDownload() const;
    std::string DownloadToken() const; // revealed
    std::string SetupFileSize() const;
    // True when both download tokens reveal to the same value.
    bool SameDownloadToken(const TGFileInfo& other) const;

  private:
    PackageTrailer trailer_;
    std::string blocks_[kMaxHeaderBlocks];
};

// Index of the space-required value that applies to a cluster size.
int SpaceValueIndex(uint32_t clusterSize);

} // namespace package
