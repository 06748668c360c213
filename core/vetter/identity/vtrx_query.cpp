#include "core/vetter/identity/vtrx_query.h"

namespace vtrx {

const char* const kMemberNames[kMemberCount] = {"SyncRequest",
                                                "DefaultTimeout",
                                                "VCRequest",
                                                "ServerCabinetNumber",
                                                "ServerControlVersion",
                                                "VCRequestEx",
                                                "ClientName",
                                                "CmdRequest",
                                                "",
                                                "",
                                                "EnableEvents",
                                                "DisableEvents"};

RequestMember ChooseMember(bool hasCmdRequest, bool hasVCRequestEx, bool hasVCRequest) {
    if (hasCmdRequest) return RequestMember::CmdRequest;
    if (hasVCRequestEx) return RequestMember::VCRequestEx;
    if (hasVCRequest) return RequestMember::VCRequest;
    return RequestMember::None;
}

const char* MemberName(RequestMember m) {
    switch (m) {
    case RequestMember::CmdRequest:
        return kMemberNames[kCmdRequest];
    case RequestMember::VCRequestEx:
        return kMemberNames[kVCRequestEx];
    case RequestMember::VCRequest:
        return kMemberNames[kVCRequest];
    default:
        return "";
    }
}

bool InvokeRepeating(VtrxRequest& request, int repeats, int16_t step, const Invocation& invoke) {
    int16_t arg = 0;
    bool ok = invoke(arg);
    for (int i = 0; ok && i < repeats && request.Status() == kStatusRepeat; ++i) {
        arg = int16_t(arg + step);
        ok = invoke(arg);
    }
    return ok;
}

void ApplyCmdRequestAnswer(VtrxRequest& request, const uint8_t* header, size_t headerSize,
                           const uint8_t* data, size_t dataSize) {
    request.OverlayHeader(header, headerSize);
    request.SetData(data, dataSize);
}

void ApplyVCRequestAnswer(VtrxRequest& request, uint8_t status, uint8_t flags, const uint8_t* data,
                          size_t dataSize) {
    uint16_t a = 0, b = 0;
    UnpackFlags(flags, &a, &b);
    request.SetStatus(status);
    request.SetFlags(a, b);
    request.SetData(data, dataSize);
}

uint32_t GetCabinetNumber(VtrxSession& session) {
    uint16_t number = 0;
    if (session.ReadCabinetProperty(&number)) return number;
    VtrxRequest r;
    r.SetRequest(kCmdCabinetNumber, 0, 0, kCabinetAll);
    if (session.Send(r) && r.IsSuccess() && r.DataLength() == 2) {
        return uint32_t(r.DataByte(0)) | (uint32_t(r.DataByte(1)) << 8);
    }
    return 0;
}

namespace {

bool SendState(VtrxSession& s, VtrxRequest& r, uint32_t cabinet, QueryOutcome& o) {
    r.SetRequest(kCmdServerState, 0, 0, cabinet);
    ++o.stateRequests;
    return s.Send(r) && r.IsSuccess();
}

} // namespace

QueryOutcome RunQuery(VtrxSession& session, uint32_t object, bool cabinetOnly) {
    QueryOutcome o;
    if (!session.Connect()) {
        o.result = kQueryFatal;
        return o;
    }
    o.cabinet = GetCabinetNumber(session);
    VtrxRequest r;
    if (!SendState(session, r, o.cabinet, o) || r.DataLength() == 0) {
        session.Disconnect();
        o.result = kQueryUnavailable;
        return o;
    }
    for (int waits = 0; r.DataByte(0) == kStateStarting && waits < kStateWaitLimit; ++waits) {
        session.WaitStateStep();
        if (!SendState(session, r, o.cabinet, o)) {
            session.Disconnect();
            o.result = kQueryUnavailable;
            return o;
        }
    }
    if (cabinetOnly) {
        session.Disconnect();
        o.result = kQueryOk;
        return o;
    }
    if (!IsReadyState(r.DataByte(0))) {
        session.Disconnect();
        o.result = kQueryUnavailable;
        return o;
    }
    r.SetRequest(kCmdGetValue, object, 0, o.cabinet);
    if (!session.Send(r) || !r.IsSuccess()) {
        session.Disconnect();
        o.result = kQueryFatal;
        return o;
    }
    o.text = r.DataText();
    session.Disconnect();
    o.result = kQueryOk;
    return o;
}

} // namespace vtrx
