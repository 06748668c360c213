#pragma once
// The client side of the management service that needs no COM: the member
// names and the choice among them, the repeat rule for status 15, the cabinet
// number fallback and the sequence every query function follows. The Windows
// client implements VtrxSession over IDispatch.

#include "core/vetter/identity/vtrx_record.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vtrx {

// Results of the query functions.
constexpr int kQueryOk = 0;
constexpr int kQueryBadCall = 3;
constexpr int kQueryUnavailable = 4;
constexpr int kQueryFatal = 55;

// Waits of 10 seconds while the server reports that it is still starting.
constexpr unsigned kStateWaitMs = 10000;
constexpr int kStateWaitLimit = 30;

constexpr const char* kServiceClsid = "{6F1C2E80-93A4-42D7-8C5D-0040A7F31B29}";

// The twelve looked-up names in their slots; the two empty slots stay empty.
constexpr int kMemberCount = 12;
extern const char* const kMemberNames[kMemberCount];
enum MemberSlot {
    kSyncRequest = 0,
    kDefaultTimeout = 1,
    kVCRequest = 2,
    kServerCabinetNumber = 3,
    kServerControlVersion = 4,
    kVCRequestEx = 5,
    kClientName = 6,
    kCmdRequest = 7,
    kEnableEvents = 10,
    kDisableEvents = 11,
};

enum class RequestMember { CmdRequest, VCRequestEx, VCRequest, None };
// "CmdRequest", else "VCRequestEx", else "VCRequest".
RequestMember ChooseMember(bool hasCmdRequest, bool hasVCRequestEx, bool hasVCRequest);
const char* MemberName(RequestMember m);

// One invocation of the chosen member with the 16-bit integer argument;
// it updates the request with the answer and reports whether the call
// succeeded.
using Invocation = std::function<bool(int16_t intArg)>;
// Invokes once, then again while the call succeeds with status 15, at most
// `repeats` more times, adding `step` to the integer argument each time.
bool InvokeRepeating(VtrxRequest& request, int repeats, int16_t step, const Invocation& invoke);

// Copying an answer back into the request. "CmdRequest" returns a header
// (at most 48 bytes are taken) and the data; "VCRequestEx" and "VCRequest"
// return the status byte, the flags byte and the data.
void ApplyCmdRequestAnswer(VtrxRequest& request, const uint8_t* header, size_t headerSize,
                           const uint8_t* data, size_t dataSize);
void ApplyVCRequestAnswer(VtrxRequest& request, uint8_t status, uint8_t flags, const uint8_t* data,
                          size_t dataSize);

class VtrxSession {
  public:
    virtual ~VtrxSession() = default;
    virtual bool Connect() = 0;
    virtual void Disconnect() = 0;
    // "ServerCabinetNumber"; false when the read fails or is not 16-bit.
    virtual bool ReadCabinetProperty(uint16_t* number) = 0;
    virtual bool Send(VtrxRequest& request) = 0;
    // The pause between two state requests.
    virtual void WaitStateStep() = 0;
};

// The property, else command 0xE204 with cabinet -1 answering exactly two
// bytes; 0 when neither gives a number.
uint32_t GetCabinetNumber(VtrxSession& session);

struct QueryOutcome {
    int result = kQueryFatal;
    uint32_t cabinet = 0;
    std::string text;
    int stateRequests = 0; // how many state requests were sent
};

// The sequence of the eight query functions; object 0 with cabinetOnly true
// is Get_CabinetNumber_VTRX (it stops after the state wait).
QueryOutcome RunQuery(VtrxSession& session, uint32_t object, bool cabinetOnly);

} // namespace vtrx
