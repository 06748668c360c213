#include "core/package/writer.h"

#include "core/package/byte_source.h"
#include "core/package/entry.h"
#include "core/package/trailer.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <zlib.h>

namespace package {

namespace {

constexpr size_t kDictSize = 32768;
constexpr size_t kSampleSize = 16384;
constexpr int kSampleCount = 4;

bool Seek64(std::FILE* f, uint64_t pos) {
#ifdef _WIN32
    return _fseeki64(f, int64_t(pos), SEEK_SET) == 0;
#else
    return fseeko(f, off_t(pos), SEEK_SET) == 0;
#endif
}

// The output file, written at an explicit position.
class OutFile {
  public:
    OutFile() = default;
    ~OutFile() { Close(); }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    bool Open(const std::string& path) {
        path_ = path;
        f_ = std::fopen(path.c_str(), "wb");
        return f_ != nullptr;
    }
    bool Close() {
        bool ok = true;
        if (f_) ok = std::fclose(f_) == 0 && ok_;
        f_ = nullptr;
        return ok;
    }
    uint64_t Pos() const { return pos_; }
    uint64_t High() const { return high_; }
    void SeekTo(uint64_t pos) {
        if (!Seek64(f_, pos)) ok_ = false;
        pos_ = pos;
    }
    void Write(const void* p, size_t n) {
        if (n && std::fwrite(p, 1, n, f_) != n) ok_ = false;
        pos_ += n;
        high_ = std::max(high_, pos_);
    }
    void Write(const std::string& s) { Write(s.data(), s.size()); }
    void WriteLE32(uint32_t v) {
        uint8_t b[4];
        PutLE32(b, v);
        Write(b, 4);
    }
    bool Ok() const { return ok_ && f_; }
    const std::string& Path() const { return path_; }

  private:
    std::FILE* f_ = nullptr;
    std::string path_;
    uint64_t pos_ = 0, high_ = 0;
    bool ok_ = true;
};

// One entry to write: a piece of one payload file.
struct EntryPlan {
    size_t file = 0;
    std::string header;
    uint64_t offset = 0, length = 0; // content range in the source file
    uint64_t TextLength() const { return header.size() + 1 + length; }
};

std::vector<EntryPlan> PlanEntries(const std::vector<PayloadFile>& files, uint64_t maxContent) {
    std::vector<EntryPlan> plan;
    for (size_t i = 0; i < files.size(); ++i) {
        const PayloadFile& f = files[i];
        std::string name = f.storedName;
        if (f.run) name += std::string(1, kRunFileMarker) + f.runArgs;
        std::string header = MakeEntryHeader(name, f.dosTime);
        uint64_t off = 0;
        do {
            uint64_t len = std::min(maxContent, f.size - off);
            plan.push_back({i, header, off, len});
            off += len;
        } while (off < f.size);
    }
    return plan;
}

int ZlibHeaderLevelBits(int level) {
    if (level < 2) return 0;
    if (level < 6) return 1;
    return level == 6 ? 2 : 3;
}

std::string ZlibHeader(int level) {
    unsigned h = 0x78u << 8 | unsigned(ZlibHeaderLevelBits(level)) << 6;
    h += 31 - h % 31;
    return std::string{char(h >> 8), char(h & 0xFF)};
}

// A raw-deflate compressor kept per worker thread.
class Deflater {
  public:
    explicit Deflater(int level) {
        ok_ = deflateInit2(&z_, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ok_) deflateEnd(&z_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    // Compresses one block; the last block of a stream finishes it, others end
    // byte-aligned with a sync flush so the blocks can be joined.
    bool Run(const std::string& dict, const std::string& in, bool last, std::string& out) {
        if (!ok_ || deflateReset(&z_) != Z_OK) return false;
        if (!dict.empty() && deflateSetDictionary(&z_, reinterpret_cast<const Bytef*>(dict.data()),
                                                  uInt(dict.size())) != Z_OK)
            return false;
        out.resize(deflateBound(&z_, uLong(in.size())) + 16);
        z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        z_.avail_in = uInt(in.size());
        z_.next_out = reinterpret_cast<Bytef*>(&out[0]);
        z_.avail_out = uInt(out.size());
        int rc = deflate(&z_, last ? Z_FINISH : Z_SYNC_FLUSH);
        if (last ? rc != Z_STREAM_END : rc != Z_OK || z_.avail_in != 0) return false;
        out.resize(out.size() - z_.avail_out);
        return true;
    }

  private:
    z_stream z_{};
    bool ok_ = false;
};

struct Job {
    // Input, set by the planner.
    size_t entry = 0;
    bool first = false, last = false;
    bool stored = false; // the whole entry goes out stored, no compression
    std::string dict, data;
    // Output, set by a worker.
    std::string out;
    uLong adler = 1;
    bool failed = false;
    bool done = false;
};

class WorkerPool {
  public:
    WorkerPool(unsigned threads, int level) : level_(level) {
        for (unsigned i = 0; i < threads; ++i)
            threads_.emplace_back([this] { Loop(); });
    }
    ~WorkerPool() {
        {
            std::lock_guard<std::mutex> lock(m_);
            quit_ = true;
        }
        cv_.notify_all();
        for (auto& t : threads_)
            t.join();
    }
    void Submit(Job* job) {
        {
            std::lock_guard<std::mutex> lock(m_);
            queue_.push_back(job);
        }
        cv_.notify_one();
    }
    void Wait(Job* job) {
        std::unique_lock<std::mutex> lock(m_);
        doneCv_.wait(lock, [job] { return job->done; });
    }

  private:
    void Loop() {
        Deflater d(level_);
        for (;;) {
            Job* job;
            {
                std::unique_lock<std::mutex> lock(m_);
                cv_.wait(lock, [this] { return quit_ || !queue_.empty(); });
                if (queue_.empty()) return;
                job = queue_.front();
                queue_.pop_front();
            }
            job->failed = !d.Run(job->dict, job->data, job->last, job->out);
            job->adler = adler32(1, reinterpret_cast<const Bytef*>(job->data.data()),
                                 uInt(job->data.size()));
            std::string().swap(job->dict);
            std::string().swap(job->data);
            {
                std::lock_guard<std::mutex> lock(m_);
                job->done = true;
            }
            doneCv_.notify_all();
        }
    }
    int level_;
    std::mutex m_;
    std::condition_variable cv_, doneCv_;
    std::deque<Job*> queue_;
    std::vector<std::thread> threads_;
    bool quit_ = false;
};

// Sequential reads of one payload file at a time.
class SourceReader {
  public:
    bool Read(const std::string& path, uint64_t offset, size_t n, std::string& out) {
        if (path != path_) {
            src_.reset(new StdFileSource(path));
            path_ = path;
        }
        out.resize(n);
        return src_->IsOpen() && (n == 0 || src_->ReadExact(offset, &out[0], n));
    }

  private:
    std::unique_ptr<StdFileSource> src_;
    std::string path_;
};

// True when samples spread over the content do not shrink under deflate, so
// the entry is stored without compressing it all first.
bool LooksIncompressible(SourceReader& reader, const PayloadFile& f, const EntryPlan& e, int level,
                         bool& readOk) {
    readOk = true;
    if (e.length <= kCompressBlock) return false;
    uint64_t in = 0, out = 0;
    std::string sample, packed;
    for (int i = 0; i < kSampleCount; ++i) {
        uint64_t at = e.offset + (e.length - kSampleSize) * uint64_t(i) / (kSampleCount - 1);
        if (!reader.Read(f.sourcePath, at, kSampleSize, sample)) {
            readOk = false;
            return false;
        }
        uLongf n = compressBound(uLong(sample.size()));
        packed.resize(n);
        compress2(reinterpret_cast<Bytef*>(&packed[0]), &n,
                  reinterpret_cast<const Bytef*>(sample.data()), uLong(sample.size()), level);
        in += sample.size();
        out += n;
    }
    return out * 100 >= in * 99;
}

struct WrittenEntry {
    uint64_t offset = 0, storedLength = 0;
    bool compressed = false;
};

// Writes all entries to out at its position, compressing on the pool.
class EntryWriter {
  public:
    EntryWriter(const BuildOptions& opt, const std::vector<EntryPlan>& plan, OutFile& out)
        : opt_(opt), plan_(plan), out_(out) {}

    bool Run(std::vector<WrittenEntry>& written, std::string& error) {
        unsigned hw = std::max(1u, std::thread::hardware_concurrency());
        unsigned threads = opt_.threads ? opt_.threads : hw;
        size_t maxInFlight = std::min<size_t>(4 * size_t(threads), 64);
        WorkerPool pool(threads, opt_.level);
        written.assign(plan_.size(), {});
        total_ = 0;
        for (const EntryPlan& e : plan_)
            total_ += e.length;

        std::deque<std::unique_ptr<Job>> inflight;
        size_t nextEntry = 0;
        uint64_t nextBlockAt = 0; // offset in the current entry's text
        std::string prevTail;
        while (true) {
            while (inflight.size() < maxInFlight && nextEntry < plan_.size()) {
                std::unique_ptr<Job> job;
                if (!NextJob(nextEntry, nextBlockAt, prevTail, job, error)) return false;
                if (!job->stored) pool.Submit(job.get());
                inflight.push_back(std::move(job));
            }
            if (inflight.empty()) break;
            Job* job = inflight.front().get();
            if (!job->stored) pool.Wait(job);
            if (!WriteJob(*job, written[job->entry], error)) return false;
            inflight.pop_front();
        }
        return true;
    }

  private:
    // Cuts the next block of the entry text, or the next entry when it is stored whole.
    bool NextJob(size_t& entry, uint64_t& at, std::string& prevTail, std::unique_ptr<Job>& job,
                 std::string& error) {
        const EntryPlan& e = plan_[entry];
        const PayloadFile& f = opt_.files[e.file];
        job.reset(new Job);
        job->entry = entry;
        job->first = at == 0;
        if (at == 0) {
            bool readOk;
            job->stored = LooksIncompressible(reader_, f, e, opt_.level, readOk);
            if (!readOk) return ReadError(f, error);
            if (job->stored) {
                job->last = true;
                ++entry;
                return true;
            }
        }
        uint64_t textLen = e.TextLength();
        uint64_t n = std::min<uint64_t>(kCompressBlock, textLen - at);
        // The header and its 0x00 lie in the first block, the rest is file content.
        std::string& data = job->data;
        if (at == 0) {
            data = e.header;
            data += '\0';
            std::string content;
            if (!reader_.Read(f.sourcePath, e.offset, size_t(n - data.size()), content))
                return ReadError(f, error);
            data += content;
        } else {
            uint64_t contentAt = at - (e.header.size() + 1);
            if (!reader_.Read(f.sourcePath, e.offset + contentAt, size_t(n), data))
                return ReadError(f, error);
        }
        if (!job->first) job->dict = prevTail;
        at += n;
        job->last = at == textLen;
        if (job->last) {
            prevTail.clear();
            at = 0;
            ++entry;
        } else {
            size_t keep = std::min(kDictSize, data.size());
            prevTail.assign(data, data.size() - keep, keep);
        }
        return true;
    }

    bool ReadError(const PayloadFile& f, std::string& error) {
        error = "cannot read " + f.sourcePath + " (changed or unreadable while packing)";
        return false;
    }

    bool WriteJob(Job& job, WrittenEntry& w, std::string& error) {
        const EntryPlan& e = plan_[job.entry];
        if (job.stored) return WriteStored(e, w, error) && Progress(e.length);
        if (job.failed) {
            error = "deflate failed on " + opt_.files[e.file].sourcePath;
            return false;
        }
        if (job.first) {
            w.offset = out_.Pos();
            out_.WriteLE32(0);
            out_.Write(ZlibHeader(opt_.level));
            adler_ = job.adler;
        } else {
            adler_ = adler32_combine(adler_, job.adler, z_off_t(blockLength(job, e)));
        }
        out_.Write(job.out);
        std::string().swap(job.out);
        if (!job.last) return out_.Ok() || WriteError(error);
        uint8_t a[4] = {uint8_t(adler_ >> 24), uint8_t(adler_ >> 16), uint8_t(adler_ >> 8),
                        uint8_t(adler_)};
        out_.Write(a, 4);
        uint64_t packed = out_.Pos() - w.offset - 4;
        if (packed >= e.TextLength()) {
            // Deflate did not make it smaller: the entry is stored instead.
            out_.SeekTo(w.offset);
            return WriteStored(e, w, error) && Progress(e.length);
        }
        uint64_t end = out_.Pos();
        out_.SeekTo(w.offset);
        out_.WriteLE32(uint32_t(packed));
        out_.SeekTo(end);
        w.storedLength = packed;
        w.compressed = true;
        return (out_.Ok() || WriteError(error)) && Progress(e.length);
    }

    // Block lengths are not kept in the job once its data is freed; they follow
    // from the fixed block size and the entry text length.
    uint64_t blockLength(const Job& job, const EntryPlan& e) const {
        if (!job.last) return kCompressBlock;
        uint64_t len = e.TextLength() % kCompressBlock;
        return len ? len : kCompressBlock;
    }

    bool WriteStored(const EntryPlan& e, WrittenEntry& w, std::string& error) {
        const PayloadFile& f = opt_.files[e.file];
        w.offset = out_.Pos();
        w.storedLength = e.TextLength();
        w.compressed = false;
        out_.WriteLE32(uint32_t(0) - uint32_t(e.TextLength()));
        out_.Write(e.header);
        out_.Write("\0", 1);
        std::string buf;
        for (uint64_t at = 0; at < e.length;) {
            size_t n = size_t(std::min<uint64_t>(kCompressBlock, e.length - at));
            if (!reader_.Read(f.sourcePath, e.offset + at, n, buf)) return ReadError(f, error);
            out_.Write(buf);
            at += n;
        }
        return out_.Ok() || WriteError(error);
    }

    bool WriteError(std::string& error) {
        error = "cannot write " + out_.Path();
        return false;
    }

    bool Progress(uint64_t n) {
        done_ += n;
        if (opt_.progress) opt_.progress(done_, total_);
        return true;
    }

    const BuildOptions& opt_;
    const std::vector<EntryPlan>& plan_;
    OutFile& out_;
    SourceReader reader_;
    uLong adler_ = 1;
    uint64_t done_ = 0, total_ = 0;
};

std::string HeaderBlocks(const BuildOptions& opt) {
    std::string out;
    AppendLE32(out, uint32_t(opt.languageBlock.size()));
    out += opt.languageBlock;
    AppendLE32(out, uint32_t(opt.parameterBlock.size()));
    out += opt.parameterBlock;
    if (opt.hasDownloadBlock) {
        AppendLE32(out, uint32_t(opt.downloadBlock.size()));
        out += opt.downloadBlock;
    }
    return out;
}

PackageTrailer BaseTrailer(const BuildOptions& opt) {
    PackageTrailer t = opt.trailer;
    t.SetByte(field::kBlockCount, uint8_t(opt.hasDownloadBlock ? 3 : 2));
    t.SetU32(field::kFileCount, uint32_t(opt.files.size()));
    t.SetU32(field::kMagic, kTrailerMagic);
    t.SetU32(field::kSize, kTrailerSize);
    std::vector<uint64_t> sizes;
    for (const PayloadFile& f : opt.files)
        sizes.push_back(f.size);
    std::vector<uint32_t> space = SpaceRequiredValues(sizes);
    for (int i = 0; i < kSpaceValueCount; ++i)
        t.SetSpaceValue(i, space[size_t(i)]);
    return t;
}

// Writes the trailer at out's position and the end pointer into the image,
// then fills in the check value. The file must hold an image at 0 when
// hasImage is set.
bool FinishFile(OutFile& out, PackageTrailer t, bool hasImage, std::string& error) {
    uint64_t end = out.Pos() + kTrailerSize;
    if (end > UINT32_MAX) {
        error = "package " + out.Path() + " would exceed the 32-bit offset range (" +
                std::to_string(end) + " bytes); use --disk-size to split it";
        return false;
    }
    uint64_t trailerAt = out.Pos();
    out.Write(t.bytes.data(), kTrailerSize);
    if (hasImage) {
        // Written before any signing, so a certificate appended later does not move the trailer.
        out.SeekTo(kEndPointerHighOffset);
        out.WriteLE32(0);
        out.WriteLE32(uint32_t(end));
    }
    uint64_t high = out.High();
    if (!out.Close()) {
        error = "cannot write " + out.Path();
        return false;
    }
    // An entry rewritten as stored is shorter than its compressed attempt and
    // may leave bytes of it beyond the trailer.
    std::error_code ec;
    if (high > end) std::filesystem::resize_file(out.Path(), end, ec);
    if (ec) {
        error = "cannot truncate " + out.Path() + ": " + ec.message();
        return false;
    }
    uint32_t check = kUncheckedValue;
    if (end <= kCheckedFileLimit) {
        StdFileSource src(out.Path());
        check = ComputeCheckValue(src, kTrailerSize);
    }
    std::FILE* f = std::fopen(out.Path().c_str(), "r+b");
    uint8_t b[4];
    PutLE32(b, check);
    bool ok = f && Seek64(f, trailerAt + field::kCheckValue) && std::fwrite(b, 1, 4, f) == 4;
    if (f) ok = std::fclose(f) == 0 && ok;
    if (!ok) error = "cannot write " + out.Path();
    return ok;
}

bool CheckImage(const std::string& image, std::string& error) {
    MemorySource src(image);
    if (!IsExecutableImage(src)) {
        error = "the stub is not an executable with its PE header at offset 256";
        return false;
    }
    if (ReadPackageEndPointer(src) != 0) {
        error = "the stub already carries a package (bytes 248..255 are not zero)";
        return false;
    }
    return true;
}

bool CopyRange(const std::string& from, uint64_t offset, uint64_t n, OutFile& out) {
    StdFileSource src(from);
    std::string buf(kCompressBlock, '\0');
    while (n > 0) {
        size_t want = size_t(std::min<uint64_t>(n, buf.size()));
        if (!src.ReadExact(offset, &buf[0], want)) return false;
        out.Write(buf.data(), want);
        offset += want;
        n -= want;
    }
    return out.Ok();
}

void FillResult(const std::vector<EntryPlan>& plan, const std::vector<WrittenEntry>& w,
                const std::vector<int>& parts, const BuildOptions& opt, BuildResult& result) {
    result.entries.clear();
    result.payloadBytes = 0;
    for (size_t i = 0; i < plan.size(); ++i) {
        result.entries.push_back({opt.files[plan[i].file].storedName, plan[i].TextLength(),
                                  w[i].storedLength, w[i].compressed, parts[i]});
        result.payloadBytes += 4 + w[i].storedLength;
    }
}

bool BuildSingle(const BuildOptions& opt, const std::string& outPath, BuildResult& result,
                 std::string& error) {
    OutFile out;
    if (!out.Open(outPath)) {
        error = "cannot create " + outPath;
        return false;
    }
    out.Write(opt.stubImage);
    PackageTrailer t = BaseTrailer(opt);
    t.SetU32(field::kPackageStart, uint32_t(out.Pos()));
    out.Write(HeaderBlocks(opt));
    std::vector<EntryPlan> plan = PlanEntries(opt.files, kMaxEntryContent);
    std::vector<WrittenEntry> written;
    EntryWriter writer(opt, plan, out);
    if (!writer.Run(written, error)) return false;
    if (!FinishFile(out, t, true, error)) return false;
    result.outputs = {outPath};
    FillResult(plan, written, std::vector<int>(plan.size(), 0), opt, result);
    return true;
}

// The first-disk stub (header blocks, no payload), then part files: part 1 is
// a stub image with the header blocks and the first entries, later parts hold
// entries only (the extractor's block counter runs on across parts). The
// entries are written to a spool file first and then dealt out, so that no
// entry is split and every disk stays within its size.
bool BuildMultiDisk(const BuildOptions& opt, const std::string& outPath, BuildResult& result,
                    std::string& error) {
    const std::string headers = HeaderBlocks(opt);
    const uint64_t entryRoom = opt.diskSize > kTrailerSize + 4 ? opt.diskSize - kTrailerSize : 0;
    uint64_t maxHeader = 0;
    for (const PayloadFile& f : opt.files)
        maxHeader = std::max<uint64_t>(maxHeader, f.storedName.size() + f.runArgs.size() + 16);
    if (entryRoom <= 4 + maxHeader + 1) {
        error = "disk size " + std::to_string(opt.diskSize) + " is too small for any entry";
        return false;
    }
    // Stored entries are at most their text, so this content size always fits a disk.
    uint64_t maxContent = std::min<uint64_t>(kMaxEntryContent, entryRoom - 4 - maxHeader - 1);
    std::vector<EntryPlan> plan = PlanEntries(opt.files, maxContent);

    const std::string spoolPath = outPath + ".spool";
    std::vector<WrittenEntry> written;
    {
        OutFile spool;
        if (!spool.Open(spoolPath)) {
            error = "cannot create " + spoolPath;
            return false;
        }
        EntryWriter writer(opt, plan, spool);
        bool ok = writer.Run(written, error);
        if (!spool.Close() && ok) {
            error = "cannot write " + spoolPath;
            ok = false;
        }
        if (!ok) {
            std::remove(spoolPath.c_str());
            return false;
        }
    }
    struct Remover {
        std::string path;
        ~Remover() { std::remove(path.c_str()); }
    } removeSpool{spoolPath};

    PackageTrailer base = BaseTrailer(opt);
    base.SetFlag(flag::kMorePartsFollow, false);
    {
        OutFile out;
        if (!out.Open(outPath)) {
            error = "cannot create " + outPath;
            return false;
        }
        out.Write(opt.stubImage);
        PackageTrailer t = base;
        t.SetFlag(flag::kFirstDisk, true);
        t.SetU32(field::kPackageStart, uint32_t(out.Pos()));
        out.Write(headers);
        if (!FinishFile(out, t, true, error)) return false;
    }
    std::error_code ec;
    uint64_t firstStub = std::filesystem::file_size(outPath, ec);
    uint64_t firstPartOverhead = opt.stubImage.size() + headers.size() + kTrailerSize;
    if (ec || firstStub + firstPartOverhead > opt.diskSize) {
        error = "disk size " + std::to_string(opt.diskSize) +
                " cannot hold the first-disk stub and the first part file";
        return false;
    }
    result.outputs = {outPath};

    std::vector<int> parts(plan.size(), 0);
    size_t next = 0;
    for (int part = 1; part == 1 || next < plan.size(); ++part) {
        if (part > 999) {
            error = "more than 999 part files";
            return false;
        }
        std::string path = PartFileName(outPath, part);
        OutFile out;
        if (!out.Open(path)) {
            error = "cannot create " + path;
            return false;
        }
        PackageTrailer t = base;
        uint64_t capacity = part == 1 ? opt.diskSize - firstStub : opt.diskSize;
        if (part == 1) {
            out.Write(opt.stubImage);
            t.SetU32(field::kPackageStart, uint32_t(out.Pos()));
            out.Write(headers);
        } else {
            t.SetU32(field::kPackageStart, 0);
        }
        size_t firstHere = next;
        while (next < plan.size()) {
            uint64_t n = 4 + written[next].storedLength;
            if (out.Pos() + n + kTrailerSize > capacity) break;
            if (!CopyRange(spoolPath, written[next].offset, n, out)) {
                error = "cannot write " + path;
                return false;
            }
            parts[next++] = part;
        }
        if (part > 1 && next == firstHere) {
            error = "an entry does not fit on a disk of " + std::to_string(opt.diskSize) + " bytes";
            return false;
        }
        t.SetFlag(flag::kMorePartsFollow, next < plan.size());
        if (!FinishFile(out, t, part == 1, error)) return false;
        result.outputs.push_back(path);
    }
    FillResult(plan, written, parts, opt, result);
    return true;
}

} // namespace

std::vector<uint32_t> SpaceRequiredValues(const std::vector<uint64_t>& sizes) {
    std::vector<uint32_t> v;
    for (int i = 0; i < kSpaceValueCount; ++i) {
        // Value 0 also serves when the cluster size is unknown: count whole
        // 512-byte sectors, the smallest allocation a volume uses.
        uint64_t cluster = i == 0 ? 512 : uint64_t(256) << i;
        uint64_t sum = 0;
        for (uint64_t s : sizes)
            sum += (s + cluster - 1) / cluster * cluster;
        v.push_back(uint32_t(std::min<uint64_t>(sum, UINT32_MAX)));
    }
    return v;
}

std::string PartFileName(const std::string& packagePath, int n) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%03d", n);
    return packagePath + suffix;
}

bool BuildPackage(const BuildOptions& opt, const std::string& outPath, BuildResult& result,
                  std::string& error) {
    error.clear();
    result = BuildResult();
    if (!CheckImage(opt.stubImage, error)) return false;
    if (opt.level < 0 || opt.level > 9) {
        error = "compression level must be 0..9";
        return false;
    }
    bool ok = opt.diskSize ? BuildMultiDisk(opt, outPath, result, error)
                           : BuildSingle(opt, outPath, result, error);
    if (!ok) {
        std::remove(outPath.c_str());
        for (int n = 1; n < 1000; ++n)
            if (std::remove(PartFileName(outPath, n).c_str()) != 0) break;
    }
    return ok;
}

} // namespace package
