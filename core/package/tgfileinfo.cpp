#include "core/package/tgfileinfo.h"

#include "core/package/entry.h"
#include "core/package/token.h"
#include "core/package/trailer.h"
#include "core/util/ksub.h"

namespace package {

namespace {
std::string FileNamePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

void TGFileInfo::Read(ByteSource& src) {
    for (std::string& b : blocks_)
        b.clear();
    if (!ReadTrailer(src, trailer_) || !trailer_.MagicMatches()) return;
    int count = trailer_.BlockCount() > kMinHeaderBlocks ? kMaxHeaderBlocks : kMinHeaderBlocks;
    uint64_t end = PackageEnd(src);
    uint64_t pos = trailer_.PackageStart();
    for (int i = 0; i < count; ++i) {
        StoredBlock b;
        if (!ReadStoredBlock(src, pos, end, b)) break;
        // A negative length is no block text; its bytes are skipped as the
        // extractor skips them, so both agree where the entries start.
        if (b.compressed) blocks_[i] = src.Read(b.DataOffset(), b.available);
        pos = b.Next();
    }
}

int SpaceValueIndex(uint32_t clusterSize) {
    int index = 0;
    for (int i = 1; i < kSpaceValueCount; ++i)
        if (uint64_t(clusterSize) >= (uint64_t(256) << i)) index = i;
    return index;
}

uint32_t TGFileInfo::SpaceRequiredForCluster(uint32_t clusterSize) const {
    return trailer_.SpaceValue(SpaceValueIndex(clusterSize));
}

std::string TGFileInfo::UpdateLocation() const {
    return SUB::Get(ParameterBlock(), param::kUpdateLocation, "");
}
std::string TGFileInfo::DescriptorName() const {
    return FileNamePart(SUB::Get(ParameterBlock(), param::kDescriptorName, ""));
}
std::string TGFileInfo::LocalDescriptorName() const {
    std::string name = DescriptorName();
    size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    return name + ".original";
}
std::string TGFileInfo::AgentName() const {
    return SUB::Get(ParameterBlock(), param::kAgentName, "");
}
std::string TGFileInfo::Token(bool reveal) const {
    std::string t = SUB::Get(ParameterBlock(), param::kToken, "");
    return reveal ? RevealTokenText(t) : t;
}
bool TGFileInfo::RunHidden() const {
    return SUB::Get(ParameterBlock(), param::kRunHidden, "") == "1";
}

std::string TGFileInfo::DownloadSource() const {
    return SUB::Get(DownloadBlock(), download::kSource, "");
}
std::string TGFileInfo::SetupFileName() const {
    return SUB::Get(DownloadBlock(), download::kSetupFile, "");
}
bool TGFileInfo::AlwaysDownload() const {
    return SUB::Get(DownloadBlock(), download::kAlwaysDownload, "") == "1";
}
std::string TGFileInfo::DownloadToken() const {
    return RevealTokenText(SUB::Get(DownloadBlock(), download::kToken, ""));
}
std::string TGFileInfo::SetupFileSize() const {
    return SUB::Get(DownloadBlock(), download::kSetupSize, "");
}
bool TGFileInfo::SameDownloadToken(const TGFileInfo& other) const {
    return TokensMatch(SUB::Get(DownloadBlock(), download::kToken, ""),
                       SUB::Get(other.DownloadBlock(), download::kToken, ""));
}

} // namespace package
