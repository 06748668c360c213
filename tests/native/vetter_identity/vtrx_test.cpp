#include "core/vetter/identity/vtrx_query.h"
#include "core/vetter/identity/vtrx_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

using namespace vtrx;

namespace {

TEST(VtrxRecord, RequestHeaderBytes) {
    VtrxRequest r;
    EXPECT_EQ(r.Status(), kStatusNoRecord);
    EXPECT_FALSE(r.IsSuccess());
    r.SetRequest(kCmdGetValue, kObjChassisId, 0, 0x01020304);
    std::vector<uint8_t> h = r.HeaderBytes();
    ASSERT_EQ(h.size(), kHeaderSize);
    const uint8_t expected[kHeaderSize] = {
        '$',  'S',  'I', 'P', 2, 0, 48, 0, // magic, version, reserved, header length
        0,    0,    0,   0,                // data length
        0x00, 0x0C, 0,   0,                // command 0x0C00
        0x08, 0x01, 0,   0,                // object 0x0108
        0,    0,    0,   0,                // index
        4,    3,    2,   1,                // cabinet
        22,   0,    0,   0,                // status preset
    };
    EXPECT_EQ(std::memcmp(h.data(), expected, kHeaderSize), 0);
    EXPECT_EQ(r.Status(), kStatusPreset);
    EXPECT_FALSE(r.IsSuccess()); // an unchanged answer is a failure

    Header f;
    ASSERT_TRUE(DecodeHeader(h.data(), h.size(), &f));
    EXPECT_EQ(f.command, kCmdGetValue);
    EXPECT_EQ(f.cabinet, 0x01020304u);
    EXPECT_FALSE(DecodeHeader(h.data(), 47, &f));
    h[0] = '#';
    EXPECT_FALSE(DecodeHeader(h.data(), h.size(), &f));
    EXPECT_FALSE(DecodeHeader(nullptr, 48, &f));
}

TEST(VtrxRecord, SuccessStatusesAndStates) {
    for (uint32_t s = 0; s < 300; ++s) {
        bool ok = s == 0 || s == 12 || s == 21 || s == 255;
        EXPECT_EQ(IsSuccessStatus(s), ok) << s;
    }
    EXPECT_FALSE(IsReadyState(1));
    EXPECT_TRUE(IsReadyState(2));
    EXPECT_TRUE(IsReadyState(3));
    EXPECT_FALSE(IsReadyState(4));
}

TEST(VtrxRecord, DataTextBytesAndValues) {
    VtrxRequest r;
    r.SetRequest(kCmdGetValue, kObjBiosVersion, 0, 0);
    const uint8_t text[] = {'V', '1', '.', '2'};
    r.SetData(text, sizeof(text));
    EXPECT_EQ(r.DataLength(), 4u);
    EXPECT_EQ(r.Fields().dataLength, 4u);
    EXPECT_EQ(r.DataText(), "V1.2"); // no NUL in the data: one is supplied
    EXPECT_EQ(r.DataByte(3), '2');
    EXPECT_EQ(r.DataByte(4), 0);
    EXPECT_EQ(r.DataByte(1000), 0);
    const uint8_t withNul[] = {'a', 0, 'b'};
    r.SetData(withNul, sizeof(withNul));
    EXPECT_EQ(r.DataText(), "a");
    r.SetDataValue(0x1234, 2);
    EXPECT_EQ(r.Data(), (std::vector<uint8_t>{0x34, 0x12}));
    r.SetDataValue(7, 3); // not a value width: unchanged
    EXPECT_EQ(r.DataLength(), 2u);
    std::vector<uint8_t> big(5000, 'z');
    r.SetData(big.data(), big.size());
    EXPECT_EQ(r.DataLength(), 5000u);
    EXPECT_EQ(r.Fields().object, kObjBiosVersion); // the header survives growth
}

TEST(VtrxRecord, FlagsByteSplitsSixAndTwoBits) {
    EXPECT_EQ(PackFlags(0x3F, 0x3), 0xFF);
    EXPECT_EQ(PackFlags(0xFFFF, 0), 0x3F);
    EXPECT_EQ(PackFlags(0, 0x2), 0x80);
    uint16_t a = 0, b = 0;
    UnpackFlags(0xC5, &a, &b);
    EXPECT_EQ(a, 0x05);
    EXPECT_EQ(b, 0x03);
}

TEST(VtrxRecord, AnswersCopiedBack) {
    VtrxRequest r;
    r.SetRequest(kCmdServerState, 0, 0, 9);
    Header answer;
    answer.command = kCmdServerState;
    answer.status = 0;
    answer.dataLength = 999; // a claim the data does not back
    answer.flagsA = 0x21;
    std::array<uint8_t, kHeaderSize> hb = EncodeHeader(answer);
    const uint8_t data[] = {2};
    ApplyCmdRequestAnswer(r, hb.data(), hb.size(), data, 1);
    EXPECT_TRUE(r.IsSuccess());
    EXPECT_EQ(r.DataLength(), 1u);
    EXPECT_EQ(r.DataByte(0), 2);
    EXPECT_EQ(r.Fields().flagsA, 0x21);

    ApplyVCRequestAnswer(r, 21, PackFlags(5, 1), nullptr, 0);
    EXPECT_TRUE(r.IsSuccess());
    EXPECT_EQ(r.Status(), 21u);
    EXPECT_EQ(r.DataLength(), 0u);
    EXPECT_EQ(r.Fields().flagsA, 5);
    EXPECT_EQ(r.Fields().flagsB, 1);

    // A short answer header changes only the bytes it has.
    uint8_t shortHeader[8] = {'$', 'S', 'I', 'P', 9, 9, 9, 9};
    ApplyCmdRequestAnswer(r, shortHeader, sizeof(shortHeader), nullptr, 0);
    EXPECT_EQ(r.Status(), 21u);
    EXPECT_EQ(r.HeaderBytes()[4], kFormatVersion);

    // A header claiming more data than came exposes no slot bytes.
    r.SetData(data, 1);
    answer.dataLength = 4;
    hb = EncodeHeader(answer);
    r.OverlayHeader(hb.data(), hb.size());
    EXPECT_EQ(r.DataLength(), 1u);
    EXPECT_EQ(r.Data(), (std::vector<uint8_t>{2}));
}

TEST(VtrxTransport, MemberChoiceAndNames) {
    EXPECT_EQ(ChooseMember(true, true, true), RequestMember::CmdRequest);
    EXPECT_EQ(ChooseMember(false, true, true), RequestMember::VCRequestEx);
    EXPECT_EQ(ChooseMember(false, false, true), RequestMember::VCRequest);
    EXPECT_EQ(ChooseMember(false, false, false), RequestMember::None);
    EXPECT_STREQ(MemberName(RequestMember::VCRequestEx), "VCRequestEx");
    EXPECT_STREQ(kMemberNames[kServerCabinetNumber], "ServerCabinetNumber");
    EXPECT_STREQ(kMemberNames[8], "");
    EXPECT_STREQ(kMemberNames[kDisableEvents], "DisableEvents");
}

TEST(VtrxTransport, Status15RepeatsWithTheStep) {
    struct Case {
        int repeats;
        int answers15; // leading answers with status 15
        int expectedCalls;
    } cases[] = {{0, 5, 1}, {3, 1, 2}, {3, 10, 4}, {2, 0, 1}};
    for (const Case& c : cases) {
        VtrxRequest r;
        r.SetRequest(kCmdGetValue, 1, 0, 0);
        std::vector<int16_t> args;
        bool ok = InvokeRepeating(r, c.repeats, 7, [&](int16_t arg) {
            args.push_back(arg);
            r.SetStatus(int(args.size()) <= c.answers15 ? kStatusRepeat : 0);
            return true;
        });
        EXPECT_TRUE(ok);
        ASSERT_EQ(int(args.size()), c.expectedCalls) << c.repeats;
        for (size_t i = 0; i < args.size(); ++i)
            EXPECT_EQ(args[i], int16_t(7 * i));
    }
    VtrxRequest r;
    r.SetRequest(kCmdGetValue, 1, 0, 0);
    int calls = 0;
    EXPECT_FALSE(InvokeRepeating(r, 5, 1, [&](int16_t) {
        ++calls;
        r.SetStatus(kStatusRepeat);
        return false; // a failed call is not repeated
    }));
    EXPECT_EQ(calls, 1);
}

// A scripted service: answers per command, recording what was sent.
class FakeSession : public VtrxSession {
  public:
    bool connects = true;
    bool cabinetProperty = true;
    uint16_t cabinet = 3;
    std::deque<int> states; // -1: unsuccessful answer
    bool valueOk = true;
    std::string value = "CX100";
    std::vector<uint8_t> cabinetAnswer = {0x34, 0x12};
    uint32_t cabinetStatus = 0;

    std::vector<Header> sent;
    int waits = 0, disconnects = 0;

    bool Connect() override { return connects; }
    void Disconnect() override { ++disconnects; }
    bool ReadCabinetProperty(uint16_t* n) override {
        if (!cabinetProperty) return false;
        *n = cabinet;
        return true;
    }
    void WaitStateStep() override { ++waits; }
    bool Send(VtrxRequest& r) override {
        Header h = r.Fields();
        sent.push_back(h);
        if (h.command == kCmdCabinetNumber) {
            r.SetStatus(cabinetStatus);
            r.SetData(cabinetAnswer.data(), cabinetAnswer.size());
            return true;
        }
        if (h.command == kCmdServerState) {
            int s = states.empty() ? 2 : states.front();
            if (states.size() > 1) states.pop_front();
            if (s < 0) return true; // status stays 22
            r.SetStatus(0);
            r.SetDataValue(uint32_t(s), 1);
            return true;
        }
        if (!valueOk) return false;
        r.SetStatus(0);
        r.SetData(reinterpret_cast<const uint8_t*>(value.data()), value.size());
        return true;
    }
};

TEST(VtrxQuery, StateOneThenTwoAfterThreeWaits) {
    FakeSession s;
    s.states = {1, 1, 1, 2};
    QueryOutcome o = RunQuery(s, kObjChassisId, false);
    EXPECT_EQ(o.result, kQueryOk);
    EXPECT_EQ(o.text, "CX100");
    EXPECT_EQ(s.waits, 3);
    EXPECT_EQ(o.stateRequests, 4);
    ASSERT_EQ(s.sent.size(), 5u);
    EXPECT_EQ(s.sent.back().command, kCmdGetValue);
    EXPECT_EQ(s.sent.back().object, kObjChassisId);
    EXPECT_EQ(s.sent.back().cabinet, 3u);
    EXPECT_EQ(s.sent.back().status, kStatusPreset);
    EXPECT_EQ(s.disconnects, 1);
}

TEST(VtrxQuery, Outcomes) {
    struct Case {
        const char* name;
        std::deque<int> states;
        bool connects, valueOk, cabinetOnly;
        int result;
        int waits;
        bool valueSent;
    } cases[] = {
        {"state 0", {0}, true, true, false, kQueryUnavailable, 0, false},
        {"state 4", {4}, true, true, false, kQueryUnavailable, 0, false},
        {"state 3", {3}, true, true, false, kQueryOk, 0, true},
        {"no service", {2}, false, true, false, kQueryFatal, 0, false},
        {"unsuccessful state", {-1}, true, true, false, kQueryUnavailable, 0, false},
        {"unsuccessful during wait", {1, -1}, true, true, false, kQueryUnavailable, 1, false},
        {"value fails", {2}, true, false, false, kQueryFatal, 0, true},
        {"starting forever", {1}, true, true, false, kQueryUnavailable, kStateWaitLimit, false},
        {"cabinet only, not ready", {1}, true, true, true, kQueryOk, kStateWaitLimit, false},
        {"cabinet only, state 0", {0}, true, true, true, kQueryOk, 0, false},
    };
    for (const Case& c : cases) {
        FakeSession s;
        s.states = c.states;
        s.connects = c.connects;
        s.valueOk = c.valueOk;
        QueryOutcome o = RunQuery(s, kObjBoardModel, c.cabinetOnly);
        EXPECT_EQ(o.result, c.result) << c.name;
        EXPECT_EQ(s.waits, c.waits) << c.name;
        bool valueSent = !s.sent.empty() && s.sent.back().command == kCmdGetValue;
        EXPECT_EQ(valueSent, c.valueSent) << c.name;
        EXPECT_EQ(s.disconnects, c.connects ? 1 : 0) << c.name;
        if (c.cabinetOnly) EXPECT_EQ(o.cabinet, 3u) << c.name;
    }
}

TEST(VtrxQuery, CabinetNumberFallback) {
    struct Case {
        bool property;
        uint32_t status;
        std::vector<uint8_t> answer;
        uint32_t expected;
        bool fallbackSent;
    } cases[] = {
        {true, 0, {0x34, 0x12}, 3, false},    {false, 0, {0x34, 0x12}, 0x1234, true},
        {false, 0, {0x34, 0x12, 0}, 0, true}, // not exactly two bytes
        {false, 0, {0x34}, 0, true},          {false, kStatusCabinetFailed, {0x34, 0x12}, 0, true},
        {false, 255, {0x01, 0x00}, 1, true},
    };
    for (const Case& c : cases) {
        FakeSession s;
        s.cabinetProperty = c.property;
        s.cabinetStatus = c.status;
        s.cabinetAnswer = c.answer;
        EXPECT_EQ(GetCabinetNumber(s), c.expected);
        bool fallback = !s.sent.empty() && s.sent[0].command == kCmdCabinetNumber;
        EXPECT_EQ(fallback, c.fallbackSent);
        if (fallback) {
            EXPECT_EQ(s.sent[0].object, 0u);
            EXPECT_EQ(s.sent[0].cabinet, kCabinetAll);
        }
    }
}

} // namespace
