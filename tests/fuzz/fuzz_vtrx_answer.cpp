// Answers of the management service on arbitrary bytes: the header decoder
// and the request's answer copies keep the data length to the bytes held,
// and texts and bytes are read only from there.
#include "core/vetter/identity/vtrx_query.h"
#include "core/vetter/identity/vtrx_record.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<uint8_t> header = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 64));
    uint8_t status = in.ConsumeIntegral<uint8_t>();
    uint8_t flags = in.ConsumeIntegral<uint8_t>();
    std::vector<uint8_t> answer = in.ConsumeRemainingBytes<uint8_t>();

    vtrx::Header h;
    bool decoded = vtrx::DecodeHeader(header.data(), header.size(), &h);
    Check(!decoded || header.size() >= vtrx::kHeaderSize);

    vtrx::VtrxRequest r;
    r.SetRequest(vtrx::kCmdServerState, 0, 0, 1);
    vtrx::ApplyCmdRequestAnswer(r, header.data(), header.size(), answer.data(), answer.size());
    Check(r.DataLength() == answer.size());
    Check(r.HeaderBytes().size() == vtrx::kHeaderSize);
    Check(vtrx::HasMagic(r.HeaderBytes().data(), vtrx::kHeaderSize));
    Check(r.DataText().size() <= answer.size());
    Check(r.DataByte(answer.size()) == 0);
    if (!answer.empty()) Check(r.DataByte(0) == answer[0]);

    vtrx::ApplyVCRequestAnswer(r, status, flags, answer.data(), answer.size() / 2);
    Check(r.Status() == status);
    Check(r.DataLength() == answer.size() / 2);
    Check(vtrx::PackFlags(r.Fields().flagsA, r.Fields().flagsB) == flags);
    // A header claiming more data than came keeps to what is held.
    r.OverlayHeader(header.data(), header.size());
    Check(r.DataLength() <= answer.size() / 2);
    return 0;
}
